#include "app/transaction.h"

#include "runtime/dialogs.h"

namespace kelmor {

bool RunInTransaction(SqliteDB& db, const std::vector<Text>& sql, const Text& failure, int flags,
                      const std::function<bool()>& before_commit) {
  db.BeginTransaction();
  bool ok = true;
  for (const Text& statement : sql) {
    if (!db.Execute(statement)) {
      ok = false;
      break;
    }
  }
  if (ok && before_commit) ok = before_commit();
  // A commit that fails leaves the transaction open (busy) or half written (disk full); either
  // way nothing of the action may stay, and the user must hear of it.
  if (ok) ok = db.CommitTransaction();
  if (ok) return true;
  db.RollbackTransaction();
  MsgBox(Value::FromText(failure), flags);
  if (before_commit) before_commit();
  return false;
}

}  // namespace kelmor
