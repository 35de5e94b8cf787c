#include "platform/rich_edit.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/clipboard.h"
#include "platform/keyboard.h"
#include "platform/menu.h"

namespace kelmor::platform {
namespace {

constexpr BYTE kGb2312Charset = 134;

// The page menu's commands, in the menu's order.
constexpr UINT kCopy = 1, kSelectAll = 2, kPrint = 3, kExportPdf = 4;
struct PageMenuItem {
  UINT command;
  const char* caption;  // a tab separates the key that does the same
};
constexpr PageMenuItem kPageMenu[] = {{kCopy, "复制\tCtrl+C"},
                                      {kSelectAll, "全选\tCtrl+A"},
                                      {kPrint, "打印…\tCtrl+P"},
                                      {kExportPdf, "导出PDF…"}};

// Paragraph marks become one CR each.
std::vector<GbkChar> ToChars(const std::string& bytes) {
  std::vector<GbkChar> raw = DecodeGbkChars(bytes);
  std::vector<GbkChar> out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r') {
      out.push_back('\r');
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
    } else if (raw[i] == '\n') {
      out.push_back('\r');
    } else {
      out.push_back(raw[i]);
    }
  }
  return out;
}

// A small reader for RTF: keeps the text, turns \par and \line into paragraph marks, \'hh into
// its byte, and drops control words, font and colour tables and other destinations.
std::string RtfToText(const std::string& rtf) {
  std::string out;
  std::vector<bool> skip{false};
  bool pending_destination = false;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '{') {
      skip.push_back(skip.back());
      continue;
    }
    if (c == '}') {
      if (skip.size() > 1) skip.pop_back();
      continue;
    }
    if (c == '\r' || c == '\n') continue;
    if (c != '\\') {
      if (!skip.back()) out.push_back(c);
      continue;
    }
    if (i + 1 >= rtf.size()) break;
    const char n = rtf[i + 1];
    if (n == '\\' || n == '{' || n == '}') {
      if (!skip.back()) out.push_back(n);
      ++i;
      continue;
    }
    if (n == '*') {
      skip.back() = true;
      ++i;
      continue;
    }
    if (n == '\'') {
      if (i + 3 < rtf.size() + 0 && !skip.back()) {
        const std::string hex = rtf.substr(i + 2, 2);
        out.push_back(static_cast<char>(std::strtol(hex.c_str(), nullptr, 16)));
      }
      i += 3;
      continue;
    }
    std::size_t j = i + 1;
    while (j < rtf.size() && ((rtf[j] >= 'a' && rtf[j] <= 'z') || (rtf[j] >= 'A' && rtf[j] <= 'Z')))
      ++j;
    const std::string word = rtf.substr(i + 1, j - i - 1);
    while (j < rtf.size() && (rtf[j] == '-' || (rtf[j] >= '0' && rtf[j] <= '9'))) ++j;
    if (j < rtf.size() && rtf[j] == ' ') ++j;
    i = j - 1;
    if (word.empty()) continue;
    if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info" ||
        word == "pict") {
      skip.back() = true;
    } else if ((word == "par" || word == "line") && !skip.back()) {
      out.push_back('\r');
    } else if (word == "tab" && !skip.back()) {
      out.push_back('\t');
    }
    (void)pending_destination;
  }
  return out;
}

bool IsWordChar(GbkChar c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// Between two characters there is a word boundary unless both are ASCII word characters; a
// double-byte character is a word of its own.
bool Boundary(GbkChar before, GbkChar after) {
  return !(IsWordChar(before) && IsWordChar(after));
}

GbkChar FoldChar(GbkChar c) {
  return (c >= 'a' && c <= 'z') ? static_cast<GbkChar>(c - 32) : c;
}

}  // namespace

std::shared_ptr<WindowObject> MakeRichEdit() {
  return std::make_shared<RichEdit>();
}

RichEdit::RichEdit() {
  default_.face = "宋体";
  default_.height = 180;  // 9 points
  default_.effects = CFE_AUTOCOLOR;
  default_.charset = kGb2312Charset;
}

std::string RichEdit::Text() const {
  std::string out;
  out.reserve(chars_.size() * 2);
  for (GbkChar c : chars_) AppendGbkChar(out, c);
  return out;
}

