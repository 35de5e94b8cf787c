// kelmor-lookup run as a user runs it, on the book made from content/: what it prints is
// compared with what the program's own windows show for the same book.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/collection.h"
#include "app/entry_view.h"
#include "lookup/lookup.h"
#include "runtime/codec.h"
#include "runtime/list_view_control.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "sqlite_access/sqlite_db.h"
#include "tests/support/schema.h"
#include "tests/support/stored_tree.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_driver.h"
#include "tools/delivered_database.h"

extern char** environ;

namespace kelmor {
namespace {

std::string U8(std::u8string_view s) {
  return std::string(s.begin(), s.end());
}

std::string Utf8(const Text& gbk) {
  const std::optional<std::string> utf8 = LocalToUtf8(gbk);
  EXPECT_TRUE(utf8) << "not GBK: " << gbk;
  return utf8.value_or("");
}

// A page as a terminal shows it: its CR LF line breaks as "\n".
std::string PageLines(const Text& page) {
  std::string lines = Utf8(page);
  for (std::size_t at; (at = lines.find("\r\n")) != std::string::npos;) lines.replace(at, 2, "\n");
  return lines;
}

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs kelmor-lookup with the arguments, reading what it writes to both streams.
ToolRun RunTool(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(KELMOR_LOOKUP_EXE)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int out_pipe[2], err_pipe[2];
  ToolRun run;
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  std::array<pollfd, 2> fds{pollfd{out_pipe[0], POLLIN, 0}, pollfd{err_pipe[0], POLLIN, 0}};
  std::array<std::string*, 2> into{&run.out, &run.err};
  for (int open = 2; rc == 0 && open > 0;) {
    if (poll(fds.data(), fds.size(), -1) < 0) break;
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[65536];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        into[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(out_pipe[0]);
  close(err_pipe[0]);
  int wait_status = 0;
  if (rc == 0 && waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) {
    run.status = WEXITSTATUS(wait_status);
  }
  return run;
}

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The book delivered with the program, made once for every test here.
class LookupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<test::TempDir>();
    std::string error;
    ASSERT_TRUE(tools::MakeDeliveredDatabase(KELMOR_CONTENT_DIR, Book(), error)) << error;
    ResetWindowFramework();
  }
  static void TearDownTestSuite() { dir_.reset(); }
  ~LookupTest() override {
    app_.reset();
    ResetWindowFramework();
  }

  static std::filesystem::path Book() { return *dir_ / "kelmor.db"; }

  static ToolRun Tool(std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", Book().string()});
    return RunTool(args);
  }

  // The same command line run in this process, where many runs cost little.
  static ToolRun ToolInProcess(std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", Book().string()});
    std::ostringstream out, err;
    ToolRun run;
    run.status = lookup::RunLookup(args, Text(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
  }

  // The program on the book, its main window shown.
  void StartApp() {
    ApplicationOptions options;
    options.database_file = Book().string();
    app_ = std::make_unique<Application>(options);
    ASSERT_TRUE(LoadWindow(app_->main_window));
  }

  static std::vector<Text> Names(Collection c) {
    const CollectionDescription& d = Describe(c);
    return test::ColumnValues(Book(), Text("select * from ") + d.entry_table, d.name_column);
  }

  static inline std::unique_ptr<test::TempDir> dir_;
  test::TestDriver driver_;
  std::unique_ptr<Application> app_;
};

TEST_F(LookupTest, EveryEntryPrintsThePageTheWindowShows) {
  StartApp();
  for (Collection c : kCollections) {
    app_->collection_mode = c;
    const char* only = c == Collection::Herbs ? "--herbs" : "--prescriptions";
    const std::vector<Text> names = Names(c);
    ASSERT_GT(names.size(), 200u);
    for (const Text& name : names) {
      ShowEntry(*app_, name);
      const ToolRun run = ToolInProcess({only, Utf8(name)});
      ASSERT_EQ(run.status, 0) << run.err;
      ASSERT_EQ(run.out, PageLines(GetText(app_->Page())) + "\n") << Utf8(name);
    }
  }
  // Without a collection a name is looked up in both, herbs first.
  const ToolRun run = Tool({U8(u8"麻黄汤")});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with(U8(u8"【药方名称】：麻黄汤\n【配    方】："))) << run.out;
}

struct SearchCase {
  const char* label;
  std::vector<Collection> collections;  // the window's collection for each search
  const char* field;
  const char8_t* term;
  friend void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.label; }
};

class LookupSearchTest : public LookupTest, public ::testing::WithParamInterface<SearchCase> {
 protected:
  // The rows the results window lists, each as the tool prints it.
  std::string WindowRows(Collection c, const Text& field, const Text& term) {
    driver_.Click(app_->Main(c == Collection::Herbs ? main_controls::kHerbsButton
                                                 : main_controls::kPrescriptionsButton));
    const ControlRef chooser = app_->FieldChooser();
    for (int i = 0; i < ComboItemCount(chooser); ++i) {
      if (ComboItemText(chooser, i) == field) driver_.SelectComboItem(chooser, i);
    }
    driver_.ClearText(app_->SearchBox());
    driver_.Type(app_->SearchBox(), term);
    std::string rows;
    driver_.OnModal([&] {
      const ControlRef list{app_->search_window, search_controls::kResultList};
      for (int r = 0; r < GetRowCount(list); ++r) {
        rows += Utf8(GetCellText(list, r, 1)) + "\t" + Utf8(GetCellText(list, r, 0)) + "\t" +
                Summary(GetCellText(list, r, 2)) + "\n";
      }
      driver_.CloseBox(app_->search_window);
    });
    driver_.Click(app_->Main(main_controls::kSearchButton));
    return rows;
  }

