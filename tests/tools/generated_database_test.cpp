// The generated databases, and the program's fast tree build and search compared on them with a
// plain computation of the same results: a parent found by scanning every item in tree order, and
// a search that looks at every row.
#include "tools/generated_database.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <memory>

#include "app/application.h"
#include "app/category_tree.h"
#include "app/search.h"
#include "app/statements.h"
#include "runtime/codec.h"
#include "runtime/list_view_control.h"
#include "runtime/tree_box.h"
#include "runtime/tree_content.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/temp_dir.h"

namespace kelmor::tools {
namespace {

using Row = std::vector<Text>;

Text Local(const unsigned char* utf8) {
  return utf8 ? Utf8ToLocal(reinterpret_cast<const char*>(utf8)).value_or("?") : Text();
}

class GeneratedDatabaseTest : public ::testing::Test {
 protected:
  ~GeneratedDatabaseTest() override {
    if (app_) {
      CloseWindow(app_->main_window);
      DoEvents();
      app_->End();
      app_.reset();
    }
    ResetWindowFramework();
  }

  std::string File() const { return (dir_ / "kelmor.db").string(); }

  void Generate(int herbs, int categories) {
    GeneratedSize size;
    size.herbs = herbs;
    size.herb_categories = categories;
    std::string error;
    ASSERT_TRUE(MakeGeneratedDatabase(File(), size, false, error)) << error;
  }

  void Execute(const Text& sql) {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File()));
    ASSERT_TRUE(db.Execute(sql));
  }

  void Start() {
    ApplicationOptions options;
    options.database_file = File();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
  }

  // The tree as adding the rows one by one would give it: each row's parent is the first item
  // in tree order whose data value is the row's xm, and the row goes after its parent's last
  // descendant; rows without a parent go to the end at the top level.
  std::vector<TreeContentRecord> ReferenceTree() {
    std::vector<TreeContentRecord> items;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(File().c_str(), &db), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "select * from zylb ORDER BY xm", -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
      const Text type = Local(sqlite3_column_text(s, 1));
      if (type.empty()) continue;
      const int id = sqlite3_column_int(s, 0);
      const int xm = sqlite3_column_int(s, 2);
      std::size_t parent = items.size();
      if (xm != 0) {
        for (std::size_t i = 0; i < items.size(); ++i) {
          if (items[i].data == xm) {
            parent = i;
            break;
          }
        }
      }
      TreeContentRecord item{type, 1, 0, id, xm == 0 ? kTreeFlagBold : 0, 1};
      if (parent == items.size()) {
        items.push_back(item);
        continue;
      }
      item.level = items[parent].level + 1;
      std::size_t at = parent + 1;
      while (at < items.size() && items[at].level > items[parent].level) ++at;
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), item);
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return items;
  }

  // Every herb row in table order whose column contains term and whose name is not empty; the
  // summary is the first 100 bytes of 功能主治 whichever column was searched.
  std::vector<Row> ReferenceSearch(const char* column, const Text& term) {
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(File().c_str(), &db), SQLITE_OK);
    const std::string sql = *LocalToUtf8(Text("select 类别, 药物名称, 功能主治, ") + column +
                                         " from zymm order by _ROWID_");
    const std::string utf8_term = *LocalToUtf8(term);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
      const Text name = Local(sqlite3_column_text(s, 1));
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(s, 3));
      if (name.empty() || !value || std::string(value).find(utf8_term) == std::string::npos) {
        continue;
      }
      rows.push_back(
          {Local(sqlite3_column_text(s, 0)), name, Local(sqlite3_column_text(s, 2)).substr(0, 100)});
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rows;
  }

  std::vector<Row> Search(const char* column, const Text& term) {
    app_->search_condition = statements::SearchCondition(column, term);
    EXPECT_TRUE(LoadWindow(app_->search_window, {}, false));  // its Created runs FillResults
    const ControlRef list{app_->search_window, "超级列表框1"};
    std::vector<Row> rows;
    for (int r = 0; r < GetRowCount(list); ++r) {
      rows.push_back({GetCellText(list, r, 0), GetCellText(list, r, 1), GetCellText(list, r, 2)});
    }
    CloseWindow(app_->search_window);
    DoEvents();
    return rows;
  }

  test::TempDir dir_;
  std::unique_ptr<Application> app_;
};

