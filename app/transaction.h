// Running the statements of one user action as a single transaction.
#pragma once

#include <functional>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// Runs the statements in order inside one transaction. The first failure shows `failure`
// (with the message-box `flags`), rolls back and skips the rest: running them after the
// rollback would apply only part of the action, outside any transaction. `before_commit` runs
// after the statements in every case, inside the transaction when none failed. Returns whether
// every statement succeeded.
bool RunInTransaction(SqliteDB& db, const std::vector<Text>& sql, const Text& failure, int flags,
                      const std::function<void()>& before_commit = {});

}  // namespace kelmor
