#include "sqlite_access/connection_lease.h"

#include "sqlite_access/sqlite_db.h"

namespace kelmor::sqlite {

void ConnectionLease::Take(const SqliteDB& db) {
  Return();
  db.Lend(this);
  db_ = &db;
}

void ConnectionLease::Return() {
  if (db_ == nullptr) return;
  db_->TakeBack(this);
  db_ = nullptr;
}

void ConnectionLease::Revoke() {
  db_ = nullptr;
  if (release_) release_();
}

}  // namespace kelmor::sqlite
