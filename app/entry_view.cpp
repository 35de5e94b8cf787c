#include "app/entry_view.h"

#include <vector>

#include "app/entry_page.h"
#include "app/page_commands.h"
#include "app/statements.h"
#include "runtime/rich_edit_control.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

void ApplyDetailCharFormat(Application& app) {
  if (app.detail_char_format) SetDefaultCharFormat(app.Page(), *app.detail_char_format);
}

namespace {

// The first row of the entry table that satisfies `condition`, its columns read into `values`.
bool ReadEntry(Application& app, const char* table_name, const Text& condition,
               std::span<const char* const> columns, std::vector<Text>& values) {
  SqliteTable table;
  if (!table.Open(table_name, *app.database)) return false;
  const bool found = table.Find(condition);
  if (found) {
    values.reserve(columns.size());
    for (const char* column : columns) values.push_back(table.ReadText(column));
  }
  table.Close();
  return found;
}

}  // namespace

void ShowEntry(Application& app, const Text& name) {
  if (!app.database) return;
  const CollectionDescription& c = app.CurrentCollection();
  std::vector<Text> values;
  if (ReadEntry(app, c.entry_table, statements::EntryCondition(c.collection, name), c.page.columns,
                values)) {
    SetText(app.Page(), ComposePage(c.page, values));
    SetPageInfo(app.Page(), name, PageHeader(c, name));
  }
}

}  // namespace kelmor
