#include "runtime/list_view_control.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/window_registry.h"

namespace kelmor {

using detail::Access;
using detail::ResolveKind;
using detail::Target;

namespace {

Target Command(const ControlRef& list) {
  return ResolveKind(list, Access::Command, ControlKind::ListView);
}

platform::LRESULT Send(const Target& t, platform::UINT msg, platform::WPARAM w,
                       platform::LPARAM l) {
  return platform::SendMessageA(t.hwnd, msg, w, l);
}

}  // namespace

int GetCurrentRow(const ControlRef& list) {
  Target t = ResolveKind(list, Access::ReadProperty, ControlKind::ListView);
  return static_cast<int>(Send(t, platform::LVM_GETNEXTITEM, static_cast<platform::WPARAM>(-1),
                               platform::LVNI_SELECTED));
}

void SetCurrentRow(const ControlRef& list, int row) {
  Target t = Command(list);
  platform::LVITEMA item;
  item.stateMask = platform::LVIS_SELECTED | platform::LVIS_FOCUSED;
  item.state = 0;
  Send(t, platform::LVM_SETITEMSTATE, static_cast<platform::WPARAM>(-1),
       reinterpret_cast<platform::LPARAM>(&item));
  if (row < 0) return;
  item.state = platform::LVIS_SELECTED | platform::LVIS_FOCUSED;
  Send(t, platform::LVM_SETITEMSTATE, static_cast<platform::WPARAM>(row),
       reinterpret_cast<platform::LPARAM>(&item));
}

int GetRowCount(const ControlRef& list) {
  Target t = Command(list);
  return static_cast<int>(Send(t, platform::LVM_GETITEMCOUNT, 0, 0));
}

int AddRow(const ControlRef& list, std::optional<int> position, std::optional<Text> text,
           std::optional<int> image, std::optional<int> state_image, std::optional<int> indent,
           std::optional<int> data) {
  Target t = Command(list);
  Text label = text.value_or(Text());
  platform::LVITEMA item;
  item.mask = 31;
  item.iItem = position && *position >= 0
                   ? *position
                   : static_cast<int>(Send(t, platform::LVM_GETITEMCOUNT, 0, 0));
  item.iSubItem = 0;
  item.pszText = label.data();
  item.iImage = image ? std::max(*image, -1) : -1;
  if (state_image) {
    item.state = static_cast<platform::UINT>(std::max(*state_image, 0) + 1) << 12;
    item.stateMask = platform::LVIS_STATEIMAGEMASK;
  }
  item.iIndent = indent ? std::max(*indent, 0) : 0;
  item.lParam = data.value_or(0);
  return static_cast<int>(
      Send(t, platform::LVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&item)));
}

bool SetCellText(const ControlRef& list, int row, std::optional<int> column,
                 std::optional<Text> text) {
  Target t = Command(list);
  Text label = text.value_or(Text());
  platform::LVITEMA item;
  item.iSubItem = column.value_or(0);
  item.pszText = label.data();
  return Send(t, platform::LVM_SETITEMTEXTA, static_cast<platform::WPARAM>(row),
              reinterpret_cast<platform::LPARAM>(&item)) != 0;
}

Text GetCellText(const ControlRef& list, int row, std::optional<int> column) {
  Target t = Command(list);
  std::vector<char> buffer(512);
  while (true) {
    platform::LVITEMA item;
    item.iSubItem = column.value_or(0);
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    buffer[0] = 0;
    const auto length = Send(t, platform::LVM_GETITEMTEXTA, static_cast<platform::WPARAM>(row),
                             reinterpret_cast<platform::LPARAM>(&item));
    buffer.back() = 0;
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) + 1 < buffer.size()) {
      return Text(buffer.data(), std::strlen(buffer.data()));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace kelmor
