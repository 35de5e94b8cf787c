#include "app/main_window.h"

#include <algorithm>
#include <cstdio>

#include "app/category_tree.h"
#include "app/commands.h"
#include "app/entry_view.h"
#include "app/page_commands.h"
#include "app/window_templates.h"
#include "runtime/codec.h"
#include "runtime/key_codes.h"
#include "runtime/text_commands.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

namespace {

// The tree box as the tree accessor addresses it: its position among the window's controls.
std::int32_t TreeControlId(const Application& app) {
  const WindowTemplate& t = GetWindowTemplate(app.main_window);
  for (std::size_t i = 0; i < t.controls.size(); ++i) {
    if (t.controls[i].name == main_controls::kTree) return static_cast<std::int32_t>(i);
  }
  return -1;
}

// The splitter bar keeps at least this much of the tree and of the page on either side, so
// neither vanishes and the bar can always be grabbed again.
constexpr int kSplitterMargin = 20;

// The nearest allowed bar position for a window of outer width `width`: the page (left p + 4,
// width W - p - 11) keeps the margin as well as the tree (width p).
int AllowedSplitterPosition(int p, int width) {
  return std::max(kSplitterMargin, std::min(p, width - 11 - kSplitterMargin));
}

// One line on standard error for a user who started the program from a terminal.
void ReportUnopenedDatabase(const Application& app) {
  auto terminal = [](const Text& gbk) { return LocalToUtf8(gbk).value_or(gbk); };
  std::fprintf(stderr, "kelmor: %s: %s\n", terminal(app.database_file).c_str(),
               terminal(app.database->last_error_message()).c_str());
}

}  // namespace

void StartUp(Application& app) {
  app.collection_mode = Collection::Herbs;
  // A missing file is never created; the window stays empty, and a terminal learns why. A file
  // that is no database is closed again, so that nothing is written into it or backed up from it.
  SqliteDB& db = *app.database;
  if (!db.Open(app.database_file, false)) {
    ReportUnopenedDatabase(app);
  } else if (db.FileIsNotADatabase()) {
    ReportUnopenedDatabase(app);
    db.Close();
  }
  app.tree_accessor->Bind(app.main_window, TreeControlId(app));
  ShowSavedTree(app, Collection::Herbs);
  app.detail_char_format->size = 10;
  ApplyDetailCharFormat(app);
  FillFieldChooser(app);
}

void LayoutMainWindow(Application& app) {
  const ControlRef window{app.main_window, ""};
  MoveControl(app.Main(main_controls::kStrip), 0, 0, GetWidth(window), 40);
  MoveControl(app.Tree(), 0, 40, 180, GetHeight(window) - 80);
  const int t = GetHeight(app.Tree());
  MoveControl(app.Main(main_controls::kSplitter), 180, 40, 3, t);
  MoveControl(app.Page(), 183, 40, GetWidth(window) - 190, t);
  // Too narrow a window for the bar at 180: it goes where a drag could put it.
  if (AllowedSplitterPosition(180, GetWidth(window)) != 180) MoveSplitter(app, 180);
  app.detail_char_format->size = GetWindowState(app.main_window) == kWindowMaximised ? 15 : 10;
  ApplyDetailCharFormat(app);
}

void MoveSplitter(Application& app, int p) {
  const ControlRef window{app.main_window, ""};
  p = AllowedSplitterPosition(p, GetWidth(window));
  MoveControl(app.Tree(), 0, GetTop(app.Tree()), p, GetHeight(app.Tree()));
  MoveControl(app.Page(), p + 4, GetTop(app.Page()), GetWidth(window) - p - 11,
              GetHeight(app.Page()));
  MoveControl(app.Main(main_controls::kSplitter), p);
}

void SwitchCollection(Application& app, Collection c) {
  app.collection_mode = c;
  ShowSavedTree(app, c);
  FillFieldChooser(app);
}

