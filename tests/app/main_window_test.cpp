// The main window through the test driver, against databases made here.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/application.h"
#include "app/category_tree.h"
#include "app/program.h"
#include "platform/window.h"
#include "runtime/rich_edit_control.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/app/app_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor {
namespace {

class MainWindowTest : public test::AppTest {
 protected:
  // The book's schema, with the prescription table's category column spelt TyPe (the chooser
  // hides it in any letter case), plus `more` (SQL).
  void MakeDatabase(const Text& more = {}) {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File(), true));
    ASSERT_TRUE(test::CreateSchema(db));
    ASSERT_TRUE(db.Execute("ALTER TABLE yfmm RENAME COLUMN type TO TyPe"));
    if (!more.empty()) {
      ASSERT_TRUE(db.Execute(more));
    }
  }

  void Start() { StartApp(); }

  std::vector<TreeContentRecord> Tree() { return ParseTreeContent(GetTreeContent(app_->Tree())); }

  std::vector<Text> Chooser() {
    std::vector<Text> items;
    for (int i = 0; i < ComboItemCount(app_->FieldChooser()); ++i) {
      items.push_back(ComboItemText(app_->FieldChooser(), i));
    }
    return items;
  }

  void StoreTree(int id, const Bytes& value) {
    SqliteDB db;
    db.Open(File());
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db.connection(), "update lbsj set sj=? where id=?", -1, &s, nullptr);
    sqlite3_bind_blob(s, 1, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(s, 2, id);
    sqlite3_step(s);
    sqlite3_finalize(s);
  }
};

TEST_F(MainWindowTest, StartsWithoutAFileAndNeverCreatesIt) {
  ::testing::internal::CaptureStderr();
  Start();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "kelmor: " + File() + ": unable to open database file\n");
  EXPECT_TRUE(GetTreeContent(app_->Tree()).empty());
  EXPECT_EQ(ComboItemCount(app_->FieldChooser()), 0);
  EXPECT_EQ(app_->collection_mode, Collection::Herbs);
  EXPECT_FALSE(std::filesystem::exists(File()));
}

// A file that is no database says so like a missing file does, and is never written: the
// connection is closed, so a backup cannot replace the older one with it either.
TEST_F(MainWindowTest, AFileThatIsNoDatabaseIsReportedAndLeftAlone) {
  std::filesystem::create_directory(dir_ / "bak");
  const std::string backup = (dir_ / "bak" / "kelmor.db").string();
  for (const char* content : {"some notes, not a book", ""}) {
    SCOPED_TRACE(content);
    std::ofstream(File()) << content;
    std::ofstream(backup) << "an old backup";
    ::testing::internal::CaptureStderr();
    Start();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "kelmor: " + File() + ": file is not a database\n");
    EXPECT_TRUE(GetTreeContent(app_->Tree()).empty());
    EXPECT_FALSE(app_->database->IsOpen());
    Menu("备份数据");
    EXPECT_EQ(std::filesystem::file_size(File()), std::strlen(content));
    EXPECT_EQ(std::filesystem::file_size(backup), std::strlen("an old backup"));
    app_.reset();
    ResetWindowFramework();
  }
}

TEST_F(MainWindowTest, LaysOutTheControlsAndFollowsTheWindowState) {
  MakeDatabase();
  Start();
  auto rect = [](const ControlRef& c) {
    return std::vector<int>{GetLeft(c), GetTop(c), GetWidth(c), GetHeight(c)};
  };
  EXPECT_EQ(rect(app_->Main("图片框1")), (std::vector<int>{0, 0, 650, 40}));
  EXPECT_EQ(rect(app_->Tree()), (std::vector<int>{0, 40, 180, 363}));
  EXPECT_EQ(rect(app_->Main("分隔条1")), (std::vector<int>{180, 40, 3, 363}));
  EXPECT_EQ(rect(app_->Page()), (std::vector<int>{183, 40, 460, 363}));
  EXPECT_EQ(app_->detail_char_format->size, 10);
  driver_.Maximise(app_->main_window);
  EXPECT_EQ(app_->detail_char_format->size, 15);
  driver_.Restore(app_->main_window);
  EXPECT_EQ(app_->detail_char_format->size, 10);

  driver_.MoveSplitter(app_->Main("分隔条1"), 200);
  EXPECT_EQ(rect(app_->Tree()), (std::vector<int>{0, 40, 200, 363}));
  EXPECT_EQ(rect(app_->Page()), (std::vector<int>{204, 40, 650 - 200 - 11, 363}));
  EXPECT_EQ(GetLeft(app_->Main("分隔条1")), 200);
}

