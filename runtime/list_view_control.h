// The list view (report view) as the application drives it.
#pragma once

#include <optional>

#include "runtime/value.h"
#include "runtime/window_framework.h"

namespace kelmor {

// The list view's current-row property: the first selected row, -1 when none.
int GetCurrentRow(const ControlRef& list);
// Selects one row (-1 clears the selection).
void SetCurrentRow(const ControlRef& list, int row);

int GetRowCount(const ControlRef& list);

// Inserts a row at `position` (appends when omitted or negative) and returns its index.
int AddRow(const ControlRef& list, std::optional<int> position = {}, std::optional<Text> text = {},
           std::optional<int> image = {}, std::optional<int> state_image = {},
           std::optional<int> indent = {}, std::optional<int> data = {});

bool SetCellText(const ControlRef& list, int row, std::optional<int> column = {},
                 std::optional<Text> text = {});
Text GetCellText(const ControlRef& list, int row, std::optional<int> column = {});  // whole

}  // namespace kelmor
