// The detail page of one entry.
#pragma once

#include <optional>

#include "app/application.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {

// Shows the first entry of the current collection whose name is `name` as the labelled page;
// without such an entry the page stays as it is.
void ShowEntry(Application& app, const Text& name);
// The same for the first entry that satisfies an entry condition (statements::EntryCondition).
void ShowEntryWhere(Application& app, const Text& condition);

// A column of the table's current row as the page and the editor show it: a value the program
// could not read shows as kUnreadableValue, and `unreadable` (when given) says so.
Text ReadShownText(SqliteTable& table, const char* column, bool* unreadable = nullptr);

// The page ShowEntry shows for the first entry of collection `c` named `name`; none without
// such an entry. Everything that prints or exports a page composes it here, so that it is the
// page the window shows, byte for byte.
std::optional<Text> ComposeEntryPage(const SqliteDB& db, Collection c, const Text& name);

// Applies DetailCharFormat as the page's default character format.
void ApplyDetailCharFormat(Application& app);

}  // namespace kelmor
