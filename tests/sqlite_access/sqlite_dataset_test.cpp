#include "sqlite_access/sqlite_dataset.h"

#include <gtest/gtest.h>

#include <string>

#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"

namespace kelmor {
namespace {

class SqliteDatasetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Open(":memory:", true));
    ASSERT_TRUE(test::CreateSchema(db));
    a = test::InsertCategoryRow(db, 1, "补虚药");
    ASSERT_NE(test::InsertCategoryRow(db, 1, "甘草", a), 0);
    ASSERT_NE(test::InsertCategoryRow(db, 1, "人参", a), 0);
  }
  SqliteDB db;
  std::int64_t a = 0;
};

TEST_F(SqliteDatasetTest, EmptyQuery) {
  SqliteDataset ds;
  EXPECT_TRUE(ds.IsEnd());
  EXPECT_EQ(ds.RowCount(), 0);
  EXPECT_TRUE(ds.Close());
  ASSERT_TRUE(ds.Open("select * from zylb where xm=99", db));
  EXPECT_TRUE(ds.IsEnd());
  ASSERT_TRUE(ds.Query());
  EXPECT_EQ(ds.RowCount(), 0);
  EXPECT_TRUE(ds.IsEnd());
}

TEST_F(SqliteDatasetTest, WalkWithItsExtraPass) {
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select * from zylb ORDER BY xm", db));
  ASSERT_TRUE(ds.Query());
  EXPECT_EQ(ds.RowCount(), 3);
  std::string names;
  int passes = 0;
  while (!ds.IsEnd()) {
    const bool row = ds.Next();
    ++passes;
    bool ok = false;
    const Text name = ds.ReadText("TYPE", ok);
    EXPECT_EQ(ok, row);
    if (!row) {
      EXPECT_EQ(name, "");
      EXPECT_EQ(ds.ReadInt("xm"), 0);
    }
    names += name + "/";
  }
  EXPECT_EQ(passes, 4);
  EXPECT_EQ(names, "补虚药/甘草/人参//");
  // Query again counts again and starts the walk over.
  ASSERT_TRUE(ds.Query());
  ASSERT_TRUE(ds.Next());
  EXPECT_EQ(ds.ReadText(2), "补虚药");
}

TEST_F(SqliteDatasetTest, FieldSelectors) {
  ASSERT_TRUE(db.Execute("insert into zylb(type,xm)values(NULL,7)"));
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select * from zylb where xm=7", db));
  ASSERT_TRUE(ds.Query());
  ASSERT_TRUE(ds.Next());
  bool ok = false;
  EXPECT_EQ(ds.ReadInt("XM", ok), 7);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ds.ReadText(3, ok), "7");
  EXPECT_TRUE(ok);
  EXPECT_EQ(ds.ReadText("type", ok), "");  // NULL
  EXPECT_TRUE(ok);
  EXPECT_EQ(ds.ReadText("", ok), "");
  EXPECT_FALSE(ok);
  EXPECT_EQ(ds.ReadText(Field::FromValue(Value::Double(2.9)), ok), "");  // NULL type
  EXPECT_TRUE(ok);
  // A long beyond 32 bits selects nothing rather than the column its low bits name.
  EXPECT_EQ(ds.ReadText(Field::FromValue(Value::Long(3)), ok), "7");
  EXPECT_EQ(ds.ReadText(Field::FromValue(Value::Long((1LL << 32) + 3)), ok), "");
  EXPECT_FALSE(ok);
  // Last: a column beyond the last leaves SQLITE_RANGE on the connection until the next step.
  for (int bad : {0, -1, 4}) {
    EXPECT_EQ(ds.ReadText(bad, ok), "") << bad;
    EXPECT_FALSE(ok) << bad;
    EXPECT_EQ(ds.ReadInt(bad, ok), 0) << bad;
    EXPECT_FALSE(ok) << bad;
  }
}

// An integer beyond 32 bits is refused, never read as its low 32 bits (another row's id).
TEST_F(SqliteDatasetTest, IntegersBeyondThirtyTwoBitsAreNotCut) {
  ASSERT_TRUE(db.Execute("insert into zylb(id,type,xm)values(4294967297,'x',-4294967295)"));
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select id,xm,'4294967298' as t from zylb where type='x'", db));
  ASSERT_TRUE(ds.Query());
  ASSERT_TRUE(ds.Next());
  for (const char* column : {"id", "xm", "t"}) {
    bool ok = true;
    EXPECT_EQ(ds.ReadInt(column, ok), 0) << column;
    EXPECT_FALSE(ok) << column;
  }
}

TEST_F(SqliteDatasetTest, InvalidUtf8ReadsEmpty) {
  ASSERT_TRUE(db.Execute("insert into zylb(type,xm)values(CAST(x'E4B8' AS TEXT),8)"));
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select type from zylb where xm=8", db));
  ASSERT_TRUE(ds.Query());
  ASSERT_TRUE(ds.Next());
  bool ok = false;
  EXPECT_EQ(ds.ReadText(1, ok), "");
  EXPECT_TRUE(ok);
}

TEST_F(SqliteDatasetTest, FailedOpenReleasesTheEarlierQuery) {
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open("select * from zylb", db));
  ASSERT_TRUE(ds.Query());
  EXPECT_FALSE(ds.Open("select * frm zylb", db));
  EXPECT_FALSE(ds.Query());
  EXPECT_FALSE(ds.Next());
  EXPECT_TRUE(ds.IsEnd());
  EXPECT_FALSE(ds.Open("select * from missing", db));
  SqliteDB closed;
  EXPECT_FALSE(ds.Open("select 1", closed));
  EXPECT_TRUE(ds.Close());
}

TEST_F(SqliteDatasetTest, LongStatement) {
  Text sql = "select * from zylb where type='甘草'";
  while (sql.size() < 5000) sql += " and type<>'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'";
  SqliteDataset ds;
  ASSERT_TRUE(ds.Open(sql, db));
  ASSERT_TRUE(ds.Query());
  EXPECT_EQ(ds.RowCount(), 1);
}

}  // namespace
}  // namespace kelmor
