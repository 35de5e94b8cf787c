#include "runtime/fatal.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/message_box.h"
#include "runtime/array.h"

namespace kelmor {
namespace {

// Prints each box as caption|text|type on stderr so that the parent can match it.
class PrintingHost : public platform::Host {
 public:
  int ShowMessageBox(const platform::MessageBoxRequest& r) override {
    std::fprintf(stderr, "BOX[%s|%s|%u]\n", r.caption.c_str(), r.text.c_str(), r.type);
    return platform::IDOK;
  }
  void ProcessEvents() override {}
  void WaitForEvents() override {}
  platform::UINT TrackPopupMenu(const std::vector<platform::PopupMenuItem>&, int, int,
                                platform::HWND) override {
    return 0;
  }
};

TEST(RuntimeError, BoxTexts) {
  EXPECT_EQ(RuntimeErrorText(0, ""), "运行时出错!\r\n\r\n");
  EXPECT_EQ(RuntimeErrorText(1, "数组成员引用下标超出定义范围"),
            "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
}

void FailWithEndRoutine(int code) {
  static PrintingHost host;
  platform::SetHost(&host);
  RegisterEndRoutine([] { std::fprintf(stderr, "END ROUTINE RAN\n"); });
  Array<int> a(3);
  a.At(code);  // 0 → error 4, 4 → error 1
  std::fprintf(stderr, "NOT REACHED\n");
  std::_Exit(0);
}

TEST(RuntimeErrorDeathTest, SubscriptZeroReportsCodeFourAndSkipsTheEndRoutine) {
  EXPECT_EXIT(FailWithEndRoutine(0), ::testing::ExitedWithCode(255),
              "BOX\\[错误\\|运行时出错!"
              "\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n\\|16\\]\n$");
}

TEST(RuntimeErrorDeathTest, SubscriptPastTheEndReportsCodeOne) {
  EXPECT_EXIT(FailWithEndRoutine(4), ::testing::ExitedWithCode(255), "错误代码：1");
}

TEST(RuntimeErrorDeathTest, AllocationFailureMessage) {
  EXPECT_EXIT(
      {
        static PrintingHost host;
        platform::SetHost(&host);
        RaiseAllocationFailure(1024);
      },
      ::testing::ExitedWithCode(255), "运行时出错!\r\n\r\n错误信息：分配 1024 字节内存失败!\r\n");
}

// A box that needs memory of its own to be built, as a real dialog does.
class HungryHost : public PrintingHost {
 public:
  int ShowMessageBox(const platform::MessageBoxRequest& r) override {
    std::vector<char> scratch(std::size_t{2} << 20, 'x');
    volatile char touched = scratch.back();
    (void)touched;
    return PrintingHost::ShowMessageBox(r);
  }
};

TEST(RuntimeErrorDeathTest, RunningOutOfMemoryAnywhereIsTheRunTimeError) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer ends a failed allocation itself";
#endif
  EXPECT_EXIT(
      {
        static HungryHost host;
        platform::SetHost(&host);
        RouteAllocationFailures();
        // Room for 64 MB more, then allocate until none is left; noexcept: nothing catches
        // the failure, as nothing does in the program (the death test would).
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line) && line.rfind("VmSize:", 0) != 0) {
        }
        limit.rlim_cur = (std::stoull(line.substr(7)) << 10) + (std::size_t{64} << 20);
        setrlimit(RLIMIT_AS, &limit);
        []() noexcept {
          std::vector<std::unique_ptr<char[]>> blocks;
          for (;;) blocks.emplace_back(new char[std::size_t{1} << 20]);
        }();
      },
      ::testing::ExitedWithCode(255),
      "BOX\\[错误\\|运行时出错!\r\n\r\n错误信息：分配内存失败!\r\n\\|16\\]\n$");
}

TEST(Array, SubscriptsAndSizes) {
  Array<int> a(3, 7);
  EXPECT_EQ(a.At(3), 7);
  a.Resize(5);
  EXPECT_EQ(a.size(), 5u);
  EXPECT_EQ(ChooseByIndex<int>(2, {10, 20, 30}), 20);
  Array<int> grid = Array<int>::WithDimensions({2, 3});
  EXPECT_EQ(grid.size(), 6u);
  EXPECT_DEATH(a.Resize(-1), "");
  EXPECT_DEATH(ChooseByIndex<int>(0, {1}), "");
}

}  // namespace
}  // namespace kelmor
