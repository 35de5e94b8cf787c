// Inputs the fuzz targets once broke, as plain tests of the parser concerned.
#include <gtest/gtest.h>

#include "runtime/codec.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor {
namespace {

TEST(ParserRegression, OverlongUtf8IsNotText) {
  // Read as a quote, C0 A7 would turn stored bytes into a different text than UTF-8 holds.
  EXPECT_EQ(Utf8ToLocal("\xC0\xA7"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("\xC1\xBF"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("a\xE0\x80\xA7"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("\xE0\x9F\xBF"), std::nullopt);
  // The shortest forms still convert.
  EXPECT_EQ(Utf8ToLocal("\xE7\x94\x98'"), std::optional<Text>("甘'"));  // 甘 in UTF-8
  EXPECT_EQ(LocalToUtf8(*Utf8ToLocal("\xC2\xB0")), std::optional<std::string>("\xC2\xB0"));
}

TEST(ParserRegression, AConditionReachingPastItsParenthesesStillSearchesForward) {
  SqliteDB db;
  ASSERT_TRUE(db.Open(Text(), true));
  ASSERT_TRUE(
      db.Execute("CREATE TABLE t (a TEXT); INSERT INTO t (rowid, a) VALUES (2, 'x'), "
                 "(5, 'y'), (7, 'z'), (9, 'w')"));
  // Once each of these started over at the first row, and a search walking with it never ended.
  for (const char* condition : {"1) OR (1", "1) --", "a='x') OR (a='y'"}) {
    SCOPED_TRACE(condition);
    SqliteTable table;
    ASSERT_TRUE(table.Open("t", db));
    std::vector<int> visited;
    while (!table.IsEnd() && visited.size() < 10) {
      table.Next();
      if (!table.Find(condition)) break;
      visited.push_back(table.CurrentRow());
    }
    const std::vector<int> expected =
        condition[0] == 'a' ? std::vector<int>{1, 2} : std::vector<int>{1, 2, 3, 4};
    EXPECT_EQ(visited, expected);
    // From the third row on, rows before it are not found.
    ASSERT_TRUE(table.Open("t", db));
    for (int i = 0; i < 3; ++i) table.Next();
    ASSERT_EQ(table.CurrentRow(), 3);
    EXPECT_EQ(table.Find(condition), condition[0] != 'a');
    EXPECT_GE(table.CurrentRow(), 3);
  }
}

}  // namespace
}  // namespace kelmor
