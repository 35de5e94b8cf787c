#include "platform/process_memory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "platform/commctrl.h"
#include "platform_fixture.h"

namespace kelmor::platform::testing {
namespace {

class ProcessMemoryTest : public PlatformTest,
                          public ::testing::WithParamInterface<ProcessMemoryPath> {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    saved = CurrentProcessMemoryPath();
    ForceProcessMemoryPath(GetParam());
    handles = OpenHandleCount();
  }
  void TearDown() override {
    EXPECT_EQ(OpenHandleCount(), handles);
    EXPECT_EQ(VirtualAllocationCount(), 0u);
    EXPECT_EQ(MappedViewCount(), 0u);
    ForceProcessMemoryPath(saved);
    PlatformTest::TearDown();
  }
  ProcessMemoryPath saved{};
  std::size_t handles = 0;
};

TEST_P(ProcessMemoryTest, ItemRecordExchangeThroughAllocatedBuffers) {
  HWND tree = Child(WC_TREEVIEWA, 0, 1);
  TVINSERTSTRUCTA ins;
  ins.hParent = TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  char text[] = "甘草";
  ins.item.pszText = text;
  ins.item.lParam = 9;
  const auto item = static_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));

  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
  ASSERT_NE(process, 0u);
  void* record = VirtualAllocEx(process, nullptr, sizeof(TVITEMA), MEM_COMMIT, PAGE_READWRITE);
  void* buffer = VirtualAllocEx(process, nullptr, 260, MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(record, nullptr);
  ASSERT_NE(buffer, nullptr);
  TVITEMA local;
  local.mask = TVIF_TEXT | TVIF_PARAM;
  local.hItem = item;
  local.pszText = static_cast<char*>(buffer);
  local.cchTextMax = 260;
  SIZE_T n = 0;
  ASSERT_TRUE(WriteProcessMemory(process, record, &local, sizeof local, &n));
  EXPECT_EQ(n, sizeof local);
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(record)));
  TVITEMA back;
  ASSERT_TRUE(ReadProcessMemory(process, record, &back, sizeof back, nullptr));
  EXPECT_EQ(back.lParam, 9);
  char got[260] = {};
  ASSERT_TRUE(ReadProcessMemory(process, buffer, got, sizeof got, nullptr));
  EXPECT_STREQ(got, "甘草");
  EXPECT_TRUE(VirtualFreeEx(process, buffer, 0, MEM_RELEASE));
  EXPECT_TRUE(VirtualFreeEx(process, record, 0, MEM_RELEASE));
  EXPECT_FALSE(VirtualFreeEx(process, record, 0, MEM_RELEASE));
  EXPECT_TRUE(CloseHandle(process));
  EXPECT_FALSE(CloseHandle(process));
  EXPECT_FALSE(CloseHandle(0));
}

TEST_P(ProcessMemoryTest, MappingsShareBytesAndAreCounted) {
  const HANDLE a =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 40, nullptr);
  const HANDLE b =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 260, nullptr);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_EQ(OpenHandleCount(), handles + 2);
  void* va = MapViewOfFile(a, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  void* va2 = MapViewOfFile(a, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  void* vb = MapViewOfFile(b, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  ASSERT_NE(va, nullptr);
  ASSERT_NE(vb, nullptr);
  std::memcpy(va, "shared", 7);
  EXPECT_STREQ(static_cast<char*>(va2), "shared");
  const HANDLE self = OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId());
  char out[7] = {};
  EXPECT_TRUE(ReadProcessMemory(self, va, out, sizeof out, nullptr));
  EXPECT_STREQ(out, "shared");
  CloseHandle(self);
  EXPECT_TRUE(UnmapViewOfFile(va));
  EXPECT_TRUE(UnmapViewOfFile(va2));
  EXPECT_TRUE(CloseHandle(a));
  EXPECT_EQ(MappedViewCount(), 1u);
  EXPECT_EQ(OpenHandleCount(), handles + 1);
  EXPECT_TRUE(UnmapViewOfFile(vb));
  EXPECT_FALSE(UnmapViewOfFile(vb));
  EXPECT_TRUE(CloseHandle(b));
  EXPECT_EQ(CreateFileMappingA(0, nullptr, PAGE_READWRITE, 0, 40, nullptr), 0u);
}

TEST_P(ProcessMemoryTest, RefusesOtherProcessesAndBadRanges) {
  EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId() + 1), 0u);
  char buf[8];
  EXPECT_FALSE(ReadProcessMemory(0, buf, buf, sizeof buf, nullptr));
  const HANDLE self = OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId());
  EXPECT_FALSE(ReadProcessMemory(self, reinterpret_cast<void*>(0x10), buf, sizeof buf, nullptr));
  void* block = VirtualAllocEx(self, nullptr, 16, MEM_COMMIT, PAGE_READWRITE);
  EXPECT_EQ(VirtualAllocEx(self, block, 16, MEM_COMMIT, PAGE_READWRITE), nullptr);
  VirtualFreeEx(self, block, 0, MEM_RELEASE);
  CloseHandle(self);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, ProcessMemoryTest,
                         ::testing::Values(ProcessMemoryPath::Syscall,
                                           ProcessMemoryPath::InProcessCopy),
                         [](const auto& info) {
                           return info.param == ProcessMemoryPath::Syscall
                                      ? std::string("Syscall")
                                      : std::string("InProcessCopy");
                         });

TEST(ProcessMemoryProbe, ReportsWhetherTheSyscallWorksHere) {
  std::printf("process_vm_readv on this process: %s\n",
              CrossProcessSyscallPermitted() ? "permitted" : "refused");
  SUCCEED();
}

}  // namespace
}  // namespace kelmor::platform::testing
