#include "app/entry_view.h"

#include <vector>

#include "app/entry_page.h"
#include "app/page_commands.h"
#include "app/statements.h"
#include "runtime/rich_edit_control.h"

namespace kelmor {

void ApplyDetailCharFormat(Application& app) {
  if (app.detail_char_format) SetDefaultCharFormat(app.Page(), *app.detail_char_format);
}

Text ReadShownText(SqliteTable& table, const char* column, bool* unreadable) {
  bool ok;
  bool readable;
  Text value = table.ReadText(column, ok, readable);
  if (unreadable) *unreadable = !readable;
  return readable ? value : Text(kUnreadableValue);
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
    for (const char* column : columns) values.push_back(ReadShownText(table, column));
  }
  table.Close();
  return found;
}

}  // namespace

void ShowEntry(Application& app, const Text& name) {
  ShowEntryWhere(app, statements::EntryCondition(app.collection_mode, name));
}

void ShowEntryWhere(Application& app, const Text& condition) {
  if (!app.database) return;
  const CollectionDescription& c = app.CurrentCollection();
  std::vector<Text> values;
  // The page's columns, and after them the entry's name, which the printed page is called by.
  std::vector<const char*> columns(c.page.columns.begin(), c.page.columns.end());
  columns.push_back(c.name_column);
  if (ReadEntry(app, c.entry_table, condition, columns, values)) {
    const Text name = values.back();
    values.pop_back();
    SetText(app.Page(), ComposePage(c.page, values));
    SetPageInfo(app.Page(), name, PageHeader(c, name));
  }
}

}  // namespace kelmor
