#include "runtime/pack.h"

#include <zlib.h>

#include <algorithm>
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

Bytes CompressBytes(const Bytes& data, const std::function<void()>& between) {
  // Slices of 256 KB take a few milliseconds each. Without a flush between slices deflate
  // decides only on what it has seen, so the stream equals the one-shot `compress`.
  constexpr std::size_t kSlice = 256 * 1024;
  const std::size_t n = data.size();
  if (n <= kSlice) return CompressBytes(data);
  Bytes out;
  out.reserve(8);
  PutU32(out, kPackMagic);
  PutU32(out, static_cast<std::uint32_t>(n));
  const std::size_t capacity = n + n / 1000 + 1024;
  try {
    out.resize(8 + capacity);
  } catch (const std::bad_alloc&) {
    RaiseAllocationFailure(8 + capacity);
  }
  z_stream stream{};
  if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK) return Bytes();
  stream.next_out = out.data() + 8;
  stream.avail_out = static_cast<uInt>(capacity);
  std::size_t fed = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    const std::size_t slice = std::min(kSlice, n - fed);
    stream.next_in = const_cast<Bytef*>(data.data() + fed);
    stream.avail_in = static_cast<uInt>(slice);
    fed += slice;
    const bool last = fed == n;
    status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
    if (last) break;
    if (status == Z_OK && stream.avail_in != 0) status = Z_BUF_ERROR;  // output full
    if (status == Z_OK && between) between();
  }
  const std::size_t written = capacity - stream.avail_out;
  deflateEnd(&stream);
  if (status != Z_STREAM_END) return Bytes();
  out.resize(8 + written);
  return out;
}

Bytes DecompressBytes(const Bytes& packed) {
  if (packed.size() < 8 || GetU32(packed, 0) != kPackMagic) return Bytes();
  std::uint64_t n = GetU32(packed, 4);
  std::uint64_t stream = packed.size() - 8;
  if (n == 0 || stream == 0 || n > stream * kMaxInflateRatio + 64) return Bytes();
  // The buffer is 2 × n bytes; the stored length is nearly always true, so n bytes are tried
  // first and the full buffer only when they do not suffice (zlib then reports the buffer
  // full): the same bytes, without clearing twice what is needed.
  Bytes out;
  for (const std::uint64_t room : {n, 2 * n}) {
    uLongf size = static_cast<uLongf>(room);
    try {
      out.resize(size);
    } catch (const std::bad_alloc&) {
      return Bytes();
    }
    const int rc = uncompress(out.data(), &size, packed.data() + 8, static_cast<uLong>(stream));
    if (rc == Z_OK) {
      out.resize(size);
      return out;
    }
    if (rc != Z_BUF_ERROR) break;
  }
  return Bytes();
}

}  // namespace kelmor
