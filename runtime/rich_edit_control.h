// The rich edit as the application drives it. Positions count characters, not bytes. Its text
// property is written with SetText of runtime/window_framework.h, streamed in as plain text.
#pragma once

#include <optional>

#include "platform/host.h"
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

// What the page shows, for its print commands (打印…, 导出PDF…, Ctrl+P), which are offered only
// while it names something: `name` (the proposed file name's stem) and `header` (the line above
// every printed sheet). Writing the text property forgets both.
void SetPageInfo(const ControlRef& rich, const Text& name, const Text& header);
Text GetPageName(const ControlRef& rich);

// Prints the page under its header: as a PDF to `file`, or, with an empty `file`, through the
// system print dialog, which proposes `proposed_file` for printing to a file.
platform::PrintResult PrintPage(const ControlRef& rich, const Text& file,
                                const Text& proposed_file);

}  // namespace kelmor
