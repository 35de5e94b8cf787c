// The saved tree of a test book as items: unpacking and parsing need the runtime, so this lives
// in test_support, not beside the plain table helpers of schema.h.
#pragma once

#include <vector>

#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor::test {

// The items of the saved tree in the lbsj row `id`, unpacked and parsed; none when it does not
// unpack.
std::vector<TreeContentRecord> StoredTreeItems(SqliteDB& db, int id);

}  // namespace kelmor::test
