#include "app/statements.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "sqlite_access/sqlite_dataset.h"
#include "sqlite_access/sqlite_db.h"
#include "sqlite_access/sqlite_table.h"
#include "tests/support/schema.h"

namespace kelmor {
namespace {

using namespace statements;
constexpr Collection H = Collection::Herbs;
constexpr Collection P = Collection::Prescriptions;

TEST(StatementsTest, ExactTexts) {
  EXPECT_EQ(SelectTreeRows(H), "select * from zylb ORDER BY xm");
  EXPECT_EQ(SelectTreeRows(P), "select * from yflb ORDER BY xm");
  EXPECT_EQ(SelectNodeByName(P, "甲"), "select * from yflb where type='甲'");
  EXPECT_EQ(InsertCategory(H, "甲"), "insert into zylb(type,xm)values('甲',0)");
  EXPECT_EQ(RenameNode(H, "新", "旧"), "update  zylb set type='新' where type='旧'");
  EXPECT_EQ(RenameNode(P, "新", "旧"), "update yflb set type='新'  where type='旧'");
  EXPECT_EQ(RenameEntriesCategory(P, "新", "旧"),
            "update yfmm set type='新',类别='新' where type='旧'");
  EXPECT_EQ(RenameEntry(P, "新'", "旧", "类"),
            "update yfmm set 药方名称='新''' where 药方名称='旧' and type='类'");
  EXPECT_EQ(SelectEntryByName(H, "甲"), "select * from zymm where 药物名称='甲'");
  EXPECT_EQ(DeleteNode(H, "甲"), "delete from zylb where type='甲'");
  EXPECT_EQ(DeleteEntriesOfCategory(P, "甲"), "delete from yfmm where type='甲'");
  EXPECT_EQ(InsertEntryTreeRow(H, "甘草", "补虚"),
            "insert into zylb(type,xm)select '甘草',id from zylb where type='补虚'");
  const std::vector<Text> h{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
  EXPECT_EQ(
      InsertEntry(H, "名", "类", h),
      "insert into "
      "zymm(type,药物名称,类别,英文名称,别名,来源,植物形态1,植物形态2,生长地,采制,化学成分,"
      "性味,功能主治,附注)values('类', '名','类','a','b','c','d','e','f','g','h','i','j','k')");
  const std::vector<std::optional<Text>> hu(h.begin(), h.end());
  EXPECT_EQ(UpdateEntry(H, hu, EntryCondition(H, "名")),
            "update zymm set 英文名称='a',别名='b',来源='c',植物形态1='d',植物形态2='e',"
            "生长地='f',采制='g',化学成分='h',性味='i',功能主治='j',附注='k' where 药物名称='名'");
  const std::vector<Text> p{"a", "b", "c", "d", "e"};
  EXPECT_EQ(InsertEntry(P, "名", "类", p),
            "insert into yfmm(type,药方名称,类别,配方,制法,功用,禁忌,备注)values('类', "
            "'名','类','a','b','c','d','e')");
  EXPECT_EQ(
      UpdateEntry(P, std::vector<std::optional<Text>>(p.begin(), p.end()), EntryCondition(P, "名")),
      "update yfmm set 配方='a',制法='b',功用='c',禁忌='d',备注='e' where 药方名称='名'");
  // A field that keeps its stored text, and the record of one category.
  EXPECT_EQ(UpdateEntry(P, std::vector<std::optional<Text>>{"a", std::nullopt, "c'"},
                        EntryCondition(P, "名", "类'")),
            "update yfmm set 配方='a',制法=制法,功用='c''',禁忌='',备注='' where 药方名称='名' "
            "and type='类'''");
  EXPECT_EQ(OnlyRow(DeleteNode(H, "甲"), 7), "delete from zylb where type='甲' and id=7");
  EXPECT_EQ(SelectOtherCategories(P, "甲", 3),
            "select * from yflb where type='甲' and xm=0 and id<>3");
  EXPECT_EQ(EntryCondition(H, "甘草"), "药物名称='甘草'");
  EXPECT_EQ(EntryCondition(P, "a'b"), "药方名称='a''b'");
  EXPECT_EQ(SavedTreeCondition(H), "id=1");
  EXPECT_EQ(SavedTreeCondition(P), "id=2");
  EXPECT_EQ(SearchCondition("性味", "a'%_"), "性味 like '%a''%_%'");
}

class StatementsDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Open(":memory:", true));
    ASSERT_TRUE(test::CreateSchema(db));
  }
  std::int32_t Count(const Text& sql) {
    SqliteDataset ds;
    if (!ds.Open(sql, db) || !ds.Query()) return -1;
    return ds.RowCount();
  }
  SqliteDB db;
};