TEST_F(MainWindowTest, TheSplitterKeepsTwentyPixelsOfTreeAndOfPage) {
  MakeDatabase();
  Start();
  const ControlRef bar = app_->Main("分隔条1");
  for (const auto& [drag, left] : {std::pair{700, 619}, {-50, 20}, {19, 20}, {620, 619}}) {
    driver_.MoveSplitter(bar, drag);
    EXPECT_EQ(GetLeft(bar), left) << drag;
    EXPECT_EQ(GetWidth(app_->Tree()), left) << drag;
    EXPECT_EQ(GetLeft(app_->Page()), left + 4) << drag;
    EXPECT_EQ(GetWidth(app_->Page()), 650 - left - 11) << drag;
  }
  // A window too narrow for the bar at 180.
  platform::SetScreenSize(200, 300);
  driver_.Maximise(app_->main_window);
  platform::SetScreenSize(platform::kScreenWidth, platform::kScreenHeight);
  EXPECT_EQ(GetLeft(bar), 169);
  EXPECT_EQ(GetWidth(app_->Page()), 20);
}

TEST_F(MainWindowTest, AProgramFolderWhosePathIsNoTextIsRefused) {
  EXPECT_EQ(RunProgram(Text()), 1);
  ASSERT_EQ(driver_.message_texts(), std::vector<Text>{kUnusableFolderMessage});
  EXPECT_EQ(Flags(driver_.message_boxes()[0]), kMsgBoxStop);
}

TEST_F(MainWindowTest, ChooserHidesIdAndTheCategoryColumn) {
  MakeDatabase();
  Start();
  EXPECT_EQ(Chooser(), (std::vector<Text>{"药物名称", "类别", "英文名称", "别名", "来源",
                                          "植物形态1", "植物形态2", "生长地", "采制", "化学成分",
                                          "性味", "功能主治", "附注"}));
  driver_.Click(app_->Main("按钮2"));
  EXPECT_EQ(app_->collection_mode, Collection::Prescriptions);
  EXPECT_EQ(Chooser(),
            (std::vector<Text>{"药方名称", "类别", "配方", "制法", "功用", "禁忌", "备注"}));
}

TEST_F(MainWindowTest, LowerCaseTypeIsListedForHerbs) {
  SqliteDB db;
  ASSERT_TRUE(db.Open(File(), true));
  ASSERT_TRUE(db.Execute("CREATE TABLE zymm(type TEXT, 药物名称 TEXT)"));
  db.Close();
  Start();
  EXPECT_EQ(Chooser(), (std::vector<Text>{"type", "药物名称"}));
}

TEST_F(MainWindowTest, UpdateBuildsStoresAndShowsTheTree) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'A',0),(2,'B',1),(3,'C',1),(4,'',1),(5,'D',2),"
      "(6,'X',99)");
  Start();
  Menu("更新");
  const std::vector<TreeContentRecord> expected = {{"A", 1, 0, 1, kTreeFlagBold, 1},
                                                   {"B", 1, 0, 2, 0, 2},
                                                   {"D", 1, 0, 5, 0, 3},
                                                   {"C", 1, 0, 3, 0, 2},
                                                   {"X", 1, 0, 6, 0, 1}};
  EXPECT_EQ(Tree(), expected);

  const Bytes stored = test::StoredTreeValue(File(), 1);
  ASSERT_GE(stored.size(), 8u);
  EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 4), (Bytes{0x0D, 0x0F, 0x3E, 0x03}));
  const Bytes content = GetTreeContent(app_->Tree());
  const uLong n = stored[4] | stored[5] << 8 | stored[6] << 16 | uLong(stored[7]) << 24;
  ASSERT_EQ(n, content.size());
  Bytes unpacked(n);
  uLongf size = n;
  ASSERT_EQ(uncompress(unpacked.data(), &size, stored.data() + 8, stored.size() - 8), Z_OK);
  EXPECT_EQ(unpacked, content);

  // The prescription collection keeps its own (empty) tree; switching back shows the saved one.
  driver_.Click(app_->Main("按钮2"));
  EXPECT_TRUE(Tree().empty());
  driver_.Click(app_->Main("按钮1"));
  EXPECT_EQ(Tree(), expected);
}

