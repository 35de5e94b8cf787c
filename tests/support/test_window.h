// Windows of a test that needs only a control or two: LoadWindowWith wraps the controls in a
// plain 400 x 300 window, registers and loads it. Controls keep their order, so the first is
// control number 0 (as TreeViewAccessor::Bind counts). Texts are GBK.
//
//   ControlTemplate list = test::Control("超级列表框1", ControlKind::ListView, 0, 0, 380, 250);
//   const WindowId window = test::LoadWindowWith(list);
//
// REQUIRES: the one user-interface thread; the window stays registered until the test calls
// ResetWindowFramework.
#pragma once

#include <utility>
#include <vector>

#include "runtime/window_framework.h"
#include "runtime/window_template.h"

namespace kelmor::test {

// A control of the given kind, name and geometry, everything else as a template defaults it.
ControlTemplate Control(const char* name, ControlKind kind, int left, int top, int width,
                        int height);

// The id of the loaded window; 0 (and a failed test) when it does not load.
WindowId LoadWindowWith(std::vector<ControlTemplate> controls);
inline WindowId LoadWindowWith(ControlTemplate control) {
  return LoadWindowWith(std::vector<ControlTemplate>{std::move(control)});
}

}  // namespace kelmor::test
