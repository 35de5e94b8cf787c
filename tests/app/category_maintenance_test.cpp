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
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(test::InsertHerb(db, "当归", "丙"));  // a record that no tree row reaches
  }
  Start();
  // An entry's name counts as used, also when only its record carries it.
  for (const char* used : {"人参", "当归"}) {
    driver_.AnswerInputBox(used);
    Menu("增加一类");
    EXPECT_EQ(driver_.message_texts().back(), "[" + Text(used) + "]已经存在,不能增加");
    EXPECT_EQ(Flags(driver_.message_boxes().back()), kMsgBoxOk);
  }
  driver_.CancelInputBox();
  Menu("增加一类");
  driver_.AnswerInputBox("");
  Menu("增加一类");
  EXPECT_EQ(driver_.message_texts().size(), 2u);
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

TEST_F(CategoryMaintenanceTest, RenamesItsRecordWithAnEntryAndRefusesEveryUsedName) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(test::InsertHerb(db, "当归", "丙"));  // a record that no tree row reaches
  }
  Start();
  Menu("编辑类别");
  // At either level, to a category's name, an entry's or a record's that no tree row reaches.
  for (const char* item : {"人参", "丙"}) {
    for (const char* used : {"甲", "丙", "人参", "当归"}) {
      if (Text(used) == item) continue;
      driver_.AnswerMessageBox(kAnswerYes);
      driver_.EditLabel(app_->Tree(), Item(item), used);
      EXPECT_EQ(driver_.message_texts().back(), "[" + Text(used) + "]已经存在,不能修改");
      EXPECT_EQ(Flags(driver_.message_boxes().back()), kMsgBoxOk);
    }
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

// Books written by another tool may carry one name twice. An action on one of the two items
// changes only that item's rows, or is refused with a message naming the clash.
class NameHeldTwiceTest : public CategoryMaintenanceTest {
 protected:
  // Adds a category and, under it, the rows of a herb.
  void AddHerbUnder(const Text& category, const Text& herb, std::int64_t parent = 0) {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    if (parent == 0) parent = test::InsertCategoryRow(db, 1, category);
    ASSERT_NE(test::InsertCategoryRow(db, 1, herb, parent), 0);
    ASSERT_TRUE(test::InsertHerb(db, herb, category, {{"性味", category}}));
  }
  std::vector<Text> Nodes() {
    return Column("select type||'/'||xm as v from zylb order by id", "v");
  }
  std::vector<Text> Records() {
    return Column(
        "select 药物名称||'/'||类别||'/'||type||'/'||ifnull(性味,'') as v from zymm order by id",
        "v");
  }
  void Rename(int item, const Text& name) {
    Menu("编辑类别");
    driver_.AnswerMessageBox(kAnswerYes);
    driver_.EditLabel(app_->Tree(), item, name);
  }
  void Delete(int item) {
    driver_.AnswerMessageBox(kAnswerYes);
    Menu("删除", item);
  }
};

TEST_F(NameHeldTwiceTest, AnEntryOfTwoCategoriesIsRenamedAndDeletedAlone) {
  AddHerbUnder("丁", "人参");  // 人参 under 甲 and under 丁
  Start();
  Rename(Item("丁") + 1, "红参");
  EXPECT_EQ(Nodes(), (std::vector<Text>{"甲/0", "人参/1", "丙/0", "丁/0", "红参/4"}));
  EXPECT_EQ(Records(), (std::vector<Text>{"人参/甲/甲/", "红参/丁/丁/丁"}));
  EXPECT_EQ(driver_.message_texts().size(), 1u);

  AddHerbUnder("戊", "人参");
  Menu("更新");
  Delete(Item("人参"));  // the one under 甲
  EXPECT_EQ(Nodes(), (std::vector<Text>{"甲/0", "丙/0", "丁/0", "红参/4", "戊/0", "人参/6"}));
  EXPECT_EQ(Records(), (std::vector<Text>{"人参/甲/甲/", "红参/丁/丁/丁", "人参/戊/戊/戊"}));
  EXPECT_EQ(GetParentItem(app_->Tree(), Item("人参")), Item("戊"));
}

TEST_F(NameHeldTwiceTest, AnEntryNamedLikeItsCategoryLeavesTheCategoryAlone) {
  AddHerbUnder("甲", "甲", 1);
  Start();
  Rename(Item("人参") + 1, "乙");  // the herb 甲, after 人参 under 甲
  EXPECT_EQ(Nodes(), (std::vector<Text>{"甲/0", "人参/1", "丙/0", "乙/1"}));
  EXPECT_EQ(Records(), (std::vector<Text>{"人参/甲/甲/", "乙/甲/甲/甲"}));
  EXPECT_EQ(driver_.message_texts().size(), 1u);
}

TEST_F(NameHeldTwiceTest, WhatTheStatementsCannotTellApartIsRefused) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_NE(test::InsertCategoryRow(db, 1, "甲"), 0);  // empty, beside 甲 with 人参
    ASSERT_TRUE(test::InsertHerb(db, "人参", "甲"));     // a second record of 人参 in 甲
  }
  Start();
  const std::vector<Text> nodes = Nodes();
  const std::vector<Text> records = Records();
  const int empty = Item("丙") + 1;
  ASSERT_EQ(GetTreeItemText(app_->Tree(), empty), "甲");
  Rename(empty, "乙");
  Delete(empty);
  driver_.AnswerMessageBox(kAnswerYes);
  driver_.EditLabel(app_->Tree(), Item("人参"), "红参");
  EXPECT_EQ(driver_.message_texts(),
            (std::vector<Text>{"你确定要修改[甲]吗？", "[甲]重名,不能修改", "你确定要删除[甲]吗？",
                               "[甲]重名,不能删除", "你确定要修改[人参]吗？",
                               "[甲]中的[人参]重名,不能修改"}));
  EXPECT_EQ(Nodes(), nodes);
  EXPECT_EQ(Records(), records);
  EXPECT_TRUE(driver_.ScriptDone());
}
}  // namespace
}  // namespace kelmor
