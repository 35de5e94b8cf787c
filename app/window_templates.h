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

// Controls of the main window.
namespace main_controls {
inline constexpr const char* kStrip = "图片框1";  // the top strip
inline constexpr const char* kHerbsButton = "按钮1";
inline constexpr const char* kPrescriptionsButton = "按钮2";
inline constexpr const char* kFieldChooser = "组合框1";
inline constexpr const char* kSearchBox = "编辑框1";
inline constexpr const char* kSearchButton = "按钮4";
inline constexpr const char* kTree = "树型框1";
inline constexpr const char* kSplitter = "分隔条1";
inline constexpr const char* kPage = "编辑框";  // the rich edit of the detail page
}  // namespace main_controls

// Controls of the search results window.
namespace search_controls {
inline constexpr const char* kResultList = "超级列表框1";
}  // namespace search_controls

// Controls of the entry editor: the tab control, and per page its group box, name and category
// boxes, "连续添加" check box and its "确定" and "取消" buttons. The field boxes are named after
// their columns with "编辑框" appended.
namespace editor_controls {
inline constexpr const char* kTabs = "选择夹1";
inline constexpr const char* kHerbGroup = "分组框1";
inline constexpr const char* kHerbNameBox = "药物名称编辑框";
inline constexpr const char* kHerbCategoryBox = "药物类别编辑框";
inline constexpr const char* kHerbContinueBox = "选择框1";
inline constexpr const char* kHerbOkButton = "按钮1";
inline constexpr const char* kHerbCancelButton = "按钮2";
inline constexpr const char* kPrescriptionGroup = "分组框2";
inline constexpr const char* kPrescriptionNameBox = "药方编辑框";
inline constexpr const char* kPrescriptionCategoryBox = "药方类别编辑框";
inline constexpr const char* kPrescriptionContinueBox = "选择框2";
inline constexpr const char* kPrescriptionOkButton = "按钮3";
inline constexpr const char* kPrescriptionCancelButton = "按钮4";
inline constexpr const char* kFieldBoxSuffix = "编辑框";
}  // namespace editor_controls

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
