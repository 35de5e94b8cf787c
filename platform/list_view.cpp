// The list view ("SysListView32") in report view: columns, rows of cell texts, row state.
// Rows are kHeaderHeight below the top (none with LVS_NOCOLUMNHEADER) and kRowHeight high.
// WM_KEYDOWN sends LVN_KEYDOWN to the parent; Up and Down then select the row above or below
// (the first row when none is selected).
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 16;

class ListView : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    auto* item = reinterpret_cast<LVITEMA*>(lParam);
    switch (msg) {
      case LVM_GETITEMCOUNT:
        return Count();
      case LVM_INSERTITEMA:
        return Insert(item);
      case LVM_DELETEITEM:
        return DeleteRow(index);
      case LVM_DELETEALLITEMS:
        return DeleteAllRows();
      case LVM_SETITEMTEXTA:
        return SetItemText(index, item);
      case LVM_GETITEMTEXTA:
        return GetItemText(index, item);
      case LVM_GETITEMA:
        return GetItem(item);
      case LVM_SETITEMA:
        return SetItem(item);
      case LVM_GETNEXTITEM:
        return GetNextItem(index, lParam);
      case LVM_SETITEMSTATE:
        return SetItemState(index, item);
      case LVM_GETITEMSTATE:
        return GetItemState(index, lParam);
      case LVM_GETSELECTEDCOUNT:
        return SelectedCount();
      case LVM_INSERTCOLUMNA:
        return InsertColumn(index, reinterpret_cast<LVCOLUMNA*>(lParam));
      case LVM_GETCOLUMNA:
        return GetColumn(index, reinterpret_cast<LVCOLUMNA*>(lParam));
      case LVM_DELETECOLUMN:
        return DeleteColumn(index);
      case LVM_GETCOLUMNWIDTH:
        return ValidColumn(index) ? ColumnAt(index).width : 0;
      case LVM_SETCOLUMNWIDTH:
        return SetColumnWidth(index, lParam);
      case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return SetExtendedStyle(wParam, lParam);
      case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return ex_list_style_;
      case LVM_SETBKCOLOR:
        return ColourChanged();
      case LVM_SETTEXTCOLOR:
        return ColourChanged();
      case LVM_SETTEXTBKCOLOR:
        return ColourChanged();
      case LVM_ENSUREVISIBLE:
        return EnsureVisible(index);
      case LVM_HITTEST:
        return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam));
      case WM_LBUTTONDOWN:
        return ButtonDown(true, lParam);
      case WM_RBUTTONDOWN:
        return ButtonDown(false, lParam);
      case WM_LBUTTONUP:
        return LeftButtonUp(lParam);
      case WM_RBUTTONUP:
        return Activate(NM_RCLICK, lParam);
      case WM_LBUTTONDBLCLK:
        return Activate(NM_DBLCLK, lParam);
      case WM_KEYDOWN:
        return KeyDown(wParam);
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  struct Column {
    std::string text;
    int width = 60;
    int fmt = LVCFMT_LEFT;
  };
  struct Row {
    std::vector<std::string> cells;
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
    int indent = 0;
  };

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  bool ValidSub(int s) const {
    return s >= 0 && s < std::max<int>(1, static_cast<int>(columns_.size()));
  }
  int HeaderHeight() const { return (style & LVS_NOCOLUMNHEADER) ? 0 : kHeaderHeight; }
  int RowAt(int y) const {
    if (y < HeaderHeight()) return -1;
    const int row = top_ + (y - HeaderHeight()) / kRowHeight;
    return Valid(row) ? row : -1;
  }
  std::string& Cell(int row, int sub) {
    auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    if (cells.size() <= static_cast<std::size_t>(sub))
      cells.resize(static_cast<std::size_t>(sub) + 1);
    return cells[static_cast<std::size_t>(sub)];
  }
  std::string CellText(int row, int sub) const {
    const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
    return static_cast<std::size_t>(sub) < cells.size() ? cells[static_cast<std::size_t>(sub)]
                                                        : std::string();
  }
  static LRESULT CopyText(const std::string& t, char* out, int room) {
    if (out == nullptr || room <= 0) return 0;
    const std::size_t n = std::min(t.size(), static_cast<std::size_t>(room - 1));
    std::memcpy(out, t.data(), n);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
  }

  LRESULT Insert(const LVITEMA* item) {
    if (item == nullptr || item->iItem < 0 || item->iSubItem != 0) return -1;
    const int at = std::min(item->iItem, Count());
    Row r;
    r.cells.resize(1);
    if ((item->mask & LVIF_TEXT) && item->pszText) r.cells[0] = item->pszText;
    if (item->mask & LVIF_IMAGE) r.image = item->iImage;
    if (item->mask & LVIF_PARAM) r.param = item->lParam;
    if (item->mask & LVIF_INDENT) r.indent = item->iIndent;
    const UINT state = (item->mask & LVIF_STATE) ? (item->state & item->stateMask) : 0;
    rows_.insert(rows_.begin() + at, std::move(r));
    Changed(WindowChange::Content);
    if (state) SetState(at, state, state);
    return at;
  }

  LRESULT GetItem(LVITEMA* item) const {
    if (item == nullptr || !Valid(item->iItem)) return FALSE;
    const Row& r = rows_[static_cast<std::size_t>(item->iItem)];
    if (item->mask & LVIF_TEXT)
      CopyText(CellText(item->iItem, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->mask & LVIF_IMAGE) item->iImage = r.image;
    if (item->mask & LVIF_PARAM) item->lParam = r.param;
    if (item->mask & LVIF_STATE) item->state = r.state & item->stateMask;
    if (item->mask & LVIF_INDENT) item->iIndent = r.indent;
    return TRUE;
  }

  LRESULT SetItem(const LVITEMA* item) {
    if (item == nullptr || !Valid(item->iItem) || !ValidSub(item->iSubItem)) return FALSE;
    Row& r = rows_[static_cast<std::size_t>(item->iItem)];
    if (item->mask & LVIF_TEXT)
      Cell(item->iItem, item->iSubItem) = item->pszText ? item->pszText : "";
    if (item->iSubItem == 0) {
      if (item->mask & LVIF_IMAGE) r.image = item->iImage;
      if (item->mask & LVIF_PARAM) r.param = item->lParam;
      if (item->mask & LVIF_INDENT) r.indent = item->iIndent;
    }
    Changed(WindowChange::Content);
    if (item->mask & LVIF_STATE) SetState(item->iItem, item->state, item->stateMask);
    return TRUE;
  }

  void SetState(int row, UINT state, UINT mask) {
    if ((style & LVS_SINGLESEL) && (state & mask & LVIS_SELECTED)) {
      for (int i = 0; i < Count(); ++i) {
        if (i != row) Apply(i, 0, LVIS_SELECTED);
      }
    }
    Apply(row, state, mask);
  }

  void Apply(int row, UINT state, UINT mask) {
    if (!Valid(row)) return;
    Row& r = rows_[static_cast<std::size_t>(row)];
    const UINT old = r.state;
    r.state = (r.state & ~mask) | (state & mask);
    if (r.state == old) return;
    Changed(WindowChange::Selection);
    NMLISTVIEW nm;
    nm.iItem = row;
    nm.uNewState = r.state;
    nm.uOldState = old;
    nm.uChanged = LVIF_STATE;
    nm.lParam = r.param;
    NotifyParent(nm.hdr, LVN_ITEMCHANGED);
  }

  void SelectOnly(int row) {
    for (int i = 0; i < Count(); ++i) {
      if (i != row) Apply(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    Apply(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  // LVN_KEYDOWN to the parent, then Up and Down move the selected row.
  LRESULT KeyDown(WPARAM key) {
    const HWND self = hwnd;
    NMLVKEYDOWN nm;
    nm.wVKey = static_cast<WORD>(key);
    NotifyParent(nm.hdr, LVN_KEYDOWN);
    if (!IsWindow(self) || Count() == 0 || (key != VK_UP && key != VK_DOWN)) return 0;
    int row = -1;
    for (int i = 0; i < Count() && row < 0; ++i) {
      if (rows_[static_cast<std::size_t>(i)].state & LVIS_SELECTED) row = i;
    }
    row = std::clamp(row < 0 ? 0 : row + (key == VK_DOWN ? 1 : -1), 0, Count() - 1);
    SelectOnly(row);
    SendMessageA(self, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    return 0;
  }

  LRESULT Activate(UINT code, LPARAM lParam) {
    NMITEMACTIVATE nm;
    nm.ptAction = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    nm.iItem = RowAt(nm.ptAction.y);
    NotifyParent(nm.hdr, code);
    return 0;
  }

  LRESULT DeleteRow(int index) {
    if (!Valid(index)) return FALSE;
    rows_.erase(rows_.begin() + index);
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT DeleteAllRows() {
    rows_.clear();
    top_ = 0;
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT SetItemText(int index, const LVITEMA* item) {
    if (!Valid(index) || item == nullptr || !ValidSub(item->iSubItem)) return FALSE;
    Cell(index, item->iSubItem) = item->pszText ? item->pszText : "";
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT GetItemText(int index, LVITEMA* item) const {
    if (!Valid(index) || item == nullptr || item->iSubItem < 0) return 0;
    return CopyText(CellText(index, item->iSubItem), item->pszText, item->cchTextMax);
  }

  // The first row after `index` with every asked-for state bit.
  LRESULT GetNextItem(int index, LPARAM flags) const {
    const UINT want = static_cast<UINT>(flags) & (LVNI_SELECTED | LVNI_FOCUSED);
    for (int i = std::max(0, index + 1); i < Count(); ++i) {
      if ((rows_[static_cast<std::size_t>(i)].state & want) == want) return i;
    }
    return -1;
  }

  // Row -1 sets the state of every row.
  LRESULT SetItemState(int index, const LVITEMA* item) {
    if (item == nullptr) return FALSE;
    if (index == -1) {
      for (int i = 0; i < Count(); ++i) SetState(i, item->state, item->stateMask);
      return TRUE;
    }
    if (!Valid(index)) return FALSE;
    SetState(index, item->state, item->stateMask);
    return TRUE;
  }

  LRESULT GetItemState(int index, LPARAM mask) const {
    if (!Valid(index)) return 0;
    return rows_[static_cast<std::size_t>(index)].state & static_cast<UINT>(mask);
  }

  LRESULT SelectedCount() const {
    return std::count_if(rows_.begin(), rows_.end(),
                         [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; });
  }

  bool ValidColumn(int index) const {
    return index >= 0 && index < static_cast<int>(columns_.size());
  }
  Column& ColumnAt(int index) { return columns_[static_cast<std::size_t>(index)]; }
  const Column& ColumnAt(int index) const { return columns_[static_cast<std::size_t>(index)]; }

  LRESULT InsertColumn(int index, const LVCOLUMNA* col) {
    if (col == nullptr || index < 0) return -1;
    const int at = std::min(index, static_cast<int>(columns_.size()));
    Column c;
    if ((col->mask & LVCF_TEXT) && col->pszText) c.text = col->pszText;
    if (col->mask & LVCF_WIDTH) c.width = col->cx;
    if (col->mask & LVCF_FMT) c.fmt = col->fmt;
    columns_.insert(columns_.begin() + at, c);
    Changed(WindowChange::Content);
    return at;
  }

  LRESULT GetColumn(int index, LVCOLUMNA* col) const {
    if (col == nullptr || !ValidColumn(index)) return FALSE;
    const Column& c = ColumnAt(index);
    if (col->mask & LVCF_TEXT) CopyText(c.text, col->pszText, col->cchTextMax);
    if (col->mask & LVCF_WIDTH) col->cx = c.width;
    if (col->mask & LVCF_FMT) col->fmt = c.fmt;
    if (col->mask & LVCF_SUBITEM) col->iSubItem = index;
    return TRUE;
  }

  LRESULT DeleteColumn(int index) {
    if (!ValidColumn(index)) return FALSE;
    columns_.erase(columns_.begin() + index);
    for (Row& r : rows_) {
      if (static_cast<std::size_t>(index) < r.cells.size()) r.cells.erase(r.cells.begin() + index);
    }
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT SetColumnWidth(int index, LPARAM width) {
    if (!ValidColumn(index)) return FALSE;
    ColumnAt(index).width = static_cast<int>(width);
    Changed(WindowChange::Content);
    return TRUE;
  }

  // A zero mask changes every extended style bit.
  LRESULT SetExtendedStyle(WPARAM mask_param, LPARAM bits) {
    const DWORD old = ex_list_style_;
    const DWORD mask = mask_param == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(mask_param);
    ex_list_style_ = (ex_list_style_ & ~mask) | (static_cast<DWORD>(bits) & mask);
    Changed(WindowChange::Style);
    return old;
  }

  // Colours are the painter's; the list view only asks for a repaint.
  LRESULT ColourChanged() {
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT EnsureVisible(int index) {
    if (!Valid(index)) return FALSE;
    const int rows = std::max(1, (ClientHeight() - HeaderHeight()) / kRowHeight);
    if (index < top_) top_ = index;
    if (index >= top_ + rows) top_ = index - rows + 1;
    Changed(WindowChange::Content);
    return TRUE;
  }

  LRESULT HitTest(LVHITTESTINFO* info) const {
    if (info == nullptr) return -1;
    info->iItem = RowAt(info->pt.y);
    info->flags = info->iItem >= 0 ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
    return info->iItem;
  }

  LRESULT ButtonDown(bool left, LPARAM point) {
    if (left) left_pressed_ = true;
    SetFocus(hwnd);
    const int row = RowAt(GET_Y_LPARAM(point));
    if (row >= 0) SelectOnly(row);
    return 0;
  }

  // The release that ends a double-click is not a click of its own.
  LRESULT LeftButtonUp(LPARAM point) {
    if (!left_pressed_) return 0;
    left_pressed_ = false;
    return Activate(NM_CLICK, point);
  }

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  DWORD ex_list_style_ = 0;
  int top_ = 0;
  bool left_pressed_ = false;
};

}  // namespace

std::shared_ptr<WindowObject> MakeListView() {
  return std::make_shared<ListView>();
}

}  // namespace kelmor::platform
