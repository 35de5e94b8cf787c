// The search bar, the results window and opening a result, through the test driver.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/application.h"
#include "platform/rich_edit.h"
#include "runtime/key_codes.h"
#include "runtime/list_view_control.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/app/app_test.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor {
namespace {

using Row = std::vector<Text>;

class SearchTest : public test::AppTest {
 protected:
  // The schema plus `more` (SQL).
  void MakeDatabase(const Text& more = {}) {
    ASSERT_TRUE(test::CreateSchemaFile(File()));
    if (more.empty()) return;
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(db.Execute(more));
  }

  void Start() { StartApp(); }

  ControlRef Box() const { return app_->Main("编辑框1"); }
  ControlRef List() const { return {app_->search_window, "超级列表框1"}; }

  void Choose(const Text& column) {
    for (int i = 0; i < ComboItemCount(app_->FieldChooser()); ++i) {
      if (ComboItemText(app_->FieldChooser(), i) == column) {
        driver_.SelectComboItem(app_->FieldChooser(), i);
        return;
      }
    }
    ADD_FAILURE() << "no chooser item " << column;
  }

  void SetTerm(const Text& term) {
    driver_.ClearText(Box());
    driver_.Type(Box(), term);
  }

  std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (int r = 0; r < GetRowCount(List()); ++r) {
      rows.push_back(
          {GetCellText(List(), r, 0), GetCellText(List(), r, 1), GetCellText(List(), r, 2)});
    }
    return rows;
  }

  // Searches `column` for `term` with the 查询 button; `inside` runs in the open results window,
  // which is closed afterwards. Returns the listed rows.
  std::vector<Row> Search(const Text& column, const Text& term, std::function<void()> inside = {}) {
    Choose(column);
    SetTerm(term);
    std::vector<Row> rows;
    bool opened = false;
    driver_.OnModal([&] {
      opened = true;
      title_ = GetText({app_->search_window, ""});
      rows = Rows();
      if (inside) inside();
      driver_.CloseBox(app_->search_window);
    });
    driver_.Click(app_->Main("按钮4"));
    EXPECT_TRUE(opened);
    return rows;
  }

  platform::RichEdit& Page() { return *platform::RichEdit::From(WindowHandle(app_->Page())); }

  // The runs of the page that carry a format of their own.
  std::vector<platform::RichEditRun> MarkedRuns() {
    std::vector<platform::RichEditRun> marked;
    for (const auto& run : Page().FormatRuns()) {
      if (!run.is_default) marked.push_back(run);
    }
    return marked;
  }
  Text title_;
};

TEST_F(SearchTest, AsksForAColumnThenForATerm) {
  MakeDatabase();
  Start();
  driver_.Click(app_->Main("按钮4"));
  Choose("性味");
  driver_.Click(app_->Main("按钮4"));
  ASSERT_EQ(driver_.message_boxes().size(), 2u);
  EXPECT_EQ(driver_.message_boxes()[0].text, "请选择查询项目");
  EXPECT_EQ(driver_.message_boxes()[0].caption, "信息：");
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxOk);  // OK only
  EXPECT_EQ(driver_.message_boxes()[1].text, "请查询内容");
  EXPECT_TRUE(app_->search_condition.empty());
}

TEST_F(SearchTest, EnterStartsASearchAndOtherKeysDoNot) {
  MakeDatabase("insert into zymm(TYPE,药物名称,类别,性味) values('补益药','甘草','补益药','甘平')");
  Start();
  Choose("性味");
  SetTerm("甘");
  driver_.PressKey(Box(), 'A');
  driver_.PressKey(Box(), kKeyEscape);  // an unscripted results window would fail the test
  int opened = 0;
  driver_.OnModal([&] {
    ++opened;
    EXPECT_EQ(Rows().size(), 1u);
    driver_.CloseBox(app_->search_window);
  });
  driver_.PressKey(Box(), kKeyEnter);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(app_->search_condition, "性味 like '%甘%'");
  EXPECT_TRUE(driver_.message_boxes().empty());
}

TEST_F(SearchTest, KeysOpenAResultAndEscapeClosesTheWindow) {
  MakeDatabase(
      "insert into zymm(TYPE,药物名称,类别,性味) values('补益药','甘草','补益药','甘平'),"
      "('补益药','黄芪','补益药','甘温')");
  Start();
  Choose("性味");
  SetTerm("甘");
  driver_.OnModal([&] {
    EXPECT_EQ(FirstTabStops(app_->search_window),
              (std::vector<Text>{"超级列表框1", "超级列表框1"}));
    for (int key : {0x28, 0x28, 13}) driver_.PressKey(List(), key);  // the second row
    EXPECT_NE(GetText(app_->Page()).find("【药物名称】：黄芪"), Text::npos);
    driver_.PressKey(List(), 27);
  });
  driver_.Click(app_->Main("按钮4"));
  EXPECT_FALSE(IsWindowLoaded(app_->search_window));
}

TEST_F(SearchTest, ListsEveryHerbWithTheCharacterInTableOrder) {
  MakeDatabase(
      "insert into zymm(TYPE,药物名称,类别,性味,功能主治) values"
      "('解表药','麻黄','解表药','辛温','发汗'),('清热药','黄连','清热药','苦寒','清热'),"
      "('补益药','人参','补益药','甘微温','补气'),('补益药','','补益药','温',''),"
      "('温里药','附子','温里药','辛热',NULL),('温里药','干姜','温里药','温','温中')");
  Start();
  const std::vector<Row> expected = {
      {"解表药", "麻黄", "发汗"}, {"补益药", "人参", "补气"}, {"温里药", "干姜", "温中"}};
  EXPECT_EQ(Search("性味", "温"), expected);
  EXPECT_EQ(title_, "【中  药】查询");
}

