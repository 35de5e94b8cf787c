#include "runtime/dialogs.h"

#include <cstdlib>
#include <type_traits>

#include "platform/commctrl.h"
#include "platform/message_box.h"
#include "platform/page_print.h"
#include "platform/window.h"
#include "runtime/to_text.h"
#include "runtime/window_registry.h"

namespace kelmor {

Text AskSaveFileName(const Text& title, const Text& file_name, const Text& filter,
                     const Text& extension) {
  platform::SaveFileRequest request;
  request.title = title;
  request.file_name = file_name;
  request.filter = filter;
  request.extension = extension;
  return platform::GetSaveFileNameA(request);
}

int MsgBox(const Value& message, std::optional<int> flags, std::optional<Text> title) {
  Text text;
  switch (message.type()) {
    case TypeCode::Text:
      text = *message.get_if<Text>();
      break;
    case TypeCode::Omitted:
    case TypeCode::Bytes:
    case TypeCode::Routine:
      break;
    default:
      text = ToText(message);
      if (text.size() > 99) text.resize(99);  // the conversion buffer holds 100 bytes
      break;
  }
  auto style = static_cast<platform::UINT>(flags.value_or(0));
  if ((style & platform::MB_SYSTEMMODAL) == 0) style |= platform::MB_TASKMODAL;
  const Text caption = title.value_or(Text("信息："));
  switch (platform::MessageBoxA(0, text.c_str(), caption.c_str(), style)) {
    case platform::IDOK:
      return kAnswerOk;
    case platform::IDCANCEL:
      return kAnswerCancel;
    case platform::IDABORT:
      return kAnswerAbort;
    case platform::IDRETRY:
      return kAnswerRetry;
    case platform::IDIGNORE:
      return kAnswerIgnore;
    case platform::IDYES:
      return kAnswerYes;
    case platform::IDNO:
      return kAnswerNo;
    default:
      return kAnswerOk;
  }
}

namespace {

using namespace platform;

// Dialog units of the 宋体 9 pt dialog font: its characters are 6 x 12 pixels, so one
// horizontal unit (a quarter of the width) and one vertical unit (an eighth of the height) are
// both 1.5 pixels.
constexpr int DuX(int units) {
  return units * 6 / 4;
}
constexpr int DuY(int units) {
  return units * 12 / 8;
}

constexpr DWORD DS_MODALFRAME = 0x80;
constexpr UINT_PTR kDialogSubclass = 0x4B44;
constexpr UINT_PTR kFilterSubclass = 0x4B46;

struct Rect {
  int x, y, w, h;
};

struct Layout {
  int width, height;  // client area, dialog units
  Rect frame, prompt, edit, ok, cancel;
};

constexpr Layout kWithPrompt{252,
                             92,
                             {7, 7, 238, 35},
                             {12, 11, 229, 27},
                             {7, 45, 238, 12},
                             {63, 66, 55, 19},
                             {134, 66, 55, 19}};
constexpr Layout kWithoutPrompt{
    214, 56, {0, 0, 0, 0}, {0, 0, 0, 0}, {7, 7, 200, 12}, {82, 30, 55, 19}, {151, 30, 55, 19}};

struct Session {
  int mode = kInputText;
  HWND dialog = 0;
  HWND edit = 0;  // the visible one
  bool done = false;
  bool confirmed = false;
  Text text;

