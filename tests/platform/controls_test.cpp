#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cursor.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/user_input.h"
#include "platform_fixture.h"

namespace kelmor::platform::testing {
namespace {

using ControlsTest = PlatformTest;

TEST_F(ControlsTest, ComboBoxItemsDataAndSelection) {
  HWND combo = Child(WC_COMBOBOXA, CBS_DROPDOWNLIST, 3, 312, 8, 100, 20);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("药物名称")), 0);
  EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("别名")), 1);
  EXPECT_EQ(SendMessageA(combo, CB_SETITEMDATA, 1, 77), CB_OKAY);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 1, 0), 77);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 2, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXTLEN, 1, 0), 4);
  char buf[16];
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buf)), 4);
  EXPECT_STREQ(buf, "别名");
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(buf)), CB_ERR);
  ASSERT_TRUE(SelectComboItem(combo, 1));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetWindowTextString(combo), "别名");
  EXPECT_EQ(received.back().code, CBN_SELCHANGE);
  EXPECT_EQ(received.back().id, 3);
  EXPECT_FALSE(SelectComboItem(combo, 2));
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(ControlsTest, EditTypingKeysAndReadOnly) {
  HWND edit = Child(WC_EDITA, ES_AUTOHSCROLL, 4, 424, 8, 104, 20);
  ASSERT_TRUE(TypeText(edit, "甘草x"));
  EXPECT_EQ(GetWindowTextString(edit), "甘草x");
  PressKey(edit, VK_BACK, 8);
  PressKey(edit, VK_BACK, 8);
  EXPECT_EQ(GetWindowTextString(edit), "甘");  // backspace removes a whole character
  PressKey(edit, VK_RETURN, 13);
  EXPECT_EQ(GetWindowTextString(edit), "甘");  // single-line: no line break
  std::vector<UINT> keys;
  SetWindowSubclass(
      edit,
      [&keys](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (msg == WM_KEYDOWN) keys.push_back(static_cast<UINT>(w));
        if (msg == WM_CHAR && w == '.') return 0;  // a filter such as a number-only input
        return DefSubclassProc(h, msg, w, l);
      },
      5, 0);
  TypeText(edit, "1.5", true);
  EXPECT_EQ(GetWindowTextString(edit), "15");
  PressKey(edit, VK_RETURN, 13);
  EXPECT_EQ(keys, std::vector<UINT>{13});
  const auto changes = Codes(WM_COMMAND);
  EXPECT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), EN_CHANGE);
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  TypeText(edit, "zz");
  EXPECT_EQ(GetWindowTextString(edit), "15");
  HWND multi = Child(WC_EDITA, ES_MULTILINE, 5);
  TypeText(multi, "a");
  PressKey(multi, VK_RETURN, 13);
  TypeText(multi, "b");
  EXPECT_EQ(GetWindowTextString(multi), "a\r\nb");
}

TEST_F(ControlsTest, ButtonsAndCheckBoxes) {
  HWND button = Child(WC_BUTTONA, BS_PUSHBUTTON, 11, 8, 8, 80, 20, "中药");
  HWND check = Child(WC_BUTTONA, BS_AUTOCHECKBOX, 12, 112, 368, 80, 24, "连续添加");
  HWND group = Child(WC_BUTTONA, BS_GROUPBOX, 13);
  ASSERT_TRUE(ClickButton(button));
  EXPECT_EQ(received.back().code, BN_CLICKED);
  EXPECT_EQ(received.back().id, 11);
  ASSERT_TRUE(ClickButton(check));
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  ClickButton(check);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(ClickButton(group));
  ShowWindow(check, SW_HIDE);
  EXPECT_FALSE(ClickButton(check));
  EnableWindow(button, FALSE);
  received.clear();
  EXPECT_FALSE(ClickButton(button));
  EXPECT_TRUE(received.empty());
}

TEST_F(ControlsTest, ListViewRowsCellsAndDoubleClick) {
  HWND list = Child(WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL, 20, 0, 0, 472, 208);
  const char* captions[] = {"类别", "名称", "功效"};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA col;
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<char*>(captions[i]);
    col.cx = 80;
    EXPECT_EQ(SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col)), i);
  }
  for (int i = 0; i < 5; ++i) {
    LVITEMA item;
    item.mask = 31;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char empty[] = "";
    item.pszText = empty;
    item.iImage = -1;
    EXPECT_EQ(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), i);
  }
  std::string long_text(1500, 'x');
  LVITEMA set;
  set.iSubItem = 2;
  set.pszText = long_text.data();
  ASSERT_TRUE(SendMessageA(list, LVM_SETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&set)));
  set.iSubItem = 3;
  EXPECT_FALSE(SendMessageA(list, LVM_SETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&set)));
  char buf[512];
  LVITEMA get;
  get.iSubItem = 2;
  get.pszText = buf;
  get.cchTextMax = sizeof buf;
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&get)), 511);
  get.iSubItem = 1;
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&get)), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
  ASSERT_TRUE(DoubleClickListRow(list, 3));
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
  EXPECT_EQ(received.back().code, NM_DBLCLK);
  EXPECT_EQ(received.back().item, 3);
  ClickListRow(list, 1);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
  EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_FALSE(DoubleClickListRow(list, 5));
  PressKey(list, VK_DOWN);
  PressKey(list, VK_DOWN);
  PressKey(list, VK_UP);
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
  PressKey(list, VK_RETURN, 13);
  EXPECT_EQ(received.back().code, LVN_KEYDOWN);
  EXPECT_EQ(received.back().item, 13);
}

