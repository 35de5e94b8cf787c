#include "treeview/tree_view_accessor.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "platform/gbk_chars.h"
#include "platform/window.h"
#include "runtime/bits.h"
#include "runtime/fatal.h"
#include "runtime/tree_box.h"
#include "runtime/variant_commands.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "treeview/remote_exchange.h"

namespace kelmor {

using platform::HTREEITEM;
using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

static_assert(std::is_trivially_copyable_v<TreeItemRecord>,
              "the item record is copied to and from another process byte by byte");

namespace {

HTREEITEM AsItem(LRESULT r) {
  return static_cast<HTREEITEM>(r);
}

LPARAM AddressOfRecord(TreeItemRecord* record) {
  return static_cast<LPARAM>(reinterpret_cast<std::uintptr_t>(record));
}

bool IsAsciiLower(char c) {
  return c >= 'a' && c <= 'z';
}
using platform::IsGbkLead;

// The length of the longest start of `text` within `limit` bytes that does not end inside a
// double-byte character; a lead byte with nothing after it counts as half a character.
std::size_t CharacterBoundary(std::string_view text, std::size_t limit) {
  const std::size_t end = std::min(limit, text.size());
  std::size_t at = 0;
  while (at < end) {
    const std::size_t step = IsGbkLead(static_cast<unsigned char>(text[at])) ? 2 : 1;
    if (at + step > end) break;
    at += step;
  }
  return at;
}

// How much of a text fits an item buffer of kItemTextCapacity bytes, cut between characters.
std::size_t FittingLength(const Text& text) {
  const std::size_t room = kItemTextCapacity - 1;
  return text.size() <= room ? text.size() : CharacterBoundary(text, room);
}

}  // namespace

bool TreeViewAccessor::Attach(HWND window) {
  Text name = GetWindowClassName(window);
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsGbkLead(c) && i + 1 < name.size()) {
      ++i;  // a double-byte character stays as it is
    } else if (IsAsciiLower(name[i])) {
      name[i] = static_cast<char>(name[i] - 'a' + 'A');
    }
  }
  if (name != "SYSTREEVIEW32") return false;
  window_ = window;
  RefreshHandles();
  return true;
}

Text TreeViewAccessor::GetWindowClassName(HWND window) const {
  char buffer[256] = {};
  int n = platform::GetClassNameA(window, buffer, static_cast<int>(sizeof buffer));
  if (n <= 0) return Text();
  return Text(buffer, ::strnlen(buffer, sizeof buffer));
}

void TreeViewAccessor::Refresh() {
  RefreshHandles();
}

std::uintptr_t TreeViewAccessor::AddressOf(const Bytes& bytes) {
  return reinterpret_cast<std::uintptr_t>(bytes.data());
}

std::int32_t TreeViewAccessor::GetItemCount() const {
  return static_cast<std::int32_t>(Send(platform::TVM_GETCOUNT, 0, 0));
}

std::int32_t TreeViewAccessor::GetItemLevel(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return 0;
  std::int32_t level = 1;
  // A tree is never deeper than it has items; the bound keeps a misbehaving window from
  // holding the loop.
  for (std::size_t guard = handles_.size(); guard > 0; --guard) {
    item =
        AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_PARENT, static_cast<LPARAM>(item)));
    if (item == 0) break;
    ++level;
  }
  return level;
}

Text TreeViewAccessor::GetItemText(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return Text();
  Text text;
  return ReadItem(item, platform::TVIF_TEXT, &text) ? text : Text();
}

std::int32_t TreeViewAccessor::GetItemImage(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return -1;
  auto record = ReadItem(item, platform::TVIF_IMAGE);
  return record ? record->iImage : -1;
}

std::int32_t TreeViewAccessor::GetItemSelectedImage(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return -1;
  auto record = ReadItem(item, platform::TVIF_SELECTEDIMAGE);
  return record ? record->iSelectedImage : -1;
}

