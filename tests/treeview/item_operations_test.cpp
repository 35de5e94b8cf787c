// Item operations on a platform tree view, in local mode and in remote mode on both allocation
// paths; every remote exchange must leave no allocation, view or handle behind.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/process_memory.h"
#include "platform/variant.h"
#include "tests/treeview/tree_view_fixture.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor {
namespace {

using platform::HTREEITEM;

enum class Mode { Local, RemoteNt, RemoteMapping };

std::string ModeName(const ::testing::TestParamInfo<Mode>& info) {
  switch (info.param) {
    case Mode::Local:
      return "Local";
    case Mode::RemoteNt:
      return "RemoteNt";
    case Mode::RemoteMapping:
      return "RemoteMapping";
  }
  return "?";
}

class ItemOperationsTest : public ::testing::TestWithParam<Mode>, public test::TreeViewFixture {
 protected:
  void SetUp() override {
    CreateTree();
    // Pre-order: 0 解表药, 1 麻黄, 2 麻黄根, 3 桂枝, 4 清热药 (collapsed, one child), 5 石膏, 6
    // 补益药
    a = Insert("解表药", platform::TVI_ROOT, 1, 2, 100);
    HTREEITEM a1 = Insert("麻黄", a, 3, 4, 101);
    Insert("麻黄根", a1, 5, 6, 102);
    Insert("桂枝", a, 7, 8, 103);
    HTREEITEM b = Insert("清热药", platform::TVI_ROOT, 9, 10, 104);
    Insert("石膏", b, 11, 12, 105);
    Insert("补益药", platform::TVI_ROOT, 13, 14, 106);
    platform::SendMessageA(tree, platform::TVM_EXPAND, platform::TVE_EXPAND,
                           static_cast<platform::LPARAM>(a));

    if (GetParam() == Mode::RemoteMapping) accessor.SetRemoteMemory(RemoteMemory(kFamilyWin9x));
    if (GetParam() == Mode::RemoteNt) accessor.SetRemoteMemory(RemoteMemory(kFamilyNt));
    if (GetParam() != Mode::Local) accessor.EnableRemoteMode();
    ASSERT_TRUE(accessor.Attach(tree));
    allocations = platform::VirtualAllocationCount();
    views = platform::MappedViewCount();
    handles = platform::OpenHandleCount();
  }
  void TearDown() override {
    EXPECT_EQ(platform::VirtualAllocationCount(), allocations);
    EXPECT_EQ(platform::MappedViewCount(), views);
    EXPECT_EQ(platform::OpenHandleCount(), handles);
    EXPECT_TRUE(accessor.remote_memory().mappings().empty());
    DestroyTree();
  }

  platform::UINT State(std::int32_t index) {
    return static_cast<platform::UINT>(
        platform::SendMessageA(tree, platform::TVM_GETITEMSTATE,
                               static_cast<platform::WPARAM>(accessor.handles()[index]), 0xFFFF));
  }

  // The item's text as the tree view holds it, read with room to spare.
  Text HeldText(std::int32_t index) {
    char buffer[1024] = {};
    platform::TVITEMA item{};
    item.mask = platform::TVIF_TEXT;
    item.hItem = accessor.handles()[index];
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    platform::SendMessageA(tree, platform::TVM_GETITEMA, 0,
                           reinterpret_cast<platform::LPARAM>(&item));
    return buffer;
  }

  HTREEITEM a = 0;
  TreeViewAccessor accessor;
  std::size_t allocations = 0, views = 0, handles = 0;
};

TEST_P(ItemOperationsTest, ReadsFieldsInPreOrderOverCollapsedBranches) {
  EXPECT_EQ(accessor.remote_mode(), GetParam() != Mode::Local);
  ASSERT_EQ(accessor.handles().size(), 7u);
  const char* texts[] = {"解表药", "麻黄", "麻黄根", "桂枝", "清热药", "石膏", "补益药"};
  const int levels[] = {1, 2, 3, 2, 1, 2, 1};
  const int parents[] = {-1, 0, 1, 0, -1, 4, -1};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(accessor.GetItemText(i), texts[i]);
    EXPECT_EQ(accessor.GetItemImage(i), 2 * i + 1);
    EXPECT_EQ(accessor.GetItemSelectedImage(i), 2 * i + 2);
    EXPECT_EQ(accessor.GetItemData(i), 100 + i);
    EXPECT_EQ(accessor.GetItemLevel(i), levels[i]);
    EXPECT_EQ(accessor.GetParentIndex(i), parents[i]);
  }
  EXPECT_TRUE(accessor.IsExpanded(0));
  EXPECT_FALSE(accessor.IsExpanded(4));
  EXPECT_EQ(accessor.GetItemChildren(4), 1);
  EXPECT_EQ(accessor.GetItemChildren(6), 0);
}

