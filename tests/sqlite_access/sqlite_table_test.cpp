#include "sqlite_access/sqlite_table.h"

#include <gtest/gtest.h>

#include <string>

#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"

namespace kelmor {
namespace {

class SqliteTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Open(":memory:", true));
    ASSERT_TRUE(test::CreateSchema(db));
    ASSERT_TRUE(
        db.Execute("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, n INTEGER);"
                   "INSERT INTO t VALUES(3,'c',30);INSERT INTO t VALUES(5,'e',50);"
                   "INSERT INTO t VALUES(7,'e',70);CREATE TABLE empty(a TEXT);"));
  }
  Text Scalar(const Text& sql) {
    SqliteDataset ds;
    if (!ds.Open(sql, db) || !ds.Query()) return "?";
    ds.Next();
    return ds.ReadText(1);
  }
  SqliteDB db;
};

TEST_F(SqliteTableTest, OpenAndWalk) {
  SqliteTable empty;
  ASSERT_TRUE(empty.Open("empty", db));
  EXPECT_TRUE(empty.IsEnd());

  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  EXPECT_FALSE(t.IsEnd());
  bool ok = true;
  EXPECT_EQ(t.ReadText("name", ok), "");
  EXPECT_FALSE(ok);
  EXPECT_TRUE(t.Next());
  EXPECT_EQ(t.ReadText("name", ok), "c");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(t.Next());
  EXPECT_TRUE(t.Next());
  EXPECT_FALSE(t.Next());
  EXPECT_TRUE(t.IsEnd());
  EXPECT_FALSE(t.Find("id=5"));
}

TEST_F(SqliteTableTest, OpenFailures) {
  SqliteTable t;
  EXPECT_FALSE(t.Open("missing", db));
  EXPECT_TRUE(t.IsEnd());
  EXPECT_TRUE(t.FieldNames().empty());
  EXPECT_FALSE(t.Open("", db));
  SqliteDB closed;
  EXPECT_FALSE(t.Open("t", closed));
  EXPECT_FALSE(t.Next());
}

TEST_F(SqliteTableTest, FindIncludesCurrentRowAndMovesForward) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  ASSERT_TRUE(t.Find("name='e'"));
  EXPECT_EQ(t.ReadText("n"), "50");
  ASSERT_TRUE(t.Find("name='e'"));  // the current row itself
  EXPECT_EQ(t.ReadText("n"), "50");
  ASSERT_TRUE(t.Next());
  ASSERT_TRUE(t.Find("name='e'"));
  EXPECT_EQ(t.ReadText("n"), "70");
  EXPECT_FALSE(t.Find("id=5"));  // no later row matches
  EXPECT_EQ(t.CurrentRow(), 3);
  EXPECT_FALSE(t.Find("id=="));  // syntax error
  EXPECT_FALSE(t.Find(""));
  EXPECT_EQ(t.CurrentRow(), 3);
}

TEST_F(SqliteTableTest, RowsAddedOrDeletedAfterOpen) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  ASSERT_TRUE(db.Execute("INSERT INTO t VALUES(9,'new',90);DELETE FROM t WHERE id=3;"));
  EXPECT_FALSE(t.Find("id=9"));
  EXPECT_EQ(t.CurrentRow(), 0);
  ASSERT_TRUE(t.Next());
  bool ok = true;
  EXPECT_EQ(t.ReadText("name", ok), "");
  EXPECT_FALSE(ok);
  // Writing to the deleted row changes nothing, so it is no success.
  ASSERT_TRUE(t.Edit());
  ASSERT_TRUE(t.WriteField("name", Value::FromText("x")));
  EXPECT_FALSE(t.Update());
}