TEST_F(SearchTest, HerbSummaryIsCutAt100BytesPrescriptionsShowAll) {
  Text long_text;
  for (int i = 0; i < 60; ++i) long_text += "热";  // 120 bytes
  MakeDatabase(
      "insert into zymm(TYPE,药物名称,类别,性味,功能主治) values('清热药','石膏','清热药',"
      "'辛寒','" +
      long_text +
      "');"
      "insert into yfmm(type,药方名称,类别,功用) values('解表剂','麻黄汤','解表剂','" +
      long_text + "')");
  Start();
  std::vector<Row> rows = Search("性味", "寒");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], long_text.substr(0, 100));

  driver_.Click(app_->Main("按钮2"));
  rows = Search("药方名称", "汤");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (Row{"解表剂", "麻黄汤", long_text}));
  EXPECT_EQ(title_, "【药  方】查询");
}

TEST_F(SearchTest, QuotesWildcardsLongTermsAndMissingColumnsGiveAList) {
  MakeDatabase(
      "insert into zymm(TYPE,药物名称,类别,别名) values('甲','王''','甲','王''老'),"
      "('甲','百分','甲','50%'),('甲','空','甲','')");
  Start();
  // A quote is searched for as typed.
  EXPECT_EQ(Search("别名", "王'"), (std::vector<Row>{{"甲", "王'", ""}}));
  // % and _ keep their LIKE meaning: any text, any one character.
  EXPECT_EQ(Search("别名", "%").size(), 3u);
  EXPECT_EQ(Search("别名", "_").size(), 2u);
  EXPECT_EQ(Search("别名", "' or 1=1 --").size(), 0u);
  EXPECT_TRUE(Search("别名", Text(5000, 'x')).empty());
  ComboAddItem(app_->FieldChooser(), "不存在");
  EXPECT_TRUE(Search("不存在", "x").empty());
  EXPECT_TRUE(driver_.message_boxes().empty());
}

TEST_F(SearchTest, OpeningAResultSelectsTheLaterTreeItemAndMarksTheTerm) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'甘草',0),(2,'补益药',0),(3,'甘草',2);"
      "insert into zymm(TYPE,药物名称,类别,性味,功能主治) values"
      "('补益药','甘草','补益药','甘平','补脾益气')");
  Start();
  driver_.ChooseMenuItem(Text("更新"));
  driver_.RightClickTreeItem(app_->Tree(), -1);
  const ControlRef tree = app_->Tree();
  int last = -1;
  int equal = 0;
  for (int i = 0; i < GetTreeItemCount(tree); ++i) {
    if (GetTreeItemText(tree, i) == "甘草") ++equal, last = i;
  }
  ASSERT_EQ(equal, 2);

  Search("性味", "甘平", [&] {
    driver_.DoubleClickListRow(List(), 0);
    EXPECT_TRUE(IsWindowLoaded(app_->search_window));  // stays open
  });
  EXPECT_EQ(GetCurrentItem(tree), last);
  const std::string text = Page().Text();
  EXPECT_NE(text.find("补脾益气"), std::string::npos);

  // Two characters marked, not four (their GBK bytes).
  const auto marked = MarkedRuns();
  ASSERT_EQ(marked.size(), 1u);
  EXPECT_EQ(marked[0].length, 2);
  EXPECT_EQ(Page().Selection().cpMax - Page().Selection().cpMin, 2);
  EXPECT_EQ(marked[0].format.face, "宋体");
  EXPECT_EQ(marked[0].format.height, 180);  // 9 points in twips
  EXPECT_EQ(marked[0].format.offset, 0);
  EXPECT_EQ(marked[0].format.effects & 0x1F, 0x1u);  // bold only
  EXPECT_EQ(marked[0].format.effects & platform::CFE_AUTOCOLOR, 0u);
  EXPECT_EQ(marked[0].format.colour, 0x800000u);
}

TEST_F(SearchTest, ATermTheWholeWordSearchMissesMarksNothing) {
  MakeDatabase(
      "insert into zymm(TYPE,药物名称,类别,英文名称) values('补益药','甘草','补益药',"
      "'Glycyrrhiza')");
  Start();
  Search("英文名称", "lyc", [&] { driver_.DoubleClickListRow(List(), 0); });
  EXPECT_NE(Page().Text().find("Glycyrrhiza"), std::string::npos);
  EXPECT_TRUE(MarkedRuns().empty());
  EXPECT_EQ(Page().Selection().cpMax, Page().Selection().cpMin);
}

TEST_F(SearchTest, NoSearchStartsWhileATreeBuildRuns) {
  MakeDatabase();
  Start();
  Choose("性味");
  SetTerm("甘");
  {
    Application::BusyScope busy(*app_);
    driver_.Click(app_->Main("按钮4"));  // an unscripted results window would fail the test
    driver_.PressKey(Box(), kKeyEnter);
  }
  EXPECT_TRUE(app_->search_condition.empty());
}

}  // namespace
}  // namespace kelmor
