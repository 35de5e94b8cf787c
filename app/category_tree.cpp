#include "app/category_tree.h"

#include "app/statements.h"
#include "app/tree_builder.h"
#include "runtime/pack.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/field.h"
#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

bool BuildTree(Application& app) {
  Application::BusyScope busy(app);
  SqliteDataset rows;
  if (app.database) {
    // A query that fails (the file locked or unreadable) builds nothing and leaves the tree
    // as it is shown: an empty tree would be saved over the stored one.
    const Text sql = statements::SelectTreeRows(app.collection_mode);
    if (!rows.Open(sql, *app.database) || !rows.Query()) return false;
  }
  // Sorting the rows and counting them each take tens of milliseconds on a large book.
  DoEvents();
  if (!IsWindowLoaded(app.main_window)) return false;
  SetTreeContent(app.Tree(), Bytes());
  SetText(app.Page(), Text());

  // The selectors are made once per build, not once per row.
  const Field type_field("type");
  const Field xm_field("xm");
  const Field id_field("id");
  TreeBuilder tree;
  tree.Reserve(static_cast<std::size_t>(std::max(rows.RowCount(), 0)));
  DoEvents();
  if (!IsWindowLoaded(app.main_window)) return false;
  std::int32_t walked = 0;
  while (!rows.IsEnd()) {
    if (rows.Next()) ++walked;
    const Text type = rows.ReadText(type_field);
    if (!type.empty()) {
      const std::int32_t xm = rows.ReadInt(xm_field);
      tree.AddRow(rows.ReadInt(id_field), type, xm);
    }
    DoEvents();
    // The user may have closed the window meanwhile; then nothing may touch its controls.
    if (!IsWindowLoaded(app.main_window)) return false;
  }
  // A walk that ends early (a step refused: the file locked meanwhile) built part of the tree.
  const bool whole = walked == rows.RowCount();
  rows.Close();
  DoEvents();
  if (!IsWindowLoaded(app.main_window) || !whole) return false;
  // One write of the whole content gives the tree that adding the items one by one would.
  if (tree.size() > 0) SetTreeContent(app.Tree(), tree.Content());
  return true;
}

bool SaveTree(Application& app, Collection c, const Bytes& content) {
  if (!app.database) return false;
  SqliteTable table;
  if (!table.Open("lbsj", *app.database)) return false;
  bool written = false;
  if (table.Find(statements::SavedTreeCondition(c))) {
    // Packing a large tree takes tens of milliseconds; the window paints between slices.
    Bytes packed = CompressBytes(content, [] { DoEvents(); });
    // An empty result means packing failed; the stored tree is then left as it was.
    if (!packed.empty() && table.Edit() && table.WriteField("sj", Value::FromBytes(packed))) {
      written = table.Update();
    }
  }
  table.Close();
  return written;
}

bool HasTreeRow(Application& app, Collection c) {
  if (!app.database) return false;
  SqliteTable table;
  const bool found =
      table.Open("lbsj", *app.database) && table.Find(statements::SavedTreeCondition(c));
  table.Close();
  return found;
}

Bytes LoadTree(Application& app, Collection c) {
  return app.database ? LoadTree(*app.database, c) : Bytes();
}

Bytes LoadTree(const SqliteDB& db, Collection c) {
  Bytes content;
  SqliteTable table;
  if (table.Open("lbsj", db)) {
    table.Next();
    if (table.Find(statements::SavedTreeCondition(c))) {
      content = DecompressBytes(table.ReadBytes("sj"));
    }
  }
  table.Close();
  return content;
}

void ShowSavedTree(Application& app, Collection c) {
  SetTreeContent(app.Tree(), LoadTree(app, c));
  app.tree_accessor->Reload();
}

bool UpdateSavedTree(Application& app) {
  Application::BusyScope busy(app);
  const Collection c = app.collection_mode;
  if (!BuildTree(app)) {
    // Nothing is stored then; the tree shows the stored one (when it can be read), not a part
    // of the rows.
    if (IsWindowLoaded(app.main_window)) {
      const Bytes stored = LoadTree(app, c);
      if (!stored.empty()) {
        SetTreeContent(app.Tree(), stored);
        app.tree_accessor->Reload();
      }
    }
    return false;
  }
  // Between the steps after the walk the window gets to paint and take input (commands are
  // refused while busy); a window closed meanwhile is touched no further. The built tree is
  // taken into the accessor first, so a click meanwhile (an item expanded) is not saved.
  const auto window_stays = [&app] {
    DoEvents();
    return IsWindowLoaded(app.main_window);
  };
  app.tree_accessor->Reload();
  if (!window_stays()) return false;
  const Bytes content = app.tree_accessor->ExportContent();
  if (!window_stays()) return false;
  // A book without the lbsj row has no stored tree to keep in step: only a failed write counts.
  const bool saved = SaveTree(app, c, content) || !HasTreeRow(app, c);
  if (!window_stays()) return false;
  // Dropping the shown items is as long as writing them: done apart, with events between.
  SetTreeContent(app.Tree(), Bytes());
  if (!window_stays()) return false;
  const Bytes stored = LoadTree(app, c);
  if (!window_stays()) return false;
  SetTreeContent(app.Tree(), stored);
  if (!window_stays()) return false;
  app.tree_accessor->Reload();
  return saved;
}

void UpdateTree(Application& app) {
  UpdateSavedTree(app);
}

}  // namespace kelmor