  // A summary cut after its first bytes may end in half a character, which shows as U+FFFD.
  static std::string Summary(const Text& summary) {
    if (std::optional<std::string> whole = LocalToUtf8(summary)) return *whole;
    return Utf8(summary.substr(0, summary.size() - 1)) + "\xEF\xBF\xBD";
  }
};

TEST_P(LookupSearchTest, ListsTheRowsOfTheResultsWindow) {
  const SearchCase& s = GetParam();
  StartApp();
  const std::optional<Text> term = Utf8ToLocal(U8(s.term));
  ASSERT_TRUE(term);
  std::string expected;
  for (Collection c : s.collections) expected += WindowRows(c, s.field, *term);
  ASSERT_FALSE(expected.empty());
  std::vector<std::string> args{"--field", Utf8(s.field), "--search", U8(s.term)};
  if (s.collections.size() == 1) {
    args.push_back(s.collections[0] == Collection::Herbs ? "--herbs" : "--prescriptions");
  }
  const ToolRun run = Tool(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Searches, LookupSearchTest,
    ::testing::Values(
        SearchCase{"herb_summary_cut_at_100_bytes", {Collection::Herbs}, "功能主治", u8"咳嗽"},
        SearchCase{"prescription_whole_summary", {Collection::Prescriptions}, "功用", u8"解表"},
        SearchCase{"like_wildcards", {Collection::Herbs}, "性味", u8"辛%温"},
        SearchCase{"both_collections_herbs_first",
                   {Collection::Herbs, Collection::Prescriptions},
                   "类别",
                   u8"解表"}),
    [](const auto& info) { return std::string(info.param.label); });

// A book of one herb and one prescription of the same name, filed in no saved tree.
TEST_F(LookupTest, SameNameUnfiledEntriesAndCellsThatWouldBreakTheLine) {
  test::TempDir dir;
  const std::string file = (dir / "kelmor.db").string();
  {
    SqliteDB db;
    ASSERT_TRUE(db.Open(file, true));
    ASSERT_TRUE(test::CreateSchema(db));
    // 9 bytes before fifty characters of two, so the list's 100 bytes end inside a character.
    Text fifty;
    for (int i = 0; i < 50; ++i) fifty += "中";
    ASSERT_TRUE(test::InsertHerb(db, "甲", "类", {{"功能主治", "A咳嗽\tx\r\n" + fifty}}));
    ASSERT_TRUE(test::InsertPrescription(db, "甲", "剂"));
  }
  const auto run = [&file](std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", file});
    std::ostringstream out, err;
    ToolRun r;
    r.status = lookup::RunLookup(args, Text(), out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
  };

  const ToolRun search = run({"--field", U8(u8"功能主治"), "--search", U8(u8"咳嗽")});
  std::string forty_five;
  for (int i = 0; i < 45; ++i) forty_five += U8(u8"中");
  EXPECT_EQ(search.out, U8(u8"甲\t类\tA咳嗽 x ") + forty_five + "\xEF\xBF\xBD\n");

  const ToolRun both = run({U8(u8"甲")});
  EXPECT_EQ(both.status, 0);
  EXPECT_TRUE(both.out.starts_with(U8(u8"【药物名称】：甲\n"))) << both.out;
  EXPECT_NE(both.out.find(U8(u8"【附    注】：\n\n【药方名称】：甲\n")), std::string::npos)
      << both.out;

  // Entries no saved tree shows are still exported, once each, in a chapter of their own.
  const ToolRun html = run({"--export-html", "-"});
  EXPECT_EQ(html.status, 0);
  std::size_t articles = 0;
  for (std::size_t at = 0; (at = html.out.find("<article", at)) != std::string::npos; ++at) {
    ++articles;
  }
  EXPECT_EQ(articles, 2u);
  EXPECT_NE(html.out.find(U8(u8"<h3>未归类</h3>")), std::string::npos);
}

TEST_F(LookupTest, TreeIsTheSavedTreeIndented) {
  SqliteDB db;
  ASSERT_TRUE(db.Open(Book().string()));
  std::string both;
  for (Collection c : kCollections) {
    std::string alone;
    both += Utf8(c == Collection::Herbs ? "中药" : "药方") + "\n";
    for (const TreeContentRecord& item : test::StoredTreeItems(db, static_cast<int>(c))) {
      alone += std::string(2 * (item.level - 1), ' ') + Utf8(item.text) + "\n";
      both += std::string(2 * item.level, ' ') + Utf8(item.text) + "\n";
    }
    ASSERT_GT(alone.size(), 1000u);
    const ToolRun run = Tool({"--tree", c == Collection::Herbs ? "--herbs" : "--prescriptions"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, alone);
  }
  EXPECT_EQ(Tool({"--tree"}).out, both);
}

// A JSON string of UTF-8 text.
std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

TEST_F(LookupTest, HtmlExportHoldsEveryPageOnceWithWorkingLinks) {
  if (std::string(KELMOR_PYTHON3).empty()) GTEST_SKIP() << "no python3";
  test::TempDir out;
  const ToolRun run = Tool({"--export-html", (out / "book.html").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");

  // What the check expects: every entry with the page the window shows for it.
  StartApp();
  std::string expected = "[";
  for (Collection c : kCollections) {
    app_->collection_mode = c;
    for (const Text& name : Names(c)) {
      ShowEntry(*app_, name);
      expected += (expected.size() > 1 ? ",\n[\"" : "[\"") + std::to_string(static_cast<int>(c)) +
                  "\"," + Json(Utf8(name)) + "," + Json(PageLines(GetText(app_->Page()))) + "]";
    }
  }
  std::ofstream(out / "expected.json", std::ios::binary) << expected << "]";

  const std::string check = std::string(KELMOR_PYTHON3) + " " + KELMOR_HTML_CHECK + " " +
                            (out / "book.html").string() + " " +
                            (out / "expected.json").string() + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(check.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string problems;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) problems += buffer;
  EXPECT_EQ(pclose(pipe.release()), 0) << problems;
}

struct StatusCase {
  const char* label;
  std::vector<std::string> args;  // after --db and the book, unless the case gives its own --db
  int status;
  std::string out_has;  // text the standard output holds
  std::string err_has;  // text the standard error holds
};

TEST_F(LookupTest, ExitStatusSaysWhatHappened) {
  test::TempDir dir;
  std::ofstream(dir / "junk.db") << "this is not a database file, only some text that is long";
  {
    SqliteDB empty;
    ASSERT_TRUE(empty.Open((dir / "empty.db").string(), true));
    ASSERT_TRUE(empty.Execute("create table other(x)"));
  }
  const std::string unwritable = (dir / "missing-folder" / "book.html").string();
  const std::vector<StatusCase> cases = {
      {"found", {U8(u8"麻黄")}, 0, U8(u8"【药物名称】：麻黄\n"), ""},
      {"help", {"--help"}, 0, "--export-html", ""},
      {"no such entry in that collection", {"--prescriptions", U8(u8"麻黄")}, 1, "",
       U8(u8"没有名为“麻黄”的条目")},
      {"no hit", {"--field", U8(u8"性味"), "--search", U8(u8"没有这种味")}, 1, "", ""},
      {"no command", {}, 2, "", "--help"},
      {"unknown option", {"--bogus"}, 2, "", "--bogus"},
      {"field without term", {"--field", U8(u8"性味")}, 2, "", "--search"},
      {"two commands", {"--tree", U8(u8"麻黄")}, 2, "", ""},
      {"not a field of the book", {"--field", U8(u8"1=1 or 药物名称"), "--search", "a"}, 2, "",
       U8(u8"没有查询项目")},
      {"name GBK cannot hold", {U8(u8"µg")}, 2, "", "GBK"},
      {"term GBK cannot hold", {"--field", U8(u8"性味"), "--search", U8(u8"\U00020BB7")}, 2, "",
       "GBK"},
      {"missing book", {"--db", (dir / "none.db").string(), "--tree"}, 2, "",
       "none.db: unable to open database file"},
      {"not a database", {"--db", (dir / "junk.db").string(), U8(u8"麻黄")}, 2, "",
       "file is not a database"},
      {"not a book", {"--db", (dir / "empty.db").string(), U8(u8"麻黄")}, 2, "",
       "no such table: zymm"},
      {"unwritable export", {"--export-html", unwritable}, 2, "", unwritable + ": "},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.label);
    const bool own_db = !c.args.empty() && c.args[0] == "--db";
    const ToolRun run = own_db ? RunTool(c.args) : Tool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.out.find(c.out_has), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.err_has), std::string::npos) << run.err;
    if (c.status != 0) {
      EXPECT_EQ(run.out, "");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

TEST_F(LookupTest, TheBookIsNeverWritten) {
  const std::string before = FileBytes(Book());
  const auto files = [] {
    std::vector<std::filesystem::path> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_->path())) names.push_back(e.path());
    return names;
  };
  const auto files_before = files();
  test::TempDir out;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{U8(u8"麻黄")}, {"--field", U8(u8"功能主治"), "--search", "%"},
        {"--tree"}, {"--export-html", (out / "book.html").string()}}) {
    EXPECT_EQ(Tool(args).status, 0);
  }
  EXPECT_EQ(FileBytes(Book()), before);
  EXPECT_EQ(files(), files_before);

  // Read-only at the connection itself, not only by never asking for a write.
  SqliteDB db;
  ASSERT_TRUE(db.OpenReadOnly(Book().string()));
  EXPECT_TRUE(db.Execute("select * from zymm limit 1"));
  EXPECT_FALSE(db.Execute("delete from zymm"));
  EXPECT_EQ(db.last_error_message(), "attempt to write a readonly database");
  EXPECT_FALSE(db.OpenReadOnly(":memory:"));
}

}  // namespace
}  // namespace kelmor