TEST_F(GeneratedDatabaseTest, SizesNamesAndPlantedTerms) {
  Generate(1000, 20);
  SqliteDB db;
  ASSERT_TRUE(db.Open(File()));
  auto count = [&](const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db.connection(), LocalToUtf8(sql)->c_str(), -1, &s, nullptr);
    const int n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    return n;
  };
  EXPECT_EQ(count("select count(*) from zymm"), 1000);
  EXPECT_EQ(count("select count(distinct 药物名称) from zymm"), 1000);
  EXPECT_EQ(count("select count(*) from zylb where xm=0"), 20);
  EXPECT_EQ(count("select count(*) from zylb where xm<>0"), 1000);
  EXPECT_EQ(count("select max(length(药物名称)) from zymm"), 4);
  EXPECT_EQ(count("select min(length(药物名称)) from zymm"), 2);
  EXPECT_NEAR(count("select avg(length(功能主治)) from zymm"), 80, 6);
  EXPECT_EQ(count("select count(*) from zymm where 功能主治 like '%蛭%'"), 5);
  EXPECT_EQ(count("select min(id) from zymm where 功能主治 like '%麝%'"), 1);
  EXPECT_EQ(count("select count(*) from zymm where 功能主治 like '%麝%'"), 1);
  // The same size and seed give the same content.
  std::string error;
  const std::filesystem::path again = dir_ / "again.db";
  GeneratedSize size;
  ASSERT_TRUE(MakeGeneratedDatabase(again, size, false, error));
  SqliteDB other;
  ASSERT_TRUE(other.Open(again.string()));
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(other.connection(), LocalToUtf8("select 功能主治 from zymm where id=7")->c_str(),
                     -1, &s, nullptr);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  const std::string first(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
  sqlite3_finalize(s);
  ASSERT_TRUE(MakeGeneratedDatabase(again, size, false, error));
  sqlite3_prepare_v2(other.connection(), LocalToUtf8("select 功能主治 from zymm where id=7")->c_str(),
                     -1, &s, nullptr);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_EQ(first, reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
  sqlite3_finalize(s);
}

TEST_F(GeneratedDatabaseTest, TreeMatchesTheItemByItemBuild) {
  Generate(1000, 20);
  // Irregular rows beside the generated ones: a third level under an entry, a fourth level under
  // that, a row whose parent comes later (so it stays at the top), a row pointing nowhere and
  // rows without a name.
  Execute(
      "insert into zylb(id,type,xm) values(5001,'三级甲',21);"
      "insert into zylb(id,type,xm) values(5002,'四级乙',5001);"
      "insert into zylb(id,type,xm) values(5003,'悬空',99999);"
      "insert into zylb(id,type,xm) values(5004,'',1);"
      "insert into zylb(id,type,xm) values(5005,NULL,2);"
      "insert into zylb(id,type,xm) values(5006,'早到',5007);"
      "insert into zylb(id,type,xm) values(5007,'晚到',6000);"
      "insert into zylb(id,type,xm) values(6000,'顶层',0);");
  Start();
  const std::vector<TreeContentRecord> reference = ReferenceTree();
  ASSERT_GT(reference.size(), 1020u);
  UpdateTree(*app_);
  EXPECT_EQ(ParseTreeContent(GetTreeContent(app_->Tree())), reference);
  EXPECT_EQ(ParseTreeContent(LoadTree(*app_, Collection::Herbs)), reference);
}

TEST_F(GeneratedDatabaseTest, ResultListMatchesARowByRowSearch) {
  Generate(1000, 20);
  // Hits without a name are skipped; a hit in the very last row is still listed.
  Execute(
      "insert into zymm(TYPE,药物名称,类别,功能主治) values('甲','','甲','蛭无名');"
      "insert into zymm(TYPE,药物名称,类别,功能主治) values('甲',NULL,'甲','蛭空');"
      "insert into zymm(TYPE,药物名称,类别,功能主治) values('乙','末行','乙','末行有蛭');");
  Start();
  for (const char* term : {kFewHitsTerm, kFirstRowTerm, "热", "不存在的词"}) {
    const std::vector<Row> reference = ReferenceSearch("功能主治", term);
    EXPECT_EQ(Search("功能主治", term), reference) << LocalToUtf8(term).value_or("?");
  }
  EXPECT_EQ(ReferenceSearch("功能主治", kFewHitsTerm).size(), 6u);
  EXPECT_EQ(ReferenceSearch("功能主治", kFirstRowTerm).size(), 1u);
  EXPECT_GT(ReferenceSearch("功能主治", "热").size(), 200u);
  EXPECT_EQ(Search("性味", "寒"), ReferenceSearch("性味", "寒"));
}

}  // namespace
}  // namespace kelmor::tools
