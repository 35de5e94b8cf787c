// TreeViewAccessor: works on the native tree view behind a tree box by item index (0-based, in
// pre-order over the whole tree, collapsed branches included) through the tree-view messages
// only, so it serves any tree view window, also one owned by another process (remote mode, with
// the item record and its text placed in that process by RemoteMemory). It keeps two caches: the
// item handles in pre-order and a parsed copy of the tree box content.
//
// Item operations take an optional `refresh`: true refreshes the handles first, omitted
// refreshes them when auto refresh is on, false uses the cached handles as they stand. An index
// below 0 or at or past the number of cached handles is invalid: nothing is sent and the
// operation returns its invalid result (empty text, 0, -1 or false, as documented below). A read
// the tree view refuses (for example a window that no longer exists) gives the invalid result
// as well.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/commctrl.h"
#include "platform/variant.h"
#include "platform/win_types.h"
#include "runtime/array.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"
#include "treeview/remote_memory.h"
#include "treeview/tree_content_item.h"

namespace kelmor {

// The platform's tree-view item record (pointer-sized fields widened).
using TreeItemRecord = platform::TVITEMA;

inline constexpr std::int32_t kItemTextCapacity = 260;

class TreeViewAccessor {
 public:
  using MaybeRefresh = std::optional<bool>;

  // --- Lifetime ----------------------------------------------------------------------------------
  // Not bound, no window, auto refresh on, remote mode off. A copy is deep (handles and items
  // element by element, each item with its own text) and independent of the original.
  TreeViewAccessor() = default;
  ~TreeViewAccessor() = default;
  TreeViewAccessor(const TreeViewAccessor&) = default;
  TreeViewAccessor& operator=(const TreeViewAccessor&) = default;

  // --- The tree box: what the book itself calls --------------------------------------------------
  // The book uses Bind once at start-up, Reload after every write of the tree box's content and
  // ExportContent when it saves the tree; ParseContent runs inside Bind and Reload. Nothing else
  // of this class is called by the book.

  // Remembers the tree box (window id, control id), parses its content into items() and
  // attaches to its tree view; true when that window is a tree view.
  bool Bind(std::int32_t window_id, std::int32_t control_id);
  // Replaces items() by a fresh parse of the bound tree box's content; handles stay as they are.
  void Reload();
  // items() serialised as a tree box content; after Reload, the tree box's current content.
  Bytes ExportContent() const;
  // Replaces `items` by the records of `content`: each a text up to a zero byte (or a 0x1A that
  // is no second byte), then a 20-byte tail. A record cut short at the end is dropped.
  void ParseContent(const Bytes& content, Array<TreeContentItem>& items) const;

  // --- The tree view window and its item handles -------------------------------------------------
  // Attaches when the window's class name is "SysTreeView32" in any letter case, and refreshes
  // the handles; any other window leaves the binding as it was and gives false.
  bool Attach(platform::HWND window);
  // The platform's class name of a window (at most 255 bytes); empty for no window.
  Text GetWindowClassName(platform::HWND window) const;
  // Both walk the tree in pre-order, collapsed branches included, and store every item handle.
  // More items than the tree view counts is the run-time error "subscript out of range".
  void Refresh();
  void RefreshHandles();
  // 1-based position of a handle in handles(); 0 when absent.
  std::int32_t FindHandle(platform::HTREEITEM handle) const;
  // The default of every `refresh` argument.
  void SetAutoRefresh(bool on);
  bool GetAutoRefresh() const;
  // In remote mode every item record and text goes through buffers in the tree view's owning
  // process (RemoteMemory); the book never turns it on.
  void EnableRemoteMode();
  void DisableRemoteMode();
  // The address of a byte string's data.
  static std::uintptr_t AddressOf(const Bytes& bytes);

