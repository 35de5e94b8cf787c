// Adding and editing entries of both collections in the modal editor.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "app/category_tree.h"
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

class EntryEditorTest : public test::AppTest {
 protected:
  EntryEditorTest() {
    MakeSampleBook({{"性味", "甘"}, {"附注", "旧"}});
    SqliteDB db;
    EXPECT_TRUE(db.Open(File()));
    const std::int64_t fang = test::InsertCategoryRow(db, 2, "解表剂");
    test::InsertCategoryRow(db, 2, "麻黄汤", fang);
    EXPECT_TRUE(test::InsertPrescription(db, "麻黄汤", "解表剂", {{"配方", "麻黄9克"}}));
  }

  void Start(bool prescriptions = false) {
    StartApp();
    if (prescriptions) driver_.Click(app_->Main("按钮2"));
    Menu("更新");
  }

  void Execute(const Text& sql) {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(db.Execute(sql));
  }

  // Chooses the menu item on the tree item and plays `steps` in the editor it opens.
  void InEditor(const char* caption, const Text& item, std::function<void()> steps) {
    bool opened = false;
    driver_.OnModal([&] {
      opened = true;
      steps();
    });
    Menu(caption, Item(item));
    EXPECT_TRUE(opened);
  }

  ControlRef Editor(const char* control) const { return {app_->editor_window, control}; }
  Text Title() const { return GetText({app_->editor_window, ""}); }

  bool PageShows(const Text& text) { return GetText(app_->Page()).find(text) != Text::npos; }
};

TEST_F(EntryEditorTest, AddsAHerbWithItsTreeRowAndShowsIt) {
  Start();
  InEditor("增加二类", "甲", [&] {
    EXPECT_EQ(Title(), "【中  药】添加");
    EXPECT_EQ(GetCurrentPage(Editor("选择夹1")), 0);
    EXPECT_TRUE(IsVisible(Editor("选择框1")));
    EXPECT_EQ(GetText(Editor("药物类别编辑框")), "甲");
    EXPECT_EQ(GetInputMode(Editor("药物名称编辑框")), 0);
    driver_.Type(Editor("药物名称编辑框"), "党参");
    driver_.Type(Editor("性味编辑框"), "甘，平");
    driver_.Type(Editor("功能主治编辑框"), "补中益气");
    driver_.Click(Editor("按钮1"));
  });
  EXPECT_FALSE(IsWindowLoaded(app_->editor_window));
  EXPECT_TRUE(driver_.message_boxes().empty());
  EXPECT_EQ(Column("select type||'/'||类别||'/'||性味 as v from zymm where 药物名称='党参'", "v"),
            std::vector<Text>{"甲/甲/甘，平"});
  EXPECT_EQ(Column("select xm from zylb where type='党参'", "xm"),
            Column("select id from zylb where type='甲'", "id"));
  // The tree and its saved copy show the new herb at once.
  ASSERT_NE(Item("党参"), -1);
  EXPECT_EQ(GetTreeItemText(app_->Tree(), GetParentItem(app_->Tree(), Item("党参"))), "甲");
  EXPECT_EQ(ParseTreeContent(GetTreeContent(app_->Tree())),
            ParseTreeContent(LoadTree(*app_, Collection::Herbs)));
  EXPECT_TRUE(PageShows("补中益气"));
}

TEST_F(EntryEditorTest, AHerbWhoseCategoryHasNoRowStillGetsItsEntryRow) {
  Start();
  Execute("delete from zylb where type='丙'");  // the tree still shows 丙
  InEditor("增加二类", "丙", [&] {
    driver_.Type(Editor("药物名称编辑框"), "黄芪");
    driver_.Click(Editor("按钮1"));
  });
  EXPECT_EQ(Column("select 类别 from zymm where 药物名称='黄芪'", "类别"), std::vector<Text>{"丙"});
  EXPECT_TRUE(Column("select id from zylb where type='黄芪'", "id").empty());
}

TEST_F(EntryEditorTest, ContinuousAddingKeepsTheWindowAndTheCategory) {
  Start();
  InEditor("增加二类", "丙", [&] {
    driver_.Click(Editor("选择框1"));
    for (const char* name : {"黄芪", "白术"}) {
      driver_.Type(Editor("药物名称编辑框"), name);
      driver_.Type(Editor("别名编辑框"), Text(name) + "别名");
      driver_.Click(Editor("按钮1"));
      EXPECT_TRUE(IsWindowLoaded(app_->editor_window));
      EXPECT_EQ(GetText(Editor("药物名称编辑框")), "");
      EXPECT_EQ(GetText(Editor("别名编辑框")), "");
      EXPECT_EQ(GetText(Editor("药物类别编辑框")), "丙");
    }
    driver_.CloseBox(app_->editor_window);
  });
  EXPECT_EQ(Column("select 药物名称 from zymm where 类别='丙' order by rowid", "药物名称"),
            (std::vector<Text>{"黄芪", "白术"}));
  EXPECT_EQ(Column("select 别名 from zymm where 类别='丙' order by rowid", "别名"),
            (std::vector<Text>{"黄芪别名", "白术别名"}));
  EXPECT_NE(Item("白术"), -1);
}

TEST_F(EntryEditorTest, EditsAHerbWithoutTouchingItsNameOrCategory) {
  Start();
  InEditor("编辑内容", "人参", [&] {
    EXPECT_EQ(Title(), "【中  药】编辑");
    EXPECT_EQ(GetCurrentPage(Editor("选择夹1")), 0);
    EXPECT_FALSE(IsVisible(Editor("选择框1")));
    EXPECT_EQ(GetText(Editor("药物名称编辑框")), "人参");
    EXPECT_EQ(GetInputMode(Editor("药物名称编辑框")), 1);
    EXPECT_EQ(GetText(Editor("药物类别编辑框")), "甲");
    EXPECT_EQ(GetText(Editor("性味编辑框")), "甘");
    EXPECT_EQ(GetText(Editor("附注编辑框")), "旧");
    driver_.ClearText(Editor("性味编辑框"));
    driver_.Type(Editor("性味编辑框"), "甘，微苦");
    driver_.Click(Editor("按钮1"));
  });
  EXPECT_FALSE(IsWindowLoaded(app_->editor_window));
  EXPECT_EQ(Column("select 性味||'/'||附注||'/'||类别||'/'||type as v from zymm", "v"),
            std::vector<Text>{"甘，微苦/旧/甲/甲"});
  EXPECT_TRUE(PageShows("甘，微苦"));
}

TEST_F(EntryEditorTest, AnEntryWithoutItsRecordKeepsItsNameAndItsSaveFails) {
  Start();
  Execute("delete from zymm");
  InEditor("编辑内容", "人参", [&] {
    EXPECT_EQ(GetText(Editor("药物名称编辑框")), "人参");
    EXPECT_EQ(GetInputMode(Editor("药物名称编辑框")), 1);
    driver_.Type(Editor("性味编辑框"), "苦");
    driver_.Click(Editor("按钮1"));
  });
  ASSERT_EQ(driver_.message_texts(), std::vector<Text>{"修改[人参]失败"});
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxOk);
  EXPECT_TRUE(Column("select id from zymm", "id").empty());
}

// Every box of the editor, found where the user sees it, saved as an add and as an edit, lands
// in the column of its place: each box gets a text of its own, so two boxes stored in each
// other's column, or two boxes in each other's place, show.
struct EditorColumns {
  const char* label;
  bool prescriptions;
  const char* table;
  const char* save_button;
  const char* category;
  const char* continue_box;  // "连续添加"
  const char* entry;         // an entry of the collection
  // The name box, the category box, then the field boxes: each by the label left of it on its
  // line (nullptr: the line right below the box before), and the column it is stored in.
  std::vector<std::pair<const char*, const char*>> places;
  friend void PrintTo(const EditorColumns& c, std::ostream* os) { *os << c.label; }
};

