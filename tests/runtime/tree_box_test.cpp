// The tree box and its Content byte string, on a loaded window.
#include "runtime/tree_box.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "tests/support/test_driver.h"
#include "tests/support/test_window.h"

namespace kelmor {
namespace {

class TreeBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ControlTemplate tree = test::Control("树型框1", ControlKind::TreeBox, 0, 0, 300, 200);
    tree.tree.image_count = 4;
    window_ = test::LoadWindowWith(tree);
    ASSERT_NE(window_, 0);
  }
  // Whatever a test did, what the tree box keeps of its items agrees with the tree view.
  void TearDown() override { EXPECT_EQ(TreeBoxStateDisagreement(Tree()), ""); }
  ~TreeBoxTest() override { ResetWindowFramework(); }

  ControlRef Tree() const { return {window_, "树型框1"}; }

  test::TestDriver driver_;
  WindowId window_ = 0;
};

TEST_F(TreeBoxTest, PreOrderIndicesCountChildrenOfCollapsedParent) {
  EXPECT_EQ(AddTreeItem(Tree(), {}, "甲"), 0);
  EXPECT_EQ(AddTreeItem(Tree(), 0, "甲一"), 1);
  EXPECT_EQ(AddTreeItem(Tree(), 0, "甲二"), 2);
  EXPECT_EQ(AddTreeItem(Tree(), -1, "乙"), 3);
  EXPECT_EQ(GetTreeItemCount(Tree()), 4);
  EXPECT_EQ(GetParentItem(Tree(), 2), 0);
  EXPECT_EQ(GetParentItem(Tree(), 1), 0);
  EXPECT_EQ(GetParentItem(Tree(), 0), -1);
  EXPECT_EQ(GetParentItem(Tree(), 3), -1);
  EXPECT_EQ(GetParentItem(Tree(), 99), -1);
  EXPECT_TRUE(HasChildItems(Tree(), 0));
  EXPECT_FALSE(HasChildItems(Tree(), 2));
  EXPECT_EQ(GetTreeItemText(Tree(), 2), "甲二");
  EXPECT_EQ(GetTreeItemText(Tree(), 3), "乙");
  EXPECT_EQ(GetTreeItemText(Tree(), 4), "");
  // A child added to the first item later comes before the second top-level item.
  EXPECT_EQ(AddTreeItem(Tree(), 0, "甲三"), 3);
  EXPECT_EQ(GetTreeItemText(Tree(), 4), "乙");
  EXPECT_EQ(TreeItemIndex(Tree(), TreeItemHandle(Tree(), 3)), 3);
  EXPECT_EQ(TreeItemHandle(Tree(), 7), platform::HANDLE{0});
}

TEST_F(TreeBoxTest, AddTreeItemImages) {
  AddTreeItem(Tree(), -1, "甲", 1, 0);
  AddTreeItem(Tree(), {}, "乙", 2);
  AddTreeItem(Tree(), {}, "丙", -3, -1, 77, true, 2);
  auto records = ParseTreeContent(GetTreeContent(Tree()));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].image, 1);
  EXPECT_EQ(records[0].selected_image, 0);
  EXPECT_EQ(records[0].level, 1);
  EXPECT_EQ(records[1].image, 2);
  EXPECT_EQ(records[1].selected_image, 2);
  EXPECT_EQ(records[2].image, 0);
  EXPECT_EQ(records[2].selected_image, 0);
  EXPECT_EQ(records[2].data, 77);
  EXPECT_EQ(records[2].flags & kTreeFlagBold, kTreeFlagBold);
  EXPECT_EQ(static_cast<std::uint32_t>(records[2].flags) >> 28, 3u);
  EXPECT_TRUE(SetTreeItemImage(Tree(), 0, 3));
  records = ParseTreeContent(GetTreeContent(Tree()));
  EXPECT_EQ(records[0].image, 3);
  EXPECT_EQ(records[0].selected_image, 0);
}

