// Operations whose windows and statements are still being built: they exist so that every menu
// item and button is wired, and do nothing yet. Each moves to its own file when it is written.
#include "app/commands.h"

namespace kelmor {

void AddEntry(Application&) {}
void EditEntry(Application&) {}

}  // namespace kelmor
