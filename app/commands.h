// The operations that the main window's events start. Those of the tree, the detail page and the
// window itself are in category_tree.h, entry_view.h and main_window.h; the ones below belong to
// category maintenance, the entry editor, the search and the file maintenance.
#pragma once

#include <optional>

#include "app/application.h"

namespace kelmor {

// Shown when a name is longer than a tree item keeps (kTreeTextLimit bytes).
inline constexpr const char* kNameTooLong = "名称太长，不能超过255个汉字（510个字节）";

// A name the tree cannot keep whole would come back cut from the saved tree: renaming or
// deleting it would then match no row, and an entry of that name could not be found again from
// its item. True (after saying so) for such a name.
bool RefuseLongName(const Text& name);

// Popup-menu items.

void AddCategory(Application& app);      // "增加一类"
void AddEntry(Application& app);         // "增加二类"
void StartRename(Application& app);      // "编辑类别"
void EditEntry(Application& app);        // "编辑内容"
void DeleteNode(Application& app);       // "删除"
void CompactDatabase(Application& app);  // "收缩数据库"
void BackupDatabase(Application& app);   // "备份数据"

// The tree box's label-edit-finished event; the result answers the event (false rejects the
// typed label).
std::optional<bool> FinishRename(Application& app, int item_index);

// "查询" and Enter in the search box.
void StartSearch(Application& app);

}  // namespace kelmor