std::int32_t TreeViewAccessor::GetItemData(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return 0;
  auto record = ReadItem(item, platform::TVIF_PARAM);
  return record ? static_cast<std::int32_t>(record->lParam) : 0;
}

bool TreeViewAccessor::SetItemFields(std::int32_t index, MaybeRefresh refresh,
                                     const std::function<void(TreeItemRecord&)>& fill,
                                     const Text* text) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return false;
  TreeItemRecord record{};
  fill(record);
  record.hItem = item;
  return WriteItem(platform::TVM_SETITEMA, record, text);
}

bool TreeViewAccessor::SetItemImage(std::int32_t index, std::int32_t image, MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [image](TreeItemRecord& r) {
    r.mask = platform::TVIF_IMAGE;
    r.iImage = image;
  });
}

bool TreeViewAccessor::SetItemSelectedImage(std::int32_t index, std::int32_t image,
                                            MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [image](TreeItemRecord& r) {
    r.mask = platform::TVIF_SELECTEDIMAGE;
    r.iSelectedImage = image;
  });
}

bool TreeViewAccessor::SetItemData(std::int32_t index, std::int32_t data, MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [data](TreeItemRecord& r) {
    r.mask = platform::TVIF_PARAM;
    r.lParam = data;
  });
}

bool TreeViewAccessor::SetItemText(std::int32_t index, const Text& text, MaybeRefresh refresh) {
  return SetItemFields(
      index, refresh, [](TreeItemRecord& r) { r.mask = platform::TVIF_TEXT; }, &text);
}

void TreeViewAccessor::EnsureVisible(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return;
  Send(platform::TVM_ENSUREVISIBLE, 0, static_cast<LPARAM>(item));
}

void TreeViewAccessor::Expand(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return;
  Send(platform::TVM_EXPAND, platform::TVE_EXPAND, static_cast<LPARAM>(item));
}

void TreeViewAccessor::Collapse(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return;
  Send(platform::TVM_EXPAND, platform::TVE_COLLAPSE, static_cast<LPARAM>(item));
}

std::int32_t TreeViewAccessor::InsertItem(
    std::int32_t parent_index, std::optional<std::int32_t> position, const Text& text,
    std::optional<std::int32_t> image, std::optional<std::int32_t> selected_image,
    std::optional<std::int32_t> data, std::optional<bool> suspend_redraw, MaybeRefresh refresh) {
  HTREEITEM parent = 0;
  if (!Prepare(parent_index, refresh, &parent)) parent = platform::TVI_ROOT;
  static constexpr HTREEITEM kAfter[] = {platform::TVI_ROOT, platform::TVI_FIRST,
                                         platform::TVI_LAST, platform::TVI_SORT};
  std::int32_t choice = position.value_or(3);
  if (choice < 1 || choice > 4) choice = 3;

  platform::TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = kAfter[choice - 1];
  insert.item.mask = platform::TVIF_TEXT | platform::TVIF_IMAGE | platform::TVIF_SELECTEDIMAGE |
                     platform::TVIF_PARAM;
  insert.item.iImage = image.value_or(0);
  insert.item.iSelectedImage = selected_image.value_or(insert.item.iImage);
  insert.item.lParam = data.value_or(0);

  bool suspend = suspend_redraw.value_or(true);
  if (suspend) Send(platform::WM_SETREDRAW, 0, 0);
  HTREEITEM added = ExchangeInsert(insert, text);
  if (suspend) Send(platform::WM_SETREDRAW, 1, 0);
  if (added == 0) return -1;
  RefreshHandles();
  return IndexOfHandle(added);
}

bool TreeViewAccessor::DeleteItem(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return false;
  return Send(platform::TVM_DELETEITEM, 0, static_cast<LPARAM>(item)) != 0;
}

std::int32_t TreeViewAccessor::GetParentIndex(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return -1;
  return IndexOfHandle(
      AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_PARENT, static_cast<LPARAM>(item))));
}