TEST_P(ItemOperationsTest, WritesReachTheTreeView) {
  EXPECT_TRUE(accessor.SetItemText(5, "生石膏"));
  EXPECT_EQ(accessor.GetItemText(5), "生石膏");
  EXPECT_TRUE(accessor.SetItemText(5, ""));
  EXPECT_EQ(accessor.GetItemText(5), "");
  // A text longer than the item buffer is cut, not written past it.
  EXPECT_TRUE(accessor.SetItemText(6, std::string(400, 'x')));
  EXPECT_EQ(accessor.GetItemText(6), std::string(kItemTextCapacity - 1, 'x'));

  EXPECT_TRUE(accessor.SetItemImage(1, 42));
  EXPECT_EQ(accessor.GetItemImage(1), 42);
  EXPECT_EQ(accessor.GetItemSelectedImage(1), 4);
  EXPECT_TRUE(accessor.SetItemSelectedImage(1, 43));
  EXPECT_EQ(accessor.GetItemSelectedImage(1), 43);
  EXPECT_TRUE(accessor.SetItemData(1, -7));
  EXPECT_EQ(accessor.GetItemData(1), -7);
}

TEST_P(ItemOperationsTest, LongTextsAreCutBetweenCharacters) {
  Text whole;  // 150 double-byte characters: a cut at 259 bytes would halve the 130th
  for (int i = 0; i < 150; ++i) whole += "药";
  const Text cut = whole.substr(0, 258);
  ASSERT_TRUE(accessor.SetItemText(0, whole));
  // In remote mode the text buffer is as long as the text, so all of it reaches the tree view.
  EXPECT_EQ(HeldText(0), GetParam() == Mode::Local ? cut : whole);
  EXPECT_EQ(accessor.GetItemText(0), cut);
  const std::int32_t added = accessor.InsertItem(-1, 3, whole);
  EXPECT_EQ(HeldText(added), cut);
  EXPECT_EQ(accessor.GetItemText(added), cut);
}

TEST_P(ItemOperationsTest, BoldAndChecked) {
  EXPECT_TRUE(accessor.SetItemBold(3));
  EXPECT_NE(State(3) & platform::TVIS_BOLD, 0u);
  EXPECT_TRUE(accessor.ClearItemBold(3));
  EXPECT_EQ(State(3) & platform::TVIS_BOLD, 0u);

  accessor.EnableCheckBoxes();
  platform::VARIANT none = accessor.GetCheckedIndices();
  EXPECT_TRUE(none.parray == nullptr || none.parray->elements.empty());
  EXPECT_FALSE(accessor.IsItemChecked(2));
  EXPECT_TRUE(accessor.SetItemChecked(2, true));
  EXPECT_TRUE(accessor.SetItemChecked(5, true));
  EXPECT_TRUE(accessor.IsItemChecked(2));
  EXPECT_FALSE(accessor.IsItemChecked(3));
  platform::VARIANT checked = accessor.GetCheckedIndices();
  ASSERT_NE(checked.parray, nullptr);
  ASSERT_EQ(checked.parray->elements.size(), 2u);
  EXPECT_EQ(checked.parray->elements[0].intVal, 3);  // 1-based positions
  EXPECT_EQ(checked.parray->elements[1].intVal, 6);
  EXPECT_TRUE(accessor.SetItemChecked(2, false));
  EXPECT_FALSE(accessor.IsItemChecked(2));
}

TEST_P(ItemOperationsTest, IndexBoundsGiveInvalidResults) {
  for (int bad : {-1, 7}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(accessor.GetItemText(bad), "");
    EXPECT_EQ(accessor.GetItemImage(bad), -1);
    EXPECT_EQ(accessor.GetItemSelectedImage(bad), -1);
    EXPECT_EQ(accessor.GetItemData(bad), 0);
    EXPECT_EQ(accessor.GetItemLevel(bad), 0);
    EXPECT_EQ(accessor.GetParentIndex(bad), -1);
    EXPECT_EQ(accessor.GetItemChildren(bad), 0);
    EXPECT_FALSE(accessor.IsExpanded(bad));
    EXPECT_FALSE(accessor.IsItemChecked(bad));
    EXPECT_FALSE(accessor.SetItemText(bad, "x"));
    EXPECT_FALSE(accessor.SetItemImage(bad, 1));
    EXPECT_FALSE(accessor.SetItemData(bad, 1));
    EXPECT_FALSE(accessor.SetItemBold(bad));
    EXPECT_FALSE(accessor.SetItemChecked(bad, true));
    EXPECT_FALSE(accessor.DeleteItem(bad));
  }
  EXPECT_EQ(accessor.GetItemText(6), "补益药");
  EXPECT_EQ(accessor.GetItemCount(), 7);
}

