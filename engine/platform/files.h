// The engine's file layer: what the original took from the C runtime's
// low-level files (shared open, positional read and write, length,
// byte-range lock, unlink). Handles are small non-negative integers, -1 for
// failure, as the runtime's were; the record layer keeps them as 16-bit
// values. The layer is process-wide, like the handles; tests replace it with
// a double that fails on purpose. The build picks one implementation of the
// system's own: posix_files.cpp or win32_files.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cx {

class Files {
 public:
  virtual ~Files() = default;

  // Opens an existing file for reading and writing, shared with every other
  // opener (this process or another). Nothing is created. -1 on failure.
  virtual int open_shared(const char* path) = 0;
  // Creates the file, or empties an existing one, for reading and writing.
  virtual int create(const char* path) = 0;
  virtual void close(int handle) = 0;
  virtual bool remove(const char* path) = 0;
  // Renames `from` to `to`, replacing a file `to` already names, in one
  // step: a reader finds the old file or the new one, never neither.
  virtual bool replace(const char* from, const char* to) = 0;
  // Closes handle and opens path again (as open_shared) under the same
  // handle number, so that copies of the handle stay good. The handle, or
  // -1 with handle closed. By default the new open takes whatever number
  // the system gives.
  virtual int reopen(int handle, const char* path) {
    close(handle);
    return open_shared(path);
  }

  // One system call each; the count of bytes moved, or -1.
  virtual int64_t read_at(int handle, int64_t offset, void* buffer, std::size_t count) = 0;
  virtual int64_t write_at(int handle, int64_t offset, const void* data, std::size_t count) = 0;
  virtual int64_t length(int handle) = 0;

  // Byte-range lock that keeps other processes (and other opens in this
  // one) out; one attempt, without waiting.
  virtual bool try_lock(int handle, int64_t offset, int64_t count) = 0;
  virtual bool unlock(int handle, int64_t offset, int64_t count) = 0;
};

// The system's implementation (POSIX, or the C runtime's files on Windows).
Files& system_files();

// Installs a file layer (null restores the system's); returns the previous
// one.
Files* set_files(Files* files);
Files& files();

// The path to use for a file name of the base: backslashes become slashes,
// and where a component has no exact match in its directory, an entry that
// differs from it only in letter case is taken (bases made on Windows write
// TABICO.DAT or tabico.dat alike). For a file still to be created the last
// component is kept as given. On Windows, whose file system reads both
// separators and ignores case, the path is used as given.
std::string resolve_path(const char* path);

}  // namespace cx