RichEditFormat RichEdit::FormatAt(LONG pos) const {
  if (pos < 0 || pos >= Length()) return default_;
  const int f = formats_[static_cast<std::size_t>(pos)];
  return f < 0 ? default_ : table_[static_cast<std::size_t>(f)];
}

std::vector<RichEditRun> RichEdit::FormatRuns() const {
  std::vector<RichEditRun> runs;
  for (LONG i = 0; i < Length(); ++i) {
    const int f = formats_[static_cast<std::size_t>(i)];
    const RichEditFormat eff = FormatAt(i);
    if (!runs.empty() && runs.back().is_default == (f < 0) && runs.back().format == eff) {
      ++runs.back().length;
      continue;
    }
    runs.push_back(RichEditRun{i, 1, f < 0, eff});
  }
  return runs;
}

void RichEdit::Merge(RichEditFormat& f, const CHARFORMATA& cf) {
  constexpr DWORD kEffectBits =
      CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;
  const DWORD bits = cf.dwMask & kEffectBits;
  f.effects = (f.effects & ~bits) | (cf.dwEffects & bits);
  if (cf.dwMask & CFM_COLOR) {
    if (cf.dwEffects & CFE_AUTOCOLOR) {
      f.effects |= CFE_AUTOCOLOR;
    } else {
      f.effects &= ~CFE_AUTOCOLOR;
      f.colour = cf.crTextColor;
    }
  }
  if (cf.dwMask & CFM_SIZE) f.height = cf.yHeight;
  if (cf.dwMask & CFM_OFFSET) f.offset = cf.yOffset;
  if (cf.dwMask & CFM_FACE) {
    f.face.assign(cf.szFaceName, strnlen(cf.szFaceName, LF_FACESIZE - 1));
    f.pitch_and_family = cf.bPitchAndFamily;
  }
  if (cf.dwMask & CFM_CHARSET) f.charset = cf.bCharSet;
}

void RichEdit::Fill(const RichEditFormat& f, CHARFORMATA& cf) {
  cf.dwMask = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_OFFSET | CFM_CHARSET;
  cf.dwEffects = f.effects;
  cf.yHeight = f.height;
  cf.yOffset = f.offset;
  cf.crTextColor = f.colour;
  cf.bCharSet = f.charset;
  cf.bPitchAndFamily = f.pitch_and_family;
  std::memset(cf.szFaceName, 0, sizeof cf.szFaceName);
  std::memcpy(cf.szFaceName, f.face.data(), std::min<std::size_t>(f.face.size(), LF_FACESIZE - 1));
}

int RichEdit::Intern(const RichEditFormat& f) {
  for (std::size_t i = 0; i < table_.size(); ++i) {
    if (table_[i] == f) return static_cast<int>(i);
  }
  table_.push_back(f);
  return static_cast<int>(table_.size() - 1);
}

void RichEdit::TextChanged() {
  Changed(WindowChange::Text);
  if (event_mask_ & ENM_CHANGE) CommandParent(EN_CHANGE);
}

LRESULT RichEdit::SetZoom(WPARAM numerator, LPARAM denominator) {
  const auto n = static_cast<long long>(static_cast<LONG_PTR>(numerator));
  const auto d = static_cast<long long>(denominator);
  // EM_GETZOOM answers in ints: a term they cannot hold is refused, never stored cut.
  constexpr long long kLargestTerm = std::numeric_limits<int>::max();
  const bool off = n == 0 && d == 0;
  if (!off && !(n > 0 && d > 0 && n <= kLargestTerm && d <= kLargestTerm && n * 64 > d &&
                n < d * 64))
    return FALSE;
  if (n != zoom_num_ || d != zoom_den_) {
    zoom_num_ = static_cast<int>(n);
    zoom_den_ = static_cast<int>(d);
    Changed(WindowChange::Content);
  }
  return TRUE;
}

void RichEdit::ZoomStep(int steps) {
  constexpr int kStep = 10, kLeast = 10, kMost = 500;  // percent
  const int now = static_cast<int>(Zoom() * 100 + 0.5);
  // From a zoom between two steps the first step lands on the next one.
  const int base = steps > 0 ? now / kStep * kStep : (now + kStep - 1) / kStep * kStep;
  const int percent = std::clamp(base + steps * kStep, kLeast, kMost);
  SetZoom(static_cast<WPARAM>(percent), 100);
}