  void Confirm() {
    if (done) return;
    text = GetWindowTextString(edit);
    confirmed = true;
    done = true;
  }
  void Cancel() { done = true; }
};

bool Accepts(int mode, WPARAM ch) {
  if (ch < 0x20) return true;  // backspace and the other control characters
  if (mode == kInputInteger) return ch == '-' || (ch >= '0' && ch <= '9');
  if (mode == kInputDecimal) return ch == '-' || ch == '.' || (ch >= '0' && ch <= '9');
  return true;
}

HWND Child(HWND parent, const char* class_name, const char* text, DWORD style, const Rect& r,
           int id, DWORD ex_style = 0) {
  return CreateWindowExA(ex_style, class_name, text, WS_CHILD | style, DuX(r.x), DuY(r.y), DuX(r.w),
                         DuY(r.h), parent, static_cast<HMENU>(id));
}

template <class T>
void StoreNumber(T* target, const Text& text) {
  if constexpr (std::is_floating_point_v<T>) {
    *target = static_cast<T>(std::atof(text.c_str()));
  } else if constexpr (std::is_same_v<T, std::int64_t>) {
    *target = std::atoll(text.c_str());
  } else {
    *target = static_cast<T>(std::atoi(text.c_str()));
  }
}

void Store(const InputTarget& target, const Text& text) {
  std::visit(
      [&](auto* variable) {
        using T = std::remove_pointer_t<decltype(variable)>;
        if (variable == nullptr) return;
        if constexpr (std::is_same_v<T, Text>) {
          *variable = text;
        } else if constexpr (std::is_arithmetic_v<T> && !std::is_same_v<T, bool>) {
          StoreNumber(variable, text);
        }
        // Other kinds are left unchanged.
      },
      target);
}

int InputMode(std::optional<int> mode) {
  const int m = mode.value_or(kInputText);
  if (m > kInputPassword) return kInputPassword;
  return m <= 0 ? kInputText : m;
}

// The dialog window, centred on the screen; 0 when it cannot be made.
HWND CreateInputDialog(const Layout& layout, const std::optional<Text>& title, HWND owner) {
  const int outer_width = DuX(layout.width) + 2 * kFrameBorder;
  const int outer_height = DuY(layout.height) + kCaptionHeight + 2 * kFrameBorder;
  const Text caption = title && !title->empty() ? *title : Text("请输入：");
  return CreateWindowExA(WS_EX_DLGMODALFRAME, WC_DIALOG, caption.c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         (GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2,
                         (GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2, outer_width,
                         outer_height, owner, 0);
}

// Both edits exist, the plain and the password one; only the one of the mode is shown.
struct Edits {
  HWND plain = 0;
  HWND hidden = 0;
};

Edits AddControls(HWND dialog, const Layout& layout, const Text* prompt, bool password) {
  if (prompt != nullptr) {
    Child(dialog, WC_STATICA, "", WS_VISIBLE | SS_SUNKEN, layout.frame, 0xFFFF);
    Child(dialog, WC_STATICA, prompt->c_str(), WS_VISIBLE | SS_LEFT, layout.prompt,
          kInputBoxPromptId);
  }
  Edits edits;
  edits.plain = Child(dialog, WC_EDITA, "",
                      (password ? 0 : WS_VISIBLE) | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                      layout.edit, kInputBoxEditId);
  edits.hidden =
      Child(dialog, WC_EDITA, "",
            (password ? WS_VISIBLE : 0) | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_PASSWORD,
            layout.edit, kInputBoxPasswordId);
  Child(dialog, WC_BUTTONA, "确认输入(&O)", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, layout.ok,
        kInputBoxOkId);
  Child(dialog, WC_BUTTONA, "取消(&C)", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, layout.cancel,
        kInputBoxCancelId);
  return edits;
}

// The buttons and the close box end the session; in an edit Enter confirms, Escape cancels and
// characters the mode does not accept are dropped.
void HookSession(Session* s, const Edits& edits) {
  SetWindowSubclass(
      s->dialog,
      [s](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
          if (LOWORD(wParam) == kInputBoxOkId) s->Confirm();
          if (LOWORD(wParam) == kInputBoxCancelId) s->Cancel();
          return 0;
        }
        if (msg == WM_CLOSE) {
          s->Cancel();
          return 0;
        }
        return DefSubclassProc(hwnd, msg, wParam, lParam);
      },
      kDialogSubclass, 0);
  for (HWND edit : {edits.plain, edits.hidden}) {
    SetWindowSubclass(
        edit,
        [s](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) -> LRESULT {
          if (msg == WM_KEYDOWN && wParam == VK_RETURN) s->Confirm();
          if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) s->Cancel();
          if (msg == WM_CHAR && !Accepts(s->mode, wParam)) return 0;  // typed, and ignored
          return DefSubclassProc(hwnd, msg, wParam, lParam);
        },
        kFilterSubclass, 0);
  }
}

// Shows the dialog with the initial text selected and runs it modal over its owner.
void RunSession(Session* s, const Text& initial, HWND owner) {
  SetWindowTextA(s->edit, initial.c_str());
  SendMessageA(s->edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
  SendMessageA(s->edit, EM_SCROLLCARET, 0, 0);
  ShowWindow(s->dialog, SW_SHOW);
  SetFocus(s->edit);

  const bool disabled_owner = owner != 0 && IsWindowEnabled(owner);
  if (disabled_owner) EnableWindow(owner, FALSE);
  detail::RunModalLoop(
      s->dialog, [s] { return s->done || !IsWindow(s->dialog); }, [s] { s->Cancel(); });
  if (disabled_owner) EnableWindow(owner, TRUE);
  DestroyWindow(s->dialog);
}

}  // namespace

bool InputBox(std::optional<Text> prompt, std::optional<Text> title, std::optional<Text> initial,
              InputTarget target, std::optional<int> mode) {
  Session session;
  session.mode = InputMode(mode);
  const bool with_prompt = prompt.has_value() && !prompt->empty();
  const Layout& layout = with_prompt ? kWithPrompt : kWithoutPrompt;
  const HWND owner = detail::DefaultOwner(0);
  session.dialog = CreateInputDialog(layout, title, owner);
  if (session.dialog == 0) return false;
  const bool password = session.mode == kInputPassword;
  const Edits edits =
      AddControls(session.dialog, layout, with_prompt ? &*prompt : nullptr, password);
  session.edit = password ? edits.hidden : edits.plain;
  HookSession(&session, edits);
  RunSession(&session, initial.value_or(Text()), owner);
  if (!session.confirmed) return false;
  Store(target, session.text);
  return true;
}

}  // namespace kelmor
