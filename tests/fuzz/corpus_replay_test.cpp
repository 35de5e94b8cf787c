// Replays the fuzz corpus: each seed and each kept crasher runs through its target once. A
// property that fails aborts the run with the target's message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/targets.h"
#include "runtime/window_framework.h"

namespace kelmor {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CorpusReplay : public ::testing::TestWithParam<fuzz::Target> {};

TEST_P(CorpusReplay, EveryFileRunsThrough) {
  const fuzz::Target target = GetParam();
  const fs::path folder = fs::path(KELMOR_FUZZ_CORPUS) / std::string(target.name);
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  EXPECT_FALSE(files.empty()) << "no seeds in " << folder;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::vector<std::uint8_t> bytes = ReadFile(file);
    target.run(fuzz::Input(bytes.data(), bytes.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         ::testing::ValuesIn(fuzz::Targets().begin(), fuzz::Targets().end()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelmor
