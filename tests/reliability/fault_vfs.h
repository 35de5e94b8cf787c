// A test SQLite VFS over the default one that makes a chosen call fail: the n-th write (or
// truncate), sync or lock after arming, with a chosen SQLite error. While installed it is the
// default VFS, so every connection the program opens goes through it. Counting only (nothing
// armed) tells how many calls of each kind an action makes: its write points.
#pragma once

#include <cstdint>

namespace kelmor::test {

enum class FaultKind { Write, Sync, Lock };

class FaultVfs {
 public:
  FaultVfs();   // registers as the default VFS
  ~FaultVfs();  // puts the previous default back
  FaultVfs(const FaultVfs&) = delete;
  FaultVfs& operator=(const FaultVfs&) = delete;

  // The n-th call (1-based) of `kind` from now fails with `error` (SQLITE_FULL,
  // SQLITE_IOERR_WRITE, SQLITE_BUSY ...); with `sticky` every later one of that kind too, as a
  // disk that stays full. Counting restarts.
  void Arm(FaultKind kind, int n, int error, bool sticky = false);
  void Disarm();  // counting goes on, nothing fails
  void ResetCounts();

  int Count(FaultKind kind) const;
  bool Fired() const;  // whether the armed call has been reached
};

}  // namespace kelmor::test
