#include "app/category_tree.h"

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
  const char* sql = nullptr;
  if (app.collection_mode == kHerbs) sql = "select * from zylb ORDER BY xm";
  if (app.collection_mode == kPrescriptions) sql = "select * from yflb ORDER BY xm";
  if (sql != nullptr && app.database) {
    // A query that fails (the file locked or unreadable) builds nothing and leaves the tree
    // as it is shown: an empty tree would be saved over the stored one.
    if (!rows.Open(sql, *app.database) || !rows.Query()) return false;
  }
  SetTreeContent(app.Tree(), Bytes());
  SetText(app.Page(), Text());

  // The selectors are made once per build, not once per row.
  const Field type_field("type");
  const Field xm_field("xm");
  const Field id_field("id");
  TreeBuilder tree;
  tree.Reserve(static_cast<std::size_t>(std::max(rows.RowCount(), 0)));
  while (!rows.IsEnd()) {
    rows.Next();
    const Text type = rows.ReadText(type_field);
    if (!type.empty()) {
      const std::int32_t xm = rows.ReadInt(xm_field);
      tree.AddRow(rows.ReadInt(id_field), type, xm);
    }
    DoEvents();
    // The user may have closed the window meanwhile; then nothing may touch its controls.
    if (!IsWindowLoaded(app.main_window)) return false;
  }
  rows.Close();
  DoEvents();
  if (!IsWindowLoaded(app.main_window)) return false;
  // One write of the whole content gives the tree that adding the items one by one would.
  if (tree.size() > 0) SetTreeContent(app.Tree(), tree.Content());
  return true;
}

bool SaveTree(Application& app, const Text& digit, const Bytes& content) {
  if (!app.database) return false;
  SqliteTable table;
  if (!table.Open("lbsj", *app.database)) return false;
  bool written = false;
  if (table.Find("id=" + digit)) {
    Bytes packed = CompressBytes(content);
    // An empty result means packing failed; the stored tree is then left as it was.
    if (!packed.empty() && table.Edit() && table.WriteField("sj", Value::FromBytes(packed))) {
      written = table.Update();
    }
  }
  table.Close();
  return written;
}

Bytes LoadTree(Application& app, const Text& digit) {
  Bytes content;
  if (!app.database) return content;
  SqliteTable table;
  if (table.Open("lbsj", *app.database)) {
    table.Next();
    if (table.Find("id=" + digit)) content = DecompressBytes(table.ReadBytes("sj"));
  }
  table.Close();
  return content;
}

void ShowSavedTree(Application& app, const Text& digit) {
  SetTreeContent(app.Tree(), LoadTree(app, digit));
  app.tree_accessor->Reload();
}

void UpdateTree(Application& app) {
  Application::BusyScope busy(app);
  const Text digit = CollectionDigit(app.collection_mode);
  if (!BuildTree(app)) return;
  app.tree_accessor->Reload();
  const Bytes content = app.tree_accessor->ExportContent();
  SaveTree(app, digit, content);
  SetTreeContent(app.Tree(), LoadTree(app, digit));
  app.tree_accessor->Reload();
}

}  // namespace kelmor
