#include "platform/cursor.h"

#include "platform/host.h"

namespace kelmor::platform {
namespace {

struct CursorState {
  HCURSOR shown = 32512;  // the arrow
  POINT position;
};

CursorState& State() {
  static CursorState state;
  return state;
}

bool IsSystemCursor(std::uintptr_t id) {
  return id == 32512 || id == 32513 || id == 32514 || id == 32515 || id == 32644 || id == 32645 ||
         id == 32649;
}

}  // namespace

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
  const auto id = reinterpret_cast<std::uintptr_t>(lpCursorName);
  if (hInstance != 0 || !IsSystemCursor(id)) return 0;
  return static_cast<HCURSOR>(id);
}

HCURSOR SetCursor(HCURSOR hCursor) {
  const HCURSOR previous = State().shown;
  State().shown = hCursor;
  if (Host* host = CurrentHost()) host->CursorChanged(hCursor);
  return previous;
}

HCURSOR GetCursor() {
  return State().shown;
}

BOOL GetCursorPos(POINT* lpPoint) {
  if (lpPoint == nullptr) return FALSE;
  *lpPoint = State().position;
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  State().position = POINT{X, Y};
  if (Host* host = CurrentHost()) host->CursorChanged(State().shown);
  return TRUE;
}

}  // namespace kelmor::platform
