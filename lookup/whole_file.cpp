#include "lookup/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kelmor::lookup {

namespace {

// A descriptor that is closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Permissions of a new file as the user's umask makes them (mkstemp makes 0600).
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  std::string name = path + ".XXXXXX";
  std::vector<char> temp(name.begin(), name.end());
  temp.push_back('\0');
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool written = ::fchmod(fd.get(), NewFileMode()) == 0 && WriteAll(fd.get(), bytes) &&
                       ::fsync(fd.get()) == 0;
  const int write_errno = errno;
  if (!fd.Close() || !written || ::rename(temp.data(), path.c_str()) != 0) {
    error = std::strerror(written ? errno : write_errno);
    ::unlink(temp.data());
    return false;
  }
  return true;
}

}  // namespace kelmor::lookup