// A new opening sees every row as it is then, however the rows changed since the last one:
// through this connection, inside a transaction rolled back, through another connection, in a
// temporary table of the same name (also one not yet committed), or on another file opened on
// the same SqliteDB.
TEST(SqliteTableReopenTest, SeesEveryChangeSinceTheLastOpening) {
  test::TempDir dir;
  const Text file = (dir / "rows.db").string();
  SqliteDB db;
  ASSERT_TRUE(db.Open(file, true));
  ASSERT_TRUE(db.Execute("CREATE TABLE t(id INTEGER PRIMARY KEY, n INTEGER);"
                         "INSERT INTO t VALUES(3,30);INSERT INTO t VALUES(5,50);"));
  auto rows = [&db] {
    SqliteTable t;
    return t.Open("t", db) ? t.RowCount() : -1;
  };
  ASSERT_EQ(rows(), 2);

  ASSERT_TRUE(db.Execute("INSERT INTO t VALUES(7,70);"));
  EXPECT_EQ(rows(), 3);

  ASSERT_TRUE(db.BeginTransaction());
  ASSERT_TRUE(db.Execute("INSERT INTO t VALUES(9,90);"));
  EXPECT_EQ(rows(), 4);
  ASSERT_TRUE(db.RollbackTransaction());
  EXPECT_EQ(rows(), 3);
  ASSERT_TRUE(db.Execute("BEGIN;SAVEPOINT s;INSERT INTO t VALUES(9,90);"));
  EXPECT_EQ(rows(), 4);
  ASSERT_TRUE(db.Execute("ROLLBACK TO s;"));
  EXPECT_EQ(rows(), 3);
  ASSERT_TRUE(db.RollbackTransaction());

  {
    SqliteDB other;
    ASSERT_TRUE(other.Open(file));
    ASSERT_TRUE(other.Execute("DELETE FROM t WHERE id=3;"));
  }
  EXPECT_EQ(rows(), 2);

  // Within a transaction too: the kept ids while nothing changed, then a table that shadows t.
  ASSERT_TRUE(db.BeginTransaction());
  EXPECT_EQ(rows(), 2);
  ASSERT_TRUE(db.Execute("CREATE TEMP TABLE t(a TEXT);"));
  EXPECT_EQ(rows(), 0);
  ASSERT_TRUE(db.RollbackTransaction());
  EXPECT_EQ(rows(), 2);
  ASSERT_TRUE(db.Execute("CREATE TEMP TABLE t(a TEXT);"));
  EXPECT_EQ(rows(), 0);

  const Text second = (dir / "second.db").string();
  {
    SqliteDB other;
    ASSERT_TRUE(other.Open(second, true));
    ASSERT_TRUE(other.Execute("CREATE TABLE t(id INTEGER PRIMARY KEY);INSERT INTO t VALUES(1);"));
  }
  ASSERT_TRUE(db.Open(second));
  EXPECT_EQ(rows(), 1);
  ASSERT_TRUE(db.Open(file));
  EXPECT_EQ(rows(), 2);
}

TEST_F(SqliteTableTest, LongConditionIsNotCut) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  Text condition = "id=7";
  while (condition.size() < 5000) condition += " AND name<>'xxxxxxxxxxxxxxxxxxxxxxxxxx'";
  ASSERT_GE(condition.size(), 5000u);
  ASSERT_TRUE(t.Find(condition));
  EXPECT_EQ(t.ReadText("n"), "70");
}

TEST_F(SqliteTableTest, FieldSelection) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("zymm", db));
  EXPECT_EQ(t.FieldNames().size(), 15u);
  EXPECT_EQ(t.FieldNames()[2], "药物名称");
  ASSERT_TRUE(test::InsertHerb(db, "甘草", "补虚药", {{"性味", "甘，平"}}));
  ASSERT_TRUE(t.Open("zymm", db));
  ASSERT_TRUE(t.Find("药物名称='甘草'"));
  bool ok = false;
  EXPECT_EQ(t.ReadText("ID", ok), "1");
  EXPECT_TRUE(ok);
  EXPECT_EQ(t.ReadText("性味"), "甘，平");
  EXPECT_EQ(t.ReadText(2), "补虚药");
  EXPECT_EQ(t.ReadText(4), "补虚药");         // 类别
  EXPECT_EQ(t.ReadText("英文名称", ok), "");  // NULL
  EXPECT_TRUE(ok);
  for (int bad : {0, -1, 16}) {
    EXPECT_EQ(t.ReadText(bad, ok), "") << bad;
    EXPECT_FALSE(ok) << bad;
  }
  EXPECT_EQ(t.ReadText("nosuch", ok), "");
  EXPECT_FALSE(ok);
}

