// Another process on the same database file, for tests: it opens the file, runs SQL (for
// example BEGIN IMMEDIATE, or BEGIN EXCLUSIVE and a write) and holds what it took until
// released or destroyed.
#pragma once

#include <filesystem>
#include <string>

#include <sys/types.h>

namespace kelmor::test {

class OtherProcess {
 public:
  // Returns once the child has run `sql`; ok() tells whether that worked.
  OtherProcess(const std::filesystem::path& file, const std::string& sql);
  ~OtherProcess();  // releases (the child ends, its connection with it)
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  bool ok() const { return ok_; }
  void Release();

 private:
  pid_t pid_ = -1;
  int release_fd_ = -1;
  bool ok_ = false;
};

// Runs `body` in a child process that has given up root (when the tests run as root, a file
// mode alone cannot keep them from writing); true when it returned true.
bool RunUnprivileged(const std::filesystem::path& folder,
                     bool (*body)(const std::filesystem::path&));

}  // namespace kelmor::test
