// The run lock, over flock(2): a lock of the open file, so that a second
// open of the file in the same process is refused as another process is.
#include "shell/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/paths.h"

namespace trawlix {
namespace {

// What the lock file says, or a plain stand-in when it says nothing (its
// holder may be writing it at this very moment).
std::string holder_of(int fd) {
  char text[256];
  ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  std::string holder = n > 0 ? std::string(text, static_cast<size_t>(n)) : std::string();
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
  return holder.empty() ? "another run" : holder;
}

}  // namespace

RunLock::~RunLock() {
  // The file stays: removing it would let a third run lock a new file while
  // a second one still waits on the old.
  ::close(fd_);
}

std::unique_ptr<RunLock> RunLock::take(const std::string& dir, const std::string& what,
                                       Result* result, std::string* holder) {
  std::string path = join_path(dir, kRunLockFile);
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    *result = Result::kFailed;
    *holder = std::strerror(errno);
    return nullptr;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    int error = errno;
    *result = error == EWOULDBLOCK ? Result::kBusy : Result::kFailed;
    *holder = error == EWOULDBLOCK ? holder_of(fd) : std::strerror(error);
    ::close(fd);
    return nullptr;
  }
  std::string text = what + " (process " + std::to_string(::getpid()) + ")\n";
  // What the file says only informs whoever is refused; the lock is what counts.
  if (::ftruncate(fd, 0) == 0) {
    [[maybe_unused]] ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
  }
  *result = Result::kTaken;
  return std::unique_ptr<RunLock>(new RunLock(fd));
}

std::unique_ptr<RunLock> lock_for_run(const std::string& dir, const std::string& what,
                                      UserInterface& ui) {
  RunLock::Result result;
  std::string holder;
  auto lock = RunLock::take(dir, what, &result, &holder);
  if (result == RunLock::Result::kBusy) {
    ui.show_message(
        "WorkSpace busy:",
        "The WorkSpace is busy: " + holder + " is running in it.\rTry again when it has finished.",
        Icon::kExclamation);
  } else if (result == RunLock::Result::kFailed) {
    ui.show_message(
        "WorkSpace busy:",
        "The WorkSpace cannot be locked for " + what + ".\rSystem returned message: " + holder,
        Icon::kCritical);
  }
  return lock;
}

}  // namespace trawlix