TEST_F(TreeBoxTest, ContentRoundTripsByteForByte) {
  // Levels 1, 3, 3, 1: a level that skips one hangs under the item before it.
  std::vector<TreeContentRecord> records = {
      {"根一", 1, 0, 10, kTreeFlagExpanded, 1},
      {"子", 2, 2, 11, kTreeFlagBold, 3},
      {"孙甲", 3, 1, 12, 0, 3},
      {"孙乙", 0, 0, -5, kTreeFlagBold | kTreeFlagExpanded, 1},
  };
  Bytes content = SerializeTreeContent(records);
  SetTreeContent(Tree(), content);
  EXPECT_EQ(GetTreeItemCount(Tree()), 4);
  EXPECT_EQ(GetParentItem(Tree(), 1), 0);
  EXPECT_EQ(GetParentItem(Tree(), 2), 0);
  EXPECT_EQ(GetParentItem(Tree(), 3), -1);
  auto back = ParseTreeContent(GetTreeContent(Tree()));
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[0], records[0]);
  EXPECT_EQ(back[1].level, 2);
  EXPECT_EQ(back[2].level, 2);
  EXPECT_EQ(back[3], records[3]);

  // A well-formed content comes back identical.
  std::vector<TreeContentRecord> proper = {
      {"根一", 1, 0, 10, kTreeFlagExpanded, 1},
      {"子", 2, 2, 11, kTreeFlagBold | kTreeFlagExpanded, 2},
      {"孙甲", 3, 1, 12, 0, 3},
      {"孙乙", 0, 0, -5, kTreeFlagBold, 3},
      {"根二", 1, 1, 13, 0, 1},
  };
  content = SerializeTreeContent(proper);
  SetTreeContent(Tree(), content);
  EXPECT_EQ(GetTreeContent(Tree()), content);
  EXPECT_EQ(GetTreeItemText(Tree(), 3), "孙乙");
}

TEST_F(TreeBoxTest, LongTexts) {
  const Text long300(300, 'a');
  const Text long600(600, 'b');
  AddTreeItem(Tree(), {}, long300);
  AddTreeItem(Tree(), {}, long600);
  EXPECT_EQ(GetTreeItemText(Tree(), 0), long300);
  EXPECT_EQ(GetTreeItemText(Tree(), 1), long600);
  auto records = ParseTreeContent(GetTreeContent(Tree()));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, long300);
  EXPECT_EQ(records[1].text, Text(510, 'b'));
  EXPECT_TRUE(SetTreeItemText(Tree(), 0, long600));
  EXPECT_EQ(GetTreeItemText(Tree(), 0), long600);
}

TEST(TreeContent, TruncatedContentKeepsWholeRecords) {
  std::vector<TreeContentRecord> records = {{"甲", 1, 2, 3, 0, 1}, {"乙乙", 4, 5, 6, 1, 2}};
  const Bytes content = SerializeTreeContent(records);
  EXPECT_EQ(content.size(), 2u * 20 + 3 + 5);
  EXPECT_EQ(ParseTreeContent(content), records);
  for (std::size_t cut = 0; cut < content.size(); ++cut) {
    Bytes part(content.begin(), content.begin() + cut);
    auto parsed = ParseTreeContent(part);
    const std::size_t whole = cut < 23 ? 0 : 1;
    ASSERT_EQ(parsed.size(), whole) << cut;
    if (whole == 1) {
      EXPECT_EQ(parsed[0], records[0]);
    }
  }
}

TEST_F(TreeBoxTest, TruncatedContentLoadsWholeRecords) {
  Bytes content = SerializeTreeContent({{"甲", 0, 0, 0, 0, 1}, {"乙", 0, 0, 0, 0, 2}});
  content.resize(content.size() - 3);
  SetTreeContent(Tree(), content);
  EXPECT_EQ(GetTreeItemCount(Tree()), 1);
  EXPECT_EQ(GetTreeItemText(Tree(), 0), "甲");
}

TEST_F(TreeBoxTest, RandomBytesAsContentNeverCrash) {
  std::mt19937 random(4);
  for (int round = 0; round < 200; ++round) {
    Bytes content(random() % 200);
    for (auto& b : content) b = static_cast<std::uint8_t>(random());
    SetTreeContent(Tree(), content);
    const int count = GetTreeItemCount(Tree());
    EXPECT_EQ(static_cast<std::size_t>(count), ParseTreeContent(content).size());
    GetTreeContent(Tree());
    for (int i = 0; i < count; ++i) GetParentItem(Tree(), i);
  }
}

TEST_F(TreeBoxTest, CurrentItemFollowsClicksAndContent) {
  SetTreeContent(Tree(),
                 SerializeTreeContent(
                     {{"甲", 0, 0, 0, 0, 1}, {"甲一", 0, 0, 0, 0, 2}, {"乙", 0, 0, 0, 0, 1}}));
  EXPECT_EQ(GetCurrentItem(Tree()), -1);
  driver_.ClickTreeItem(Tree(), 2);
  EXPECT_EQ(GetCurrentItem(Tree()), 2);
  // A child of a collapsed item is still clickable: it is made visible first.
  driver_.ClickTreeItem(Tree(), 1);
  EXPECT_EQ(GetCurrentItem(Tree()), 1);
  SetCurrentItem(Tree(), 9);
  EXPECT_EQ(GetCurrentItem(Tree()), -1);
  SetCurrentItem(Tree(), 2);
  EXPECT_EQ(GetProperty(Tree(), property::kTreeCurrentItem), Value::Int(2));
  // Rebuilding the tree from Content reselects the index written last.
  SetTreeContent(Tree(), GetTreeContent(Tree()));
  EXPECT_EQ(GetCurrentItem(Tree()), 2);
}

