// Windows loaded from templates: events, properties, MoveControl, modal windows and the
// run-time errors of commands on windows that are not loaded.
#include "runtime/window_framework.h"

#include <gtest/gtest.h>

#include "runtime/window_commands.h"
#include "tests/support/test_driver.h"
#include "tests/support/test_window.h"

namespace kelmor {
namespace {

const char* Utf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

using test::Control;

class WindowFrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WindowTemplate main;
    main.name = "主窗口";
    main.title = "本草";
    main.width = 500;
    main.height = 400;
    main.resizable = true;
    main.controls.push_back(Control("编辑框1", ControlKind::EditBox, 10, 10, 200, 24));
    main.controls.push_back(Control("按钮1", ControlKind::Button, 10, 50, 80, 24));
    main.controls.back().caption = "确定";
    main.controls.push_back(Control("组合框1", ControlKind::ComboBox, 10, 90, 120, 200));
    MenuItemTemplate popup{"菜单", "菜单", false, true, {}};
    popup.children.push_back({"新建", "新建(&N)", true, true, {}});
    popup.children.push_back({"删除", "删除(&D)", true, false, {}});
    main.menu.push_back(popup);
    main_ = RegisterWindow(main);

    WindowTemplate dialog;
    dialog.name = "对话框";
    dialog.title = "输入";
    dialog.width = 300;
    dialog.height = 200;
    dialog.controls.push_back(Control("编辑框1", ControlKind::EditBox, 10, 10, 200, 24));
    dialog.controls.push_back(Control("按钮1", ControlKind::Button, 10, 50, 80, 24));
    dialog_ = RegisterWindow(dialog);
  }
  ~WindowFrameworkTest() override { ResetWindowFramework(); }

  test::TestDriver driver_;
  WindowId main_ = 0;
  WindowId dialog_ = 0;
};

TEST_F(WindowFrameworkTest, LoadFiresCreatedThenSizeChangedAndCloseFiresClosing) {
  std::vector<std::string> events;
  OnEvent({main_, ""}, Event::Created, [&] {
    events.push_back("created");
    EXPECT_EQ(GetText({main_, "按钮1"}), "确定");
  });
  OnEvent({main_, ""}, Event::SizeChanged, [&] { events.push_back("size"); });
  OnEvent({main_, ""}, Event::Closing, [&] { events.push_back("closing"); });
  EXPECT_FALSE(IsWindowLoaded(main_));
  ASSERT_TRUE(LoadWindow(main_));
  EXPECT_TRUE(IsWindowLoaded(main_));
  EXPECT_EQ(events, (std::vector<std::string>{"created", "size"}));
  EXPECT_EQ(GetText({main_, ""}), "本草");
  EXPECT_EQ(GetWidth({main_, ""}), 500);
  EXPECT_EQ(GetHeight({main_, ""}), 400);

  driver_.Resize(main_, 600, 450);
  EXPECT_EQ(events.size(), 3u);
  EXPECT_EQ(GetWidth({main_, ""}), 600);

  // A close request that the application refuses keeps the window, from the close box and
  // from CloseWindow alike.
  bool may_close = false;
  BindEvent({main_, ""}, Event::CloseRequested, [&](int) -> std::optional<bool> {
    events.push_back("asked");
    return may_close;
  });
  driver_.CloseBox(main_);
  CloseWindow(main_);
  DoEvents();
  EXPECT_TRUE(IsWindowLoaded(main_));
  EXPECT_EQ(events, (std::vector<std::string>{"created", "size", "size", "asked", "asked"}));

  may_close = true;
  driver_.CloseBox(main_);
  DoEvents();
  EXPECT_FALSE(IsWindowLoaded(main_));
  EXPECT_EQ(events.back(), "closing");
  EXPECT_EQ(WindowHandle({main_, ""}), platform::HWND{0});
}

TEST_F(WindowFrameworkTest, PropertiesAndMoveControl) {
  ASSERT_TRUE(LoadWindow(main_));
  const ControlRef edit{main_, "编辑框1"};
  EXPECT_EQ(GetLeft(edit), 10);
  EXPECT_EQ(GetTop(edit), 10);
  EXPECT_EQ(GetWidth(edit), 200);
  EXPECT_EQ(GetHeight(edit), 24);

  int sizes = 0;
  OnEvent({main_, ""}, Event::SizeChanged, [&] { ++sizes; });
  MoveControl(edit, {}, {}, -1);
  MoveControl(edit, 10, 10, -1, -1);
  MoveControl({main_, ""}, {}, {}, -1);
  EXPECT_EQ(sizes, 0);
  EXPECT_EQ(GetWidth({main_, ""}), 500);
  EXPECT_EQ(GetLeft(edit), 10);
  EXPECT_EQ(GetWidth(edit), 200);

  MoveControl(edit, 20);
  EXPECT_EQ(GetLeft(edit), 20);
  EXPECT_EQ(GetWidth(edit), 200);
  MoveControl(edit, {}, 30, 150, -1);
  EXPECT_EQ(GetTop(edit), 30);
  EXPECT_EQ(GetWidth(edit), 150);
  EXPECT_EQ(GetHeight(edit), 24);
  MoveControl({main_, ""}, {}, {}, 520, 410);
  EXPECT_EQ(sizes, 1);
  EXPECT_EQ(GetWidth({main_, ""}), 520);

  SetProperty(edit, property::kTag, Value::Int(99));
  EXPECT_EQ(GetProperty(edit, property::kTag), Value::Int(99));
  SetProperty(edit, property::kCaption, Value::FromText("黄芪"));
  EXPECT_EQ(GetText(edit), "黄芪");
  EXPECT_EQ(GetProperty(edit, property::kTreeContent).type(), TypeCode::Omitted);
  SetVisible(edit, false);
  EXPECT_FALSE(IsVisible(edit));
  SetEnabled({main_, "按钮1"}, false);
  EXPECT_FALSE(IsEnabled({main_, "按钮1"}));
}

