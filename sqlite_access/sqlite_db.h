// SqliteDB: one connection to an SQLite database file (or an in-memory database). Record sets
// and tables borrow its connection through a lease; closing the connection closes them first,
// after which they fail as closed objects do.
#pragma once

#include <memory>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/row_id_snapshots.h"

struct sqlite3;

namespace kelmor {

namespace sqlite {
class ConnectionLease;
}

class SqliteDB {
 public:
  SqliteDB() = default;
  ~SqliteDB();
  SqliteDB(const SqliteDB&) = delete;
  SqliteDB& operator=(const SqliteDB&) = delete;

  // Opens a file, or an in-memory database for an empty name or ":memory:" in any ASCII letter
  // case. Without create, a file must already exist (no file is made) and an in-memory database
  // is refused. Any open connection is closed first, also when the new open fails.
  bool Open(const Text& file_name = Text(), bool create = false);
  // Opens an existing file that SQLite itself keeps from being written through this connection
  // (no in-memory database). A read waits a few seconds for another program's write to end.
  bool OpenReadOnly(const Text& file_name);

  // Closes the record sets and tables on this connection first. False only when SQLite still
  // reports the connection busy (statements prepared on it by hand); the object is closed in
  // every case, and such a connection is freed once its last statement is finalized.
  bool Close();

  // Runs SQL (several statements separated by semicolons run in order); rows are discarded.
  bool Execute(const Text& sql);
  // Rows changed by the last INSERT, UPDATE or DELETE that ran to its end; 0 when closed.
  int Changes() const;

  // "BEGIN TRANSACTION %s" and its kin; without a name the statement ends in one space.
  bool BeginTransaction(const Text& name = Text());
  bool CommitTransaction(const Text& name = Text());
  bool RollbackTransaction(const Text& name = Text());

  bool Vacuum();

  // Writes the database as committed -- also what a write-ahead log holds that the file does not
  // yet -- into file_name through SQLite's online backup. The copy is made in a fresh file beside
  // the target and renamed over it when whole, so a failure leaves an older copy as it was.
  bool BackupTo(const Text& file_name);

  // Whether the open file turned out to be no database. SQLite reads a file's header only when
  // first asked, so Open succeeds on a text file; an empty file opens as a new, empty database.
  // For both this is true, with SQLite's message for a file that is not a database as the last
  // error. A read that fails for another reason (the file locked meanwhile) says nothing about
  // the file: false.
  bool FileIsNotADatabase();

  // SQLite's result code and message of the last operation: SQLITE_OK and the empty text after
  // one that succeeded. A file that Open without create finds missing or unreadable gives
  // SQLITE_CANTOPEN; a call refused before SQLite is reached (no connection, empty or
  // unconvertible text) gives SQLITE_MISUSE. The message is local text.
  int last_error_code() const { return last_error_code_; }
  const Text& last_error_message() const { return last_error_message_; }

  bool IsOpen() const { return connection_ != nullptr; }
  // The borrowed connection; null when closed. SQLite's error state stays readable on it.
  sqlite3* connection() const { return connection_.get(); }
  // The row ids tables on this connection were loaded with, for the next opening of each.
  sqlite::RowIdSnapshots& row_id_snapshots() const { return row_id_snapshots_; }

 private:
  friend class sqlite::ConnectionLease;
  // The leases of record sets and tables on the connection (kept by address, not owned).
  void Lend(sqlite::ConnectionLease* lease) const { leases_.push_back(lease); }
  void TakeBack(sqlite::ConnectionLease* lease) const;

  bool OpenFile(const Text& file_name, bool create, bool read_only);
  bool RunUtf8(const char* utf8_sql);
  bool RunLocal(const Text& sql);
  // Records a result code: SQLite's message for it, from the connection when it has one.
  bool Result(int code, sqlite3* db = nullptr);

  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> connection_;
  // Lending does not change the connection, so a const SqliteDB can be borrowed from.
  mutable std::vector<sqlite::ConnectionLease*> leases_;
  mutable sqlite::RowIdSnapshots row_id_snapshots_;
  int last_error_code_ = 0;
  Text last_error_message_;
};

}  // namespace kelmor
