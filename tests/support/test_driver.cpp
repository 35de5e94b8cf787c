#include "tests/support/test_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/commctrl.h"
#include "platform/file_copy.h"
#include "platform/message_box.h"
#include "platform/rich_edit.h"
#include "platform/user_input.h"
#include "platform/window.h"
#include "runtime/codec.h"
#include "runtime/dialogs.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"

namespace kelmor::test {
namespace {

using namespace platform;

// Printable form of a GBK text for failure messages and the error stream.
std::string Readable(const Text& text) {
  if (auto utf8 = LocalToUtf8(text)) return *utf8;
  return text;
}

int AnswerToId(int code) {
  switch (code) {
    case kAnswerOk:
      return IDOK;
    case kAnswerCancel:
      return IDCANCEL;
    case kAnswerAbort:
      return IDABORT;
    case kAnswerRetry:
      return IDRETRY;
    case kAnswerIgnore:
      return IDIGNORE;
    case kAnswerYes:
      return IDYES;
    case kAnswerNo:
      return IDNO;
    default:
      return IDOK;
  }
}

bool IsInputBox(HWND hwnd) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return std::string(name) == WC_DIALOG && GetDlgItem(hwnd, kInputBoxEditId) != 0;
}

// A loop that keeps waiting after the driver closed it would hang the test run.
constexpr int kMaxUnansweredWaits = 50;

}  // namespace

TestDriver::TestDriver() : previous_(CurrentHost()) {
  SetHost(this);
}

TestDriver::~TestDriver() {
  SetHost(previous_);
  if (!ScriptDone()) {
    ADD_FAILURE() << "the test ended with scripted answers left: " << box_answers_.size()
                  << " message boxes, " << input_answers_.size() << " input boxes, "
                  << menu_answers_.size() << " menus, " << save_answers_.size()
                  << " save-file dialogs, " << modal_steps_.size() << " steps"
                  << (during_gesture_ ? ", a gesture during events" : "");
  }
}

HWND TestDriver::Handle(const ControlRef& control) const {
  const HWND hwnd = WindowHandle(control);
  if (hwnd == 0) {
    ADD_FAILURE() << "no loaded window or control '" << Readable(control.name) << "' in window "
                  << control.window;
  }
  return hwnd;
}

void TestDriver::Settle() {
  DoEvents();
}

#define KELMOR_GESTURE(call, what)                                       \
  do {                                                                   \
    if (!(call)) ADD_FAILURE() << "the gesture was refused: " << (what); \
    Settle();                                                            \
  } while (false)

void TestDriver::Click(const ControlRef& control) {
  const HWND hwnd = Handle(control);
  if (hwnd == 0) return;
  char name[32] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (std::string(name) == WC_BUTTONA) {
    KELMOR_GESTURE(ClickButton(hwnd), Readable(control.name));
  } else {
    RECT rect;
    GetClientRect(hwnd, &rect);
    KELMOR_GESTURE(ClickAt(hwnd, rect.right / 2, rect.bottom / 2), Readable(control.name));
  }
}

void TestDriver::RightClick(const ControlRef& control) {
  const HWND hwnd = Handle(control);
  if (hwnd == 0) return;
  RECT rect;
  GetClientRect(hwnd, &rect);
  KELMOR_GESTURE(RightClickAt(hwnd, rect.right / 2, rect.bottom / 2), Readable(control.name));
}

void TestDriver::Type(const ControlRef& edit, const Text& text) {
  if (HWND hwnd = Handle(edit)) KELMOR_GESTURE(TypeText(hwnd, text), Readable(edit.name));
}

void TestDriver::ClearText(const ControlRef& edit) {
  if (HWND hwnd = Handle(edit)) KELMOR_GESTURE(TypeText(hwnd, "\b", true), Readable(edit.name));
}

namespace {

UINT Modifiers(unsigned modifiers) {
  return ((modifiers & TestDriver::kShift) ? kShiftKey : 0) |
         ((modifiers & TestDriver::kControl) ? kControlKey : 0);
}

}  // namespace

