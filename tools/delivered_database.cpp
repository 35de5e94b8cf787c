#include "tools/delivered_database.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "app/application.h"
#include "app/category_tree.h"
#include "app/main_window.h"
#include "app/statements.h"
#include "runtime/codec.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tools/book_schema.h"

namespace kelmor::tools {

namespace {

namespace fs = std::filesystem;

// A content file and the collection its rows go into.
struct ContentFile {
  const char* file;
  Collection collection;
};

const ContentFile kHerbContent{"herbs.tsv", Collection::Herbs};
const ContentFile kPrescriptionContent{"prescriptions.tsv", Collection::Prescriptions};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  while (true) {
    const auto tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool InsertCollection(SqliteDB& db, const ContentFile& content, const ContentTable& table,
                      std::string& error) {
  const Collection c = content.collection;
  const CollectionDescription& d = Describe(c);
  std::map<Text, std::size_t> position;
  for (std::size_t i = 0; i < table.header.size(); ++i) position[table.header[i]] = i;
  std::vector<const char*> needed = {d.name_column, "类别"};
  needed.insert(needed.end(), d.fields.begin(), d.fields.end());
  for (const char* column : needed) {
    if (!position.count(column)) {
      error = std::string(content.file) + ": no column " + LocalToUtf8(column).value_or("?");
      return false;
    }
  }
  const std::size_t category = position.at("类别");
  const std::size_t name = position.at(d.name_column);
  // First-level rows in the order the categories first appear, then one row per entry.
  std::vector<Text> categories;
  for (const auto& row : table.rows) {
    if (std::find(categories.begin(), categories.end(), row[category]) == categories.end()) {
      categories.push_back(row[category]);
    }
  }
  for (const Text& cat : categories) {
    if (!db.Execute(statements::InsertCategory(c, cat))) {
      error = "cannot insert a category";
      return false;
    }
  }
  for (const auto& row : table.rows) {
    std::vector<Text> fields;
    for (const char* column : d.fields) fields.push_back(row[position.at(column)]);
    // Only under the first-level row: an entry may share its category's name.
    const Text sql = statements::InsertEntryTreeRow(c, row[name], row[category]) + " and xm=0;" +
                     statements::InsertEntry(c, row[name], row[category], fields);
    if (!db.Execute(sql)) {
      error = "cannot insert an entry";
      return false;
    }
  }
  return true;
}

}  // namespace

bool SaveBothTrees(const fs::path& file, std::string& error) {
  ApplicationOptions options;
  options.database_file = file.string();
  Application app(options);
  if (!LoadWindow(app.main_window)) {
    error = "cannot load the main window";
    return false;
  }
  bool ok = true;
  for (const Collection c : kCollections) {
    SwitchCollection(app, c);
    UpdateTree(app);
    if (LoadTree(app, c).empty()) ok = false;
  }
  CloseWindow(app.main_window);
  DoEvents();
  app.End();
  if (!ok) error = "a saved tree is empty";
  return ok;
}

bool ReadContentTable(const fs::path& file, ContentTable& table, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file.string() + ": cannot read";
    return false;
  }
  table = {};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<Text> fields;
    int column = 0;
    for (const std::string& utf8 : SplitTabs(line)) {
      ++column;
      auto gbk = Utf8ToLocal(utf8);
      if (!gbk) {
        error = file.string() + ":" + std::to_string(number) + ": field " + std::to_string(column) +
                " is not representable in GBK";
        return false;
      }
      fields.push_back(std::move(*gbk));
    }
    if (table.header.empty()) {
      table.header = std::move(fields);
    } else if (fields.size() != table.header.size()) {
      error = file.string() + ":" + std::to_string(number) + ": " + std::to_string(fields.size()) +
              " fields, the header has " + std::to_string(table.header.size());
      return false;
    } else {
      table.rows.push_back(std::move(fields));
    }
  }
  return true;
}

bool MakeDeliveredDatabase(const fs::path& content_dir, const fs::path& target,
                           std::string& error) {
  std::error_code ec;
  if (fs::exists(target, ec)) {
    error = target.string() + " exists; it is never overwritten";
    return false;
  }
  ContentTable herbs, prescriptions;
  if (!ReadContentTable(content_dir / kHerbContent.file, herbs, error) ||
      !ReadContentTable(content_dir / kPrescriptionContent.file, prescriptions, error)) {
    return false;
  }
  const fs::path part = target.string() + ".part";
  fs::remove(part, ec);
  bool ok = false;
  {
    SqliteDB db;
    ok = db.Open(part.string(), true) && db.Execute(kDatabaseSchema) && db.BeginTransaction() &&
         InsertCollection(db, kHerbContent, herbs, error) &&
         InsertCollection(db, kPrescriptionContent, prescriptions, error) && db.CommitTransaction();
    if (!ok && error.empty()) error = "cannot write " + part.string();
    db.Close();
  }
  ok = ok && SaveBothTrees(part, error);
  // link() refuses an existing target, so a file made meanwhile is not replaced either.
  if (ok && ::link(part.c_str(), target.c_str()) != 0) {
    error = "cannot create " + target.string();
    ok = false;
  }
  fs::remove(part, ec);
  return ok;
}

}  // namespace kelmor::tools
