#include "runtime/text_commands.h"

#include <gtest/gtest.h>

#include "runtime/to_text.h"

namespace kelmor {
namespace {

TEST(TextCommands, LengthAndLeftCountBytes) {
  EXPECT_EQ(TextLength("中a"), 3);
  EXPECT_EQ(LeftText("中a", 5), "中a");
  EXPECT_EQ(LeftText("中a", 0), "");
  EXPECT_EQ(LeftText("中a", -3), "");
  EXPECT_EQ(LeftText("中a", 1), "\xD6");  // may cut a double-byte character
}

TEST(TextCommands, CaseChangesLeaveDoubleByteCharactersAlone) {
  // 0xC4 0x61: the second byte looks like 'a' but belongs to the character.
  EXPECT_EQ(ToUpper("ab\xC4\x61z"), "AB\xC4\x61Z");
  EXPECT_EQ(ToLower("TYPE\xC4\x41"), "type\xC4\x41");
  // 0x80 (the euro sign) is a character of its own: the letter after it is changed.
  EXPECT_EQ(ToUpper("\x80" "a"), "\x80" "A");
}

TEST(TextCommands, SpacesHalfAndFullWidth) {
  const Text full = "\xA1\xA1";
  EXPECT_EQ(TrimSpaces(full + " a b " + full), "a b");
  EXPECT_EQ(RemoveSpaces(full + " a b " + full), "ab");
  // B0 A1 is one character whose second byte is A1: never half of a full-width space.
  EXPECT_EQ(RemoveSpaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
  EXPECT_EQ(TrimSpaces("\xB0\xA1"), "\xB0\xA1");
  EXPECT_EQ(RemoveSpaces("麻黄 9克，桂枝　6克"), "麻黄9克，桂枝6克");
  EXPECT_EQ(SpaceText(3), "   ");
  EXPECT_EQ(SpaceText(0), "");
}

TEST(ToText, EveryKind) {
  EXPECT_EQ(ToText(Value::Byte(200)), "200");
  EXPECT_EQ(ToText(Value::Int(-12)), "-12");
  EXPECT_EQ(ToText(Value::Long(-9000000000LL)), "-9000000000");
  EXPECT_EQ(ToText(Value::Double(3.0)), "3");
  EXPECT_EQ(ToText(Value::Double(0.1)), "0.1");
  EXPECT_EQ(ToText(Value::Double(1.0 / 3)), "0.3333333333333");
  EXPECT_EQ(ToText(Value::Float(0.5f)), "0.5");
  EXPECT_EQ(ToText(Value::Bool(true)), "真");
  EXPECT_EQ(ToText(Value::Bool(false)), "假");
  EXPECT_EQ(ToText(Value::FromBytes({'a', 'b', 0, 'c'})), "ab");
  EXPECT_EQ(ToText(Value()), "");
}

TEST(ToText, DateTimeOmitsZeroTimeParts) {
  // 2011-05-01 is 40664 days after 1899-12-30.
  EXPECT_EQ(ToText(Value::Date({40664.0})), "2011年5月1日");
  EXPECT_EQ(ToText(Value::Date({40664.0 + 8.5 / 24})), "2011年5月1日8时30分");
  EXPECT_EQ(ToText(Value::Date({40664.0 + 8.0 / 24})), "2011年5月1日8时");
  EXPECT_EQ(ToText(Value::Date({40664.0 + (8 * 3600 + 5) / 86400.0})), "2011年5月1日8时0分5秒");
}

}  // namespace
}  // namespace kelmor
