// Message box and input box.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>

#include "runtime/value.h"

namespace kelmor {

// Flags of MsgBox as the book uses them (MB_* values).
inline constexpr int kMsgBoxOk = 0;     // an OK button only
inline constexpr int kMsgBoxYesNo = 4;  // Yes and No buttons
inline constexpr int kMsgBoxStop = 16;  // an OK button with the stop (error) icon

// Answer codes of MsgBox.
inline constexpr int kAnswerOk = 0;
inline constexpr int kAnswerCancel = 1;
inline constexpr int kAnswerAbort = 2;
inline constexpr int kAnswerRetry = 3;
inline constexpr int kAnswerIgnore = 4;
inline constexpr int kAnswerYes = 5;
inline constexpr int kAnswerNo = 6;

// Shows `message` (a text as it is; numbers, bools and date-times as ToText; anything else
// empty) in a message box without owner, titled `title` or "信息：". The style is `flags`
// (MB_* values, 0 when omitted) plus MB_TASKMODAL unless MB_SYSTEMMODAL is among them. Returns
// the answer code 0-6 above.
int MsgBox(const Value& message, std::optional<int> flags = {}, std::optional<Text> title = {});

// The save-file dialog, titled `title`, proposing `file_name` (in the user's documents folder
// when it names no folder) for files of the kind `filter` describes; a name typed without an
// extension gets `extension`. The chosen name (GBK), empty when cancelled.
Text AskSaveFileName(const Text& title, const Text& file_name, const Text& filter,
                     const Text& extension);

// The variable an InputBox stores into; its type decides the conversion (text as typed; byte,
// short, integer by atoi truncated to the width; long by the 64-bit atoi; float and double by
// atof; other types are left unchanged).
using InputTarget = std::variant<Text*, std::uint8_t*, std::int16_t*, std::int32_t*, std::int64_t*,
                                 float*, double*, bool*, DateTime*>;

// Input modes.
inline constexpr int kInputText = 1;
inline constexpr int kInputInteger = 2;  // typed characters other than '-', '0'-'9' ignored
inline constexpr int kInputDecimal = 3;  // other than '-', '.', '0'-'9' ignored
inline constexpr int kInputPassword = 4;

// A modal dialog captioned `title` (or "请输入：") with the prompt (the compact layout without
// one), an edit holding `initial` all selected, and the buttons "确认输入(&O)" and "取消(&C)".
// Confirmed: stores the text into target and returns true; cancelled (button, Escape, close
// box): target unchanged, false. Mode omitted = 1; above 4 = 4; 0 or below = 1.
bool InputBox(std::optional<Text> prompt, std::optional<Text> title, std::optional<Text> initial,
              InputTarget target, std::optional<int> mode = {});

// Control ids of the input box dialog, for whoever plays the user.
inline constexpr int kInputBoxPromptId = 1128;
inline constexpr int kInputBoxEditId = 1001;
inline constexpr int kInputBoxPasswordId = 1002;
inline constexpr int kInputBoxOkId = 1;
inline constexpr int kInputBoxCancelId = 2;

}  // namespace kelmor
