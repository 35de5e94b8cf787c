#include "app/entry_page.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/collection.h"
#include "app/entry_view.h"
#include "runtime/window_commands.h"
#include "tests/app/app_test.h"

namespace kelmor {
namespace {

// The page of a collection as ShowEntry composes it.
Text Page(Collection c, std::span<const Text> values) {
  return ComposePage(Describe(c).page, values);
}

TEST(EntryPage, HerbWithOnlyANameShowsEveryLabel) {
  std::array<Text, 13> v;
  v[0] = "甘草";
  EXPECT_EQ(Page(Collection::Herbs, v),
            "【药物名称】：甘草\r\n【类    别】：\r\n【英文名称】：\r\n【别    名】："
            "\r\n【来    源】：\r\n【植物形态】：\r\n【生 长 地】：\r\n【采    制】："
            "\r\n【化学成分】：\r\n【性    味】：\r\n【功能主治】：\r\n【附    注】：");
}

TEST(EntryPage, TwoPlantFormLinesFollowEachOther) {
  std::array<Text, 13> v;
  v[5] = "A";
  v[6] = "B";
  EXPECT_NE(Page(Collection::Herbs, v).find("\r\n【植物形态】：AB\r\n【生 长 地】："), Text::npos);
}

TEST(EntryPage, PrescriptionShowsRecipeBeforeCategoryAndNotesAsFuZhu) {
  const std::array<Text, 7> v = {"麻黄汤",   "麻黄9克",  "解表剂", "水煎服",
                                 "发汗解表", "表虚忌用", "经典方"};
  EXPECT_EQ(Page(Collection::Prescriptions, v),
            "【药方名称】：麻黄汤\r\n【配    方】：麻黄9克\r\n【类    别】：解表剂"
            "\r\n【制    法】：水煎服\r\n【功    用】：发汗解表\r\n【禁    忌】：表虚忌用"
            "\r\n【附    注】：经典方");
}

// A stored row with a text of its own in every column, shown whole: each label stands over its
// own column.
struct StoredPage {
  const char* label;
  Collection collection;
  std::map<Text, Text> fields;  // besides the name and the category (类别)
  Text page;
  friend void PrintTo(const StoredPage& c, std::ostream* os) { *os << c.label; }
};

class StoredPageTest : public test::AppTest, public ::testing::WithParamInterface<StoredPage> {};

TEST_P(StoredPageTest, EveryColumnShowsUnderItsOwnLabel) {
  const StoredPage& p = GetParam();
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File(), true));
    ASSERT_TRUE(test::CreateSchema(db));
    ASSERT_TRUE(p.collection == Collection::Herbs ? test::InsertHerb(db, "名", "类", p.fields)
                                       : test::InsertPrescription(db, "名", "类", p.fields));
  }
  StartApp();
  app_->collection_mode = p.collection;
  ShowEntry(*app_, "名");
  EXPECT_EQ(GetText(app_->Page()), p.page);
}

INSTANTIATE_TEST_SUITE_P(
    Collections, StoredPageTest,
    ::testing::Values(
        StoredPage{"herbs", Collection::Herbs,
                   {{"英文名称", "英"}, {"别名", "别"}, {"来源", "源"}, {"植物形态1", "形一"},
                    {"植物形态2", "形二"}, {"生长地", "地"}, {"采制", "采"}, {"化学成分", "化"},
                    {"性味", "性"}, {"功能主治", "功"}, {"附注", "附"}},
                   "【药物名称】：名\r\n【类    别】：类\r\n【英文名称】：英\r\n【别    名】：别"
                   "\r\n【来    源】：源\r\n【植物形态】：形一形二\r\n【生 长 地】：地"
                   "\r\n【采    制】：采\r\n【化学成分】：化\r\n【性    味】：性"
                   "\r\n【功能主治】：功\r\n【附    注】：附"},
        StoredPage{"prescriptions", Collection::Prescriptions,
                   {{"配方", "配"}, {"制法", "制"}, {"功用", "用"}, {"禁忌", "忌"}, {"备注", "备"}},
                   "【药方名称】：名\r\n【配    方】：配\r\n【类    别】：类\r\n【制    法】：制"
                   "\r\n【功    用】：用\r\n【禁    忌】：忌\r\n【附    注】：备"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace kelmor
