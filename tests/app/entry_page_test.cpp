#include "app/entry_page.h"

#include <gtest/gtest.h>

#include "app/collection.h"

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

}  // namespace
}  // namespace kelmor
