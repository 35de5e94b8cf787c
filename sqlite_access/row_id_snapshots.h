// RowIdSnapshots: the row ids a table was last loaded with, kept per connection so that opening
// the same table again needs no walk of every row (on a large table that walk reads the whole
// file, as long as a search of it). A kept list is handed out only while nothing can have
// changed them: no commit on the main or temporary database since (by this connection or any
// other, in any process; outside a transaction every change is a commit), no transaction open
// and no database attached. Owned by its SqliteDB; cleared when the connection closes or opens anew.
// Single user-interface thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "sqlite_access/row_ids.h"

struct sqlite3;

namespace kelmor::sqlite {

class RowIdSnapshots {
 public:
  // The list kept for `table` (its name as the statements use it), or null. Call it right after
  // a statement on the connection has run, so that SQLite has seen any commit by others.
  std::shared_ptr<const RowIds> Find(sqlite3* db, const std::string& table) const;
  // Keeps a list just loaded; nothing is kept while its validity cannot be told.
  void Keep(sqlite3* db, const std::string& table, std::shared_ptr<const RowIds> ids);
  void Clear() { kept_.clear(); }

 private:
  struct Stamp {
    std::uint32_t main_version = 0;
    std::uint32_t temp_version = 0;
    bool operator==(const Stamp&) const = default;
  };
  // False when no stamp can vouch for a list: a transaction open, a database attached.
  static bool Current(sqlite3* db, Stamp& stamp);

  struct Kept {
    Stamp stamp;
    std::shared_ptr<const RowIds> ids;
  };
  std::map<std::string, Kept> kept_;
};

}  // namespace kelmor::sqlite
