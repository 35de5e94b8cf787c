// Every statement and condition the reference book sends to SQLite, composed from its values in
// one place. Each value is placed between single quotes with its own quotes doubled, so that a
// value is stored and found as typed and can never change which rows a statement touches.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/collection.h"
#include "runtime/value.h"

namespace kelmor::statements {

Text SelectTreeRows(Collection c);
Text SelectNodeByName(Collection c, const Text& name);
Text SelectEntryByName(Collection c, const Text& name);
// The entry records that satisfy an EntryCondition.
Text SelectEntries(Collection c, const Text& condition);
// The first-level rows of the name other than the row `id`.
Text SelectOtherCategories(Collection c, const Text& name, std::int32_t id);
// A statement or query that ends in a condition on the category table, narrowed to the row `id`:
// where two rows carry one name, the name alone cannot tell them apart.
Text OnlyRow(const Text& statement, std::int32_t id);
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
// `fields` as for InsertEntry; a nullopt field keeps its stored value (written as column=column).
// `condition` is an EntryCondition.
Text UpdateEntry(Collection c, std::span<const std::optional<Text>> fields, const Text& condition);

// Conditions for SqliteTable.Find.
Text EntryCondition(Collection c, const Text& name);
// The record of that name in one category.
Text EntryCondition(Collection c, const Text& name, const Text& category);
Text SavedTreeCondition(Collection c);
// column like '%term%': quotes doubled, while % and _ keep their LIKE meaning.
Text SearchCondition(const Text& column, const Text& term);

}  // namespace kelmor::statements
