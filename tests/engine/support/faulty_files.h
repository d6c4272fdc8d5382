// A file layer that passes everything to the system's but fails the n-th
// write (or every read) on purpose, for the failure paths of the record layer,
// and counts the handles left open.
#pragma once

#include "platform/files.h"

namespace cx::testing {

class FaultyFiles final : public Files {
 public:
  FaultyFiles() { previous_ = set_files(this); }
  ~FaultyFiles() override { set_files(previous_); }
  FaultyFiles(const FaultyFiles&) = delete;
  FaultyFiles& operator=(const FaultyFiles&) = delete;

  int fail_write = 0;  // 1-based number of the write that fails; 0 none
  bool fail_reads = false;
  int writes = 0;
  int opens = 0;         // successful opens and creations
  int open_handles = 0;  // opened or created and not closed yet

  int open_shared(const char* path) override { return counted(base().open_shared(path)); }
  int create(const char* path) override { return counted(base().create(path)); }
  void close(int handle) override {
    if (handle >= 0) --open_handles;
    base().close(handle);
  }
  bool remove(const char* path) override { return base().remove(path); }
  bool replace(const char* from, const char* to) override { return base().replace(from, to); }
  int64_t read_at(int handle, int64_t offset, void* buffer, std::size_t count) override {
    return fail_reads ? -1 : base().read_at(handle, offset, buffer, count);
  }
  int64_t write_at(int handle, int64_t offset, const void* data, std::size_t count) override {
    if (++writes == fail_write) return count > 0 ? static_cast<int64_t>(count) - 1 : -1;
    return base().write_at(handle, offset, data, count);
  }
  int64_t length(int handle) override { return base().length(handle); }
  bool try_lock(int handle, int64_t offset, int64_t count) override {
    return base().try_lock(handle, offset, count);
  }
  bool unlock(int handle, int64_t offset, int64_t count) override {
    return base().unlock(handle, offset, count);
  }

 private:
  static Files& base() { return system_files(); }
  int counted(int handle) {
    if (handle >= 0) ++opens, ++open_handles;
    return handle;
  }
  Files* previous_;
};

}  // namespace cx::testing