TEST_F(TreeBoxTest, RightButtonSelectsAndLabelEditsCanBeRejected) {
  SetTreeContent(Tree(), SerializeTreeContent({{"甲", 0, 0, 0, 0, 1}, {"乙", 0, 0, 0, 0, 1}}));
  int released_on = -2;
  OnEvent(Tree(), Event::RightButtonReleased, [&] { released_on = GetCurrentItem(Tree()); });
  driver_.RightClickTreeItem(Tree(), 1);
  EXPECT_EQ(released_on, 1);

  SetTreeLabelEditing(Tree(), true);
  Text seen;
  OnLabelEditFinished(Tree(), [&](int index) -> std::optional<bool> {
    seen = GetEditedLabel(Tree());
    return index == 0;
  });
  driver_.EditLabel(Tree(), 0, "丙");
  EXPECT_EQ(seen, "丙");
  EXPECT_EQ(GetTreeItemText(Tree(), 0), "丙");
  driver_.EditLabel(Tree(), 1, "丁");
  EXPECT_EQ(seen, "丁");
  EXPECT_EQ(GetTreeItemText(Tree(), 1), "乙");
  driver_.BeginLabelEdit(Tree(), 0);
  driver_.CancelLabelEdit(Tree());
  EXPECT_EQ(seen, "丙");
  EXPECT_EQ(GetTreeItemText(Tree(), 0), "丙");
  EXPECT_EQ(GetEditedLabel(Tree()), "");
}

// After a Content write a read is answered from what was written; it must equal a read of the
// items themselves, also after whatever changed them since.
TEST_F(TreeBoxTest, ContentReadAfterAWriteEqualsAReadOfTheItems) {
  const auto read_of_items = [this] {
    // Any change message drops the written copy; setting an image to itself changes nothing.
    const Bytes before = GetTreeContent(Tree());
    const auto records = ParseTreeContent(before);
    if (!records.empty()) SetTreeItemImage(Tree(), 0, records[0].image);
    return GetTreeContent(Tree());
  };
  const std::vector<TreeContentRecord> records = {
      {Text(600, 'a'), 1, 2, -7, kTreeFlagBold, 1},
      {"子", 2, 2, 11, kTreeFlagExpanded, 4},  // level gap, expanded without children
      {"孙", 3, 1, 12, static_cast<std::int32_t>(0x30000000u | kTreeFlagBold), 2},
      {"乙", 0, 0, 0, 0, 1},
      {"乙一", 0, 0, 0, 0, 2},
  };
  SetTreeContent(Tree(), SerializeTreeContent(records));
  const Bytes written = GetTreeContent(Tree());
  EXPECT_EQ(written, read_of_items());
  EXPECT_EQ(ParseTreeContent(written)[0].text, Text(510, 'a'));
  EXPECT_EQ(ParseTreeContent(written)[1].level, 2);
  // Records that read back as written, then each kind that does not, then none that does not.
  const std::vector<TreeContentRecord> plain = {{"乙", 0, 0, 0, 0, 1}, {"乙一", 0, 0, 0, 0, 2}};
  const TreeContentRecord unkept_flags{"丙", 0, 0, 0, 0x104 | kTreeFlagBold, 2};
  for (const TreeContentRecord& odd : {records[0], records[1], unkept_flags}) {
    std::vector<TreeContentRecord> mixed = plain;
    mixed.push_back(odd);
    mixed.push_back(plain[0]);
    SetTreeContent(Tree(), SerializeTreeContent(mixed));
    const Bytes copy = GetTreeContent(Tree());
    EXPECT_EQ(copy, read_of_items()) << odd.text.substr(0, 3);
  }
  SetTreeContent(Tree(), SerializeTreeContent(plain));
  EXPECT_EQ(GetTreeContent(Tree()), SerializeTreeContent(plain));

  // Reselecting a child of a collapsed item expands its parent.
  SetCurrentItem(Tree(), 4);
  SetTreeContent(Tree(), SerializeTreeContent(records));
  const Bytes reselected = GetTreeContent(Tree());
  EXPECT_EQ(reselected, read_of_items());
  EXPECT_EQ(ParseTreeContent(reselected)[3].flags & kTreeFlagExpanded, kTreeFlagExpanded);

  // Changes after the write show in the next read.
  SetCurrentItem(Tree(), -1);
  SetTreeContent(Tree(), SerializeTreeContent(records));
  EXPECT_TRUE(SetTreeItemText(Tree(), 3, "丙"));
  EXPECT_EQ(ParseTreeContent(GetTreeContent(Tree()))[3].text, "丙");
  SetTreeContent(Tree(), SerializeTreeContent(records));
  driver_.ClickTreeItem(Tree(), 4);  // shows the child: its parent expands
  EXPECT_EQ(ParseTreeContent(GetTreeContent(Tree()))[3].flags & kTreeFlagExpanded,
            kTreeFlagExpanded);
  SetTreeContent(Tree(), SerializeTreeContent(records));
  SetTreeLabelEditing(Tree(), true);
  driver_.EditLabel(Tree(), 0, "丁");
  EXPECT_EQ(ParseTreeContent(GetTreeContent(Tree()))[0].text, "丁");
  SetTreeContent(Tree(), SerializeTreeContent(records));
  AddTreeItem(Tree(), 3, "乙二");
  EXPECT_EQ(ParseTreeContent(GetTreeContent(Tree())).size(), 6u);
  EXPECT_EQ(GetTreeContent(Tree()), read_of_items());
}