TEST_F(WindowFrameworkTest, ClicksAndKeysReachHandlers) {
  ASSERT_TRUE(LoadWindow(main_));
  int clicks = 0;
  std::vector<int> keys;
  OnEvent({main_, "按钮1"}, Event::Clicked, [&] { ++clicks; });
  OnKeyPressed({main_, "编辑框1"}, [&](int key) { keys.push_back(key); });
  driver_.Click({main_, "按钮1"});
  EXPECT_EQ(clicks, 1);
  driver_.Type({main_, "编辑框1"}, "甘草");
  EXPECT_EQ(GetText({main_, "编辑框1"}), "甘草");
  driver_.PressKey({main_, "编辑框1"}, 13);
  EXPECT_FALSE(keys.empty());
  EXPECT_EQ(keys.back(), 13);
}

TEST_F(WindowFrameworkTest, ModalWindowAnsweredByDriver) {
  ASSERT_TRUE(LoadWindow(main_));
  Text typed;
  OnEvent({dialog_, "按钮1"}, Event::Clicked, [&] {
    typed = GetText({dialog_, "编辑框1"});
    CloseWindow(dialog_);
  });
  driver_.OnModal([&] {
    EXPECT_FALSE(IsEnabled({main_, ""}));
    EXPECT_EQ(ModalWindowHandle(), WindowHandle({dialog_, ""}));
    driver_.Type({dialog_, "编辑框1"}, "人参");
    driver_.Click({dialog_, "按钮1"});
  });
  EXPECT_TRUE(LoadWindow(dialog_, {}, true));
  EXPECT_EQ(typed, "人参");
  EXPECT_FALSE(IsWindowLoaded(dialog_));
  EXPECT_TRUE(IsEnabled({main_, ""}));
  EXPECT_EQ(ModalWindowHandle(), platform::HWND{0});
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(WindowFrameworkTest, LoadingUnderAParentThatIsNotLoadedFails) {
  EXPECT_FALSE(LoadWindow(dialog_, main_));
  EXPECT_FALSE(IsWindowLoaded(dialog_));
  CloseWindow(dialog_);  // nothing happens
}

TEST_F(WindowFrameworkTest, PopupMenuAndComboBox) {
  ASSERT_TRUE(LoadWindow(main_));
  int created = 0;
  OnEvent({main_, "新建"}, Event::Clicked, [&] { ++created; });
  driver_.ChooseMenuItem(Text("新建(&N)"));
  PopupMenu(main_, "菜单");
  EXPECT_EQ(created, 1);
  ASSERT_EQ(driver_.popup_menus().size(), 1u);
  driver_.ChooseMenuItem(std::nullopt);
  PopupMenu(main_, "菜单", 100, 100);
  EXPECT_EQ(created, 1);
  PopupMenu(main_, "没有的菜单");  // nothing happens
  EXPECT_EQ(driver_.popup_menus().size(), 2u);

  const ControlRef combo{main_, "组合框1"};
  EXPECT_EQ(ComboAddItem(combo, "草部"), 0);
  EXPECT_EQ(ComboAddItem(combo, "木部", 5), 1);
  EXPECT_EQ(ComboItemCount(combo), 2);
  EXPECT_EQ(ComboItemText(combo, 1), "木部");
  EXPECT_EQ(ComboItemText(combo, 2), "");
  EXPECT_EQ(ComboItemText(combo, -1), "");
  EXPECT_EQ(GetComboIndex(combo), -1);
  driver_.SelectComboItem(combo, 1);
  EXPECT_EQ(GetComboIndex(combo), 1);
  ComboClear(combo);
  EXPECT_EQ(ComboItemCount(combo), 0);
  EXPECT_TRUE(driver_.ScriptDone());
}

using WindowFrameworkDeathTest = WindowFrameworkTest;

TEST_F(WindowFrameworkDeathTest, CommandsOnUnloadedWindowsAreRunTimeErrors) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(MoveControl({main_, "编辑框1"}, 5), ::testing::ExitedWithCode(255),
              Utf8(u8"指定窗口或窗口组件不存在或尚未载入"));
  EXPECT_EXIT(FocusControl({main_, ""}), ::testing::ExitedWithCode(255),
              Utf8(u8"指定窗口或窗口组件不存在或尚未载入"));
  EXPECT_EXIT(GetText({main_, "编辑框1"}), ::testing::ExitedWithCode(255),
              Utf8(u8"未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(SetProperty({main_, "编辑框1"}, property::kTag, Value::Int(1)),
              ::testing::ExitedWithCode(255), Utf8(u8"未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(SetProperty({main_, "编辑框1"}, property::kTreeContent, Value::FromBytes({})),
              ::testing::ExitedWithCode(255), Utf8(u8"指定窗口尚未载入"));
  ASSERT_TRUE(LoadWindow(main_));
  EXPECT_EXIT(MoveControl({main_, "没有的控件"}, 5), ::testing::ExitedWithCode(255),
              Utf8(u8"指定窗口或窗口组件不存在或尚未载入"));
}

}  // namespace
}  // namespace kelmor
