#include "fuzz/targets.h"
#include "runtime/pack.h"

namespace kelmor::fuzz {

void FuzzPack(Input input) {
  const Bytes packed(input.begin(), input.end());
  const Bytes unpacked = DecompressBytes(packed);
  // The stored length bounds what may come out: a lying header must not yield more.
  if (packed.size() >= 8 && !unpacked.empty()) {
    const std::uint32_t stated = static_cast<std::uint32_t>(packed[4]) | packed[5] << 8 |
                                 packed[6] << 16 | static_cast<std::uint32_t>(packed[7]) << 24;
    Require(unpacked.size() <= 2ull * stated, "more bytes than twice the stored length");
  }
  if (!unpacked.empty()) {
    Require(DecompressBytes(CompressBytes(unpacked)) == unpacked, "round trip");
  }
  // What comes in as plain data also round-trips.
  if (!packed.empty()) Require(DecompressBytes(CompressBytes(packed)) == packed, "pack of input");
}

}  // namespace kelmor::fuzz
