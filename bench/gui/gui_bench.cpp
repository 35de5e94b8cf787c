// kelmor-gui-bench: what the user waits for, with the real display drawing offscreen, on
// generated books of 20,000 and 100,000 herbs, in one run:
//   - start-up: from the program's start to its main window drawn with the tree;
//   - "更新": from the command to the saved tree committed, and to the program idle again with
//     the new tree drawn;
//   - a search of every row (field 性味, term "%"): from 查询 to the results window drawn with
//     its rows; the resident memory then;
// and, during each, the longest time the event loop was not served (a 1 ms timer's longest
// gap). Each figure is the median of several rounds, beside its floor in the same run: the saved
// tree read and unpacked (start-up), the search's SQLite query with its conversions to GBK, and
// once the sqlite3 shell running that query and writing every row.
//   kelmor-gui-bench [--rounds N] [--herbs N[,N...]]
#include <malloc.h>
#include <sqlite3.h>
#include <time.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "bench/floors.h"
#include "display/fonts.h"
#include "display/qt_host.h"
#include "display/renderer.h"
#include "platform/user_input.h"
#include "platform/window.h"
#include "runtime/codec.h"
#include "runtime/fatal.h"
#include "runtime/tree_box.h"
#include "runtime/window_commands.h"
#include "runtime/window_framework.h"
#include "tools/generated_database.h"

namespace kelmor::bench {
namespace {

namespace fs = std::filesystem;

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

Text Gbk(const char* utf8) {
  return Utf8ToLocal(utf8).value_or(Text());
}

// Resident memory now, after freed heap has been handed back (earlier rounds in this process
// would otherwise count).
double ResidentMb() {
  malloc_trim(0);
  std::FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  double kb = 0;
  while (status && std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atof(line + 6);
  }
  if (status) std::fclose(status);
  return kb / 1024;
}

// The longest gap between two ticks of a 1 ms timer: how long the event loop went unserved.
class StallMeter {
 public:
  StallMeter() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  }
  void Start() {
    last_ = NowMs();
    longest_ = 0;
    timer_.start();
  }
  double Stop() {
    Tick();
    timer_.stop();
    return longest_;
  }

 private:
  void Tick() {
    const double now = NowMs();
    longest_ = std::max(longest_, now - last_);
    last_ = now;
  }
  QTimer timer_;
  double last_ = 0;
  double longest_ = 0;
};

// The Qt host of the program, which also plays the user: whenever the program waits for the
// user, the display is brought up to date and drawn, and the next scripted step runs.
class BenchHost : public display::QtHost {
 public:
  // A step runs when the program waits; it returns false to wait again first (a condition not
  // met yet).
  using Step = std::function<bool()>;
  void Then(const char* name, Step step) { steps_.push_back({name, std::move(step)}); }
  void AnswerMenu(Text caption) { menu_answer_ = std::move(caption); }

  void WaitForEvents() override {
    renderer().Flush(true);
    // What the screen would show now: every shown window drawn at once.
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->isVisible()) top->repaint();
    }
    if (!steps_.empty()) {
      // Taken off first: a step may run a modal window, whose waits take the next steps.
      Named step = std::move(steps_.front());
      steps_.pop_front();
      if (step.run()) {
        waiting_since_ = 0;
        return;
      }
      // Nothing may wait for ever: a step whose moment never comes ends the run.
      if (waiting_since_ == 0) waiting_since_ = NowMs();
      if (NowMs() - waiting_since_ > kStepTimeoutMs) {
        std::fprintf(stderr, "kelmor-gui-bench: gave up waiting for: %s\n", step.name);
        std::exit(1);
      }
      steps_.push_front(std::move(step));
      QTimer::singleShot(100, [] {});
    }
    QtHost::WaitForEvents();
  }

  platform::UINT TrackPopupMenu(const std::vector<platform::PopupMenuItem>& items, int, int,
                                platform::HWND) override {
    for (const auto& item : items) {
      if (item.caption == menu_answer_ && item.enabled) return item.id;
    }
    return 0;
  }

 private:
  static constexpr double kStepTimeoutMs = 300'000;
  struct Named {
    const char* name;
    Step run;
  };
  std::deque<Named> steps_;
  double waiting_since_ = 0;
  Text menu_answer_;
};

struct Figures {
  double start_ms = 0, start_stall_ms = 0;
  double update_saved_ms = 0, update_idle_ms = 0, update_stall_ms = 0;
  double search_ms = 0, search_stall_ms = 0;
  double resident_mb = 0;
  int results = 0;
};

// A control of a window by its name. The program's control names are GBK; this file's literals
// (and so the inline names of the program's headers, made here) are UTF-8.
ControlRef Control(WindowId window, const char* utf8_name) {
  return {window, Gbk(utf8_name)};
}

int CommitHook(void* at) {
  *static_cast<double*>(at) = NowMs();
  return 0;
}

