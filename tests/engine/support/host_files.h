// Record files opened by the test program itself, as a host opens them and
// passes the handles to the engine: POSIX descriptors, or handles of the C
// runtime the DLL shares with the program (msvcrt.dll) on Windows.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

namespace cx::testing {

// Opens path for reading and writing, shared; `create` makes it or empties
// it first, otherwise it must exist. -1 on failure.
inline int open_host_file(const char* path, bool create = true) {
#if defined(_WIN32)
  const int flags = _O_RDWR | _O_BINARY | (create ? _O_CREAT | _O_TRUNC : 0);
  return _sopen(path, flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
#else
  return open(path, O_RDWR | (create ? O_CREAT | O_TRUNC : 0), 0644);
#endif
}

inline void close_host_file(int handle) {
#if defined(_WIN32)
  _close(handle);
#else
  close(handle);
#endif
}

}  // namespace cx::testing
