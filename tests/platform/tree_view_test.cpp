#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/user_input.h"
#include "platform_fixture.h"

namespace kelmor::platform::testing {
namespace {

class TreeViewTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    tree = Child(WC_TREEVIEWA, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT, 7);
    ASSERT_NE(tree, 0u);
  }

  HTREEITEM Insert(const std::string& text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST,
                   LPARAM data = 0) {
    TVINSERTSTRUCTA ins;
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::string copy = text;
    ins.item.pszText = copy.data();
    ins.item.lParam = data;
    return static_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  }

  HTREEITEM Next(WPARAM code, HTREEITEM item = 0) {
    return static_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, item));
  }

  std::string Text(HTREEITEM item) {
    char buf[600] = {};
    TVITEMA tv;
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = sizeof buf;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return "<refused>";
    return buf;
  }

  // The pre-order walk that the tree box and the accessor use: children whenever the children
  // flag says so, expanded or not.
  std::vector<std::string> PreOrder() {
    std::vector<std::string> out;
    HTREEITEM h = Next(TVGN_ROOT);
    while (h != 0) {
      out.push_back(Text(h));
      HTREEITEM c = Next(TVGN_CHILD, h);
      if (c) {
        h = c;
        continue;
      }
      HTREEITEM cur = h;
      h = 0;
      while (cur) {
        if (HTREEITEM s = Next(TVGN_NEXT, cur)) {
          h = s;
          break;
        }
        cur = Next(TVGN_PARENT, cur);
      }
    }
    return out;
  }

  HWND tree = 0;
};

TEST_F(TreeViewTest, PreOrderWalkVisitsChildrenOfCollapsedItems) {
  HTREEITEM a = Insert("A");
  Insert("a1", a);
  Insert("a2", a);
  Insert("B");
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, a, TVIS_EXPANDED), 0);
  EXPECT_EQ(PreOrder(), (std::vector<std::string>{"A", "a1", "a2", "B"}));
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4);
  HTREEITEM a2 = Next(TVGN_NEXT, Next(TVGN_CHILD, a));
  EXPECT_EQ(Next(TVGN_PARENT, a2), a);
  EXPECT_EQ(Next(TVGN_PARENT, a), 0u);
  TVITEMA tv;
  tv.mask = TVIF_CHILDREN;
  tv.hItem = a;
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_EQ(tv.cChildren, 1);
}

TEST_F(TreeViewTest, StaleAndBogusHandlesAreRefused) {
  HTREEITEM a = Insert("A");
  HTREEITEM child = Insert("child", a);
  ASSERT_TRUE(SendMessageA(tree, TVM_DELETEITEM, 0, a));
  EXPECT_EQ(Text(a), "<refused>");
  EXPECT_EQ(Text(child), "<refused>");
  EXPECT_EQ(Next(TVGN_NEXT, a), 0u);
  EXPECT_FALSE(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, child));
  EXPECT_EQ(Insert("orphan", child), 0u);
  EXPECT_EQ(Text(0x12345678), "<refused>");
  // A handle of another tree view is not an item of this one.
  HWND other = Child(WC_TREEVIEWA, 0, 8);
  HTREEITEM b = Insert("B");
  EXPECT_FALSE(SendMessageA(other, TVM_DELETEITEM, 0, b));
  EXPECT_EQ(Text(b), "B");
  DestroyWindow(other);
  // After the window is gone every message is refused.
  DestroyWindow(tree);
  EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(IsWindow(tree));
}

TEST_F(TreeViewTest, InsertPositionsIncludingSort) {
  Insert("m");
  Insert("c", TVI_ROOT, TVI_SORT);
  Insert("x", TVI_ROOT, TVI_SORT);
  Insert("A", TVI_ROOT, TVI_FIRST);
  // The 32-bit spellings of the special values work as well.
  Insert("first", static_cast<HTREEITEM>(0xFFFF0000u), static_cast<HTREEITEM>(0xFFFF0001u));
  Insert("last", TVI_ROOT, static_cast<HTREEITEM>(0xFFFF0002u));
  EXPECT_EQ(PreOrder(), (std::vector<std::string>{"first", "A", "c", "m", "x", "last"}));
  // A sorted insert goes after the texts equal to it, ignoring case.
  HTREEITEM m = Next(TVGN_NEXT, Next(TVGN_NEXT, Next(TVGN_NEXT, Next(TVGN_ROOT))));
  Insert("b", m);
  Insert("B", m, TVI_SORT);
  EXPECT_EQ(PreOrder(), (std::vector<std::string>{"first", "A", "c", "m", "b", "B", "x", "last"}));
  HTREEITEM root_first = Next(TVGN_ROOT);
  EXPECT_NE(Insert("after-first", TVI_ROOT, root_first), 0u);
  EXPECT_EQ(Text(Next(TVGN_NEXT, root_first)), "after-first");
}