class EditorColumnsTest : public EntryEditorTest,
                          public ::testing::WithParamInterface<EditorColumns> {
 protected:
  // The columns of the places, then type, as stored.
  std::vector<Text> Stored(const Text& name) {
    const EditorColumns& c = GetParam();
    std::vector<Text> values;
    for (const Text& column : Columns()) {
      const auto found = Column("select " + column + " from " + c.table + " where " +
                                    c.places[0].second + "='" + name + "'",
                                column.c_str());
      values.push_back(found.size() == 1 ? found[0] : "<" + std::to_string(found.size()) + ">");
    }
    return values;
  }
  std::vector<Text> Columns() const {
    std::vector<Text> columns;
    for (const auto& place : GetParam().places) columns.push_back(place.second);
    columns.push_back("type");
    return columns;
  }

  // The boxes at the places on the editor's shown page, found by where they are on the screen:
  // the nearest box right of the label on its line, or right below the box before.
  std::vector<ControlRef> BoxesByPlace() {
    std::vector<std::pair<Text, platform::RECT>> labels, boxes;
    for (const ControlTemplate& control : GetWindowTemplate(app_->editor_window).controls) {
      const ControlRef ref = Editor(control.name.c_str());
      platform::RECT r{};
      if (!platform::IsWindowVisible(WindowHandle(ref))) continue;
      platform::GetWindowRect(WindowHandle(ref), &r);
      if (control.kind == ControlKind::Label) labels.push_back({GetText(ref), r});
      if (control.kind == ControlKind::EditBox) boxes.push_back({control.name, r});
    }
    std::vector<ControlRef> found;
    platform::RECT from{};
    for (const auto& [label, column] : GetParam().places) {
      if (label) from = {};
      for (const auto& [caption, r] : labels) {
        if (label && caption == label) from = r;
      }
      auto gap = [&, below = label == nullptr](const platform::RECT& box) -> long {
        if (below) return box.left == from.left && box.top >= from.bottom ? box.top - from.bottom : -1;
        const bool on_line = box.top >= from.top && box.top < from.bottom;
        return on_line && box.left >= from.right ? box.left - from.right : -1;
      };
      const std::pair<Text, platform::RECT>* nearest = nullptr;
      for (const auto& box : boxes) {
        if (gap(box.second) >= 0 && (!nearest || gap(box.second) < gap(nearest->second)))
          nearest = &box;
      }
      EXPECT_NE(nearest, nullptr) << column;
      found.push_back(nearest ? Editor(nearest->first.c_str()) : ControlRef{});
      if (nearest) from = nearest->second;
    }
    return found;
  }
};

TEST_P(EditorColumnsTest, EveryBoxIsStoredInTheColumnOfItsPlace) {
  const EditorColumns& c = GetParam();
  const Text name = "新方药";
  // The name is typed, the category box is preset from the tree (and stored as type too).
  std::vector<Text> added = {name, c.category}, edited = added;
  for (std::size_t i = 2; i < c.places.size(); ++i) {
    added.push_back(Text(c.places[i].second) + "一");
    edited.push_back(Text(c.places[i].second) + "二");
  }
  added.push_back(c.category);
  edited.push_back(c.category);
  Start(c.prescriptions);
  InEditor("增加二类", c.category, [&] {
    const std::vector<ControlRef> boxes = BoxesByPlace();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (i != 1) driver_.Type(boxes[i], added[i]);
    }
    driver_.Click(Editor(c.save_button));
  });
  EXPECT_EQ(Stored(name), added);

  InEditor("编辑内容", name, [&] {
    const std::vector<ControlRef> boxes = BoxesByPlace();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(GetText(boxes[i]), added[i]) << c.places[i].second;
      if (i <= 1) continue;
      driver_.ClearText(boxes[i]);
      driver_.Type(boxes[i], edited[i]);
    }
    driver_.Click(Editor(c.save_button));
  });
  EXPECT_EQ(Stored(name), edited);
  EXPECT_TRUE(driver_.message_boxes().empty());
}

