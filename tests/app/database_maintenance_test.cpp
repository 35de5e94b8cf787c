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

// Another tool set the book to write-ahead logging: committed changes stay in kelmor.db-wal until
// a checkpoint, and the backup must hold them all the same.
TEST_F(DatabaseMaintenanceTest, BackupHoldsChangesThatOnlyTheWriteAheadLogHolds) {
  {
    SqliteDB other;
    ASSERT_TRUE(other.Open(File()) && other.Execute("PRAGMA journal_mode=WAL"));
  }
  std::filesystem::create_directory(dir_ / "bak");
  Start();
  ASSERT_TRUE(app_->database->Execute("PRAGMA wal_autocheckpoint=0"));
  ASSERT_TRUE(app_->database->Execute("delete from zymm where id > 10"));
  ASSERT_GT(std::filesystem::file_size(File() + "-wal"), 0u);
  Menu("备份数据");
  EXPECT_EQ(Names(Backup()), Names(File()));
  EXPECT_EQ(Names(Backup()).size(), 10u);
  EXPECT_TRUE(driver_.message_boxes().empty());
}

// The book locked by another connection cannot be read: the older backup stays as it was and
// nothing half written is left beside it.
TEST_F(DatabaseMaintenanceTest, AFailedBackupKeepsTheOlderOne) {
  std::filesystem::create_directory(dir_ / "bak");
  std::ofstream(Backup()) << "an old backup";
  Start();
  SqliteDB other;
  ASSERT_TRUE(other.Open(File()) && other.Execute("BEGIN EXCLUSIVE"));
  ASSERT_TRUE(other.Execute("delete from zymm where id > 10"));
  Menu("备份数据");
  std::ifstream in(Backup());
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "an old backup");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "bak"), {}), 1);
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
