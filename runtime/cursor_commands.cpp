#include "runtime/cursor_commands.h"

#include <optional>

#include "platform/cursor.h"

namespace kelmor {
namespace {

// The one saved cursor, from the first WaitCursor to the next RestoreCursor.
std::optional<platform::HCURSOR>& SavedCursor() {
  static std::optional<platform::HCURSOR> saved;
  return saved;
}

}  // namespace

void WaitCursor() {
  const platform::HCURSOR previous =
      platform::SetCursor(platform::LoadCursorA(0, platform::IDC_WAIT));
  if (!SavedCursor()) SavedCursor() = previous;
}

void RestoreCursor() {
  if (SavedCursor()) {
    platform::SetCursor(*SavedCursor());
    SavedCursor().reset();
  }
  platform::POINT mouse;
  if (platform::GetCursorPos(&mouse)) platform::SetCursorPos(mouse.x, mouse.y);
}

}  // namespace kelmor
