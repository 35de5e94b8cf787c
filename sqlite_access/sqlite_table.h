// SqliteTable: one whole table of a SqliteDB as a sequence of rows in row-id order with a
// current row. Opening loads only the column names and a snapshot of the row ids; every read is
// one query by row id and every write-back one UPDATE with bound parameters.
//   reading: Open, Find (or Next until IsEnd), ReadText/ReadBytes, Close
//   editing: Open, Find, Edit, WriteField..., Update, Close
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/connection_lease.h"
#include "sqlite_access/field.h"
#include "sqlite_access/handles.h"
#include "sqlite_access/row_ids.h"

struct sqlite3;

namespace kelmor {

class SqliteDB;

class SqliteTable {
 public:
  SqliteTable() = default;
  ~SqliteTable() { Close(); }
  SqliteTable(const SqliteTable&) = delete;
  SqliteTable& operator=(const SqliteTable&) = delete;

  // False for a closed database, an empty name or a table that does not exist (the table is
  // closed then). The current row starts before the first row. Closing the database closes the
  // table, and every later call fails as on a closed table.
  bool Open(const Text& table_name, const SqliteDB& db);
  bool Close();

  bool Next();
  bool IsEnd() const;
  // Searches forward from the current row, which is included; false leaves the row unchanged.
  bool Find(const Text& condition);

  Text ReadText(const Field& field);
  Text ReadText(const Field& field, bool& ok);
  // `readable` is false when the column holds text that local text cannot hold (a character
  // GBK lacks, bytes that are no UTF-8): it reads as the empty text, which is not what is stored.
  Text ReadText(const Field& field, bool& ok, bool& readable);
  Bytes ReadBytes(const Field& field);
  Bytes ReadBytes(const Field& field, bool& ok);

  // Sets a pending value; only Update writes it, and Edit discards it.
  bool WriteField(const Field& field, const Value& value);
  bool Edit();
  // Writes the pending values to the current row. A text that cannot be converted for SQLite
  // fails the whole update, so nothing is stored as NULL behind the caller's back, and a row
  // deleted since Open (no row changed) fails it too; a failed Update keeps the editing mode and
  // the pending values.
  bool Update();

  std::vector<Text> FieldNames() const;

  std::int32_t RowCount() const { return row_ids_.size(); }
  std::int32_t CurrentRow() const { return current_; }

 private:
  enum class Mode { Closed, Browsing, Editing };
  using Pending = std::variant<std::monostate, std::int32_t, std::int64_t, double, Text, Bytes>;

  bool is_open() const { return connection_ && mode_ != Mode::Closed; }
  bool valid_row() const { return current_ >= 1 && current_ <= row_ids_.size(); }
  bool Load();
  // The 0-based column that field selects, or -1.
  int ColumnOf(const Field& field) const;
  // Runs the one-row read of a column of the current row; false when no row was read.
  template <class Read>
  bool ReadColumn(const Field& field, Read read);
  // Find for ids that are not all plain integers: a statement of its own each time.
  bool FindByText(const std::string& utf8_condition);
  // The first row position a Find may land on: the current row, or the first.
  std::int32_t FirstRowToSearch() const;

  sqlite3* connection_ = nullptr;  // borrowed from the SqliteDB
  sqlite::ConnectionLease lease_{[this] { Close(); }};
  Mode mode_ = Mode::Closed;
  std::int32_t current_ = 0;
  std::string name_utf8_;
  std::vector<Text> names_;              // local texts, for lookup and FieldNames
  std::vector<std::string> names_utf8_;  // as SQLite gave them, for statements
  sqlite::RowIds row_ids_;
  std::optional<std::vector<Pending>> pending_;
  // Statements reused within one opening (a walk reads the same columns of many rows): per
  // column the one-row read with the row id as a parameter, and the search of the last
  // condition with its start row as a parameter. Each is reset right after use, so none holds
  // a read transaction between calls.
  std::vector<sqlite::Statement> read_statements_;
  Text find_condition_;
  sqlite::Statement find_statement_;
};

}  // namespace kelmor
