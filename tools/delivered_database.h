// Makes the delivered kelmor.db from the sample content (UTF-8, tab-separated, one header line):
// the five tables, the category and entry rows, and both saved trees, built by the program's own
// tree code.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/value.h"

namespace kelmor::tools {

// One table of content: the header names and the rows, every field already GBK.
struct ContentTable {
  std::vector<Text> header;
  std::vector<std::vector<Text>> rows;
};

// Reads a content file. False with a message naming file, line and column when a line has the
// wrong number of fields or a field is not representable in GBK.
bool ReadContentTable(const std::filesystem::path& file, ContentTable& table, std::string& error);

// Writes `target` (which must not exist: an existing file is never overwritten) from
// content_dir/herbs.tsv and content_dir/prescriptions.tsv. False with a message on any failure;
// then no target file is left behind.
bool MakeDeliveredDatabase(const std::filesystem::path& content_dir,
                           const std::filesystem::path& target, std::string& error);

// Fills both saved trees of the file with the program's own tree build ("更新" in each
// collection), on a main window that nobody sees. False with a message when one stays empty.
bool SaveBothTrees(const std::filesystem::path& file, std::string& error);

}  // namespace kelmor::tools
