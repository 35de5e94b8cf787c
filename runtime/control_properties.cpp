// Properties of windows and controls: the common ones (0-7) and the typed accessors.
#include <string>

#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/list_view_control.h"
#include "runtime/rich_edit_control.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "runtime/window_registry.h"

namespace kelmor {

using detail::Access;
using detail::Resolve;
using detail::ResolveKind;
using detail::Target;

namespace {

platform::RECT Rectangle(const Target& target) {
  platform::RECT rect;
  if (target.control == nullptr) {
    platform::GetWindowRect(target.hwnd, &rect);
  } else {
    platform::GetWindowPosition(target.hwnd, &rect);
  }
  return rect;
}

void SetRectangle(const Target& target, int index, int value) {
  platform::RECT rect = Rectangle(target);
  int left = rect.left, top = rect.top;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  switch (index) {
    case property::kLeft:
      left = value;
      break;
    case property::kTop:
      top = value;
      break;
    case property::kWidth:
      width = value;
      break;
    default:
      height = value;
      break;
  }
  platform::MoveWindow(target.hwnd, left, top, width, height, platform::TRUE);
}

bool StyleHas(platform::HWND hwnd, platform::DWORD bits) {
  return (static_cast<platform::DWORD>(platform::GetWindowLongA(hwnd, platform::GWL_STYLE)) &
          bits) != 0;
}

int IntOf(const Value& value) {
  if (auto v = value.get_if<std::int32_t>()) return *v;
  if (auto v = value.get_if<std::int64_t>()) return static_cast<int>(*v);
  if (auto v = value.get_if<std::int16_t>()) return *v;
  if (auto v = value.get_if<std::uint8_t>()) return *v;
  if (auto v = value.get_if<bool>()) return *v ? 1 : 0;
  if (auto v = value.get_if<double>()) return static_cast<int>(*v);
  if (auto v = value.get_if<float>()) return static_cast<int>(*v);
  if (auto v = value.get_if<Text>()) return std::atoi(v->c_str());
  return 0;
}

Text TextOf(const Value& value) {
  if (auto v = value.get_if<Text>()) return *v;
  if (auto v = value.get_if<Bytes>()) return Text(v->begin(), v->end());
  return std::to_string(IntOf(value));
}

Bytes BytesOf(const Value& value) {
  if (auto v = value.get_if<Bytes>()) return *v;
  if (auto v = value.get_if<Text>()) return Bytes(v->begin(), v->end());
  return {};
}

}  // namespace

Value GetProperty(const ControlRef& ref, int index) {
  Target t = Resolve(ref, Access::ReadProperty);
  if (index >= 0 && index <= 7) {
    if (t.menu != nullptr) {
      if (index == property::kVisible) return Value::Bool(t.menu->visible);
      if (index == property::kEnabled) return Value::Bool(t.menu->enabled);
      if (index == property::kCaption) return Value::FromText(t.menu->item->caption);
      return Value::Int(0);
    }
    switch (index) {
      case property::kLeft:
        return Value::Int(Rectangle(t).left);
      case property::kTop:
        return Value::Int(Rectangle(t).top);
      case property::kWidth: {
        platform::RECT r = Rectangle(t);
        return Value::Int(r.right - r.left);
      }
      case property::kHeight: {
        platform::RECT r = Rectangle(t);
        return Value::Int(r.bottom - r.top);
      }
      case property::kVisible:
        return Value::Bool(StyleHas(t.hwnd, platform::WS_VISIBLE));
      case property::kEnabled:
        return Value::Bool(!StyleHas(t.hwnd, platform::WS_DISABLED));
      case property::kTag:
        return Value::Int(t.control != nullptr ? t.control->tag : t.window->tag);
      default:
        return Value::FromText(GetText(ref));
    }
  }
  switch (t.kind()) {
    case ControlKind::TreeBox:
      if (index == property::kTreeCurrentItem) return Value::Int(GetCurrentItem(ref));
      if (index == property::kTreeContent) return Value::FromBytes(GetTreeContent(ref));
      if (index == property::kTreeEditedLabel) return Value::FromText(GetEditedLabel(ref));
      if (index == property::kTreeLabelEditing) {
        return Value::Bool(StyleHas(t.hwnd, platform::TVS_EDITLABELS));
      }
      break;
    case ControlKind::ListView:
      if (index == property::kListCurrentRow) return Value::Int(GetCurrentRow(ref));
      break;
    case ControlKind::RichEdit:
      if (index == property::kRichEditText) return Value::FromText(GetText(ref));
      if (index == property::kRichEditSelectionStart) {
        return Value::Int(t.control->rich_selection_start);
      }
      if (index == property::kRichEditSelectionLength) {
        return Value::Int(t.control->rich_selection_length);
      }
      break;
    default:
      break;
  }
  return Value();
}

void SetProperty(const ControlRef& ref, int index, const Value& value) {
  if (index >= 0 && index <= 7) {
    Target t = Resolve(ref, Access::WriteCommonProperty);
    switch (index) {
      case property::kLeft:
      case property::kTop:
      case property::kWidth:
      case property::kHeight:
        if (t.hwnd != 0) SetRectangle(t, index, IntOf(value));
        return;
      case property::kVisible:
        SetVisible(ref, IntOf(value) != 0);
        return;
      case property::kEnabled:
        SetEnabled(ref, IntOf(value) != 0);
        return;
      case property::kTag:
        (t.control != nullptr ? t.control->tag : t.window->tag) = IntOf(value);
        return;
      default:
        SetText(ref, TextOf(value));
        return;
    }
  }
  Target t = Resolve(ref, Access::WriteOwnProperty);
  switch (t.kind()) {
    case ControlKind::TreeBox:
      if (index == property::kTreeLabelEditing) SetTreeLabelEditing(ref, IntOf(value) != 0);
      if (index == property::kTreeCurrentItem) SetCurrentItem(ref, IntOf(value));
      if (index == property::kTreeContent) SetTreeContent(ref, BytesOf(value));
      return;
    case ControlKind::RichEdit:
      if (index == property::kRichEditText) SetText(ref, TextOf(value));
      if (index == property::kRichEditSelectionStart) SetSelectionStart(ref, IntOf(value));
      if (index == property::kRichEditSelectionLength) SetSelectionLength(ref, IntOf(value));
      return;
    default:
      return;
  }
}

int GetLeft(const ControlRef& c) {
  return IntOf(GetProperty(c, property::kLeft));
}
int GetTop(const ControlRef& c) {
  return IntOf(GetProperty(c, property::kTop));
}
int GetWidth(const ControlRef& c) {
  return IntOf(GetProperty(c, property::kWidth));
}
int GetHeight(const ControlRef& c) {
  return IntOf(GetProperty(c, property::kHeight));
}

bool IsVisible(const ControlRef& ref) {
  return IntOf(GetProperty(ref, property::kVisible)) != 0;
}

void SetVisible(const ControlRef& ref, bool visible) {
  Target t = Resolve(ref, Access::WriteCommonProperty);
  if (t.menu != nullptr) {
    t.menu->visible = visible;
    return;
  }
  platform::ShowWindow(t.hwnd, visible ? platform::SW_SHOW : platform::SW_HIDE);
}

bool IsEnabled(const ControlRef& ref) {
  return IntOf(GetProperty(ref, property::kEnabled)) != 0;
}

void SetEnabled(const ControlRef& ref, bool enabled) {
  Target t = Resolve(ref, Access::WriteCommonProperty);
  if (t.menu != nullptr) {
    t.menu->enabled = enabled;
    return;
  }
  platform::EnableWindow(t.hwnd, enabled ? platform::TRUE : platform::FALSE);
}

Text GetText(const ControlRef& ref) {
  Target t = Resolve(ref, Access::ReadProperty);
  if (t.menu != nullptr) return t.menu->item->caption;
  switch (t.kind()) {
    case ControlKind::TreeBox:
    case ControlKind::ListView:
    case ControlKind::SplitterBar:
      return {};
    case ControlKind::ComboBox: {
      const auto index = platform::SendMessageA(t.hwnd, platform::CB_GETCURSEL, 0, 0);
      return index < 0 ? Text() : ComboItemText(ref, static_cast<int>(index));
    }
    default:
      return platform::GetWindowTextString(t.hwnd);
  }
}

namespace {

struct StreamSource {
  const Text* text = nullptr;
  std::size_t position = 0;
};

platform::DWORD ReadStream(platform::DWORD_PTR cookie, platform::LPBYTE buffer, platform::LONG cb,
                           platform::LONG* pcb) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  const std::size_t left = source->text->size() - source->position;
  const std::size_t n = std::min(left, static_cast<std::size_t>(cb > 0 ? cb : 0));
  std::copy_n(source->text->data() + source->position, n, buffer);
  source->position += n;
  *pcb = static_cast<platform::LONG>(n);
  return 0;
}

}  // namespace

