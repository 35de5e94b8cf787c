#include "sqlite_access/handles.h"

#include <string>

namespace kelmor::sqlite {

Statement Prepare(sqlite3* db, const std::string& utf8_sql, int* rc, const char** tail) {
  sqlite3_stmt* raw = nullptr;
  // Length -1: the statement ends at its terminating zero, as every text of the program does.
  const int code = sqlite3_prepare_v2(db, utf8_sql.c_str(), -1, &raw, tail);
  if (rc) *rc = code;
  return Statement(raw);
}

}  // namespace kelmor::sqlite
