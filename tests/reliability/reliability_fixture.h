// A kelmor.db with two categories (one with a child and an entry) in both collections and its
// saved trees, and the program started on it through the test driver.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "runtime/value.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"

namespace kelmor::test {

// Makes the book file (schema, rows, saved trees written by the program's own 更新).
void MakeBookFile(const std::filesystem::path& file);

// One run of the program on a file: started in the constructor, ended in the destructor.
class Session {
 public:
  explicit Session(const std::filesystem::path& file);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Application& app() { return *app_; }
  TestDriver& driver() { return driver_; }

  // Chooses a popup-menu item after a right click on the item (-1: empty space).
  void Menu(const Text& caption, int item = -1);
  // The index of the first tree item with this text, -1 when none.
  int Item(const Text& text);
  // Whether the program's connection has no transaction open.
  bool NoOpenTransaction();

 private:
  TestDriver driver_;
  std::unique_ptr<Application> app_;
};

}  // namespace kelmor::test