std::int32_t TreeViewAccessor::GetItemChildren(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return 0;
  auto record = ReadItem(item, platform::TVIF_CHILDREN);
  return record ? record->cChildren : 0;
}

bool TreeViewAccessor::IsExpanded(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return false;
  LRESULT state = Send(platform::TVM_GETITEMSTATE, static_cast<WPARAM>(item),
                       static_cast<LPARAM>(platform::TVIS_EXPANDED));
  return (state & platform::TVIS_EXPANDED) != 0;
}

void TreeViewAccessor::SetBackColor(platform::COLORREF colour) {
  Send(platform::TVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
}

platform::COLORREF TreeViewAccessor::GetBackColor() const {
  return static_cast<platform::COLORREF>(Send(platform::TVM_GETBKCOLOR, 0, 0));
}

void TreeViewAccessor::SetItemHeight(std::optional<std::int32_t> height) {
  Send(platform::TVM_SETITEMHEIGHT, static_cast<WPARAM>(height.value_or(16)), 0);
}

std::int32_t TreeViewAccessor::GetItemHeight() const {
  return static_cast<std::int32_t>(Send(platform::TVM_GETITEMHEIGHT, 0, 0));
}

void TreeViewAccessor::SetTextColor(platform::COLORREF colour) {
  Send(platform::TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(colour));
}

platform::COLORREF TreeViewAccessor::GetTextColor() const {
  return static_cast<platform::COLORREF>(Send(platform::TVM_GETTEXTCOLOR, 0, 0));
}

void TreeViewAccessor::SetLineColor(platform::COLORREF colour) {
  Send(platform::TVM_SETLINECOLOR, 0, static_cast<LPARAM>(colour));
}

platform::COLORREF TreeViewAccessor::GetLineColor() const {
  return static_cast<platform::COLORREF>(Send(platform::TVM_GETLINECOLOR, 0, 0));
}

void TreeViewAccessor::EnableCheckBoxes() {
  AddStyle(platform::TVS_CHECKBOXES);
}

void TreeViewAccessor::EnableHotTracking() {
  AddStyle(platform::TVS_TRACKSELECT);
}

bool TreeViewAccessor::SetNoScroll(std::optional<bool> on) {
  return ApplyStyleRule(platform::TVS_NOSCROLL, on);
}

bool TreeViewAccessor::SetNoHorizontalScroll(std::optional<bool> on) {
  return ApplyStyleRule(platform::TVS_NOHSCROLL, on);
}

bool TreeViewAccessor::SetFullRowSelect(std::optional<bool> on) {
  // Full-row selection and lines exclude each other.
  if (BitAnd(platform::GetWindowLongA(window_, platform::GWL_STYLE), platform::TVS_HASLINES) != 0) {
    return false;
  }
  return ApplyStyleRule(platform::TVS_FULLROWSELECT, on);
}

bool TreeViewAccessor::IsItemChecked(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return false;
  auto record = ReadItem(item, platform::TVIF_STATE);
  return record && (record->state & 0x2000) != 0;
}

bool TreeViewAccessor::SetItemChecked(std::int32_t index, bool checked, MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [checked](TreeItemRecord& r) {
    r.mask = platform::TVIF_STATE | platform::TVIF_HANDLE;
    r.state = checked ? 0x2000 : 0x1000;
    r.stateMask = platform::TVIS_STATEIMAGEMASK;
  });
}

bool TreeViewAccessor::SetItemBold(std::int32_t index, MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [](TreeItemRecord& r) {
    r.mask = platform::TVIF_STATE;
    r.state = platform::TVIS_BOLD;
    r.stateMask = platform::TVIS_BOLD;
  });
}

bool TreeViewAccessor::ClearItemBold(std::int32_t index, MaybeRefresh refresh) {
  return SetItemFields(index, refresh, [](TreeItemRecord& r) {
    r.mask = platform::TVIF_STATE;
    r.state = static_cast<UINT>(BitNot(platform::TVIS_BOLD));
    r.stateMask = platform::TVIS_BOLD;
  });
}

