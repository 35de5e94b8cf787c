#include <algorithm>

#include "fuzz/targets.h"
#include "fuzz/tree_window.h"
#include "platform/gbk_chars.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor::fuzz {

namespace {

std::int32_t Int32At(const std::array<std::uint8_t, kTreeContentTailSize>& tail, std::size_t at) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(tail[at]) | tail[at + 1] << 8 |
                                   tail[at + 2] << 16 |
                                   static_cast<std::uint32_t>(tail[at + 3]) << 24);
}

// The accessor reads each text as a memory-file text: it also ends at a byte 0x1A, and a lead
// byte directly before the zero byte is dropped. Contents without either are read exactly as
// the tree box reads them.
bool ReadsAlike(const Bytes& content, const std::vector<TreeContentRecord>& records) {
  if (std::find(content.begin(), content.end(), 0x1A) != content.end()) return false;
  for (const TreeContentRecord& record : records) {
    const Text& t = record.text;
    for (std::size_t i = 0; i < t.size(); ++i) {
      if (platform::IsGbkLead(static_cast<std::uint8_t>(t[i]))) {
        if (i + 1 == t.size()) return false;
        ++i;
      }
    }
  }
  return true;
}

}  // namespace

void FuzzParseContent(Input input) {
  const Bytes content(input.begin(), input.end());
  TreeViewAccessor accessor;
  Array<TreeContentItem> items;
  accessor.ParseContent(content, items);
  Require(items.size() <= content.size() / (kTreeContentTailSize + 1), "no record from nothing");
  // The accessor and the tree box read a content alike: the same records, texts and numbers.
  const std::vector<TreeContentRecord> records = ParseTreeContent(content);
  if (!ReadsAlike(content, records)) return;
  Require(items.size() == records.size(), "same record count as the tree box");
  for (std::size_t i = 0; i < items.size() && i < records.size(); ++i) {
    Require(items[i].text == records[i].text, "same text");
    Require(Int32At(items[i].tail, 0) == records[i].image, "same image");
    Require(Int32At(items[i].tail, 16) == records[i].level, "same level");
  }
  // Through the tree box: what the accessor exports is what the tree box holds.
  const ControlRef tree = FuzzTree();
  SetTreeContent(tree, content);
  Require(accessor.Bind(tree.window, kFuzzTreeControl), "bind");
  accessor.Reload();
  // The tree box keeps at most 510 bytes of a text, which may cut a character in half.
  const Bytes held = GetTreeContent(tree);
  if (ReadsAlike(held, ParseTreeContent(held))) {
    Require(accessor.ExportContent() == held, "export equals the tree's content");
  }
  Require(accessor.GetItemCount() == GetTreeItemCount(tree), "item count");
  SetTreeContent(tree, Bytes());
}

}  // namespace kelmor::fuzz
