// The page's print commands, which its own menu and Ctrl+P start: 打印… and 导出PDF…. They print
// the entry the page shows and change nothing in the book.
#pragma once

#include "app/application.h"
#include "app/collection.h"
#include "runtime/value.h"

namespace kelmor {

// The line above every printed sheet of entry `name`'s page: the entry and its collection.
Text PageHeader(const CollectionDescription& c, const Text& name);

// 打印…: the system print dialog for the page.
void PrintShownPage(Application& app);
// 导出PDF…: asks for a file (the entry's name with ".pdf", in the documents folder) and writes
// the page there as PDF. A file that cannot be written is reported with its name and the reason.
void ExportShownPage(Application& app);

}  // namespace kelmor
