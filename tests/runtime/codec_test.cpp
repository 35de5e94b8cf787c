#include "runtime/codec.h"

#include <gtest/gtest.h>

namespace kelmor {
namespace {

TEST(Codec, RoundTripsChineseAndAscii) {
  Text gbk = "中药 herbs 【药物名称】：";
  std::optional<std::string> utf8 = LocalToUtf8(gbk);
  ASSERT_TRUE(utf8);
  EXPECT_EQ(*utf8, std::string(reinterpret_cast<const char*>(u8"中药 herbs 【药物名称】：")));
  EXPECT_EQ(Utf8ToLocal(*utf8), gbk);
}

TEST(Codec, EmptyInGivesEmptyOut) {
  EXPECT_EQ(LocalToUtf8(""), std::string());
  EXPECT_EQ(Utf8ToLocal(""), Text());
}

TEST(Codec, SecondBytesThatLookLikeAsciiSurvive) {
  // 乗 is not GBK, but 圽 (0x87 0x5C) ends in a backslash byte and 癬 in an underscore.
  Text gbk = "\x87\x5C\xF1\x5F";
  std::optional<std::string> utf8 = LocalToUtf8(gbk);
  ASSERT_TRUE(utf8);
  EXPECT_EQ(Utf8ToLocal(*utf8), gbk);
}

TEST(Codec, EachBadUtf8FormFailsTheWholeConversion) {
  EXPECT_FALSE(Utf8ToLocal("ab\xC3"));            // truncated two-byte sequence
  EXPECT_FALSE(Utf8ToLocal("\xE4\xB8"));          // truncated three-byte sequence
  EXPECT_FALSE(Utf8ToLocal("\xE4\x41\xAD"));      // bad continuation byte
  EXPECT_FALSE(Utf8ToLocal("\x80"));              // stray continuation byte as a lead
  EXPECT_FALSE(Utf8ToLocal("\xF0\x9F\x98\x80"));  // four-byte sequence
}

TEST(Codec, CharacterOutsideGbkFails) {
  EXPECT_FALSE(Utf8ToLocal(reinterpret_cast<const char*>(u8"\u0E01")));  // Thai letter
}

TEST(Codec, BadGbkFails) {
  EXPECT_FALSE(LocalToUtf8("\xD6"));      // lead byte cut off at the end
  EXPECT_FALSE(LocalToUtf8("\xFF\xFF"));  // not a GBK code
}

TEST(Codec, LenientDecodingReplacesWhatIsNotGbk) {
  std::u16string s = GbkToUtf16Lenient("A\xD6");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0], u'A');
  EXPECT_EQ(s[1], u'\uFFFD');
  EXPECT_FALSE(Utf16ToGbk(u"\u0E01"));
  EXPECT_EQ(Utf16ToGbk(u"中"), Text("中"));
}

}  // namespace
}  // namespace kelmor
