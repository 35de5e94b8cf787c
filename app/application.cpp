#include "app/application.h"

#include "app/entry_editor.h"
#include "app/main_window.h"
#include "app/search.h"
#include "app/window_templates.h"
#include "runtime/fatal.h"
#include "runtime/file_commands.h"

namespace kelmor {

Text CollectionDigit(int mode) {
  return mode == kPrescriptions ? "2" : "1";
}

Application::Application(ApplicationOptions options)
    : database(std::make_unique<SqliteDB>()),
      tree_accessor(std::make_unique<TreeViewAccessor>()),
      detail_char_format(
          std::make_unique<CharFormat>(CharFormat{"宋体", 9, 0, 0, kAutomaticColour})),
      database_file(std::move(options.database_file)),
      self_(std::make_shared<Application*>(this)) {
  if (database_file.empty()) database_file = ProgramFile("kelmor.db");
  main_window = RegisterWindow(MainWindowTemplate());
  search_window = RegisterWindow(SearchWindowTemplate());
  editor_window = RegisterWindow(EditorWindowTemplate());
  WireMainWindow(*this);
  WireSearchWindow(*this);
  WireEditorWindow(*this);
  // The routine may be run after this object is gone (tests create several); it then does
  // nothing.
  std::weak_ptr<Application*> weak = self_;
  RegisterEndRoutine([weak] {
    if (auto app = weak.lock()) (*app)->End();
  });
}

Application::~Application() {
  self_.reset();
}

std::function<void()> Application::Guarded(std::function<void()> command) {
  return [this, command = std::move(command)] {
    if (CommandMayStart()) command();
  };
}

void Application::End() {
  if (ended_) return;
  ended_ = true;
  if (database) database->Close();
  database.reset();
  tree_accessor.reset();
  search_condition.clear();
  search_condition.shrink_to_fit();
  detail_char_format.reset();
}

}  // namespace kelmor
