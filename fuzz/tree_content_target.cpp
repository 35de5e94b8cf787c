#include "fuzz/targets.h"
#include "fuzz/tree_window.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"

namespace kelmor::fuzz {

void FuzzTreeContent(Input input) {
  const ControlRef tree = FuzzTree();
  const Bytes content(input.begin(), input.end());
  const std::vector<TreeContentRecord> records = ParseTreeContent(content);
  SetTreeContent(tree, content);
  // Every whole record becomes one item, in pre-order, with its text.
  Require(GetTreeItemCount(tree) == static_cast<int>(records.size()), "one item per record");
  for (std::size_t i = 0; i < records.size(); ++i) {
    Require(GetTreeItemText(tree, static_cast<int>(i)) == records[i].text, "item text");
    const int parent = GetParentItem(tree, static_cast<int>(i));
    Require(parent < static_cast<int>(i), "a parent comes before its child");
  }
  // What the tree gives back is a content that writes the same tree again.
  const Bytes first = GetTreeContent(tree);
  Require(ParseTreeContent(first).size() == records.size(), "read back count");
  SetTreeContent(tree, first);
  Require(GetTreeContent(tree) == first, "content is stable once written");
  SetCurrentItem(tree, static_cast<int>(records.size()) - 1);
  SetTreeContent(tree, Bytes());
  Require(GetTreeItemCount(tree) == 0, "empty content clears the tree");
}

}  // namespace kelmor::fuzz