TEST_F(SqliteTableTest, FieldNamesOfLbsj) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("lbsj", db));
  EXPECT_EQ(t.FieldNames(), (std::vector<Text>{"id", "sj"}));
  t.Close();
  EXPECT_TRUE(t.FieldNames().empty());
}

TEST_F(SqliteTableTest, InvalidUtf8InColumnReadsEmpty) {
  ASSERT_TRUE(db.Execute("INSERT INTO t VALUES(11, CAST(x'FF41' AS TEXT), 0)"));
  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  ASSERT_TRUE(t.Find("id=11"));
  bool ok = false;
  EXPECT_EQ(t.ReadText("name", ok), "");
  EXPECT_TRUE(ok);
}

TEST_F(SqliteTableTest, EditWriteUpdateBytes) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("lbsj", db));
  EXPECT_FALSE(t.Update());  // not editing
  ASSERT_TRUE(t.Find("id=2"));
  EXPECT_TRUE(t.WriteField("sj", Value::FromBytes({9})));
  ASSERT_TRUE(t.Edit());     // discards the write before it
  EXPECT_FALSE(t.Update());  // nothing pending: stays editing
  const Bytes packed = {0x0D, 0x0F, 0x3E, 0x03, 0, 0, 0, 0, 0x00, 0x27};
  EXPECT_TRUE(t.WriteField("sj", Value::FromBytes(packed)));
  EXPECT_FALSE(t.WriteField("zz", Value::Int(1)));
  EXPECT_FALSE(t.WriteField(1, Value()));
  ASSERT_TRUE(t.Update());
  EXPECT_EQ(t.CurrentRow(), 2);
  EXPECT_EQ(t.ReadBytes("sj"), packed);
  EXPECT_EQ(Scalar("select typeof(sj) from lbsj where id=2"), "blob");
  EXPECT_EQ(Scalar("select length(sj) from lbsj where id=1"), "0");
  EXPECT_EQ(Scalar("select id from lbsj where id=2"), "2");
  EXPECT_FALSE(t.WriteField("sj", Value::FromBytes({1})));  // until the next Edit
  ASSERT_TRUE(t.Edit());
  EXPECT_TRUE(t.WriteField("sj", Value::FromBytes({})));
  ASSERT_TRUE(t.Update());
  EXPECT_EQ(Scalar("select typeof(sj)||length(sj) from lbsj where id=2"), "blob0");
}

TEST_F(SqliteTableTest, UpdateKindsAndUnconvertibleText) {
  SqliteTable t;
  ASSERT_TRUE(t.Open("t", db));
  ASSERT_TRUE(t.Find("id=5"));
  ASSERT_TRUE(t.Edit());
  EXPECT_TRUE(t.WriteField("name", Value::FromText("甲'乙")));
  EXPECT_TRUE(t.WriteField("n", Value::Long(1LL << 40)));
  ASSERT_TRUE(t.Update());
  EXPECT_EQ(t.ReadText("name"), "甲'乙");
  EXPECT_EQ(t.ReadText("n"), "1099511627776");

  ASSERT_TRUE(t.Edit());
  EXPECT_TRUE(t.WriteField("n", Value::Int(1)));
  EXPECT_TRUE(t.WriteField("name", Value::FromText("\x81")));  // half a double-byte character
  EXPECT_FALSE(t.Update());
  EXPECT_EQ(t.ReadText("name"), "甲'乙");
  EXPECT_EQ(t.ReadText("n"), "1099511627776");
  // Still editing with the pending values: correcting the text lets the update go through.
  EXPECT_TRUE(t.WriteField("name", Value::FromText("丙")));
  ASSERT_TRUE(t.Update());
  EXPECT_EQ(t.ReadText("name"), "丙");
  EXPECT_EQ(t.ReadText("n"), "1");
  EXPECT_EQ(Scalar("select count(*) from t where name is null"), "0");
}

}  // namespace
}  // namespace kelmor