void SetText(const ControlRef& ref, const Text& text) {
  Target t = Resolve(ref, Access::WriteOwnProperty);
  if (t.menu != nullptr) return;
  switch (t.kind()) {
    case ControlKind::TreeBox:
    case ControlKind::ListView:
    case ControlKind::SplitterBar:
    case ControlKind::ComboBox:
      return;
    case ControlKind::RichEdit: {
      // The page is plain text, so it is streamed in as such.
      StreamSource source{&text, 0};
      platform::EDITSTREAM stream;
      stream.dwCookie = reinterpret_cast<platform::DWORD_PTR>(&source);
      stream.pfnCallback = &ReadStream;
      platform::SendMessageA(t.hwnd, platform::EM_STREAMIN, platform::SF_TEXT,
                             reinterpret_cast<platform::LPARAM>(&stream));
      return;
    }
    default:
      platform::SetWindowTextA(t.hwnd, text.c_str());
      return;
  }
}

bool IsChecked(const ControlRef& ref) {
  Target t = ResolveKind(ref, Access::ReadProperty, ControlKind::CheckBox);
  return platform::SendMessageA(t.hwnd, platform::BM_GETCHECK, 0, 0) == platform::BST_CHECKED;
}

void SetChecked(const ControlRef& ref, bool checked) {
  Target t = ResolveKind(ref, Access::WriteOwnProperty, ControlKind::CheckBox);
  platform::SendMessageA(t.hwnd, platform::BM_SETCHECK,
                         checked ? platform::BST_CHECKED : platform::BST_UNCHECKED, 0);
}

