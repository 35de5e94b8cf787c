// What the benchmarks run on: generated databases of 20,000 and 100,000 herbs in a temporary
// folder and one headless Application on them, with the main window and the search window
// loaded (nobody sees them).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "bench/floors.h"
#include "runtime/value.h"

namespace kelmor::bench {

class BenchWorld {
 public:
  // Generates the databases (100,000 herbs only when `large`) and stores the saved tree of each.
  explicit BenchWorld(bool large);
  ~BenchWorld();
  BenchWorld(const BenchWorld&) = delete;
  BenchWorld& operator=(const BenchWorld&) = delete;

  Application& app() { return *app_; }
  const std::string& small_file() const { return small_file_; }
  const std::string& large_file() const { return large_file_; }

  // Points the application's Database at another file and shows its saved herb tree.
  void UseDatabase(const std::string& file);

  // Empties the search results list, so that each FillResults starts from nothing.
  void ClearResults();

  // GBK name and UTF-8 name of the last herb in table order of the 20,000.
  Text last_herb;
  std::string last_herb_utf8;
  // 1 MB of tree content, and 1 MB of Chinese text in GBK.
  Bytes tree_content_1mb;
  Text chinese_1mb;

  // A connection of the floors' own on the 20,000 herbs, beside the application's.
  sqlite3* floor_connection() const { return floor_connection_.get(); }

  Iconv to_gbk{"CP936", "UTF-8"};
  Iconv to_utf8{"UTF-8", "CP936"};

 private:
  std::filesystem::path dir_;
  std::string small_file_;
  std::string large_file_;
  std::unique_ptr<Application> app_;
  Connection floor_connection_;
};

}  // namespace kelmor::bench
