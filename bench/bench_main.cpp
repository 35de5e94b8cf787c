// kelmor-bench: each measured path of the program beside its floor, in one run of one binary.
//   kelmor-bench [benchmark options]   the Google Benchmark table (20,000 and 100,000 herbs)
//   kelmor-bench --ratios              one line "ratio NAME VALUE" per goal: program time over
//                                      floor time, each the median of several rounds
//   kelmor-bench --responsiveness      the longest stretch without event processing during
//                                      "更新" on 100,000 herbs
//   kelmor-bench --small [options]     the table on 20,000 herbs only (quick to set up, e.g.
//                                      under callgrind with --toggle-collect)
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/category_tree.h"
#include "app/entry_view.h"
#include "app/search.h"
#include "app/statements.h"
#include "bench/bench_world.h"
#include "bench/floors.h"
#include "platform/host.h"
#include "runtime/codec.h"
#include "runtime/pack.h"
#include "runtime/tree_box.h"
#include "tools/generated_database.h"

namespace kelmor::bench {
namespace {

void RegisterAll(BenchWorld& w, double min_time) {
  auto add = [min_time](const char* name, auto body) {
    benchmark::RegisterBenchmark(name, body)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(min_time);
  };
  sqlite3* db = w.floor_connection();  // the floors' own connection to the 20,000

  add("update_tree_20k/program", [&w](benchmark::State& s) {
    for (auto _ : s) UpdateTree(w.app());
  });
  add("update_tree_20k/floor", [&w, db](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(FloorUpdateTree(db, w.to_gbk));
  });
  add("update_tree_100k/program", [&w](benchmark::State& s) {
    if (w.large_file().empty()) return s.SkipWithError("no large database");
    w.UseDatabase(w.large_file());
    for (auto _ : s) UpdateTree(w.app());
    w.UseDatabase(w.small_file());
  });
  add("show_saved_tree_20k/program", [&w](benchmark::State& s) {
    for (auto _ : s) ShowSavedTree(w.app(), Collection::Herbs);
  });
  add("show_saved_tree_20k/floor", [db](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(FloorShowSavedTree(db));
  });
  for (auto [name, term] : {std::pair{"search", tools::kFewHitsTerm},
                            std::pair{"search_sparse", tools::kFirstRowTerm}}) {
    const Text condition = statements::SearchCondition("功能主治", term);
    const std::string utf8_term = LocalToUtf8(term).value_or("");
    add((std::string(name) + "_20k/program").c_str(), [&w, condition](benchmark::State& s) {
      w.app().search_condition = condition;
      for (auto _ : s) {
        s.PauseTiming();
        w.ClearResults();
        s.ResumeTiming();
        FillResults(w.app());
      }
    });
    add((std::string(name) + "_20k/floor").c_str(), [&w, db, utf8_term](benchmark::State& s) {
      for (auto _ : s) benchmark::DoNotOptimize(FloorSearch(db, w.to_gbk, utf8_term));
    });
  }
  add("show_entry_20k/program", [&w](benchmark::State& s) {
    for (auto _ : s) ShowEntry(w.app(), w.last_herb);
  });
  add("show_entry_20k/floor", [&w, db](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(FloorShowEntry(db, w.to_gbk, w.last_herb_utf8));
  });
  add("pack_1mb/program", [&w](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(DecompressBytes(CompressBytes(w.tree_content_1mb)));
  });
  add("pack_1mb/floor", [&w](benchmark::State& s) {
    Bytes packed, unpacked;
    for (auto _ : s) benchmark::DoNotOptimize(FloorPack(w.tree_content_1mb, packed, unpacked));
  });
  add("codec_1mb/program", [&w](benchmark::State& s) {
    for (auto _ : s) {
      benchmark::DoNotOptimize(Utf8ToLocal(LocalToUtf8(w.chinese_1mb).value_or("")));
    }
  });
  add("codec_1mb/floor", [&w](benchmark::State& s) {
    std::string utf8, gbk;
    for (auto _ : s) {
      w.to_utf8.Convert(w.chinese_1mb.data(), w.chinese_1mb.size(), utf8);
      w.to_gbk.Convert(utf8.data(), utf8.size(), gbk);
      benchmark::DoNotOptimize(gbk.data());
    }
  });
}

// The steps of showing the saved tree one by one, to see where its time goes.
void RegisterParts(BenchWorld& w) {
  auto add = [](const char* name, auto body) {
    benchmark::RegisterBenchmark(name, body)->Unit(benchmark::kMillisecond)->UseRealTime();
  };
  add("parts/load_tree_20k", [&w](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(LoadTree(w.app(), Collection::Herbs));
  });
  add("parts/set_tree_content_20k", [&w](benchmark::State& s) {
    const Bytes content = LoadTree(w.app(), Collection::Herbs);
    for (auto _ : s) SetTreeContent(w.app().Tree(), content);
  });
  add("parts/get_tree_content_20k", [&w](benchmark::State& s) {
    for (auto _ : s) benchmark::DoNotOptimize(GetTreeContent(w.app().Tree()));
  });
  add("parts/reload_20k", [&w](benchmark::State& s) {
    for (auto _ : s) w.app().tree_accessor->Reload();
  });
}

// Collects the time per iteration of every run, by benchmark name.
class Collector : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      seconds[run.run_name.function_name].push_back(run.real_accumulated_time /
                                              static_cast<double>(run.iterations));
    }
  }
  std::map<std::string, std::vector<double>> seconds;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Every benchmark once per round, so that program and floor see the same load of the machine.
