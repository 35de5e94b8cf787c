// The rich edit as the application drives it. Positions count characters, not bytes. Its text
// property is written with SetText of runtime/window_framework.h, streamed in as plain text.
#pragma once

#include <optional>

#include "runtime/char_format.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"

namespace kelmor {

// The selection-start property: negative taken as 0. The selection-length property: below -1
// taken as -1. Each write stores the value and selects start .. start + length, or the whole
// text while the length is negative.
void SetSelectionStart(const ControlRef& rich, int start);
void SetSelectionLength(const ControlRef& rich, int length);

bool SetDefaultCharFormat(const ControlRef& rich, const CharFormat& format);
bool SetSelectionCharFormat(const ControlRef& rich, const CharFormat& format);

// The character position of the first match from `start` to the end, -1 when none. Flags sent:
// 1 (down) | 4 when match case is omitted or true | 2 when whole word is true.
int FindText(const ControlRef& rich, std::optional<int> start, std::optional<bool> match_case,
             std::optional<bool> whole_word, const Text& text);

}  // namespace kelmor
