// The object behind a window handle: what every window has (class, styles, geometry, text,
// subclass chain) and the class's own procedure. Native controls derive from it. Only the
// platform layer and painters that need a control's state beyond its messages look in here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/window.h"

namespace kelmor::platform {

class WindowObject {
 public:
  virtual ~WindowObject() = default;

  // The class's own handling; the default is DefWindowProcA.
  virtual LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // After the window is registered and its handle is known.
  virtual void OnCreated() {}
  // After GWL_STYLE changed through SetWindowLongA or a control message.
  virtual void OnStyleChanged(DWORD /*old_style*/) {}

  bool IsTopLevel() const { return (style & WS_CHILD) == 0; }
  int ClientWidth() const;
  int ClientHeight() const;
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }

  // Reports a change to the host.
  void Changed(WindowChange change) const;
  // Sends WM_NOTIFY to the parent with hwndFrom and idFrom filled in; 0 without a parent.
  LRESULT NotifyParent(NMHDR& hdr, UINT code) const;
  // Sends WM_COMMAND MAKEWPARAM(id, code), lParam = this window, to the parent.
  LRESULT CommandParent(WORD code) const;
  // The window that receives this window's notifications: its parent, or its owner.
  HWND NotifyTarget() const;

  HWND hwnd = 0;
  std::string class_name;
  DWORD style = 0;
  DWORD ex_style = 0;
  int id = 0;
  LONG_PTR user_data = 0;
  HWND parent = 0;  // a child's parent
  HWND owner = 0;   // a top-level window's owner
  RECT rect;        // parent client coordinates (child) or screen coordinates (top level)
  RECT restore_rect;
  bool restore_to_maximized = false;  // minimised from the maximised state
  std::string text;                   // GBK
  std::string accessible_name;        // GBK; empty: none given
  DWORD thread_id = 0;
  HFONT font = 0;
  bool redraw = true;
  bool alive = true;
  bool destroying = false;
  std::vector<HWND> children;  // creation order

  struct Subclass {
    UINT_PTR id = 0;
    DWORD_PTR ref = 0;
    // Shared, so that a call can hold on to it (it may remove itself) without copying it.
    std::shared_ptr<const SUBCLASSPROC> proc;
  };
  std::vector<Subclass> subclasses;  // the newest is last
};

// The live object of a handle; null when the handle names no live window.
std::shared_ptr<WindowObject> FindWindowObject(HWND hWnd);

// The live object of a handle as the given control class; null otherwise.
template <class T>
T* WindowAs(HWND hWnd) {
  return dynamic_cast<T*>(FindWindowObject(hWnd).get());
}

// Compares ASCII letters without case.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// Factories of the classes; window.cpp picks one by class name.
std::shared_ptr<WindowObject> MakeButton();
std::shared_ptr<WindowObject> MakeEdit();
std::shared_ptr<WindowObject> MakeStatic();
std::shared_ptr<WindowObject> MakeComboBox();
std::shared_ptr<WindowObject> MakeTabControl();
std::shared_ptr<WindowObject> MakeTreeView();
std::shared_ptr<WindowObject> MakeListView();
std::shared_ptr<WindowObject> MakeRichEdit();
std::shared_ptr<WindowObject> MakeSplitter();

}  // namespace kelmor::platform
