// The detail page of one entry.
#pragma once

#include "app/application.h"
#include "runtime/value.h"

namespace kelmor {

// Shows the first entry of the current collection whose name is `name` as the labelled page;
// without such an entry the page stays as it is.
void ShowEntry(Application& app, const Text& name);

// Applies DetailCharFormat as the page's default character format.
void ApplyDetailCharFormat(Application& app);

}  // namespace kelmor
