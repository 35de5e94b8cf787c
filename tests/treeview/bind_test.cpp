// Bind, Reload, ExportContent and AddItem against a tree box of a loaded window.
#include <gtest/gtest.h>

#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "tests/support/test_driver.h"
#include "tests/support/test_window.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor {
namespace {

Bytes Content(const std::vector<TreeContentRecord>& records) {
  return SerializeTreeContent(records);
}

class TreeBoxBindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Control 0 is no tree view, so Bind has something to refuse.
    window = test::LoadWindowWith({test::Control("标签1", ControlKind::Label, 0, 0, 50, 20),
                                   test::Control("树型框1", ControlKind::TreeBox, 0, 20, 200, 250)});
    ASSERT_NE(window, 0);
    tree = ControlRef{window, "树型框1"};
  }
  void TearDown() override { ResetWindowFramework(); }

  test::TestDriver driver;
  WindowId window = 0;
  ControlRef tree;
  TreeViewAccessor accessor;
};

const std::vector<TreeContentRecord> kHerbs = {
    {"解表药", 1, 2, 10, kTreeFlagBold, 1},
    {"麻黄", 3, 4, 11, 0, 2},
    {"", 0, 0, 12, 0, 2},  // empty text
    {"清热药", 1, 2, 20, kTreeFlagBold, 1},
};

TEST_F(TreeBoxBindTest, BindParsesContentAndAttachesToTheTreeView) {
  SetTreeContent(tree, Content(kHerbs));
  ASSERT_TRUE(accessor.Bind(window, 1));
  EXPECT_EQ(accessor.window(), WindowHandle(tree));
  ASSERT_EQ(accessor.items().size(), 4u);
  EXPECT_EQ(accessor.handles().size(), 4u);
  EXPECT_EQ(accessor.GetItemText(1), "麻黄");
  EXPECT_EQ(accessor.ExportContent(), GetTreeContent(tree));
  EXPECT_EQ(accessor.ExportContent(), Content(kHerbs));
}

TEST_F(TreeBoxBindTest, BindToAControlThatIsNoTreeViewFails) {
  EXPECT_FALSE(accessor.Bind(window, 0));
  EXPECT_EQ(accessor.window(), 0u);
}

TEST_F(TreeBoxBindTest, EmptyTextExportsAsOneZeroByteAndItsTail) {
  SetTreeContent(tree, Content({{"", 5, 6, 7, 0, 1}}));
  accessor.Bind(window, 1);
  Bytes expected = {0, 5, 0, 0, 0, 6, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(accessor.ExportContent(), expected);
}

TEST_F(TreeBoxBindTest, ReloadSeesTheContentWrittenAfterBind) {
  SetTreeContent(tree, Content(kHerbs));
  accessor.Bind(window, 1);
  const std::vector<TreeContentRecord> other = {{"补益药", 0, 0, 1, 0, 1}};
  SetTreeContent(tree, Content(other));
  EXPECT_EQ(accessor.ExportContent(), Content(kHerbs));  // the copy until Reload
  accessor.Reload();
  EXPECT_EQ(accessor.ExportContent(), Content(other));
  SetTreeContent(tree, Bytes());
  accessor.Reload();
  EXPECT_TRUE(accessor.items().empty());
  EXPECT_TRUE(accessor.ExportContent().empty());
}

TEST_F(TreeBoxBindTest, StaleHandlesAfterContentRewriteGiveInvalidResults) {
  SetTreeContent(tree, Content(kHerbs));
  accessor.Bind(window, 1);
  SetTreeContent(tree, Content(kHerbs));  // every item handle replaced
  EXPECT_EQ(accessor.GetItemText(0, false), "");
  EXPECT_EQ(accessor.GetItemImage(0, false), -1);
  EXPECT_EQ(accessor.GetItemText(0), "解表药");  // a refresh picks up the new handles
}

TEST_F(TreeBoxBindTest, AddItemInsertsBeforePositionAndSelectsIt) {
  SetTreeContent(tree, Content(kHerbs));
  accessor.Bind(window, 1);
  EXPECT_EQ(accessor.AddItem(1, "桂枝", 3, {}, 13), 1);
  EXPECT_EQ(GetTreeItemCount(tree), 5);
  EXPECT_EQ(GetTreeItemText(tree, 1), "桂枝");
  EXPECT_EQ(GetParentItem(tree, 1), 0);  // at the level of the item it went before
  EXPECT_EQ(GetCurrentItem(tree), 1);
  EXPECT_EQ(accessor.GetItemData(1), 13);
  EXPECT_EQ(accessor.GetItemText(2), "麻黄");

  EXPECT_EQ(accessor.AddItem(-1, "温里药"), 5);  // appended at the top level
  EXPECT_EQ(GetParentItem(tree, 5), -1);
  EXPECT_EQ(accessor.items().size(), 6u);
  EXPECT_EQ(accessor.handles().size(), 6u);
}

}  // namespace
}  // namespace kelmor
