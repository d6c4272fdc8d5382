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

// Creates or empties path for reading and writing; -1 on failure.
inline int open_host_file(const char* path) {
#if defined(_WIN32)
  return _sopen(path, _O_RDWR | _O_BINARY | _O_CREAT | _O_TRUNC, _SH_DENYNO, _S_IREAD | _S_IWRITE);
#else
  return open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
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