int GetInputMode(const ControlRef& ref) {
  Target t = ResolveKind(ref, Access::ReadProperty, ControlKind::EditBox);
  return StyleHas(t.hwnd, platform::ES_READONLY) ? 1 : 0;
}

void SetInputMode(const ControlRef& ref, int mode) {
  Target t = ResolveKind(ref, Access::WriteOwnProperty, ControlKind::EditBox);
  platform::SendMessageA(t.hwnd, platform::EM_SETREADONLY, mode == 1 ? 1 : 0, 0);
}

int GetCurrentPage(const ControlRef& ref) {
  Target t = ResolveKind(ref, Access::ReadProperty, ControlKind::TabControl);
  return static_cast<int>(platform::SendMessageA(t.hwnd, platform::TCM_GETCURSEL, 0, 0));
}

void SetCurrentPage(const ControlRef& ref, int page) {
  Target t = ResolveKind(ref, Access::WriteOwnProperty, ControlKind::TabControl);
  if (page < 0 || page >= static_cast<int>(t.control->pages.size())) return;
  platform::SendMessageA(t.hwnd, platform::TCM_SETCURSEL, page, 0);
  detail::ShowTabPage(*t.control);
}

int GetComboIndex(const ControlRef& ref) {
  Target t = ResolveKind(ref, Access::ReadProperty, ControlKind::ComboBox);
  return static_cast<int>(platform::SendMessageA(t.hwnd, platform::CB_GETCURSEL, 0, 0));
}

void SetComboIndex(const ControlRef& ref, int index) {
  Target t = ResolveKind(ref, Access::WriteOwnProperty, ControlKind::ComboBox);
  platform::SendMessageA(t.hwnd, platform::CB_SETCURSEL, static_cast<platform::WPARAM>(index), 0);
}

int GetWindowState(WindowId window) {
  Target t = ResolveKind({window, {}}, Access::ReadProperty, ControlKind::Window);
  if (platform::IsZoomed(t.hwnd)) return kWindowMaximised;
  if (platform::IsIconic(t.hwnd)) return kWindowMinimised;
  return kWindowNormal;
}

void SetWindowState(WindowId window, int state) {
  Target t = ResolveKind({window, {}}, Access::WriteOwnProperty, ControlKind::Window);
  const int command = state == kWindowMaximised   ? platform::SW_MAXIMIZE
                      : state == kWindowMinimised ? platform::SW_MINIMIZE
                                                  : platform::SW_RESTORE;
  platform::ShowWindow(t.hwnd, command);
}

}  // namespace kelmor
