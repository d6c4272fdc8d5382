// The write-gathering file layer over SQLite's own.
#include "shell/wal_write_buffer.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <string>

namespace trawlix {
namespace {

// A frame of the log is a 24-byte header, then the page. Bytes 4 to 7 of
// the header, the database's size in pages after a commit, are 0 for the
// frames before the commit frame.
constexpr int kFrameHeaderBytes = 24;
// Gathered writes go out at this size even before a commit.
constexpr size_t kMaxGathered = size_t{8} << 20;

struct File {
  sqlite3_file base;  // first: SQLite sees a File as an sqlite3_file
  sqlite3_io_methods methods;
  sqlite3_file* real;        // the system layer's file, after this struct
  bool log = false;          // a -wal file: its writes are gathered
  File* log_of = nullptr;    // for a database file, its open log
  File* database = nullptr;  // for a log, its database file
  std::string gathered;
  sqlite3_int64 gathered_at = 0;  // the offset of gathered[0]
  bool commit_header = false;     // the last write was a commit frame's header
};

File* as_file(sqlite3_file* f) {
  return reinterpret_cast<File*>(f);
}

int flush(File* f) {
  if (f->gathered.empty()) return SQLITE_OK;
  // The system layer takes writes of less than 128 KiB.
  constexpr size_t kMaxWrite = 64 * 1024;
  int rc = SQLITE_OK;
  for (size_t done = 0; rc == SQLITE_OK && done < f->gathered.size(); done += kMaxWrite) {
    size_t n = std::min(kMaxWrite, f->gathered.size() - done);
    rc = f->real->pMethods->xWrite(f->real, f->gathered.data() + done, static_cast<int>(n),
                                   f->gathered_at + static_cast<sqlite3_int64>(done));
  }
  f->gathered.clear();
  f->commit_header = false;
  return rc;
}

// The log's writes, out before anything else touches the log or the
// shared index: a database file flushes its log.
int flush_log(sqlite3_file* file) {
  File* f = as_file(file);
  if (f->log) return flush(f);
  return f->log_of ? flush(f->log_of) : SQLITE_OK;
}

int x_close(sqlite3_file* file) {
  File* f = as_file(file);
  int rc = flush(f);
  if (f->database) f->database->log_of = nullptr;
  if (f->log_of) f->log_of->database = nullptr;
  int closed = f->real->pMethods->xClose(f->real);
  f->~File();
  return rc != SQLITE_OK ? rc : closed;
}

int x_read(sqlite3_file* file, void* out, int n, sqlite3_int64 at) {
  int rc = flush_log(file);
  if (rc != SQLITE_OK) return rc;
  return as_file(file)->real->pMethods->xRead(as_file(file)->real, out, n, at);
}

int x_write(sqlite3_file* file, const void* data, int n, sqlite3_int64 at) {
  File* f = as_file(file);
  if (!f->log) return f->real->pMethods->xWrite(f->real, data, n, at);
  if (!f->gathered.empty() &&
      at != f->gathered_at + static_cast<sqlite3_int64>(f->gathered.size())) {
    int rc = flush(f);
    if (rc != SQLITE_OK) return rc;
  }
  if (f->gathered.empty()) f->gathered_at = at;
  f->gathered.append(static_cast<const char*>(data), static_cast<size_t>(n));
  bool commit_page = f->commit_header;
  const auto* bytes = static_cast<const unsigned char*>(data);
  f->commit_header = n == kFrameHeaderBytes && (bytes[4] | bytes[5] | bytes[6] | bytes[7]) != 0;
  if (commit_page || f->gathered.size() >= kMaxGathered) return flush(f);
  return SQLITE_OK;
}

int x_truncate(sqlite3_file* file, sqlite3_int64 size) {
  int rc = flush_log(file);
  return rc != SQLITE_OK ? rc : as_file(file)->real->pMethods->xTruncate(as_file(file)->real, size);
}

int x_sync(sqlite3_file* file, int flags) {
  int rc = flush_log(file);
  return rc != SQLITE_OK ? rc : as_file(file)->real->pMethods->xSync(as_file(file)->real, flags);
}

int x_file_size(sqlite3_file* file, sqlite3_int64* size) {
  int rc = flush_log(file);
  return rc != SQLITE_OK ? rc : as_file(file)->real->pMethods->xFileSize(as_file(file)->real, size);
}

int x_lock(sqlite3_file* file, int level) {
  return as_file(file)->real->pMethods->xLock(as_file(file)->real, level);
}

int x_unlock(sqlite3_file* file, int level) {
  int rc = flush_log(file);
  int unlocked = as_file(file)->real->pMethods->xUnlock(as_file(file)->real, level);
  return rc != SQLITE_OK ? rc : unlocked;
}

int x_check_reserved_lock(sqlite3_file* file, int* out) {
  return as_file(file)->real->pMethods->xCheckReservedLock(as_file(file)->real, out);
}

int x_file_control(sqlite3_file* file, int op, void* arg) {
  int rc = flush_log(file);
  return rc != SQLITE_OK
             ? rc
             : as_file(file)->real->pMethods->xFileControl(as_file(file)->real, op, arg);
}

int x_sector_size(sqlite3_file* file) {
  return as_file(file)->real->pMethods->xSectorSize(as_file(file)->real);
}

int x_device_characteristics(sqlite3_file* file) {
  return as_file(file)->real->pMethods->xDeviceCharacteristics(as_file(file)->real);
}

int x_shm_map(sqlite3_file* file, int page, int size, int extend, void volatile** out) {
  return as_file(file)->real->pMethods->xShmMap(as_file(file)->real, page, size, extend, out);
}

int x_shm_lock(sqlite3_file* file, int offset, int n, int flags) {
  int rc = flush_log(file);
  return rc != SQLITE_OK
             ? rc
             : as_file(file)->real->pMethods->xShmLock(as_file(file)->real, offset, n, flags);
}

void x_shm_barrier(sqlite3_file* file) {
  // The shared index is about to show a commit: its frames must be in the
  // log. (They are already, unless the commit frame went unseen.)
  (void)flush_log(file);
  as_file(file)->real->pMethods->xShmBarrier(as_file(file)->real);
}

int x_shm_unmap(sqlite3_file* file, int delete_flag) {
  return as_file(file)->real->pMethods->xShmUnmap(as_file(file)->real, delete_flag);
}

int x_fetch(sqlite3_file* file, sqlite3_int64 at, int n, void** out) {
  int rc = flush_log(file);
  return rc != SQLITE_OK ? rc
                         : as_file(file)->real->pMethods->xFetch(as_file(file)->real, at, n, out);
}

int x_unfetch(sqlite3_file* file, sqlite3_int64 at, void* page) {
  return as_file(file)->real->pMethods->xUnfetch(as_file(file)->real, at, page);
}

int x_open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* out_flags) {
  sqlite3_vfs* real = static_cast<sqlite3_vfs*>(vfs->pAppData);
  File* f = new (file) File();
  f->real = reinterpret_cast<sqlite3_file*>(f + 1);
  int rc = real->xOpen(real, name, f->real, flags, out_flags);
  if (rc != SQLITE_OK || f->real->pMethods == nullptr) {
    f->~File();
    file->pMethods = nullptr;
    return rc;
  }
  const sqlite3_io_methods* m = f->real->pMethods;
  f->methods = {std::min(m->iVersion, 3),
                x_close,
                x_read,
                x_write,
                x_truncate,
                x_sync,
                x_file_size,
                x_lock,
                x_unlock,
                x_check_reserved_lock,
                x_file_control,
                x_sector_size,
                x_device_characteristics,
                x_shm_map,
                x_shm_lock,
                x_shm_barrier,
                x_shm_unmap,
                x_fetch,
                x_unfetch};
  f->base.pMethods = &f->methods;
  if ((flags & SQLITE_OPEN_WAL) != 0 && name != nullptr) {
    // The log's database file was opened through this layer too.
    sqlite3_file* db_file = sqlite3_database_file_object(name);
    if (db_file != nullptr && db_file->pMethods != nullptr &&
        db_file->pMethods->xClose == x_close) {
      f->log = true;
      f->database = as_file(db_file);
      f->database->log_of = f;
    }
  }
  return SQLITE_OK;
}

// The rest of the layer is the system's.
int x_delete(sqlite3_vfs* v, const char* name, int sync) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xDelete(real, name, sync);
}
int x_access(sqlite3_vfs* v, const char* name, int flags, int* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xAccess(real, name, flags, out);
}
int x_full_pathname(sqlite3_vfs* v, const char* name, int n, char* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xFullPathname(real, name, n, out);
}
void* x_dl_open(sqlite3_vfs* v, const char* name) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xDlOpen(real, name);
}
void x_dl_error(sqlite3_vfs* v, int n, char* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  real->xDlError(real, n, out);
}
void (*x_dl_sym(sqlite3_vfs* v, void* lib, const char* name))(void) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xDlSym(real, lib, name);
}
void x_dl_close(sqlite3_vfs* v, void* lib) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  real->xDlClose(real, lib);
}
int x_randomness(sqlite3_vfs* v, int n, char* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xRandomness(real, n, out);
}
int x_sleep(sqlite3_vfs* v, int microseconds) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xSleep(real, microseconds);
}
int x_current_time(sqlite3_vfs* v, double* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xCurrentTime(real, out);
}
int x_get_last_error(sqlite3_vfs* v, int n, char* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  return real->xGetLastError ? real->xGetLastError(real, n, out) : 0;
}
int x_current_time_int64(sqlite3_vfs* v, sqlite3_int64* out) {
  auto* real = static_cast<sqlite3_vfs*>(v->pAppData);
  if (real->iVersion >= 2 && real->xCurrentTimeInt64) return real->xCurrentTimeInt64(real, out);
  double days = 0;
  int rc = real->xCurrentTime(real, &days);
  *out = static_cast<sqlite3_int64>(days * 86400000.0);
  return rc;
}

}  // namespace

const char* wal_write_buffer_vfs() {
  static constexpr char kName[] = "trawlix-gathered-log";
  static std::once_flag once;
  static sqlite3_vfs vfs;
  std::call_once(once, [] {
    sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    std::memset(&vfs, 0, sizeof vfs);
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(File)) + real->szOsFile;
    vfs.mxPathname = real->mxPathname;
    vfs.zName = kName;
    vfs.pAppData = real;
    vfs.xOpen = x_open;
    vfs.xDelete = x_delete;
    vfs.xAccess = x_access;
    vfs.xFullPathname = x_full_pathname;
    vfs.xDlOpen = x_dl_open;
    vfs.xDlError = x_dl_error;
    vfs.xDlSym = x_dl_sym;
    vfs.xDlClose = x_dl_close;
    vfs.xRandomness = x_randomness;
    vfs.xSleep = x_sleep;
    vfs.xCurrentTime = x_current_time;
    vfs.xGetLastError = x_get_last_error;
    vfs.xCurrentTimeInt64 = x_current_time_int64;
    sqlite3_vfs_register(&vfs, 0);
  });
  return kName;
}

}  // namespace trawlix