TEST_F(TreeViewTest, ItemFieldsAndStateRoundTrip) {
  TVINSERTSTRUCTA ins;
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = 0x2F;
  std::string long_text(700, 'x');
  ins.item.pszText = long_text.data();
  ins.item.iImage = 1;
  ins.item.iSelectedImage = 0;
  ins.item.lParam = 42;
  ins.item.state = TVIS_BOLD | INDEXTOSTATEIMAGEMASK(2);
  ins.item.stateMask = 0xF010;
  auto h = static_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  char buf[511];
  TVITEMA tv;
  tv.mask = 0x2F;
  tv.hItem = h;
  tv.pszText = buf;
  tv.cchTextMax = sizeof buf;
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)));
  EXPECT_EQ(std::strlen(buf), 510u);
  EXPECT_EQ(tv.iImage, 1);
  EXPECT_EQ(tv.iSelectedImage, 0);
  EXPECT_EQ(tv.lParam, 42);
  EXPECT_EQ(tv.state & 0xF030, TVIS_BOLD | 0x2000u);
  TVITEMA set;
  set.mask = TVIF_STATE;
  set.hItem = h;
  set.state = TVIS_EXPANDED;
  set.stateMask = 0xF030;
  ASSERT_TRUE(SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, h, 0xF030), static_cast<LRESULT>(TVIS_EXPANDED));
}

TEST_F(TreeViewTest, SelectionExpansionAndVisibleCount) {
  HTREEITEM a = Insert("A");
  HTREEITEM a1 = Insert("a1", a);
  HTREEITEM a11 = Insert("a11", a1);
  EXPECT_EQ(Next(TVGN_CARET), 0u);
  ASSERT_TRUE(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, a1));
  EXPECT_EQ(Next(TVGN_CARET), a1);
  // Selecting makes the item visible, so its parent is now expanded.
  EXPECT_EQ(SendMessageA(tree, TVM_GETITEMSTATE, a, TVIS_EXPANDED),
            static_cast<LRESULT>(TVIS_EXPANDED));
  EXPECT_EQ(Codes(WM_NOTIFY), (std::vector<UINT>{TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
  ASSERT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, a));
  EXPECT_EQ(Next(TVGN_CARET), a);  // the selection leaves the collapsed branch
  ASSERT_TRUE(SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, a11));
  ASSERT_TRUE(SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, a));
  EXPECT_EQ(Next(TVGN_CARET), a);  // also from two levels down
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, 0);
  EXPECT_EQ(Next(TVGN_CARET), 0u);
  EXPECT_EQ(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0), 368 / 16);
  EXPECT_EQ(SendMessageA(tree, TVM_SETITEMHEIGHT, 20, 0), 16);
  EXPECT_EQ(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0), 368 / 20);
  SendMessageA(tree, TVM_SETTEXTCOLOR, 0, 0x800000);
  EXPECT_EQ(SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0), 0x800000);
}

TEST_F(TreeViewTest, HitTestOnLabelsAndBelowTheItems) {
  HTREEITEM a = Insert("Alpha");
  HTREEITEM b = Insert("Beta");
  RECT r;
  std::memcpy(static_cast<void*>(&r), &b, sizeof b);
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(r.top, 16);
  TVHITTESTINFO info;
  info.pt = POINT{r.left + 2, r.top + 4};
  EXPECT_EQ(
      static_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))),
      b);
  EXPECT_NE(info.flags & TVHT_ONITEM, 0u);
  info.pt = POINT{5, 4};
  SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.hItem, a);
  EXPECT_EQ(info.flags & TVHT_ONITEM, 0u);  // the indent, not the label
  info.pt = POINT{30, 200};
  EXPECT_EQ(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 0);
  EXPECT_EQ(info.flags, TVHT_NOWHERE);
}

// A label beyond the right edge (an item hundreds of levels down) is scrolled to sideways, so
// that a click on it lands; a shallow item scrolls back.
TEST_F(TreeViewTest, DeepItemsAreScrolledToSidewaysAndTakeClicks) {
  std::vector<HTREEITEM> chain{Insert("top")};
  for (int level = 2; level <= 500; ++level) chain.push_back(Insert("deep", chain.back()));
  RECT before;
  std::memcpy(static_cast<void*>(&before), &chain.front(), sizeof(HTREEITEM));
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&before)));
  for (const HTREEITEM item : {chain.back(), chain[250], chain.front()}) {
    ASSERT_TRUE(ClickTreeItem(tree, item));
    EXPECT_EQ(Next(TVGN_CARET), item);
  }
  RECT after;
  std::memcpy(static_cast<void*>(&after), &chain.front(), sizeof(HTREEITEM));
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&after)));
  EXPECT_EQ(after.left, before.left);
}