void TestDriver::PressKey(const ControlRef& control, int key_code, unsigned modifiers) {
  const HWND hwnd = Handle(control);
  if (hwnd == 0) return;
  const WPARAM ch = key_code == 13 || key_code == 27 || key_code == 8 || key_code == 9
                        ? static_cast<WPARAM>(key_code)
                        : 0;
  KELMOR_GESTURE(platform::PressKey(hwnd, static_cast<WPARAM>(key_code), ch, Modifiers(modifiers)),
                 Readable(control.name));
}

void TestDriver::TurnWheel(const ControlRef& control, int notches, unsigned modifiers) {
  const HWND hwnd = Handle(control);
  if (hwnd == 0) return;
  RECT rect;
  GetClientRect(hwnd, &rect);
  KELMOR_GESTURE(platform::TurnWheel(hwnd, rect.right / 2, rect.bottom / 2, notches * WHEEL_DELTA,
                                     Modifiers(modifiers)),
                 Readable(control.name));
}

void TestDriver::SelectComboItem(const ControlRef& combo, int index) {
  if (HWND hwnd = Handle(combo)) {
    KELMOR_GESTURE(platform::SelectComboItem(hwnd, index), Readable(combo.name));
  }
}

void TestDriver::SelectTab(const ControlRef& tab, int page) {
  if (HWND hwnd = Handle(tab)) KELMOR_GESTURE(SelectTabPage(hwnd, page), Readable(tab.name));
}

void TestDriver::Focus(const ControlRef& control) {
  if (HWND hwnd = Handle(control)) SetFocus(hwnd);
}

void TestDriver::ClickTreeItem(const ControlRef& tree, int index) {
  const HWND hwnd = Handle(tree);
  if (hwnd == 0) return;
  KELMOR_GESTURE(platform::ClickTreeItem(hwnd, TreeItemHandle(tree, index)), index);
}

void TestDriver::DoubleClickTreeItem(const ControlRef& tree, int index) {
  const HWND hwnd = Handle(tree);
  if (hwnd == 0) return;
  if (index < 0) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    const int x = rect.right / 2, y = rect.bottom > 0 ? rect.bottom - 1 : 0;
    KELMOR_GESTURE(DoubleClickAt(hwnd, x, y), "double-click");
    return;
  }
  KELMOR_GESTURE(platform::DoubleClickTreeItem(hwnd, TreeItemHandle(tree, index)), index);
}

void TestDriver::RightClickTreeItem(const ControlRef& tree, int index) {
  const HWND hwnd = Handle(tree);
  if (hwnd == 0) return;
  if (index < 0) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    const int x = rect.right / 2, y = rect.bottom > 0 ? rect.bottom - 1 : 0;
    KELMOR_GESTURE(RightPressAt(hwnd, x, y), "right press");
    KELMOR_GESTURE(RightReleaseAt(hwnd, x, y), "right release");
    return;
  }
  const HTREEITEM item = TreeItemHandle(tree, index);
  KELMOR_GESTURE(RightPressTreeItem(hwnd, item), index);
  // The press may have changed the tree; release over the same item if it is still there.
  KELMOR_GESTURE(RightReleaseTreeItem(hwnd, item), index);
}

void TestDriver::ExpandTreeItem(const ControlRef& tree, int index, bool expand) {
  const HWND hwnd = Handle(tree);
  if (hwnd == 0) return;
  // What a click on the item's button does.
  SendMessageA(hwnd, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
               static_cast<LPARAM>(TreeItemHandle(tree, index)));
  Settle();
}

void TestDriver::BeginLabelEdit(const ControlRef& tree, int index) {
  const HWND hwnd = Handle(tree);
  if (hwnd == 0) return;
  KELMOR_GESTURE(platform::BeginLabelEdit(hwnd, TreeItemHandle(tree, index)), index);
}

void TestDriver::EndLabelEdit(const ControlRef& tree, const Text& typed) {
  if (HWND hwnd = Handle(tree)) KELMOR_GESTURE(platform::EndLabelEdit(hwnd, typed), "end edit");
}

void TestDriver::CancelLabelEdit(const ControlRef& tree) {
  if (HWND hwnd = Handle(tree)) KELMOR_GESTURE(platform::CancelLabelEdit(hwnd), "cancel edit");
}

