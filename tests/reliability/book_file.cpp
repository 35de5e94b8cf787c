#include "tests/reliability/book_file.h"

#include <sqlite3.h>

#include <memory>

namespace kelmor::test {

namespace {

using Connection = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

Connection OpenExisting(const std::filesystem::path& file) {
  sqlite3* raw = nullptr;
  // Read-write, so that a hot journal left by a failed action is rolled back as the next start
  // of the program would.
  sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  return Connection(raw, sqlite3_close_v2);
}

Statement Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  return Statement(raw, sqlite3_finalize);
}

}  // namespace

BookRows ReadBookRows(const std::filesystem::path& file) {
  BookRows rows;
  Connection db = OpenExisting(file);
  for (const char* table : {"zylb", "yflb", "zymm", "yfmm", "lbsj"}) {
    std::string& out = rows[table];
    Statement s = Prepare(db.get(), std::string("SELECT * FROM ") + table + " ORDER BY rowid");
    if (!s) {
      out = "(unreadable)";
      continue;
    }
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(s.get()); ++c) {
        const int type = sqlite3_column_type(s.get(), c);
        const auto* data = static_cast<const char*>(sqlite3_column_blob(s.get(), c));
        out += std::to_string(type) + ":";
        if (data) out.append(data, static_cast<std::size_t>(sqlite3_column_bytes(s.get(), c)));
        out += '|';
      }
      out += '\n';
    }
    if (rc != SQLITE_DONE) out += "(read failed)";
  }
  return rows;
}

std::string IntegrityCheck(const std::filesystem::path& file) {
  Connection db = OpenExisting(file);
  if (!db) return "cannot open";
  Statement s = Prepare(db.get(), "PRAGMA integrity_check");
  if (!s) return std::string("cannot check: ") + sqlite3_errmsg(db.get());
  if (sqlite3_step(s.get()) != SQLITE_ROW)
    return std::string("no result: ") + sqlite3_errmsg(db.get());
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
  return text ? text : "(null)";
}

std::string DescribeDifference(const BookRows& a, const BookRows& b) {
  std::string out;
  for (const auto& [table, rows] : a) {
    auto it = b.find(table);
    if (it == b.end() || it->second != rows) out += table + " differs; ";
  }
  return out.empty() ? "same" : out;
}

}  // namespace kelmor::test
