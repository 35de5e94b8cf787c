// The fixture of the application tests: a database file in a temporary folder, the test driver
// playing the user, and the application started on that file.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "platform/window.h"
#include "runtime/dialogs.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor::test {

class AppTest : public ::testing::Test {
 protected:
  ~AppTest() override {
    app_.reset();
    ResetWindowFramework();
  }

  std::string File() const { return (dir_ / "kelmor.db").string(); }

  // Creates the application on File() and shows the main window.
  void StartApp() {
    ApplicationOptions options;
    options.database_file = File();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
  }

  // Makes File(): the book's schema, the herbs' sample tree (甲 with 人参, 丙) and the record of
  // the herb 人参 with these fields.
  void MakeSampleBook(const std::map<Text, Text>& herb_fields = {}) {
    SqliteDB db;
    ASSERT_TRUE(db.Open(File(), true));
    ASSERT_TRUE(CreateSchema(db) && InsertSampleTree(db, 1));
    ASSERT_TRUE(InsertHerb(db, "人参", "甲", herb_fields));
  }

  // Chooses a popup-menu item after a right click on the tree item (-1: empty space).
  void Menu(const char* caption, int item = -1) {
    driver_.ChooseMenuItem(Text(caption));
    driver_.RightClickTreeItem(app_->Tree(), item);
  }

  // Where the focus goes with each of `count` presses of Tab (Shift+Tab when backwards),
  // pressed where the focus is: the names of the controls, in order.
  std::vector<Text> TabOrder(int count, bool backwards = false) {
    std::vector<Text> names;
    for (int i = 0; i < count; ++i) {
      const auto focus = ControlFromHandle(platform::GetFocus());
      if (!focus) break;
      driver_.PressKey(*focus, 9, backwards ? TestDriver::kShift : 0);
      const auto now = ControlFromHandle(platform::GetFocus());
      names.push_back(now ? now->name : Text("?"));
    }
    return names;
  }

  // Where the first Tab and the first Shift+Tab take the focus from the window itself (a window
  // just activated, a click on its empty background): the names of the two controls.
  std::vector<Text> FirstTabStops(WindowId window) {
    std::vector<Text> names;
    for (const unsigned shift : {0u, TestDriver::kShift}) {
      driver_.Focus({window, ""});
      driver_.PressKey({window, ""}, 9, shift);
      const auto now = ControlFromHandle(platform::GetFocus());
      names.push_back(now ? now->name : Text("?"));
    }
    return names;
  }

  // The MsgBox flags a message box was shown with: its buttons and icon, without the modality.
  static int Flags(const platform::MessageBoxRequest& box) {
    return static_cast<int>(box.type & 0xFF);
  }

  // The first tree item with the text, -1 when there is none.
  int Item(const Text& text) {
    for (int i = 0; i < GetTreeItemCount(app_->Tree()); ++i) {
      if (GetTreeItemText(app_->Tree(), i) == text) return i;
    }
    return -1;
  }

  // The values of one column of the rows a query returns, read through a second connection.
  std::vector<Text> Column(const Text& sql, const char* column) {
    return ColumnValues(File(), sql, column);
  }

  TempDir dir_;
  TestDriver driver_;
  std::unique_ptr<Application> app_;
};

}  // namespace kelmor::test
