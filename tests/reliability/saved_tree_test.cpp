// The saved tree under storage faults during 更新.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "app/category_tree.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "tests/reliability/book_file.h"
#include "tests/reliability/fault_vfs.h"
#include "tests/reliability/reliability_fixture.h"

namespace kelmor {
namespace {

TEST(SavedTree, ARefusedReadOfTheCategoriesKeepsTheStoredTree) {
  test::TempDir dir;
  const auto file = dir / "kelmor.db";
  test::MakeBookFile(file);
  const test::BookRows before = test::ReadBookRows(file);
  test::FaultVfs vfs;
  {
    test::Session session(file);
    const Bytes shown = GetTreeContent(session.app().Tree());
    ASSERT_EQ(ParseTreeContent(shown).size(), 3u);
    // The first lock of 更新 is the read of the category rows.
    vfs.Arm(test::FaultKind::Lock, 1, SQLITE_BUSY);
    session.Menu("更新");
    vfs.Disarm();
    // Once an empty tree was built from the failed read and saved over the stored one.
    EXPECT_EQ(GetTreeContent(session.app().Tree()), shown);
    EXPECT_TRUE(session.driver().message_boxes().empty());
  }
  EXPECT_EQ(test::ReadBookRows(file), before);
}

}  // namespace
}  // namespace kelmor
