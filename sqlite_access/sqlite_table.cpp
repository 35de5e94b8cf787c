#include "sqlite_access/sqlite_table.h"

#include <sqlite3.h>

#include <type_traits>

#include "sqlite_access/handles.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/statement_text.h"
#include "sqlite_access/utf8.h"

namespace kelmor {

bool SqliteTable::Open(const Text& table_name, const SqliteDB& db) {
  Close();
  if (!db.IsOpen() || table_name.empty()) return false;
  std::optional<std::string> name = sqlite::ToUtf8(table_name);
  if (!name) return false;
  name_utf8_ = std::move(*name);
  connection_ = db.connection();
  lease_.Take(db);
  mode_ = Mode::Browsing;
  if (!Load()) {
    Close();
    return false;
  }
  pending_.emplace(names_.size());
  current_ = 0;
  return true;
}

bool SqliteTable::Load() {
  read_statements_.clear();
  find_condition_.clear();
  find_statement_.reset();
  names_.clear();
  names_utf8_.clear();
  row_ids_.Clear();
  pending_.reset();
  {
    int rc = SQLITE_ERROR;
    sqlite::Statement s = sqlite::Prepare(
        connection_, sqlite::FillTemplate("SELECT * FROM %s LIMIT 0", {name_utf8_}), &rc);
    if (s) {
      rc = sqlite3_step(s.get());
      if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        const int count = sqlite3_column_count(s.get());
        for (int i = 0; i < count; ++i) {
          const char* n = sqlite3_column_name(s.get(), i);
          names_utf8_.emplace_back(n ? n : "");
          names_.push_back(sqlite::ToLocalOrEmpty(n));
        }
      }
    }
  }
  char** cells = nullptr;
  int rows = 0, columns = 0;
  const std::string sql =
      sqlite::FillTemplate("SELECT _ROWID_ FROM %s ORDER BY _ROWID_ ", {name_utf8_});
  const int rc = sqlite3_get_table(connection_, sql.c_str(), &cells, &rows, &columns, nullptr);
  sqlite::TableCells owned(cells);
  if (rc != SQLITE_OK) return false;
  // The first cell is the header; one id per row follows.
  for (int i = 1; i <= rows && columns >= 1; ++i) row_ids_.Append(cells[i * columns]);
  row_ids_.Finish();
  return true;
}

bool SqliteTable::Close() {
  lease_.Return();
  connection_ = nullptr;
  mode_ = Mode::Closed;
  current_ = 0;
  name_utf8_.clear();
  names_.clear();
  names_utf8_.clear();
  row_ids_.Clear();
  pending_.reset();
  read_statements_.clear();
  find_condition_.clear();
  find_statement_.reset();
  return true;
}

bool SqliteTable::Next() {
  if (!is_open()) return false;
  if (current_ + 1 <= row_ids_.size()) {
    ++current_;
    return true;
  }
  current_ = row_ids_.size() + 1;
  return false;
}

bool SqliteTable::IsEnd() const {
  return !is_open() || row_ids_.size() <= 0 || current_ > row_ids_.size();
}

bool SqliteTable::Find(const Text& condition) {
  if (!is_open() || condition.empty()) return false;
  if (!valid_row() && current_ > row_ids_.size()) return false;
  if (!row_ids_.numeric()) {
    std::optional<std::string> cond = sqlite::ToUtf8(condition);
    return cond && FindByText(*cond);
  }
  if (!find_statement_ || condition != find_condition_) {
    find_statement_.reset();
    find_condition_.clear();
    std::optional<std::string> cond = sqlite::ToUtf8(condition);
    if (!cond) return false;
    // A named parameter, so that a stray '?' in the condition cannot take its place.
    find_statement_ = sqlite::Prepare(
        connection_, sqlite::FillTemplate(
                         "SELECT _ROWID_ FROM %s WHERE (%s) AND (_ROWID_>=:kelmor_start) ",
                         {name_utf8_, *cond}));
    if (!find_statement_) return false;
    find_condition_ = condition;
  }
  sqlite3_stmt* s = find_statement_.get();
  sqlite3_reset(s);
  sqlite3_bind_int64(s, sqlite3_bind_parameter_index(s, ":kelmor_start"),
                     valid_row() ? row_ids_.NumberAt(current_) : 0);
  std::int32_t position = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    const unsigned char* id = sqlite3_column_text(s, 0);
    position = id ? row_ids_.Find(reinterpret_cast<const char*>(id)) : 0;
    if (position == 0 || position >= FirstRowToSearch()) break;
  }
  sqlite3_reset(s);
  if (position < FirstRowToSearch()) return false;  // none, or a row added after loading
  current_ = position;
  return true;
}

