#include "app/entry_editor.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/entry_page.h"
#include "app/entry_view.h"
#include "app/statements.h"
#include "app/transaction.h"
#include "app/used_names.h"
#include "app/window_templates.h"
#include "runtime/dialogs.h"
#include "runtime/key_codes.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {
namespace {

// Each field box is named after its column with "编辑框" appended; the name and category boxes
// are not.
ControlRef Box(const Application& app, const char* column) {
  return {app.editor_window, Text(column) + editor_controls::kFieldBoxSuffix};
}

ControlRef Control(const Application& app, const char* name) {
  return {app.editor_window, name};
}

// The condition that finds the record of the entry `name` under the category `category`: the
// name alone while no other record carries it, else narrowed to the category (a book written by
// another tool may hold one name twice). `clash`: even so more than one record answers.
Text EditedEntryCondition(SqliteDB& db, Collection c, const Text& name, const Text& category,
                          bool& clash) {
  const Text by_name = statements::EntryCondition(c, name);
  clash = false;
  if (CountRows(db, statements::SelectEntries(c, by_name)) <= 1) return by_name;
  const Text in_category = statements::EntryCondition(c, name, category);
  clash = CountRows(db, statements::SelectEntries(c, in_category)) > 1;
  return in_category;
}

// The name box names the entry the update addresses, so it is the item's text and read-only
// also when no record was found: another name typed there would overwrite that entry.
void LoadEntry(Application& app, const CollectionDescription& c, const Text& name,
               const Text& category) {
  SetText(Control(app, c.name_box), name);
  SetInputMode(Control(app, c.name_box), 1);
  if (!app.database) return;
  bool clash;
  app.edited_entry = EditedEntryCondition(*app.database, c.collection, name, category, clash);
  SqliteTable table;
  if (table.Open(c.entry_table, *app.database) && table.Find(app.edited_entry)) {
    SetText(Control(app, c.category_box), ReadShownText(table, "类别"));
    for (const char* column : c.fields) {
      bool unreadable;
      SetText(Box(app, column), ReadShownText(table, column, &unreadable));
      if (unreadable) app.unreadable_boxes.push_back(column);
    }
  }
  table.Close();
}

void ClearBoxes(Application& app, const CollectionDescription& c) {
  SetText(Control(app, c.name_box), Text());
  for (const char* column : c.fields) SetText(Box(app, column), Text());
}

// "确定" on the page of collection c: the statements of one save, then the steps after them:
// the tree (after an add), the page and the editor's next state.
void SaveEntry(Application& app, const CollectionDescription& c) {
  const Text name = GetText(Control(app, c.name_box));
  if (name.empty() || !app.database || RefuseLongName(name)) return;
  const bool adding = app.entry_edit_mode == EntryEditMode::Add;
  // The editor stays open with everything typed, so that the name can be corrected.
  if (adding && RefuseUsedName(*app.database, c.collection, name, "不能增加")) return;
  const Text category = GetText(Control(app, c.category_box));
  std::vector<Text> fields;
  std::vector<std::optional<Text>> changes;  // nullopt: the stored text stays
  for (const char* column : c.fields) {
    const Text value = GetText(Box(app, column));
    fields.push_back(c.fields_without_spaces ? RemoveSpaces(value) : value);
    const bool unchanged_unreadable =
        value == kUnreadableValue &&
        std::ranges::find(app.unreadable_boxes, column) != app.unreadable_boxes.end();
    changes.push_back(unchanged_unreadable ? std::nullopt : std::optional<Text>(fields.back()));
  }
  if (adding) {
    // The tree and its saved copy are rebuilt inside the transaction, so the new entry, its
    // tree row and the saved tree are committed together.
    RunInTransaction(*app.database,
                     {statements::InsertEntryTreeRow(c.collection, name, category),
                      statements::InsertEntry(c.collection, name, category, fields)},
                     "添加[" + name + "]失败", kMsgBoxOk, [&app] { return UpdateSavedTree(app); });
    ShowEntry(app, name);
  } else {
    // An update that finds no record saved nothing, and must not say otherwise.
    RunInTransaction(
        *app.database, {statements::UpdateEntry(c.collection, changes, app.edited_entry)},
        "修改[" + name + "]失败", kMsgBoxOk, [&app] { return app.database->Changes() > 0; });
    ShowEntryWhere(app, app.edited_entry);  // the record that was edited, of a name held twice
  }
  if (IsChecked(Control(app, c.continue_box))) {
    ClearBoxes(app, c);
  } else {
    CloseWindow(app.editor_window);
  }
}

}  // namespace

