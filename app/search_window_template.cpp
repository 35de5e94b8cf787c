#include "app/control_builders.h"
#include "app/window_templates.h"

namespace kelmor {

using templates::Control;
using templates::Named;

// The search results window; its title is set when it opens.
WindowTemplate SearchWindowTemplate() {
  WindowTemplate t;
  t.name = kSearchWindowName;
  t.title = "查询";
  t.width = 476;
  t.height = 240;
  t.resizable = true;
  t.maximise_button = false;
  t.minimise_button = false;
  t.close_box = true;

  ControlTemplate list =
      Named(Control(search_controls::kResultList, ControlKind::ListView, "", 0, 0, 472, 208),
            "查询结果");
  list.list.columns = {{"类别", 80}, {"名称", 120}, {"功效", 280}};
  list.list.show_header = true;
  list.list.full_row_select = true;
  list.list.grid_lines = true;
  list.list.header_drag_drop = true;
  list.list.text_colour = 0x000000;
  list.list.background = 0xFFFFFF;
  t.controls.push_back(list);
  return t;
}

}  // namespace kelmor
