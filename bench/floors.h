// The floors: for each measured path of the program, the least work that gives the same result,
// written directly against the SQLite C API, zlib and iconv. They share nothing with the
// program's code, so a ratio says what the program's own layers cost.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace kelmor::bench {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// One iconv direction, opened once and kept.
class Iconv {
 public:
  Iconv(const char* to, const char* from);
  ~Iconv();
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  // Converts in into out (resized to fit); false on a sequence that does not convert.
  bool Convert(const char* in, std::size_t size, std::string& out);

 private:
  void* cd_;
};

Connection OpenConnection(const std::string& file);

// update_tree: one walk of the category query, the same TreeContent, compress, one blob update.
// Returns the content it stored.
Bytes FloorUpdateTree(sqlite3* db, Iconv& to_gbk);

// show_saved_tree: read the blob, uncompress, walk the records. Returns the record count.
std::size_t FloorShowSavedTree(sqlite3* db);

// search: one prepared SELECT of category, name and 功能主治 with LIKE, texts in GBK, the
// summary cut to 100 bytes. Rows of three texts.
std::vector<std::vector<Text>> FloorSearch(sqlite3* db, Iconv& to_gbk, const std::string& utf8_term);

// show_entry: one SELECT of the 13 page columns by name, texts in GBK.
std::vector<Text> FloorShowEntry(sqlite3* db, Iconv& to_gbk, const std::string& utf8_name);

// pack: compress + uncompress.
std::size_t FloorPack(const Bytes& data, Bytes& packed, Bytes& unpacked);

}  // namespace kelmor::bench
