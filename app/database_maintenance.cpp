// Compaction of the open database file and its copy into the bak folder beside it. Both are
// silent: a failed vacuum leaves the file as it was, a failed copy leaves the older backup.
#include "app/commands.h"
#include "runtime/cursor_commands.h"
#include "runtime/file_commands.h"
#include "sqlite_access/sqlite_db.h"

namespace kelmor {
namespace {

// The database file in use and the folder it lies in. '/' is never a second byte of a GBK
// character, so the last one found is a real separator.
Text DatabaseFile(const Application& app) {
  return app.database_file.empty() ? ProgramFile("kelmor.db") : Text(app.database_file);
}

Text FolderOf(const Text& file) {
  const auto slash = file.rfind('/');
  return slash == Text::npos ? Text(".") : file.substr(0, slash);
}

void Vacuum(Application& app) {
  if (app.database) app.database->Vacuum();
}

}  // namespace

void CompactDatabase(Application& app) {
  WaitCursor();
  Vacuum(app);
  RestoreCursor();
}

void BackupDatabase(Application& app) {
  WaitCursor();
  // Compacted first, so that the copy is small.
  Vacuum(app);
  // Copied through the open connection rather than as a file: a book in write-ahead-log mode
  // keeps committed changes beside the file until a checkpoint, and a file copy would miss them.
  // A book that did not open has nothing to copy, and the older backup stays.
  if (app.database) app.database->BackupTo(FolderOf(DatabaseFile(app)) + "/bak/kelmor.db");
  RestoreCursor();
}

}  // namespace kelmor