// One run of the program on `file`: start, 更新, search, close.
Figures RunOnce(BenchHost& host, const std::string& file) {
  Figures f;
  StallMeter stall;
  ApplicationOptions options;
  options.database_file = file;
  const double start = NowMs();
  stall.Start();
  auto program = std::make_unique<Application>(options);
  Application& app = *program;
  auto tree_widget = [&] {
    return qobject_cast<QTreeWidget*>(
        host.renderer().WidgetFor(WindowHandle(Control(app.main_window, "树型框1"))));
  };
  double step_start = 0;
  double committed = 0;

  host.Then("the main window drawn with its tree", [&] {
    QTreeWidget* tree = tree_widget();
    if (tree == nullptr || !tree->isVisible() || tree->topLevelItemCount() == 0) return false;
    f.start_ms = NowMs() - start;
    f.start_stall_ms = stall.Stop();
    // 更新 from the tree's popup menu, on its first item.
    sqlite3_commit_hook(app.database->connection(), CommitHook, &committed);
    host.AnswerMenu(Gbk("更新"));
    const platform::HWND tree_hwnd = WindowHandle(Control(app.main_window, "树型框1"));
    const auto item =
        static_cast<platform::HTREEITEM>(TreeItemHandle(Control(app.main_window, "树型框1"), 0));
    step_start = NowMs();
    stall.Start();
    platform::RightPressTreeItem(tree_hwnd, item);
    platform::RightReleaseTreeItem(tree_hwnd, item);
    return true;
  });
  host.Then("更新 done, the new tree drawn", [&] {
    f.update_idle_ms = NowMs() - step_start;
    f.update_saved_ms = committed > 0 ? committed - step_start : 0;
    f.update_stall_ms = stall.Stop();
    sqlite3_commit_hook(app.database->connection(), nullptr, nullptr);
    const ControlRef chooser = Control(app.main_window, "组合框1");
    for (int i = 0; i < ComboItemCount(chooser); ++i) {
      if (ComboItemText(chooser, i) == Gbk("性味")) {
        platform::SelectComboItem(WindowHandle(chooser), i);
      }
    }
    platform::TypeText(WindowHandle(Control(app.main_window, "编辑框1")), "%", true);
    step_start = NowMs();
    stall.Start();
    platform::ClickButton(WindowHandle(Control(app.main_window, "按钮4")));
    return true;
  });
  host.Then("the results window drawn with its rows", [&] {
    const platform::HWND list = WindowHandle(Control(app.search_window, "超级列表框1"));
    auto* view = qobject_cast<QTableView*>(host.renderer().WidgetFor(list));
    if (view == nullptr || !view->isVisible()) return false;
    f.search_ms = NowMs() - step_start;
    f.search_stall_ms = stall.Stop();
    f.results = view->model()->rowCount();
    f.resident_mb = ResidentMb();
    platform::CloseByCloseBox(WindowHandle({app.search_window, ""}));
    return true;
  });
  host.Then("the main window closed", [&] {
    platform::CloseByCloseBox(WindowHandle({app.main_window, ""}));
    return true;
  });
  RunMainWindow(app.main_window);
  RunEndRoutine();
  program.reset();
  ResetWindowFramework();
  return f;
}

// ---- Floors ---------------------------------------------------------------------------------

// The search: one SELECT of category, name and 功能主治 of every row whose 性味 is like '%%%',
// texts in GBK, the summary cut to 100 bytes. Returns the rows.
std::size_t FloorSearchEveryRow(sqlite3* db, Iconv& to_gbk) {
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db, "SELECT 类别, 药物名称, 功能主治 FROM zymm WHERE 性味 LIKE '%%%'", -1,
                     &raw, nullptr);
  Statement s(raw);
  std::vector<std::vector<Text>> rows;
  auto text = [&](int column) {
    Text out;
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), column));
    if (t) to_gbk.Convert(t, static_cast<std::size_t>(sqlite3_column_bytes(s.get(), column)), out);
    return out;
  };
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    Text name = text(1);
    if (name.empty()) continue;
    Text summary = text(2);
    if (summary.size() > 100) summary.resize(100);
    rows.push_back({text(0), std::move(name), std::move(summary)});
  }
  return rows.size();
}

// The sqlite3 shell running the same query and writing every row to a file; 0 without it.
double ShellSearchMs(const std::string& file, const fs::path& out) {
  if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0) return 0;
  const std::string command =
      "sqlite3 '" + file +
      "' \"SELECT 类别, 药物名称, substr(功能主治, 1, 50) FROM zymm WHERE 性味 LIKE '%%%' AND "
      "药物名称 <> ''\" > '" +
      out.string() + "'";
  const double start = NowMs();
  if (std::system(command.c_str()) != 0) return 0;
  return NowMs() - start;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Result {
  int herbs = 0;
  std::map<std::string, std::vector<double>> samples;
  int results = 0;
  double Get(const std::string& name) const {
    auto it = samples.find(name);
    return it == samples.end() ? 0 : Median(it->second);
  }
};

