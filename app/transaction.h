// Running the statements of one user action as a single transaction.
#pragma once

#include <functional>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// Runs the statements in order inside one transaction, then `before_commit` (the steps that
// belong to the same action, such as storing the rebuilt tree), then commits. The first
// statement that fails, a `before_commit` that returns false or a commit that fails (disk full,
// the file locked) rolls the whole action back and shows `failure` (with the message-box
// `flags`); the rest is skipped, as running it after the rollback would apply only part of the
// action outside any transaction. `before_commit` then runs once more, outside, on the rows as
// they are. Returns whether the action was committed.
bool RunInTransaction(SqliteDB& db, const std::vector<Text>& sql, const Text& failure, int flags,
                      const std::function<bool()>& before_commit = {});

}  // namespace kelmor
