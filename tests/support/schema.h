// The five tables of kelmor.db, for tests that run against a real file, and helpers
// that add rows to them. Texts are GBK, as everywhere in the program; quotes in them are doubled.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor::test {

// The book's schema (tools/book_schema.h): zylb, yflb, zymm, yfmm and lbsj with its rows 1 and 2
// (sj an empty blob). True on success. A test that needs another schema makes it from this one
// and states the difference.
bool CreateSchema(SqliteDB& db);
// The same in a new file (created when missing).
bool CreateSchemaFile(const std::filesystem::path& file);

// A row of zylb (herbs, collection 1) or yflb (2); returns its id, 0 on failure.
std::int64_t InsertCategoryRow(SqliteDB& db, int collection, const Text& name,
                               std::int64_t parent = 0);
// The small tree most tests start from, in one collection: the first-level categories 甲 and 丙
// and, under 甲, the entry 人参 (its tree row only: the caller adds the record it needs). True
// when the three rows were added.
bool InsertSampleTree(SqliteDB& db, int collection);
// A herb row of zymm: type and 类别 are the category; other columns by name.
bool InsertHerb(SqliteDB& db, const Text& name, const Text& category,
                const std::map<Text, Text>& fields = {});
// A prescription row of yfmm.
bool InsertPrescription(SqliteDB& db, const Text& name, const Text& category,
                        const std::map<Text, Text>& fields = {});

// The values of one column of the rows a query returns (rows whose value cannot be read are
// left out), through `db` or through a connection of its own to `file`.
std::vector<Text> ColumnValues(SqliteDB& db, const Text& sql, const char* column);
std::vector<Text> ColumnValues(const std::filesystem::path& file, const Text& sql,
                               const char* column);

// The saved tree of lbsj row `id` (1 herbs, 2 prescriptions) exactly as stored, packed; empty
// when the row is missing. Through `db` or through a connection of its own to `file`.
Bytes StoredTreeValue(SqliteDB& db, int id);
Bytes StoredTreeValue(const std::filesystem::path& file, int id);

// A value with each single quote doubled, for composing test SQL.
Text Quoted(const Text& value);

}  // namespace kelmor::test