Result Measure(BenchHost& host, const fs::path& dir, int herbs, int rounds) {
  Result r;
  r.herbs = herbs;
  const fs::path book = dir / ("book_" + std::to_string(herbs) + ".db");
  tools::GeneratedSize size;
  size.herbs = herbs;
  size.herb_categories = std::max(1, herbs / 100);
  size.prescriptions = 2000;
  size.prescription_categories = 21;
  std::string error;
  if (!tools::MakeGeneratedDatabase(book, size, true, error)) {
    std::fprintf(stderr, "cannot generate the book: %s\n", error.c_str());
    std::exit(1);
  }
  Iconv to_gbk("CP936", "UTF-8");
  for (int round = 0; round < rounds; ++round) {
    // Each round on a fresh copy, as the program finds it after installation.
    const fs::path run = dir / ("run_" + std::to_string(herbs) + ".db");
    fs::copy_file(book, run, fs::copy_options::overwrite_existing);
    const Figures f = RunOnce(host, run.string());
    r.samples["start"].push_back(f.start_ms);
    r.samples["start_stall"].push_back(f.start_stall_ms);
    r.samples["update_saved"].push_back(f.update_saved_ms);
    r.samples["update_idle"].push_back(f.update_idle_ms);
    r.samples["update_stall"].push_back(f.update_stall_ms);
    r.samples["search"].push_back(f.search_ms);
    r.samples["search_stall"].push_back(f.search_stall_ms);
    r.samples["resident"].push_back(f.resident_mb);
    r.results = f.results;

    Connection db = OpenConnection(run.string());
    double t = NowMs();
    FloorShowSavedTree(db.get());
    r.samples["start_floor"].push_back(NowMs() - t);
    t = NowMs();
    FloorSearchEveryRow(db.get(), to_gbk);
    r.samples["search_floor"].push_back(NowMs() - t);
  }
  r.samples["search_shell"].push_back(ShellSearchMs(book.string(), dir / "shell_rows.txt"));
  return r;
}

// A caption padded to `width` columns of a terminal, where a Chinese character takes two.
void PrintCaption(const char* utf8, int width) {
  int columns = 0;
  for (const char* p = utf8; *p != 0; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    columns += byte >= 0xE0 ? 2 : 1;
  }
  std::printf("%s%*s", utf8, std::max(0, width - columns), "");
}

void Print(const std::vector<Result>& results) {
  auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  PrintCaption("measure (ms; median of rounds)", 46);
  for (const Result& r : results) std::printf(" %10d", r.herbs);
  std::printf("\n");
  const std::pair<const char*, const char*> rows[] = {
      {"start-up to the window drawn with its tree", "start"},
      {"  floor: saved tree read and unpacked", "start_floor"},
      {"  longest stall", "start_stall"},
      {"\"更新\" to the saved tree committed", "update_saved"},
      {"\"更新\" to idle, the new tree drawn", "update_idle"},
      {"  longest stall", "update_stall"},
      {"search of every row to the results drawn", "search"},
      {"  floor: the query with its conversions", "search_floor"},
      {"  sqlite3 shell writing every row", "search_shell"},
      {"  longest stall", "search_stall"},
      {"resident memory, results shown (MB)", "resident"},
  };
  for (const auto& [caption, key] : rows) {
    PrintCaption(caption, 46);
    for (const Result& r : results) std::printf(" %10.1f", r.Get(key));
    std::printf("\n");
  }
  PrintCaption("results listed", 46);
  for (const Result& r : results) std::printf(" %10d", r.results);
  std::printf("\n");
  for (const Result& r : results) {
    std::printf("ratio start_over_floor_%d %.2f\n", r.herbs,
                ratio(r.Get("start"), r.Get("start_floor")));
    std::printf("ratio search_over_floor_%d %.2f\n", r.herbs,
                ratio(r.Get("search"), r.Get("search_floor")));
    std::printf("ratio search_over_shell_%d %.2f\n", r.herbs,
                ratio(r.Get("search"), r.Get("search_shell")));
  }
  if (results.size() >= 2) {
    const Result& small = results.front();
    const Result& large = results.back();
    std::printf("ratio search_%d_over_%d %.2f\n", large.herbs, small.herbs,
                ratio(large.Get("search"), small.Get("search")));
  }
}

}  // namespace
}  // namespace kelmor::bench

int main(int argc, char** argv) {
  using namespace kelmor::bench;
  int rounds = 3;
  std::vector<int> sizes = {20000, 100000};
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[++i]));
    if (std::strcmp(argv[i], "--herbs") == 0) {
      sizes.clear();
      for (char* p = std::strtok(argv[++i], ","); p; p = std::strtok(nullptr, ","))
        sizes.push_back(std::atoi(p));
    }
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qt_argc = 1;
  QApplication qt(qt_argc, argv);
  kelmor::display::InstallFontSubstitutions();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    kelmor::platform::SetScreenSize(area.width(), area.height());
  }
  BenchHost host;
  kelmor::platform::SetHost(&host);
  const fs::path dir = fs::temp_directory_path() / ("kelmor-gui-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::vector<Result> results;
  for (int herbs : sizes) results.push_back(Measure(host, dir, herbs, rounds));
  kelmor::platform::SetHost(nullptr);
  fs::remove_all(dir);
  Print(results);
  return 0;
}
