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
        if (!Valid(index)) return FALSE;
        rows_.erase(rows_.begin() + index);
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_DELETEALLITEMS:
        rows_.clear();
        top_ = 0;
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_SETITEMTEXTA:
        if (!Valid(index) || item == nullptr || !ValidSub(item->iSubItem)) return FALSE;
        Cell(index, item->iSubItem) = item->pszText ? item->pszText : "";
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_GETITEMTEXTA:
        if (!Valid(index) || item == nullptr || item->iSubItem < 0) return 0;
        return CopyText(CellText(index, item->iSubItem), item->pszText, item->cchTextMax);
      case LVM_GETITEMA:
        return GetItem(item);
      case LVM_SETITEMA:
        return SetItem(item);
      case LVM_GETNEXTITEM: {
        const UINT want = static_cast<UINT>(lParam) & (LVNI_SELECTED | LVNI_FOCUSED);
        for (int i = std::max(0, index + 1); i < Count(); ++i) {
          if ((rows_[static_cast<std::size_t>(i)].state & want) == want) return i;
        }
        return -1;
      }
      case LVM_SETITEMSTATE:
        if (item == nullptr) return FALSE;
        if (index == -1) {
          for (int i = 0; i < Count(); ++i) SetState(i, item->state, item->stateMask);
          return TRUE;
        }
        if (!Valid(index)) return FALSE;
        SetState(index, item->state, item->stateMask);
        return TRUE;
      case LVM_GETITEMSTATE:
        if (!Valid(index)) return 0;
        return rows_[static_cast<std::size_t>(index)].state & static_cast<UINT>(lParam);
      case LVM_GETSELECTEDCOUNT:
        return std::count_if(rows_.begin(), rows_.end(),
                             [](const Row& r) { return (r.state & LVIS_SELECTED) != 0; });
      case LVM_INSERTCOLUMNA: {
        const auto* col = reinterpret_cast<const LVCOLUMNA*>(lParam);
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
      case LVM_GETCOLUMNA: {
        auto* col = reinterpret_cast<LVCOLUMNA*>(lParam);
        if (col == nullptr || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
        const Column& c = columns_[static_cast<std::size_t>(index)];
        if (col->mask & LVCF_TEXT) CopyText(c.text, col->pszText, col->cchTextMax);
        if (col->mask & LVCF_WIDTH) col->cx = c.width;
        if (col->mask & LVCF_FMT) col->fmt = c.fmt;
        if (col->mask & LVCF_SUBITEM) col->iSubItem = index;
        return TRUE;
      }
      case LVM_DELETECOLUMN:
        if (index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
        columns_.erase(columns_.begin() + index);
        for (Row& r : rows_) {
          if (static_cast<std::size_t>(index) < r.cells.size())
            r.cells.erase(r.cells.begin() + index);
        }
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_GETCOLUMNWIDTH:
        if (index < 0 || index >= static_cast<int>(columns_.size())) return 0;
        return columns_[static_cast<std::size_t>(index)].width;
      case LVM_SETCOLUMNWIDTH:
        if (index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
        columns_[static_cast<std::size_t>(index)].width = static_cast<int>(lParam);
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD old = ex_list_style_;
        const DWORD mask = wParam == 0 ? 0xFFFFFFFFu : static_cast<DWORD>(wParam);
        ex_list_style_ = (ex_list_style_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
        Changed(WindowChange::Style);
        return old;
      }
      case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return ex_list_style_;
      case LVM_SETBKCOLOR:
      case LVM_SETTEXTCOLOR:
      case LVM_SETTEXTBKCOLOR:
        Changed(WindowChange::Content);
        return TRUE;
      case LVM_ENSUREVISIBLE: {
        if (!Valid(index)) return FALSE;
        const int rows = std::max(1, (ClientHeight() - HeaderHeight()) / kRowHeight);
        if (index < top_) top_ = index;
        if (index >= top_ + rows) top_ = index - rows + 1;
        Changed(WindowChange::Content);
        return TRUE;
      }
      case LVM_HITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (info == nullptr) return -1;
        info->iItem = RowAt(info->pt.y);
        info->flags = info->iItem >= 0 ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
        return info->iItem;
      }
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN: {
        if (msg == WM_LBUTTONDOWN) left_pressed_ = true;
        SetFocus(hwnd);
        const int row = RowAt(GET_Y_LPARAM(lParam));
        if (row >= 0) SelectOnly(row);
        return 0;
      }
      case WM_LBUTTONUP:
        // The release that ends a double-click is not a click of its own.
        if (!left_pressed_) return 0;
        left_pressed_ = false;
        Activate(NM_CLICK, lParam);
        return 0;
      case WM_RBUTTONUP:
        Activate(NM_RCLICK, lParam);
        return 0;
      case WM_LBUTTONDBLCLK:
        Activate(NM_DBLCLK, lParam);
        return 0;
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

  void Activate(UINT code, LPARAM lParam) {
    NMITEMACTIVATE nm;
    nm.ptAction = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    nm.iItem = RowAt(nm.ptAction.y);
    NotifyParent(nm.hdr, code);
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