void TestDriver::EditLabel(const ControlRef& tree, int index, const Text& typed) {
  BeginLabelEdit(tree, index);
  EndLabelEdit(tree, typed);
}

void TestDriver::ClickListRow(const ControlRef& list, int row) {
  if (HWND hwnd = Handle(list)) KELMOR_GESTURE(platform::ClickListRow(hwnd, row), row);
}

void TestDriver::DoubleClickListRow(const ControlRef& list, int row) {
  if (HWND hwnd = Handle(list)) KELMOR_GESTURE(platform::DoubleClickListRow(hwnd, row), row);
}

void TestDriver::MoveSplitter(const ControlRef& splitter, int position) {
  if (HWND hwnd = Handle(splitter)) KELMOR_GESTURE(DragSplitter(hwnd, position), position);
}

void TestDriver::Resize(WindowId window, int width, int height) {
  if (HWND hwnd = Handle({window, {}})) KELMOR_GESTURE(ResizeWindow(hwnd, width, height), "resize");
}

void TestDriver::Maximise(WindowId window) {
  if (HWND hwnd = Handle({window, {}})) KELMOR_GESTURE(MaximiseWindow(hwnd), "maximise");
}

void TestDriver::Minimise(WindowId window) {
  if (HWND hwnd = Handle({window, {}})) KELMOR_GESTURE(MinimiseWindow(hwnd), "minimise");
}

void TestDriver::Restore(WindowId window) {
  if (HWND hwnd = Handle({window, {}})) KELMOR_GESTURE(RestoreWindow(hwnd), "restore");
}

void TestDriver::CloseBox(WindowId window) {
  if (HWND hwnd = Handle({window, {}})) KELMOR_GESTURE(CloseByCloseBox(hwnd), "close box");
}

void TestDriver::SetMousePosition(int x, int y) {
  MoveMouse(x, y);
}

#undef KELMOR_GESTURE

void TestDriver::AnswerMessageBox(int answer_code) {
  box_answers_.push_back(answer_code);
}

void TestDriver::AnswerInputBox(const Text& text) {
  input_answers_.push_back({true, text, {}});
}

void TestDriver::CancelInputBox() {
  input_answers_.push_back({false, {}, {}});
}

void TestDriver::InInputBox(std::function<void(HWND box)> steps) {
  input_answers_.push_back({false, {}, std::move(steps)});
}

void TestDriver::ChooseMenuItem(std::optional<Text> caption) {
  menu_answers_.push_back(std::move(caption));
}

void TestDriver::AnswerSaveFileName(std::optional<Text> file) {
  save_answers_.push_back(std::move(file));
}

void TestDriver::OnModal(std::function<void()> steps) {
  modal_steps_.push_back(std::move(steps));
}

void TestDriver::DuringEvents(std::function<bool()> when, std::function<void()> gesture) {
  during_when_ = std::move(when);
  during_gesture_ = std::move(gesture);
}

bool TestDriver::ScriptDone() const {
  return box_answers_.empty() && input_answers_.empty() && menu_answers_.empty() &&
         save_answers_.empty() && modal_steps_.empty() && !during_gesture_;
}

std::vector<Text> TestDriver::message_texts() const {
  std::vector<Text> texts;
  for (const auto& box : boxes_) texts.push_back(box.text);
  return texts;
}

int TestDriver::ShowMessageBox(const MessageBoxRequest& request) {
  boxes_.push_back(request);
  // Also on the error stream: a death test can only see what the dying process printed.
  std::fprintf(stderr, "[message box] %s: %s\n", Readable(request.caption).c_str(),
               Readable(request.text).c_str());
  std::fflush(stderr);
  if (!box_answers_.empty()) {
    const int code = box_answers_.front();
    box_answers_.pop_front();
    return AnswerToId(code);
  }
  switch (request.type & 0xF) {
    case MB_OK:
      return IDOK;
    case MB_YESNO:
      ADD_FAILURE() << "unscripted message box: " << Readable(request.text);
      return IDNO;
    case MB_ABORTRETRYIGNORE:
      ADD_FAILURE() << "unscripted message box: " << Readable(request.text);
      return IDABORT;
    default:
      ADD_FAILURE() << "unscripted message box: " << Readable(request.text);
      return IDCANCEL;
  }
}

