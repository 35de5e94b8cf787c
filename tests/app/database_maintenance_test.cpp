// Compaction and backup of the open database through the popup menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/app/app_test.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor {
namespace {

class DatabaseMaintenanceTest : public test::AppTest {
 protected:
  DatabaseMaintenanceTest() {
    SqliteDB db;
    EXPECT_TRUE(db.Open(File(), true));
    EXPECT_TRUE(test::CreateSchema(db));
    db.BeginTransaction();
    for (int i = 0; i < 2000; ++i) {
      test::InsertHerb(db, "药" + std::to_string(i), "甲",
                       {{"附注", Text(400, static_cast<char>('a' + i % 26))}});
    }
    db.CommitTransaction();
  }
  std::string Backup() const { return (dir_ / "bak" / "kelmor.db").string(); }

  void Start() { StartApp(); }

  // Every herb name in order, read from the file through a connection of its own.
  static std::vector<Text> Names(const std::string& file) {
    return test::ColumnValues(file, "select 药物名称 from zymm order by id", "药物名称");
  }
};

TEST_F(DatabaseMaintenanceTest, CompactionShrinksTheFileAndKeepsTheRows) {
  Start();
  ASSERT_TRUE(app_->database->Execute("delete from zymm where id > 100"));
  const std::vector<Text> before = Names(File());
  ASSERT_EQ(before.size(), 100u);
  const auto size_before = std::filesystem::file_size(File());
  Menu("收缩数据库");
  EXPECT_LT(std::filesystem::file_size(File()) * 4, size_before);
  EXPECT_EQ(Names(File()), before);
  EXPECT_TRUE(driver_.message_boxes().empty());
}

TEST_F(DatabaseMaintenanceTest, BackupCopiesTheCompactedFileAndReplacesAnOldCopy) {
  std::filesystem::create_directory(dir_ / "bak");
  {
    std::ofstream old(Backup());
    old << "an old backup";
  }
  Start();
  ASSERT_TRUE(app_->database->Execute("delete from zymm where id > 10"));
  Menu("备份数据");
  EXPECT_EQ(Names(Backup()), Names(File()));
  EXPECT_EQ(Names(Backup()).size(), 10u);
  EXPECT_EQ(std::filesystem::file_size(Backup()), std::filesystem::file_size(File()));
  // The database stays open and usable.
  EXPECT_TRUE(app_->database->Execute("delete from zymm where id > 5"));
  EXPECT_TRUE(driver_.message_boxes().empty());
}

TEST_F(DatabaseMaintenanceTest, BackupWithoutTheFolderStillCompactsSilently) {
  Start();
  ASSERT_TRUE(app_->database->Execute("delete from zymm where id > 100"));
  const auto size_before = std::filesystem::file_size(File());
  Menu("备份数据");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "bak"));
  EXPECT_LT(std::filesystem::file_size(File()), size_before);
  EXPECT_EQ(Names(File()).size(), 100u);
  EXPECT_TRUE(driver_.message_boxes().empty());
}

}  // namespace
}  // namespace kelmor
