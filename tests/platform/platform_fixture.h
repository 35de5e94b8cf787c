// A parent window that records the notifications its children send, and a host that records
// what the platform reports and answers popup menus from a preset.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/window.h"

namespace kelmor::platform::testing {

struct Notification {
  Notification(UINT m = 0, UINT c = 0, int i = 0) : message(m), code(c), id(i) {}
  UINT message = 0;
  UINT code = 0;  // WM_NOTIFY code or WM_COMMAND notification code
  int id = 0;
  std::string text;  // NMTVDISPINFOA pszText, when there was one
  bool text_null = false;
  int item = -1;  // NMITEMACTIVATE iItem, NMSPLITTER pos, NMKEYDOWN key, message lParam
};

class RecordingHost : public Host {
 public:
  int ShowMessageBox(const MessageBoxRequest&) override { return 1; }
  void ProcessEvents() override {}
  void WaitForEvents() override {}
  UINT TrackPopupMenu(const std::vector<PopupMenuItem>& items, int x, int y, HWND) override {
    shown = items;
    menu_x = x;
    menu_y = y;
    for (const PopupMenuItem& item : items) {
      if (!answer_caption.empty() && item.caption == answer_caption && item.enabled) return item.id;
    }
    return answer;
  }
  void ClipboardChanged(const std::string& text) override { clipboard.push_back(text); }
  void WindowChanged(HWND window, WindowChange change) override {
    changes.emplace_back(window, change);
  }
  void CursorChanged(HANDLE cursor) override { cursors.push_back(cursor); }

  std::vector<std::pair<HWND, WindowChange>> changes;
  std::vector<HANDLE> cursors;
  std::vector<PopupMenuItem> shown;
  int menu_x = 0;
  int menu_y = 0;
  UINT answer = 0;
  std::string answer_caption;  // chosen when it is an enabled item of the menu
  std::vector<std::string> clipboard;
};

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHost(&host);
    baseline = LiveWindowCount();
    frame = CreateWindowExA(0, FRAME_CLASSA, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 650,
                            443, 0, 0);
    ASSERT_NE(frame, 0u);
    SetWindowSubclass(
        frame,
        [this](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
          if (msg == WM_NOTIFY) {
            auto* hdr = reinterpret_cast<NMHDR*>(l);
            Notification n{msg, hdr->code, static_cast<int>(hdr->idFrom)};
            if (hdr->code == TVN_ENDLABELEDITA || hdr->code == TVN_BEGINLABELEDITA) {
              auto* info = reinterpret_cast<NMTVDISPINFOA*>(l);
              n.text_null = info->item.pszText == nullptr;
              if (!n.text_null) n.text = info->item.pszText;
            }
            if (hdr->code == NM_DBLCLK || hdr->code == NM_CLICK) {
              if (GetClassNameString(hdr->hwndFrom) == WC_LISTVIEWA) {
                n.item = reinterpret_cast<NMITEMACTIVATE*>(l)->iItem;
              }
            }
            if (hdr->code == SPN_MOVED) n.item = reinterpret_cast<NMSPLITTER*>(l)->pos;
            if (hdr->code == TVN_KEYDOWN || hdr->code == LVN_KEYDOWN)
              n.item = reinterpret_cast<NMKEYDOWN*>(l)->wVKey;
            received.push_back(n);
            if (hdr->code == TVN_ENDLABELEDITA) return accept_label ? TRUE : FALSE;
            return 0;
          }
          if (msg == WM_COMMAND) {
            received.push_back(Notification{msg, HIWORD(w), LOWORD(w)});
            return 0;
          }
          if (msg >= WM_USER || msg == WM_SIZE || msg == WM_CLOSE || msg == WM_CONTEXTMENU) {
            received.push_back(Notification{msg, static_cast<UINT>(w), 0});
            received.back().item = static_cast<int>(l);
          }
          return DefSubclassProc(h, msg, w, l);
        },
        1, 0);
  }

  void TearDown() override {
    DestroyWindow(frame);
    EXPECT_EQ(LiveWindowCount(), baseline);
    SetHost(nullptr);
  }

  static std::string GetClassNameString(HWND h) {
    char buf[64];
    GetClassNameA(h, buf, sizeof buf);
    return buf;
  }

  HWND Child(const char* cls, DWORD style, int id, int x = 0, int y = 0, int w = 120, int h = 368,
             const char* text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame,
                           static_cast<HMENU>(id));
  }

  std::vector<UINT> Codes(UINT message) const {
    std::vector<UINT> out;
    for (const auto& n : received) {
      if (n.message == message) out.push_back(n.code);
    }
    return out;
  }

  RecordingHost host;
  std::size_t baseline = 0;
  HWND frame = 0;
  std::vector<Notification> received;
  bool accept_label = true;
};

}  // namespace kelmor::platform::testing
