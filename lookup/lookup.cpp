#include "lookup/lookup.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/category_tree.h"
#include "app/entry_view.h"
#include "app/main_window.h"
#include "app/search.h"
#include "app/statements.h"
#include "lookup/book_html.h"
#include "lookup/command_line.h"
#include "lookup/terminal_text.h"
#include "lookup/whole_file.h"
#include "runtime/codec.h"
#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor::lookup {

namespace {

constexpr const char* kProgram = "kelmor-lookup: ";

const char* Caption(Collection c) {
  return c == Collection::Prescriptions ? "药方" : "中药";
}

int Fail(std::ostream& err, int status, const std::string& utf8_message) {
  err << kProgram << utf8_message << '\n';
  return status;
}

// The tables a command reads, each asked once so that a file that is no book is reported with
// SQLite's own message before anything is printed.
bool BookReadable(SqliteDB& db, const Request& r) {
  std::vector<const char*> tables;
  if (r.command != Command::Tree) {
    for (Collection c : r.collections) tables.push_back(Describe(c).entry_table);
  }
  if (r.command == Command::Tree || r.command == Command::ExportHtml) tables.push_back("lbsj");
  for (const char* table : tables) {
    if (!db.Execute(Text("select * from ") + table + " limit 0")) return false;
  }
  return true;
}

int PrintEntry(const SqliteDB& db, const Request& r, std::ostream& out, std::ostream& err) {
  int printed = 0;
  for (Collection c : r.collections) {
    const std::optional<Text> page = ComposeEntryPage(db, c, r.name);
    if (!page) continue;
    if (printed++ > 0) out << '\n';
    out << PageToUtf8(*page) << '\n';
  }
  if (printed > 0) return kExitFound;
  return Fail(err, kExitNothing, ToUtf8("没有名为“") + ToUtf8(r.name) + ToUtf8("”的条目"));
}

int PrintSearch(const SqliteDB& db, const Request& r, std::ostream& out, std::ostream& err) {
  // The field is put into the statement as a column name, so it must be one of the fields the
  // program's chooser offers, never any text.
  std::vector<Collection> searched;
  std::vector<Text> offered;
  for (Collection c : r.collections) {
    for (const Text& field : SearchFields(db, c)) {
      if (field == r.field) searched.push_back(c);
      if (std::find(offered.begin(), offered.end(), field) == offered.end()) {
        offered.push_back(field);
      }
    }
  }
  if (searched.empty()) {
    Text list;
    for (const Text& field : offered) list += (list.empty() ? "" : "、") + field;
    return Fail(err, kExitBadUse,
                ToUtf8("没有查询项目“") + ToUtf8(r.field) + ToUtf8("”；可选的项目：") +
                    ToUtf8(list));
  }
  const Text condition = statements::SearchCondition(r.field, r.term);
  int rows = 0;
  for (Collection c : searched) {
    WalkSearchResults(db, c, condition, [&](const SearchResultRow& row) {
      out << CellToUtf8(row.name) << '\t' << CellToUtf8(row.category) << '\t'
          << CellToUtf8(row.summary) << '\n';
      ++rows;
      return true;
    });
  }
  if (rows > 0) return kExitFound;
  return Fail(err, kExitNothing,
              ToUtf8("项目“") + ToUtf8(r.field) + ToUtf8("”中没有含“") + ToUtf8(r.term) +
                  ToUtf8("”的条目"));
}

int PrintTree(const SqliteDB& db, const Request& r, std::ostream& out, std::ostream& err) {
  // With both collections each gets its caption as a heading and its items one step in.
  const bool headings = r.collections.size() > 1;
  int items = 0;
  for (Collection c : r.collections) {
    if (headings) out << ToUtf8(Caption(c)) << '\n';
    for (const TreeContentRecord& item : ParseTreeContent(LoadTree(db, c))) {
      const int depth = item.level - 1 + (headings ? 1 : 0);
      out << std::string(static_cast<std::size_t>(std::max(depth, 0)) * 2, ' ')
          << CellToUtf8(item.text) << '\n';
      ++items;
    }
  }
  if (items > 0) return kExitFound;
  return Fail(err, kExitNothing, ToUtf8("书中没有保存的类别树"));
}

int ExportHtml(const SqliteDB& db, const Request& r, std::ostream& out, std::ostream& err) {
  const std::string html = ComposeBookHtml(db, r.collections);
  if (r.html_file == "-") {
    out << html;
    return kExitFound;
  }
  std::string reason;
  if (!WriteWholeFile(r.html_file, html, reason)) {
    return Fail(err, kExitBadUse, r.html_file + ": " + reason);
  }
  return kExitFound;
}

}  // namespace

int RunLookup(std::span<const std::string> args, const Text& program_folder, std::ostream& out,
              std::ostream& err) {
  std::string error;
  const std::optional<Request> request = ParseCommandLine(args, error);
  if (!request) {
    Fail(err, kExitBadUse, error);
    err << ToUtf8("用法见 kelmor-lookup --help") << '\n';
    return kExitBadUse;
  }
  const Request& r = *request;
  if (r.command == Command::Help) {
    out << HelpText();
    return kExitFound;
  }

  Text file;
  std::string shown;  // the file's name in messages, as the user knows it
  if (r.database_file) {
    shown = *r.database_file;
    std::optional<Text> local = Utf8ToLocal(shown);
    if (!local) {
      return Fail(err, kExitBadUse, shown + ToUtf8(": 路径中含有本程序不能处理的字符"));
    }
    file = std::move(*local);
  } else {
    if (program_folder.empty()) {
      return Fail(err, kExitBadUse,
                  ToUtf8("程序所在文件夹的路径中含有本程序不能处理的字符；请用 --db 指定书"));
    }
    file = program_folder + "/kelmor.db";
    shown = ToUtf8(file);
  }

  SqliteDB db;
  if (!db.OpenReadOnly(file) || !BookReadable(db, r)) {
    return Fail(err, kExitBadUse, shown + ": " + ToUtf8(db.last_error_message()));
  }
  switch (r.command) {
    case Command::Entry: return PrintEntry(db, r, out, err);
    case Command::Search: return PrintSearch(db, r, out, err);
    case Command::Tree: return PrintTree(db, r, out, err);
    case Command::ExportHtml: return ExportHtml(db, r, out, err);
    case Command::Help: break;
  }
  return kExitFound;
}

}  // namespace kelmor::lookup
