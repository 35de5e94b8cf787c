// Push buttons, check boxes, radio buttons and group boxes ("Button").
#include <memory>

#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

class Button : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_LBUTTONDOWN:
        if (Kind() == BS_GROUPBOX) return 0;
        pressed_ = true;
        SetFocus(hwnd);
        return 0;
      case WM_LBUTTONUP:
        if (!pressed_) return 0;
        pressed_ = false;
        Click();
        return 0;
      case BM_CLICK:
        if (Kind() != BS_GROUPBOX) Click();
        return 0;
      case BM_GETCHECK:
        return check_;
      case BM_SETCHECK:
        if (check_ != static_cast<LRESULT>(wParam)) {
          check_ = static_cast<LRESULT>(wParam);
          Changed(WindowChange::Selection);
        }
        return 0;
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  DWORD Kind() const { return style & BS_TYPEMASK; }

  void Click() {
    const HWND self = hwnd;
    if (Kind() == BS_AUTOCHECKBOX) {
      check_ = check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      Changed(WindowChange::Selection);
    } else if (Kind() == BS_AUTORADIOBUTTON) {
      check_ = BST_CHECKED;
      Changed(WindowChange::Selection);
    }
    if (IsWindow(self)) CommandParent(BN_CLICKED);
  }

  bool pressed_ = false;
  LRESULT check_ = BST_UNCHECKED;
};

}  // namespace

std::shared_ptr<WindowObject> MakeButton() {
  return std::make_shared<Button>();
}

}  // namespace kelmor::platform
