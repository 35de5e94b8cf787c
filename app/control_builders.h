// Small builders for control templates, shared by the three window templates.
#pragma once

#include <utility>

#include "runtime/window_template.h"

namespace kelmor::templates {

inline ControlTemplate Control(Text name, ControlKind kind, Text caption, int left, int top,
                               int width, int height, Text parent = {}, int tab_page = 0) {
  ControlTemplate c;
  c.name = std::move(name);
  c.kind = kind;
  c.caption = std::move(caption);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.parent = std::move(parent);
  c.tab_page = tab_page;
  return c;
}

// The name a screen reader announces, for a control without a caption or a label before it.
inline ControlTemplate Named(ControlTemplate c, Text accessible_name) {
  c.accessible_name = std::move(accessible_name);
  return c;
}

inline ControlTemplate ReadOnlyEdit(Text name, int left, int top, int width, int height,
                                    Text parent, int tab_page = 0) {
  ControlTemplate c = Control(std::move(name), ControlKind::EditBox, {}, left, top, width, height,
                              std::move(parent), tab_page);
  c.edit.read_only = true;
  return c;
}

// Multi-line edit boxes take Enter as a line break and scroll both ways.
inline ControlTemplate MultiLineEdit(Text name, int left, int top, int width, int height,
                                     Text parent, int tab_page = 0) {
  ControlTemplate c = Control(std::move(name), ControlKind::EditBox, {}, left, top, width, height,
                              std::move(parent), tab_page);
  c.edit.multi_line = true;
  c.edit.horizontal_scroll_bar = true;
  c.edit.vertical_scroll_bar = true;
  return c;
}

// The "连续添加" boxes stay hidden until the editor opens in add mode.
inline ControlTemplate HiddenCheckBox(Text name, Text caption, int left, int top, int width,
                                      int height, Text parent, int tab_page = 0) {
  ControlTemplate c = Control(std::move(name), ControlKind::CheckBox, std::move(caption), left, top,
                              width, height, std::move(parent), tab_page);
  c.visible = false;
  return c;
}

}  // namespace kelmor::templates
