#include "sqlite_access/sqlite_db.h"

#include <sqlite3.h>

#include <cstdio>
#include <optional>
#include <string>

#include "sqlite_access/field.h"
#include "sqlite_access/statement_text.h"
#include "sqlite_access/utf8.h"

namespace kelmor {
namespace {

constexpr const char* kMemoryName = ":memory:";

bool IsMemoryName(const Text& name) {
  return name.empty() || sqlite::NamesEqualFolded(name, ":MEMORY:");
}

// A connection that SQLite refuses to close because statements are still open becomes a zombie
// that SQLite frees with its last statement, so it is not lost.
int CloseConnection(sqlite3* db) {
  const int rc = sqlite3_close(db);
  if (rc == SQLITE_BUSY) sqlite3_close_v2(db);
  return rc;
}

bool FileExists(const std::string& os_name) {
  std::FILE* f = std::fopen(os_name.c_str(), "r");
  if (!f) return false;
  std::fclose(f);
  return true;
}

}  // namespace

void SqliteDB::Closer::operator()(sqlite3* db) const {
  CloseConnection(db);
}

SqliteDB::~SqliteDB() {
  Close();
}

bool SqliteDB::Open(const Text& file_name, bool create) {
  Close();
  std::string utf8_name;
  if (IsMemoryName(file_name)) {
    if (!create) return false;
    utf8_name = kMemoryName;
  } else {
    // File names reach the operating system as UTF-8.
    std::optional<std::string> converted = sqlite::ToUtf8(file_name);
    if (!converted) return false;
    if (!create && !FileExists(*converted)) return false;
    utf8_name = std::move(*converted);
  }
  sqlite3* db = nullptr;
  if (sqlite3_open(utf8_name.c_str(), &db) != SQLITE_OK) {
    if (db) CloseConnection(db);
    return false;
  }
  connection_.reset(db);
  return true;
}

bool SqliteDB::Close() {
  if (!connection_) return true;
  return CloseConnection(connection_.release()) != SQLITE_BUSY;
}

bool SqliteDB::RunUtf8(const char* utf8_sql) {
  return sqlite3_exec(connection_.get(), utf8_sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteDB::RunLocal(const Text& sql) {
  std::optional<std::string> utf8 = sqlite::ToUtf8(sql);
  return utf8 && RunUtf8(utf8->c_str());
}

bool SqliteDB::Execute(const Text& sql) {
  if (sql.empty() || !connection_) return false;
  return RunLocal(sql);
}

int SqliteDB::Changes() const {
  return connection_ ? sqlite3_changes(connection_.get()) : 0;
}

bool SqliteDB::BeginTransaction(const Text& name) {
  if (!connection_) return false;
  return RunLocal(sqlite::FillTemplate("BEGIN TRANSACTION %s", {name}));
}

bool SqliteDB::CommitTransaction(const Text& name) {
  if (!connection_) return false;
  return RunLocal(sqlite::FillTemplate("COMMIT TRANSACTION %s", {name}));
}

bool SqliteDB::RollbackTransaction(const Text& name) {
  if (!connection_) return false;
  return RunLocal(sqlite::FillTemplate("ROLLBACK TRANSACTION %s", {name}));
}

bool SqliteDB::Vacuum() {
  if (!connection_) return false;
  return RunUtf8("VACUUM");
}

}  // namespace kelmor
