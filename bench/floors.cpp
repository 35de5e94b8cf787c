#include "bench/floors.h"

#include <iconv.h>
#include <zlib.h>

#include <cstring>
#include <unordered_map>

namespace kelmor::bench {

namespace {

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
  return Statement(s);
}

void PutInt32(Bytes& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16),
                             static_cast<std::uint8_t>(v >> 24)};
  out.insert(out.end(), b, b + 4);
}

std::int32_t GetInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | p[1] << 8 | p[2] << 16 |
                                   static_cast<std::uint32_t>(p[3]) << 24);
}

Text ColumnText(sqlite3_stmt* s, int column, Iconv& to_gbk) {
  Text out;
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
  if (text) to_gbk.Convert(text, static_cast<std::size_t>(sqlite3_column_bytes(s, column)), out);
  return out;
}

}  // namespace

Iconv::Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}

Iconv::~Iconv() {
  if (cd_ != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(cd_));
}

bool Iconv::Convert(const char* in, std::size_t size, std::string& out) {
  out.resize(size * 2 + 8);
  char* in_ptr = const_cast<char*>(in);
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  const bool ok = iconv(static_cast<iconv_t>(cd_), &in_ptr, &size, &out_ptr, &out_left) !=
                  static_cast<std::size_t>(-1);
  out.resize(out.size() - out_left);
  return ok;
}

Connection OpenConnection(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  return Connection(db);
}

Bytes FloorUpdateTree(sqlite3* db, Iconv& to_gbk) {
  struct Node {
    Text text;
    std::int32_t id;
    bool bold;
    std::vector<std::int32_t> children;
  };
  std::vector<Node> nodes;
  std::vector<std::int32_t> tops;
  std::unordered_map<std::int32_t, std::int32_t> by_id;
  {
    Statement s = Prepare(db, "select id, type, xm from zylb ORDER BY xm");
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
      Text type = ColumnText(s.get(), 1, to_gbk);
      if (type.empty()) continue;
      const std::int32_t id = sqlite3_column_int(s.get(), 0);
      const std::int32_t xm = sqlite3_column_int(s.get(), 2);
      const auto index = static_cast<std::int32_t>(nodes.size());
      auto parent = xm == 0 ? by_id.end() : by_id.find(xm);
      nodes.push_back({std::move(type), id, xm == 0, {}});
      if (parent == by_id.end()) {
        tops.push_back(index);
      } else {
        nodes[parent->second].children.push_back(index);
      }
      by_id.try_emplace(id, index);
    }
  }
  Bytes content;
  content.reserve(nodes.size() * 32);
  // Pre-order with an explicit stack of (node list, position).
  std::vector<std::pair<const std::vector<std::int32_t>*, std::size_t>> stack{{&tops, 0}};
  while (!stack.empty()) {
    auto& [list, at] = stack.back();
    if (at == list->size()) {
      stack.pop_back();
      continue;
    }
    const Node& n = nodes[(*list)[at++]];
    content.insert(content.end(), n.text.begin(), n.text.end());
    content.push_back(0);
    PutInt32(content, 1);
    PutInt32(content, 0);
    PutInt32(content, n.id);
    PutInt32(content, n.bold ? 1 : 0);
    PutInt32(content, static_cast<std::int32_t>(stack.size()));
    if (!n.children.empty()) stack.push_back({&n.children, 0});
  }

  uLongf size = compressBound(static_cast<uLong>(content.size()));
  Bytes packed(8 + size);
  const std::uint32_t magic = 0x033E0F0D;
  const auto length = static_cast<std::uint32_t>(content.size());
  std::memcpy(packed.data(), &magic, 4);
  std::memcpy(packed.data() + 4, &length, 4);
  compress(packed.data() + 8, &size, content.data(), static_cast<uLong>(content.size()));
  Statement update = Prepare(db, "UPDATE lbsj SET sj=? WHERE id=1");
  sqlite3_bind_blob(update.get(), 1, packed.data(), static_cast<int>(8 + size), SQLITE_STATIC);
  sqlite3_step(update.get());
  return content;
}

std::size_t FloorShowSavedTree(sqlite3* db) {
  Statement s = Prepare(db, "SELECT sj FROM lbsj WHERE id=1");
  if (sqlite3_step(s.get()) != SQLITE_ROW) return 0;
  const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(s.get(), 0));
  const auto blob_size = static_cast<std::size_t>(sqlite3_column_bytes(s.get(), 0));
  if (blob == nullptr || blob_size < 8) return 0;
  uLongf size = static_cast<std::uint32_t>(GetInt32(blob + 4));
  Bytes content(size);
  if (uncompress(content.data(), &size, blob + 8, static_cast<uLong>(blob_size - 8)) != Z_OK) {
    return 0;
  }
  std::size_t records = 0;
  std::int64_t sum = 0;
  const std::uint8_t* p = content.data();
  const std::uint8_t* end = p + size;
  while (p < end) {
    const auto* zero = static_cast<const std::uint8_t*>(std::memchr(p, 0, end - p));
    if (zero == nullptr || end - zero < 21) break;
    sum += GetInt32(zero + 1 + 8) + GetInt32(zero + 1 + 16);
    p = zero + 21;
    ++records;
  }
  return records + static_cast<std::size_t>(sum & 0);
}

std::vector<std::vector<Text>> FloorSearch(sqlite3* db, Iconv& to_gbk,
                                           const std::string& utf8_term) {
  std::vector<std::vector<Text>> rows;
  Statement s = Prepare(
      db, reinterpret_cast<const char*>(u8"SELECT 类别, 药物名称, 功能主治 FROM zymm "
                                        u8"WHERE 功能主治 LIKE ?"));
  const std::string pattern = "%" + utf8_term + "%";
  sqlite3_bind_text(s.get(), 1, pattern.data(), static_cast<int>(pattern.size()), SQLITE_STATIC);
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    Text name = ColumnText(s.get(), 1, to_gbk);
    if (name.empty()) continue;
    Text summary = ColumnText(s.get(), 2, to_gbk);
    if (summary.size() > 100) summary.resize(100);
    rows.push_back({ColumnText(s.get(), 0, to_gbk), std::move(name), std::move(summary)});
  }
  return rows;
}

std::vector<Text> FloorShowEntry(sqlite3* db, Iconv& to_gbk, const std::string& utf8_name) {
  std::vector<Text> values;
  Statement s = Prepare(
      db, reinterpret_cast<const char*>(
              u8"SELECT 药物名称, 类别, 英文名称, 别名, 来源, 植物形态1, 植物形态2, 生长地, 采制, "
              u8"化学成分, 性味, 功能主治, 附注 FROM zymm WHERE 药物名称=?"));
  sqlite3_bind_text(s.get(), 1, utf8_name.data(), static_cast<int>(utf8_name.size()),
                    SQLITE_STATIC);
  if (sqlite3_step(s.get()) == SQLITE_ROW) {
    for (int i = 0; i < 13; ++i) values.push_back(ColumnText(s.get(), i, to_gbk));
  }
  return values;
}

std::size_t FloorPack(const Bytes& data, Bytes& packed, Bytes& unpacked) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  packed.resize(size);
  compress(packed.data(), &size, data.data(), static_cast<uLong>(data.size()));
  uLongf out = static_cast<uLongf>(data.size());
  unpacked.resize(out);
  uncompress(unpacked.data(), &out, packed.data(), size);
  return out;
}

}  // namespace kelmor::bench
