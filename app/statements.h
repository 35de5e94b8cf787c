// Every statement and condition the reference book sends to SQLite, composed from its values in
// one place. Each value is placed between single quotes with its own quotes doubled, so that a
// value is stored and found as typed and can never change which rows a statement touches.
#pragma once

#include <span>

#include "app/collection.h"
#include "runtime/value.h"

namespace kelmor::statements {

Text SelectTreeRows(Collection c);
Text SelectNodeByName(Collection c, const Text& name);
Text SelectEntryByName(Collection c, const Text& name);
Text InsertCategory(Collection c, const Text& name);
Text RenameNode(Collection c, const Text& new_name, const Text& old_name);
Text RenameEntriesCategory(Collection c, const Text& new_name, const Text& old_name);
// The entry record of a renamed second-level item: the one of that category with the old name.
Text RenameEntry(Collection c, const Text& new_name, const Text& old_name, const Text& category);
Text DeleteNode(Collection c, const Text& name);
Text DeleteEntriesOfCategory(Collection c, const Text& name);
Text InsertEntryTreeRow(Collection c, const Text& name, const Text& category);
// `fields` holds the values of Describe(c).fields in their order; a missing one counts as empty.
Text InsertEntry(Collection c, const Text& name, const Text& category,
                 std::span<const Text> fields);
Text UpdateEntry(Collection c, const Text& name, std::span<const Text> fields);

// Conditions for SqliteTable.Find.
Text EntryCondition(Collection c, const Text& name);
Text SavedTreeCondition(Collection c);
// column like '%term%': quotes doubled, while % and _ keep their LIKE meaning.
Text SearchCondition(const Text& column, const Text& term);

}  // namespace kelmor::statements
