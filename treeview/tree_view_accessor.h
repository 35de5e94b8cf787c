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

  TreeViewAccessor();

  // Operations, in the order of the object's operation table.
  ~TreeViewAccessor();                              // 0 destroy
  TreeViewAccessor(const TreeViewAccessor& other);  // 1 copy (deep)
  TreeViewAccessor& operator=(const TreeViewAccessor& other);
  bool Attach(platform::HWND window);                                        // 2
  Text GetWindowClassName(platform::HWND window) const;                      // 3
  void Refresh();                                                            // 4
  static std::uintptr_t AddressOf(const Bytes& bytes);                       // 5
  std::int32_t GetItemCount() const;                                         // 6
  std::int32_t GetItemLevel(std::int32_t index, MaybeRefresh refresh = {});  // 7: 0 if invalid
  Text GetItemText(std::int32_t index, MaybeRefresh refresh = {});           // 8: "" if invalid
  std::int32_t GetItemImage(std::int32_t index, MaybeRefresh refresh = {});  // 9: -1 if invalid
  std::int32_t GetItemSelectedImage(std::int32_t index, MaybeRefresh refresh = {});  // 10: -1
  std::int32_t GetItemData(std::int32_t index, MaybeRefresh refresh = {});  // 11: 0 if invalid
  bool SetItemImage(std::int32_t index, std::int32_t image, MaybeRefresh refresh = {});  // 12
  bool SetItemSelectedImage(std::int32_t index, std::int32_t image,
                            MaybeRefresh refresh = {});                                // 13
  bool SetItemData(std::int32_t index, std::int32_t data, MaybeRefresh refresh = {});  // 14
  bool SetItemText(std::int32_t index, const Text& text, MaybeRefresh refresh = {});   // 15
  void EnsureVisible(std::int32_t index, MaybeRefresh refresh = {});                   // 16
  void Expand(std::int32_t index, MaybeRefresh refresh = {});                          // 17
  void Collapse(std::int32_t index, MaybeRefresh refresh = {});                        // 18
  // 19: inserts under the item `parent_index` (top level when it names no item); position 1
  // TVI_ROOT, 2 TVI_FIRST, 3 TVI_LAST, 4 TVI_SORT, anything else TVI_LAST. The selected image
  // defaults to the image, image and data to 0. Redraw is suspended around the insertion unless
  // `suspend_redraw` is given as false. Returns the new item's index (the handles are refreshed),
  // or -1 when the tree view inserted nothing.
  std::int32_t InsertItem(std::int32_t parent_index, std::optional<std::int32_t> position,
                          const Text& text, std::optional<std::int32_t> image = {},
                          std::optional<std::int32_t> selected_image = {},
                          std::optional<std::int32_t> data = {},
                          std::optional<bool> suspend_redraw = {}, MaybeRefresh refresh = {});
  bool DeleteItem(std::int32_t index, MaybeRefresh refresh = {});  // 20
  // 21 has no effect and is left out.
  std::int32_t GetParentIndex(std::int32_t index, MaybeRefresh refresh = {});   // 22: -1 if none
  std::int32_t GetItemChildren(std::int32_t index, MaybeRefresh refresh = {});  // 23: 0 if invalid
  bool IsExpanded(std::int32_t index, MaybeRefresh refresh = {});               // 24
  void SetBackColor(platform::COLORREF colour);                                 // 25
  platform::COLORREF GetBackColor() const;                                      // 26
  void SetItemHeight(std::optional<std::int32_t> height = {});                  // 27: default 16
  std::int32_t GetItemHeight() const;                                           // 28
  void SetTextColor(platform::COLORREF colour);                                 // 29
  platform::COLORREF GetTextColor() const;                                      // 30
  void SetLineColor(platform::COLORREF colour);                                 // 31
  platform::COLORREF GetLineColor() const;                                      // 32
  void EnableCheckBoxes();                                                      // 33
  void EnableHotTracking();                                                     // 34
  // 35-37: a clear bit is set when `on` is true or omitted (result true); a set bit is cleared
  // when `on` is given as false (result false); otherwise the result is whether the bit is set.
  bool SetNoScroll(std::optional<bool> on = {});            // 35
  bool SetNoHorizontalScroll(std::optional<bool> on = {});  // 36
  bool SetFullRowSelect(std::optional<bool> on = {});  // 37: false, unchanged, with TVS_HASLINES
  bool IsItemChecked(std::int32_t index, MaybeRefresh refresh = {});                 // 38
  bool SetItemChecked(std::int32_t index, bool checked, MaybeRefresh refresh = {});  // 39
  bool SetItemBold(std::int32_t index, MaybeRefresh refresh = {});                   // 40
  bool ClearItemBold(std::int32_t index, MaybeRefresh refresh = {});                 // 41
  void SelectItem(std::int32_t index, MaybeRefresh refresh = {});                    // 42
  std::int32_t GetVisibleCount(MaybeRefresh refresh = {});                           // 43
  std::int32_t GetFirstVisibleIndex(MaybeRefresh refresh = {});  // 44: -1 if none
  std::int32_t GetSelectedIndex(MaybeRefresh refresh = {});      // 45: -1 if none
  // 46: a variant holding a one-dimensional array of int32: the 1-based positions of the
  // checked items, in order.
  platform::VARIANT GetCheckedIndices(MaybeRefresh refresh = {});
  void RefreshHandles();                                       // 47
  void EnableRemoteMode();                                     // 48
  void DisableRemoteMode();                                    // 49
  std::int32_t FindHandle(platform::HTREEITEM handle) const;   // 50: 1-based, 0 when absent
  void SetAutoRefresh(bool on);                                // 51
  bool GetAutoRefresh() const;                                 // 52
  bool Bind(std::int32_t window_id, std::int32_t control_id);  // 53
  void Reload();                                               // 54
  // 55: inserts a new item before `position` in the parsed content (appends at the end when
  // `position` names no item), at the level of the item it is inserted before (top level when
  // appended), writes the content back into the tree box, makes the new item current and
  // visible and attaches to the rebuilt tree view. Returns the new item's index.
  std::int32_t AddItem(std::int32_t position, const Text& text, std::int32_t image = 0,
                       std::optional<std::int32_t> selected_image = {}, std::int32_t data = 0,
                       bool reload = false);
  Bytes ExportContent() const;                                                   // 56
  void ParseContent(const Bytes& content, Array<TreeContentItem>& items) const;  // 57

  // State, for callers and tests.
  platform::HWND window() const { return window_; }
  const Array<platform::HTREEITEM>& handles() const { return handles_; }
  const Array<TreeContentItem>& items() const { return items_; }
  bool remote_mode() const { return remote_mode_; }
  const RemoteMemory& remote_memory() const { return remote_memory_; }
  // Test seam: the remote exchange with another platform family's allocator.
  void SetRemoteMemory(const RemoteMemory& memory) { remote_memory_ = memory; }

 private:
  bool Prepare(std::int32_t index, MaybeRefresh refresh, platform::HTREEITEM* handle);
  std::optional<TreeItemRecord> ReadItem(platform::HTREEITEM handle, platform::UINT mask);
  bool WriteItem(platform::UINT message, TreeItemRecord record, const Text* text);
  // TVM_SETITEMA on one item with the record's mask and fields set by `fill`.
  bool SetItemFields(std::int32_t index, MaybeRefresh refresh,
                     const std::function<void(TreeItemRecord&)>& fill, const Text* text = nullptr);
  std::optional<Text> ReadItemText(platform::HTREEITEM handle);
  platform::HTREEITEM ExchangeInsert(const platform::TVINSERTSTRUCTA& insert, const Text& text);
  bool ApplyStyleRule(platform::LONG bit, std::optional<bool> on);
  void AddStyle(platform::LONG bit);
  std::int32_t IndexOfHandle(platform::HTREEITEM handle) const;
  platform::LRESULT Send(platform::UINT message, platform::WPARAM wparam,
                         platform::LPARAM lparam) const;
  void ResetLocalRecord();
  ControlRef BoundControl() const;

  Array<platform::HTREEITEM> handles_;
  TreeItemRecord local_record_{};
  std::array<char, kItemTextCapacity> local_text_{};  // the local record's own text buffer
  TreeItemRecord remote_record_{};
  platform::HANDLE process_ = 0;
  std::uintptr_t remote_record_address_ = 0;
  std::uintptr_t remote_text_address_ = 0;
  std::uintptr_t record_address_ = 0;
  platform::HWND window_ = 0;
  RemoteMemory remote_memory_;
  bool remote_mode_ = false;
  bool auto_refresh_ = true;
  std::int32_t window_id_ = 0;
  std::int32_t control_id_ = 0;
  Array<TreeContentItem> items_;
};

}  // namespace kelmor
