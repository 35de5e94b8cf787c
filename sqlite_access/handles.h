// Owning handles for the SQLite objects the library creates. The connection itself is owned by
// SqliteDB, whose Close needs the return code of sqlite3_close and so does not use a deleter.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace kelmor::sqlite {

struct StatementDeleter {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// The cell array of sqlite3_get_table.
struct TableCellsDeleter {
  void operator()(char** cells) const { sqlite3_free_table(cells); }
};
using TableCells = std::unique_ptr<char*, TableCellsDeleter>;

// Prepares one statement of UTF-8 SQL; null on failure (or when the SQL holds no statement).
// `rc` receives SQLite's result code, `tail` (when given) the unparsed rest of the text.
Statement Prepare(sqlite3* db, const std::string& utf8_sql, int* rc = nullptr,
                  const char** tail = nullptr);

}  // namespace kelmor::sqlite
