#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user_input.h"
#include "platform_fixture.h"

namespace kelmor::platform::testing {
namespace {

using WindowTest = PlatformTest;

TEST_F(WindowTest, RegistryClassesIdsAndStaleHandles) {
  HWND strip = Child(CONTAINER_CLASSA, 0, 1, 0, 0, 648, 40);
  HWND button = CreateWindowExA(0, "button", "中药", WS_CHILD | WS_VISIBLE, 8, 8, 80, 20, strip,
                                static_cast<HMENU>(5));
  ASSERT_NE(button, 0u);
  char name[8];
  EXPECT_EQ(GetClassNameA(button, name, sizeof name), 6);
  EXPECT_STREQ(name, "Button");
  EXPECT_EQ(GetClassNameA(button, name, 4), 3);
  EXPECT_STREQ(name, "But");
  EXPECT_EQ(GetParent(button), strip);
  EXPECT_EQ(GetDlgCtrlID(button), 5);
  EXPECT_EQ(GetDlgItem(strip, 5), button);
  EXPECT_TRUE(IsChild(frame, button));
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, frame, 0), 0u);
  EXPECT_EQ(CreateWindowExA(0, WC_EDITA, "", WS_CHILD, 0, 0, 1, 1, 0xDEAD, 0), 0u);
  DWORD pid = 0;
  EXPECT_NE(GetWindowThreadProcessId(button, &pid), 0u);
  EXPECT_EQ(pid, static_cast<DWORD>(::getpid()));
  DestroyWindow(strip);
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(GetClassNameA(button, name, sizeof name), 0);
  EXPECT_EQ(GetWindowThreadProcessId(button, &pid), 0u);
  // Handles are not reused.
  HWND again = Child(WC_BUTTONA, 0, 5);
  EXPECT_NE(again, button);
  EXPECT_NE(again, strip);
}

TEST_F(WindowTest, StylesAndVisibility) {
  HWND tree = Child(WC_TREEVIEWA, TVS_HASLINES, 2);
  EXPECT_EQ(GetWindowLongA(tree, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | TVS_HASLINES),
            static_cast<LONG>(WS_CHILD | WS_VISIBLE | TVS_HASLINES));
  const LONG old =
      SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) | TVS_EDITLABELS);
  EXPECT_EQ(old & TVS_EDITLABELS, 0);
  EXPECT_NE(GetWindowLongA(tree, GWL_STYLE) & TVS_EDITLABELS, 0);
  EXPECT_EQ(GetWindowLongA(tree, GWL_ID), 2);
  ShowWindow(frame, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(tree));
  ShowWindow(frame, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(tree));
  EXPECT_EQ(SetFocus(tree), 0u);
  EXPECT_EQ(GetFocus(), tree);
  EnableWindow(tree, FALSE);
  EXPECT_EQ(GetFocus(), 0u);
  EXPECT_EQ(SetFocus(tree), 0u);
  EXPECT_EQ(GetFocus(), 0u);
}

TEST_F(WindowTest, GeometryFrameAndSizeMessages) {
  RECT r;
  GetClientRect(frame, &r);
  EXPECT_EQ(r.right, 650 - 2 * kFrameBorder);
  EXPECT_EQ(r.bottom, 443 - 2 * kFrameBorder - kCaptionHeight);
  HWND child = Child(CONTAINER_CLASSA, 0, 3, 4, 5, 100, 50);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 10 + kFrameBorder + 4);
  EXPECT_EQ(r.top, 20 + kFrameBorder + kCaptionHeight + 5);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  ScreenToClient(frame, &p);
  EXPECT_EQ(p.x, 4);
  EXPECT_EQ(p.y, 5);

  received.clear();
  ASSERT_TRUE(MaximiseWindow(frame));
  EXPECT_TRUE(IsZoomed(frame));
  GetWindowRect(frame, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  ASSERT_EQ(Codes(WM_SIZE), std::vector<UINT>{SIZE_MAXIMIZED});
  ASSERT_TRUE(RestoreWindow(frame));
  GetWindowRect(frame, &r);
  EXPECT_EQ(r.right - r.left, 650);
  EXPECT_EQ(r.left, 10);
  ASSERT_TRUE(MinimiseWindow(frame));
  EXPECT_TRUE(IsIconic(frame));
  RestoreWindow(frame);
  EXPECT_FALSE(IsIconic(frame));
  EXPECT_EQ(Codes(WM_SIZE),
            (std::vector<UINT>{SIZE_MAXIMIZED, SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED}));
  received.clear();
  ASSERT_TRUE(ResizeWindow(frame, 700, 500));
  EXPECT_EQ(Codes(WM_SIZE), std::vector<UINT>{SIZE_RESTORED});
  // Moving to the same rectangle sends nothing.
  received.clear();
  MoveWindow(child, 4, 5, 100, 50, TRUE);
  EXPECT_TRUE(received.empty());
}

