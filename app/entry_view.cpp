#include "app/entry_view.h"

#include "app/entry_page.h"
#include "app/sql_values.h"
#include "runtime/rich_edit_control.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

void ApplyDetailCharFormat(Application& app) {
  if (app.detail_char_format) SetDefaultCharFormat(app.Page(), *app.detail_char_format);
}

namespace {

template <std::size_t N>
bool ReadEntry(Application& app, const char* table_name, const Text& condition,
               const std::array<const char*, N>& columns, std::array<Text, N>& values) {
  SqliteTable table;
  if (!table.Open(table_name, *app.database)) return false;
  const bool found = table.Find(condition);
  if (found) {
    for (std::size_t i = 0; i < N; ++i) values[i] = table.ReadText(columns[i]);
  }
  table.Close();
  return found;
}

}  // namespace

void ShowEntry(Application& app, const Text& name) {
  if (!app.database) return;
  if (app.collection_mode == kHerbs) {
    std::array<Text, 13> values;
    if (ReadEntry(app, "zymm", "药物名称='" + DoubleQuotes(name) + "'", kHerbPageColumns, values)) {
      SetText(app.Page(), HerbPage(values));
    }
  } else if (app.collection_mode == kPrescriptions) {
    std::array<Text, 7> values;
    if (ReadEntry(app, "yfmm", "药方名称='" + DoubleQuotes(name) + "'", kPrescriptionPageColumns,
                  values)) {
      SetText(app.Page(), PrescriptionPage(values));
    }
  }
}

}  // namespace kelmor
