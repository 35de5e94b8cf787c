#include "sqlite_access/row_id_snapshots.h"

#include <sqlite3.h>

#include "sqlite_access/handles.h"

namespace kelmor::sqlite {

namespace {

// The schema cookie of one database; it moves with every change of its schema, committed or
// not. Reading it also lets SQLite see any commit by others since its last read.
bool SchemaVersion(sqlite3* db, const char* sql, std::int64_t& version) {
  Statement s = Prepare(db, sql);
  if (!s || sqlite3_step(s.get()) != SQLITE_ROW) return false;
  version = sqlite3_column_int64(s.get(), 0);
  return true;
}

}  // namespace

bool RowIdSnapshots::Current(sqlite3* db, Stamp& stamp) {
  // An attached database could change unseen and hold the table.
  if (db == nullptr || sqlite3_db_name(db, 2) != nullptr) return false;
  // The temporary database has no pager until something uses it, and only its schema can
  // make a name mean another table.
  if (!SchemaVersion(db, "PRAGMA main.schema_version", stamp.main_schema) ||
      !SchemaVersion(db, "PRAGMA temp.schema_version", stamp.temp_schema)) {
    return false;
  }
  stamp.changes = sqlite3_total_changes64(db);
  unsigned int version = 0;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK) {
    return false;
  }
  stamp.main_version = version;
  return true;
}

std::shared_ptr<const RowIds> RowIdSnapshots::Find(sqlite3* db, const std::string& table) const {
  const auto it = kept_.find(table);
  if (it == kept_.end()) return nullptr;
  Stamp now;
  if (!Current(db, now) || !(now == it->second.stamp)) return nullptr;
  return it->second.ids;
}

void RowIdSnapshots::Keep(sqlite3* db, const std::string& table,
                          std::shared_ptr<const RowIds> ids) {
  Stamp now;
  // A rollback of a transaction that has written may take away rows the list holds without
  // moving any counter back; one that has only read takes nothing away.
  if (sqlite3_txn_state(db, nullptr) == SQLITE_TXN_WRITE || !Current(db, now)) {
    kept_.erase(table);
    return;
  }
  kept_[table] = Kept{now, std::move(ids)};
}

}  // namespace kelmor::sqlite
