#include "sqlite_access/sqlite_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace kelmor
