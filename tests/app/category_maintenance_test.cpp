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
#include "tests/app/app_test.h"
#include "tests/support/schema.h"

namespace kelmor {
namespace {

class CategoryMaintenanceTest : public test::AppTest {
 protected:
  CategoryMaintenanceTest() { MakeSampleBook(); }

  void Start() {
    StartApp();
    Menu("更新");
  }

  std::vector<Text> Categories() { return Column("select type from zylb order by id", "type"); }
};

TEST_F(CategoryMaintenanceTest, AddsABoldFirstLevelCategoryAndSavesTheTree) {
  Start();
  driver_.AnswerInputBox("丁");
  Menu("增加一类");
  EXPECT_EQ(Column("select xm from zylb where type='丁'", "xm"), std::vector<Text>{"0"});
  const auto shown = ParseTreeContent(GetTreeContent(app_->Tree()));
  const auto saved = ParseTreeContent(LoadTree(*app_, Collection::Herbs));
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
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxOk);
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
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxYesNo);
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

TEST_F(CategoryMaintenanceTest, AClearedNameCountsAsACancelledEdit) {
  Start();
  for (const char* blank : {"", "  ", "　"}) {
    Menu("编辑类别");  // each confirmed rename ends in-place editing
    driver_.AnswerMessageBox(kAnswerYes);
    driver_.EditLabel(app_->Tree(), Item("甲"), blank);
    EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
    EXPECT_EQ(Column("select 类别 from zymm", "类别"), std::vector<Text>{"甲"});
    EXPECT_EQ(GetParentItem(app_->Tree(), Item("人参")), Item("甲"));
  }
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(CategoryMaintenanceTest, RenamingAnEntryRenamesItsRecordUnlessTheNameIsUsed) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(test::InsertHerb(db, "当归", "丙"));  // a record that no tree row reaches
  }
  Start();
  Menu("编辑类别");
  for (const char* used : {"丙", "当归"}) {
    driver_.AnswerMessageBox(kAnswerYes);
    driver_.EditLabel(app_->Tree(), Item("人参"), used);
    EXPECT_EQ(driver_.message_texts().back(), "[" + Text(used) + "]已经存在,不能修改");
    EXPECT_EQ(Flags(driver_.message_boxes().back()), kMsgBoxOk);
  }
  EXPECT_EQ(Categories(), (std::vector<Text>{"甲", "人参", "丙"}));
  EXPECT_EQ(Column("select 药物名称 from zymm order by id", "药物名称"),
            (std::vector<Text>{"人参", "当归"}));
  EXPECT_NE(Item("人参"), -1);

  driver_.AnswerMessageBox(kAnswerYes);
  driver_.EditLabel(app_->Tree(), Item("人参"), "红'参");
  EXPECT_EQ(Column("select 药物名称||'/'||类别 as v from zymm order by id", "v"),
            (std::vector<Text>{"红'参/甲", "当归/丙"}));
  driver_.DoubleClickTreeItem(app_->Tree(), Item("红'参"));
  EXPECT_EQ(GetText(app_->Page()).find("【药物名称】：红'参\r\n"), 0u);
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
  EXPECT_EQ(Flags(driver_.message_boxes()[1]), kMsgBoxStop);
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
