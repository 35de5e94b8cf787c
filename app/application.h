// The application-wide objects of the reference book and their lifetime. One Application is
// created before the main window; it registers the three windows, wires the main window's events
// and registers the end-of-program routine, which closes and releases the objects (never after a
// run-time error, which ends the process without it).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/collection.h"
#include "app/window_templates.h"
#include "runtime/char_format.h"
#include "runtime/value.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "treeview/tree_view_accessor.h"

namespace kelmor {

// What the entry editor does when it opens; none until an editor command sets it.
enum class EntryEditMode { None = 0, Add = 1, Edit = 2 };

struct ApplicationOptions {
  // The database file; empty: ProgramFile("kelmor.db").
  std::string database_file;
};

struct Application {
  explicit Application(ApplicationOptions options = {});
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // ---- The application-wide objects ----
  std::unique_ptr<SqliteDB> database;              // constructed, not open, until StartUp
  Collection collection_mode = Collection::Herbs;  // set again by StartUp
  EntryEditMode entry_edit_mode = EntryEditMode::None;
  Text search_condition;  // SQL condition of the last search
  // The entry the editor edits: the condition that finds its record, and the boxes whose stored
  // text the program could not read, which keep that text unless the user changes them.
  Text edited_entry;
  std::vector<const char*> unreadable_boxes;
  std::unique_ptr<TreeViewAccessor> tree_accessor;
  std::unique_ptr<CharFormat> detail_char_format;

  std::string database_file;  // GBK path as handed to SqliteDB.Open

  // ---- Windows ----
  WindowId main_window = 0;
  WindowId search_window = 0;
  WindowId editor_window = 0;

  // What the current collection's tables, columns and titles are.
  const CollectionDescription& CurrentCollection() const { return Describe(collection_mode); }

  ControlRef Main(const char* control) const { return {main_window, control}; }
  ControlRef Tree() const { return Main(main_controls::kTree); }
  ControlRef Page() const { return Main(main_controls::kPage); }
  ControlRef FieldChooser() const { return Main(main_controls::kFieldChooser); }
  ControlRef SearchBox() const { return Main(main_controls::kSearchBox); }

  // ---- Commands and the event loop ----
  // While a tree build (or the filling of the field chooser) lets pending events through, a
  // command that would change the tree, the database or the collection must not start: it would
  // interleave with the half-done build. Every such handler asks this first.
  bool CommandMayStart() const { return busy_depth_ == 0; }
  // A handler that runs `command` only when CommandMayStart(), inside a CommandScope.
  std::function<void()> Guarded(std::function<void()> command);

  // Marks a running command. A close request (close box, 取消) that arrives while the command
  // lets events through is kept until the command has finished, and then made again: closing
  // a window under a running command would leave it writing to a window that is gone and roll
  // back what the user asked for.
  class CommandScope {
   public:
    explicit CommandScope(Application& app);
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

   private:
    Application& app_;
  };
  // The answer to a window's close request: false when it is kept for the running command.
  bool MayClose(WindowId window);

  // Marks the span of a build that processes pending events.
  class BusyScope {
   public:
    explicit BusyScope(Application& app) : app_(app) { ++app_.busy_depth_; }
    ~BusyScope() { --app_.busy_depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    Application& app_;
  };

  // The end-of-program routine: closes and releases Database, then the tree accessor, then
  // SearchCondition and DetailCharFormat. Runs once; later calls do nothing.
  void End();
  bool ended() const { return ended_; }

 private:
  int busy_depth_ = 0;
  // Per running command, innermost last: the windows whose close requests it keeps.
  std::vector<std::vector<WindowId>> kept_closes_;
  bool ended_ = false;
  std::shared_ptr<Application*> self_;  // lets the registered end routine outlive this object
};

}  // namespace kelmor
