#include <sqlite3.h>

#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

#include "app/application.h"
#include "app/entry_page.h"
#include "app/entry_view.h"
#include "app/main_window.h"
#include "app/statements.h"
#include "fuzz/targets.h"
#include "runtime/codec.h"
#include "runtime/list_view_control.h"
#include "runtime/text_commands.h"
#include "runtime/window_commands.h"
#include "sqlite_access/sqlite_db.h"
#include "tools/book_schema.h"

namespace kelmor::fuzz {

namespace {

// One program on one database file for the whole run; the file goes at exit.
struct Book {
  std::filesystem::path file;
  std::unique_ptr<Application> app;

  Book() {
    file = std::filesystem::temp_directory_path() /
           ("kelmor-fuzz-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(file);
    {
      // The delivered schema, so that every page column the program reads is there.
      SqliteDB db;
      Require(db.Open(file.string(), true), "create");
      Require(db.Execute(tools::kDatabaseSchema), "schema");
      Require(db.Execute("insert into zylb(type,xm)values('甲',0);"
                         "insert into zymm(TYPE,药物名称,类别)values('甲','甲','甲'),('甲','乙','甲');"
                         "insert into yfmm(type,药方名称,类别)values('甲','丙','甲')"),
              "rows");
    }
    ApplicationOptions options;
    options.database_file = file.string();
    app = std::make_unique<Application>(options);
    Require(LoadWindow(app->main_window), "main window");
  }
  ~Book() {
    app.reset();
    std::filesystem::remove(file);
  }
};

Book& TheBook() {
  static Book book;
  return book;
}

// Pieces of the input: a length byte, then that many bytes; the last piece takes what is left.
class Pieces {
 public:
  explicit Pieces(Input input) : rest_(input) {}
  Bytes Next() {
    if (rest_.empty()) return {};
    const std::size_t n = std::min<std::size_t>(rest_[0], rest_.size() - 1);
    Bytes piece(rest_.begin() + 1, rest_.begin() + 1 + static_cast<long>(n));
    rest_ = rest_.subspan(1 + n);
    return piece;
  }

 private:
  Input rest_;
};

// Stores raw bytes in a column of the row with the given id, as a blob or as (unchecked) text.
void Store(sqlite3* db, const char* table, const char* column, int row, const Bytes& value,
           bool as_text) {
  const std::optional<std::string> name = LocalToUtf8(column);
  Require(name.has_value(), "column name converts");
  const std::string sql = std::string("UPDATE ") + table + " SET \"" + *name +
                          "\"=? WHERE rowid=" + std::to_string(row);
  sqlite3_stmt* raw = nullptr;
  Require(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) == SQLITE_OK, "prepare");
  std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> s(raw, sqlite3_finalize);
  const void* data = value.empty() ? "" : static_cast<const void*>(value.data());
  if (as_text) {
    sqlite3_bind_text(raw, 1, static_cast<const char*>(data), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_blob(raw, 1, data, static_cast<int>(value.size()), SQLITE_TRANSIENT);
  }
  Require(sqlite3_step(raw) == SQLITE_DONE, "store");
}

}  // namespace

// The input fills every page column of the first herb and of the prescription, the name of the
// second herb, the saved herb tree and a search term; then the pages are shown, the saved tree
// loaded and the search run. Whatever is stored, nothing crashes and the windows stay usable.
void FuzzEntryView(Input input) {
  Book& book = TheBook();
  Application& app = *book.app;
  sqlite3* db = app.database->connection();
  Require(db != nullptr, "database open");
  Pieces pieces(input);
  const bool as_text = !input.empty() && (input[0] & 1);
  for (std::size_t i = 1; i < kHerbPageColumns.size(); ++i) {
    Store(db, "zymm", kHerbPageColumns[i], 1, pieces.Next(), as_text);
  }
  for (std::size_t i = 1; i < kPrescriptionPageColumns.size(); ++i) {
    Store(db, "yfmm", kPrescriptionPageColumns[i], 1, pieces.Next(), as_text);
  }
  Store(db, "zymm", kHerbPageColumns[0], 2, pieces.Next(), as_text);
  Store(db, "lbsj", "sj", 1, pieces.Next(), false);
  const Bytes term = pieces.Next();

  SwitchCollection(app, Collection::Herbs);
  ShowEntry(app, "甲");
  Require(!GetText(app.Page()).empty(), "the herb page is shown");
  ShowEntry(app, Text(term.begin(), term.end()));
  app.search_condition = statements::SearchCondition("功能主治", Text(term.begin(), term.end()));
  Require(LoadWindow(app.search_window, {}, false), "results window");
  Require(GetRowCount({app.search_window, "超级列表框1"}) <= 2, "at most every herb is listed");
  CloseWindow(app.search_window);
  DoEvents();

  SwitchCollection(app, Collection::Prescriptions);
  ShowEntry(app, "丙");
  Require(!GetText(app.Page()).empty(), "the prescription page is shown");
}

}  // namespace kelmor::fuzz
