#include "sqlite_access/row_id_snapshots.h"

#include <sqlite3.h>

namespace kelmor::sqlite {

bool RowIdSnapshots::Current(sqlite3* db, Stamp& stamp) {
  // Inside a transaction a list may hold rows that a rollback takes away again without any
  // counter moving; an attached database could change unseen and hold the table.
  if (db == nullptr || sqlite3_get_autocommit(db) == 0 || sqlite3_db_name(db, 2) != nullptr) {
    return false;
  }
  unsigned int version = 0;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_DATA_VERSION, &version) != SQLITE_OK) {
    return false;
  }
  stamp.main_version = version;
  // The temporary database exists only once something used it; until then it has no version.
  version = 0;
  sqlite3_file_control(db, "temp", SQLITE_FCNTL_DATA_VERSION, &version);
  stamp.temp_version = version;
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
  if (!Current(db, now)) {
    kept_.erase(table);
    return;
  }
  kept_[table] = Kept{now, std::move(ids)};
}

}  // namespace kelmor::sqlite
