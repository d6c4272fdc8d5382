// The file layer over the C runtime of Windows: handles from _sopen with
// every kind of sharing allowed, reads and writes at an offset through the
// handle's OVERLAPPED position (one system call, no separate seek), and
// _locking for byte ranges. A _locking lock belongs to the handle, so it
// keeps other processes and other opens in this one out alike.
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/locking.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>

#include "platform/files.h"

namespace cx {

namespace {

HANDLE os_handle(int handle) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(handle));
}

OVERLAPPED at(int64_t offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
  position.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
  return position;
}

// Records are at most 64 KB; one call never needs more than a DWORD.
bool fits(std::size_t count) {
  return count <= 0x7FFFFFFFu;
}

class Win32Files final : public Files {
 public:
  int open_shared(const char* path) override {
    if (!path) return -1;
    return _sopen(path, _O_RDWR | _O_BINARY | _O_NOINHERIT, _SH_DENYNO);
  }

  int create(const char* path) override {
    if (!path) return -1;
    return _sopen(path, _O_RDWR | _O_BINARY | _O_NOINHERIT | _O_CREAT | _O_TRUNC, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE);
  }

  void close(int handle) override {
    if (handle >= 0) _close(handle);
  }

  bool remove(const char* path) override { return path && _unlink(path) == 0; }

  bool replace(const char* from, const char* to) override {
    return from && to && MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
  }

  int reopen(int handle, const char* path) override {
    const int fresh = open_shared(path);
    if (fresh < 0 || fresh == handle || handle < 0) {
      if (fresh != handle) close(handle);
      return fresh;
    }
    const bool moved = _dup2(fresh, handle) == 0;
    _close(fresh);
    if (moved) return handle;
    close(handle);
    return -1;
  }

  int64_t read_at(int handle, int64_t offset, void* buffer, std::size_t count) override {
    const HANDLE h = os_handle(handle);
    if (offset < 0 || !fits(count) || h == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED position = at(offset);
    DWORD moved = 0;
    if (ReadFile(h, buffer, static_cast<DWORD>(count), &moved, &position)) return moved;
    // Reading at or past the end is a short read, not an error.
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  }

  int64_t write_at(int handle, int64_t offset, const void* data, std::size_t count) override {
    const HANDLE h = os_handle(handle);
    if (offset < 0 || !fits(count) || h == INVALID_HANDLE_VALUE) return -1;
    OVERLAPPED position = at(offset);
    DWORD moved = 0;
    return WriteFile(h, data, static_cast<DWORD>(count), &moved, &position) ? moved : -1;
  }

  int64_t length(int handle) override { return handle >= 0 ? _filelengthi64(handle) : -1; }

  bool try_lock(int handle, int64_t offset, int64_t count) override {
    return range_lock(handle, _LK_NBLCK, offset, count);
  }

  bool unlock(int handle, int64_t offset, int64_t count) override {
    return range_lock(handle, _LK_UNLCK, offset, count);
  }

 private:
  // _locking works from the handle's current position; the reads and writes
  // above never rely on that position, so moving it here disturbs nothing.
  static bool range_lock(int handle, int mode, int64_t offset, int64_t count) {
    if (handle < 0 || offset < 0 || count <= 0 || count > 0x7FFFFFFF) return false;
    if (_lseeki64(handle, offset, SEEK_SET) != offset) return false;
    return _locking(handle, mode, static_cast<long>(count)) == 0;
  }
};

}  // namespace

std::string resolve_path(const char* path) {
  return path ? path : "";
}

Files& system_files() {
  static Win32Files files;
  return files;
}

}  // namespace cx
