#include "runtime/file_commands.h"

#include <unistd.h>

#include <climits>

#include "platform/file_copy.h"
#include "runtime/codec.h"

namespace kelmor {

bool FileCopy(const Text& source, const Text& target) {
  return platform::CopyFileA(source.c_str(), target.c_str(), platform::FALSE) != platform::FALSE;
}

Text ProgramDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return Text();
  std::string path(buffer, static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  path = slash == std::string::npos ? std::string() : path.substr(0, slash);
  if (path.empty() && slash == 0) path = "/";
  // The operating system's name is UTF-8; the program's texts are GBK.
  return Utf8ToLocal(path).value_or(Text());
}

Text ProgramFile(const Text& name) {
  // No folder is no file: never one at the root instead.
  const Text folder = ProgramDirectory();
  return folder.empty() ? Text() : folder + "/" + name;
}

}  // namespace kelmor