TEST_F(StatementsDbTest, QuotedValuesAreStoredAsTypedAndTouchOnlyTheirRows) {
  const Text evil = "x' or '1'='1";
  ASSERT_TRUE(db.Execute(InsertCategory(H, "补虚药")));
  ASSERT_TRUE(db.Execute(InsertCategory(H, evil)));
  EXPECT_EQ(Count(SelectNodeByName(H, evil)), 1);
  ASSERT_TRUE(db.Execute(InsertEntryTreeRow(H, "甘'草", evil)));
  ASSERT_TRUE(db.Execute(InsertEntry(H, "甘'草", evil, std::vector<Text>{"it's"})));
  ASSERT_TRUE(db.Execute(InsertEntry(H, "人参", "补虚药", {})));

  SqliteTable t;
  ASSERT_TRUE(t.Open("zymm", db));
  ASSERT_TRUE(t.Find(EntryCondition(H, "甘'草")));
  EXPECT_EQ(t.ReadText("英文名称"), "it's");
  EXPECT_EQ(t.ReadText("类别"), evil);

  ASSERT_TRUE(db.Execute(
      UpdateEntry(H, std::vector<std::optional<Text>>{"o'k"}, EntryCondition(H, "甘'草"))));
  ASSERT_TRUE(db.Execute(RenameEntriesCategory(H, "新'类", evil)));
  ASSERT_TRUE(db.Execute(RenameNode(H, "新'类", evil)));
  EXPECT_EQ(Count("select * from zymm where type='补虚药'"), 1);
  EXPECT_EQ(Count("select * from zymm where 英文名称='o''k' and type='新''类'"), 1);
  EXPECT_EQ(Count("select * from zylb where type='补虚药'"), 1);

  ASSERT_TRUE(db.Execute(DeleteEntriesOfCategory(H, evil)));  // already renamed: touches nothing
  ASSERT_TRUE(db.Execute(DeleteNode(H, evil)));
  EXPECT_EQ(Count("select * from zymm"), 2);
  EXPECT_EQ(Count("select * from zylb"), 3);

  ASSERT_TRUE(t.Open("zymm", db));
  EXPECT_FALSE(t.Find(SearchCondition("英文名称", "' or ''='")));
  ASSERT_TRUE(t.Find(SearchCondition("英文名称", "o'")));
  EXPECT_EQ(t.ReadText("药物名称"), "甘'草");
}

TEST_F(StatementsDbTest, PrescriptionsAndSavedTree) {
  ASSERT_TRUE(db.Execute(InsertCategory(P, "解表剂")));
  ASSERT_TRUE(db.Execute(InsertEntryTreeRow(P, "麻黄汤", "解表剂")));
  ASSERT_TRUE(db.Execute(InsertEntry(P, "麻黄汤", "解表剂", std::vector<Text>{"麻黄'"})));
  ASSERT_TRUE(db.Execute(
      UpdateEntry(P, std::vector<std::optional<Text>>{"桂枝", "煎"}, EntryCondition(P, "麻黄汤"))));
  EXPECT_EQ(Count(SelectTreeRows(P)), 2);
  SqliteTable t;
  ASSERT_TRUE(t.Open("yfmm", db));
  ASSERT_TRUE(t.Find(EntryCondition(P, "麻黄汤")));
  EXPECT_EQ(t.ReadText("配方"), "桂枝");
  ASSERT_TRUE(t.Open("lbsj", db));
  ASSERT_TRUE(t.Find(SavedTreeCondition(P)));
  EXPECT_EQ(t.ReadText("id"), "2");
}

}  // namespace
}  // namespace kelmor
