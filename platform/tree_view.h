// The tree view ("SysTreeView32"), driven by the TVM_* messages of platform/commctrl.h.
//
// Items are kept in a hash map by handle, each linked to its parent, first and last child and
// siblings, so a handle is checked and followed in constant time. Handles come from one counter
// shared by every tree view and are never reused, so a handle of a deleted item, or of an item
// of a destroyed tree view, is refused.
//
// Layout (for hit testing and item rectangles): rows of ItemHeight pixels (16 unless set) from
// the first visible item; an item of depth d (0 at the top level) starts at
// d * indent (+ indent with TVS_LINESATROOT); then a 16-pixel state icon when TVS_CHECKBOXES or
// a state image list is set, a 16-pixel icon when an image list is set, and the label, 6 pixels
// per byte of text plus 4; all of it shifted left by the sideways scroll, which TVM_ENSUREVISIBLE
// sets so that the item's whole label (or at least its start) lies in the client area.
//
// Behaviour worth knowing:
//   TVM_GETITEMA fills state with every state bit (stateMask is not applied), and cChildren with
//     the value last given with TVIF_CHILDREN, or else 1 when the item has children and 0 when not;
//   TVM_DELETEITEM of the selected item clears the selection without notifications; no
//     TVN_DELETEITEM is sent;
//   the tree view does not change the selection on the right button; WM_RBUTTONUP sends
//     NM_RCLICK; a double-click sends NM_DBLCLK and, when the parent answers 0, toggles the
//     item's expansion as Windows does;
//   TVI_ROOT given as the insert-after value counts as TVI_LAST;
//   WM_KEYDOWN sends TVN_KEYDOWN to the parent, then: Up and Down move the selection, Right
//     expands (or moves into an expanded item), Left collapses (or moves to the parent), + and -
//     of the keypad (VK_ADD, VK_SUBTRACT) expand and collapse, F2 edits the label; the label
//     edit keeps every key from the dialog keys (Enter ends, Escape cancels the edit).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/window_object.h"

namespace kelmor::platform {

class TreeView : public WindowObject {
 public:
  inline static constexpr int kDefaultItemHeight = 16;
  inline static constexpr int kDefaultIndent = 19;
  inline static constexpr int kIconWidth = 16;
  inline static constexpr int kCharWidth = 6;

  // One row as a painter draws it.
  struct Row {
    HTREEITEM item = 0;
    int depth = 0;
    std::string text;
    UINT state = 0;
    int image = 0;
    int selected_image = 0;
    bool has_children = false;
    RECT label;  // client coordinates
  };

  static TreeView* From(HWND hwnd) { return WindowAs<TreeView>(hwnd); }

  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // The rows that fit in the client area, from the first visible item.
  std::vector<Row> VisibleRows() const;
  HTREEITEM Selected() const { return caret_; }
  HWND EditControl() const { return edit_; }
  int ItemHeight() const { return item_height_; }
  COLORREF TextColor() const { return text_color_; }
  COLORREF BackColor() const { return back_color_; }
  COLORREF LineColor() const { return line_color_; }

 private:
  struct Item {
    HTREEITEM handle = 0;
    std::string text;
    int image = 0;
    int selected_image = 0;
    int children = 0;
    bool children_given = false;
    LPARAM param = 0;
    UINT state = 0;
    Item* parent = nullptr;
    Item* first_child = nullptr;
    Item* last_child = nullptr;
    Item* prev = nullptr;
    Item* next = nullptr;
  };

  Item* Find(HTREEITEM h) const;
  bool HasChildren(const Item* item) const;
  bool Expanded(const Item* item) const { return (item->state & TVIS_EXPANDED) != 0; }
  bool IsShown(const Item* item) const;  // every ancestor expanded
  int Depth(const Item* item) const;
  Item* NextVisible(const Item* item) const;
  Item* PrevVisible(const Item* item) const;
  Item* LastVisible() const;
  Item* TopItem() const;
  long VisibleIndex(const Item* item) const;  // -1 when not shown
  int RowsInClient() const;
  RECT LabelRect(const Item* item, int row) const;

  LRESULT Insert(const TVINSERTSTRUCTA* ins);
  void Link(Item* item, Item* parent, Item* after);  // after null: first
  void Unlink(Item* item);
  void DeleteSubtree(Item* item);
  LRESULT Delete(HTREEITEM h);
  LRESULT Expand(WPARAM code, HTREEITEM h);
  LRESULT GetNext(WPARAM code, HTREEITEM h) const;
  LRESULT Select(WPARAM code, HTREEITEM h, UINT action);
  LRESULT GetItem(TVITEMA* tv) const;
  LRESULT SetItem(const TVITEMA* tv);
  LRESULT EnsureVisible(HTREEITEM h);
  void HitTest(TVHITTESTINFO* info) const;
  LRESULT EditLabel(HTREEITEM h);
  LRESULT EndEdit(bool cancel);
  LRESULT KeyDown(WPARAM key);
  void FillItem(const Item* item, TVITEMA& tv) const;

  // Message handlers.
  LRESULT GetItemRect(WPARAM label_only, RECT* r) const;
  LRESULT SetIndent(WPARAM indent);
  LRESULT GetImageList(WPARAM which) const;
  LRESULT SetImageList(WPARAM which, LPARAM list);
  LRESULT HitTestMessage(TVHITTESTINFO* info) const;
  LRESULT SortChildren(LPARAM parent_param);
  LRESULT SetItemHeight(WPARAM height);
  static LRESULT ColourResult(COLORREF colour);
  LRESULT SetColour(COLORREF& slot, LPARAM colour);
  LRESULT GetItemState(WPARAM h, LPARAM mask) const;
  TVHITTESTINFO HitAt(LPARAM point) const;
  LRESULT LeftButtonDown(LPARAM point);
  LRESULT LeftDoubleClick(LPARAM point);
  LRESULT LeftButtonUp();
  LRESULT RightButtonUp();
  void Content();

  std::unordered_map<HTREEITEM, Item> items_;
  Item root_;
  HTREEITEM caret_ = 0;
  HTREEITEM top_ = 0;
  int left_ = 0;  // pixels scrolled sideways (TVM_ENSUREVISIBLE of a deep item)
  HTREEITEM drop_ = 0;
  HWND edit_ = 0;
  HTREEITEM edit_item_ = 0;
  int item_height_ = kDefaultItemHeight;
  int indent_ = kDefaultIndent;
  COLORREF back_color_ = CLR_NONE;
  COLORREF text_color_ = CLR_NONE;
  COLORREF line_color_ = CLR_DEFAULT;
  LPARAM image_list_ = 0;
  LPARAM state_image_list_ = 0;
  bool left_pressed_ = false;
};

}  // namespace kelmor::platform
