// Operations whose windows and statements are still being built: they exist so that every menu
// item and button is wired, and do nothing yet. Each moves to its own file when it is written.
#include "app/commands.h"

namespace kelmor {

void AddCategory(Application&) {}
void AddEntry(Application&) {}
void StartRename(Application&) {}
void EditEntry(Application&) {}
void DeleteNode(Application&) {}
void CompactDatabase(Application&) {}
void BackupDatabase(Application&) {}
std::optional<bool> FinishRename(Application&, int) {
  return false;
}

}  // namespace kelmor
