// The search over one column of the current collection and its results window.
#pragma once

#include "app/application.h"

namespace kelmor {

// Results window created: the title of the collection and one row per match, in table order.
void FillResults(Application& app);

// Double-click in the results list: selects the entry in the tree, shows its page and marks the
// search term there.
void OpenResult(Application& app);

// Binds the results window's events.
void WireSearchWindow(Application& app);

}  // namespace kelmor