LRESULT RichEdit::KeyDown(WPARAM key) {
  if (GetKeyState(VK_CONTROL) >= 0) return 0;
  if (key == VK_OEM_PLUS || key == VK_ADD) ZoomStep(1);
  if (key == VK_OEM_MINUS || key == VK_SUBTRACT) ZoomStep(-1);
  if (key == VK_0 || key == VK_NUMPAD0) SetZoom(1, 1);
  if (key == 'C') RunCommand(kCopy);
  if (key == 'A') RunCommand(kSelectAll);
  if (key == 'P') RunCommand(kPrint);
  return 0;
}

LRESULT RichEdit::SetPageInfo(const PAGEINFOA* info) {
  page_name_ = info != nullptr && info->pszName != nullptr ? info->pszName : "";
  page_header_ = info != nullptr && info->pszHeader != nullptr ? info->pszHeader : "";
  return TRUE;
}

LRESULT RichEdit::Copy() const {
  if (sel_min_ < sel_max_) {
    std::string text;
    for (LONG i = sel_min_; i < sel_max_; ++i) {
      const GbkChar c = chars_[static_cast<std::size_t>(i)];
      if (c == '\r') {
        text += "\r\n";
      } else {
        AppendGbkChar(text, c);
      }
    }
    SetClipboardTextA(text);
  }
  return 0;
}

bool RichEdit::CommandEnabled(UINT command) const {
  switch (command) {
    case kCopy:
      return sel_min_ < sel_max_;
    case kSelectAll:
      return Length() > 0;
    case kPrint:
    case kExportPdf:
      return Printable();
    default:
      return false;
  }
}

void RichEdit::RunCommand(UINT command) {
  if (!CommandEnabled(command)) return;
  switch (command) {
    case kCopy:
      SendMessageA(hwnd, WM_COPY, 0, 0);
      break;
    case kSelectAll:
      SendMessageA(hwnd, EM_SETSEL, 0, -1);
      break;
    case kPrint:
      CommandParent(EN_PRINTPAGE);
      break;
    case kExportPdf:
      CommandParent(EN_EXPORTPDF);
      break;
    default:
      break;
  }
}

LRESULT RichEdit::RightButtonUp(LPARAM client_point) {
  POINT at{GET_X_LPARAM(client_point), GET_Y_LPARAM(client_point)};
  ClientToScreen(hwnd, &at);
  SendMessageA(hwnd, WM_CONTEXTMENU, hwnd,
               MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
  return 0;
}

// From the keys (no position) the menu opens at the page's top left corner.
LRESULT RichEdit::ContextMenu(WPARAM window, LPARAM screen_point) {
  if (static_cast<HWND>(window) != hwnd) return 0;
  POINT at{0, 0};
  if (screen_point == -1) {
    ClientToScreen(hwnd, &at);
  } else {
    at = POINT{GET_X_LPARAM(screen_point), GET_Y_LPARAM(screen_point)};
  }
  const HMENU menu = CreatePopupMenu();
  for (const PageMenuItem& item : kPageMenu) {
    AppendMenuA(menu, MF_STRING | (CommandEnabled(item.command) ? MF_ENABLED : MF_GRAYED),
                item.command, item.caption);
  }
  // The menu belongs to the page's window, where assistive technology looks for it.
  HWND top = hwnd;
  while (GetParent(top) != 0 && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
  const auto chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, top, nullptr));
  DestroyMenu(menu);
  RunCommand(chosen);
  return 0;
}

LRESULT RichEdit::Wheel(WPARAM wParam) {
  if ((LOWORD(wParam) & MK_CONTROL) == 0) return 0;
  // Fine wheels and touchpads turn in parts of a notch: the parts add up to whole steps, and a
  // turn the other way starts afresh.
  const int delta = static_cast<short>(HIWORD(wParam));
  if ((delta < 0) != (wheel_rest_ < 0)) wheel_rest_ = 0;
  wheel_rest_ += delta;
  const int notches = wheel_rest_ / WHEEL_DELTA;
  wheel_rest_ %= WHEEL_DELTA;
  if (notches != 0) ZoomStep(notches);
  return 0;
}

