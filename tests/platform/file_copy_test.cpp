#include "platform/file_copy.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/system_info.h"
#include "tests/support/temp_dir.h"

namespace kelmor::platform {
namespace {

std::string Read(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CopyFile, OverwritesAnExistingTargetUnlessAskedNotTo) {
  test::TempDir dir;
  std::ofstream(dir / "a.db", std::ios::binary) << "new content";
  std::ofstream(dir / "b.db", std::ios::binary) << "old";
  std::string a = (dir / "a.db").string(), b = (dir / "b.db").string();
  EXPECT_FALSE(CopyFileA(a.c_str(), b.c_str(), TRUE));
  EXPECT_EQ(Read(dir / "b.db"), "old");
  EXPECT_TRUE(CopyFileA(a.c_str(), b.c_str(), FALSE));
  EXPECT_EQ(Read(dir / "b.db"), "new content");
}

TEST(CopyFile, FailuresLeaveNothingBehind) {
  test::TempDir dir;
  std::ofstream(dir / "a.db") << "x";
  std::string a = (dir / "a.db").string();
  std::string missing_folder = (dir / "bak" / "a.db").string();
  EXPECT_FALSE(CopyFileA(a.c_str(), missing_folder.c_str(), FALSE));
  std::string missing_source = (dir / "none.db").string();
  std::string target = (dir / "t.db").string();
  EXPECT_FALSE(CopyFileA(missing_source.c_str(), target.c_str(), FALSE));
  std::filesystem::create_directory(dir / "folder");
  std::string folder = (dir / "folder").string();
  EXPECT_FALSE(CopyFileA(a.c_str(), folder.c_str(), FALSE));  // a folder is never replaced
  int entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) entries += e.exists();
  EXPECT_EQ(entries, 2);  // a.db and folder: no temporary copy left over
}

TEST(CopyFile, GbkNamesReachTheFileSystemAsUtf8) {
  test::TempDir dir;
  std::ofstream(dir / "a.db") << "x";
  std::string a = (dir / "a.db").string();
  std::string target = (dir.path().string() + "/备份.db");  // GBK literal
  EXPECT_TRUE(CopyFileA(a.c_str(), target.c_str(), FALSE));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / reinterpret_cast<const char*>(u8"备份.db")));
}

// A file written whole or not at all: a failing writer or an unwritable place leaves the target
// as it was and no temporary beside it, and says why.
TEST(WriteFileReplacing, OnlyACompleteFileReplacesTheTarget) {
  test::TempDir dir;
  std::ofstream(dir / "page.pdf", std::ios::binary) << "old";
  const auto writer = [](const char* content, bool ok) {
    return [=](const std::string& temporary, std::string& reason) {
      std::ofstream(temporary, std::ios::binary) << content;
      if (!ok) reason = "disk full";
      return ok;
    };
  };
  const std::string target = (dir / "page.pdf").string();
  std::string reason;
  EXPECT_FALSE(WriteFileReplacingA(target.c_str(), writer("half", false), &reason));
  EXPECT_EQ(reason, "disk full");
  EXPECT_EQ(Read(dir / "page.pdf"), "old");
  const std::string missing = (dir / "none" / "page.pdf").string();
  EXPECT_FALSE(WriteFileReplacingA(missing.c_str(), writer("x", true), &reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  const mode_t mask = ::umask(022);
  EXPECT_TRUE(WriteFileReplacingA(target.c_str(), writer("new", true), &reason));
  ::umask(mask);
  EXPECT_EQ(Read(dir / "page.pdf"), "new");
  EXPECT_EQ(reason, "");
  // Readable by others as any new file, not private as a temporary.
  using std::filesystem::perms;
  EXPECT_EQ(std::filesystem::status(dir / "page.pdf").permissions() & perms::all,
            perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SystemInfo, ReportsTheNtFamily) {
  OSVERSIONINFOA info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
}

}  // namespace
}  // namespace kelmor::platform