TEST_P(ItemOperationsTest, AutoRefreshSeesItemsAddedSinceTheLastCall) {
  Insert("温里药", platform::TVI_ROOT, 0, 0, 107);
  EXPECT_EQ(accessor.GetItemText(7, false), "");  // cached handles as they stand
  EXPECT_EQ(accessor.GetItemText(7), "温里药");
  accessor.SetAutoRefresh(false);
  EXPECT_FALSE(accessor.GetAutoRefresh());
  Insert("理气药");
  EXPECT_EQ(accessor.GetItemText(8), "");
  EXPECT_EQ(accessor.GetItemText(8, true), "理气药");
}

TEST_P(ItemOperationsTest, InsertAndDelete) {
  std::int32_t added = accessor.InsertItem(4, 3, "知母", 20, {}, 200);
  EXPECT_EQ(added, 6);  // after 石膏, the last child of 清热药
  EXPECT_EQ(accessor.GetItemText(6), "知母");
  EXPECT_EQ(accessor.GetItemSelectedImage(6), 20);
  EXPECT_EQ(accessor.GetItemData(6), 200);
  EXPECT_EQ(accessor.GetParentIndex(6), 4);
  EXPECT_EQ(accessor.InsertItem(-1, 2, "首"), 0);  // top level, first
  EXPECT_EQ(accessor.GetItemCount(), 9);
  EXPECT_TRUE(accessor.DeleteItem(1));  // 解表药 with its three items below
  EXPECT_EQ(accessor.GetItemCount(), 5);
  EXPECT_EQ(accessor.GetItemText(1), "清热药");
}

TEST_P(ItemOperationsTest, InsertPositionsPlaceTheItemAmongItsSiblings) {
  // Top level: 解表药 (0, three items below), 清热药 (4, one), 补益药 (6); in GBK order 理气药
  // sorts between 解表药 and 清热药.
  const struct {
    std::optional<std::int32_t> position;
    std::int32_t index;
  } cases[] = {{1, 7}, {2, 0}, {3, 7}, {4, 4}, {std::nullopt, 7}, {0, 7}, {-1, 7}, {5, 7},
               {INT32_MIN, 7}, {INT32_MAX, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.position.value_or(-99));
    const std::int32_t added = accessor.InsertItem(-1, c.position, "理气药");
    EXPECT_EQ(added, c.index);
    EXPECT_EQ(accessor.GetItemText(c.index), "理气药");
    EXPECT_EQ(accessor.GetParentIndex(c.index), -1);
    ASSERT_TRUE(accessor.DeleteItem(added));
  }
}

TEST_P(ItemOperationsTest, SelectionAndVisibility) {
  EXPECT_EQ(accessor.GetSelectedIndex(), -1);
  accessor.SelectItem(5);
  EXPECT_EQ(accessor.GetSelectedIndex(), 5);
  EXPECT_TRUE(accessor.IsExpanded(4));  // selecting inside a collapsed branch opens it
  accessor.Collapse(0);
  EXPECT_FALSE(accessor.IsExpanded(0));
  EXPECT_EQ(accessor.GetFirstVisibleIndex(), 0);
  EXPECT_EQ(accessor.FindHandle(accessor.handles()[6]), 7);
  EXPECT_EQ(accessor.FindHandle(0), 0);
}

TEST_P(ItemOperationsTest, RemoteExchangeUsesBuffersOfTheOwningProcess) {
  std::size_t live_blocks = 0;
  platform::SetWindowSubclass(
      tree,
      [&](platform::HWND h, platform::UINT msg, platform::WPARAM w, platform::LPARAM l,
          platform::UINT_PTR, platform::DWORD_PTR) -> platform::LRESULT {
        if (msg == platform::TVM_GETITEMA || msg == platform::TVM_SETITEMA) {
          live_blocks = platform::VirtualAllocationCount() - allocations +
                        platform::MappedViewCount() - views;
        }
        return platform::DefSubclassProc(h, msg, w, l);
      },
      1, 0);
  EXPECT_EQ(accessor.GetItemText(2), "麻黄根");
  // Record and text buffer while the message is handled; none in local mode.
  EXPECT_EQ(live_blocks, GetParam() == Mode::Local ? 0u : 2u);
  live_blocks = 0;
  EXPECT_TRUE(accessor.SetItemImage(2, 9));
  EXPECT_EQ(live_blocks, GetParam() == Mode::Local ? 0u : 1u);
  platform::RemoveWindowSubclass(tree, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, ItemOperationsTest,
                         ::testing::Values(Mode::Local, Mode::RemoteNt, Mode::RemoteMapping),
                         ModeName);

}  // namespace
}  // namespace kelmor
