#include "platform/file_copy.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace kelmor::platform {

namespace {

// A GBK file name as the operating system wants it (UTF-8); empty when it is not GBK.
std::string SystemName(const char* gbk) {
  std::string in = gbk ? gbk : "";
  if (in.empty()) return in;
  iconv_t cd = iconv_open("UTF-8", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
  std::string out(in.size() * 3 + 4, '\0');
  char* src = in.data();
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return std::string();
  out.resize(out.size() - dst_left);
  return out;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

BOOL WriteFileReplacingA(const char* fileName, const FileWriter& write, std::string* reason) {
  std::string why;
  const bool ok = [&] {
    const std::string target = SystemName(fileName);
    if (target.empty()) return why = "the name is not a GBK text", false;
    struct stat target_stat {};
    if (::stat(target.c_str(), &target_stat) == 0 && S_ISDIR(target_stat.st_mode)) {
      return why = std::strerror(EISDIR), false;
    }
    std::string temp = target + ".part-XXXXXX";
    Fd out(::mkstemp(temp.data()));
    if (out.get() < 0) return why = std::strerror(errno), false;
    // mkstemp makes the file private; a written file gets what a new file would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool done = ::fchmod(out.get(), 0666 & ~mask) == 0 || (why = std::strerror(errno), false);
    done = done && write(temp, why);
    // What the writer wrote through its own handle is on the disk before the rename.
    done = done && (::fsync(out.get()) == 0 || (why = std::strerror(errno), false));
    done = (out.Close() || (why = std::strerror(errno), false)) && done;
    done = done && (::rename(temp.c_str(), target.c_str()) == 0 ||
                    (why = std::strerror(errno), false));
    if (!done) ::unlink(temp.c_str());
    return done;
  }();
  if (reason != nullptr) *reason = ok ? std::string() : why;
  return ok ? TRUE : FALSE;
}

BOOL CopyFileA(const char* existingFileName, const char* newFileName, BOOL failIfExists) {
  std::string source = SystemName(existingFileName);
  std::string target = SystemName(newFileName);
  if (source.empty() || target.empty()) return FALSE;
  struct stat target_stat {};
  if (::stat(target.c_str(), &target_stat) == 0) {
    if (failIfExists || S_ISDIR(target_stat.st_mode)) return FALSE;
  }
  Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return FALSE;
  struct stat source_stat {};
  if (::fstat(in.get(), &source_stat) != 0 || !S_ISREG(source_stat.st_mode)) return FALSE;

  const auto copy = [&](const std::string& temp, std::string&) {
    Fd out(::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (out.get() < 0) return false;
    char buffer[1 << 16];
    for (;;) {
      ssize_t n = ::read(in.get(), buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) break;
      if (!WriteAll(out.get(), buffer, static_cast<std::size_t>(n))) return false;
    }
    return ::fchmod(out.get(), source_stat.st_mode & 07777) == 0 && out.Close();
  };
  return WriteFileReplacingA(newFileName, copy, nullptr);
}

}  // namespace kelmor::platform
