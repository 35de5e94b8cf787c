// SqliteDataset: a forward-only record set over one query of a SqliteDB. Query runs the whole
// query once to count its rows; the walk then steps through it again:
//   Open, Query, while (!IsEnd()) { Next(); read fields; }  Close
// The walk makes one extra pass after the last row, in which Next is false and reads are empty
// with ok false.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/connection_lease.h"
#include "sqlite_access/field.h"
#include "sqlite_access/handles.h"

namespace kelmor {

class SqliteDB;

class SqliteDataset {
 public:
  SqliteDataset() = default;
  ~SqliteDataset() { Close(); }
  SqliteDataset(const SqliteDataset&) = delete;
  SqliteDataset& operator=(const SqliteDataset&) = delete;

  // Prepares the query; true when it was prepared. The previous query is released also when
  // this one fails. SQL that holds no statement succeeds but leaves nothing to walk. Closing the
  // database closes the record set.
  bool Open(const Text& sql, const SqliteDB& db);
  bool Query();
  bool Close();

  std::int32_t RowCount() const { return walk_ ? walk_->row_count : 0; }
  bool Next();
  bool IsEnd() const { return walk_ ? walk_->at_end : true; }

  // Field of the current row; ok becomes true only while the query stands on a row and the
  // column exists. A NULL or undecodable value reads as the empty text (with ok true). An
  // integer that does not fit 32 bits reads as 0 with ok false, never as its low 32 bits.
  Text ReadText(const Field& field);
  Text ReadText(const Field& field, bool& ok);
  std::int32_t ReadInt(const Field& field);
  std::int32_t ReadInt(const Field& field, bool& ok);

 private:
  struct Walk {
    std::int32_t row_count = 0;
    bool at_end = true;
  };

  bool usable() const { return connection_ && statement_; }
  // The 0-based column that field selects, or -1. A number is not checked against the column
  // count: SQLite reports a column beyond the last through its error code.
  int ColumnOf(const Field& field) const;
  Text ReadTextAt(int column) const;
  bool RowOk() const;

  sqlite3* connection_ = nullptr;  // borrowed from the SqliteDB
  sqlite::ConnectionLease lease_{[this] { Close(); }};
  sqlite::Statement statement_;
  // Column names already looked up for this statement: a walk asks for the same few names on
  // every row, and each lookup would convert the name and compare it with every column.
  mutable std::vector<std::pair<Text, int>> columns_by_name_;
  std::optional<Walk> walk_;
};

}  // namespace kelmor
