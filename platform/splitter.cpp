// The splitter bar: a thin child window that the user drags; it moves itself and tells its
// parent its new position (SPN_MOVED).
#include <memory>

#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

class Splitter : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    const bool horizontal = (style & SPS_HORZ) != 0;
    const int along = horizontal ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
    switch (msg) {
      case WM_LBUTTONDOWN:
        dragging_ = true;
        grab_ = along;
        return 0;
      case WM_MOUSEMOVE:
        return 0;
      case WM_LBUTTONUP: {
        if (!dragging_) return 0;
        dragging_ = false;
        const int pos = Pos() + (along - grab_);
        if (pos != Pos()) {
          SetPos(pos);
          NMSPLITTER nm;
          nm.pos = pos;
          NotifyParent(nm.hdr, SPN_MOVED);
        }
        return 0;
      }
      case SPM_GETPOS:
        return Pos();
      case SPM_SETPOS:
        SetPos(static_cast<int>(static_cast<LONG_PTR>(wParam)));
        return 0;
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  int Pos() const { return (style & SPS_HORZ) ? rect.top : rect.left; }
  void SetPos(int pos) {
    if (style & SPS_HORZ) {
      MoveWindow(hwnd, rect.left, pos, Width(), Height(), TRUE);
    } else {
      MoveWindow(hwnd, pos, rect.top, Width(), Height(), TRUE);
    }
  }

  bool dragging_ = false;
  int grab_ = 0;
};

}  // namespace

std::shared_ptr<WindowObject> MakeSplitter() {
  return std::make_shared<Splitter>();
}

}  // namespace kelmor::platform
