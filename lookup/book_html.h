// The whole book as one self-contained HTML document (UTF-8): each collection a part, its
// chapters the first-level categories of its saved tree in tree order, every entry's page once,
// a table of contents that links to each chapter and entry, and a style sheet for narrow screens
// and for print. No scripts and nothing fetched from elsewhere.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/collection.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor::lookup {

// One chapter: a first-level category and the entries under it, in tree order.
struct Chapter {
  Text title;
  std::vector<Text> entries;
};

// The chapters of a collection. An entry is filed under the first category in whose subtree the
// saved tree shows it; entries that the tree shows under no category, or does not show at all,
// close the collection in a chapter "未归类" of their own (in tree order, then table order), so
// that every entry of the table appears exactly once.
std::vector<Chapter> ReadChapters(const SqliteDB& db, Collection c);

std::string ComposeBookHtml(const SqliteDB& db, std::span<const Collection> collections);

}  // namespace kelmor::lookup
