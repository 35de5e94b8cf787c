// Attach, the handle walk and the window-style operations.
#include <gtest/gtest.h>

#include "platform/window.h"
#include "tests/treeview/tree_view_fixture.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor {
namespace {

class AttachTest : public ::testing::Test, public test::TreeViewFixture {
 protected:
  void SetUp() override { CreateTree(); }
  void TearDown() override { DestroyTree(); }
  TreeViewAccessor accessor;
};

TEST_F(AttachTest, EmptyTreeViewHasNoItems) {
  ASSERT_TRUE(accessor.Attach(tree));
  EXPECT_TRUE(accessor.handles().empty());
  EXPECT_EQ(accessor.GetItemCount(), 0);
  EXPECT_EQ(accessor.GetItemText(0), "");
  EXPECT_EQ(accessor.GetItemImage(0), -1);
  EXPECT_EQ(accessor.GetSelectedIndex(), -1);
  EXPECT_EQ(accessor.GetFirstVisibleIndex(), -1);
  EXPECT_EQ(accessor.InsertItem(0, {}, "甲"), 0);  // no parent item: top level
  EXPECT_EQ(accessor.GetItemText(0), "甲");
}

TEST_F(AttachTest, NonTreeWindowKeepsThePreviousBinding) {
  Insert("甲");
  ASSERT_TRUE(accessor.Attach(tree));
  platform::HWND button = platform::CreateWindowExA(
      0, "Button", "b", platform::WS_CHILD | platform::WS_VISIBLE, 0, 0, 50, 20, frame, 8);
  ASSERT_NE(button, 0u);
  EXPECT_FALSE(accessor.Attach(button));
  EXPECT_FALSE(accessor.Attach(0));
  EXPECT_EQ(accessor.window(), tree);
  EXPECT_EQ(accessor.handles().size(), 1u);
  EXPECT_EQ(accessor.GetItemText(0), "甲");
}

TEST_F(AttachTest, ClassNameInAnyLetterCase) {
  platform::HWND other = platform::CreateWindowExA(
      0, "systreeVIEW32", "", platform::WS_CHILD | platform::WS_VISIBLE, 0, 0, 50, 50, frame, 9);
  ASSERT_NE(other, 0u);
  EXPECT_TRUE(accessor.Attach(other));
  EXPECT_EQ(accessor.window(), other);
  EXPECT_EQ(accessor.GetWindowClassName(frame), platform::FRAME_CLASSA);
}

TEST_F(AttachTest, CopyIsDeepAndIndependent) {
  Insert("甲");
  accessor.Attach(tree);
  TreeViewAccessor copy(accessor);
  copy.SetAutoRefresh(false);
  EXPECT_TRUE(accessor.GetAutoRefresh());
  EXPECT_EQ(copy.window(), tree);
  EXPECT_EQ(copy.GetItemText(0), "甲");  // reads through its own record buffer
  TreeViewAccessor assigned;
  assigned = copy;
  EXPECT_EQ(assigned.GetItemText(0), "甲");
  EXPECT_FALSE(assigned.GetAutoRefresh());
}

TEST_F(AttachTest, WalkMeetingMoreItemsThanCountedIsRunTimeErrorOne) {
  Insert("甲");
  Insert("乙");
  // A window that undercounts its items: the walk would store past the list it sized.
  platform::SetWindowSubclass(
      tree,
      [](platform::HWND h, platform::UINT msg, platform::WPARAM w, platform::LPARAM l,
         platform::UINT_PTR, platform::DWORD_PTR) -> platform::LRESULT {
        if (msg == platform::TVM_GETCOUNT) return 1;
        return platform::DefSubclassProc(h, msg, w, l);
      },
      1, 0);
  EXPECT_EXIT(accessor.Attach(tree), ::testing::ExitedWithCode(255), "");
}

TEST_F(AttachTest, StyleRuleOfTheScrollAndRowOptions) {
  accessor.Attach(tree);
  auto style = [&] { return platform::GetWindowLongA(tree, platform::GWL_STYLE); };
  EXPECT_TRUE(accessor.SetNoScroll());  // clear bit, omitted: set
  EXPECT_NE(style() & platform::TVS_NOSCROLL, 0);
  EXPECT_TRUE(accessor.SetNoScroll(true));  // already set: unchanged, reports set
  EXPECT_FALSE(accessor.SetNoScroll(false));
  EXPECT_EQ(style() & platform::TVS_NOSCROLL, 0);
  EXPECT_FALSE(accessor.SetNoScroll(false));  // clear and asked clear: reports clear

  EXPECT_TRUE(accessor.SetNoHorizontalScroll());
  EXPECT_NE(style() & platform::TVS_NOHSCROLL, 0);

  // Lines and full-row selection exclude each other.
  EXPECT_FALSE(accessor.SetFullRowSelect());
  EXPECT_EQ(style() & platform::TVS_FULLROWSELECT, 0);
  platform::SetWindowLongA(tree, platform::GWL_STYLE, style() & ~platform::TVS_HASLINES);
  EXPECT_TRUE(accessor.SetFullRowSelect());
  EXPECT_NE(style() & platform::TVS_FULLROWSELECT, 0);

  accessor.EnableHotTracking();
  EXPECT_NE(style() & platform::TVS_TRACKSELECT, 0);
}

TEST_F(AttachTest, ColoursAndItemHeight) {
  accessor.Attach(tree);
  accessor.SetBackColor(0x00FF00);
  accessor.SetTextColor(0x0000FF);
  accessor.SetLineColor(0x123456);
  EXPECT_EQ(accessor.GetBackColor(), 0x00FF00u);
  EXPECT_EQ(accessor.GetTextColor(), 0x0000FFu);
  EXPECT_EQ(accessor.GetLineColor(), 0x123456u);
  accessor.SetItemHeight(24);
  EXPECT_EQ(accessor.GetItemHeight(), 24);
  accessor.SetItemHeight();
  EXPECT_EQ(accessor.GetItemHeight(), 16);
}

}  // namespace
}  // namespace kelmor
