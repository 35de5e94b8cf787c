// The three windows of the reference book as window templates: the main window, the search
// results window and the entry editor. Control names are the ones by which the handlers address
// the controls; they are unique within one window only (the editor has its own 按钮1, 按钮2,
// 按钮4).
#pragma once

#include "runtime/window_template.h"

namespace kelmor {

// Window names under which the templates are registered with the window framework.
inline constexpr const char* kMainWindowName = "主窗口";
inline constexpr const char* kSearchWindowName = "查询窗口";
inline constexpr const char* kEditorWindowName = "编辑窗口";

// Names of the popup-menu items of the main window (the hidden top item and its eight children).
inline constexpr const char* kMenuTop = "cd";
inline constexpr const char* kMenuAddCategory = "增加一类";
inline constexpr const char* kMenuAddEntry = "增加二类";
inline constexpr const char* kMenuRename = "编辑类别";
inline constexpr const char* kMenuEditEntry = "编辑内容";
inline constexpr const char* kMenuDelete = "删除";
inline constexpr const char* kMenuUpdate = "更新";
inline constexpr const char* kMenuCompact = "收缩数据库";
inline constexpr const char* kMenuBackup = "备份数据";

WindowTemplate MainWindowTemplate();
WindowTemplate SearchWindowTemplate();
WindowTemplate EditorWindowTemplate();

}  // namespace kelmor