std::int32_t SqliteTable::FirstRowToSearch() const {
  // The condition is the caller's SQL: one that reaches past its parentheses ("1) OR (1", a
  // trailing "--") lifts the bound on the row id, and a search walking the table with it
  // would start over at every step and never end. So earlier rows are skipped here as well.
  return valid_row() ? current_ : 1;
}

bool SqliteTable::FindByText(const std::string& utf8_condition) {
  // Ids that are not plain integers go into the statement as the text they were read as.
  const std::string start = valid_row() ? row_ids_.TextAt(current_) : "0";
  sqlite::Statement s = sqlite::Prepare(
      connection_, sqlite::FillTemplate("SELECT _ROWID_ FROM %s WHERE (%s) AND (_ROWID_>=%s) ",
                                        {name_utf8_, utf8_condition, start}));
  if (!s) return false;
  std::int32_t position = 0;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    const unsigned char* id = sqlite3_column_text(s.get(), 0);
    position = id ? row_ids_.Find(reinterpret_cast<const char*>(id)) : 0;
    if (position == 0 || position >= FirstRowToSearch()) break;
  }
  if (position < FirstRowToSearch()) return false;
  current_ = position;
  return true;
}

int SqliteTable::ColumnOf(const Field& field) const {
  int column = -1;
  if (field.by_number()) {
    column = field.number() - 1;
  } else if (field.by_name()) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (sqlite::NamesEqualFolded(field.name(), names_[i])) {
        column = static_cast<int>(i);
        break;
      }
    }
  }
  if (column < 0 || column >= static_cast<int>(names_.size())) return -1;
  return column;
}

template <class Read>
bool SqliteTable::ReadColumn(const Field& field, Read read) {
  if (!is_open() || !valid_row()) return false;
  const int column = ColumnOf(field);
  if (column < 0) return false;
  if (!row_ids_.numeric()) {
    // Ids that are not plain integers go into the statement as the text they were read as.
    sqlite::Statement s = sqlite::Prepare(
        connection_,
        sqlite::FillTemplate("SELECT %s FROM %s WHERE _ROWID_ = %s ",
                             {names_utf8_[column], name_utf8_, row_ids_.TextAt(current_)}));
    if (!s || sqlite3_step(s.get()) != SQLITE_ROW) return false;
    read(s.get());
    return true;
  }
  if (read_statements_.size() < names_.size()) read_statements_.resize(names_.size());
  sqlite::Statement& cached = read_statements_[column];
  if (!cached) {
    cached = sqlite::Prepare(connection_,
                             sqlite::FillTemplate("SELECT %s FROM %s WHERE _ROWID_ = ? ",
                                                  {names_utf8_[column], name_utf8_}));
    if (!cached) return false;
  }
  sqlite3_stmt* s = cached.get();
  sqlite3_reset(s);
  sqlite3_bind_int64(s, 1, row_ids_.NumberAt(current_));
  const bool found = sqlite3_step(s) == SQLITE_ROW;
  if (found) read(s);
  sqlite3_reset(s);
  return found;
}

Text SqliteTable::ReadText(const Field& field) {
  bool ok;
  return ReadText(field, ok);
}

Text SqliteTable::ReadText(const Field& field, bool& ok) {
  bool readable;
  return ReadText(field, ok, readable);
}

Text SqliteTable::ReadText(const Field& field, bool& ok, bool& readable) {
  Text value;
  readable = true;
  ok = ReadColumn(field, [&](sqlite3_stmt* s) {
    const auto* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    if (!utf8) return;
    std::optional<Text> local = sqlite::ToLocal(utf8);
    readable = local.has_value();
    if (local) value = std::move(*local);
  });
  return value;
}