TEST_F(TreeViewTest, LabelEditAcceptRejectCancel) {
  HTREEITEM a = Insert("old");
  EXPECT_FALSE(BeginLabelEdit(tree, a));  // TVS_EDITLABELS is off
  SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) | TVS_EDITLABELS);
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  EXPECT_NE(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
  ASSERT_TRUE(EndLabelEdit(tree, "new"));
  EXPECT_EQ(Text(a), "new");
  EXPECT_EQ(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0), 0);
  EXPECT_EQ(received.back().text, "new");

  accept_label = false;
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  ASSERT_TRUE(EndLabelEdit(tree, "rejected"));
  EXPECT_EQ(Text(a), "new");
  EXPECT_EQ(received.back().code, TVN_ENDLABELEDITA);
  EXPECT_EQ(received.back().text, "rejected");

  accept_label = true;
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  ASSERT_TRUE(CancelLabelEdit(tree));
  EXPECT_TRUE(received.back().text_null);
  EXPECT_EQ(Text(a), "new");

  // Enter in the edit ends the edit as well.
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  auto edit = static_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
  TypeText(edit, "typed", true);
  PressKey(edit, VK_RETURN, 13);
  EXPECT_EQ(Text(a), "typed");

  // Escape cancels the edit; it is not the window's Escape.
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  edit = static_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
  TypeText(edit, "dropped", true);
  received.clear();
  PressKey(edit, VK_ESCAPE, 27);
  EXPECT_EQ(Text(a), "typed");
  EXPECT_EQ(Codes(WM_NOTIFY), std::vector<UINT>{TVN_ENDLABELEDITA});
  EXPECT_TRUE(Codes(WM_COMMAND).empty());
}

TEST_F(TreeViewTest, KeysNotifyTheParentThenExpandOrAskForTheContextMenu) {
  HTREEITEM a = Insert("A");
  Insert("A1", a);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, a);
  auto expanded = [&] { return SendMessageA(tree, TVM_GETITEMSTATE, a, TVIS_EXPANDED) != 0; };
  PressKey(tree, VK_ADD);
  EXPECT_TRUE(expanded());
  PressKey(tree, VK_SUBTRACT);
  EXPECT_FALSE(expanded());
  received.clear();
  PressKey(tree, VK_RETURN, 13);
  ASSERT_EQ(Codes(WM_NOTIFY), std::vector<UINT>{TVN_KEYDOWN});
  EXPECT_EQ(received.back().item, 13);

  // Shift+F10 and the Menu key reach the parent as a context menu at no mouse position.
  const struct {
    WPARAM key;
    UINT modifiers;
    bool menu;
  } cases[] = {{VK_APPS, 0, true}, {VK_F10, kShiftKey, true}, {VK_F10, 0, false}};
  for (const auto& c : cases) {
    received.clear();
    PressKey(tree, c.key, 0, c.modifiers);
    const auto menus = std::count_if(received.begin(), received.end(), [&](const Notification& n) {
      return n.message == WM_CONTEXTMENU && n.code == tree && n.item == -1;
    });
    EXPECT_EQ(menus, c.menu ? 1 : 0) << c.key;
  }
}

TEST_F(TreeViewTest, LabelEditHandlerMayDestroyTheTree) {
  SetWindowLongA(tree, GWL_STYLE, GetWindowLongA(tree, GWL_STYLE) | TVS_EDITLABELS);
  HTREEITEM a = Insert("old");
  SetWindowSubclass(
      frame,
      [this](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TVN_ENDLABELEDITA) {
          DestroyWindow(tree);  // as a tree rebuild does
          return FALSE;
        }
        return DefSubclassProc(h, msg, w, l);
      },
      2, 0);
  ASSERT_TRUE(BeginLabelEdit(tree, a));
  EXPECT_TRUE(EndLabelEdit(tree, "x"));
  EXPECT_FALSE(IsWindow(tree));
  RemoveWindowSubclass(frame, 2);
}

TEST_F(TreeViewTest, MouseGesturesRaiseNotifications) {
  HTREEITEM a = Insert("A");
  HTREEITEM b = Insert("B");
  ASSERT_TRUE(DoubleClickTreeItem(tree, b));
  EXPECT_EQ(Next(TVGN_CARET), b);
  EXPECT_EQ(Codes(WM_NOTIFY).back(), NM_DBLCLK);
  received.clear();
  ASSERT_TRUE(RightPressTreeItem(tree, a));
  ASSERT_TRUE(RightReleaseTreeItem(tree, a));
  EXPECT_EQ(Codes(WM_NOTIFY), std::vector<UINT>{NM_RCLICK});
  EXPECT_EQ(Next(TVGN_CARET), b);  // the native control leaves the selection alone
  EnableWindow(frame, FALSE);
  EXPECT_FALSE(DoubleClickTreeItem(tree, a));
  EnableWindow(frame, TRUE);
}

TEST_F(TreeViewTest, HundredThousandItemsInsertAndWalkQuickly) {
  // <chrono> does not compile under the CP936 execution character set.
  auto now_ms = [] {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
  };
  const long long start = now_ms();
  SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
  HTREEITEM parent = 0;
  for (int i = 0; i < 100000; ++i) {
    if (i % 100 == 0) {
      parent = Insert("category");
    } else {
      Insert("entry", parent);
    }
  }
  SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
  EXPECT_EQ(PreOrder().size(), 100000u);
  const long long ms = now_ms() - start;
  EXPECT_LT(ms, 5000);
  std::printf("100000 items inserted and walked in %lld ms\n", ms);
}

}  // namespace
}  // namespace kelmor::platform::testing
