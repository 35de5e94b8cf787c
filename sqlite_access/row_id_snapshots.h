// RowIdSnapshots: the row ids a table was last loaded with, kept per connection so that opening
// the same table again needs no walk of every row (on a large table that walk reads the whole
// file, as long as a search of it). A kept list is handed out only while nothing can have
// changed them since it was loaded: no row changed through the connection (committed or not),
// no commit on the main database by anyone (this connection or another, in any process), no
// change of the main or the temporary schema, no database attached. A list is kept only when
// it was loaded outside a transaction or in one that has not written, so that no rollback can
// take back what it saw. Owned by its SqliteDB; cleared when the connection closes or opens
// anew. Single user-interface thread.
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
  // The list kept for `table` (its name as the statements use it), or null.
  std::shared_ptr<const RowIds> Find(sqlite3* db, const std::string& table) const;
  // Keeps a list just loaded; nothing is kept while its validity cannot be told.
  void Keep(sqlite3* db, const std::string& table, std::shared_ptr<const RowIds> ids);
  void Clear() { kept_.clear(); }

 private:
  struct Stamp {
    std::int64_t changes = 0;
    std::uint32_t main_version = 0;
    std::int64_t main_schema = 0;
    std::int64_t temp_schema = 0;
    bool operator==(const Stamp&) const = default;
  };
  // False when no stamp can vouch for a list (a database attached, a pragma refused).
  static bool Current(sqlite3* db, Stamp& stamp);

  struct Kept {
    Stamp stamp;
    std::shared_ptr<const RowIds> ids;
  };
  std::map<std::string, Kept> kept_;
};

}  // namespace kelmor::sqlite