void TreeViewAccessor::SelectItem(std::int32_t index, MaybeRefresh refresh) {
  HTREEITEM item = 0;
  if (!Prepare(index, refresh, &item)) return;
  Send(platform::TVM_SELECTITEM, platform::TVGN_CARET, static_cast<LPARAM>(item));
}

std::int32_t TreeViewAccessor::GetVisibleCount(MaybeRefresh refresh) {
  if (refresh.value_or(auto_refresh_)) RefreshHandles();
  return static_cast<std::int32_t>(Send(platform::TVM_GETVISIBLECOUNT, 0, 0));
}

std::int32_t TreeViewAccessor::GetFirstVisibleIndex(MaybeRefresh refresh) {
  if (refresh.value_or(auto_refresh_)) RefreshHandles();
  return IndexOfHandle(AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_FIRSTVISIBLE, 0)));
}

std::int32_t TreeViewAccessor::GetSelectedIndex(MaybeRefresh refresh) {
  if (refresh.value_or(auto_refresh_)) RefreshHandles();
  return IndexOfHandle(AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_CARET, 0)));
}

void TreeViewAccessor::RefreshHandles() {
  std::int32_t count = GetItemCount();
  std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 0;
  handles_.assign(n, 0);
  std::size_t k = 0;
  HTREEITEM h = AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_ROOT, 0));
  while (h != 0) {
    // Storing one handle more than the tree view counted is a subscript out of range.
    if (k >= n) RaiseRuntimeError(1);
    handles_[k++] = h;
    HTREEITEM child =
        AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_CHILD, static_cast<LPARAM>(h)));
    if (child != 0) {
      h = child;
      continue;
    }
    HTREEITEM cur = h;
    h = 0;
    while (true) {
      HTREEITEM next =
          AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_NEXT, static_cast<LPARAM>(cur)));
      if (next != 0) {
        h = next;
        break;
      }
      cur =
          AsItem(Send(platform::TVM_GETNEXTITEM, platform::TVGN_PARENT, static_cast<LPARAM>(cur)));
      if (cur == 0) break;
    }
  }
}

void TreeViewAccessor::EnableRemoteMode() {
  remote_mode_ = true;
}

void TreeViewAccessor::DisableRemoteMode() {
  remote_mode_ = false;
}

std::int32_t TreeViewAccessor::FindHandle(HTREEITEM handle) const {
  // From both ends at once: the item looked for is as often near the end as near the start.
  std::size_t lo = 0;
  std::size_t hi = handles_.size();
  while (lo < hi) {
    if (handles_[lo] == handle) return static_cast<std::int32_t>(lo + 1);
    --hi;
    if (handles_[hi] == handle) return static_cast<std::int32_t>(hi + 1);
    ++lo;
  }
  return 0;
}

void TreeViewAccessor::SetAutoRefresh(bool on) {
  auto_refresh_ = on;
}

bool TreeViewAccessor::GetAutoRefresh() const {
  return auto_refresh_;
}

platform::VARIANT TreeViewAccessor::GetCheckedIndices(MaybeRefresh refresh) {
  if (refresh.value_or(auto_refresh_)) RefreshHandles();
  Array<std::int32_t> checked;
  for (std::size_t i = 0; i < handles_.size(); ++i) {
    if (IsItemChecked(static_cast<std::int32_t>(i), false)) {
      checked.push_back(static_cast<std::int32_t>(i + 1));
    }
  }
  platform::VARIANT result;
  VariantSetValue(result, checked);
  return result;
}

bool TreeViewAccessor::Bind(std::int32_t window_id, std::int32_t control_id) {
  window_id_ = window_id;
  control_id_ = control_id;
  Reload();
  return Attach(WindowHandle(BoundControl()));
}

