// Window templates: what a window and its controls look like before they exist. The application
// describes each of its windows once as a WindowTemplate and registers it with the window
// framework (runtime/window_framework.h), which builds the platform windows from it on every
// LoadWindow. Texts are GBK; positions and sizes are pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win_types.h"
#include "runtime/value.h"

namespace kelmor {

enum class ControlKind {
  Window,       // only the window itself; never listed among the controls
  Menu,         // never listed among the controls either: see MenuItemTemplate
  EditBox,      // "Edit"
  PictureBox,   // a plain container ("Static" without text); children lie in its client area
  GroupBox,     // "Button" with BS_GROUPBOX; a container whose children lie in its client area
  Label,        // "Static"
  Button,       // "Button"
  CheckBox,     // "Button" with BS_AUTOCHECKBOX
  ComboBox,     // "ComboBox", drop-down list
  TabControl,   // "SysTabControl32"; its pages are containers addressed by page index
  TreeBox,      // "SysTreeView32"
  ListView,     // "SysListView32", report view
  SplitterBar,  // the platform's splitter; vertical when taller than wide
  RichEdit,     // "RichEdit20A"
};

struct EditBoxOptions {
  bool multi_line = false;  // Enter makes a line break; scrolls in both directions
  bool read_only = false;   // input mode 1
  bool horizontal_scroll_bar = false;
  bool vertical_scroll_bar = false;
  bool password = false;
};

struct FontTemplate {
  Text name;            // empty: the toolkit's default font
  int char_height = 0;  // character height in pixels; 0 = default
  int charset = 0;      // GB2312_CHARSET is 134
};

struct TreeBoxOptions {
  platform::COLORREF text_colour = 0x000000;
  platform::COLORREF background = 0xFFFFFF;
  bool lines = true;                  // TVS_HASLINES
  bool buttons = true;                // TVS_HASBUTTONS
  bool lines_at_root = true;          // TVS_LINESATROOT
  bool show_selection_always = true;  // TVS_SHOWSELALWAYS
  bool label_editing = false;         // TVS_EDITLABELS (its property changes it at run time)
  bool check_boxes = false;           // TVS_CHECKBOXES
  FontTemplate font;
  int image_count = 0;  // item images in the image list (the pictures are the display's own)
  int image_width = 16;
  int image_height = 15;
};

struct ListColumnTemplate {
  Text caption;
  int width = 80;
};

struct ListViewOptions {
  std::vector<ListColumnTemplate> columns;  // report view columns, left to right
  bool show_header = true;
  bool grid_lines = false;        // LVS_EX_GRIDLINES
  bool full_row_select = false;   // LVS_EX_FULLROWSELECT
  bool header_drag_drop = false;  // LVS_EX_HEADERDRAGDROP
  platform::COLORREF text_colour = 0x000000;
  platform::COLORREF background = 0xFFFFFF;
};

struct RichEditOptions {
  bool read_only = false;
  bool multi_line = true;
  bool word_wrap = true;  // lines wrapped at the right edge
  bool vertical_scroll_bar = false;
  bool system_background = false;  // the system's window background colour instead of white
};

struct ControlTemplate {
  Text name;  // unique within its window
  ControlKind kind = ControlKind::Label;
  Text caption;  // buttons, labels, check boxes, group boxes; initial text of edits
  int left = 0, top = 0, width = 0, height = 0;  // relative to the parent's client area
  Text parent;       // name of the containing control; empty = the window's client area
  int tab_page = 0;  // page index when the parent is a tab control
  // What a screen reader announces for a control whose caption is not its name (a tree, an
  // edit box without a label before it); empty: its caption, or the label before it.
  Text accessible_name;
  bool visible = true;
  bool enabled = true;
  EditBoxOptions edit;             // EditBox
  TreeBoxOptions tree;             // TreeBox
  ListViewOptions list;            // ListView
  RichEditOptions rich;            // RichEdit
  bool checked = false;            // CheckBox
  int tab_pages = 0;               // TabControl: number of pages (captions empty)
  std::vector<Text> tab_captions;  // TabControl: optional captions of the first pages
};

// A menu item; items with children are submenus. A hidden top item gives no menu bar, but its
// children still serve as a popup menu (PopupMenu in runtime/window_commands.h). A chosen item
// raises the Clicked event of the item's name in its window.
struct MenuItemTemplate {
  Text name;  // unique within its window, also among the controls
  Text caption;
  bool visible = true;
  bool enabled = true;
  std::vector<MenuItemTemplate> children;
};

struct WindowTemplate {
  Text name;                  // for diagnostics and the display
  Text title;                 // caption
  int width = 0, height = 0;  // outer size in pixels
  bool resizable = false;     // sizing frame
  bool maximise_button = false;
  bool minimise_button = false;
  bool close_box = true;
  std::vector<ControlTemplate> controls;  // parents before their children
  std::vector<MenuItemTemplate> menu;     // top-level items
};

}  // namespace kelmor