void FillFieldChooser(Application& app) {
  Application::BusyScope busy(app);
  ComboClear(app.FieldChooser());
  for (const Text& name : SearchFields(*app.database, app.collection_mode)) {
    ComboAddItem(app.FieldChooser(), name);
    DoEvents();
    if (!IsWindowLoaded(app.main_window)) return;
  }
}

std::vector<Text> SearchFields(const SqliteDB& db, Collection c) {
  const CollectionDescription& d = Describe(c);
  SqliteTable table;
  std::vector<Text> fields;
  table.Open(d.entry_table, db);
  for (const Text& name : table.FieldNames()) {
    if (name == "id") continue;
    // The herb table hides only a column spelt exactly TYPE; the prescription table any case.
    if ((d.category_column_any_case ? ToLower(name) : name) == d.category_column) continue;
    fields.push_back(name);
  }
  table.Close();
  return fields;
}

void ShowTreePopupMenu(Application& app) {
  PopupMenu(app.main_window, kMenuTop);
}

namespace {

// A double-click on the tree, or Enter.
void ShowCurrentEntry(Application& app) {
  const ControlRef tree = app.Tree();
  ShowEntry(app, GetTreeItemText(tree, GetCurrentItem(tree)));
}

}  // namespace

void WireMainWindow(Application& app) {
  Application* a = &app;
  const ControlRef window{app.main_window, ""};
  OnEvent(window, Event::Created, [a] { StartUp(*a); });
  OnEvent(window, Event::SizeChanged, [a] { LayoutMainWindow(*a); });
  OnSplitterMoved(app.Main(main_controls::kSplitter), [a](int p) { MoveSplitter(*a, p); });
  OnEvent(app.Main(main_controls::kHerbsButton), Event::Clicked,
          app.Guarded([a] { SwitchCollection(*a, Collection::Herbs); }));
  OnEvent(app.Main(main_controls::kPrescriptionsButton), Event::Clicked,
          app.Guarded([a] { SwitchCollection(*a, Collection::Prescriptions); }));
  OnEvent(app.Main(main_controls::kSearchButton), Event::Clicked, [a] { StartSearch(*a); });
  OnKeyPressed(app.SearchBox(), [a](int key) {
    if (key == kKeyEnter) StartSearch(*a);
  });
  OnEvent(app.Tree(), Event::RightButtonReleased, [a] { ShowTreePopupMenu(*a); });
  OnEvent(app.Tree(), Event::MenuKeyPressed, [a] { ShowTreePopupMenu(*a); });
  OnEvent(app.Tree(), Event::DoubleClicked, [a] {
    // Beside the items the double-click names no entry; the current item is not meant.
    if (TreeItemAtMouse(a->Tree()) == -1) return;
    ShowCurrentEntry(*a);
  });
  OnKeyPressed(app.Tree(), [a](int key) {
    if (key == kKeyEnter) ShowCurrentEntry(*a);
  });
  OnEvent(app.Page(), Event::PrintRequested, app.Guarded([a] { PrintShownPage(*a); }));
  OnEvent(app.Page(), Event::PdfExportRequested, app.Guarded([a] { ExportShownPage(*a); }));
  OnLabelEditFinished(app.Tree(), [a](int index) -> std::optional<bool> {
    if (!a->CommandMayStart()) return false;  // keep the tree as the build leaves it
    Application::CommandScope running(*a);
    return FinishRename(*a, index);
  });

  const std::pair<const char*, void (*)(Application&)> menu[] = {
      {kMenuAddCategory, AddCategory}, {kMenuAddEntry, AddEntry},    {kMenuRename, StartRename},
      {kMenuEditEntry, EditEntry},     {kMenuDelete, DeleteNode},    {kMenuUpdate, UpdateTree},
      {kMenuCompact, CompactDatabase}, {kMenuBackup, BackupDatabase}};
  for (const auto& [name, operation] : menu) {
    OnEvent(app.Main(name), Event::Clicked, app.Guarded([a, op = operation] { op(*a); }));
  }
}

}  // namespace kelmor
