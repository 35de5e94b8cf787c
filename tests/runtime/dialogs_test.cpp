// Message boxes and input boxes, answered by the test driver.
#include "runtime/dialogs.h"

#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/user_input.h"
#include "platform/window.h"
#include "runtime/window_framework.h"
#include "tests/support/test_driver.h"

namespace kelmor {
namespace {

class DialogsTest : public ::testing::Test {
 protected:
  ~DialogsTest() override { ResetWindowFramework(); }
  test::TestDriver driver_;
};

TEST_F(DialogsTest, MsgBoxTitleStyleAndAnswers) {
  EXPECT_EQ(MsgBox(Value::FromText("已保存")), kAnswerOk);
  ASSERT_EQ(driver_.message_boxes().size(), 1u);
  EXPECT_EQ(driver_.message_boxes()[0].caption, "信息：");
  EXPECT_EQ(driver_.message_boxes()[0].text, "已保存");
  EXPECT_EQ(driver_.message_boxes()[0].type, platform::MB_TASKMODAL);
  EXPECT_EQ(driver_.message_boxes()[0].owner, platform::HWND{0});

  driver_.AnswerMessageBox(kAnswerYes);
  EXPECT_EQ(MsgBox(Value::FromText("删除吗？"), platform::MB_YESNO, Text("确认")), kAnswerYes);
  driver_.AnswerMessageBox(kAnswerNo);
  EXPECT_EQ(MsgBox(Value::FromText("删除吗？"), platform::MB_YESNO), kAnswerNo);
  ASSERT_EQ(driver_.message_boxes().size(), 3u);
  EXPECT_EQ(driver_.message_boxes()[1].caption, "确认");
  EXPECT_EQ(driver_.message_boxes()[1].type, platform::MB_YESNO | platform::MB_TASKMODAL);

  // A system-modal box is not made task-modal as well.
  MsgBox(Value::Int(42), platform::MB_SYSTEMMODAL);
  EXPECT_EQ(driver_.message_boxes()[3].type, platform::MB_SYSTEMMODAL);
  EXPECT_EQ(driver_.message_boxes()[3].text, "42");
  MsgBox(Value::Bool(true));
  MsgBox(Value::FromBytes({1, 2}));
  EXPECT_EQ(driver_.message_boxes()[5].text, "");
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(DialogsTest, InputBoxConfirmAndCancel) {
  Text name = "旧";
  // The initial text is shown selected: what the user types replaces it.
  driver_.AnswerInputBox("当归");
  EXPECT_TRUE(InputBox(Text("药物名称："), {}, Text("初始"), &name));
  EXPECT_EQ(name, "当归");

  driver_.CancelInputBox();
  EXPECT_FALSE(InputBox({}, Text("标题"), Text("初始"), &name));
  EXPECT_EQ(name, "当归");

  // An emptied edit stores the empty text.
  driver_.AnswerInputBox("");
  EXPECT_TRUE(InputBox({}, {}, Text("初始"), &name));
  EXPECT_EQ(name, "");
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(DialogsTest, InputBoxTabFromTheBoxItselfGoesToTheEditAndShiftTabToCancel) {
  Text name;
  for (const bool with_prompt : {false, true}) {
    driver_.InInputBox([](platform::HWND box) {
      for (const platform::UINT shift : {0u, platform::kShiftKey}) {
        platform::SetFocus(box);
        platform::PressKey(box, platform::VK_TAB, 9, shift);
        EXPECT_EQ(platform::GetFocus(),
                  platform::GetDlgItem(box, shift ? kInputBoxCancelId : kInputBoxEditId))
            << shift;
      }
      platform::ClickButton(platform::GetDlgItem(box, kInputBoxCancelId));
    });
    EXPECT_FALSE(InputBox(with_prompt ? std::optional<Text>("名称：") : std::nullopt, {},
                          Text("初始"), &name));
  }
  EXPECT_TRUE(driver_.ScriptDone());
}

TEST_F(DialogsTest, InputBoxNumberModes) {
  std::int32_t number = 7;
  driver_.AnswerInputBox("1a2b-3");
  EXPECT_TRUE(InputBox({}, {}, {}, &number, kInputInteger));
  EXPECT_EQ(number, 12);  // letters never reach the edit; "12-3" reads as 12

  driver_.AnswerInputBox("x-45y");
  EXPECT_TRUE(InputBox({}, {}, {}, &number, kInputInteger));
  EXPECT_EQ(number, -45);

  std::int16_t small = 0;
  driver_.AnswerInputBox("70000");
  EXPECT_TRUE(InputBox({}, {}, {}, &small, kInputInteger));
  EXPECT_EQ(small, static_cast<std::int16_t>(70000));

  double decimal = 0;
  driver_.AnswerInputBox("3a.5e");
  EXPECT_TRUE(InputBox({}, {}, {}, &decimal, kInputDecimal));
  EXPECT_DOUBLE_EQ(decimal, 3.5);

  Text typed;
  driver_.AnswerInputBox("1a2");
  EXPECT_TRUE(InputBox({}, {}, {}, &typed, 0));  // mode 0 is text
  EXPECT_EQ(typed, "1a2");

  driver_.AnswerInputBox("秘密");
  EXPECT_TRUE(InputBox({}, {}, {}, &typed, 9));  // above 4 is the password mode
  EXPECT_EQ(typed, "秘密");
  EXPECT_TRUE(driver_.ScriptDone());
}

}  // namespace
}  // namespace kelmor
