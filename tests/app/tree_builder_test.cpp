#include "app/tree_builder.h"

#include <gtest/gtest.h>

#include "runtime/tree_content.h"

namespace kelmor {
namespace {

TreeContentRecord Item(const char* text, std::int32_t data, bool bold, std::int32_t level) {
  return {text, 1, 0, data, bold ? kTreeFlagBold : 0, level};
}

TEST(TreeBuilder, CategoryWithTwoEntries) {
  TreeBuilder tree;
  tree.AddRow(1, "A", 0);
  tree.AddRow(2, "B", 1);
  tree.AddRow(3, "C", 1);
  EXPECT_EQ(ParseTreeContent(tree.Content()),
            (std::vector<TreeContentRecord>{Item("A", 1, true, 1), Item("B", 2, false, 2),
                                            Item("C", 3, false, 2)}));
}

TEST(TreeBuilder, LaterRowsGoUnderEarlierItemsInTreeOrder) {
  TreeBuilder tree;
  tree.AddRow(1, "A", 0);
  tree.AddRow(5, "E", 0);
  tree.AddRow(2, "B", 1);
  tree.AddRow(4, "D", 2);  // third level, under the entry B
  tree.AddRow(6, "F", 1);
  EXPECT_EQ(ParseTreeContent(tree.Content()),
            (std::vector<TreeContentRecord>{Item("A", 1, true, 1), Item("B", 2, false, 2),
                                            Item("D", 4, false, 3), Item("F", 6, false, 2),
                                            Item("E", 5, true, 1)}));
}

TEST(TreeBuilder, RowWhoseParentIsMissingIsTopLevelAndNotBold) {
  TreeBuilder tree;
  tree.AddRow(1, "A", 0);
  tree.AddRow(2, "X", 99);
  EXPECT_EQ(ParseTreeContent(tree.Content()),
            (std::vector<TreeContentRecord>{Item("A", 1, true, 1), Item("X", 2, false, 1)}));
}

TEST(TreeBuilder, DuplicateValueParentIsTheFirstInTreeOrder) {
  // Two items with value 7, under-A lying earlier in the tree than top7 whichever was added
  // first: a row pointing at 7 goes under under-A, as a scan over the item indices would find.
  for (const bool top7_first : {true, false}) {
    TreeBuilder tree;
    tree.AddRow(1, "A", 0);
    if (top7_first) tree.AddRow(7, "top7", 0);
    tree.AddRow(7, "under-A", 1);
    if (!top7_first) tree.AddRow(7, "top7", 0);
    tree.AddRow(9, "child", 7);
    EXPECT_EQ(ParseTreeContent(tree.Content()),
              (std::vector<TreeContentRecord>{Item("A", 1, true, 1), Item("under-A", 7, false, 2),
                                              Item("child", 9, false, 3),
                                              Item("top7", 7, true, 1)}))
        << "top7 first: " << top7_first;
  }
}

TEST(TreeBuilder, EmptyAndDeepTrees) {
  EXPECT_TRUE(TreeBuilder().Content().empty());
  TreeBuilder chain;
  chain.AddRow(1, "r", 0);
  for (int i = 2; i <= 5000; ++i) chain.AddRow(i, "n", i - 1);
  const auto records = ParseTreeContent(chain.Content());
  ASSERT_EQ(records.size(), 5000u);
  EXPECT_EQ(records.back().level, 5000);
}

}  // namespace
}  // namespace kelmor
