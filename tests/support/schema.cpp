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

}  // namespace kelmor::test
