#include "sqlite_access/sqlite_db.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "sqlite_access/connection_lease.h"
#include "sqlite_access/field.h"
#include "sqlite_access/handles.h"
#include "sqlite_access/statement_text.h"
#include "sqlite_access/utf8.h"

namespace kelmor {
namespace {

constexpr const char* kMemoryName = ":memory:";
constexpr int kReadOnlyBusyMilliseconds = 3000;

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

// A connection of its own to the fresh file a backup is written into, closed on every path.
struct BackupTarget {
  sqlite3* db = nullptr;
  ~BackupTarget() {
    if (db) sqlite3_close(db);
  }
  bool Close() {
    sqlite3* d = db;
    db = nullptr;
    return sqlite3_close(d) == SQLITE_OK;
  }
};

// Copies every page of the source's main database into the target's; SQLite's result code.
int CopyPages(sqlite3* source, sqlite3* target) {
  sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
  if (!backup) return sqlite3_errcode(target);
  const int step = sqlite3_backup_step(backup, -1);
  const int finish = sqlite3_backup_finish(backup);
  return step == SQLITE_DONE ? finish : step;
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
  return OpenFile(file_name, create, false);
}

bool SqliteDB::OpenReadOnly(const Text& file_name) {
  if (IsMemoryName(file_name)) {
    Close();
    return Result(SQLITE_CANTOPEN);
  }
  return OpenFile(file_name, false, true);
}

bool SqliteDB::OpenFile(const Text& file_name, bool create, bool read_only) {
  Close();
  std::string utf8_name;
  if (IsMemoryName(file_name)) {
    if (!create) return Result(SQLITE_CANTOPEN);
    utf8_name = kMemoryName;
  } else {
    // File names reach the operating system as UTF-8.
    std::optional<std::string> converted = sqlite::ToUtf8(file_name);
    if (!converted) return Result(SQLITE_CANTOPEN);
    if (!create && !FileExists(*converted)) return Result(SQLITE_CANTOPEN);
    utf8_name = std::move(*converted);
  }
  sqlite3* db = nullptr;
  const int flags = read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(utf8_name.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    Result(rc, db);
    if (db) CloseConnection(db);
    return false;
  }
  // The program may be writing the book meanwhile; a reader waits for that rather than fail.
  if (read_only) sqlite3_busy_timeout(db, kReadOnlyBusyMilliseconds);
  connection_.reset(db);
  return Result(SQLITE_OK);
}

bool SqliteDB::Close() {
  // Record sets and tables finalize their statements first, so that the connection can close.
  std::vector<sqlite::ConnectionLease*> leases;
  leases.swap(leases_);
  for (sqlite::ConnectionLease* lease : leases) lease->Revoke();
  // A later connection starts its counters anew: what this one vouched for means nothing there.
  row_id_snapshots_.Clear();
  if (!connection_) return Result(SQLITE_OK);
  sqlite3* db = connection_.release();
  const int rc = sqlite3_close(db);
  if (rc != SQLITE_BUSY) return Result(SQLITE_OK);
  Result(rc, db);
  sqlite3_close_v2(db);  // freed with its last statement
  return false;
}

void SqliteDB::TakeBack(sqlite::ConnectionLease* lease) const {
  std::erase(leases_, lease);
}

bool SqliteDB::Result(int code, sqlite3* db) {
  last_error_code_ = code;
  if (code == SQLITE_OK) {
    last_error_message_.clear();
    return true;
  }
  last_error_message_ = sqlite::ToLocalOrEmpty(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
  return false;
}

bool SqliteDB::RunUtf8(const char* utf8_sql) {
  return Result(sqlite3_exec(connection_.get(), utf8_sql, nullptr, nullptr, nullptr),
                connection_.get());
}

bool SqliteDB::RunLocal(const Text& sql) {
  std::optional<std::string> utf8 = sqlite::ToUtf8(sql);
  return utf8 ? RunUtf8(utf8->c_str()) : Result(SQLITE_MISUSE);
}

bool SqliteDB::Execute(const Text& sql) {
  if (sql.empty() || !connection_) return Result(SQLITE_MISUSE);
  return RunLocal(sql);
}

int SqliteDB::Changes() const {
  return connection_ ? sqlite3_changes(connection_.get()) : 0;
}

bool SqliteDB::BeginTransaction(const Text& name) {
  if (!connection_) return Result(SQLITE_MISUSE);
  return RunLocal(sqlite::FillTemplate("BEGIN TRANSACTION %s", {name}));
}

bool SqliteDB::CommitTransaction(const Text& name) {
  if (!connection_) return Result(SQLITE_MISUSE);
  return RunLocal(sqlite::FillTemplate("COMMIT TRANSACTION %s", {name}));
}

bool SqliteDB::RollbackTransaction(const Text& name) {
  if (!connection_) return Result(SQLITE_MISUSE);
  return RunLocal(sqlite::FillTemplate("ROLLBACK TRANSACTION %s", {name}));
}

bool SqliteDB::Vacuum() {
  if (!connection_) return Result(SQLITE_MISUSE);
  return RunUtf8("VACUUM");
}

bool SqliteDB::BackupTo(const Text& file_name) {
  if (!connection_ || IsMemoryName(file_name)) return Result(SQLITE_MISUSE);
  const std::optional<std::string> target = sqlite::ToUtf8(file_name);
  if (!target) return Result(SQLITE_CANTOPEN);
  std::string part = *target + ".part-XXXXXX";
  const int fd = ::mkstemp(part.data());
  if (fd < 0) return Result(SQLITE_CANTOPEN);
  // The copy is readable by whoever may read the database itself.
  struct stat source {};
  const char* source_name = sqlite3_db_filename(connection_.get(), "main");
  if (source_name && *source_name && ::stat(source_name, &source) == 0) {
    ::fchmod(fd, source.st_mode & 0666);
  }
  ::close(fd);
  BackupTarget copy;
  int rc = sqlite3_open_v2(part.c_str(), &copy.db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) rc = CopyPages(connection_.get(), copy.db);
  if (rc != SQLITE_OK) Result(rc, copy.db);
  const bool closed = copy.Close();
  const bool ok = rc == SQLITE_OK && closed && std::rename(part.c_str(), target->c_str()) == 0;
  if (!ok) {
    std::remove(part.c_str());
    std::remove((part + "-journal").c_str());
    return rc == SQLITE_OK ? Result(SQLITE_CANTOPEN) : false;
  }
  return Result(SQLITE_OK);
}

bool SqliteDB::FileIsNotADatabase() {
  if (!connection_) return false;
  int rc = SQLITE_OK;
  sqlite::Statement count =
      sqlite::Prepare(connection_.get(), "SELECT count(*) FROM sqlite_master", &rc);
  if (count) rc = sqlite3_step(count.get());
  const bool empty = rc == SQLITE_ROW && sqlite3_column_int64(count.get(), 0) == 0;
  if (rc != SQLITE_NOTADB && !empty) return false;
  Result(SQLITE_NOTADB);
  return true;
}

}  // namespace kelmor
