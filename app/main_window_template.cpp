#include "app/control_builders.h"
#include "app/window_templates.h"

namespace kelmor {

using templates::Control;
using templates::Named;
using namespace main_controls;

namespace {

MenuItemTemplate MenuItem(const char* name) {
  MenuItemTemplate item;
  item.name = name;
  item.caption = name;
  return item;
}

}  // namespace

// The main window: the top strip with the collection buttons and the search bar, the category
// tree, the splitter and the detail page. The window's size handler lays the controls out again,
// so the sizes below are only those of the first moment.
WindowTemplate MainWindowTemplate() {
  WindowTemplate t;
  t.name = kMainWindowName;
  t.title = "【Kelmor】";
  t.width = 650;
  t.height = 443;
  t.resizable = false;
  t.maximise_button = true;
  t.minimise_button = true;
  t.close_box = true;

  t.controls.push_back(Control(kStrip, ControlKind::PictureBox, "", 0, 0, 648, 40));
  t.controls.push_back(Control(kHerbsButton, ControlKind::Button, "中药", 8, 8, 80, 20, kStrip));
  t.controls.push_back(
      Control(kPrescriptionsButton, ControlKind::Button, "药方", 96, 8, 80, 20, kStrip));
  t.controls.push_back(
      Named(Control(kFieldChooser, ControlKind::ComboBox, "", 312, 8, 100, 20, kStrip), "查询项目"));
  t.controls.push_back(
      Named(Control(kSearchBox, ControlKind::EditBox, "", 424, 8, 104, 20, kStrip), "查询内容"));
  t.controls.push_back(Control(kSearchButton, ControlKind::Button, "查询", 544, 8, 80, 20));

  ControlTemplate tree = Named(Control(kTree, ControlKind::TreeBox, "", 0, 40, 120, 368), "分类");
  tree.tree.text_colour = 0x800000;
  tree.tree.background = 0xFFFFFF;
  tree.tree.lines = true;
  tree.tree.buttons = true;
  tree.tree.lines_at_root = true;
  tree.tree.show_selection_always = true;
  tree.tree.check_boxes = false;
  tree.tree.label_editing = false;
  tree.tree.font.name = "宋体";
  tree.tree.font.char_height = 16;
  tree.tree.font.charset = 134;  // GB2312_CHARSET
  tree.tree.image_count = 2;
  tree.tree.image_width = 16;
  tree.tree.image_height = 15;
  t.controls.push_back(tree);

  t.controls.push_back(Control(kSplitter, ControlKind::SplitterBar, "", 120, 40, 4, 368));

  ControlTemplate page = Named(Control(kPage, ControlKind::RichEdit, "", 124, 40, 514, 344), "内容");
  page.rich.read_only = true;
  page.rich.multi_line = true;
  page.rich.word_wrap = true;
  page.rich.vertical_scroll_bar = true;
  page.rich.system_background = true;
  t.controls.push_back(page);

  // The hidden top item gives no menu bar; its children are the tree's popup menu.
  MenuItemTemplate top = MenuItem(kMenuTop);
  top.visible = false;
  for (const char* name : {kMenuAddCategory, kMenuAddEntry, kMenuRename, kMenuEditEntry,
                           kMenuDelete, kMenuUpdate, kMenuCompact, kMenuBackup}) {
    top.children.push_back(MenuItem(name));
  }
  t.menu.push_back(top);
  return t;
}

}  // namespace kelmor
