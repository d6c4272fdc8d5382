// The run lock of a WorkSpace: a run that fetches into the working file or
// crawls (a crawl, an explored URL, a fetched page, a survey) holds it, so
// that two such runs never share one WorkSpace, whether in one process or
// in two. It is an advisory lock on the file lexmine.lock beside the
// database: the system releases it when the process ends, however it ends.
// Searches, lists and statistics take no lock and work beside a run.
#pragma once

#include <memory>
#include <string>

#include "shell/user_interface.h"

namespace trawlix {

inline constexpr const char kRunLockFile[] = "lexmine.lock";

class RunLock {
 public:
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock();

  enum class Result { kTaken, kBusy, kFailed };
  // Takes the lock of the WorkSpace in `dir` for a run described by `what`
  // ("a crawl"), which the lock file keeps for anyone refused. On kBusy,
  // `holder` says what holds it ("a crawl (process 1234)"); on kFailed,
  // `holder` is the system's reason.
  static std::unique_ptr<RunLock> take(const std::string& dir, const std::string& what,
                                       Result* result, std::string* holder);

 private:
  explicit RunLock(int fd) : fd_(fd) {}
  int fd_;
};

// Takes the lock for a run, or tells the person why the run cannot start:
// "The WorkSpace is busy: ..." and what holds it. Null when refused.
std::unique_ptr<RunLock> lock_for_run(const std::string& dir, const std::string& what,
                                      UserInterface& ui);

}  // namespace trawlix
