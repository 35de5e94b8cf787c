// RemoteMemory on both allocation paths against this process's own window.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/process_memory.h"
#include "tests/treeview/tree_view_fixture.h"
#include "treeview/remote_memory.h"

namespace kelmor {
namespace {

class RemoteMemoryTest : public ::testing::Test, public test::TreeViewFixture {
 protected:
  void SetUp() override {
    CreateTree();
    allocations = platform::VirtualAllocationCount();
    views = platform::MappedViewCount();
    handles = platform::OpenHandleCount();
  }
  void TearDown() override {
    EXPECT_EQ(platform::VirtualAllocationCount(), allocations);
    EXPECT_EQ(platform::MappedViewCount(), views);
    EXPECT_EQ(platform::OpenHandleCount(), handles);
    DestroyTree();
  }
  std::size_t allocations = 0, views = 0, handles = 0;
};

TEST_F(RemoteMemoryTest, NtPathWritesReadsAndFrees) {
  RemoteMemory memory(kFamilyNt);
  platform::HANDLE process = memory.OpenOwner(tree);
  ASSERT_NE(process, 0u);
  std::uintptr_t block = memory.Allocate(process, 40);
  ASSERT_NE(block, 0u);
  EXPECT_EQ(platform::VirtualAllocationCount(), allocations + 1);
  const char text[] = "麻黄";
  EXPECT_TRUE(memory.Write(process, block, text, sizeof text));
  Bytes back = memory.Read(process, block, sizeof text);
  EXPECT_EQ(std::memcmp(back.data(), text, sizeof text), 0);
  EXPECT_TRUE(memory.mappings().empty());
  memory.Free(process, block);
  memory.Close(process);
}

TEST_F(RemoteMemoryTest, MappingPathFreeingTheFirstOfTwoLeavesTheSecond) {
  RemoteMemory memory(kFamilyWin9x);
  EXPECT_EQ(memory.platform_family(), kFamilyWin9x);
  platform::HANDLE process = memory.OpenOwner(tree);
  std::uintptr_t first = memory.Allocate(process, 40);
  std::uintptr_t second = memory.Allocate(process, 260);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_EQ(platform::VirtualAllocationCount(), allocations);
  EXPECT_EQ(platform::MappedViewCount(), views + 2);
  const char text[] = "石膏";
  EXPECT_TRUE(memory.Write(process, second, text, sizeof text));

  memory.Free(process, first);
  ASSERT_EQ(memory.mappings().size(), 1u);
  EXPECT_EQ(memory.mappings()[0].view, second);
  EXPECT_EQ(platform::MappedViewCount(), views + 1);
  Bytes back = memory.Read(process, second, sizeof text);
  EXPECT_EQ(std::memcmp(back.data(), text, sizeof text), 0);

  memory.Free(process, first);  // not handed out any more: nothing happens
  EXPECT_EQ(memory.mappings().size(), 1u);

  memory.Close(0);  // handle 0: the list stays as it is
  EXPECT_EQ(memory.mappings().size(), 1u);

  memory.Free(process, second);
  EXPECT_TRUE(memory.mappings().empty());
  memory.Close(process);
}

TEST_F(RemoteMemoryTest, DefaultFamilyIsTheSystemsAndCopyKeepsTheList) {
  RemoteMemory system;
  EXPECT_EQ(system.platform_family(), kFamilyNt);
  RemoteMemory memory(kFamilyWin9x);
  std::uintptr_t view = memory.Allocate(0, 16);
  RemoteMemory copy(memory);
  ASSERT_EQ(copy.mappings().size(), 1u);
  EXPECT_EQ(copy.mappings()[0].view, view);
  memory.Free(0, view);
  EXPECT_TRUE(memory.mappings().empty());
}

TEST_F(RemoteMemoryTest, OwnerOfADeadWindowIsNotOpened) {
  RemoteMemory memory(kFamilyNt);
  platform::HWND dead = tree;
  DestroyTree();
  platform::HANDLE process = memory.OpenOwner(dead);
  EXPECT_EQ(process, 0u);
  memory.Close(process);
}

}  // namespace
}  // namespace kelmor
