#include "app/used_names.h"

#include "app/statements.h"
#include "runtime/dialogs.h"
#include "sqlite_access/sqlite_dataset.h"

namespace kelmor {

int CountRows(SqliteDB& db, const Text& query) {
  SqliteDataset rows;
  rows.Open(query, db);
  rows.Query();
  return rows.RowCount();
}

bool IsNameUsed(SqliteDB& db, Collection c, const Text& name) {
  return CountRows(db, statements::SelectNodeByName(c, name)) > 0 ||
         CountRows(db, statements::SelectEntryByName(c, name)) > 0;
}

bool RefuseUsedName(SqliteDB& db, Collection c, const Text& name, const char* refusal) {
  if (!IsNameUsed(db, c, name)) return false;
  MsgBox(Value::FromText("[" + name + "]已经存在," + refusal), kMsgBoxOk);
  return true;
}

}  // namespace kelmor
