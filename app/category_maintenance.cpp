// Adding, renaming and deleting the categories of the current collection. Each change runs in one
// transaction together with the rebuilt tree it stores; a statement, tree save or commit that
// fails is reported, rolled back and ends the change, so an action is never left half applied.
// The tree is rebuilt in every case.
#include <cstdint>
#include <optional>
#include <vector>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/statements.h"
#include "app/transaction.h"
#include "app/used_names.h"
#include "runtime/cursor_commands.h"
#include "runtime/dialogs.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "treeview/tree_view_accessor.h"

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

// Which rows an action on one tree item may reach. A statement on the item's name reaches every
// row of that name; when another row carries it too (a book written by another tool), the
// statements on the category table are narrowed to the item's own row by its id. The entries
// whose category is the name belong to the one first-level item of that name; a second-level
// item has none of its own.
struct ItemRows {
  bool refused = false;
  std::optional<std::int32_t> own_row;  // set when the name is not the item's alone
  bool owns_category_entries = true;

  Text OnCategoryTable(const Text& statement) const {
    return own_row ? statements::OnlyRow(statement, *own_row) : statement;
  }
};

// With two first-level items of one name the statements cannot tell whose entries are whose,
// and the action is refused with `refusal` ("不能修改", "不能删除").
ItemRows RowsOfItem(Application& app, int item, const Text& name, const char* refusal) {
  SqliteDB& db = *app.database;
  const Collection c = app.collection_mode;
  if (CountRows(db, statements::SelectNodeByName(c, name)) <= 1) return {};
  const std::int32_t id = app.tree_accessor->GetItemData(item);
  const bool first_level = GetParentItem(app.Tree(), item) == -1;
  // A saved tree older than the rows could give the id of another row.
  if (CountRows(db, statements::OnlyRow(statements::SelectNodeByName(c, name), id)) != 1 ||
      (first_level && CountRows(db, statements::SelectOtherCategories(c, name, id)) > 0)) {
    MsgBox(Value::FromText("[" + name + "]重名," + refusal), kMsgBoxOk);
    return {.refused = true, .own_row = std::nullopt, .owns_category_entries = false};
  }
  return {.refused = false, .own_row = id, .owns_category_entries = first_level};
}

// The statements of a rename of `item` from old_name to new_name; nullopt when refused.
std::optional<std::vector<Text>> RenameStatements(Application& app, int item, const Text& new_name,
                                                  const Text& old_name) {
  const Collection c = app.collection_mode;
  const ItemRows rows = RowsOfItem(app, item, old_name, "不能修改");
  if (rows.refused) return std::nullopt;
  std::vector<Text> sql{rows.OnCategoryTable(statements::RenameNode(c, new_name, old_name))};
  const int parent = GetParentItem(app.Tree(), item);
  // An entry is found by its name: its record takes the new name with its tree row.
  if (parent != -1) {
    const Text category = GetTreeItemText(app.Tree(), parent);
    const Text record = statements::EntryCondition(c, old_name, category);
    if (CountRows(*app.database, statements::SelectEntries(c, record)) > 1) {
      MsgBox(Value::FromText("[" + category + "]中的[" + old_name + "]重名,不能修改"), kMsgBoxOk);
      return std::nullopt;
    }
    sql.push_back(statements::RenameEntry(c, new_name, old_name, category));
  }
  if (rows.owns_category_entries) {
    sql.push_back(statements::RenameEntriesCategory(c, new_name, old_name));
  }
  return sql;
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
  if (RefuseUsedName(*app.database, c, name, "不能增加")) return;
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
  const auto keep_old_name = [&] {
    SetTreeItemText(tree, item_index, old_name);
    return false;
  };
  if (RefuseLongName(new_name)) return keep_old_name();
  if (app.database) {
    // A used name is refused at either level: two items of one name would share their rows.
    if (new_name != old_name &&
        RefuseUsedName(*app.database, app.collection_mode, new_name, "不能修改")) {
      return keep_old_name();
    }
    const std::optional<std::vector<Text>> sql =
        RenameStatements(app, item_index, new_name, old_name);
    if (!sql) return keep_old_name();
    RunInTransaction(*app.database, *sql, "修改[" + old_name + "]错误", kMsgBoxStop,
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
    const ItemRows rows = RowsOfItem(app, current, name, "不能删除");
    if (rows.refused) return;
    std::vector<Text> sql{rows.OnCategoryTable(statements::DeleteNode(c, name))};
    if (rows.owns_category_entries) sql.push_back(statements::DeleteEntriesOfCategory(c, name));
    RunInTransaction(*app.database, sql, "删除[" + name + "]错误", kMsgBoxStop,
                     [&app] { return RebuildTree(app); });
  } else {
    RebuildTree(app);
  }
}

}  // namespace kelmor