void TreeViewAccessor::Reload() {
  Value content = GetProperty(BoundControl(), property::kTreeContent);
  const Bytes* bytes = content.get_if<Bytes>();
  ParseContent(bytes ? *bytes : Bytes(), items_);
}

std::int32_t TreeViewAccessor::AddItem(std::int32_t position, const Text& text, std::int32_t image,
                                       std::optional<std::int32_t> selected_image,
                                       std::int32_t data, bool reload) {
  if (reload) Reload();
  TreeContentItem item;
  item.text = text;
  std::int32_t level = 1;
  std::size_t at = items_.size();
  if (position >= 0 && static_cast<std::size_t>(position) < items_.size()) {
    at = static_cast<std::size_t>(position);
    const auto& before = items_[at].tail;
    level = static_cast<std::int32_t>(static_cast<std::uint32_t>(before[16]) |
                                      static_cast<std::uint32_t>(before[17]) << 8 |
                                      static_cast<std::uint32_t>(before[18]) << 16 |
                                      static_cast<std::uint32_t>(before[19]) << 24);
  }
  const std::int32_t fields[5] = {image, selected_image.value_or(image), data, 0, level};
  for (std::size_t f = 0; f < 5; ++f) {
    for (std::size_t b = 0; b < 4; ++b) {
      item.tail[f * 4 + b] =
          static_cast<std::uint8_t>(static_cast<std::uint32_t>(fields[f]) >> (8 * b));
    }
  }
  Array<TreeContentItem> rebuilt;
  rebuilt.reserve(items_.size() + 1);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (i == at) rebuilt.push_back(item);
    rebuilt.push_back(items_[i]);
  }
  if (at == items_.size()) rebuilt.push_back(item);
  items_ = std::move(rebuilt);

  ControlRef control = BoundControl();
  SetProperty(control, property::kTreeContent, Value::FromBytes(ExportContent()));
  SetProperty(control, property::kTreeCurrentItem, Value::Int(static_cast<std::int32_t>(at)));
  EnsureItemVisible(control, static_cast<int>(at));
  Attach(WindowHandle(control));
  return static_cast<std::int32_t>(at);
}

Bytes TreeViewAccessor::ExportContent() const {
  // What writing each item's text, a zero byte and its tail to a memory file would leave in it.
  std::size_t size = 0;
  for (const TreeContentItem& item : items_) size += item.text.size() + 1 + item.tail.size();
  Bytes content;
  content.reserve(size);
  for (const TreeContentItem& item : items_) {
    content.insert(content.end(), item.text.begin(), item.text.end());
    content.push_back(0);
    content.insert(content.end(), item.tail.begin(), item.tail.end());
  }
  return content;
}

void TreeViewAccessor::ParseContent(const Bytes& content, Array<TreeContentItem>& items) const {
  // Read as a memory file reads it (a text stops at a zero byte or 0x1A, a lead byte before
  // the zero byte is dropped, then one stop byte is skipped), but straight from the bytes: a
  // memory file per Reload costs more than the parse.
  items.clear();
  const std::uint8_t* data = content.data();
  const std::size_t size = content.size();
  // An item takes at least its stop byte and its tail.
  items.reserve(size / (kTreeContentTailSize + 1));
  std::size_t pos = 0;
  while (pos < size) {
    TreeContentItem item;
    const std::uint8_t* p = data + pos;
    const std::size_t n = size - pos;
    std::size_t text_length = n;
    std::size_t next = size;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t b = p[i];
      if (b == 0x00 || b == 0x1A) {
        text_length = i;
        next = pos + i;
        break;
      }
      if (IsGbkLead(b) && i + 1 < n) {
        if (p[i + 1] == 0x00) {
          text_length = i;
          next = pos + i + 1;
          break;
        }
        ++i;
      }
    }
    item.text.assign(reinterpret_cast<const char*>(p), text_length);
    pos = next + 1;  // the stop byte
    // A record cut short is not an item: the content ends at the last whole record.
    if (pos >= size || size - pos < kTreeContentTailSize) break;
    std::copy(data + pos, data + pos + kTreeContentTailSize, item.tail.begin());
    pos += kTreeContentTailSize;
    items.push_back(std::move(item));
  }
}