// Ids are 64-bit in the file and 32-bit in the tree: an id that does not fit is cut nowhere, so
// no row is taken for another. Such a row has no parent: it shows at the top level.
TEST_F(MainWindowTest, IdsBeyondThirtyTwoBitsNeverStandForAnotherRow) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'A',0),(4294967297,'Y',0),(2,'Z',4294967297),"
      "(3,'W',1)");
  Start();
  Menu("更新");
  const std::vector<TreeContentRecord> expected = {{"A", 1, 0, 1, kTreeFlagBold, 1},
                                                   {"W", 1, 0, 3, 0, 2},
                                                   {"Y", 1, 0, 0, kTreeFlagBold, 1},
                                                   {"Z", 1, 0, 2, kTreeFlagBold, 1}};
  EXPECT_EQ(Tree(), expected);
}

TEST_F(MainWindowTest, BadSavedTreesLoadEmpty) {
  MakeDatabase();
  Bytes good;
  {
    Bytes raw(400, 'a');
    uLongf size = compressBound(raw.size());
    Bytes z(size);
    compress(z.data(), &size, raw.data(), raw.size());
    good = {0x0D, 0x0F, 0x3E, 0x03, 0x90, 0x01, 0, 0};
    good.insert(good.end(), z.begin(), z.begin() + size);
  }
  Bytes lying = good;
  lying[4] = 1;
  lying[5] = 0;
  Bytes other = good;
  other[0] = 0x0E;
  Bytes corrupt = good;
  corrupt.resize(12);
  for (const Bytes& value : {Bytes{0x0D, 0x0F, 0x3E}, other, lying, corrupt}) {
    StoreTree(1, value);
    Start();
    EXPECT_TRUE(GetTreeContent(app_->Tree()).empty());
    app_.reset();
    ResetWindowFramework();
  }
}

TEST_F(MainWindowTest, DoubleClickShowsTheFirstEntryOfThatName) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'解表药',0),(2,'麻黄',1);"
      "insert into zymm(TYPE,药物名称,类别,植物形态1,植物形态2) values('解表药','麻黄','解表药',"
      "'A','B'),('解表药','麻黄','第二','','');"
      "insert into zymm(药物名称,别名) values('坏', x'FF41')");
  Start();
  Menu("更新");
  SetText(app_->Page(), "before");
  driver_.DoubleClickTreeItem(app_->Tree(), 1);
  const Text page = GetText(app_->Page());
  EXPECT_NE(page.find("【类    别】：解表药\r\n"), Text::npos) << page;
  EXPECT_NE(page.find("【植物形态】：AB\r\n"), Text::npos);

  // Below the items nothing is meant, though 麻黄 is still the current item.
  SetText(app_->Page(), "before");
  driver_.DoubleClickTreeItem(app_->Tree(), -1);
  EXPECT_EQ(GetText(app_->Page()), "before");
  SetText(app_->Page(), page);

  // A category matches no entry: the page stays.
  driver_.DoubleClickTreeItem(app_->Tree(), 0);
  EXPECT_EQ(GetText(app_->Page()), page);
}

TEST_F(MainWindowTest, TheKeyboardAloneReadsAnEntryAndOpensTheMenu) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'解表药',0),(2,'麻黄',1);"
      "insert into zymm(TYPE,药物名称,类别) values('解表药','麻黄','解表药')");
  Start();
  Menu("更新");
  // Tab goes through the strip, the tree and the page in layout order, and round.
  EXPECT_EQ(TabOrder(7), (std::vector<Text>{"按钮2", "组合框1", "编辑框1", "按钮4", "树型框1",
                                            "编辑框", "按钮1"}));
  EXPECT_EQ(TabOrder(2, true), (std::vector<Text>{"编辑框", "树型框1"}));
  EXPECT_EQ(FirstTabStops(app_->main_window), (std::vector<Text>{"按钮1", "编辑框"}));
  const ControlRef tree = app_->Tree();
  for (int key : {0x28, 0x27, 0x28}) driver_.PressKey(tree, key);  // down, right opens, down
  ASSERT_EQ(GetCurrentItem(tree), 1);
  driver_.PressKey(tree, 13);
  EXPECT_NE(GetText(app_->Page()).find("【药物名称】：麻黄"), Text::npos);

  // The Menu key and Shift+F10 open the menu where a right click on the item opens it.
  driver_.ClearRecords();
  for (int i = 0; i < 3; ++i) driver_.ChooseMenuItem(std::nullopt);
  driver_.RightClickTreeItem(tree, 1);
  driver_.SetMousePosition(0, 0);
  driver_.PressKey(tree, 0x5D);
  driver_.PressKey(tree, 0x79, test::TestDriver::kShift);
  ASSERT_EQ(driver_.popup_menus().size(), 3u);
  for (int i : {1, 2}) {
    EXPECT_EQ(driver_.popup_menus()[i], driver_.popup_menus()[0]);
    EXPECT_EQ(driver_.popup_positions()[i].x, driver_.popup_positions()[0].x);
    EXPECT_EQ(driver_.popup_positions()[i].y, driver_.popup_positions()[0].y);
  }
}

