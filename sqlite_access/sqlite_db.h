// SqliteDB: one connection to an SQLite database file (or an in-memory database). Record sets
// and tables borrow its connection; close them before the connection is closed.
#pragma once

#include <memory>

#include "runtime/value.h"

struct sqlite3;

namespace kelmor {

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

  // False only when SQLite reports the connection busy (statements still open); the object is
  // closed in every case, and the busy connection is freed once its last statement is finalized.
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

  bool IsOpen() const { return connection_ != nullptr; }
  // The borrowed connection; null when closed. SQLite's error state stays readable on it.
  sqlite3* connection() const { return connection_.get(); }

 private:
  bool RunUtf8(const char* utf8_sql);
  bool RunLocal(const Text& sql);

  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> connection_;
};

}  // namespace kelmor
