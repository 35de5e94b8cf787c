#include "app/transaction.h"

#include "runtime/dialogs.h"

namespace kelmor {

bool RunInTransaction(SqliteDB& db, const std::vector<Text>& sql, const Text& failure, int flags,
                      const std::function<void()>& before_commit) {
  db.BeginTransaction();
  bool ok = true;
  for (const Text& statement : sql) {
    if (!db.Execute(statement)) {
      MsgBox(Value::FromText(failure), flags);
      db.RollbackTransaction();
      ok = false;
      break;
    }
  }
  if (before_commit) before_commit();
  // After a rollback no transaction is open and this does nothing.
  db.CommitTransaction();
  return ok;
}

}  // namespace kelmor