Bytes SqliteTable::ReadBytes(const Field& field) {
  bool ok;
  return ReadBytes(field, ok);
}

Bytes SqliteTable::ReadBytes(const Field& field, bool& ok) {
  Bytes value;
  ok = ReadColumn(field, [&](sqlite3_stmt* s) {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 0));
    const int size = sqlite3_column_bytes(s, 0);
    if (data && size > 0) value.assign(data, data + size);
  });
  return value;
}

bool SqliteTable::WriteField(const Field& field, const Value& value) {
  if (!is_open() || !pending_) return false;
  const int column = ColumnOf(field);
  if (column < 0) return false;
  Pending& slot = (*pending_)[column];
  slot = std::visit(
      [](const auto& v) -> Pending {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::uint8_t> ||
                      std::is_same_v<T, std::int16_t> || std::is_same_v<T, std::int32_t>) {
          return static_cast<std::int32_t>(v);
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          return v;
        } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
          return static_cast<double>(v);
        } else if constexpr (std::is_same_v<T, DateTime>) {
          return v.days;
        } else if constexpr (std::is_same_v<T, Text> || std::is_same_v<T, Bytes>) {
          return v;
        } else {
          return std::monostate();
        }
      },
      value.storage());
  return slot.index() != 0;
}

bool SqliteTable::Edit() {
  if (!is_open() || !valid_row()) return false;
  pending_.emplace(names_.size());
  mode_ = Mode::Editing;
  return true;
}

bool SqliteTable::Update() {
  if (!is_open() || mode_ != Mode::Editing || names_.empty() || !pending_) return false;
  std::string set_list;
  // Texts are converted before anything runs, so one that cannot be fails the whole update.
  std::vector<std::optional<std::string>> texts(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const Pending& p = (*pending_)[i];
    if (p.index() == 0) continue;
    if (const Text* t = std::get_if<Text>(&p)) {
      texts[i] = sqlite::ToUtf8(*t);
      if (!texts[i]) return false;
    }
    set_list += sqlite::FillTemplate("%s=?,", {names_utf8_[i]});
  }
  if (set_list.empty()) return false;
  set_list.pop_back();
  if (!valid_row()) return false;
  sqlite::Statement s = sqlite::Prepare(
      connection_, sqlite::FillTemplate("UPDATE %s SET %s WHERE _ROWID_=%s",
                                        {name_utf8_, set_list, row_ids_.TextAt(current_)}));
  if (!s) return false;
  int parameter = 0;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const Pending& p = (*pending_)[i];
    if (p.index() == 0) continue;
    ++parameter;
    sqlite3_stmt* st = s.get();
    if (const auto* v = std::get_if<std::int32_t>(&p)) {
      sqlite3_bind_int(st, parameter, *v);
    } else if (const auto* v64 = std::get_if<std::int64_t>(&p)) {
      sqlite3_bind_int64(st, parameter, *v64);
    } else if (const auto* d = std::get_if<double>(&p)) {
      sqlite3_bind_double(st, parameter, *d);
    } else if (std::holds_alternative<Text>(p)) {
      sqlite3_bind_text(st, parameter, texts[i]->c_str(), -1, SQLITE_TRANSIENT);
    } else if (const auto* b = std::get_if<Bytes>(&p)) {
      // An empty byte set is a zero-length blob, not NULL.
      if (b->empty()) {
        sqlite3_bind_zeroblob(st, parameter, 0);
      } else {
        sqlite3_bind_blob(st, parameter, b->data(), static_cast<int>(b->size()), SQLITE_TRANSIENT);
      }
    }
  }
  if (sqlite3_step(s.get()) != SQLITE_DONE) return false;
  // A row deleted since the table was opened still has its place, but nothing was written.
  if (sqlite3_changes(connection_) == 0) return false;
  s.reset();
  mode_ = Mode::Browsing;
  Load();  // the pending values go with it until the next Edit
  return true;
}

std::vector<Text> SqliteTable::FieldNames() const {
  if (!is_open()) return {};
  return names_;
}

}  // namespace kelmor
