#include "runtime/memory_file.h"

#include <gtest/gtest.h>

#include "runtime/bits.h"
#include "runtime/memory_commands.h"

namespace kelmor {
namespace {

TEST(MemoryFile, TextStopsAtTheZeroAndLeavesThePositionOnIt) {
  std::int32_t f = OpenMemoryFile();
  Bytes tail(20);
  for (std::size_t i = 0; i < tail.size(); ++i) tail[i] = static_cast<std::uint8_t>(i + 1);
  ASSERT_TRUE(FileWriteText(f, Text("ab")));
  ASSERT_TRUE(FileWriteBytes(f, Bytes{0}));
  ASSERT_TRUE(FileWriteBytes(f, tail));
  ASSERT_TRUE(SeekFileStart(f));
  EXPECT_EQ(FileReadText(f), "ab");
  EXPECT_TRUE(SeekFile(f, 3, 1));
  EXPECT_EQ(FileReadBytes(f, 20), tail);
  EXPECT_TRUE(FileAtEnd(f));
  EXPECT_EQ(FileLength(f), 23);
  CloseFile(f);
}

TEST(MemoryFile, SubstituteByteEndsTextUnlessItIsASecondByte) {
  std::int32_t f = OpenMemoryFile();
  FileWriteText(f, Text("x\x1Ay"));
  SeekFileStart(f);
  EXPECT_TRUE(SeekFile(f, 3, 1));
  EXPECT_TRUE(FileAtEnd(f, true));
  EXPECT_FALSE(FileAtEnd(f));
  SeekFileStart(f);
  EXPECT_EQ(FileReadText(f), "x");
  CloseFile(f);

  f = OpenMemoryFile();
  FileWriteText(f, Text("\x81\x1A"
                        "b"));  // 0x1A as the second byte of a character
  SeekFileStart(f);
  EXPECT_EQ(FileReadText(f),
            "\x81\x1A"
            "b");
  CloseFile(f);

  // 0x80 is no lead byte: a zero after it ends the text behind it, not before it.
  f = OpenMemoryFile();
  FileWriteText(f, Text("价€"));
  FileWriteBytes(f, Bytes{0});
  SeekFileStart(f);
  EXPECT_EQ(FileReadText(f), "价€");
  CloseFile(f);
}

TEST(MemoryFile, UnregisteredNumbersFail) {
  std::int32_t f = OpenMemoryFile();
  CloseFile(f);
  EXPECT_FALSE(SeekFile(f, 1, 0));
  EXPECT_FALSE(SeekFileStart(f));
  EXPECT_FALSE(FileWriteBytes(f, Bytes{1}));
  EXPECT_FALSE(FileWriteText(f, Text("a")));
  EXPECT_TRUE(FileReadBytes(f, 4).empty());
  EXPECT_TRUE(FileReadText(f).empty());
  EXPECT_TRUE(FileAtEnd(f));
  EXPECT_EQ(FileLength(f), -1);
  CloseFile(f);  // nothing happens
}

// Positions far outside the file: a seek that overflows is refused, a write that would grow the
// file beyond a byte string's length fails and leaves everything as it was.
TEST(MemoryFile, OutsideSizesFailCleanly) {
  const std::int32_t f = OpenMemoryFile();
  FileWriteBytes(f, Bytes{1, 2, 3});
  EXPECT_FALSE(SeekFile(f, 2, INT64_MAX));
  EXPECT_FALSE(SeekFile(f, 3, INT64_MIN));
  ASSERT_TRUE(SeekFile(f, 1, std::int64_t{1} << 62));
  EXPECT_FALSE(FileWriteText(f, Text("a")));
  EXPECT_FALSE(FileWriteText(f, {Value::FromText("a"), Value::Int(1)}));
  EXPECT_FALSE(FileWriteBytes(f, Bytes{1}));
  EXPECT_TRUE(FileWriteBytes(f, Bytes{}));  // nothing to write is no failure
  EXPECT_EQ(FileLength(f), 3);
  EXPECT_TRUE(SeekFile(f, 3, -(std::int64_t{1} << 62) + 1));  // the position stayed
  EXPECT_EQ(FileReadBytes(f, 5), (Bytes{2, 3}));
  CloseFile(f);
}

TEST(MemoryFile, CountsAndOrigins) {
  std::int32_t f = OpenMemoryFile();
  FileWriteBytes(f, Bytes{1, 2, 3});
  EXPECT_FALSE(SeekFile(f, 4, 0));
  EXPECT_TRUE(SeekFile(f, 2, -1));
  EXPECT_EQ(FileReadBytes(f, 10), Bytes{3});
  SeekFileStart(f);
  EXPECT_TRUE(FileReadBytes(f, 0).empty());
  EXPECT_TRUE(FileReadBytes(f, -1).empty());
  EXPECT_TRUE(FileReadText(f, 0).empty());
  CloseFile(f);
}

TEST(MemoryCommands, BitsAndBytes) {
  EXPECT_EQ(BitAnd(6), 6);
  EXPECT_EQ(BitXor(6, 3, 1), 4);
  EXPECT_EQ(BitOr(1, 2, 4), 7);
  EXPECT_EQ(BitNot(0), -1);
  EXPECT_TRUE(ZeroBytes(0).empty());
  EXPECT_EQ(ZeroBytes(3), Bytes(3, 0));
  std::uint8_t buffer[4] = {9, 9, 9, 9};
  auto address = reinterpret_cast<std::uintptr_t>(buffer);
  EXPECT_TRUE(PointerToBytes(address, 0).empty());
  WriteMemory(Bytes{1, 2, 3}, address, 2);
  EXPECT_EQ(PointerToBytes(address, 4), (Bytes{1, 2, 9, 9}));
}

}  // namespace
}  // namespace kelmor
