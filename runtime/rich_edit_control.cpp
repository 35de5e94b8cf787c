#include "runtime/rich_edit_control.h"

#include <algorithm>

#include "platform/commctrl.h"
#include "platform/page_print.h"
#include "platform/rich_edit.h"
#include "platform/window.h"
#include "runtime/window_registry.h"

namespace kelmor {

using detail::Access;
using detail::ResolveKind;
using detail::Target;

namespace {

void ApplySelection(const Target& t) {
  const int start = t.control->rich_selection_start;
  const int length = t.control->rich_selection_length;
  platform::CHARRANGE range;
  if (length < 0) {
    range.cpMin = 0;
    range.cpMax = -1;
  } else {
    range.cpMin = start;
    range.cpMax = start + length;
  }
  platform::SendMessageA(t.hwnd, platform::EM_EXSETSEL, 0,
                         reinterpret_cast<platform::LPARAM>(&range));
}

bool SetCharFormat(const ControlRef& rich, const CharFormat& format, platform::WPARAM scope) {
  Target t = ResolveKind(rich, Access::Command, ControlKind::RichEdit);
  platform::CHARFORMATA record = ToCharFormatA(format);
  return platform::SendMessageA(t.hwnd, platform::EM_SETCHARFORMAT, scope,
                                reinterpret_cast<platform::LPARAM>(&record)) != 0;
}

}  // namespace

void SetSelectionStart(const ControlRef& rich, int start) {
  Target t = ResolveKind(rich, Access::WriteOwnProperty, ControlKind::RichEdit);
  t.control->rich_selection_start = std::max(start, 0);
  ApplySelection(t);
}

void SetSelectionLength(const ControlRef& rich, int length) {
  Target t = ResolveKind(rich, Access::WriteOwnProperty, ControlKind::RichEdit);
  t.control->rich_selection_length = std::max(length, -1);
  ApplySelection(t);
}

bool SetDefaultCharFormat(const ControlRef& rich, const CharFormat& format) {
  return SetCharFormat(rich, format, platform::SCF_DEFAULT);
}

bool SetSelectionCharFormat(const ControlRef& rich, const CharFormat& format) {
  return SetCharFormat(rich, format, platform::SCF_SELECTION);
}

int FindText(const ControlRef& rich, std::optional<int> start, std::optional<bool> match_case,
             std::optional<bool> whole_word, const Text& text) {
  Target t = ResolveKind(rich, Access::Command, ControlKind::RichEdit);
  platform::WPARAM flags = platform::FR_DOWN;
  if (match_case.value_or(true)) flags |= platform::FR_MATCHCASE;
  if (whole_word.value_or(false)) flags |= platform::FR_WHOLEWORD;
  platform::FINDTEXTEXA find;
  find.chrg.cpMin = start.value_or(0);
  find.chrg.cpMax =
      static_cast<platform::LONG>(platform::SendMessageA(t.hwnd, platform::WM_GETTEXTLENGTH, 0, 0));
  find.lpstrText = text.c_str();
  find.chrgText.cpMin = 0;
  find.chrgText.cpMax = -1;
  return static_cast<int>(platform::SendMessageA(t.hwnd, platform::EM_FINDTEXTEX, flags,
                                                 reinterpret_cast<platform::LPARAM>(&find)));
}

void SetPageInfo(const ControlRef& rich, const Text& name, const Text& header) {
  Target t = ResolveKind(rich, Access::Command, ControlKind::RichEdit);
  platform::PAGEINFOA info;
  info.pszName = name.c_str();
  info.pszHeader = header.c_str();
  platform::SendMessageA(t.hwnd, platform::EM_SETPAGEINFO, 0,
                         reinterpret_cast<platform::LPARAM>(&info));
}

Text GetPageName(const ControlRef& rich) {
  Target t = ResolveKind(rich, Access::Command, ControlKind::RichEdit);
  const platform::RichEdit* page = platform::RichEdit::From(t.hwnd);
  return page == nullptr ? Text() : page->PageName();
}

platform::PrintResult PrintPage(const ControlRef& rich, const Text& file,
                                const Text& proposed_file) {
  Target t = ResolveKind(rich, Access::Command, ControlKind::RichEdit);
  return platform::PrintPage(t.hwnd, file, proposed_file);
}

}  // namespace kelmor