  // --- Reading items -----------------------------------------------------------------------------
  // Each gives the result in its comment for an invalid index or a read the tree view refuses.
  // Texts are read through a buffer of kItemTextCapacity bytes, cut between characters.
  std::int32_t GetItemCount() const;
  std::int32_t GetItemLevel(std::int32_t index, MaybeRefresh refresh = {});  // 1 top level; 0
  Text GetItemText(std::int32_t index, MaybeRefresh refresh = {});           // ""
  std::int32_t GetItemImage(std::int32_t index, MaybeRefresh refresh = {});  // -1
  std::int32_t GetItemSelectedImage(std::int32_t index, MaybeRefresh refresh = {});  // -1
  std::int32_t GetItemData(std::int32_t index, MaybeRefresh refresh = {});           // 0
  std::int32_t GetParentIndex(std::int32_t index, MaybeRefresh refresh = {});   // -1, also at top
  std::int32_t GetItemChildren(std::int32_t index, MaybeRefresh refresh = {});  // 0
  bool IsExpanded(std::int32_t index, MaybeRefresh refresh = {});               // false
  bool IsItemChecked(std::int32_t index, MaybeRefresh refresh = {});            // false

  // --- Writing items -----------------------------------------------------------------------------
  // Each returns whether the tree view took the write; false for an invalid index. A text goes
  // whole in remote mode; locally it is cut between characters to fit kItemTextCapacity.
  bool SetItemImage(std::int32_t index, std::int32_t image, MaybeRefresh refresh = {});
  bool SetItemSelectedImage(std::int32_t index, std::int32_t image, MaybeRefresh refresh = {});
  bool SetItemData(std::int32_t index, std::int32_t data, MaybeRefresh refresh = {});
  bool SetItemText(std::int32_t index, const Text& text, MaybeRefresh refresh = {});
  bool SetItemChecked(std::int32_t index, bool checked, MaybeRefresh refresh = {});
  bool SetItemBold(std::int32_t index, MaybeRefresh refresh = {});
  bool ClearItemBold(std::int32_t index, MaybeRefresh refresh = {});

  // --- Adding, removing, showing and selecting items ---------------------------------------------
  // Inserts under the item `parent_index` (top level when it names no item); position 1
  // TVI_ROOT, 2 TVI_FIRST, 3 TVI_LAST, 4 TVI_SORT, anything else TVI_LAST. The selected image
  // defaults to the image, image and data to 0; the text is cut between characters to fit
  // kItemTextCapacity. Redraw is suspended around the insertion unless `suspend_redraw` is given
  // as false. Returns the new item's index (the handles are refreshed), or -1 when the tree
  // view inserted nothing.
  std::int32_t InsertItem(std::int32_t parent_index, std::optional<std::int32_t> position,
                          const Text& text, std::optional<std::int32_t> image = {},
                          std::optional<std::int32_t> selected_image = {},
                          std::optional<std::int32_t> data = {},
                          std::optional<bool> suspend_redraw = {}, MaybeRefresh refresh = {});
  // Inserts a new item before `position` in items() (appends when `position` names no item), at
  // the level of the item it goes before (top level when appended), writes the content back
  // into the tree box, makes the new item current and visible and attaches to the rebuilt tree
  // view. Returns the new item's index. `reload` runs Reload first.
  std::int32_t AddItem(std::int32_t position, const Text& text, std::int32_t image = 0,
                       std::optional<std::int32_t> selected_image = {}, std::int32_t data = 0,
                       bool reload = false);
  // Deletes the item with everything below it.
  bool DeleteItem(std::int32_t index, MaybeRefresh refresh = {});
  void EnsureVisible(std::int32_t index, MaybeRefresh refresh = {});
  void Expand(std::int32_t index, MaybeRefresh refresh = {});
  void Collapse(std::int32_t index, MaybeRefresh refresh = {});
  void SelectItem(std::int32_t index, MaybeRefresh refresh = {});
  std::int32_t GetVisibleCount(MaybeRefresh refresh = {});
  std::int32_t GetFirstVisibleIndex(MaybeRefresh refresh = {});  // -1 when none
  std::int32_t GetSelectedIndex(MaybeRefresh refresh = {});      // -1 when none
  // A variant holding a one-dimensional array of int32: the 1-based positions of the checked
  // items, in order.
  platform::VARIANT GetCheckedIndices(MaybeRefresh refresh = {});

