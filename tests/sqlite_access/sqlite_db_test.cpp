#include "sqlite_access/sqlite_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_table.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"

namespace kelmor {
namespace {

TEST(SqliteDBTest, InMemoryNames) {
  SqliteDB db;
  EXPECT_FALSE(db.Open());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(db.Open(":memory:", false));
  EXPECT_TRUE(db.Open("", true));
  EXPECT_TRUE(db.Open(":MeMoRy:", true));
  EXPECT_TRUE(db.Execute("create table a(x)"));
  EXPECT_TRUE(db.Close());
  EXPECT_TRUE(db.Close());
  EXPECT_FALSE(db.Execute("create table a(x)"));
}

TEST(SqliteDBTest, Files) {
  test::TempDir dir;
  const auto missing = dir / "missing.db";
  SqliteDB db;
  EXPECT_FALSE(db.Open(missing.string(), false));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(db.last_error_code(), SQLITE_CANTOPEN);
  EXPECT_EQ(db.last_error_message(), "unable to open database file");
  ASSERT_TRUE(db.Open(missing.string(), true));
  EXPECT_TRUE(db.Execute("create table a(x)"));
  // A failed open still closes the connection that was open.
  EXPECT_FALSE(db.Open((dir / "other.db").string(), false));
  EXPECT_FALSE(db.IsOpen());

  const auto junk = dir / "junk.db";
  std::ofstream(junk) << "this is not a database file, only some text that is long enough";
  ASSERT_TRUE(db.Open(junk.string(), false));  // SQLite reads the header lazily
  EXPECT_FALSE(db.Execute("select * from sqlite_master"));
  EXPECT_EQ(db.last_error_code(), SQLITE_NOTADB);
  EXPECT_EQ(db.last_error_message(), "file is not a database");
  SqliteDataset ds;
  EXPECT_FALSE(ds.Open("select * from sqlite_master", db));

  const auto chinese = dir.path() / std::filesystem::path(u8"中药.db");
  EXPECT_TRUE(test::CreateSchemaFile(dir / "kelmor.db"));
  ASSERT_TRUE(db.Open((dir.path().string() + "/中药.db"), true));  // GBK name, UTF-8 on disk
  EXPECT_TRUE(std::filesystem::exists(chinese));
}

TEST(SqliteDBTest, ExecuteAndTransactions) {
  SqliteDB db;
  ASSERT_TRUE(db.Open(":memory:", true));
  EXPECT_FALSE(db.Execute(""));
  EXPECT_FALSE(db.Execute("selec 1"));
  EXPECT_FALSE(db.Execute("select * from missing"));
  EXPECT_EQ(db.last_error_message(), "no such table: missing");
  EXPECT_FALSE(db.Execute("select '\x81'"));  // not GBK: never reaches SQLite
  ASSERT_TRUE(db.Execute("create table a(x);insert into a values(1);insert into a values(2)"));
  EXPECT_EQ(db.last_error_code(), SQLITE_OK);
  EXPECT_EQ(db.last_error_message(), "");
  ASSERT_TRUE(db.BeginTransaction());
  EXPECT_FALSE(db.BeginTransaction());
  ASSERT_TRUE(db.Execute("insert into a values(3)"));
  ASSERT_TRUE(db.RollbackTransaction());
  ASSERT_TRUE(db.BeginTransaction("t1"));
  ASSERT_TRUE(db.Execute("insert into a values(4)"));
  ASSERT_TRUE(db.CommitTransaction("t1"));
  EXPECT_FALSE(db.CommitTransaction());
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select * from a", db));
  ASSERT_TRUE(ds.Query());
  EXPECT_EQ(ds.RowCount(), 3);
  ds.Close();
  EXPECT_TRUE(db.Vacuum());
}

TEST(SqliteDBTest, ClosingClosesTheTablesAndRecordSetsOnTheConnection) {
  SqliteDB db;
  ASSERT_TRUE(db.Open(":memory:", true));
  ASSERT_TRUE(db.Execute("create table a(x);insert into a values(1);insert into a values(2)"));
  SqliteTable table;
  ASSERT_TRUE(table.Open("a", db));
  ASSERT_TRUE(table.Find("x=1"));  // the table now holds a prepared statement
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select x from a", db));
  ASSERT_TRUE(ds.Query());
  ASSERT_TRUE(ds.Next());

  EXPECT_TRUE(db.Close());
  // Every later use fails as on closed objects, without touching the freed connection (the
  // table's new statement would be prepared on it once the record set let go).
  EXPECT_FALSE(ds.Next());
  EXPECT_TRUE(ds.IsEnd());
  EXPECT_EQ(ds.ReadText(1), "");
  ds.Close();
  EXPECT_FALSE(table.Find("x=2"));
  EXPECT_EQ(table.ReadText("x"), "");
  EXPECT_TRUE(table.IsEnd());
  EXPECT_FALSE(table.Edit());
  // Reopened, the database lends to them again.
  ASSERT_TRUE(db.Open(":memory:", true));
  ASSERT_TRUE(db.Execute("create table a(x);insert into a values(3)"));
  ASSERT_TRUE(table.Open("a", db));
  ASSERT_TRUE(table.Find("x=3"));
}

TEST(SqliteDBTest, ClosedTablesAndRecordSetsOutliveTheirDatabase) {
  // Each pair is closed while its database lives; one pair is then reopened on another
  // database, the other only destroyed. Neither may reach the destroyed database again.
  SqliteTable reopened_table, table;
  SqliteDataset reopened_ds, ds;
  {
    auto db = std::make_unique<SqliteDB>();  // on the heap, so that a late use is seen
    ASSERT_TRUE(db->Open(":memory:", true));
    ASSERT_TRUE(db->Execute("create table a(x);insert into a values(1)"));
    for (SqliteTable* t : {&reopened_table, &table}) ASSERT_TRUE(t->Open("a", *db));
    for (SqliteDataset* d : {&reopened_ds, &ds}) ASSERT_TRUE(d->Open("select x from a", *db));
    for (SqliteTable* t : {&reopened_table, &table}) t->Close();
    for (SqliteDataset* d : {&reopened_ds, &ds}) d->Close();
  }
  SqliteDB other;
  ASSERT_TRUE(other.Open(":memory:", true));
  ASSERT_TRUE(other.Execute("create table a(x);insert into a values(2)"));
  ASSERT_TRUE(reopened_table.Open("a", other));
  EXPECT_TRUE(reopened_table.Find("x=2"));
  ASSERT_TRUE(reopened_ds.Open("select x from a", other));
  ASSERT_TRUE(reopened_ds.Query() && reopened_ds.Next());
  EXPECT_EQ(reopened_ds.ReadText(1), "2");
}

}  // namespace
}  // namespace kelmor
