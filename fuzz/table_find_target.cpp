#include "fuzz/targets.h"
#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor::fuzz {

namespace {

constexpr int kRows = 6;

SqliteDB& Database() {
  static SqliteDB db;
  static const bool made = [] {
    if (!db.Open(Text(), true)) return false;
    // Gaps in the row ids, so that positions and ids differ.
    return db.Execute(
        "CREATE TABLE t (a TEXT, b INTEGER, c BLOB);"
        "INSERT INTO t (rowid, a, b, c) VALUES (3, 'x', 1, x'00ff'), (5, 'y''z', 2, NULL),"
        " (6, '%_', 3, x''), (9, NULL, 4, 'q'), (10, '--', 5, 1.5), (20, '/*', 6, -1)");
  }();
  Require(made, "table made");
  return db;
}

int RowCount(SqliteDB& db) {
  SqliteTable table;
  Require(table.Open("t", db), "open");
  return table.RowCount();
}

}  // namespace

// The input is the condition. Walking the table with it, as a search does, moves forward
// only and ends; nothing in the table changes.
void FuzzTableFind(Input input) {
  SqliteDB& db = Database();
  const Text condition(input.begin(), input.end());
  SqliteTable table;
  Require(table.Open("t", db), "open");
  Require(table.RowCount() == kRows, "rows before");
  int previous = 0;
  int steps = 0;
  while (!table.IsEnd()) {
    table.Next();
    const int from = table.CurrentRow();
    if (!table.Find(condition)) {
      Require(table.CurrentRow() == from, "a failed Find leaves the row");
      break;
    }
    Require(table.CurrentRow() >= from, "Find searches forward from the current row");
    Require(table.CurrentRow() > previous, "the walk moves on");
    previous = table.CurrentRow();
    Require(++steps <= kRows, "the walk ends");
    table.ReadText("a");
    table.ReadBytes("c");
  }
  table.Close();
  Require(RowCount(db) == kRows, "rows after");
}

}  // namespace kelmor::fuzz
