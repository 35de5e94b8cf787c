// The wait cursor. WaitCursor saves the cursor shown before its first call (one saved cursor,
// process-wide); RestoreCursor puts it back, forgets it and sets the mouse position to where it
// is so that the cursor is refreshed.
#pragma once

namespace kelmor {

void WaitCursor();
void RestoreCursor();

}  // namespace kelmor
