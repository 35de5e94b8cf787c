#include "app/entry_view.h"

#include <optional>
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
bool ReadEntry(const SqliteDB& db, const char* table_name, const Text& condition,
               std::span<const char* const> columns, std::vector<Text>& values) {
  SqliteTable table;
  if (!table.Open(table_name, db)) return false;
  const bool found = table.Find(condition);
  if (found) {
    values.reserve(columns.size());
    for (const char* column : columns) values.push_back(ReadShownText(table, column));
  }
  table.Close();
  return found;
}

// The page of the first entry of collection `c` that satisfies `condition`, and that entry's
// name as read.
std::optional<Text> ComposePageWhere(const SqliteDB& db, Collection c, const Text& condition,
                                     Text* shown_name = nullptr) {
  const CollectionDescription& d = Describe(c);
  std::vector<Text> values;
  // The page's columns, and after them the entry's name, which the printed page is called by.
  std::vector<const char*> columns(d.page.columns.begin(), d.page.columns.end());
  columns.push_back(d.name_column);
  if (!ReadEntry(db, d.entry_table, condition, columns, values)) return std::nullopt;
  if (shown_name) *shown_name = values.back();
  values.pop_back();
  return ComposePage(d.page, values);
}

}  // namespace

std::optional<Text> ComposeEntryPage(const SqliteDB& db, Collection c, const Text& name) {
  return ComposePageWhere(db, c, statements::EntryCondition(c, name));
}

void ShowEntry(Application& app, const Text& name) {
  ShowEntryWhere(app, statements::EntryCondition(app.collection_mode, name));
}

void ShowEntryWhere(Application& app, const Text& condition) {
  if (!app.database) return;
  Text name;
  if (std::optional<Text> page =
          ComposePageWhere(*app.database, app.collection_mode, condition, &name)) {
    SetText(app.Page(), *page);
    SetPageInfo(app.Page(), name, PageHeader(app.CurrentCollection(), name));
  }
}

}  // namespace kelmor
