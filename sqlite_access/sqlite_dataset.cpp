#include "sqlite_access/sqlite_dataset.h"

#include <sqlite3.h>

#include <string>

#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/utf8.h"

namespace kelmor {

bool SqliteDataset::Open(const Text& sql, const SqliteDB& db) {
  if (!db.IsOpen() || sql.empty()) return false;
  int rc = SQLITE_ERROR;
  sqlite::Statement next;
  if (std::optional<std::string> utf8 = sqlite::ToUtf8(sql)) {
    next = sqlite::Prepare(db.connection(), *utf8, &rc);
  }
  Close();
  connection_ = db.connection();
  lease_.Take(db);
  statement_ = std::move(next);
  columns_by_name_.clear();
  return rc == SQLITE_OK;
}

bool SqliteDataset::Query() {
  if (!usable()) return false;
  if (!walk_) walk_ = Walk{};  // not emplace(): clang 14 finds Walk not default-constructible here
  walk_->row_count = 0;
  walk_->at_end = true;
  sqlite3_stmt* s = statement_.get();
  sqlite3_reset(s);
  std::int32_t count = 0;
  bool result;
  int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) {
    do {
      ++count;
      rc = sqlite3_step(s);
    } while (rc == SQLITE_ROW);
    result = true;
  } else {
    result = rc == SQLITE_DONE;
  }
  sqlite3_reset(s);
  walk_->row_count = count;
  walk_->at_end = count == 0;
  return result;
}

bool SqliteDataset::Close() {
  lease_.Return();
  statement_.reset();
  walk_.reset();
  connection_ = nullptr;
  columns_by_name_.clear();
  return true;
}

bool SqliteDataset::Next() {
  if (!usable()) return false;
  const int rc = sqlite3_step(statement_.get());
  // Any code other than a row ends the walk: after an error SQLite would start the query over
  // on the next step, and a walk that waits for SQLITE_DONE would never end.
  if (walk_) walk_->at_end = rc != SQLITE_ROW;
  return rc == SQLITE_ROW;
}

int SqliteDataset::ColumnOf(const Field& field) const {
  if (field.by_number()) return field.number() - 1;
  if (!field.by_name()) return -1;
  for (const auto& [name, column] : columns_by_name_) {
    if (name == field.name()) return column;
  }
  int found = -1;
  if (std::optional<std::string> utf8 = sqlite::ToUtf8(field.name())) {
    sqlite3_stmt* s = statement_.get();
    const int count = sqlite3_column_count(s);
    for (int i = 0; i < count; ++i) {
      const char* name = sqlite3_column_name(s, i);
      if (name && sqlite::NamesEqualFolded(*utf8, name)) {
        found = i;
        break;
      }
    }
  }
  columns_by_name_.emplace_back(field.name(), found);
  return found;
}

bool SqliteDataset::RowOk() const {
  return sqlite3_errcode(connection_) == SQLITE_ROW;
}

Text SqliteDataset::ReadTextAt(int column) const {
  const unsigned char* text = sqlite3_column_text(statement_.get(), column);
  return sqlite::ToLocalOrEmpty(reinterpret_cast<const char*>(text));
}

Text SqliteDataset::ReadText(const Field& field) {
  bool ok;
  return ReadText(field, ok);
}

Text SqliteDataset::ReadText(const Field& field, bool& ok) {
  ok = false;
  if (!usable()) return Text();
  const int column = ColumnOf(field);
  if (column < 0) return Text();
  Text value = ReadTextAt(column);
  ok = RowOk();
  return value;
}

std::int32_t SqliteDataset::ReadInt(const Field& field) {
  bool ok;
  return ReadInt(field, ok);
}

std::int32_t SqliteDataset::ReadInt(const Field& field, bool& ok) {
  ok = false;
  if (!usable()) return 0;
  const int column = ColumnOf(field);
  if (column < 0) return 0;
  // Read whole and refused when it does not fit: cut to 32 bits, the id 4294967297 would read as
  // 1 and be taken for another row.
  const sqlite3_int64 value = sqlite3_column_int64(statement_.get(), column);
  if (value < INT32_MIN || value > INT32_MAX) return 0;
  ok = RowOk();
  return static_cast<std::int32_t>(value);
}

}  // namespace kelmor
