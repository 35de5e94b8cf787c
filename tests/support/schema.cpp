#include "tests/support/schema.h"

#include <sqlite3.h>

#include "sqlite_access/field.h"
#include "sqlite_access/sqlite_dataset.h"

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
  return db.Execute(
      "CREATE TABLE zylb(id INTEGER PRIMARY KEY, type TEXT, xm INTEGER);"
      "CREATE TABLE yflb(id INTEGER PRIMARY KEY, type TEXT, xm INTEGER);"
      "CREATE TABLE zymm(id INTEGER PRIMARY KEY, TYPE TEXT, 药物名称 TEXT, 类别 TEXT, "
      "英文名称 TEXT, 别名 TEXT, 来源 TEXT, 植物形态1 TEXT, 植物形态2 TEXT, 生长地 TEXT, "
      "采制 TEXT, 化学成分 TEXT, 性味 TEXT, 功能主治 TEXT, 附注 TEXT);"
      "CREATE TABLE yfmm(id INTEGER PRIMARY KEY, type TEXT, 药方名称 TEXT, 类别 TEXT, "
      "配方 TEXT, 制法 TEXT, 功用 TEXT, 禁忌 TEXT, 备注 TEXT);"
      "CREATE TABLE lbsj(id INTEGER, sj BLOB);"
      "INSERT INTO lbsj(id, sj) VALUES(1, x'');"
      "INSERT INTO lbsj(id, sj) VALUES(2, x'');");
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
