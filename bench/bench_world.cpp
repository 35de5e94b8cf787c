#include "bench/bench_world.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "app/category_tree.h"
#include "app/statements.h"
#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/codec.h"
#include "runtime/window_commands.h"
#include "tools/generated_database.h"

namespace kelmor::bench {

namespace {

void Generate(const std::string& file, int herbs, int categories) {
  tools::GeneratedSize size;
  size.herbs = herbs;
  size.herb_categories = categories;
  size.prescriptions = herbs / 10;
  size.prescription_categories = categories / 10 + 1;
  std::string error;
  // The saved trees are stored below, by the application that is measured.
  if (!tools::MakeGeneratedDatabase(file, size, false, error)) throw std::runtime_error(error);
}

std::string LastHerbUtf8(const std::string& file) {
  Connection db = OpenConnection(file);
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db.get(),
                     reinterpret_cast<const char*>(u8"SELECT 药物名称 FROM zymm ORDER BY id DESC LIMIT 1"),
                     -1, &raw, nullptr);
  Statement s(raw);
  if (sqlite3_step(s.get()) != SQLITE_ROW) throw std::runtime_error("no herbs in " + file);
  return reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
}

}  // namespace

BenchWorld::BenchWorld(bool large) {
  char pattern[] = "/tmp/kelmor-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  dir_ = pattern;
  small_file_ = (dir_ / "herbs-20k.db").string();
  Generate(small_file_, 20000, 200);
  if (large) {
    large_file_ = (dir_ / "herbs-100k.db").string();
    Generate(large_file_, 100000, 1000);
  }

  ApplicationOptions options;
  options.database_file = small_file_;
  app_ = std::make_unique<Application>(options);
  if (!LoadWindow(app_->main_window)) throw std::runtime_error("cannot load the main window");
  if (large) {
    UseDatabase(large_file_);
    UpdateTree(*app_);
  }
  UseDatabase(small_file_);
  UpdateTree(*app_);

  app_->search_condition = statements::SearchCondition("功能主治", tools::kFewHitsTerm);
  LoadWindow(app_->search_window, {}, false);

  last_herb_utf8 = LastHerbUtf8(small_file_);
  last_herb = Utf8ToLocal(last_herb_utf8).value_or(Text());

  const Bytes tree = LoadTree(*app_, Collection::Herbs);
  if (tree.empty()) throw std::runtime_error("the saved tree is empty");
  while (tree_content_1mb.size() < (1u << 20)) {
    tree_content_1mb.insert(tree_content_1mb.end(), tree.begin(), tree.end());
  }
  const Text text = Utf8ToLocal(reinterpret_cast<const char*>(
                                    u8"清热解毒，凉血止痛。用于外感风寒，头身疼痛，鼻塞流涕。"))
                        .value_or(Text());
  while (chinese_1mb.size() < (1u << 20)) chinese_1mb += text;
  floor_connection_ = OpenConnection(small_file_);
}

BenchWorld::~BenchWorld() {
  CloseWindow(app_->search_window);
  CloseWindow(app_->main_window);
  DoEvents();
  floor_connection_.reset();
  app_->End();
  app_.reset();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void BenchWorld::UseDatabase(const std::string& file) {
  app_->database->Close();
  app_->database->Open(file, false);
  app_->collection_mode = Collection::Herbs;
  ShowSavedTree(*app_, Collection::Herbs);
}

void BenchWorld::ClearResults() {
  platform::SendMessageA(WindowHandle({app_->search_window, "超级列表框1"}),
                         platform::LVM_DELETEALLITEMS, 0, 0);
}

}  // namespace kelmor::bench
