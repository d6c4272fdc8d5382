// The file layer over POSIX: pread/pwrite, open-file-description locks
// (which conflict between processes and between separate opens, and are not
// dropped when another descriptor of the same file closes).
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace cx {

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of dir equal to name but for letter case, or name itself.
std::string case_match(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

// Repeats a system call interrupted by a signal.
template <typename Call>
auto retry(Call call) {
  decltype(call()) result;
  do result = call();
  while (result < 0 && errno == EINTR);
  return result;
}

class PosixFiles final : public Files {
 public:
  int open_shared(const char* path) override {
    if (!path) return -1;
    return retry([&] { return ::open(resolve_path(path).c_str(), O_RDWR | O_CLOEXEC); });
  }

  int create(const char* path) override {
    if (!path) return -1;
    return retry([&] {
      return ::open(resolve_path(path).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    });
  }

  void close(int handle) override {
    if (handle >= 0) ::close(handle);
  }

  bool remove(const char* path) override {
    return path && ::unlink(resolve_path(path).c_str()) == 0;
  }

  bool replace(const char* from, const char* to) override {
    return from && to && ::rename(resolve_path(from).c_str(), resolve_path(to).c_str()) == 0;
  }

  int64_t read_at(int handle, int64_t offset, void* buffer, std::size_t count) override {
    if (offset < 0) return -1;
    return retry([&] { return ::pread(handle, buffer, count, offset); });
  }

  int64_t write_at(int handle, int64_t offset, const void* data, std::size_t count) override {
    if (offset < 0) return -1;
    return retry([&] { return ::pwrite(handle, data, count, offset); });
  }

  int64_t length(int handle) override {
    struct stat st;
    return ::fstat(handle, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
  }

  int reopen(int handle, const char* path) override {
    const int fresh = open_shared(path);
    if (fresh < 0 || fresh == handle || handle < 0) {
      if (fresh != handle) close(handle);
      return fresh;
    }
    const bool moved = retry([&] { return ::dup2(fresh, handle); }) == handle &&
                       ::fcntl(handle, F_SETFD, FD_CLOEXEC) == 0;
    ::close(fresh);
    if (moved) return handle;
    close(handle);
    return -1;
  }

  bool try_lock(int handle, int64_t offset, int64_t count) override {
    return range_lock(handle, F_WRLCK, offset, count);
  }

  bool unlock(int handle, int64_t offset, int64_t count) override {
    return range_lock(handle, F_UNLCK, offset, count);
  }

 private:
  static bool range_lock(int handle, short type, int64_t offset, int64_t count) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = count;
    return retry([&] { return ::fcntl(handle, F_OFD_SETLK, &lock); }) == 0;
  }
};

}  // namespace

std::string resolve_path(const char* path) {
  std::string p = path ? path : "";
  for (char& c : p)
    if (c == '\\') c = '/';
  if (p.empty() || exists(p)) return p;

  // Walk the components, matching each without regard to case.
  std::string out = p[0] == '/' ? "/" : "";
  std::size_t start = out.size();
  while (start < p.size()) {
    std::size_t end = p.find('/', start);
    if (end == std::string::npos) end = p.size();
    const std::string name = p.substr(start, end - start);
    if (!name.empty()) {
      const std::string dir = out;
      std::string candidate = dir + name;
      if (!exists(candidate) && name != "." && name != "..")
        candidate = dir + case_match(dir, name);
      out = candidate;
      if (end < p.size()) out += '/';
    }
    start = end + 1;
  }
  return out;
}

Files& system_files() {
  static PosixFiles files;
  return files;
}

}  // namespace cx
