// The rich edit: selection properties, finding text and character formats.
#include "runtime/rich_edit_control.h"

#include <gtest/gtest.h>

#include "platform/window.h"
#include "runtime/window_commands.h"
#include "tests/support/test_driver.h"
#include "tests/support/test_window.h"

namespace kelmor {
namespace {

class RichEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = test::LoadWindowWith(
        test::Control("富文本框1", ControlKind::RichEdit, 0, 0, 380, 250));
    ASSERT_NE(window_, 0);
  }
  ~RichEditTest() override { ResetWindowFramework(); }

  ControlRef Rich() const { return {window_, "富文本框1"}; }

  platform::CHARRANGE Selection() const {
    platform::CHARRANGE range;
    platform::SendMessageA(WindowHandle(Rich()), platform::EM_EXGETSEL, 0,
                           reinterpret_cast<platform::LPARAM>(&range));
    return range;
  }

  test::TestDriver driver_;
  WindowId window_ = 0;
};

// Ten characters before the term.
constexpr const char* kText = "本品为常用中药，功能清热解毒，主治热毒疮疡。Heat clearing.";

TEST_F(RichEditTest, TextAndSelectionProperties) {
  SetText(Rich(), kText);
  EXPECT_EQ(GetText(Rich()), kText);
  SetSelectionStart(Rich(), 10);
  SetSelectionLength(Rich(), 4);
  EXPECT_EQ(Selection().cpMin, 10);
  EXPECT_EQ(Selection().cpMax, 14);
  EXPECT_EQ(GetProperty(Rich(), property::kRichEditSelectionStart), Value::Int(10));
  EXPECT_EQ(GetProperty(Rich(), property::kRichEditSelectionLength), Value::Int(4));

  SetSelectionLength(Rich(), -5);  // taken as -1: the whole text
  EXPECT_EQ(GetProperty(Rich(), property::kRichEditSelectionLength), Value::Int(-1));
  EXPECT_EQ(Selection().cpMin, 0);
  SetSelectionStart(Rich(), -3);
  EXPECT_EQ(GetProperty(Rich(), property::kRichEditSelectionStart), Value::Int(0));
  SetSelectionLength(Rich(), 2);
  EXPECT_EQ(Selection().cpMin, 0);
  EXPECT_EQ(Selection().cpMax, 2);
}

TEST_F(RichEditTest, FindText) {
  SetText(Rich(), kText);
  // Flags 3: down and whole word, case ignored; a Chinese term is found inside Chinese text.
  EXPECT_EQ(FindText(Rich(), 0, false, true, "清热"), 10);
  EXPECT_EQ(FindText(Rich(), {}, {}, {}, "清热"), 10);
  EXPECT_EQ(FindText(Rich(), 11, {}, {}, "清热"), -1);
  EXPECT_EQ(FindText(Rich(), 0, {}, {}, "热毒"), 17);
  EXPECT_EQ(FindText(Rich(), 0, {}, {}, "heat"), -1);
  EXPECT_EQ(FindText(Rich(), 0, false, {}, "heat"), 22);
  EXPECT_EQ(FindText(Rich(), 0, false, true, "clear"), -1);
  EXPECT_EQ(FindText(Rich(), 0, false, true, "clearing"), 27);
  EXPECT_EQ(FindText(Rich(), 0, {}, {}, "没有"), -1);
}

TEST_F(RichEditTest, CharFormats) {
  CharFormat automatic;
  automatic.font_name = "宋体";
  automatic.size = 12;
  automatic.offset = -2;
  automatic.effects = kEffectBold | kEffectUnderline | 0x100;
  platform::CHARFORMATA a = ToCharFormatA(automatic);
  EXPECT_EQ(a.cbSize, 60u);
  EXPECT_EQ(a.dwMask, 0xF000001Fu);
  EXPECT_EQ(a.dwEffects, platform::CFE_BOLD | platform::CFE_UNDERLINE | platform::CFE_AUTOCOLOR);
  EXPECT_EQ(a.yHeight, 240);
  EXPECT_EQ(a.yOffset, -40);
  EXPECT_STREQ(a.szFaceName, "宋体");

  CharFormat red = automatic;
  red.colour = 0x0000FF;
  red.font_name = Text(40, 'f');
  platform::CHARFORMATA r = ToCharFormatA(red);
  EXPECT_EQ(r.dwEffects & platform::CFE_AUTOCOLOR, 0u);
  EXPECT_EQ(r.crTextColor, 0x0000FFu);
  EXPECT_EQ(Text(r.szFaceName), Text(31, 'f'));

  SetText(Rich(), kText);
  EXPECT_TRUE(SetDefaultCharFormat(Rich(), automatic));
  SetSelectionStart(Rich(), 10);
  SetSelectionLength(Rich(), 2);
  EXPECT_TRUE(SetSelectionCharFormat(Rich(), red));
}

}  // namespace
}  // namespace kelmor