  // --- The look of the tree view -----------------------------------------------------------------
  void SetBackColor(platform::COLORREF colour);
  platform::COLORREF GetBackColor() const;
  void SetTextColor(platform::COLORREF colour);
  platform::COLORREF GetTextColor() const;
  void SetLineColor(platform::COLORREF colour);
  platform::COLORREF GetLineColor() const;
  void SetItemHeight(std::optional<std::int32_t> height = {});  // default 16
  std::int32_t GetItemHeight() const;
  // Add their window style when it is missing.
  void EnableCheckBoxes();
  void EnableHotTracking();
  // A clear style bit is set when `on` is true or omitted (result true); a set bit is cleared
  // when `on` is given as false (result false); otherwise the result is whether the bit is set.
  bool SetNoScroll(std::optional<bool> on = {});
  bool SetNoHorizontalScroll(std::optional<bool> on = {});
  // As above, but false and unchanged while the tree view has lines (TVS_HASLINES).
  bool SetFullRowSelect(std::optional<bool> on = {});

  // --- State, for callers and tests --------------------------------------------------------------
  platform::HWND window() const { return window_; }
  const Array<platform::HTREEITEM>& handles() const { return handles_; }
  const Array<TreeContentItem>& items() const { return items_; }
  bool remote_mode() const { return remote_mode_; }
  const RemoteMemory& remote_memory() const { return remote_memory_; }
  // Test seam: the remote exchange with another platform family's allocator.
  void SetRemoteMemory(const RemoteMemory& memory) { remote_memory_ = memory; }

 private:
  bool Prepare(std::int32_t index, MaybeRefresh refresh, platform::HTREEITEM* handle);
  // TVM_GETITEMA of the fields in `mask`; the text into `text` when it is given. The returned
  // record carries no text pointer.
  std::optional<TreeItemRecord> ReadItem(platform::HTREEITEM handle, platform::UINT mask,
                                         Text* text = nullptr);
  bool WriteItem(platform::UINT message, TreeItemRecord record, const Text* text);
  // TVM_SETITEMA on one item with the record's mask and fields set by `fill`.
  bool SetItemFields(std::int32_t index, MaybeRefresh refresh,
                     const std::function<void(TreeItemRecord&)>& fill, const Text* text = nullptr);
  // The remote halves of a read, a write and an insertion: the record (and its text) placed in
  // the owning process for the one message.
  bool ExchangeRead(TreeItemRecord& record, std::array<char, kItemTextCapacity>& text);
  bool ExchangeWrite(platform::UINT message, TreeItemRecord record, const Text* text);
  platform::HTREEITEM ExchangeInsert(platform::TVINSERTSTRUCTA insert, const Text& text);
  bool ApplyStyleRule(platform::LONG bit, std::optional<bool> on);
  void AddStyle(platform::LONG bit);
  std::int32_t IndexOfHandle(platform::HTREEITEM handle) const;
  platform::LRESULT Send(platform::UINT message, platform::WPARAM wparam,
                         platform::LPARAM lparam) const;
  ControlRef BoundControl() const;

  Array<platform::HTREEITEM> handles_;  // in pre-order, as of the last refresh
  platform::HWND window_ = 0;           // 0 until Attach succeeds
  RemoteMemory remote_memory_;
  bool remote_mode_ = false;
  bool auto_refresh_ = true;
  std::int32_t window_id_ = 0;  // the tree box given to Bind
  std::int32_t control_id_ = 0;
  Array<TreeContentItem> items_;  // the parsed copy of the tree box content
};

}  // namespace kelmor
