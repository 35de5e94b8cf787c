// Names in a collection. The book finds every category and every entry by its name, so each name
// may be carried by one item only: a name is used when a row of the category table or a record of
// the entry table carries it, compared by the queries themselves, exactly as the statements
// compare. Every way a name enters the book or changes asks here first.
#pragma once

#include "app/collection.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// The rows a query returns; 0 when it fails.
int CountRows(SqliteDB& db, const Text& query);

bool IsNameUsed(SqliteDB& db, Collection c, const Text& name);

// When the name is used: shows "[" + name + "]已经存在," + refusal (flags 0) and returns true.
// refusal is "不能增加" for an addition, "不能修改" for a rename.
bool RefuseUsedName(SqliteDB& db, Collection c, const Text& name, const char* refusal);

}  // namespace kelmor