// --- private -------------------------------------------------------------------------------

ControlRef TreeViewAccessor::BoundControl() const {
  ControlRef control{window_id_, Text()};
  if (window_id_ <= 0) return control;
  const WindowTemplate& tpl = GetWindowTemplate(window_id_);
  if (control_id_ >= 0 && static_cast<std::size_t>(control_id_) < tpl.controls.size()) {
    control.name = tpl.controls[static_cast<std::size_t>(control_id_)].name;
  }
  return control;
}

std::optional<TreeItemRecord> TreeViewAccessor::ReadItem(HTREEITEM handle, UINT mask, Text* text) {
  std::array<char, kItemTextCapacity> buffer;
  buffer.front() = 0;
  TreeItemRecord record{};
  record.mask = mask;
  record.hItem = handle;
  record.pszText = buffer.data();
  record.cchTextMax = kItemTextCapacity;
  const bool answered = remote_mode_
                            ? ExchangeRead(record, buffer)
                            : Send(platform::TVM_GETITEMA, 0, AddressOfRecord(&record)) != 0;
  if (!answered) return std::nullopt;
  if (text != nullptr) {
    // Locally the tree view may have pointed the record at its own copy of the text.
    const char* read = remote_mode_ ? buffer.data() : record.pszText;
    if (read == nullptr) return std::nullopt;
    std::size_t length = ::strnlen(read, kItemTextCapacity);
    // A text that filled the buffer was cut by the tree view, perhaps inside a character.
    if (length == kItemTextCapacity - 1) length = CharacterBoundary({read, length}, length);
    text->assign(read, length);
  }
  record.pszText = nullptr;  // the buffer ends here
  return record;
}

bool TreeViewAccessor::ExchangeRead(TreeItemRecord& record,
                                    std::array<char, kItemTextCapacity>& text) {
  const UINT mask = record.mask;
  RemoteExchange exchange(remote_memory_, window_);
  if (!exchange.is_open()) return false;
  const std::uintptr_t record_address = exchange.Allocate(sizeof record);
  const std::uintptr_t text_address = exchange.Allocate(kItemTextCapacity);
  if (record_address == 0 || text_address == 0) return false;
  TreeItemRecord remote = record;
  remote.pszText = reinterpret_cast<char*>(text_address);
  if (!exchange.Write(record_address, &remote, sizeof remote) ||
      Send(platform::TVM_GETITEMA, 0, static_cast<LPARAM>(record_address)) == 0) {
    return false;
  }
  const Bytes back = exchange.Read(record_address, sizeof record);
  std::memcpy(&record, back.data(), sizeof record);
  if ((mask & platform::TVIF_TEXT) != 0) {
    const Bytes read = exchange.Read(text_address, kItemTextCapacity);
    std::memcpy(text.data(), read.data(), text.size());
    text.back() = 0;
  }
  return true;
}

bool TreeViewAccessor::WriteItem(UINT message, TreeItemRecord record, const Text* text) {
  if (remote_mode_) return ExchangeWrite(message, record, text);
  std::array<char, kItemTextCapacity> buffer;
  if (text != nullptr) {
    const std::size_t size = FittingLength(*text);
    std::memcpy(buffer.data(), text->data(), size);
    buffer[size] = 0;
    record.pszText = buffer.data();
    record.cchTextMax = kItemTextCapacity;
  }
  return Send(message, 0, AddressOfRecord(&record)) != 0;
}

