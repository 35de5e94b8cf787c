#include "runtime/memory_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>

#include "platform/gbk_chars.h"
#include "runtime/to_text.h"

namespace kelmor {

namespace {

struct MemoryFile {
  Bytes data;
  std::size_t position = 0;
};

// The runtime's table of open files; the numbers are never reused while the process lives.
struct FileTable {
  std::map<std::int32_t, MemoryFile> files;
  std::int32_t next = 1;
};

FileTable& Files() {
  static FileTable table;
  return table;
}

MemoryFile* Find(std::int32_t file) {
  auto it = Files().files.find(file);
  return it == Files().files.end() ? nullptr : &it->second;
}

// A memory file never grows beyond what one byte string can hold (its length is an int32): a
// write that would is refused before anything is written, so a position far past the end (a
// seek is free to go there) cannot make the file ask for more memory than there is.
constexpr std::size_t kMaxFileSize = std::numeric_limits<std::int32_t>::max();

bool Fits(const MemoryFile& f, std::size_t size) {
  return size == 0 || (f.position <= kMaxFileSize && size <= kMaxFileSize - f.position);
}

void Append(MemoryFile& f, const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  std::size_t end = f.position + size;
  if (f.data.size() < end) f.data.resize(end);
  std::copy(data, data + size, f.data.begin() + static_cast<std::ptrdiff_t>(f.position));
  f.position = end;
}

}  // namespace

std::int32_t OpenMemoryFile() {
  std::int32_t number = Files().next++;
  Files().files.emplace(number, MemoryFile{});
  return number;
}

void CloseFile(std::int32_t file) {
  Files().files.erase(file);
}

bool SeekFile(std::int32_t file, std::int32_t origin, std::int64_t offset) {
  MemoryFile* f = Find(file);
  if (!f) return false;
  std::int64_t base;
  switch (origin) {
    case 1:
      base = 0;
      break;
    case 2:
      base = static_cast<std::int64_t>(f->data.size());
      break;
    case 3:
      base = static_cast<std::int64_t>(f->position);
      break;
    default:
      return false;
  }
  std::int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) return false;
  f->position = static_cast<std::size_t>(target);
  return true;
}

bool SeekFileStart(std::int32_t file) {
  return SeekFile(file, 1, 0);
}

Bytes FileReadBytes(std::int32_t file, std::int32_t count) {
  MemoryFile* f = Find(file);
  if (!f || count <= 0) return Bytes();
  if (f->position >= f->data.size()) return Bytes();
  std::size_t n =
      std::min<std::size_t>(static_cast<std::size_t>(count), f->data.size() - f->position);
  auto begin = f->data.begin() + static_cast<std::ptrdiff_t>(f->position);
  Bytes out(begin, begin + static_cast<std::ptrdiff_t>(n));
  f->position += n;
  return out;
}

Text FileReadText(std::int32_t file, std::optional<std::int32_t> count) {
  MemoryFile* f = Find(file);
  if (!f) return Text();
  std::int64_t wanted = count ? *count : static_cast<std::int64_t>(f->data.size());
  if (wanted < 1) return Text();
  if (f->position >= f->data.size()) return Text();
  std::size_t start = f->position;
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(wanted), f->data.size() - start);
  const std::uint8_t* p = f->data.data() + start;
  for (std::size_t i = 0; i < n; ++i) {
    std::uint8_t b = p[i];
    if (b == 0x00 || b == 0x1A) {
      f->position = start + i;
      return Text(reinterpret_cast<const char*>(p), i);
    }
    if (platform::IsGbkLead(b) && i + 1 < n) {
      if (p[i + 1] == 0x00) {  // a lead byte cut off by the terminator ends the text before it
        f->position = start + i + 1;
        return Text(reinterpret_cast<const char*>(p), i);
      }
      ++i;
    }
  }
  f->position = start + n;
  return Text(reinterpret_cast<const char*>(p), n);
}

bool FileWriteBytes(std::int32_t file, std::initializer_list<const Bytes*> data) {
  MemoryFile* f = Find(file);
  if (!f) return false;
  std::size_t total = 0;
  for (const Bytes* b : data) total += b ? b->size() : 0;
  if (!Fits(*f, total)) return false;
  for (const Bytes* b : data) {
    if (b) Append(*f, b->data(), b->size());
  }
  return true;
}

bool FileWriteBytes(std::int32_t file, const Bytes& data) {
  return FileWriteBytes(file, {&data});
}

bool FileWriteText(std::int32_t file, std::initializer_list<Value> values) {
  MemoryFile* f = Find(file);
  if (!f) return false;
  Text all;
  for (const Value& v : values) {
    if (v.type() == TypeCode::Bytes || v.omitted()) continue;
    all += ToText(v);
  }
  return FileWriteText(file, all);
}

bool FileWriteText(std::int32_t file, const Text& text) {
  MemoryFile* f = Find(file);
  if (!f || !Fits(*f, text.size())) return false;
  Append(*f, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return true;
}

bool FileAtEnd(std::int32_t file, bool text_mode) {
  MemoryFile* f = Find(file);
  if (!f) return true;
  if (f->position >= f->data.size()) return true;
  std::uint8_t b = f->data[f->position];
  return text_mode && (b == 0x00 || b == 0x1A);
}

std::int64_t FileLength(std::int32_t file) {
  MemoryFile* f = Find(file);
  return f ? static_cast<std::int64_t>(f->data.size()) : -1;
}

Bytes FileContent(std::int32_t file) {
  MemoryFile* f = Find(file);
  return f ? f->data : Bytes();
}

}  // namespace kelmor
