// The test driver: plays the user in tests. It is the platform Host for its lifetime (the one
// installed before is put back at the end), and every gesture goes through
// platform/user_input.h, the same path as the display's, so the application's handlers run
// as they would for a person.
//
// Message boxes are answered from a script (unscripted OK-only boxes are answered OK, any
// other unscripted box fails the test); every box shown is recorded. Input boxes and modal
// windows wait through Host::WaitForEvents: there the driver answers the next scripted input
// box, or runs the next scripted step. When a loop waits and nothing is left, the test fails
// at once and the waiting window is closed, so nothing hangs.
//
//   TestDriver driver;
//   driver.AnswerInputBox("甲");
//   driver.AnswerMessageBox(kAnswerYes);
//   driver.OnModal([&] { driver.Type({editor, "药物名称编辑框"}, "甲");
//                        driver.Click({editor, "按钮1"}); });
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/win_types.h"
#include "platform/winuser.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"

namespace kelmor::test {

class TestDriver : public platform::Host {
 public:
  TestDriver();
  ~TestDriver() override;
  TestDriver(const TestDriver&) = delete;
  TestDriver& operator=(const TestDriver&) = delete;

  // ---- Gestures (each one lets the program handle it before returning) ----
  void Click(const ControlRef& control);  // button, check box (toggles), picture box, label
  void RightClick(const ControlRef& control);  // in the middle of the control
  // Types text at the caret of an edit box (or a rich edit), one character at a time through
  // the character path, so input filters apply. A double-byte character is one keystroke.
  void Type(const ControlRef& edit, const Text& text);
  void ClearText(const ControlRef& edit);                  // selects all and deletes
  // Modifier keys held with a key or the wheel.
  static constexpr unsigned kShift = 1;
  static constexpr unsigned kControl = 2;
  // A key where the focus would have it: through the window's dialog keys (Tab, Escape), then
  // to the control. Key codes are virtual keys: 13 Enter, 27 Escape, 9 Tab, 0x5D Menu ...
  void PressKey(const ControlRef& control, int key_code, unsigned modifiers = 0);
  // The mouse wheel over the middle of the control, `notches` away from the user.
  void TurnWheel(const ControlRef& control, int notches, unsigned modifiers = 0);
  void SelectComboItem(const ControlRef& combo, int index);
  void SelectTab(const ControlRef& tab, int page);
  void Focus(const ControlRef& control);

  void ClickTreeItem(const ControlRef& tree, int index);
  // Index -1: over empty space, below the items (also for the right button).
  void DoubleClickTreeItem(const ControlRef& tree, int index);
  // Press and release of the right button over the item (index -1: over empty space).
  void RightClickTreeItem(const ControlRef& tree, int index);
  void ExpandTreeItem(const ControlRef& tree, int index, bool expand = true);
  // In-place label editing (the tree box must allow it). EditLabel = begin, type, end.
  void BeginLabelEdit(const ControlRef& tree, int index);
  void EndLabelEdit(const ControlRef& tree, const Text& typed);
  void CancelLabelEdit(const ControlRef& tree);
  void EditLabel(const ControlRef& tree, int index, const Text& typed);

  void ClickListRow(const ControlRef& list, int row);
  void DoubleClickListRow(const ControlRef& list, int row);

  void MoveSplitter(const ControlRef& splitter, int position);

  void Resize(WindowId window, int width, int height);  // outer size
  void Maximise(WindowId window);
  void Minimise(WindowId window);
  void Restore(WindowId window);
  void CloseBox(WindowId window);  // the window's close box

  // Where the mouse is, in screen coordinates (PopupMenu opens there).
  void SetMousePosition(int x, int y);

  // ---- Script ----
  // Answers the next message box with an answer code of runtime/dialogs.h (kAnswerYes ...).
  void AnswerMessageBox(int answer_code);
  // Answers the next input box: types the text into its edit where the caret is, as a person
  // does (the text replaces what is selected; an empty text is one Backspace), and confirms;
  // or cancels it.
  void AnswerInputBox(const Text& text);
  void CancelInputBox();
  // Plays the steps in the next input box instead of answering it; they end it themselves.
  void InInputBox(std::function<void(platform::HWND box)> steps);
  // Chooses the item with this caption in the next popup menu (nullopt dismisses it).
  void ChooseMenuItem(std::optional<Text> caption);
  // Answers the next save-file dialog with this name (nullopt cancels it).
  void AnswerSaveFileName(std::optional<Text> file);
  // Steps to run the next time a modal window (or the main loop) waits for the user.
  void OnModal(std::function<void()> steps);
  // A gesture made in the middle of a long action: run the first time the program lets the
  // user's input through (Host::ProcessEvents) while `when` holds.
  void DuringEvents(std::function<bool()> when, std::function<void()> gesture);

  // Whether everything scripted has been used.
  bool ScriptDone() const;

  // ---- Records ----
  const std::vector<platform::MessageBoxRequest>& message_boxes() const { return boxes_; }
  std::vector<Text> message_texts() const;
  void ClearRecords() {
    boxes_.clear();
    menus_.clear();
    menu_positions_.clear();
  }
  // Captions of every popup menu shown, one list per menu, and where each was shown (screen).
  const std::vector<std::vector<Text>>& popup_menus() const { return menus_; }
  const std::vector<platform::POINT>& popup_positions() const { return menu_positions_; }
  // The enabled items of every popup menu shown, one list per menu.
  const std::vector<std::vector<Text>>& enabled_menu_items() const { return enabled_items_; }
  // Every save-file dialog and print asked for. A page printed to a file is written there as
  // its plain text (GBK), the way the program writes a file; printed otherwise it goes nowhere.
  const std::vector<platform::SaveFileRequest>& save_file_requests() const { return saves_; }
  const std::vector<platform::PrintRequest>& print_requests() const { return prints_; }

  // ---- Host ----
  int ShowMessageBox(const platform::MessageBoxRequest& request) override;
  void ProcessEvents() override;
  void WaitForEvents() override;
  platform::UINT TrackPopupMenu(const std::vector<platform::PopupMenuItem>& items, int x, int y,
                                platform::HWND owner) override;
  std::string AskSaveFileName(const platform::SaveFileRequest& request) override;
  platform::PrintResult PrintPage(const platform::PrintRequest& request) override;

 private:
  struct InputAnswer {
    bool confirm = true;
    Text text;
    std::function<void(platform::HWND box)> steps;
  };

  platform::HWND Handle(const ControlRef& control) const;
  void Settle();  // dispatches what the gesture queued

  platform::Host* previous_ = nullptr;
  std::deque<int> box_answers_;
  std::deque<InputAnswer> input_answers_;
  std::deque<std::optional<Text>> menu_answers_;
  std::deque<std::optional<Text>> save_answers_;
  std::vector<std::vector<Text>> enabled_items_;
  std::vector<platform::SaveFileRequest> saves_;
  std::vector<platform::PrintRequest> prints_;
  std::deque<std::function<void()>> modal_steps_;
  std::function<bool()> during_when_;
  std::function<void()> during_gesture_;
  std::vector<platform::MessageBoxRequest> boxes_;
  std::vector<std::vector<Text>> menus_;
  std::vector<platform::POINT> menu_positions_;
  int unanswered_ = 0;  // waits the script could not answer, in a row
};

}  // namespace kelmor::test
