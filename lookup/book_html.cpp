#include "lookup/book_html.h"

#include <optional>
#include <set>

#include "app/category_tree.h"
#include "app/entry_view.h"
#include "lookup/terminal_text.h"
#include "runtime/tree_content.h"
#include "sqlite_access/sqlite_table.h"

namespace kelmor::lookup {

namespace {

constexpr const char* kStyle = R"(
:root { color-scheme: light; }
body { margin: 0 auto; max-width: 46em; padding: 0 1em 3em; line-height: 1.6;
  font-family: "AR PL UMing CN", "AR PL UMing TW", SimSun, "Songti SC", serif; }
h1 { font-size: 1.6em; }
h2 { font-size: 1.4em; border-bottom: 2px solid #555; }
h3 { font-size: 1.2em; }
h4 { font-size: 1.05em; margin: 0; }
a { color: #174a7c; }
nav ul { list-style: none; padding-left: 0; }
nav li { margin: .3em 0; }
nav ul ul { padding-left: 1em; }
nav .entries a { display: inline-block; margin-right: .8em; }
article { border-top: 1px solid #ccc; padding: .6em 0; }
.page { white-space: pre-wrap; overflow-wrap: anywhere; }
.top { text-align: right; font-size: .85em; margin: .2em 0 0; }
@media print {
  body { max-width: none; padding: 0; font-size: 11pt; }
  a { color: inherit; text-decoration: none; }
  .top { display: none; }
  nav, section.collection { break-after: page; }
  article { break-inside: avoid; }
  h2, h3, h4 { break-after: avoid; }
}
)";

const char* Caption(Collection c) {
  return c == Collection::Prescriptions ? "药方" : "中药";
}

// Text for HTML content and attribute values.
std::string Escaped(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char ch : utf8) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += ch;
    }
  }
  return out;
}

std::string Html(const Text& gbk) {
  return Escaped(ToUtf8(gbk));
}

// The entry names of the collection's table, in table order; empty names (the search skips them
// too) left out.
std::vector<Text> EntryNames(const SqliteDB& db, Collection c) {
  const CollectionDescription& d = Describe(c);
  std::vector<Text> names;
  SqliteTable table;
  if (table.Open(d.entry_table, db)) {
    while (table.Next()) {
      Text name = table.ReadText(d.name_column);
      if (!name.empty()) names.push_back(std::move(name));
    }
  }
  table.Close();
  return names;
}

std::string Digit(Collection c) {
  return std::to_string(static_cast<int>(c));
}

std::string ChapterId(Collection c, std::size_t chapter) {
  return "c" + Digit(c) + "-" + std::to_string(chapter + 1);
}

std::string EntryId(Collection c, std::size_t entry) {
  return "e" + Digit(c) + "-" + std::to_string(entry + 1);
}

struct Part {
  Collection collection;
  std::vector<Chapter> chapters;
};

void AppendContents(std::string& out, const std::vector<Part>& parts) {
  out += "<nav id=\"toc\">\n<h2>" + Html("目录") + "</h2>\n<ul>\n";
  for (const Part& part : parts) {
    out += "<li><a href=\"#c" + Digit(part.collection) + "\">" + Html(Caption(part.collection)) +
           "</a>\n<ul>\n";
    std::size_t entry = 0;
    for (std::size_t i = 0; i < part.chapters.size(); ++i) {
      const Chapter& chapter = part.chapters[i];
      out += "<li><a href=\"#" + ChapterId(part.collection, i) + "\">" + Html(chapter.title) +
             "</a>";
      if (!chapter.entries.empty()) {
        out += "<div class=\"entries\">";
        for (const Text& name : chapter.entries) {
          out += "<a href=\"#" + EntryId(part.collection, entry++) + "\">" + Html(name) + "</a> ";
        }
        out += "</div>";
      }
      out += "</li>\n";
    }
    out += "</ul></li>\n";
  }
  out += "</ul>\n</nav>\n";
}

void AppendPart(std::string& out, const SqliteDB& db, const Part& part) {
  const Collection c = part.collection;
  out += "<section class=\"collection\" id=\"c" + Digit(c) + "\">\n<h2>" + Html(Caption(c)) +
         "</h2>\n";
  std::size_t entry = 0;
  for (std::size_t i = 0; i < part.chapters.size(); ++i) {
    const Chapter& chapter = part.chapters[i];
    out += "<section class=\"chapter\" id=\"" + ChapterId(c, i) + "\">\n<h3>" +
           Html(chapter.title) + "</h3>\n";
    for (const Text& name : chapter.entries) {
      const std::optional<Text> page = ComposeEntryPage(db, c, name);
      out += "<article id=\"" + EntryId(c, entry++) + "\">\n<h4>" + Html(name) +
             "</h4>\n<div class=\"page\">" + Escaped(PageToUtf8(page.value_or(Text()))) +
             "</div>\n<p class=\"top\"><a href=\"#toc\">" + Html("目录") + "</a></p>\n</article>\n";
    }
    out += "</section>\n";
  }
  out += "</section>\n";
}

}  // namespace

std::vector<Chapter> ReadChapters(const SqliteDB& db, Collection c) {
  const std::vector<Text> names = EntryNames(db, c);
  std::set<Text> unplaced(names.begin(), names.end());
  std::vector<Chapter> chapters;
  Chapter unfiled{"未归类", {}};
  // The chapter whose subtree the walk is in; none under a top-level item that is no category.
  std::optional<std::size_t> current;
  for (const TreeContentRecord& item : ParseTreeContent(LoadTree(db, c))) {
    if (item.level <= 1) {
      current.reset();
      if (item.flags & kTreeFlagBold) {
        chapters.push_back({item.text, {}});
        current = chapters.size() - 1;
        continue;
      }
    }
    if (unplaced.erase(item.text) == 0) continue;
    (current ? chapters[*current] : unfiled).entries.push_back(item.text);
  }
  for (const Text& name : names) {
    if (unplaced.erase(name) != 0) unfiled.entries.push_back(name);
  }
  if (!unfiled.entries.empty()) chapters.push_back(std::move(unfiled));
  return chapters;
}

std::string ComposeBookHtml(const SqliteDB& db, std::span<const Collection> collections) {
  std::vector<Part> parts;
  for (Collection c : collections) parts.push_back({c, ReadChapters(db, c)});

  std::string out =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      Html("【Kelmor】") + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<h1>" +
      Html("【Kelmor】") + "</h1>\n";
  AppendContents(out, parts);
  for (const Part& part : parts) AppendPart(out, db, part);
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace kelmor::lookup
