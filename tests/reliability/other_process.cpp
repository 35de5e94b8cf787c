#include "tests/reliability/other_process.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelmor::test {

OtherProcess::OtherProcess(const std::filesystem::path& file, const std::string& sql) {
  int ready[2];
  int release[2];
  if (::pipe(ready) != 0) return;
  if (::pipe(release) != 0) {
    ::close(ready[0]);
    ::close(ready[1]);
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(ready[0]);
    ::close(release[1]);
    sqlite3* db = nullptr;
    char result = '0';
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) {
      result = '1';
    }
    (void)!::write(ready[1], &result, 1);
    char byte;
    (void)!::read(release[0], &byte, 1);  // until released or the parent has gone
    // Ends without committing: whatever was begun is rolled back with the connection.
    sqlite3_close_v2(db);
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(release[0]);
  release_fd_ = release[1];
  char result = '0';
  if (pid_ > 0 && ::read(ready[0], &result, 1) == 1) ok_ = result == '1';
  ::close(ready[0]);
}

OtherProcess::~OtherProcess() {
  Release();
}

void OtherProcess::Release() {
  if (release_fd_ >= 0) {
    ::close(release_fd_);
    release_fd_ = -1;
  }
  if (pid_ > 0) {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
}

bool RunUnprivileged(const std::filesystem::path& folder,
                     bool (*body)(const std::filesystem::path&)) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::getuid() == 0) {
      // nobody: may read the folder and its files but write only where they allow it.
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    }
    ::_exit(body(folder) ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace kelmor::test
