// ParseContent and ExportContent: the accessor's copy of a tree box content.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/tree_content.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor {
namespace {

Bytes Record(const std::string& text, std::int32_t image, std::int32_t selected, std::int32_t data,
             std::int32_t flags, std::int32_t level) {
  Bytes out;
  AppendTreeContentRecord(out, TreeContentRecord{text, image, selected, data, flags, level});
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Array<TreeContentItem> Parse(const Bytes& content) {
  TreeViewAccessor accessor;
  Array<TreeContentItem> items;
  items.push_back(TreeContentItem{"stale", {}});  // must be replaced, not appended to
  accessor.ParseContent(content, items);
  return items;
}

TEST(TreeContentParse, RecordsWithTextAndRawTail) {
  Bytes content = Concat({Record("解表药", 1, 2, 3, kTreeFlagBold, 1),
                          Record("麻黄", 4, 5, 6, 0, 2), Record("", 0, 0, 0, 0, 1)});
  Array<TreeContentItem> items = Parse(content);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].text, "解表药");
  EXPECT_EQ(items[1].text, "麻黄");
  EXPECT_EQ(items[2].text, "");
  // image 4, selected 5, data 6, flags 0, level 2, little-endian.
  const std::array<std::uint8_t, 20> tail = {4, 0, 0, 0, 5, 0, 0, 0, 6, 0,
                                             0, 0, 0, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_EQ(items[1].tail, tail);
}

TEST(TreeContentParse, EmptyContentGivesNoItems) {
  EXPECT_TRUE(Parse(Bytes()).empty());
}

TEST(TreeContentParse, TruncatedLastRecordIsDropped) {
  Bytes whole = Concat({Record("甲", 1, 1, 1, 0, 1), Record("乙", 2, 2, 2, 0, 1)});
  for (std::size_t cut = 1; cut < 23; ++cut) {  // "乙" record is 2 + 1 + 20 bytes
    Bytes content(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut));
    Array<TreeContentItem> items = Parse(content);
    ASSERT_EQ(items.size(), 1u) << "cut " << cut;
    EXPECT_EQ(items[0].text, "甲");
  }
  // Text without its zero byte at the very end.
  Bytes open_text = Concat({Record("甲", 1, 1, 1, 0, 1), Bytes{'a', 'b'}});
  EXPECT_EQ(Parse(open_text).size(), 1u);
}

TEST(TreeContentParse, ByteOneAEndsTheText) {
  // "ab" 0x1A "cd" 0: the text stops at 0x1A; that byte is stepped over and the tail follows it,
  // so the record is read as text "ab" with a tail starting at 'c'.
  Bytes content = {'a', 'b', 0x1A};
  Bytes tail(20, 7);
  content.insert(content.end(), tail.begin(), tail.end());
  Array<TreeContentItem> items = Parse(content);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].text, "ab");
  EXPECT_EQ(items[0].tail[0], 7);
}

}  // namespace
}  // namespace kelmor
