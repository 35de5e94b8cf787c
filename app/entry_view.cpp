#include "app/entry_view.h"

#include <vector>

#include "app/entry_page.h"
#include "app/statements.h"
#include "runtime/rich_edit_control.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

void ApplyDetailCharFormat(Application& app) {
  if (app.detail_char_format) SetDefaultCharFormat(app.Page(), *app.detail_char_format);
}

namespace {

// The first row of the entry table that satisfies `condition`, its columns read into `values`.
bool ReadEntry(const SqliteDB& db, const char* table_name, const Text& condition,
               std::span<const char* const> columns, std::vector<Text>& values) {
  SqliteTable table;
  if (!table.Open(table_name, db)) return false;
  const bool found = table.Find(condition);
  if (found) {
    values.reserve(columns.size());
    for (const char* column : columns) values.push_back(table.ReadText(column));
  }
  table.Close();
  return found;
}

}  // namespace

std::optional<Text> ComposeEntryPage(const SqliteDB& db, Collection c, const Text& name) {
  const CollectionDescription& d = Describe(c);
  std::vector<Text> values;
  if (!ReadEntry(db, d.entry_table, statements::EntryCondition(c, name), d.page.columns, values)) {
    return std::nullopt;
  }
  return ComposePage(d.page, values);
}

void ShowEntry(Application& app, const Text& name) {
  if (!app.database) return;
  if (std::optional<Text> page = ComposeEntryPage(*app.database, app.collection_mode, name)) {
    SetText(app.Page(), *page);
  }
}

}  // namespace kelmor
