#include "tests/support/schema.h"

#include <sqlite3.h>

#include "sqlite_access/field.h"
#include "sqlite_access/sqlite_dataset.h"
#include "tools/book_schema.h"

namespace kelmor::test {

Text Quoted(const Text& value) {
  Text out = "'";
  for (char c : value) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  out.push_back('\'');
  return out;
}

bool CreateSchema(SqliteDB& db) {
  return db.Execute(tools::kDatabaseSchema);
}

bool CreateSchemaFile(const std::filesystem::path& file) {
  SqliteDB db;
  return db.Open(file.string(), true) && CreateSchema(db);
}

std::int64_t InsertCategoryRow(SqliteDB& db, int collection, const Text& name,
                               std::int64_t parent) {
  const Text table = collection == 1 ? "zylb" : "yflb";
  if (!db.Execute("insert into " + table + "(type,xm)values(" + Quoted(name) + "," +
                  std::to_string(parent) + ")")) {
    return 0;
  }
  return sqlite3_last_insert_rowid(db.connection());
}

bool InsertSampleTree(SqliteDB& db, int collection) {
  const std::int64_t jia = InsertCategoryRow(db, collection, "甲");
  return jia != 0 && InsertCategoryRow(db, collection, "人参", jia) != 0 &&
         InsertCategoryRow(db, collection, "丙") != 0;
}

namespace {

bool InsertEntry(SqliteDB& db, const Text& table, const Text& name_column, const Text& name,
                 const Text& category, const std::map<Text, Text>& fields) {
  Text columns = "type," + name_column + ",类别";
  Text values = Quoted(category) + "," + Quoted(name) + "," + Quoted(category);
  for (const auto& [column, value] : fields) {
    columns += "," + column;
    values += "," + Quoted(value);
  }
  return db.Execute("insert into " + table + "(" + columns + ")values(" + values + ")");
}

}  // namespace

bool InsertHerb(SqliteDB& db, const Text& name, const Text& category,
                const std::map<Text, Text>& fields) {
  return InsertEntry(db, "zymm", "药物名称", name, category, fields);
}

bool InsertPrescription(SqliteDB& db, const Text& name, const Text& category,
                        const std::map<Text, Text>& fields) {
  return InsertEntry(db, "yfmm", "药方名称", name, category, fields);
}

std::vector<Text> ColumnValues(SqliteDB& db, const Text& sql, const char* column) {
  SqliteDataset rows;
  rows.Open(sql, db);
  rows.Query();
  std::vector<Text> out;
  const Field field(column);
  while (!rows.IsEnd()) {
    rows.Next();
    bool ok = false;
    Text value = rows.ReadText(field, ok);
    // The walk makes one pass past the last row; that read fails.
    if (ok) out.push_back(value);
  }
  return out;
}

std::vector<Text> ColumnValues(const std::filesystem::path& file, const Text& sql,
                               const char* column) {
  SqliteDB db;
  db.Open(file.string());
  return ColumnValues(db, sql, column);
}

Bytes StoredTreeValue(SqliteDB& db, int id) {
  sqlite3_stmt* s = nullptr;
  Bytes out;
  if (db.connection() == nullptr ||
      sqlite3_prepare_v2(db.connection(), "select sj from lbsj where id=?", -1, &s, nullptr) !=
          SQLITE_OK) {
    return out;
  }
  sqlite3_bind_int(s, 1, id);
  if (sqlite3_step(s) == SQLITE_ROW) {
    const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 0));
    out.assign(p, p + sqlite3_column_bytes(s, 0));
  }
  sqlite3_finalize(s);
  return out;
}

Bytes StoredTreeValue(const std::filesystem::path& file, int id) {
  SqliteDB db;
  db.Open(file.string());
  return StoredTreeValue(db, id);
}

}  // namespace kelmor::test
