#include "tests/reliability/reliability_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"

namespace kelmor::test {

void MakeBookFile(const std::filesystem::path& file) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(file.string(), true));
    ASSERT_TRUE(CreateSchema(db));
    ASSERT_TRUE(InsertSampleTree(db, 1) && InsertSampleTree(db, 2));
    ASSERT_TRUE(InsertHerb(db, "人参", "甲", {{"性味", "甘"}}));
    ASSERT_TRUE(InsertPrescription(db, "人参", "甲", {{"配方", "人参"}}));
  }
  Session session(file);
  session.Menu("更新");
  session.app().collection_mode = Collection::Prescriptions;
  session.Menu("更新");
}

Session::Session(const std::filesystem::path& file) {
  ApplicationOptions options;
  options.database_file = file.string();
  app_ = std::make_unique<Application>(options);
  EXPECT_TRUE(LoadWindow(app_->main_window));
}

Session::~Session() {
  app_.reset();
  ResetWindowFramework();
}

void Session::Menu(const Text& caption, int item) {
  driver_.ChooseMenuItem(caption);
  driver_.RightClickTreeItem(app_->Tree(), item);
}

int Session::Item(const Text& text) {
  for (int i = 0; i < GetTreeItemCount(app_->Tree()); ++i) {
    if (GetTreeItemText(app_->Tree(), i) == text) return i;
  }
  return -1;
}

bool Session::NoOpenTransaction() {
  sqlite3* db = app_->database ? app_->database->connection() : nullptr;
  return db == nullptr || sqlite3_get_autocommit(db) != 0;
}

}  // namespace kelmor::test