bool TreeViewAccessor::ExchangeWrite(UINT message, TreeItemRecord record, const Text* text) {
  RemoteExchange exchange(remote_memory_, window_);
  if (!exchange.is_open()) return false;
  const std::uintptr_t record_address = exchange.Allocate(sizeof record);
  // Written whole: the buffer in the other process is the text's length + 1.
  const std::uintptr_t text_address = text != nullptr ? exchange.Allocate(text->size() + 1) : 0;
  if (record_address == 0 || (text != nullptr && text_address == 0)) return false;
  if (text != nullptr) {
    if (!exchange.Write(text_address, text->c_str(), text->size() + 1)) return false;
    record.pszText = reinterpret_cast<char*>(text_address);
    record.cchTextMax = static_cast<int>(text->size() + 1);
  }
  return exchange.Write(record_address, &record, sizeof record) &&
         Send(message, 0, static_cast<LPARAM>(record_address)) != 0;
}

HTREEITEM TreeViewAccessor::ExchangeInsert(platform::TVINSERTSTRUCTA insert, const Text& text) {
  std::array<char, kItemTextCapacity> buffer{};
  std::memcpy(buffer.data(), text.data(), FittingLength(text));
  insert.item.cchTextMax = kItemTextCapacity;
  if (!remote_mode_) {
    insert.item.pszText = buffer.data();
    return AsItem(Send(platform::TVM_INSERTITEMA, 0,
                       static_cast<LPARAM>(reinterpret_cast<std::uintptr_t>(&insert))));
  }
  RemoteExchange exchange(remote_memory_, window_);
  if (!exchange.is_open()) return 0;
  const std::uintptr_t insert_address = exchange.Allocate(sizeof insert);
  const std::uintptr_t text_address = exchange.Allocate(kItemTextCapacity);
  if (insert_address == 0 || text_address == 0) return 0;
  insert.item.pszText = reinterpret_cast<char*>(text_address);
  if (!exchange.Write(text_address, buffer.data(), buffer.size()) ||
      !exchange.Write(insert_address, &insert, sizeof insert)) {
    return 0;
  }
  return AsItem(Send(platform::TVM_INSERTITEMA, 0, static_cast<LPARAM>(insert_address)));
}

bool TreeViewAccessor::Prepare(std::int32_t index, MaybeRefresh refresh, HTREEITEM* handle) {
  if (refresh.value_or(auto_refresh_)) RefreshHandles();
  if (index < 0 || static_cast<std::size_t>(index) >= handles_.size()) return false;
  *handle = handles_[static_cast<std::size_t>(index)];
  return true;
}

std::int32_t TreeViewAccessor::IndexOfHandle(HTREEITEM handle) const {
  if (handle == 0) return -1;
  for (std::size_t i = 0; i < handles_.size(); ++i) {
    if (handles_[i] == handle) return static_cast<std::int32_t>(i);
  }
  return -1;
}

LRESULT TreeViewAccessor::Send(UINT message, WPARAM wparam, LPARAM lparam) const {
  return platform::SendMessageA(window_, message, wparam, lparam);
}

bool TreeViewAccessor::ApplyStyleRule(platform::LONG bit, std::optional<bool> on) {
  platform::LONG style = platform::GetWindowLongA(window_, platform::GWL_STYLE);
  bool set = BitAnd(style, bit) != 0;
  if (!set && on.value_or(true)) {
    platform::SetWindowLongA(window_, platform::GWL_STYLE, BitOr(style, bit));
    return true;
  }
  if (set && on.has_value() && !*on) {
    platform::SetWindowLongA(window_, platform::GWL_STYLE, BitAnd(style, BitNot(bit)));
    return false;
  }
  return set;
}

void TreeViewAccessor::AddStyle(platform::LONG bit) {
  platform::LONG style = platform::GetWindowLongA(window_, platform::GWL_STYLE);
  if (BitAnd(style, bit) == 0) {
    platform::SetWindowLongA(window_, platform::GWL_STYLE, BitOr(style, bit));
  }
}

}  // namespace kelmor
