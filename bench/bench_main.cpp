// kelmor-bench: each measured path of the program beside its floor, in one run of one binary.
//   kelmor-bench [benchmark options]   the Google Benchmark table (20,000 and 100,000 herbs)
//   kelmor-bench --ratios              one line "ratio NAME VALUE" per goal: program time over
//                                      floor time, each the median of several rounds
#include <benchmark/benchmark.h>

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
#include "runtime/codec.h"
#include "runtime/pack.h"
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
  Connection small = OpenConnection(w.small_file());
  sqlite3* db = small.release();  // closed at exit; the floors borrow it

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
    for (auto _ : s) ShowSavedTree(w.app(), "1");
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

}  // namespace
}  // namespace kelmor::bench

int main(int argc, char** argv) {
  bool ratios = false;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ratios") == 0) {
      ratios = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  kelmor::bench::BenchWorld world(true);
  if (ratios) return kelmor::bench::RunRatios(world);
  kelmor::bench::RegisterAll(world, 0.5);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
