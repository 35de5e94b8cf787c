// Adding, renaming and deleting categories through the popup menu and the in-place label edit.
#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "app/category_tree.h"
#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/dialogs.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "sqlite_access/field.h"
#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor {
namespace {

class CategoryMaintenanceTest : public ::testing::Test {
 protected:
  CategoryMaintenanceTest() {
    SqliteDB db;
    EXPECT_TRUE(db.Open(File(), true));
    EXPECT_TRUE(test::CreateSchema(db));
    const std::int64_t jia = test::InsertCategoryRow(db, 1, "甲");
    test::InsertCategoryRow(db, 1, "人参", jia);
    test::InsertCategoryRow(db, 1, "丙");
    EXPECT_TRUE(test::InsertHerb(db, "人参", "甲"));
  }
  ~CategoryMaintenanceTest() override {
    app_.reset();
    ResetWindowFramework();
  }

  std::string File() const { return (dir_ / "kelmor.db").string(); }

  void Start() {
    ApplicationOptions options;
    options.database_file = File();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
    Menu("更新");
  }

  // Chooses a popup-menu item after a right click on the item (-1: empty space).
  void Menu(const char* caption, int item = -1) {
    driver_.ChooseMenuItem(Text(caption));
    driver_.RightClickTreeItem(app_->Tree(), item);
  }

  int Item(const Text& text) {
    for (int i = 0; i < GetTreeItemCount(app_->Tree()); ++i) {
      if (GetTreeItemText(app_->Tree(), i) == text) return i;
    }
    return -1;
  }

  // The values of one column of the rows a query returns, read through a second connection.
  std::vector<Text> Column(const Text& sql, const char* column) {
    SqliteDB db;
    db.Open(File());
    SqliteDataset rows;
    rows.Open(sql, db);
    rows.Query();
    std::vector<Text> out;
    const Field field(column);
    while (!rows.IsEnd()) {
      rows.Next();
      bool ok = false;
      Text value = rows.ReadText(field, ok);
      // The walk makes one pass past the last row; that read fails.
      if (ok) out.push_back(value);
    }
    return out;
  }

  std::vector<Text> Categories() { return Column("select type from zylb order by id", "type"); }

  test::TempDir dir_;
  test::TestDriver driver_;
  std::unique_ptr<Application> app_;
};

TEST_F(CategoryMaintenanceTest, AddsABoldFirstLevelCategoryAndSavesTheTree) {
  Start();
  driver_.AnswerInputBox("丁");
  Menu("增加一类");
  EXPECT_EQ(Column("select xm from zylb where type='丁'", "xm"), std::vector<Text>{"0"});
  const auto shown = ParseTreeContent(GetTreeContent(app_->Tree()));
  const auto saved = ParseTreeContent(LoadTree(*app_, "1"));
  EXPECT_EQ(shown, saved);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown.back().text, "丁");
  EXPECT_EQ(shown.back().level, 1);
  EXPECT_TRUE(shown.back().flags & kTreeFlagBold);
  EXPECT_TRUE(driver_.message_boxes().empty());
}

