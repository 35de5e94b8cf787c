// The search over one column of the current collection and its results window.
#pragma once

#include <functional>

#include "app/application.h"
#include "runtime/value.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {

// One row of the results list: its three columns.
struct SearchResultRow {
  Text category;
  Text name;
  Text summary;  // the collection's summary column, cut as the list shows it
};

// The rows the results window lists for `condition` (a SearchCondition) in collection `c`, in
// table order, one call of `row` each; `row` returns false to stop. `before_step`, when given,
// runs before each step of the walk and stops it by returning false. False when the entry table
// cannot be opened.
bool WalkSearchResults(const SqliteDB& db, Collection c, const Text& condition,
                       const std::function<bool(const SearchResultRow&)>& row,
                       const std::function<bool()>& before_step = {});

// Results window created: the title of the collection and one row per match, in table order.
void FillResults(Application& app);

// Double-click in the results list: selects the entry in the tree, shows its page and marks the
// search term there.
void OpenResult(Application& app);

// Binds the results window's events.
void WireSearchWindow(Application& app);

}  // namespace kelmor
