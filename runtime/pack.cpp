#include "runtime/pack.h"

#include <zlib.h>

#include <new>

#include "runtime/fatal.h"

namespace kelmor {

namespace {

void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t GetU32(const Bytes& in, std::size_t at) {
  return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
         static_cast<std::uint32_t>(in[at + 2]) << 16 |
         static_cast<std::uint32_t>(in[at + 3]) << 24;
}

// Deflate never expands by more than about 1:1032; a stored length beyond that can only be a
// lie, and believing it would reserve gigabytes for a few bytes of input.
constexpr std::uint64_t kMaxInflateRatio = 1032;

}  // namespace

Bytes CompressBytes(const Bytes& data) {
  std::size_t n = data.size();
  Bytes out;
  out.reserve(8);
  PutU32(out, kPackMagic);
  PutU32(out, static_cast<std::uint32_t>(n));
  if (n == 0) return out;
  uLongf capacity = static_cast<uLongf>(n + n / 1000 + 1024);
  try {
    out.resize(8 + capacity);
  } catch (const std::bad_alloc&) {
    RaiseAllocationFailure(8 + capacity);
  }
  if (compress(out.data() + 8, &capacity, data.data(), static_cast<uLong>(n)) != Z_OK) {
    return Bytes();
  }
  out.resize(8 + capacity);
  return out;
}

Bytes DecompressBytes(const Bytes& packed) {
  if (packed.size() < 8 || GetU32(packed, 0) != kPackMagic) return Bytes();
  std::uint64_t n = GetU32(packed, 4);
  std::uint64_t stream = packed.size() - 8;
  if (n == 0 || stream == 0 || n > stream * kMaxInflateRatio + 64) return Bytes();
  uLongf size = static_cast<uLongf>(2 * n);
  Bytes out;
  try {
    out.resize(size);
  } catch (const std::bad_alloc&) {
    return Bytes();
  }
  if (uncompress(out.data(), &size, packed.data() + 8, static_cast<uLong>(stream)) != Z_OK) {
    return Bytes();
  }
  out.resize(size);
  return out;
}

}  // namespace kelmor