TEST_F(ControlsTest, DialogKeysMoveTheFocusAndEscapeCancels) {
  HWND box = Child(CONTAINER_CLASSA, 0, 40, 0, 0, 300, 100);
  auto in_box = [&](const char* cls, DWORD style, int id, const char* text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | style, 0, 0, 80, 20, box,
                           static_cast<HMENU>(id));
  };
  HWND first = in_box(WC_EDITA, WS_VISIBLE | WS_TABSTOP, 41, "甘草");
  in_box(WC_EDITA, WS_TABSTOP, 42);                               // hidden
  in_box(WC_BUTTONA, WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 43);  // disabled
  in_box(WC_STATICA, WS_VISIBLE, 44);                             // no tab stop
  HWND last = Child(WC_BUTTONA, WS_TABSTOP, 45, 0, 200, 80, 20, "查询");
  SetFocus(first);
  PressKey(first, VK_TAB, 9);
  EXPECT_EQ(GetFocus(), last);
  PressKey(last, VK_TAB, 9);  // round to the first, its text selected
  EXPECT_EQ(GetFocus(), first);
  DWORD from = 9, to = 9;
  SendMessageA(first, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 4u);
  PressKey(first, VK_TAB, 9, kShiftKey);
  EXPECT_EQ(GetFocus(), last);
  received.clear();
  PressKey(first, VK_ESCAPE, 27);
  ASSERT_EQ(Codes(WM_COMMAND), std::vector<UINT>{BN_CLICKED});
  EXPECT_EQ(received.back().id, IDCANCEL);
}

TEST_F(ControlsTest, SplitterDragAndTabPages) {
  HWND splitter = Child(SPLITTER_CLASSA, SPS_VERT, 30, 120, 40, 4, 368);
  ASSERT_TRUE(DragSplitter(splitter, 200));
  RECT r;
  GetWindowPosition(splitter, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.right - r.left, 4);
  EXPECT_EQ(received.back().code, SPN_MOVED);
  EXPECT_EQ(received.back().item, 200);
  received.clear();
  DragSplitter(splitter, 200);
  EXPECT_TRUE(Codes(WM_NOTIFY).empty());

  HWND tab = Child(WC_TABCONTROLA, 0, 31, 0, 0, 456, 434);
  TCITEMA page;
  SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&page));
  SendMessageA(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&page));
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 0);
  ASSERT_TRUE(SelectTabPage(tab, 1));
  EXPECT_EQ(SendMessageA(tab, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Codes(WM_NOTIFY), (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
  EXPECT_FALSE(SelectTabPage(tab, 2));
}

TEST_F(ControlsTest, PopupMenuPostsTheChosenCommand) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 101, "增加一类");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 102, "删除");
  host.answer = 101;
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 50, 60, 0, frame, nullptr));
  ASSERT_EQ(host.shown.size(), 2u);
  EXPECT_EQ(host.shown[0].caption, "增加一类");
  EXPECT_FALSE(host.shown[1].enabled);
  EXPECT_EQ(host.menu_x, 50);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_COMMAND);
  EXPECT_EQ(LOWORD(m.wParam), 101);
  DispatchMessageA(&m);
  EXPECT_EQ(received.back().id, 101);
  host.answer = 102;  // disabled: counts as dismissed
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, frame, nullptr), 0);
  host.answer = 101;
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, frame, nullptr), 101);
  EXPECT_EQ(QueuedMessageCount(), 0u);
  const std::size_t menus = LiveMenuCount();
  DestroyMenu(menu);
  EXPECT_EQ(LiveMenuCount(), menus - 1);
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, frame, nullptr));
}

TEST_F(ControlsTest, CursorsAndMousePosition) {
  const HCURSOR wait = LoadCursorA(0, IDC_WAIT);
  ASSERT_NE(wait, 0u);
  const HCURSOR arrow = LoadCursorA(0, IDC_ARROW);
  EXPECT_NE(wait, arrow);
  const HCURSOR before = SetCursor(wait);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(SetCursor(before), wait);
  EXPECT_EQ(host.cursors.back(), before);
  SetCursorPos(5, 6);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 6);
  EXPECT_EQ(LoadCursorA(0, reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(1))), 0u);
}

}  // namespace
}  // namespace kelmor::platform::testing
