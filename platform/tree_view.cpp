#include "platform/tree_view.h"

#include <algorithm>
#include <cstring>

namespace kelmor::platform {
namespace {

HTREEITEM g_next_item = 0x100000;

// The special values in either spelling: sign-extended (Windows on 64 bits) or the 32-bit value
// zero-extended.
bool IsSpecial(HTREEITEM h, HTREEITEM special) {
  return h == special || h == (special & 0xFFFFFFFFu);
}

char Fold(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(Fold(a[i]));
    const auto y = static_cast<unsigned char>(Fold(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace

std::shared_ptr<WindowObject> MakeTreeView() {
  return std::make_shared<TreeView>();
}

TreeView::Item* TreeView::Find(HTREEITEM h) const {
  if (h == 0) return nullptr;
  auto it = items_.find(h);
  // As with the owning pointers before, finding an item does not make it const.
  return it == items_.end() ? nullptr : const_cast<Item*>(&it->second);
}

bool TreeView::HasChildren(const Item* item) const {
  return item->children_given ? item->children != 0 : item->first_child != nullptr;
}

bool TreeView::IsShown(const Item* item) const {
  for (const Item* p = item->parent; p != &root_; p = p->parent) {
    if (!Expanded(p)) return false;
  }
  return true;
}

int TreeView::Depth(const Item* item) const {
  int depth = 0;
  for (const Item* p = item->parent; p != &root_; p = p->parent) ++depth;
  return depth;
}

TreeView::Item* TreeView::NextVisible(const Item* item) const {
  if (Expanded(item) && item->first_child) return item->first_child;
  for (const Item* cur = item; cur != &root_; cur = cur->parent) {
    if (cur->next) return cur->next;
  }
  return nullptr;
}

TreeView::Item* TreeView::PrevVisible(const Item* item) const {
  if (item->prev) {
    Item* cur = item->prev;
    while (Expanded(cur) && cur->last_child) cur = cur->last_child;
    return cur;
  }
  return item->parent == &root_ ? nullptr : item->parent;
}

TreeView::Item* TreeView::LastVisible() const {
  Item* cur = root_.last_child;
  while (cur && Expanded(cur) && cur->last_child) cur = cur->last_child;
  return cur;
}

TreeView::Item* TreeView::TopItem() const {
  Item* top = Find(top_);
  if (top && IsShown(top)) return top;
  return root_.first_child;
}

long TreeView::VisibleIndex(const Item* item) const {
  if (!IsShown(item)) return -1;
  long index = 0;
  for (const Item* cur = root_.first_child; cur; cur = NextVisible(cur), ++index) {
    if (cur == item) return index;
  }
  return -1;
}

int TreeView::RowsInClient() const {
  return std::max(0, ClientHeight()) / item_height_;
}

RECT TreeView::LabelRect(const Item* item, int row) const {
  int x = Depth(item) * indent_ + ((style & TVS_LINESATROOT) ? indent_ : 0) - left_;
  if ((style & TVS_CHECKBOXES) || state_image_list_ != 0) x += kIconWidth;
  if (image_list_ != 0) x += kIconWidth;
  RECT r;
  r.left = x;
  r.top = row * item_height_;
  r.right = x + static_cast<LONG>(item->text.size()) * kCharWidth + 4;
  r.bottom = r.top + item_height_;
  return r;
}

std::vector<TreeView::Row> TreeView::VisibleRows() const {
  std::vector<Row> rows;
  const int n = RowsInClient() + 1;
  int row = 0;
  for (const Item* cur = TopItem(); cur && row < n; cur = NextVisible(cur), ++row) {
    Row r;
    r.item = cur->handle;
    r.depth = Depth(cur);
    r.text = cur->text;
    r.state = cur->state | (cur->handle == caret_ ? TVIS_SELECTED : 0);
    r.image = cur->image;
    r.selected_image = cur->selected_image;
    r.has_children = HasChildren(cur);
    r.label = LabelRect(cur, row);
    rows.push_back(std::move(r));
  }
  return rows;
}

void TreeView::Content() {
  if (redraw) Changed(WindowChange::Content);
}

void TreeView::Link(Item* item, Item* parent, Item* after) {
  item->parent = parent;
  item->prev = after;
  item->next = after ? after->next : parent->first_child;
  if (item->next) {
    item->next->prev = item;
  } else {
    parent->last_child = item;
  }
  if (after) {
    after->next = item;
  } else {
    parent->first_child = item;
  }
}

void TreeView::Unlink(Item* item) {
  Item* parent = item->parent;
  if (item->prev) {
    item->prev->next = item->next;
  } else {
    parent->first_child = item->next;
  }
  if (item->next) {
    item->next->prev = item->prev;
  } else {
    parent->last_child = item->prev;
  }
  item->prev = item->next = nullptr;
}

LRESULT TreeView::Insert(const TVINSERTSTRUCTA* ins) {
  if (ins == nullptr) return 0;
  Item* parent = &root_;
  if (ins->hParent != 0 && !IsSpecial(ins->hParent, TVI_ROOT)) {
    parent = Find(ins->hParent);
    if (!parent) return 0;
  }
  const TVITEMA& tv = ins->item;
  // The item lives in its map node (one allocation per item); nodes do not move on rehash.
  // A refused insert below still uses up its handle, which is never reused anyway.
  const HTREEITEM handle = g_next_item++;
  Item* item = &items_.try_emplace(handle).first->second;
  item->handle = handle;
  if ((tv.mask & TVIF_TEXT) && tv.pszText && tv.pszText != reinterpret_cast<LPSTR>(-1)) {
    item->text = tv.pszText;
  }
  if (tv.mask & TVIF_IMAGE) item->image = tv.iImage;
  if (tv.mask & TVIF_SELECTEDIMAGE) item->selected_image = tv.iSelectedImage;
  if (tv.mask & TVIF_PARAM) item->param = tv.lParam;
  if (tv.mask & TVIF_STATE) item->state = tv.state & tv.stateMask & ~TVIS_SELECTED;
  if (tv.mask & TVIF_CHILDREN) {
    item->children = tv.cChildren;
    item->children_given = true;
  }
  Item* after = parent->last_child;
  const HTREEITEM where = ins->hInsertAfter;
  if (IsSpecial(where, TVI_FIRST)) {
    after = nullptr;
  } else if (IsSpecial(where, TVI_SORT)) {
    after = nullptr;
    for (Item* cur = parent->first_child; cur; cur = cur->next) {
      if (LessIgnoringCase(item->text, cur->text)) break;
      after = cur;
    }
  } else if (where != 0 && !IsSpecial(where, TVI_LAST) && !IsSpecial(where, TVI_ROOT)) {
    after = Find(where);
    if (!after || after->parent != parent) {
      items_.erase(handle);
      return 0;
    }
  }
  Link(item, parent, after);
  Content();
  return static_cast<LRESULT>(handle);
}

void TreeView::DeleteSubtree(Item* item) {
  // Iterative, so a deep tree cannot exhaust the stack.
  std::vector<Item*> pending{item};
  while (!pending.empty()) {
    Item* cur = pending.back();
    pending.pop_back();
    for (Item* c = cur->first_child; c; c = c->next) pending.push_back(c);
    if (cur->handle == caret_) caret_ = 0;
    if (cur->handle == top_) top_ = 0;
    if (cur->handle == drop_) drop_ = 0;
    if (cur->handle == edit_item_) EndEdit(true);
    items_.erase(cur->handle);
  }
}

LRESULT TreeView::Delete(HTREEITEM h) {
  if (h == 0 || IsSpecial(h, TVI_ROOT)) {
    if (edit_item_) EndEdit(true);
    items_.clear();
    root_.first_child = root_.last_child = nullptr;
    caret_ = top_ = drop_ = 0;
    left_ = 0;
    Content();
    return TRUE;
  }
  Item* item = Find(h);
  if (!item) return FALSE;
  Unlink(item);
  DeleteSubtree(item);
  Content();
  return TRUE;
}

LRESULT TreeView::Expand(WPARAM code, HTREEITEM h) {
  Item* item = Find(h);
  if (!item) return FALSE;
  WPARAM action = code & 0x3;
  if (action == TVE_TOGGLE) action = Expanded(item) ? TVE_COLLAPSE : TVE_EXPAND;
  if (action == TVE_EXPAND) {
    if (!HasChildren(item)) return FALSE;
    if (Expanded(item)) return TRUE;
  } else if (action == TVE_COLLAPSE) {
    if (!Expanded(item)) {
      if (code & TVE_COLLAPSERESET) {
        while (item->first_child) Delete(item->first_child->handle);
      }
      return HasChildren(item) ? TRUE : FALSE;
    }
  } else {
    return FALSE;
  }
  const HWND self = hwnd;
  NMTREEVIEWA nm;
  nm.action = static_cast<UINT>(action);
  FillItem(item, nm.itemNew);
  if (NotifyParent(nm.hdr, TVN_ITEMEXPANDINGA) != 0) return FALSE;
  if (!IsWindow(self) || !(item = Find(h))) return FALSE;
  if (action == TVE_EXPAND) {
    item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  } else {
    item->state &= ~TVIS_EXPANDED;
    if (code & TVE_COLLAPSERESET) {
      while (item->first_child) Delete(item->first_child->handle);
      item->state &= ~TVIS_EXPANDEDONCE;
    }
    // A selection inside the collapsed branch moves to the collapsed item.
    if (Item* sel = Find(caret_)) {
      for (Item* p = sel->parent; p != &root_; p = p->parent) {
        if (p == item) {
          Select(TVGN_CARET, item->handle, TVC_UNKNOWN);
          break;
        }
      }
    }
  }
  Content();
  if (!IsWindow(self) || !(item = Find(h))) return TRUE;
  NMTREEVIEWA done;
  done.action = static_cast<UINT>(action);
  FillItem(item, done.itemNew);
  NotifyParent(done.hdr, TVN_ITEMEXPANDEDA);
  return TRUE;
}

LRESULT TreeView::GetNext(WPARAM code, HTREEITEM h) const {
  const Item* item = Find(h);
  auto handle = [](const Item* i) { return static_cast<LRESULT>(i ? i->handle : 0); };
  switch (code) {
    case TVGN_ROOT:
      return handle(root_.first_child);
    case TVGN_CARET:
      return static_cast<LRESULT>(caret_);
    case TVGN_DROPHILITE:
      return static_cast<LRESULT>(drop_);
    case TVGN_FIRSTVISIBLE:
      return handle(TopItem());
    case TVGN_LASTVISIBLE:
      return handle(LastVisible());
    case TVGN_CHILD:
      if (h == 0 || IsSpecial(h, TVI_ROOT)) return handle(root_.first_child);
      return item ? handle(item->first_child) : 0;
    case TVGN_NEXT:
      return item ? handle(item->next) : 0;
    case TVGN_PREVIOUS:
      return item ? handle(item->prev) : 0;
    case TVGN_PARENT:
      return (item && item->parent != &root_) ? handle(item->parent) : 0;
    case TVGN_NEXTVISIBLE:
      return (item && IsShown(item)) ? handle(NextVisible(item)) : 0;
    case TVGN_PREVIOUSVISIBLE:
      return (item && IsShown(item)) ? handle(PrevVisible(item)) : 0;
    default:
      return 0;
  }
}

LRESULT TreeView::Select(WPARAM code, HTREEITEM h, UINT action) {
  Item* item = Find(h);
  if (h != 0 && !item) return FALSE;
  if (code == TVGN_FIRSTVISIBLE) {
    if (!item) return FALSE;
    EnsureVisible(h);
    top_ = h;
    Content();
    return TRUE;
  }
  if (code == TVGN_DROPHILITE) {
    drop_ = h;
    Content();
    return TRUE;
  }
  if (code != TVGN_CARET) return FALSE;
  if (h == caret_) {
    if (item) EnsureVisible(h);
    return TRUE;
  }
  const HWND self = hwnd;
  NMTREEVIEWA nm;
  nm.action = action;
  if (Item* old = Find(caret_)) FillItem(old, nm.itemOld);
  if (item) FillItem(item, nm.itemNew);
  if (NotifyParent(nm.hdr, TVN_SELCHANGINGA) != 0) return FALSE;
  if (!IsWindow(self) || (h != 0 && !Find(h))) return FALSE;
  const HTREEITEM old = caret_;
  caret_ = h;
  if (h != 0) EnsureVisible(h);
  Changed(WindowChange::Selection);
  NMTREEVIEWA done;
  done.action = action;
  if (Item* o = Find(old)) FillItem(o, done.itemOld);
  if (Item* n = Find(h)) FillItem(n, done.itemNew);
  NotifyParent(done.hdr, TVN_SELCHANGEDA);
  return TRUE;
}

void TreeView::FillItem(const Item* item, TVITEMA& tv) const {
  tv.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = item->handle;
  tv.state = item->state | (item->handle == caret_ ? TVIS_SELECTED : 0);
  tv.stateMask = 0xFFFF;
  tv.lParam = item->param;
  tv.iImage = item->image;
  tv.iSelectedImage = item->selected_image;
}

LRESULT TreeView::GetItem(TVITEMA* tv) const {
  if (tv == nullptr) return FALSE;
  const Item* item = Find(tv->hItem);
  if (!item) return FALSE;
  if ((tv->mask & TVIF_TEXT) && tv->pszText && tv->cchTextMax > 0) {
    const std::size_t n = std::min(item->text.size(), static_cast<std::size_t>(tv->cchTextMax - 1));
    std::memcpy(tv->pszText, item->text.data(), n);
    tv->pszText[n] = '\0';
  }
  if (tv->mask & TVIF_IMAGE) tv->iImage = item->image;
  if (tv->mask & TVIF_SELECTEDIMAGE) tv->iSelectedImage = item->selected_image;
  if (tv->mask & TVIF_PARAM) tv->lParam = item->param;
  if (tv->mask & TVIF_STATE) tv->state = item->state | (item->handle == caret_ ? TVIS_SELECTED : 0);
  if (tv->mask & TVIF_CHILDREN) tv->cChildren = HasChildren(item) ? 1 : 0;
  if ((tv->mask & TVIF_CHILDREN) && item->children_given) tv->cChildren = item->children;
  return TRUE;
}

LRESULT TreeView::SetItem(const TVITEMA* tv) {
  if (tv == nullptr) return FALSE;
  Item* item = Find(tv->hItem);
  if (!item) return FALSE;
  if (tv->mask & TVIF_TEXT) {
    item->text = (tv->pszText && tv->pszText != reinterpret_cast<LPSTR>(-1)) ? tv->pszText : "";
  }
  if (tv->mask & TVIF_IMAGE) item->image = tv->iImage;
  if (tv->mask & TVIF_SELECTEDIMAGE) item->selected_image = tv->iSelectedImage;
  if (tv->mask & TVIF_PARAM) item->param = tv->lParam;
  if (tv->mask & TVIF_STATE) {
    const UINT mask = tv->stateMask & ~TVIS_SELECTED;
    item->state = (item->state & ~mask) | (tv->state & mask);
  }
  if (tv->mask & TVIF_CHILDREN) {
    item->children = tv->cChildren;
    item->children_given = true;
  }
  Content();
  return TRUE;
}

LRESULT TreeView::EnsureVisible(HTREEITEM h) {
  Item* item = Find(h);
  if (!item) return FALSE;
  bool expanded = false;
  for (Item* p = item->parent; p != &root_; p = p->parent) {
    if (!Expanded(p)) {
      p->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
      expanded = true;
    }
  }
  const long index = VisibleIndex(item);
  const Item* top = TopItem();
  const long top_index = top ? VisibleIndex(top) : 0;
  const long rows = std::max(1, RowsInClient());
  bool scrolled = false;
  if (index < top_index) {
    top_ = item->handle;
    scrolled = true;
  } else if (index >= top_index + rows) {
    const Item* cur = item;
    for (long k = 1; k < rows && cur; ++k) {
      const Item* prev = PrevVisible(cur);
      if (!prev) break;
      cur = prev;
    }
    top_ = cur->handle;
    scrolled = true;
  }
  // Sideways as little as shows the whole label, or else its start: a deep item's label lies
  // beyond the right edge.
  const RECT label = LabelRect(item, 0);
  const long from = static_cast<long>(label.left) + left_;
  const long width = label.right - label.left;
  const long wanted = std::max(0L, std::min(from, from + width - ClientWidth()));
  if (ClientWidth() > 0 && wanted != left_) {
    left_ = static_cast<int>(wanted);
    scrolled = true;
  }
  if (expanded || scrolled) Content();
  return (scrolled && !expanded) ? TRUE : FALSE;
}

void TreeView::HitTest(TVHITTESTINFO* info) const {
  info->flags = 0;
  info->hItem = 0;
  const POINT pt = info->pt;
  if (pt.x < 0) info->flags |= TVHT_TOLEFT;
  if (pt.x >= ClientWidth()) info->flags |= TVHT_TORIGHT;
  if (pt.y < 0) info->flags |= TVHT_ABOVE;
  if (pt.y >= ClientHeight()) info->flags |= TVHT_BELOW;
  if (info->flags != 0) return;
  const int row = pt.y / item_height_;
  const Item* cur = TopItem();
  for (int k = 0; k < row && cur; ++k) cur = NextVisible(cur);
  if (!cur) {
    info->flags = TVHT_NOWHERE;
    return;
  }
  info->hItem = cur->handle;
  const RECT label = LabelRect(cur, row);
  int x = label.left;
  const bool has_image = image_list_ != 0;
  const bool has_state = (style & TVS_CHECKBOXES) || state_image_list_ != 0;
  if (has_image) x -= kIconWidth;
  const int icon_left = x;
  if (has_state) x -= kIconWidth;
  const int state_left = x;
  if (pt.x >= label.right) {
    info->flags = TVHT_ONITEMRIGHT;
  } else if (pt.x >= label.left) {
    info->flags = TVHT_ONITEMLABEL;
  } else if (has_image && pt.x >= icon_left) {
    info->flags = TVHT_ONITEMICON;
  } else if (has_state && pt.x >= state_left) {
    info->flags = TVHT_ONITEMSTATEICON;
  } else if (pt.x >= state_left - indent_ && HasChildren(cur) &&
             ((style & TVS_LINESATROOT) || cur->parent != &root_)) {
    info->flags = TVHT_ONITEMBUTTON;
  } else {
    info->flags = TVHT_ONITEMINDENT;
  }
}

LRESULT TreeView::EditLabel(HTREEITEM h) {
  if ((style & TVS_EDITLABELS) == 0) return 0;
  Item* item = Find(h);
  if (!item) return 0;
  if (edit_item_) EndEdit(false);
  const HWND self = hwnd;
  if (!IsWindow(self) || !(item = Find(h))) return 0;
  std::string text = item->text;
  NMTVDISPINFOA nm;
  FillItem(item, nm.item);
  nm.item.mask |= TVIF_TEXT;
  nm.item.pszText = text.data();
  nm.item.cchTextMax = static_cast<int>(text.size() + 1);
  if (NotifyParent(nm.hdr, TVN_BEGINLABELEDITA) != 0) return 0;
  if (!IsWindow(self) || !(item = Find(h))) return 0;
  EnsureVisible(h);
  const long index = VisibleIndex(item);
  const Item* top = TopItem();
  const long row = index - (top ? VisibleIndex(top) : 0);
  const RECT r = LabelRect(item, static_cast<int>(row));
  const HWND edit = CreateWindowExA(
      0, WC_EDITA, item->text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r.left,
      r.top, std::max<int>(r.right - r.left, 64), item_height_ + 2, self, 0);
  if (edit == 0) return 0;
  edit_ = edit;
  edit_item_ = h;
  // Enter ends the edit, Escape cancels it, as in a native label edit.
  SetWindowSubclass(
      edit,
      [self](HWND e, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (msg == WM_KEYDOWN && (w == VK_RETURN || w == VK_ESCAPE)) {
          SendMessageA(self, TVM_ENDEDITLABELNOW, w == VK_ESCAPE ? TRUE : FALSE, 0);
          return 0;
        }
        if (msg == WM_CHAR && (w == VK_RETURN || w == VK_ESCAPE)) return 0;
        if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS;  // Escape ends the edit, not the window
        return DefSubclassProc(e, msg, w, l);
      },
      0x54564544, 0);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
  Changed(WindowChange::Content);
  return static_cast<LRESULT>(edit);
}

LRESULT TreeView::EndEdit(bool cancel) {
  if (edit_ == 0) return FALSE;
  const HWND edit = edit_;
  const HTREEITEM h = edit_item_;
  edit_ = 0;
  edit_item_ = 0;
  const HWND self = hwnd;
  std::string typed = GetWindowTextString(edit);
  if (Item* item = (alive ? Find(h) : nullptr)) {
    NMTVDISPINFOA nm;
    FillItem(item, nm.item);
    nm.item.mask |= TVIF_TEXT;
    nm.item.pszText = cancel ? nullptr : typed.data();
    nm.item.cchTextMax = cancel ? 0 : static_cast<int>(typed.size() + 1);
    const LRESULT accepted = NotifyParent(nm.hdr, TVN_ENDLABELEDITA);
    if (!cancel && accepted != 0 && IsWindow(self)) {
      if (Item* again = Find(h)) {
        again->text = typed;
        Content();
      }
    }
  }
  if (IsWindow(edit)) DestroyWindow(edit);
  if (IsWindow(self)) {
    if (GetFocus() == 0) SetFocus(self);
    Changed(WindowChange::Content);
  }
  return TRUE;
}

LRESULT TreeView::KeyDown(WPARAM key) {
  const HWND self = hwnd;
  NMTVKEYDOWN nm;
  nm.wVKey = static_cast<WORD>(key);
  NotifyParent(nm.hdr, TVN_KEYDOWN);
  if (!IsWindow(self)) return 0;
  Item* cur = Find(caret_);
  if (key == VK_F2) {
    if (cur) EditLabel(caret_);
  } else if (key == VK_DOWN) {
    Item* next = cur ? NextVisible(cur) : root_.first_child;
    if (next) Select(TVGN_CARET, next->handle, TVC_BYKEYBOARD);
  } else if (key == VK_UP) {
    Item* prev = cur ? PrevVisible(cur) : nullptr;
    if (prev) Select(TVGN_CARET, prev->handle, TVC_BYKEYBOARD);
  } else if (key == VK_RIGHT && cur) {
    if (Expanded(cur) && cur->first_child) {
      Select(TVGN_CARET, cur->first_child->handle, TVC_BYKEYBOARD);
    } else {
      Expand(TVE_EXPAND, caret_);
    }
  } else if (key == VK_LEFT && cur) {
    if (Expanded(cur)) {
      Expand(TVE_COLLAPSE, caret_);
    } else if (cur->parent != &root_) {
      Select(TVGN_CARET, cur->parent->handle, TVC_BYKEYBOARD);
    }
  } else if ((key == VK_ADD || key == VK_SUBTRACT) && cur) {
    Expand(key == VK_ADD ? TVE_EXPAND : TVE_COLLAPSE, caret_);
  }
  return 0;
}

// The item's handle arrives in the first bytes of the rectangle it asks for.
LRESULT TreeView::GetItemRect(WPARAM label_only, RECT* r) const {
  if (r == nullptr) return FALSE;
  HTREEITEM h = 0;
  std::memcpy(&h, r, sizeof h);
  const Item* item = Find(h);
  if (!item || !IsShown(item)) return FALSE;
  const Item* top = TopItem();
  const long row = VisibleIndex(item) - (top ? VisibleIndex(top) : 0);
  RECT label = LabelRect(item, static_cast<int>(row));
  if (!label_only) {
    label.left = 0;
    label.right = ClientWidth();
  }
  *r = label;
  return TRUE;
}

LRESULT TreeView::SetIndent(WPARAM indent) {
  indent_ = std::max(0, static_cast<int>(indent));
  Content();
  return 0;
}

LRESULT TreeView::GetImageList(WPARAM which) const {
  return which == TVSIL_STATE ? state_image_list_ : image_list_;
}

LRESULT TreeView::SetImageList(WPARAM which, LPARAM list) {
  LPARAM& slot = which == TVSIL_STATE ? state_image_list_ : image_list_;
  const LPARAM old = slot;
  slot = list;
  Content();
  return old;
}

LRESULT TreeView::HitTestMessage(TVHITTESTINFO* info) const {
  if (info == nullptr) return 0;
  HitTest(info);
  return static_cast<LRESULT>(info->hItem);
}

LRESULT TreeView::SortChildren(LPARAM parent_param) {
  const auto h = static_cast<HTREEITEM>(parent_param);
  Item* parent = (parent_param == 0 || IsSpecial(h, TVI_ROOT)) ? &root_ : Find(h);
  if (!parent) return FALSE;
  std::vector<Item*> kids;
  for (Item* c = parent->first_child; c; c = c->next) kids.push_back(c);
  std::stable_sort(kids.begin(), kids.end(),
                   [](const Item* a, const Item* b) { return LessIgnoringCase(a->text, b->text); });
  for (Item* c : kids) Unlink(c);
  for (Item* c : kids) Link(c, parent, parent->last_child);
  Content();
  return TRUE;
}

LRESULT TreeView::SetItemHeight(WPARAM height) {
  const int old = item_height_;
  int h = static_cast<int>(static_cast<LONG_PTR>(height));
  if (h == -1) h = kDefaultItemHeight;
  if (h < 1) h = 1;
  if ((style & TVS_NONEVENHEIGHT) == 0 && h > 1) h &= ~1;
  item_height_ = h;
  Content();
  return old;
}

LRESULT TreeView::ColourResult(COLORREF colour) {
  return static_cast<LRESULT>(static_cast<LONG>(colour));
}

LRESULT TreeView::SetColour(COLORREF& slot, LPARAM colour) {
  const COLORREF old = slot;
  slot = static_cast<COLORREF>(colour);
  Content();
  return ColourResult(old);
}

LRESULT TreeView::GetItemState(WPARAM h, LPARAM mask) const {
  const Item* item = Find(static_cast<HTREEITEM>(h));
  if (!item) return 0;
  const UINT state = item->state | (item->handle == caret_ ? TVIS_SELECTED : 0);
  return static_cast<LRESULT>(state & static_cast<UINT>(mask));
}

TVHITTESTINFO TreeView::HitAt(LPARAM point) const {
  TVHITTESTINFO info;
  info.pt = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  HitTest(&info);
  return info;
}

LRESULT TreeView::LeftButtonDown(LPARAM point) {
  const TVHITTESTINFO info = HitAt(point);
  const HWND self = hwnd;
  left_pressed_ = true;
  SetFocus(self);
  if (!IsWindow(self)) return 0;
  if (info.flags & TVHT_ONITEMBUTTON) {
    Expand(TVE_TOGGLE, info.hItem);
  } else if ((info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT)) && info.hItem) {
    Select(TVGN_CARET, info.hItem, TVC_BYMOUSE);
  }
  return 0;
}

LRESULT TreeView::LeftDoubleClick(LPARAM point) {
  const TVHITTESTINFO info = HitAt(point);
  const HWND self = hwnd;
  NMHDR nm;
  const LRESULT handled = NotifyParent(nm, NM_DBLCLK);
  if (handled == 0 && IsWindow(self) && Find(info.hItem) && (info.flags & TVHT_ONITEM)) {
    Expand(TVE_TOGGLE, info.hItem);
  }
  return 0;
}

LRESULT TreeView::LeftButtonUp() {
  if (!left_pressed_) return 0;
  left_pressed_ = false;
  NMHDR nm;
  NotifyParent(nm, NM_CLICK);
  return 0;
}

LRESULT TreeView::RightButtonUp() {
  NMHDR nm;
  NotifyParent(nm, NM_RCLICK);
  return 0;
}

LRESULT TreeView::ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto item_param = static_cast<HTREEITEM>(lParam);
  switch (msg) {
    case TVM_INSERTITEMA:
      return Insert(reinterpret_cast<const TVINSERTSTRUCTA*>(lParam));
    case TVM_DELETEITEM:
      return Delete(item_param);
    case TVM_EXPAND:
      return Expand(wParam, item_param);
    case TVM_GETITEMRECT:
      return GetItemRect(wParam, reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT:
      return static_cast<LRESULT>(items_.size());
    case TVM_GETINDENT:
      return indent_;
    case TVM_SETINDENT:
      return SetIndent(wParam);
    case TVM_GETIMAGELIST:
      return GetImageList(wParam);
    case TVM_SETIMAGELIST:
      return SetImageList(wParam, lParam);
    case TVM_GETNEXTITEM:
      return GetNext(wParam, item_param);
    case TVM_SELECTITEM:
      return Select(wParam, item_param, TVC_UNKNOWN);
    case TVM_GETITEMA:
      return GetItem(reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
      return SetItem(reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_EDITLABELA:
      return EditLabel(item_param);
    case TVM_GETEDITCONTROL:
      return static_cast<LRESULT>(edit_);
    case TVM_ENDEDITLABELNOW:
      return EndEdit(wParam != 0);
    case TVM_GETVISIBLECOUNT:
      return RowsInClient();
    case TVM_HITTEST:
      return HitTestMessage(reinterpret_cast<TVHITTESTINFO*>(lParam));
    case TVM_ENSUREVISIBLE:
      return EnsureVisible(item_param);
    case TVM_SORTCHILDREN:
      return SortChildren(lParam);
    case TVM_SETITEMHEIGHT:
      return SetItemHeight(wParam);
    case TVM_GETITEMHEIGHT:
      return item_height_;
    case TVM_SETBKCOLOR:
      return SetColour(back_color_, lParam);
    case TVM_SETTEXTCOLOR:
      return SetColour(text_color_, lParam);
    case TVM_SETLINECOLOR:
      return SetColour(line_color_, lParam);
    case TVM_GETBKCOLOR:
      return ColourResult(back_color_);
    case TVM_GETTEXTCOLOR:
      return ColourResult(text_color_);
    case TVM_GETLINECOLOR:
      return ColourResult(line_color_);
    case TVM_GETITEMSTATE:
      return GetItemState(wParam, lParam);
    case WM_LBUTTONDOWN:
      return LeftButtonDown(lParam);
    case WM_LBUTTONDBLCLK:
      return LeftDoubleClick(lParam);
    case WM_LBUTTONUP:
      return LeftButtonUp();
    case WM_RBUTTONDOWN:
      return 0;  // the right button leaves the selection alone
    case WM_RBUTTONUP:
      return RightButtonUp();
    case WM_KEYDOWN:
      return KeyDown(wParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
      return WindowObject::ClassProc(msg, wParam, lParam);
  }
}

}  // namespace kelmor::platform
