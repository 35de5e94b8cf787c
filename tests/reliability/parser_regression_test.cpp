// Inputs the fuzz targets once broke, as plain tests of the parser concerned.
#include <gtest/gtest.h>

#include "runtime/codec.h"

namespace kelmor {
namespace {

TEST(ParserRegression, OverlongUtf8IsNotText) {
  // Read as a quote, C0 A7 would turn stored bytes into a different text than UTF-8 holds.
  EXPECT_EQ(Utf8ToLocal("\xC0\xA7"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("\xC1\xBF"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("a\xE0\x80\xA7"), std::nullopt);
  EXPECT_EQ(Utf8ToLocal("\xE0\x9F\xBF"), std::nullopt);
  // The shortest forms still convert.
  EXPECT_EQ(Utf8ToLocal("\xE7\x94\x98'"), std::optional<Text>("甘'"));  // 甘 in UTF-8
  EXPECT_EQ(LocalToUtf8(*Utf8ToLocal("\xC2\xB0")), std::optional<std::string>("\xC2\xB0"));
}

}  // namespace
}  // namespace kelmor
