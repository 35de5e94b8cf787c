#include "runtime/tree_content.h"

#include <algorithm>
#include <cstring>

namespace kelmor {
namespace {

constexpr std::size_t kNumbersSize = kTreeContentNumbersSize;

std::int32_t ReadInt32(const std::uint8_t* p) {
  std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                    static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}

void WriteInt32(Bytes& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                 static_cast<std::uint8_t>(v >> 16),
                                 static_cast<std::uint8_t>(v >> 24)};
  out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

bool TreeContentReader::Next(TreeContentRecord& record) {
  const std::uint8_t* data = content_.data();
  const std::size_t size = content_.size();
  if (pos_ >= size) return false;
  const void* zero = std::memchr(data + pos_, 0, size - pos_);
  if (zero == nullptr) return false;  // the text runs to the end: not a whole record
  const std::size_t text_end = static_cast<const std::uint8_t*>(zero) - data;
  if (size - (text_end + 1) < kNumbersSize) return false;
  record.text.assign(reinterpret_cast<const char*>(data + pos_), text_end - pos_);
  const std::uint8_t* numbers = data + text_end + 1;
  record.image = ReadInt32(numbers);
  record.selected_image = ReadInt32(numbers + 4);
  record.data = ReadInt32(numbers + 8);
  record.flags = ReadInt32(numbers + 12);
  record.level = ReadInt32(numbers + 16);
  pos_ = text_end + 1 + kNumbersSize;
  return true;
}

std::vector<TreeContentRecord> ParseTreeContent(const Bytes& content) {
  TreeContentReader reader(content);
  std::vector<TreeContentRecord> records;
  // Reserved once, the records are not moved as they grow.
  records.reserve(reader.MostRemaining());
  TreeContentRecord record;
  while (reader.Next(record)) records.push_back(record);
  return records;
}

void AppendTreeContentRecord(Bytes& content, const TreeContentRecord& record) {
  // A text cannot hold a zero byte: it would end the record's text early.
  const std::size_t length = std::min(record.text.size(), std::strlen(record.text.c_str()));
  content.insert(content.end(), record.text.begin(), record.text.begin() + length);
  content.push_back(0);
  WriteInt32(content, record.image);
  WriteInt32(content, record.selected_image);
  WriteInt32(content, record.data);
  WriteInt32(content, record.flags);
  WriteInt32(content, record.level);
}

Bytes SerializeTreeContent(const std::vector<TreeContentRecord>& records) {
  Bytes content;
  for (const auto& record : records) AppendTreeContentRecord(content, record);
  return content;
}

}  // namespace kelmor
