// Adding, renaming and deleting the categories of the current collection. Each change runs in one
// transaction together with the rebuilt tree it stores; a statement, tree save or commit that
// fails is reported, rolled back and ends the change, so an action is never left half applied.
// The tree is rebuilt in every case.
#include <optional>
#include <vector>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/statements.h"
#include "app/transaction.h"
#include "runtime/cursor_commands.h"
#include "runtime/dialogs.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_dataset.h"

namespace kelmor {
namespace {

// The title of the two questions.
constexpr const char* kQuestionTitle = "提示";

// The tree and its saved copy are rebuilt inside the action's transaction, so that the rows
// and the stored tree are committed (or rolled back) together.
bool RebuildTree(Application& app) {
  WaitCursor();
  const bool saved = UpdateSavedTree(app);
  RestoreCursor();
  return saved;
}

// Two entries of one name would be one page: the tree could reach only the first. Every row of
// the category table counts, and every entry record (one the tree no longer shows as well).
bool RefuseUsedName(SqliteDB& db, Collection c, const Text& name) {
  for (const Text& sql :
       {statements::SelectNodeByName(c, name), statements::SelectEntryByName(c, name)}) {
    SqliteDataset rows;
    rows.Open(sql, db);
    rows.Query();
    if (rows.RowCount() > 0) {
      MsgBox(Value::FromText("[" + name + "]已经存在,不能修改"), kMsgBoxOk);
      return true;
    }
  }
  return false;
}

}  // namespace

bool RefuseLongName(const Text& name) {
  if (name.size() <= kTreeTextLimit) return false;
  MsgBox(Value::FromText(kNameTooLong), kMsgBoxOk);
  return true;
}

void AddCategory(Application& app) {
  Text name;
  if (!InputBox(Text("请输入一类名称"), Text("一类项目"), Text(), &name)) return;
  if (name.empty() || RefuseLongName(name)) return;
  const Collection c = app.collection_mode;
  if (!app.database) return;
  {
    // Every row of the category table counts, so a name already used by an entry is refused.
    SqliteDataset rows;
    rows.Open(statements::SelectNodeByName(c, name), *app.database);
    rows.Query();
    if (rows.RowCount() > 0) {
      MsgBox(Value::FromText("[" + name + "]已经存在,不能增加"), kMsgBoxOk);
      return;
    }
    rows.Close();
  }
  RunInTransaction(*app.database, {statements::InsertCategory(c, name)},
                   "增加一类项目[" + name + "]失败", kMsgBoxOk,
                   [&app] { return RebuildTree(app); });
}

void StartRename(Application& app) {
  SetTreeLabelEditing(app.Tree(), true);
}

std::optional<bool> FinishRename(Application& app, int item_index) {
  const ControlRef tree = app.Tree();
  if (item_index == -1) {
    MsgBox(Value::FromText("请选择修改的类别"), kMsgBoxOk);
    return false;
  }
  // The tree still shows the previous name while the event runs.
  const Text old_name = GetTreeItemText(tree, item_index);
  const int answer = MsgBox(Value::FromText("你确定要修改[" + old_name + "]吗？"), kMsgBoxYesNo,
                            Text(kQuestionTitle));
  if (answer != kAnswerYes) {
    SetTreeItemText(tree, item_index, old_name);
    return false;
  }
  Text new_name = GetEditedLabel(tree);
  // A label cleared in place names nothing: the edit counts as cancelled.
  if (TrimSpaces(new_name).empty()) new_name = old_name;
  const Collection c = app.collection_mode;
  const int parent = GetParentItem(tree, item_index);
  if (RefuseLongName(new_name) || (app.database && parent != -1 && new_name != old_name &&
                                   RefuseUsedName(*app.database, c, new_name))) {
    SetTreeItemText(tree, item_index, old_name);
    return false;
  }
  if (app.database) {
    std::vector<Text> sql{statements::RenameNode(c, new_name, old_name)};
    // An entry is found by its name: its record takes the new name with its tree row.
    if (parent != -1) {
      sql.push_back(statements::RenameEntry(c, new_name, old_name, GetTreeItemText(tree, parent)));
    }
    sql.push_back(statements::RenameEntriesCategory(c, new_name, old_name));
    RunInTransaction(*app.database, sql, "修改[" + old_name + "]错误", kMsgBoxStop,
                     [&app] { return RebuildTree(app); });
  } else {
    RebuildTree(app);
  }
  SetTreeLabelEditing(tree, false);
  // The rebuilt tree shows the stored names; the typed text must not replace them.
  return false;
}

void DeleteNode(Application& app) {
  const ControlRef tree = app.Tree();
  const int current = GetCurrentItem(tree);
  if (current == -1) {
    MsgBox(Value::FromText("请选择要删除的类别"), kMsgBoxOk);
    return;
  }
  if (HasChildItems(tree, current)) {
    MsgBox(Value::FromText("已经有子类不能删除"), kMsgBoxOk);
    return;
  }
  const Text name = GetTreeItemText(tree, current);
  if (MsgBox(Value::FromText("你确定要删除[" + name + "]吗？"), kMsgBoxYesNo,
             Text(kQuestionTitle)) != kAnswerYes) {
    return;
  }
  const Collection c = app.collection_mode;
  if (app.database) {
    RunInTransaction(
        *app.database,
        {statements::DeleteNode(c, name), statements::DeleteEntriesOfCategory(c, name)},
        "删除[" + name + "]错误", kMsgBoxStop, [&app] { return RebuildTree(app); });
  } else {
    RebuildTree(app);
  }
}

}  // namespace kelmor
