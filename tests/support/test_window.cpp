#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include "runtime/window_commands.h"

namespace kelmor::test {

ControlTemplate Control(const char* name, ControlKind kind, int left, int top, int width,
                        int height) {
  ControlTemplate c;
  c.name = name;
  c.kind = kind;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

WindowId LoadWindowWith(std::vector<ControlTemplate> controls) {
  WindowTemplate window;
  window.name = "测试窗口";
  window.title = "测试窗口";
  window.width = 400;
  window.height = 300;
  window.controls = std::move(controls);
  const WindowId id = RegisterWindow(std::move(window));
  if (LoadWindow(id)) return id;
  ADD_FAILURE() << "the test window does not load";
  return 0;
}

}  // namespace kelmor::test
