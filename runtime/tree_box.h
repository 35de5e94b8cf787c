// The tree box: a SysTreeView32 driven by its messages. Items are addressed by their 0-based
// index in a pre-order walk of the whole tree (children are visited whenever an item has
// children, expanded or not); -1 means no item. A command on an index that names no item does
// nothing and returns the empty result of its row. Its four properties are also reachable
// through GetProperty/SetProperty by their constants in runtime/window_framework.h
// (property::kTreeLabelEditing, kTreeCurrentItem, kTreeContent, kTreeEditedLabel).
#pragma once

#include <optional>
#include <string>

#include "platform/win_types.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"

namespace kelmor {

// The tree box's label-editing property (write only): allows editing labels in place (TVS_EDITLABELS).
void SetTreeLabelEditing(const ControlRef& tree, bool allowed);

// The tree box's current-item property: the selected item's index, -1 when none. Writing an index that
// names no item clears the selection; the index written last is also reselected after the
// next Content write.
int GetCurrentItem(const ControlRef& tree);
void SetCurrentItem(const ControlRef& tree, int index);

// The tree box's content property (runtime/tree_content.h). Writing replaces every item: all earlier
// item handles become invalid (the window handle of the tree view stays the same).
Bytes GetTreeContent(const ControlRef& tree);
void SetTreeContent(const ControlRef& tree, const Bytes& content);

// The tree box's edited-label property (read only): during LabelEditFinished the typed text (or the item's text when the edit was
// cancelled); empty otherwise.
Text GetEditedLabel(const ControlRef& tree);

int GetTreeItemCount(const ControlRef& tree);

// Appends an item under the item `parent` (top level when omitted or naming no item) and
// returns its index. image: 0 when omitted or negative; selected image: the image unless given
// and not negative; data 0 when omitted; state bold 0x10 and (state image + 1) << 12.
int AddTreeItem(const ControlRef& tree, std::optional<int> parent, const Text& text,
                std::optional<int> image = {}, std::optional<int> selected_image = {},
                std::optional<int> data = {}, std::optional<bool> bold = {},
                std::optional<int> state_image = {});

bool SetTreeItemImage(const ControlRef& tree, int index, int image);  // keeps the selected image
Text GetTreeItemText(const ControlRef& tree, int index);              // whole, any length
bool SetTreeItemText(const ControlRef& tree, int index, const Text& text);
int EnsureItemVisible(const ControlRef& tree, int index);  // TVM_ENSUREVISIBLE result, 0 no item
int GetParentItem(const ControlRef& tree, int index);      // -1 top level or no item
bool HasChildItems(const ControlRef& tree, int index);
// The item whose row is under the mouse, -1 over empty space.
int TreeItemAtMouse(const ControlRef& tree);

// The item handle (HTREEITEM) of an index, 0 when none; and back, -1 when not an item.
platform::HANDLE TreeItemHandle(const ControlRef& tree, int index);
int TreeItemIndex(const ControlRef& tree, platform::HANDLE item);

// The first disagreement between what the tree box keeps of its items (the item mirror and
// the Content copy from the last write) and the tree view itself, empty when they agree.
// Debug and sanitizer builds check it after every write, from the tree box or from elsewhere,
// and end the process with it on standard error.
std::string TreeBoxStateDisagreement(const ControlRef& tree);

}  // namespace kelmor
