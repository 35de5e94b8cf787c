#include "app/application.h"

#include <algorithm>

#include "app/entry_editor.h"
#include "app/main_window.h"
#include "app/search.h"
#include "app/window_templates.h"
#include "runtime/fatal.h"
#include "runtime/file_commands.h"
#include "runtime/window_commands.h"

namespace kelmor {

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
  for (const WindowId window : {main_window, search_window, editor_window}) {
    BindEvent({window, ""}, Event::CloseRequested,
              [this, window](int) -> std::optional<bool> { return MayClose(window); });
  }
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
    if (!CommandMayStart()) return;
    CommandScope running(*this);
    command();
  };
}

Application::CommandScope::CommandScope(Application& app) : app_(app) {
  app_.kept_closes_.emplace_back();
}

Application::CommandScope::~CommandScope() {
  const std::vector<WindowId> kept = std::move(app_.kept_closes_.back());
  app_.kept_closes_.pop_back();
  // Posted, so the request reaches the window after the handler that ran the command.
  for (const WindowId window : kept) CloseWindow(window);
}

bool Application::MayClose(WindowId window) {
  // Busy without a command: the field chooser filled at start-up, which stops by itself when
  // the window has gone.
  if (CommandMayStart() || kept_closes_.empty()) return true;
  std::vector<WindowId>& kept = kept_closes_.back();
  if (std::find(kept.begin(), kept.end(), window) == kept.end()) kept.push_back(window);
  return false;
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
