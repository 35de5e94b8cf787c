// ConnectionLease: a record set's or a table's hold on the connection of a SqliteDB. The
// SqliteDB knows the leases on its connection, and closing it (or opening it anew) first runs
// each holder's release, so that no statement outlives the connection it was prepared on and
// every later call of the holder fails as on a closed object.
// The SqliteDB keeps the lease's address: a lease is neither copied nor moved, and lives inside
// its holder. Single user-interface thread.
#pragma once

#include <functional>

namespace kelmor {

class SqliteDB;

namespace sqlite {

class ConnectionLease {
 public:
  // `release` closes the holder; it runs when the SqliteDB closes while the lease is held.
  explicit ConnectionLease(std::function<void()> release) : release_(std::move(release)) {}
  ~ConnectionLease() { Return(); }
  ConnectionLease(const ConnectionLease&) = delete;
  ConnectionLease& operator=(const ConnectionLease&) = delete;

  // Holds the connection of `db` (returning any lease held before).
  void Take(const SqliteDB& db);
  // Gives the connection back; nothing happens when none is held.
  void Return();

 private:
  friend class kelmor::SqliteDB;
  // The SqliteDB is closing: forget it and release the holder's statements.
  void Revoke();

  const SqliteDB* db_ = nullptr;
  std::function<void()> release_;
};

}  // namespace sqlite
}  // namespace kelmor
