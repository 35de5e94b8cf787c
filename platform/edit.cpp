// The edit box ("Edit"): single- or multi-line GBK text with a selection. Positions count
// bytes, as in an ANSI edit control.
#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "platform/gbk_chars.h"
#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

class Edit : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_SETTEXT: {
        text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        start_ = end_ = 0;
        Changed(WindowChange::Text);
        // Windows sends no EN_CHANGE for WM_SETTEXT to a multi-line edit.
        if ((style & ES_MULTILINE) == 0) CommandParent(EN_CHANGE);
        return TRUE;
      }
      case EM_SETSEL:
        SetSel(static_cast<LONG_PTR>(wParam), static_cast<LONG_PTR>(lParam));
        return 0;
      case EM_GETSEL:
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start_);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end_);
        return MAKELPARAM(static_cast<WORD>(start_), static_cast<WORD>(end_));
      case EM_REPLACESEL:
        Replace(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 0;
      case EM_SETREADONLY: {
        const DWORD old = style;
        style = wParam ? (style | ES_READONLY) : (style & ~ES_READONLY);
        if (old != style) Changed(WindowChange::Style);
        return TRUE;
      }
      case EM_SETLIMITTEXT:
        limit_ = wParam == 0 ? 0x7FFFFFFE : wParam;
        return 0;
      case EM_SETPASSWORDCHAR:
        password_char_ = static_cast<char>(wParam);
        Changed(WindowChange::Style);
        return 0;
      case EM_GETPASSWORDCHAR:
        if (password_char_ != 0) return static_cast<unsigned char>(password_char_);
        return (style & ES_PASSWORD) ? '*' : 0;
      case EM_GETMODIFY:
        return modified_ ? TRUE : FALSE;
      case EM_SETMODIFY:
        modified_ = wParam != 0;
        return 0;
      case EM_GETLINECOUNT:
        return 1 + std::count(text.begin(), text.end(), '\n');
      case EM_SCROLLCARET:
        return TRUE;
      case WM_CHAR:
        Type(wParam);
        return 0;
      case WM_KEYDOWN:
        if (wParam == VK_DELETE && (style & ES_READONLY) == 0) {
          if (start_ == end_) end_ = start_ + CharLengthAt(text, start_);
          Replace("");
        }
        return 0;
      case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
      case WM_GETDLGCODE:
        return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
      case WM_SETFOCUS:
        CommandParent(EN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        CommandParent(EN_KILLFOCUS);
        return 0;
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  void SetSel(LONG_PTR s, LONG_PTR e) {
    const auto n = static_cast<LONG_PTR>(text.size());
    if (s < 0) {
      start_ = end_ = text.size();
    } else {
      if (e < 0 || e > n) e = n;
      if (s > n) s = n;
      if (s > e) std::swap(s, e);
      start_ = static_cast<std::size_t>(s);
      end_ = static_cast<std::size_t>(e);
    }
    Changed(WindowChange::Selection);
  }

  void Replace(const std::string& with) {
    const std::size_t s = std::min(start_, text.size());
    const std::size_t e = std::min(std::max(end_, s), text.size());
    std::string insert = with;
    if (text.size() - (e - s) + insert.size() > limit_) return;
    text.replace(s, e - s, insert);
    start_ = end_ = s + insert.size();
    modified_ = true;
    Changed(WindowChange::Text);
    CommandParent(EN_CHANGE);
  }

  void Type(WPARAM ch) {
    if (style & ES_READONLY) return;
    if (ch == VK_BACK) {
      if (start_ == end_) {
        if (start_ == 0) return;
        start_ = PreviousCharStart(text, start_);
      }
      Replace("");
      return;
    }
    if (ch == VK_RETURN) {
      if (style & ES_MULTILINE) Replace("\r\n");
      return;
    }
    if (ch < 0x20) return;
    std::string bytes;
    if (ch > 0xFF) {
      bytes.push_back(static_cast<char>((ch >> 8) & 0xFF));
      bytes.push_back(static_cast<char>(ch & 0xFF));
    } else {
      char c = static_cast<char>(ch);
      if ((style & ES_NUMBER) && !(c >= '0' && c <= '9')) return;
      if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      bytes.push_back(c);
    }
    Replace(bytes);
  }

  std::size_t start_ = 0;
  std::size_t end_ = 0;
  std::size_t limit_ = 0x7FFFFFFE;
  char password_char_ = 0;
  bool modified_ = false;
};

}  // namespace

std::shared_ptr<WindowObject> MakeEdit() {
  return std::make_shared<Edit>();
}

}  // namespace kelmor::platform
