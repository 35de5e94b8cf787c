// The list view as the application drives it, on a loaded window.
#include "runtime/list_view_control.h"

#include <gtest/gtest.h>

#include "runtime/window_commands.h"
#include "tests/support/test_driver.h"
#include "tests/support/test_window.h"

namespace kelmor {
namespace {

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ControlTemplate list = test::Control("超级列表框1", ControlKind::ListView, 0, 0, 380, 250);
    list.list.columns = {{"名称", 100}, {"类别", 100}, {"备注", 150}};
    window_ = test::LoadWindowWith(list);
    ASSERT_NE(window_, 0);
  }
  ~ListViewTest() override { ResetWindowFramework(); }

  ControlRef List() const { return {window_, "超级列表框1"}; }

  test::TestDriver driver_;
  WindowId window_ = 0;
};

TEST_F(ListViewTest, RowsCellsAndCurrentRow) {
  for (int i = 0; i < 5; ++i) EXPECT_EQ(AddRow(List(), {}, "行" + std::to_string(i)), i);
  EXPECT_EQ(AddRow(List()), 5);
  EXPECT_EQ(AddRow(List(), -1, "末"), 6);
  EXPECT_EQ(AddRow(List(), 0, "首"), 0);
  EXPECT_EQ(GetRowCount(List()), 8);
  EXPECT_EQ(GetCellText(List(), 0), "首");
  EXPECT_EQ(GetCellText(List(), 1, 0), "行0");
  EXPECT_EQ(GetCellText(List(), 7), "末");

  const Text long_text(1500, 'x');
  const Text long_chinese = Text(300, 'y') + "当归补血汤";
  EXPECT_TRUE(SetCellText(List(), 2, 1, long_text));
  EXPECT_TRUE(SetCellText(List(), 2, 2, long_chinese));
  EXPECT_EQ(GetCellText(List(), 2, 1), long_text);
  EXPECT_EQ(GetCellText(List(), 2, 2), long_chinese);
  EXPECT_EQ(GetCellText(List(), 2, 0), "行1");
  EXPECT_EQ(GetCellText(List(), 99, 0), "");

  EXPECT_EQ(GetCurrentRow(List()), -1);
  driver_.ClickListRow(List(), 3);
  EXPECT_EQ(GetCurrentRow(List()), 3);
  EXPECT_EQ(GetProperty(List(), property::kListCurrentRow), Value::Int(3));
  SetCurrentRow(List(), 5);
  EXPECT_EQ(GetCurrentRow(List()), 5);
  SetCurrentRow(List(), -1);
  EXPECT_EQ(GetCurrentRow(List()), -1);
}

TEST_F(ListViewTest, DoubleClickRaisesEvent) {
  AddRow(List(), {}, "甲");
  AddRow(List(), {}, "乙");
  int clicks = 0;
  OnEvent(List(), Event::DoubleClicked, [&] {
    ++clicks;
    EXPECT_EQ(GetCurrentRow(List()), 1);
  });
  driver_.DoubleClickListRow(List(), 1);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace kelmor