void TestDriver::ProcessEvents() {
  if (!during_gesture_ || !during_when_()) return;
  // Taken first: the gesture lets events through itself.
  const std::function<void()> gesture = std::move(during_gesture_);
  during_gesture_ = nullptr;
  during_when_ = nullptr;
  gesture();
}

void TestDriver::WaitForEvents() {
  const HWND modal = ModalWindowHandle();
  if (modal != 0 && IsInputBox(modal) && !input_answers_.empty()) {
    const InputAnswer answer = input_answers_.front();
    input_answers_.pop_front();
    if (answer.steps) {
      answer.steps(modal);
    } else if (answer.confirm) {
      HWND edit = GetDlgItem(modal, kInputBoxEditId);
      if (!IsWindowVisible(edit)) edit = GetDlgItem(modal, kInputBoxPasswordId);
      // Typed at the caret as a person types: the initial text is replaced only because the
      // input box shows it selected.
      TypeText(edit, answer.text.empty() ? Text("\b") : answer.text);
      ClickButton(GetDlgItem(modal, kInputBoxOkId));
    } else {
      ClickButton(GetDlgItem(modal, kInputBoxCancelId));
    }
    unanswered_ = 0;
    return;
  }
  if (!modal_steps_.empty() && (modal == 0 || !IsInputBox(modal))) {
    std::function<void()> steps = std::move(modal_steps_.front());
    modal_steps_.pop_front();
    steps();
    unanswered_ = 0;
    return;
  }
  ADD_FAILURE() << (modal != 0 && IsInputBox(modal) ? "an input box" : "a window")
                << " waits for the user and the script has nothing left for it";
  if (++unanswered_ > kMaxUnansweredWaits) std::abort();
  if (modal != 0) {
    PostMessageA(modal, WM_CLOSE, 0, 0);
  } else {
    PostQuitMessage(0);
  }
}

UINT TestDriver::TrackPopupMenu(const std::vector<PopupMenuItem>& items, int x, int y, HWND) {
  std::vector<Text> captions, enabled;
  for (const auto& item : items) {
    captions.push_back(item.caption);
    if (item.enabled) enabled.push_back(item.caption);
  }
  menus_.push_back(captions);
  enabled_items_.push_back(enabled);
  menu_positions_.push_back(POINT{x, y});
  if (menu_answers_.empty()) {
    ADD_FAILURE() << "unscripted popup menu";
    return 0;
  }
  const std::optional<Text> wanted = menu_answers_.front();
  menu_answers_.pop_front();
  if (!wanted) return 0;
  for (const auto& item : items) {
    if (item.caption == *wanted && item.enabled) return item.id;
  }
  ADD_FAILURE() << "the popup menu has no item " << Readable(*wanted);
  return 0;
}

std::string TestDriver::AskSaveFileName(const SaveFileRequest& request) {
  saves_.push_back(request);
  if (save_answers_.empty()) {
    ADD_FAILURE() << "unscripted save-file dialog: " << Readable(request.file_name);
    return {};
  }
  const std::optional<Text> answer = save_answers_.front();
  save_answers_.pop_front();
  return answer.value_or(Text());
}

PrintResult TestDriver::PrintPage(const PrintRequest& request) {
  prints_.push_back(request);
  if (request.file.empty()) return PrintResult{PrintOutcome::Printed, {}, {}};
  const RichEdit* page = RichEdit::From(request.page);
  const std::string text = page == nullptr ? std::string() : page->Text();
  std::string reason;
  const bool written = WriteFileReplacingA(
      request.file.c_str(),
      [&](const std::string& temporary, std::string&) {
        std::FILE* f = std::fopen(temporary.c_str(), "wb");
        if (f == nullptr) return false;
        const bool all = std::fwrite(text.data(), 1, text.size(), f) == text.size();
        return std::fclose(f) == 0 && all;
      },
      &reason);
  return PrintResult{written ? PrintOutcome::Printed : PrintOutcome::Failed, request.file, reason};
}

}  // namespace kelmor::test
