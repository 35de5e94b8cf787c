#include "app/program.h"

#include "app/application.h"
#include "runtime/dialogs.h"
#include "runtime/fatal.h"
#include "runtime/window_framework.h"

namespace kelmor {
int RunProgram(const Text& program_folder) {
  // Without its folder the book would open, compact and back up files at the root of the file
  // system instead.
  if (program_folder.empty()) {
    MsgBox(Value::FromText(kUnusableFolderMessage), kMsgBoxStop, Text("【Kelmor】"));
    return 1;
  }
  ApplicationOptions options;
  options.database_file = program_folder + "/kelmor.db";
  Application app(options);
  RunMainWindow(app.main_window);
  RunEndRoutine();
  return 0;
}

}  // namespace kelmor
