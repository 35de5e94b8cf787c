#include "runtime/pack.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

namespace kelmor {
namespace {

TEST(Pack, EmptyInputIsTheBareHeader) {
  Bytes packed = CompressBytes({});
  EXPECT_EQ(packed, (Bytes{0x0D, 0x0F, 0x3E, 0x03, 0, 0, 0, 0}));
  EXPECT_TRUE(DecompressBytes(packed).empty());
}

TEST(Pack, LayoutIsHeaderThenZlibsOwnStream) {
  Bytes data(3000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i % 7 + 'a');
  Bytes packed = CompressBytes(data);
  uLongf size = compressBound(data.size());
  Bytes stream(size);
  ASSERT_EQ(compress(stream.data(), &size, data.data(), data.size()), Z_OK);
  stream.resize(size);
  Bytes expected{0x0D, 0x0F, 0x3E, 0x03, 0xB8, 0x0B, 0, 0};
  expected.insert(expected.end(), stream.begin(), stream.end());
  EXPECT_EQ(packed, expected);
}

TEST(Pack, RoundTripsRandomInputsOfManySizes) {
  std::mt19937 rng(7);
  for (std::size_t n : {1u, 2u, 7u, 100u, 1023u, 1024u, 4097u, 70000u}) {
    Bytes data(n);
    for (auto& b : data) b = static_cast<std::uint8_t>(rng() % 16);  // compressible and not
    EXPECT_EQ(DecompressBytes(CompressBytes(data)), data) << n;
    for (auto& b : data) b = static_cast<std::uint8_t>(rng());
    EXPECT_EQ(DecompressBytes(CompressBytes(data)), data) << n;
  }
}

TEST(Pack, RejectsWhatIsNotAPackedValue) {
  Bytes good = CompressBytes(Bytes(500, 'x'));
  EXPECT_TRUE(DecompressBytes(Bytes(good.begin(), good.begin() + 7)).empty());  // too short
  Bytes magic = good;
  magic[0] ^= 1;
  EXPECT_TRUE(DecompressBytes(magic).empty());
  Bytes zero = good;
  zero[4] = zero[5] = zero[6] = zero[7] = 0;
  EXPECT_TRUE(DecompressBytes(zero).empty());
  Bytes cut(good.begin(), good.end() - 3);
  EXPECT_TRUE(DecompressBytes(cut).empty());
  Bytes corrupt = good;
  corrupt[10] ^= 0x55;
  EXPECT_TRUE(DecompressBytes(corrupt).empty());
}

TEST(Pack, StoredLengthThatLies) {
  Bytes data(500, 'x');
  Bytes packed = CompressBytes(data);
  Bytes smaller = packed;
  smaller[4] = 100;  // 2 × 100 bytes cannot hold the 500: zlib reports the buffer too small
  smaller[5] = 0;
  EXPECT_TRUE(DecompressBytes(smaller).empty());
  Bytes understated = packed;
  understated[4] = 0x2C;  // 300: twice that holds the 500
  understated[5] = 0x01;
  EXPECT_EQ(DecompressBytes(understated), data);
  Bytes larger = packed;
  larger[5] = 0x02;  // 756: still inflates the 500 real bytes
  EXPECT_EQ(DecompressBytes(larger), data);
  Bytes absurd = packed;
  absurd[7] = 0x7F;  // about 2 GB claimed from a few bytes: refused without allocating it
  EXPECT_TRUE(DecompressBytes(absurd).empty());
}

// The sliced packing lets events through and must store exactly what the one-shot packing
// stores: the same bytes, for data that compresses well, poorly and not at all.
TEST(Pack, SlicedPackingGivesTheOneShotBytes) {
  std::mt19937 random(7);
  std::vector<Bytes> inputs;
  Bytes records;  // like a tree's content: short texts and small numbers
  while (records.size() < 3'000'000) {
    for (int i = 0, n = 2 + static_cast<int>(random() % 6); i < n; ++i) {
      records.push_back(static_cast<std::uint8_t>(0xB0 + random() % 0x40));
    }
    records.push_back(0);
    for (int i = 0; i < 20; ++i) records.push_back(i % 4 == 0 ? random() % 8 : 0);
  }
  inputs.push_back(records);
  Bytes noise(1'000'017);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  inputs.push_back(noise);
  Bytes runs(256 * 1024 + 1, 'x');
  inputs.push_back(runs);
  inputs.push_back(Bytes(1000, 'y'));  // one slice only
  for (const Bytes& data : inputs) {
    int calls = 0;
    const Bytes sliced = CompressBytes(data, [&calls] { ++calls; });
    EXPECT_EQ(sliced, CompressBytes(data)) << data.size();
    EXPECT_EQ(calls, data.size() <= 256 * 1024 ? 0 : static_cast<int>((data.size() - 1) / (256 * 1024)));
    EXPECT_EQ(DecompressBytes(sliced), data);
  }
}

}  // namespace
}  // namespace kelmor