TEST_F(CategoryMaintenanceTest, RefusesUsedNamesAndIgnoresCancelAndEmpty) {
  Start();
  driver_.AnswerInputBox("人参");  // an entry's name counts as used
  Menu("增加一类");
  ASSERT_EQ(driver_.message_texts(), std::vector<Text>{"[人参]已经存在,不能增加"});
  EXPECT_EQ(driver_.message_boxes()[0].type & 0xF, 0u);
  driver_.CancelInputBox();
  Menu("增加一类");
  driver_.AnswerInputBox("");
  Menu("增加一类");
  EXPECT_EQ(driver_.message_texts().size(), 1u);
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(CategoryMaintenanceTest, ConfirmedRenameMovesTheEntriesAndKeepsTheChildren) {
  Start();
  Menu("编辑类别");
  driver_.AnswerMessageBox(kAnswerYes);
  driver_.EditLabel(app_->Tree(), Item("甲"), "乙");
  ASSERT_EQ(driver_.message_texts(), std::vector<Text>{"你确定要修改[甲]吗？"});
  EXPECT_EQ(driver_.message_boxes()[0].caption, "提示");
  EXPECT_EQ(driver_.message_boxes()[0].type & 0xFF, 4u);
  EXPECT_EQ(Categories(), (std::vector<Text>{"乙", "人参", "丙"}));
  EXPECT_EQ(Column("select 类别 from zymm", "类别"), std::vector<Text>{"乙"});
  EXPECT_EQ(Column("select type from zymm", "type"), std::vector<Text>{"乙"});
  const int yi = Item("乙");
  ASSERT_NE(yi, -1);
  EXPECT_EQ(GetParentItem(app_->Tree(), Item("人参")), yi);
  EXPECT_EQ(Item("甲"), -1);
  // In-place editing ends with a confirmed rename.
  EXPECT_EQ(platform::GetWindowLongA(WindowHandle(app_->Tree()), platform::GWL_STYLE) &
                platform::TVS_EDITLABELS,
            0);
}

TEST_F(CategoryMaintenanceTest, NoKeepsTheOldNameAndCancelStillAsks) {
  Start();
  Menu("编辑类别");
  driver_.AnswerMessageBox(kAnswerNo);
  driver_.EditLabel(app_->Tree(), Item("甲"), "乙");
  EXPECT_NE(Item("甲"), -1);
  EXPECT_EQ(Item("乙"), -1);
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));

  // Still allowed after No; a cancelled edit asks too and Yes writes the unchanged name.
  driver_.AnswerMessageBox(kAnswerYes);
  driver_.BeginLabelEdit(app_->Tree(), Item("甲"));
  driver_.CancelLabelEdit(app_->Tree());
  EXPECT_EQ(driver_.message_texts().size(), 2u);
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
  EXPECT_EQ(Column("select 类别 from zymm", "类别"), std::vector<Text>{"甲"});
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(CategoryMaintenanceTest, QuotesInNamesAreStoredAndRenamedAsTyped) {
  Start();
  driver_.AnswerInputBox("王'");
  Menu("增加一类");
  EXPECT_EQ(Categories().back(), "王'");
  Menu("编辑类别");
  driver_.AnswerMessageBox(kAnswerYes);
  driver_.EditLabel(app_->Tree(), Item("王'"), "王''x");
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙", "王''x"}));
  EXPECT_NE(Item("王''x"), -1);
  EXPECT_EQ(driver_.message_texts().size(), 1u);
}

TEST_F(CategoryMaintenanceTest, AFailingStatementStopsTheRename) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(db.Execute(
        "CREATE TRIGGER frozen BEFORE UPDATE ON zylb BEGIN SELECT RAISE(ABORT,'x'); END;"));
  }
  Start();
  Menu("编辑类别");
  driver_.AnswerMessageBox(kAnswerYes);
  driver_.EditLabel(app_->Tree(), Item("甲"), "乙");
  ASSERT_EQ(driver_.message_texts(), (std::vector<Text>{"你确定要修改[甲]吗？", "修改[甲]错误"}));
  EXPECT_EQ(driver_.message_boxes()[1].type & 0xFF, 16u);
  // The entries must not move to a category that does not exist.
  EXPECT_EQ(Column("select 类别 from zymm", "类别"), std::vector<Text>{"甲"});
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
  EXPECT_NE(Item("甲"), -1);
  // Later actions get a transaction of their own.
  driver_.AnswerInputBox("丁");
  Menu("增加一类");
  EXPECT_EQ(Categories().back(), "丁");
}

TEST_F(CategoryMaintenanceTest, DeletesOnlyChildlessItemsAfterYes) {
  Start();
  Menu("删除", Item("甲"));
  EXPECT_EQ(driver_.message_texts(), std::vector<Text>{"已经有子类不能删除"});
  driver_.ClearRecords();

  driver_.AnswerMessageBox(kAnswerNo);
  Menu("删除", Item("丙"));
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));

  driver_.AnswerMessageBox(kAnswerYes);
  Menu("删除", Item("丙"));
  EXPECT_EQ(driver_.message_texts()[1], "你确定要删除[丙]吗？");
  EXPECT_EQ(driver_.message_boxes()[1].caption, "提示");
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参"}));
  EXPECT_EQ(Item("丙"), -1);
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(CategoryMaintenanceTest, AFailingDeleteKeepsTheEntries) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(db.Execute(
        "CREATE TRIGGER kept BEFORE DELETE ON zylb BEGIN SELECT RAISE(ABORT,'x'); END;"));
    ASSERT_TRUE(test::InsertHerb(db, "当归", "丙"));
  }
  Start();
  driver_.AnswerMessageBox(kAnswerYes);
  Menu("删除", Item("丙"));
  EXPECT_EQ(driver_.message_texts().back(), "删除[丙]错误");
  EXPECT_EQ(Column("select 药物名称 from zymm order by id", "药物名称"),
            (std::vector<Text>{"人参", "当归"}));
  EXPECT_NE(Item("丙"), -1);
}

}  // namespace
}  // namespace kelmor
