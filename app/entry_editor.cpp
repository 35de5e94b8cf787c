#include "app/entry_editor.h"

#include <array>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/entry_view.h"
#include "app/statements.h"
#include "app/transaction.h"
#include "runtime/dialogs.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {
namespace {

constexpr int kAddMode = 1;
constexpr int kEditMode = 2;

constexpr const char* kTabs = "选择夹1";

// One page of the editor: its boxes and the columns they hold. Each field box is named after
// its column with "编辑框" appended; the name and category boxes are not.
struct EditorPage {
  Collection collection;
  const char* table;
  const char* name_box;
  const char* category_box;
  const char* check_box;
  int page;
  const char* add_title;
  const char* edit_title;
};

constexpr EditorPage kHerbPage{Collection::Herbs, "zymm", "药物名称编辑框", "药物类别编辑框",
                               "选择框1",         0,      "【中  药】添加", "【中  药】编辑"};
constexpr EditorPage kPrescriptionPage{Collection::Prescriptions, "yfmm",          "药方编辑框",
                                       "药方类别编辑框",          "选择框2",       1,
                                       "【药  方】添加",          "【药  方】编辑"};

// In statement order.
constexpr std::array<const char*, 11> kHerbColumns{"英文名称",  "别名",     "来源", "植物形态1",
                                                   "植物形态2", "生长地",   "采制", "化学成分",
                                                   "性味",      "功能主治", "附注"};
constexpr std::array<const char*, 5> kPrescriptionColumns{"配方", "制法", "功用", "禁忌", "备注"};

ControlRef Box(const Application& app, const char* column) {
  return {app.editor_window, Text(column) + "编辑框"};
}

const EditorPage* PageOf(const Application& app) {
  if (app.collection_mode == kHerbs) return &kHerbPage;
  if (app.collection_mode == kPrescriptions) return &kPrescriptionPage;
  return nullptr;
}

// The name box names the entry the update addresses, so it is the item's text and read-only
// also when no record was found: another name typed there would overwrite that entry.
template <std::size_t N>
void LoadEntry(Application& app, const EditorPage& page, const std::array<const char*, N>& columns,
               const Text& name) {
  SetText({app.editor_window, page.name_box}, name);
  SetInputMode({app.editor_window, page.name_box}, 1);
  if (!app.database) return;
  SqliteTable table;
  if (table.Open(page.table, *app.database) &&
      table.Find(statements::EntryCondition(page.collection, name))) {
    SetText({app.editor_window, page.category_box}, table.ReadText("类别"));
    for (const char* column : columns) SetText(Box(app, column), table.ReadText(column));
  }
  table.Close();
}

template <std::size_t N>
void ClearBoxes(Application& app, const EditorPage& page,
                const std::array<const char*, N>& columns) {
  SetText({app.editor_window, page.name_box}, Text());
  for (const char* column : columns) SetText(Box(app, column), Text());
}

// The statements of one save, then the steps after them: the tree (after an add), the page and
// the editor's next state.
void Save(Application& app, const EditorPage& page, const std::vector<Text>& add_sql,
          const Text& update_sql, const Text& name) {
  const bool adding = app.entry_edit_mode == kAddMode;
  if (adding) {
    // The tree and its saved copy are rebuilt inside the transaction, so the new entry, its
    // tree row and the saved tree are committed together.
    RunInTransaction(*app.database, add_sql, "添加[" + name + "]失败", 0,
                     [&app] { return UpdateSavedTree(app); });
  } else {
    // An update that finds no record saved nothing, and must not say otherwise.
    RunInTransaction(*app.database, {update_sql}, "修改[" + name + "]失败", 0,
                     [&app] { return app.database->Changes() > 0; });
  }
  ShowEntry(app, name);
  if (IsChecked({app.editor_window, page.check_box})) {
    if (page.collection == Collection::Herbs) {
      ClearBoxes(app, page, kHerbColumns);
    } else {
      ClearBoxes(app, page, kPrescriptionColumns);
    }
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
    MsgBox(Value::FromText("此类[" + GetTreeItemText(tree, current) + "]不能添加二类"), 0);
    return;
  }
  app.entry_edit_mode = kAddMode;
  LoadWindow(app.editor_window, {}, true);
}

void EditEntry(Application& app) {
  const ControlRef tree = app.Tree();
  const int current = GetCurrentItem(tree);
  if (current == -1 || GetParentItem(tree, current) == -1) {
    MsgBox(Value::FromText("这是一类没有内容"), 0);
    return;
  }
  app.entry_edit_mode = kEditMode;
  LoadWindow(app.editor_window, {}, true);
}

void PrepareEditor(Application& app) {
  const EditorPage* page = PageOf(app);
  if (page == nullptr) return;
  const ControlRef tree = app.Tree();
  const Text current = GetTreeItemText(tree, GetCurrentItem(tree));
  const bool adding = app.entry_edit_mode == kAddMode;
  if (adding) {
    SetInputMode({app.editor_window, page->name_box}, 0);
    SetText({app.editor_window, page->category_box}, current);
  } else if (page->collection == Collection::Herbs) {
    LoadEntry(app, *page, kHerbColumns, current);
  } else {
    LoadEntry(app, *page, kPrescriptionColumns, current);
  }
  SetText({app.editor_window, ""}, adding ? page->add_title : page->edit_title);
  SetCurrentPage({app.editor_window, kTabs}, page->page);
  const ControlRef check_box{app.editor_window, page->check_box};
  SetVisible(check_box, adding);
  if (!adding) SetChecked(check_box, false);
}

namespace {

// An entry's name is a tree item's text too: one the tree cannot keep whole could not be
// found again from it.
bool RefuseLongName(const Text& name) {
  if (name.size() <= kTreeTextLimit) return false;
  MsgBox(Value::FromText(kNameTooLong), 0);
  return true;
}

}  // namespace

void SaveHerb(Application& app) {
  const Text name = GetText({app.editor_window, kHerbPage.name_box});
  if (name.empty() || !app.database || RefuseLongName(name)) return;
  const Text category = GetText({app.editor_window, kHerbPage.category_box});
  std::array<Text, kHerbColumns.size()> v;
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = GetText(Box(app, kHerbColumns[i]));
  const HerbFields fields{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
  Save(app, kHerbPage,
       {statements::InsertEntryTreeRow(Collection::Herbs, name, category),
        statements::InsertHerb(name, category, fields)},
       statements::UpdateHerb(name, fields), name);
}

void SavePrescription(Application& app) {
  const Text name = GetText({app.editor_window, kPrescriptionPage.name_box});
  if (name.empty() || !app.database || RefuseLongName(name)) return;
  const Text category = GetText({app.editor_window, kPrescriptionPage.category_box});
  // A dose is written right after its herb, so spaces typed between them are dropped.
  std::array<Text, kPrescriptionColumns.size()> v;
  for (std::size_t i = 0; i < v.size(); ++i) {
    v[i] = RemoveSpaces(GetText(Box(app, kPrescriptionColumns[i])));
  }
  const PrescriptionFields fields{v[0], v[1], v[2], v[3], v[4]};
  Save(app, kPrescriptionPage,
       {statements::InsertEntryTreeRow(Collection::Prescriptions, name, category),
        statements::InsertPrescription(name, category, fields)},
       statements::UpdatePrescription(name, fields), name);
}

void WireEditorWindow(Application& app) {
  Application* a = &app;
  const WindowId w = app.editor_window;
  OnEvent({w, ""}, Event::Created, [a] { PrepareEditor(*a); });
  OnEvent({w, "按钮1"}, Event::Clicked, app.Guarded([a] { SaveHerb(*a); }));
  OnEvent({w, "按钮3"}, Event::Clicked, app.Guarded([a] { SavePrescription(*a); }));
  OnEvent({w, "按钮2"}, Event::Clicked, [w] { CloseWindow(w); });
  OnEvent({w, "按钮4"}, Event::Clicked, [w] { CloseWindow(w); });
  OnKeyPressed({w, ""}, [w](int key) {  // Escape is 取消
    if (key == 27) CloseWindow(w);
  });
}

}  // namespace kelmor