int RunRatios(BenchWorld& w) {
  RegisterAll(w, 0.2);
  Collector collector;
  constexpr int kRounds = 5;
  for (int round = 0; round < kRounds; ++round) benchmark::RunSpecifiedBenchmarks(&collector);
  auto median = [&](const std::string& name) { return Median(collector.seconds[name]); };
  auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
  for (const char* goal : {"update_tree_20k", "show_saved_tree_20k", "search_20k",
                           "search_sparse_20k", "show_entry_20k", "pack_1mb", "codec_1mb"}) {
    const std::string g = goal;
    std::printf("ratio %s %.2f\n", goal, ratio(median(g + "/program"), median(g + "/floor")));
  }
  std::printf("ratio update_tree_scaling %.2f\n",
              ratio(median("update_tree_100k/program"), median("update_tree_20k/program")));
  return 0;
}

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// A host that only notes when it was asked to process events.
class GapHost : public platform::Host {
 public:
  int ShowMessageBox(const platform::MessageBoxRequest&) override { return 1; }
  void ProcessEvents() override { Note(); }
  void WaitForEvents() override {}
  platform::UINT TrackPopupMenu(const std::vector<platform::PopupMenuItem>&, int, int,
                                platform::HWND) override {
    return 0;
  }
  void Start() {
    last_ = NowMs();
    max_gap_ = 0;
    points_ = 0;
  }
  void Note() {
    const double now = NowMs();
    max_gap_ = std::max(max_gap_, now - last_);
    last_ = now;
    ++points_;
  }
  double max_gap_ms() const { return max_gap_; }
  long points() const { return points_; }

 private:
  double last_ = 0;
  double max_gap_ = 0;
  long points_ = 0;
};

// The longest stretch without event processing during "更新" on 100,000 herbs, counted from the
// start of the command to its end.
int RunResponsiveness(BenchWorld& w) {
  w.UseDatabase(w.large_file());
  GapHost host;
  platform::SetHost(&host);
  for (int run = 0; run < 3; ++run) {
    host.Start();
    const double start = NowMs();
    UpdateTree(w.app());
    host.Note();
    const double total = NowMs() - start;
    std::printf("update_tree_100k total_ms %.1f event_points %ld max_gap_ms %.1f\n", total,
                host.points(), host.max_gap_ms());
  }
  platform::SetHost(nullptr);
  // Resident memory with the 100,000-herb tree shown (the whole process, both databases open).
  std::FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  while (status && std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmRSS:", 6) == 0 || std::strncmp(line, "VmHWM:", 6) == 0) {
      std::fputs(line, stdout);
    }
  }
  if (status) std::fclose(status);
  w.UseDatabase(w.small_file());
  return 0;
}

}  // namespace
}  // namespace kelmor::bench

int main(int argc, char** argv) {
  bool ratios = false;
  bool responsiveness = false;
  bool small = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ratios") == 0) {
      ratios = true;
    } else if (std::strcmp(argv[i], "--responsiveness") == 0) {
      responsiveness = true;
    } else if (std::strcmp(argv[i], "--small") == 0) {
      small = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  kelmor::bench::BenchWorld world(!small || ratios || responsiveness);
  if (ratios) return kelmor::bench::RunRatios(world);
  if (responsiveness) return kelmor::bench::RunResponsiveness(world);
  kelmor::bench::RegisterAll(world, 0.5);
  kelmor::bench::RegisterParts(world);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