// A second record of a used name would be one entry to every later edit, rename and delete.
TEST_P(EditorColumnsTest, AUsedNameIsRefusedAndTheEditorKeepsWhatWasTyped) {
  const EditorColumns& c = GetParam();
  Start(c.prescriptions);
  const Text rows = Text("select (select count(*) from ") + c.table +
                    ")||'/'||(select count(*) from " + (c.prescriptions ? "yflb" : "zylb") +
                    ") as n";
  const std::vector<Text> before = Column(rows, "n");
  for (const bool continuous : {false, true}) {
    InEditor("增加二类", c.category, [&] {
      if (continuous) driver_.Click(Editor(c.continue_box));
      const std::vector<ControlRef> boxes = BoxesByPlace();
      driver_.Type(boxes.back(), "留");
      for (const Text& used : {Text(c.category), Text(c.entry)}) {
        driver_.ClearText(boxes[0]);
        driver_.Type(boxes[0], used);
        driver_.Click(Editor(c.save_button));
        if (!IsWindowLoaded(app_->editor_window)) return ADD_FAILURE() << "the editor closed";
        ASSERT_FALSE(driver_.message_texts().empty());
        EXPECT_EQ(driver_.message_texts().back(), "[" + used + "]已经存在,不能增加");
        EXPECT_EQ(Flags(driver_.message_boxes().back()), kMsgBoxOk);
        EXPECT_EQ(GetText(boxes[0]), used);
        EXPECT_EQ(GetText(boxes.back()), "留");
      }
      driver_.CloseBox(app_->editor_window);
    });
  }
  EXPECT_EQ(driver_.message_texts().size(), 4u);
  EXPECT_EQ(Column(rows, "n"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Collections, EditorColumnsTest,
    ::testing::Values(
        EditorColumns{"herbs", false, "zymm", "按钮1", "甲", "选择框1", "人参",
                      {{"【药物名称】：", "药物名称"}, {"【类    别】：", "类别"},
                       {"【英文名称】：", "英文名称"}, {"【别    名】：", "别名"},
                       {"【来    源】：", "来源"}, {"【植物形态】：", "植物形态1"},
                       {nullptr, "植物形态2"}, {"【生 长 地】：", "生长地"},
                       {"【采    制】：", "采制"}, {"【化学成分】：", "化学成分"},
                       {"【性    味】：", "性味"}, {"【功能主治】：", "功能主治"},
                       {"【附    注】：", "附注"}}},
        EditorColumns{"prescriptions", true, "yfmm", "按钮3", "解表剂", "选择框2", "麻黄汤",
                      {{"【药方名称】：", "药方名称"}, {"【类    别】：", "类别"},
                       {"【配   方】：", "配方"}, {"【制   法】：", "制法"},
                       {"【功   用】：", "功用"}, {"【禁   忌】：", "禁忌"},
                       {"【附    注】：", "备注"}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryEditorTest, PrescriptionTextsAreStoredWithoutSpaces) {
  Start(true);
  InEditor("增加二类", "解表剂", [&] {
    EXPECT_EQ(Title(), "【药  方】添加");
    EXPECT_EQ(GetCurrentPage(Editor("选择夹1")), 1);
    EXPECT_TRUE(IsVisible(Editor("选择框2")));
    EXPECT_FALSE(IsVisible(Editor("选择框1")));
    EXPECT_EQ(GetText(Editor("药方类别编辑框")), "解表剂");
    driver_.Type(Editor("药方编辑框"), "桂枝汤");
    driver_.Type(Editor("配方编辑框"), "桂枝 9克\r\n芍药　9克");
    driver_.Type(Editor("功用编辑框"), "解肌 发表");
    driver_.Click(Editor("按钮3"));
  });
  EXPECT_EQ(Column("select 配方 from yfmm where 药方名称='桂枝汤'", "配方"),
            std::vector<Text>{"桂枝9克\r\n芍药9克"});
  EXPECT_EQ(Column("select 功用 from yfmm where 药方名称='桂枝汤'", "功用"),
            std::vector<Text>{"解肌发表"});
  EXPECT_NE(Item("桂枝汤"), -1);
  EXPECT_EQ(ParseTreeContent(GetTreeContent(app_->Tree())),
            ParseTreeContent(LoadTree(*app_, Collection::Prescriptions)));

  InEditor("编辑内容", "麻黄汤", [&] {
    EXPECT_EQ(Title(), "【药  方】编辑");
    EXPECT_EQ(GetCurrentPage(Editor("选择夹1")), 1);
    EXPECT_FALSE(IsVisible(Editor("选择框2")));
    EXPECT_EQ(GetText(Editor("配方编辑框")), "麻黄9克");
    driver_.ClearText(Editor("配方编辑框"));
    driver_.Type(Editor("配方编辑框"), "麻黄 9克 杏仁 6克");
    driver_.Click(Editor("按钮3"));
  });
  EXPECT_EQ(Column("select 配方 from yfmm where 药方名称='麻黄汤'", "配方"),
            std::vector<Text>{"麻黄9克杏仁6克"});
  EXPECT_TRUE(PageShows("麻黄9克杏仁6克"));
}

TEST_F(EntryEditorTest, MenuChecksAndCancellingSaveNothing) {
  Start();
  Menu("增加二类");  // no current item: nothing at all
  Menu("编辑内容");
  Menu("增加二类", Item("人参"));
  Menu("编辑内容", Item("甲"));
  EXPECT_EQ(driver_.message_texts(),
            (std::vector<Text>{"这是一类没有内容", "此类[人参]不能添加二类", "这是一类没有内容"}));

  InEditor("增加二类", "甲", [&] {
    driver_.Click(Editor("按钮1"));  // an empty name does nothing
    EXPECT_TRUE(IsWindowLoaded(app_->editor_window));
    driver_.Type(Editor("药物名称编辑框"), "党参");
    driver_.Click(Editor("按钮2"));
  });
  EXPECT_FALSE(IsWindowLoaded(app_->editor_window));
  InEditor("增加二类", "甲", [&] {
    driver_.Type(Editor("药物名称编辑框"), "党参");
    driver_.CloseBox(app_->editor_window);
  });
  EXPECT_TRUE(Column("select id from zymm where 药物名称='党参'", "id").empty());
  EXPECT_TRUE(Column("select id from zylb where type='党参'", "id").empty());
  EXPECT_EQ(driver_.message_texts().size(), 3u);
}

TEST_F(EntryEditorTest, TabGoesThroughTheBoxesInLayoutOrderAndEscapeCancels) {
  Start();
  InEditor("增加二类", "甲", [&] {
    EXPECT_EQ(TabOrder(16),
              (std::vector<Text>{"别名编辑框", "药物类别编辑框", "英文名称编辑框",
                                 "植物形态1编辑框", "植物形态2编辑框", "来源编辑框", "生长地编辑框",
                                 "采制编辑框", "化学成分编辑框", "性味编辑框", "功能主治编辑框",
                                 "附注编辑框", "选择框1", "按钮1", "按钮2", "药物名称编辑框"}));
    EXPECT_EQ(FirstTabStops(app_->editor_window),
              (std::vector<Text>{"药物名称编辑框", "按钮2"}));
    driver_.Type(Editor("药物名称编辑框"), "党参");
    driver_.PressKey(Editor("附注编辑框"), 27);
  });
  EXPECT_FALSE(IsWindowLoaded(app_->editor_window));
  EXPECT_TRUE(Column("select id from zymm where 药物名称='党参'", "id").empty());
}

TEST_F(EntryEditorTest, QuotedNamesAndTextsAreStoredAsTyped) {
  Start();
  InEditor("增加二类", "甲", [&] {
    driver_.Type(Editor("药物名称编辑框"), "王'");
    driver_.Type(Editor("附注编辑框"), "it's'); drop table zymm; --");
    driver_.Click(Editor("按钮1"));
  });
  EXPECT_TRUE(driver_.message_boxes().empty());
  EXPECT_EQ(Column("select 附注 from zymm where 药物名称='王'''", "附注"),
            std::vector<Text>{"it's'); drop table zymm; --"});
  ASSERT_NE(Item("王'"), -1);
  InEditor("编辑内容", "王'", [&] {
    EXPECT_EQ(GetText(Editor("附注编辑框")), "it's'); drop table zymm; --");
    driver_.Type(Editor("性味编辑框"), "苦'");
    driver_.Click(Editor("按钮1"));
  });
  EXPECT_EQ(Column("select 性味 from zymm where 药物名称='王'''", "性味"),
            std::vector<Text>{"苦'"});
  EXPECT_EQ(Column("select 性味 from zymm where 药物名称='人参'", "性味"), std::vector<Text>{"甘"});
}

TEST_F(EntryEditorTest, AFailingStatementIsReportedAndNothingIsHalfAdded) {
  Execute("CREATE TRIGGER refused BEFORE INSERT ON zymm BEGIN SELECT RAISE(ABORT,'x'); END;");
  Execute("CREATE TRIGGER frozen BEFORE UPDATE ON zymm BEGIN SELECT RAISE(ABORT,'x'); END;");
  Start();
  InEditor("增加二类", "甲", [&] {
    driver_.Type(Editor("药物名称编辑框"), "党参");
    driver_.Click(Editor("按钮1"));
  });
  InEditor("编辑内容", "人参", [&] {
    driver_.Type(Editor("性味编辑框"), "苦");
    driver_.Click(Editor("按钮1"));
  });
  ASSERT_EQ(driver_.message_texts(), (std::vector<Text>{"添加[党参]失败", "修改[人参]失败"}));
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxOk);
  // The tree row of the refused herb was rolled back with it.
  EXPECT_TRUE(Column("select id from zylb where type='党参'", "id").empty());
  EXPECT_EQ(Item("党参"), -1);
  EXPECT_EQ(Column("select 性味 from zymm", "性味"), std::vector<Text>{"甘"});
  EXPECT_FALSE(IsWindowLoaded(app_->editor_window));
}

TEST_F(EntryEditorTest, ALockedDatabaseLosesNothing) {
  Start(true);
  SqliteDB other;
  ASSERT_TRUE(other.Open(File()));
  ASSERT_TRUE(other.Execute("BEGIN IMMEDIATE"));
  InEditor("增加二类", "解表剂", [&] {
    driver_.Type(Editor("药方编辑框"), "桂枝汤");
    driver_.Click(Editor("按钮3"));
  });
  ASSERT_TRUE(other.Execute("ROLLBACK"));
  EXPECT_EQ(driver_.message_texts(), std::vector<Text>{"添加[桂枝汤]失败"});
  EXPECT_EQ(Item("桂枝汤"), -1);
  EXPECT_NE(Item("麻黄汤"), -1);
  EXPECT_TRUE(Column("select id from yfmm where 药方名称='桂枝汤'", "id").empty());
  // Once the lock is gone the same save goes through.
  InEditor("增加二类", "解表剂", [&] {
    driver_.Type(Editor("药方编辑框"), "桂枝汤");
    driver_.Click(Editor("按钮3"));
  });
  EXPECT_NE(Item("桂枝汤"), -1);
  EXPECT_EQ(Column("select 类别 from yfmm where 药方名称='桂枝汤'", "类别"),
            std::vector<Text>{"解表剂"});
}

// A book written by another tool may hold one name in two categories: the editor opens and
// saves the record of the item's own category, and refuses when even that is not one record.
TEST_F(EntryEditorTest, AnEditReachesOnlyTheRecordOfTheItemsCategory) {
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_NE(test::InsertCategoryRow(db, 1, "人参", test::InsertCategoryRow(db, 1, "丁")), 0);
    ASSERT_TRUE(test::InsertHerb(db, "人参", "丁", {{"性味", "丁的"}}));
  }
  Start();
  driver_.OnModal([&] {
    EXPECT_EQ(GetText(Editor("性味编辑框")), "丁的");
    driver_.ClearText(Editor("性味编辑框"));
    driver_.Type(Editor("性味编辑框"), "新");
    driver_.Click(Editor("按钮1"));
  });
  Menu("编辑内容", Item("丁") + 1);
  EXPECT_EQ(Column("select 类别||'/'||性味 as v from zymm order by rowid", "v"),
            (std::vector<Text>{"甲/甘", "丁/新"}));
  EXPECT_TRUE(PageShows("【类    别】：丁"));

  Execute("insert into zymm(type,药物名称,类别,性味) values('甲','人参','甲','二')");
  Menu("编辑内容", Item("人参"));
  EXPECT_EQ(driver_.message_texts(), std::vector<Text>{"[甲]中的[人参]重名,不能修改"});
  EXPECT_TRUE(driver_.ScriptDone());
}

}  // namespace
}  // namespace kelmor