void RichEdit::Replace(LONG from, LONG to, const std::vector<GbkChar>& with, int format) {
  from = std::clamp<LONG>(from, 0, Length());
  to = std::clamp<LONG>(to, from, Length());
  chars_.erase(chars_.begin() + from, chars_.begin() + to);
  formats_.erase(formats_.begin() + from, formats_.begin() + to);
  chars_.insert(chars_.begin() + from, with.begin(), with.end());
  formats_.insert(formats_.begin() + from, with.size(), format);
  sel_min_ = sel_max_ = from + static_cast<LONG>(with.size());
}

void RichEdit::SetSel(LONG a, LONG b) {
  if (a < 0) {
    sel_min_ = sel_max_ = Length();
  } else {
    if (b < 0 || b > Length()) b = Length();
    a = std::min(a, Length());
    if (a > b) std::swap(a, b);
    sel_min_ = a;
    sel_max_ = b;
  }
  insertion_format_ = -1;
  Changed(WindowChange::Selection);
}

LONG RichEdit::Find(WPARAM flags, CHARRANGE range, const char* what, CHARRANGE* found) const {
  if (found) *found = CHARRANGE{-1, -1};
  if (what == nullptr) return -1;
  const std::vector<GbkChar> needle = ToChars(what);
  if (needle.empty()) return -1;
  LONG lo = range.cpMin;
  LONG hi = range.cpMax < 0 ? Length() : range.cpMax;
  const bool down = (flags & FR_DOWN) != 0;
  if (!down && range.cpMax < 0) hi = 0;
  if (lo > hi) std::swap(lo, hi);
  lo = std::clamp<LONG>(lo, 0, Length());
  hi = std::clamp<LONG>(hi, 0, Length());
  const LONG m = static_cast<LONG>(needle.size());
  auto matches = [&](LONG s) {
    for (LONG k = 0; k < m; ++k) {
      GbkChar a = chars_[static_cast<std::size_t>(s + k)];
      GbkChar b = needle[static_cast<std::size_t>(k)];
      if (!(flags & FR_MATCHCASE)) {
        a = FoldChar(a);
        b = FoldChar(b);
      }
      if (a != b) return false;
    }
    if (flags & FR_WHOLEWORD) {
      const LONG e = s + m;
      if (s > 0 &&
          !Boundary(chars_[static_cast<std::size_t>(s - 1)], chars_[static_cast<std::size_t>(s)]))
        return false;
      if (e < Length() &&
          !Boundary(chars_[static_cast<std::size_t>(e - 1)], chars_[static_cast<std::size_t>(e)]))
        return false;
    }
    return true;
  };
  if (hi - lo < m) return -1;
  if (down) {
    for (LONG s = lo; s + m <= hi; ++s) {
      if (matches(s)) {
        if (found) *found = CHARRANGE{s, s + m};
        return s;
      }
    }
  } else {
    for (LONG s = hi - m; s >= lo; --s) {
      if (matches(s)) {
        if (found) *found = CHARRANGE{s, s + m};
        return s;
      }
    }
  }
  return -1;
}

// The text with every paragraph mark as CR LF, as WM_GETTEXT and EM_STREAMOUT give it.
std::string RichEdit::TextWithLineBreaks() const {
  std::string text;
  for (GbkChar c : chars_) {
    if (c == '\r') {
      text += "\r\n";
    } else {
      AppendGbkChar(text, c);
    }
  }
  return text;
}

std::string RichEdit::TextOf(LONG from, LONG to) const {
  std::string t;
  for (LONG i = from; i < to; ++i) AppendGbkChar(t, chars_[static_cast<std::size_t>(i)]);
  return t;
}

void RichEdit::ResetText(std::vector<GbkChar> chars) {
  chars_ = std::move(chars);
  formats_.assign(chars_.size(), -1);
  sel_min_ = sel_max_ = 0;
  // A new text is no longer the page that was named.
  page_name_.clear();
  page_header_.clear();
}

