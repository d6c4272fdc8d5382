// GoogleTest's port hooks for the MinGW cross build. The compiler's win32
// thread model has no std::mutex or std::condition_variable, which
// GoogleTest's Notification (used only by its own thread tests) is written
// with; this one waits on a Win32 event instead. Everything else of
// GoogleTest's Windows port is used as it is.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing
