#include "tests/reliability/fault_vfs.h"

#include <sqlite3.h>

#include <array>
#include <cstring>
#include <stdexcept>

namespace kelmor::test {

namespace {

// The one armed fault of the process; the VFS callbacks have no other way to reach it.
struct FaultState {
  sqlite3_vfs* real = nullptr;
  std::array<int, 3> counts{};
  bool armed = false;
  FaultKind kind = FaultKind::Write;
  int n = 0;
  int error = SQLITE_IOERR;
  bool sticky = false;
  bool fired = false;
};

FaultState& State() {
  static FaultState state;
  return state;
}

// True when this call of `kind` is to fail.
bool Hit(FaultKind kind) {
  FaultState& s = State();
  const int count = ++s.counts[static_cast<int>(kind)];
  if (!s.armed || s.kind != kind) return false;
  if (count == s.n || (s.sticky && count > s.n)) {
    s.fired = true;
    return true;
  }
  return false;
}

struct FaultFile {
  sqlite3_file base;
  sqlite3_file* real;  // lies right after this struct, in the same allocation
};

sqlite3_file* Real(sqlite3_file* f) {
  return reinterpret_cast<FaultFile*>(f)->real;
}

int Close(sqlite3_file* f) {
  sqlite3_file* real = Real(f);
  return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
  return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  if (Hit(FaultKind::Write)) return State().error;
  return Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  if (Hit(FaultKind::Write)) return State().error;
  return Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) {
  if (Hit(FaultKind::Sync)) return State().error;
  return Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) {
  if (Hit(FaultKind::Lock)) return State().error;
  return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
  return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
  return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) {
  return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

// Version 1 methods only: no shared memory (so no WAL) and no memory mapping, so that every
// byte goes through Write.
const sqlite3_io_methods kMethods = {1,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSize,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr,
                                     nullptr};

int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* out_flags) {
  auto* ours = reinterpret_cast<FaultFile*>(file);
  ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
  ours->base.pMethods = nullptr;
  sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
  const int rc = real->xOpen(real, name, ours->real, flags, out_flags);
  if (rc == SQLITE_OK) ours->base.pMethods = &kMethods;
  return rc;
}

sqlite3_vfs* RealVfs(sqlite3_vfs* vfs) {
  return static_cast<sqlite3_vfs*>(vfs->pAppData);
}
int Delete(sqlite3_vfs* v, const char* name, int sync) {
  return RealVfs(v)->xDelete(RealVfs(v), name, sync);
}
int Access(sqlite3_vfs* v, const char* name, int flags, int* out) {
  return RealVfs(v)->xAccess(RealVfs(v), name, flags, out);
}
int FullPathname(sqlite3_vfs* v, const char* name, int size, char* out) {
  return RealVfs(v)->xFullPathname(RealVfs(v), name, size, out);
}
void* DlOpen(sqlite3_vfs* v, const char* name) {
  return RealVfs(v)->xDlOpen(RealVfs(v), name);
}
void DlError(sqlite3_vfs* v, int size, char* out) {
  RealVfs(v)->xDlError(RealVfs(v), size, out);
}
void (*DlSym(sqlite3_vfs* v, void* handle, const char* name))(void) {
  return RealVfs(v)->xDlSym(RealVfs(v), handle, name);
}
void DlClose(sqlite3_vfs* v, void* handle) {
  RealVfs(v)->xDlClose(RealVfs(v), handle);
}
int Randomness(sqlite3_vfs* v, int size, char* out) {
  return RealVfs(v)->xRandomness(RealVfs(v), size, out);
}
int Sleep(sqlite3_vfs* v, int micro) {
  return RealVfs(v)->xSleep(RealVfs(v), micro);
}
int CurrentTime(sqlite3_vfs* v, double* out) {
  return RealVfs(v)->xCurrentTime(RealVfs(v), out);
}
int GetLastError(sqlite3_vfs* v, int size, char* out) {
  return RealVfs(v)->xGetLastError(RealVfs(v), size, out);
}

sqlite3_vfs& TheVfs() {
  static sqlite3_vfs vfs;
  return vfs;
}

}  // namespace

FaultVfs::FaultVfs() {
  FaultState& s = State();
  if (s.real) throw std::logic_error("one FaultVfs at a time");
  sqlite3_initialize();
  s.real = sqlite3_vfs_find(nullptr);
  sqlite3_vfs& vfs = TheVfs();
  std::memset(&vfs, 0, sizeof vfs);
  vfs.iVersion = 1;
  vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + s.real->szOsFile;
  vfs.mxPathname = s.real->mxPathname;
  vfs.zName = "kelmor-fault";
  vfs.pAppData = s.real;
  vfs.xOpen = Open;
  vfs.xDelete = Delete;
  vfs.xAccess = Access;
  vfs.xFullPathname = FullPathname;
  vfs.xDlOpen = DlOpen;
  vfs.xDlError = DlError;
  vfs.xDlSym = DlSym;
  vfs.xDlClose = DlClose;
  vfs.xRandomness = Randomness;
  vfs.xSleep = Sleep;
  vfs.xCurrentTime = CurrentTime;
  vfs.xGetLastError = GetLastError;
  sqlite3_vfs_register(&vfs, 1);
  ResetCounts();
}

FaultVfs::~FaultVfs() {
  FaultState& s = State();
  sqlite3_vfs_unregister(&TheVfs());
  sqlite3_vfs_register(s.real, 1);
  s = FaultState();
}

void FaultVfs::Arm(FaultKind kind, int n, int error, bool sticky) {
  FaultState& s = State();
  ResetCounts();
  s.armed = true;
  s.kind = kind;
  s.n = n;
  s.error = error;
  s.sticky = sticky;
  s.fired = false;
}

void FaultVfs::Disarm() {
  State().armed = false;
}

void FaultVfs::ResetCounts() {
  State().counts = {};
}

int FaultVfs::Count(FaultKind kind) const {
  return State().counts[static_cast<int>(kind)];
}

bool FaultVfs::Fired() const {
  return State().fired;
}

}  // namespace kelmor::test