// Typed or pasted text takes the insertion format, else the format of the character before it.
void RichEdit::ReplaceSelectionTyped(const std::vector<GbkChar>& in) {
  int f = insertion_format_;
  if (f < 0 && sel_min_ > 0) f = formats_[static_cast<std::size_t>(sel_min_ - 1)];
  Replace(sel_min_, sel_max_, in, f);
  TextChanged();
}

LRESULT RichEdit::SetText(LPARAM text) {
  ResetText(ToChars(text ? reinterpret_cast<const char*>(text) : ""));
  TextChanged();
  return TRUE;
}

LRESULT RichEdit::GetText(WPARAM size, LPARAM buffer) const {
  if (size == 0 || buffer == 0) return 0;
  char* out = reinterpret_cast<char*>(buffer);
  const std::string text = TextWithLineBreaks();
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT RichEdit::StreamIn(WPARAM format, EDITSTREAM* es) {
  if (es == nullptr || es->pfnCallback == nullptr) return 0;
  std::string bytes;
  BYTE buffer[4096];
  es->dwError = 0;
  for (;;) {
    LONG got = 0;
    const DWORD err = es->pfnCallback(es->dwCookie, buffer, sizeof buffer, &got);
    if (err != 0) {
      es->dwError = err;
      break;
    }
    if (got <= 0) break;
    bytes.append(reinterpret_cast<const char*>(buffer),
                 static_cast<std::size_t>(std::min<LONG>(got, sizeof buffer)));
  }
  if (format & SF_RTF) bytes = RtfToText(bytes);
  const std::vector<GbkChar> in = ToChars(bytes);
  if (format & SFF_SELECTION) {
    const int f = sel_min_ > 0 ? formats_[static_cast<std::size_t>(sel_min_ - 1)] : -1;
    Replace(sel_min_, sel_max_, in, f);
  } else {
    ResetText(in);
  }
  TextChanged();
  return static_cast<LRESULT>(in.size());
}

LRESULT RichEdit::StreamOut(EDITSTREAM* es) const {
  if (es == nullptr || es->pfnCallback == nullptr) return 0;
  std::string text = TextWithLineBreaks();
  LONG done = 0;
  es->dwError = es->pfnCallback(es->dwCookie, reinterpret_cast<LPBYTE>(text.data()),
                                static_cast<LONG>(text.size()), &done);
  return done;
}

LRESULT RichEdit::SetSelMessage(WPARAM from, LPARAM to) {
  SetSel(static_cast<LONG>(static_cast<LONG_PTR>(from)), static_cast<LONG>(to));
  return 0;
}

LRESULT RichEdit::ExSetSel(const CHARRANGE* r) {
  if (r != nullptr) SetSel(r->cpMin, r->cpMax);
  return sel_max_;
}

LRESULT RichEdit::ExGetSel(CHARRANGE* r) const {
  if (r) *r = CHARRANGE{sel_min_, sel_max_};
  return 0;
}

LRESULT RichEdit::GetSel(WPARAM min, LPARAM max) const {
  if (min) *reinterpret_cast<DWORD*>(min) = static_cast<DWORD>(sel_min_);
  if (max) *reinterpret_cast<DWORD*>(max) = static_cast<DWORD>(sel_max_);
  return MAKELPARAM(static_cast<WORD>(sel_min_), static_cast<WORD>(sel_max_));
}

LRESULT RichEdit::ReplaceSel(LPARAM text) {
  ReplaceSelectionTyped(ToChars(text ? reinterpret_cast<const char*>(text) : ""));
  return 0;
}

LRESULT RichEdit::GetSelText(LPARAM buffer) const {
  if (buffer == 0) return 0;
  const std::string t = TextOf(sel_min_, sel_max_);
  std::memcpy(reinterpret_cast<char*>(buffer), t.c_str(), t.size() + 1);
  return static_cast<LRESULT>(t.size());
}

LRESULT RichEdit::GetTextRange(TEXTRANGEA* tr) const {
  if (tr == nullptr || tr->lpstrText == nullptr) return 0;
  LONG a = std::clamp<LONG>(tr->chrg.cpMin, 0, Length());
  LONG b = tr->chrg.cpMax < 0 ? Length() : std::clamp<LONG>(tr->chrg.cpMax, a, Length());
  const std::string t = TextOf(a, b);
  std::memcpy(tr->lpstrText, t.c_str(), t.size() + 1);
  return static_cast<LRESULT>(t.size());
}

void RichEdit::MergeInto(LONG from, LONG to, const CHARFORMATA& cf) {
  for (LONG i = from; i < to; ++i) {
    RichEditFormat f = FormatAt(i);
    Merge(f, cf);
    formats_[static_cast<std::size_t>(i)] = Intern(f);
  }
}

LRESULT RichEdit::SetCharFormat(WPARAM scope, const CHARFORMATA* cf) {
  if (cf == nullptr || cf->cbSize < sizeof(CHARFORMATA)) return 0;
  if (scope == SCF_DEFAULT) {
    Merge(default_, *cf);
  } else if (scope & SCF_ALL) {
    MergeInto(0, Length(), *cf);
  } else if (scope & SCF_SELECTION) {
    if (sel_min_ == sel_max_) {
      RichEditFormat f = sel_min_ > 0 ? FormatAt(sel_min_ - 1) : default_;
      Merge(f, *cf);
      insertion_format_ = Intern(f);
    }
    MergeInto(sel_min_, sel_max_, *cf);
  } else {
    return 0;
  }
  Changed(WindowChange::Content);
  return TRUE;
}

// Over a selection the mask keeps only what all its characters share.
LRESULT RichEdit::GetCharFormat(WPARAM scope, CHARFORMATA* cf) const {
  if (cf == nullptr || cf->cbSize < sizeof(CHARFORMATA)) return 0;
  if (scope == SCF_DEFAULT || sel_min_ == sel_max_) {
    Fill(scope == SCF_DEFAULT ? default_ : FormatAt(sel_min_ > 0 ? sel_min_ - 1 : 0), *cf);
    if (scope != SCF_DEFAULT && Length() == 0) Fill(default_, *cf);
    return cf->dwMask;
  }
  const RichEditFormat first = FormatAt(sel_min_);
  Fill(first, *cf);
  for (LONG i = sel_min_ + 1; i < sel_max_; ++i) {
    const RichEditFormat f = FormatAt(i);
    if (f.face != first.face) cf->dwMask &= ~CFM_FACE;
    if (f.height != first.height) cf->dwMask &= ~CFM_SIZE;
    if (f.offset != first.offset) cf->dwMask &= ~CFM_OFFSET;
    if (f.charset != first.charset) cf->dwMask &= ~CFM_CHARSET;
    if (f.colour != first.colour || ((f.effects ^ first.effects) & CFE_AUTOCOLOR))
      cf->dwMask &= ~CFM_COLOR;
    cf->dwMask &= ~((f.effects ^ first.effects) & (CFM_EFFECTS & ~CFM_COLOR));
  }
  return cf->dwMask;
}

LRESULT RichEdit::FindTextEx(WPARAM flags, FINDTEXTEXA* ft) const {
  if (ft == nullptr) return -1;
  return Find(flags, ft->chrg, ft->lpstrText, &ft->chrgText);
}

LRESULT RichEdit::FindText(WPARAM flags, const FINDTEXTA* ft) const {
  if (ft == nullptr) return -1;
  return Find(flags, ft->chrg, ft->lpstrText, nullptr);
}

LRESULT RichEdit::SetReadOnly(WPARAM on) {
  const DWORD old = style;
  style = on ? (style | ES_READONLY) : (style & ~ES_READONLY);
  if (old != style) Changed(WindowChange::Style);
  return TRUE;
}

LRESULT RichEdit::SetBackgroundColour(WPARAM use_system, LPARAM colour) {
  const COLORREF old = background_;
  system_background_ = use_system != 0;
  if (!system_background_) background_ = static_cast<COLORREF>(colour);
  Changed(WindowChange::Content);
  return old;
}

LRESULT RichEdit::SetEventMask(LPARAM mask) {
  const DWORD old = event_mask_;
  event_mask_ = static_cast<DWORD>(mask);
  return old;
}

LRESULT RichEdit::LineFromChar(LPARAM pos) const {
  const LONG end = std::clamp<LONG>(static_cast<LONG>(pos), 0, Length());
  return std::count(chars_.begin(), chars_.begin() + end, static_cast<GbkChar>('\r'));
}

LRESULT RichEdit::LineCount() const {
  return 1 + std::count(chars_.begin(), chars_.end(), static_cast<GbkChar>('\r'));
}

LRESULT RichEdit::Char(WPARAM ch) {
  if (style & ES_READONLY) return 0;
  std::vector<GbkChar> in;
  if (ch == VK_BACK) {
    if (sel_min_ == sel_max_ && sel_min_ > 0) --sel_min_;
  } else if (ch == VK_RETURN) {
    in.push_back('\r');
  } else if (ch >= 0x20) {
    in.push_back(static_cast<GbkChar>(ch));
  } else {
    return 0;
  }
  ReplaceSelectionTyped(in);
  return 0;
}

LRESULT RichEdit::ButtonDown() {
  SetFocus(hwnd);
  return 0;
}

LRESULT RichEdit::GetZoom(WPARAM numerator, LPARAM denominator) const {
  if (numerator) *reinterpret_cast<int*>(numerator) = zoom_num_;
  if (denominator) *reinterpret_cast<int*>(denominator) = zoom_den_;
  return TRUE;
}

LRESULT RichEdit::ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETTEXT:
      return SetText(lParam);
    case WM_GETTEXT:
      return GetText(wParam, lParam);
    case WM_GETTEXTLENGTH:
      return Length();
    case EM_STREAMIN:
      return StreamIn(wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_STREAMOUT:
      return StreamOut(reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_EXSETSEL:
      return ExSetSel(reinterpret_cast<const CHARRANGE*>(lParam));
    case EM_SETSEL:
      return SetSelMessage(wParam, lParam);
    case EM_EXGETSEL:
      return ExGetSel(reinterpret_cast<CHARRANGE*>(lParam));
    case EM_GETSEL:
      return GetSel(wParam, lParam);
    case EM_REPLACESEL:
      return ReplaceSel(lParam);
    case EM_GETSELTEXT:
      return GetSelText(lParam);
    case EM_GETTEXTRANGE:
      return GetTextRange(reinterpret_cast<TEXTRANGEA*>(lParam));
    case EM_SETCHARFORMAT:
      return SetCharFormat(wParam, reinterpret_cast<const CHARFORMATA*>(lParam));
    case EM_GETCHARFORMAT:
      return GetCharFormat(wParam, reinterpret_cast<CHARFORMATA*>(lParam));
    case EM_FINDTEXTEX:
      return FindTextEx(wParam, reinterpret_cast<FINDTEXTEXA*>(lParam));
    case EM_FINDTEXT:
      return FindText(wParam, reinterpret_cast<const FINDTEXTA*>(lParam));
    case EM_SETREADONLY:
      return SetReadOnly(wParam);
    case EM_SETBKGNDCOLOR:
      return SetBackgroundColour(wParam, lParam);
    case EM_SETEVENTMASK:
      return SetEventMask(lParam);
    case EM_GETEVENTMASK:
      return event_mask_;
    case EM_EXLIMITTEXT:
      return TRUE;
    case EM_SETTARGETDEVICE:
      return TRUE;
    case EM_HIDESELECTION:
      return TRUE;
    case EM_EXLINEFROMCHAR:
      return LineFromChar(lParam);
    case EM_GETLINECOUNT:
      return LineCount();
    case WM_CHAR:
      return Char(wParam);
    case WM_LBUTTONDOWN:
      return ButtonDown();
    // Reached by Tab, a page keeps its selection (no DLGC_HASSETSEL).
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      return KeyDown(wParam);
    case WM_MOUSEWHEEL:
      return Wheel(wParam);
    case EM_SETZOOM:
      return SetZoom(wParam, lParam);
    case EM_GETZOOM:
      return GetZoom(wParam, lParam);
    case EM_SETPAGEINFO:
      return SetPageInfo(reinterpret_cast<const PAGEINFOA*>(lParam));
    case WM_COPY:
      return Copy();
    case WM_RBUTTONDOWN:
      return ButtonDown();
    case WM_RBUTTONUP:
      return RightButtonUp(lParam);
    case WM_CONTEXTMENU:
      return ContextMenu(wParam, lParam);
    default:
      return WindowObject::ClassProc(msg, wParam, lParam);
  }
}

}  // namespace kelmor::platform
