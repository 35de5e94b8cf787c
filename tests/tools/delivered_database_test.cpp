#include "tools/delivered_database.h"

#include <gtest/gtest.h>

#include <fstream>

#include "runtime/tree_content.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/stored_tree.h"
#include "tests/support/temp_dir.h"

namespace kelmor::tools {
namespace {

std::string U8(std::u8string_view s) {
  return std::string(s.begin(), s.end());
}

void Write(const std::filesystem::path& file, const std::string& utf8) {
  std::ofstream(file, std::ios::binary) << utf8;
}

class DeliveredDatabaseTest : public ::testing::Test {
 protected:
  ~DeliveredDatabaseTest() override { ResetWindowFramework(); }
  void WriteContent(const std::string& herb_name) {
    Write(dir_ / "herbs.tsv", U8(u8"类别\t药物名称\t英文名称\t别名\t来源\t植物形态1\t植物形态2\t生"
                                 u8"长地\t采制\t化学成分\t性") +
                                  U8(u8"味\t") + U8(u8"功能主治\t附注\n解表药\t") + herb_name +
                                  U8(u8"\tHerba\t龙沙\t来\t形\t\t地\t采\t化\t性\t功\t附\n"));
    Write(dir_ / "prescriptions.tsv", U8(u8"类别\t药方名称\t配方\t制法\t功用\t禁忌\t备注\n解表剂\t"
                                         u8"麻黄汤\t麻黄9克\t水煎\t发汗\t忌") +
                                          U8(u8"\t注\n"));
  }
  test::TempDir dir_;
};

TEST_F(DeliveredDatabaseTest, HoldsBothTreesAndIsNeverOverwritten) {
  WriteContent(U8(u8"麻黄"));
  const auto target = dir_ / "kelmor.db";
  std::string error;
  ASSERT_TRUE(MakeDeliveredDatabase(dir_.path(), target, error)) << error;
  SqliteDB db;
  ASSERT_TRUE(db.Open(target.string()));
  EXPECT_EQ(test::StoredTreeItems(db, 1),
            (std::vector<TreeContentRecord>{{"解表药", 1, 0, 1, kTreeFlagBold, 1},
                                            {"麻黄", 1, 0, 2, 0, 2}}));
  EXPECT_EQ(test::StoredTreeItems(db, 2).size(), 2u);
  db.Close();

  EXPECT_FALSE(MakeDeliveredDatabase(dir_.path(), target, error));
}

TEST_F(DeliveredDatabaseTest, RefusesContentOutsideGbk) {
  WriteContent(U8(u8"\U0001F600"));
  std::string error;
  EXPECT_FALSE(MakeDeliveredDatabase(dir_.path(), dir_ / "kelmor.db", error));
  EXPECT_NE(error.find("GBK"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "kelmor.db"));
}

}  // namespace
}  // namespace kelmor::tools