void AddEntry(Application& app) {
  const ControlRef tree = app.Tree();
  const int current = GetCurrentItem(tree);
  if (current == -1) return;
  if (GetParentItem(tree, current) != -1) {
    MsgBox(Value::FromText("此类[" + GetTreeItemText(tree, current) + "]不能添加二类"), kMsgBoxOk);
    return;
  }
  app.entry_edit_mode = EntryEditMode::Add;
  LoadWindow(app.editor_window, {}, true);
}

void EditEntry(Application& app) {
  const ControlRef tree = app.Tree();
  const int current = GetCurrentItem(tree);
  if (current == -1 || GetParentItem(tree, current) == -1) {
    MsgBox(Value::FromText("这是一类没有内容"), kMsgBoxOk);
    return;
  }
  if (app.database) {
    const Text name = GetTreeItemText(tree, current);
    const Text category = GetTreeItemText(tree, GetParentItem(tree, current));
    bool clash;
    EditedEntryCondition(*app.database, app.collection_mode, name, category, clash);
    if (clash) {
      MsgBox(Value::FromText("[" + category + "]中的[" + name + "]重名,不能修改"), kMsgBoxOk);
      return;
    }
  }
  app.entry_edit_mode = EntryEditMode::Edit;
  LoadWindow(app.editor_window, {}, true);
}

void PrepareEditor(Application& app) {
  const CollectionDescription& c = app.CurrentCollection();
  const ControlRef tree = app.Tree();
  const Text current = GetTreeItemText(tree, GetCurrentItem(tree));
  const bool adding = app.entry_edit_mode == EntryEditMode::Add;
  app.unreadable_boxes.clear();
  if (adding) {
    SetInputMode(Control(app, c.name_box), 0);
    SetText(Control(app, c.category_box), current);
  } else {
    LoadEntry(app, c, current, GetTreeItemText(tree, GetParentItem(tree, GetCurrentItem(tree))));
  }
  SetText({app.editor_window, ""}, adding ? c.add_title : c.edit_title);
  SetCurrentPage(Control(app, editor_controls::kTabs), c.editor_page);
  const ControlRef check_box = Control(app, c.continue_box);
  SetVisible(check_box, adding);
  if (!adding) SetChecked(check_box, false);
}

void SaveHerb(Application& app) {
  SaveEntry(app, Describe(Collection::Herbs));
}

void SavePrescription(Application& app) {
  SaveEntry(app, Describe(Collection::Prescriptions));
}

void WireEditorWindow(Application& app) {
  Application* a = &app;
  const WindowId w = app.editor_window;
  OnEvent({w, ""}, Event::Created, [a] { PrepareEditor(*a); });
  for (const Collection collection : kCollections) {
    const CollectionDescription& c = Describe(collection);
    OnEvent({w, c.ok_button}, Event::Clicked, app.Guarded([a, &c] { SaveEntry(*a, c); }));
    OnEvent({w, c.cancel_button}, Event::Clicked, [w] { CloseWindow(w); });
  }
  OnKeyPressed({w, ""}, [w](int key) {  // Escape is 取消
    if (key == kKeyEscape) CloseWindow(w);
  });
}

}  // namespace kelmor