// Collapsing with TVE_COLLAPSERESET deletes the item's children inside the tree view, expanded
// or not: no read may still see them.
TEST_F(TreeBoxTest, CollapseResetDropsTheChildrenFromEveryRead) {
  for (const std::int32_t flags : {kTreeFlagExpanded, 0}) {
    SetTreeContent(Tree(), SerializeTreeContent({{"甲", 0, 0, 1, flags, 1},
                                                 {"甲一", 0, 0, 2, 0, 2},
                                                 {"甲二", 0, 0, 3, 0, 2},
                                                 {"乙", 0, 0, 4, 0, 1}}));
    platform::SendMessageA(WindowHandle(Tree()), platform::TVM_EXPAND,
                           platform::TVE_COLLAPSE | platform::TVE_COLLAPSERESET,
                           static_cast<platform::LPARAM>(TreeItemHandle(Tree(), 0)));
    EXPECT_EQ(TreeBoxStateDisagreement(Tree()), "") << flags;
    EXPECT_EQ(GetTreeItemCount(Tree()), 2) << flags;
    EXPECT_EQ(GetTreeItemText(Tree(), 1), "乙") << flags;
    EXPECT_EQ(GetParentItem(Tree(), 1), -1) << flags;
    EXPECT_EQ(ParseTreeContent(GetTreeContent(Tree())),
              (std::vector<TreeContentRecord>{{"甲", 0, 0, 1, 0, 1}, {"乙", 0, 0, 4, 0, 1}}))
        << flags;
  }
  // Deleting everything while a label is edited first ends the edit, whose handler reads the
  // tree while the items are still there.
  SetTreeLabelEditing(Tree(), true);
  OnLabelEditFinished(
      Tree(), [this](int) -> std::optional<bool> { return GetTreeItemText(Tree(), 0) == "甲"; });
  driver_.BeginLabelEdit(Tree(), 0);
  platform::SendMessageA(WindowHandle(Tree()), platform::TVM_DELETEITEM, 0,
                         static_cast<platform::LPARAM>(platform::TVI_ROOT));
  EXPECT_EQ(TreeBoxStateDisagreement(Tree()), "");
  EXPECT_TRUE(GetTreeContent(Tree()).empty());
  EXPECT_EQ(TreeItemHandle(Tree(), 0), platform::HANDLE{0});
}

// Two tree boxes filled in turn get interleaved handles; each still finds its own items (and
// no item of the other) by handle after a Content write and by appends.
TEST_F(TreeBoxTest, InterleavedTreesKeepTheirOwnItems) {
  const ControlRef other{
      test::LoadWindowWith(test::Control("树型框2", ControlKind::TreeBox, 0, 0, 300, 200)),
      "树型框2"};
  SetTreeContent(Tree(), SerializeTreeContent({{"甲", 0, 0, 0, 0, 1}, {"甲一", 0, 0, 0, 0, 2}}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(AddTreeItem(other, {}, "乙"), i);
    EXPECT_EQ(AddTreeItem(Tree(), 0, "甲" + std::to_string(i + 2)), 2 + i);
  }
  EXPECT_EQ(AddTreeItem(Tree(), {}, "丙"), 5);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(TreeItemIndex(Tree(), TreeItemHandle(Tree(), i)), i);
    EXPECT_EQ(GetParentItem(Tree(), i), i == 0 || i == 5 ? -1 : 0);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(TreeItemIndex(Tree(), TreeItemHandle(other, i)), -1);
    EXPECT_EQ(TreeItemIndex(other, TreeItemHandle(other, i)), i);
  }
  const auto records = ParseTreeContent(GetTreeContent(Tree()));
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[4].text, "甲4");
  EXPECT_EQ(records[4].level, 2);
  EXPECT_EQ(records[5].level, 1);
}

}  // namespace
}  // namespace kelmor