TEST_F(MainWindowTest, CommandsWaitWhileATreeBuildLetsEventsThrough) {
  MakeDatabase();
  Start();
  {
    Application::BusyScope busy(*app_);
    driver_.Click(app_->Main("按钮2"));
    EXPECT_EQ(app_->collection_mode, Collection::Herbs);
  }
  driver_.Click(app_->Main("按钮2"));
  EXPECT_EQ(app_->collection_mode, Collection::Prescriptions);
}

// The page's own menu and Ctrl+P act on the entry the page shows, and on nothing without one.
TEST_F(MainWindowTest, ThePageMenuPrintsAndExportsTheEntryItShows) {
  MakeDatabase(
      "insert into zylb(id,type,xm) values(1,'解表药',0),(2,'麻黄',1);"
      "insert into zymm(TYPE,药物名称,类别) values('解表药','麻黄','解表药')");
  Start();
  Menu("更新");
  const ControlRef page = app_->Page();
  const auto page_menu = [&](std::optional<Text> choice) {
    driver_.ChooseMenuItem(choice);
    driver_.RightClick(page);
    return driver_.enabled_menu_items().back();
  };
  EXPECT_EQ(page_menu(std::nullopt), std::vector<Text>{});
  driver_.PressKey(page, 'P', test::TestDriver::kControl);
  EXPECT_TRUE(driver_.print_requests().empty());

  driver_.DoubleClickTreeItem(app_->Tree(), 1);
  const std::string written = (dir_ / "page.pdf").string();
  driver_.AnswerSaveFileName(written);
  EXPECT_EQ(page_menu(Text("导出PDF…")).size(), 3u);  // all but 复制: nothing is selected
  ASSERT_EQ(driver_.save_file_requests().size(), 1u);
  EXPECT_EQ(driver_.save_file_requests()[0].file_name, "麻黄.pdf");
  ASSERT_EQ(driver_.print_requests().size(), 1u);
  EXPECT_EQ(driver_.print_requests()[0].header, "麻黄 — 中药");
  EXPECT_EQ(driver_.print_requests()[0].file, written);
  EXPECT_TRUE(std::filesystem::exists(written));

  // A folder that is not there: the file and the reason are named, nothing is left.
  const std::string nowhere = (dir_ / "none" / "page.pdf").string();
  driver_.AnswerSaveFileName(nowhere);
  page_menu(Text("导出PDF…"));
  EXPECT_EQ(driver_.message_texts(),
            std::vector<Text>{"无法写入文件[" + nowhere + "]：No such file or directory"});
  EXPECT_FALSE(std::filesystem::exists(dir_ / "none"));

  driver_.PressKey(page, 'P', test::TestDriver::kControl);
  ASSERT_EQ(driver_.print_requests().size(), 3u);
  EXPECT_EQ(driver_.print_requests()[2].file, "");
  EXPECT_EQ(driver_.print_requests()[2].proposed_file, "麻黄.pdf");

  // The tree built again shows no entry: nothing to print.
  Menu("更新");
  EXPECT_EQ(page_menu(std::nullopt), std::vector<Text>{});
  driver_.PressKey(page, 'P', test::TestDriver::kControl);
  EXPECT_EQ(driver_.print_requests().size(), 3u);
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(MainWindowTest, PopupMenuHasTheEightCommands) {
  MakeDatabase();
  Start();
  Menu("更新");
  ASSERT_EQ(driver_.popup_menus().size(), 1u);
  EXPECT_EQ(driver_.popup_menus()[0],
            (std::vector<Text>{"增加一类", "增加二类", "编辑类别", "编辑内容", "删除", "更新",
                               "收缩数据库", "备份数据"}));
}

}  // namespace
}  // namespace kelmor
