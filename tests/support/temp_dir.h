// TempDir: a fresh folder for a test that needs real files. Part of test_support_data (no
// window code). Each TempDir owns its folder and removes it, with everything in it, when it is
// destroyed; it cannot be copied.
#pragma once

#include <filesystem>
#include <string>

namespace kelmor::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace kelmor::test