TEST_F(WindowTest, PostedMessagesQueueAndDispatch) {
  HWND child = Child(CONTAINER_CLASSA, 0, 3);
  PostMessageA(frame, 0x8065, 1, 2);
  PostMessageA(child, WM_USER + 1, 0, 0);
  PostMessageA(frame, WM_USER + 2, 0, 0);
  EXPECT_EQ(PostMessageA(0xBAD, WM_USER, 0, 0), FALSE);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, 0x8065u);
  EXPECT_EQ(QueuedMessageCount(), 3u);
  ASSERT_TRUE(PeekMessageA(&m, frame, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  DestroyWindow(child);  // its queued message goes with it
  EXPECT_EQ(QueuedMessageCount(), 1u);
  while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  EXPECT_EQ(received.back().message, 0x8065u);
  PostQuitMessage(3);
  EXPECT_EQ(GetMessageA(&m, 0, 0, 0), 0);
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(WindowTest, SubclassChainAndCloseBox) {
  std::vector<std::string> order;
  SetWindowSubclass(
      frame,
      [&order](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) -> LRESULT {
        if (msg == WM_USER + 9) order.push_back("outer" + std::to_string(ref));
        return DefSubclassProc(h, msg, w, l);
      },
      7, 1);
  SendMessageA(frame, WM_USER + 9, 0, 0);
  EXPECT_EQ(order, std::vector<std::string>{"outer1"});
  EXPECT_EQ(received.back().message, WM_USER + 9);  // the inner subclass saw it too
  RemoveWindowSubclass(frame, 7);
  // The close box goes through WM_SYSCOMMAND and WM_CLOSE; the default destroys the window.
  HWND popup = CreateWindowExA(0, WC_DIALOG, "查询", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0,
                               476, 240, frame, 0);
  EXPECT_EQ(GetParent(popup), frame);
  EnableWindow(frame, FALSE);
  EXPECT_FALSE(CloseByCloseBox(frame));  // the owner of a modal window takes no clicks
  ASSERT_TRUE(CloseByCloseBox(popup));
  EXPECT_FALSE(IsWindow(popup));
  EnableWindow(frame, TRUE);
  // Owned windows go with their owner.
  HWND owned = CreateWindowExA(0, FRAME_CLASSA, "", WS_CAPTION, 0, 0, 10, 10, frame, 0);
  HWND other = CreateWindowExA(0, FRAME_CLASSA, "", WS_CAPTION, 0, 0, 10, 10, 0, 0);
  DestroyWindow(frame);
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
}

TEST_F(WindowTest, HostHearsOfChanges) {
  HWND edit = Child(WC_EDITA, 0, 4);
  host.changes.clear();
  SetWindowTextA(edit, "abc");
  MoveWindow(edit, 1, 2, 3, 4, TRUE);
  ShowWindow(edit, SW_HIDE);
  DestroyWindow(edit);
  std::vector<WindowChange> seen;
  for (const auto& [window, change] : host.changes) {
    if (window == edit) seen.push_back(change);
  }
  EXPECT_EQ(seen, (std::vector<WindowChange>{WindowChange::Text, WindowChange::Geometry,
                                             WindowChange::Style, WindowChange::Destroyed}));
}

}  // namespace
}  // namespace kelmor::platform::testing
