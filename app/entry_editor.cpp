#include "app/entry_editor.h"

#include <vector>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/entry_view.h"
#include "app/statements.h"
#include "app/transaction.h"
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

// The name box names the entry the update addresses, so it is the item's text and read-only
// also when no record was found: another name typed there would overwrite that entry.
void LoadEntry(Application& app, const CollectionDescription& c, const Text& name) {
  SetText(Control(app, c.name_box), name);
  SetInputMode(Control(app, c.name_box), 1);
  if (!app.database) return;
  SqliteTable table;
  if (table.Open(c.entry_table, *app.database) &&
      table.Find(statements::EntryCondition(c.collection, name))) {
    SetText(Control(app, c.category_box), table.ReadText("类别"));
    for (const char* column : c.fields) SetText(Box(app, column), table.ReadText(column));
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
  const Text category = GetText(Control(app, c.category_box));
  std::vector<Text> fields;
  for (const char* column : c.fields) {
    const Text value = GetText(Box(app, column));
    fields.push_back(c.fields_without_spaces ? RemoveSpaces(value) : value);
  }
  if (app.entry_edit_mode == EntryEditMode::Add) {
    // The tree and its saved copy are rebuilt inside the transaction, so the new entry, its
    // tree row and the saved tree are committed together.
    RunInTransaction(*app.database,
                     {statements::InsertEntryTreeRow(c.collection, name, category),
                      statements::InsertEntry(c.collection, name, category, fields)},
                     "添加[" + name + "]失败", kMsgBoxOk, [&app] { return UpdateSavedTree(app); });
  } else {
    // An update that finds no record saved nothing, and must not say otherwise.
    RunInTransaction(*app.database, {statements::UpdateEntry(c.collection, name, fields)},
                     "修改[" + name + "]失败", kMsgBoxOk,
                     [&app] { return app.database->Changes() > 0; });
  }
  ShowEntry(app, name);
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
  app.entry_edit_mode = EntryEditMode::Edit;
  LoadWindow(app.editor_window, {}, true);
}

void PrepareEditor(Application& app) {
  const CollectionDescription& c = app.CurrentCollection();
  const ControlRef tree = app.Tree();
  const Text current = GetTreeItemText(tree, GetCurrentItem(tree));
  const bool adding = app.entry_edit_mode == EntryEditMode::Add;
  if (adding) {
    SetInputMode(Control(app, c.name_box), 0);
    SetText(Control(app, c.category_box), current);
  } else {
    LoadEntry(app, c, current);
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
