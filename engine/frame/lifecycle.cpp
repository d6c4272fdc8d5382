// Exit handlers of the library. The unload hook that runs them is the
// platform's: platform/posix_host.cpp or platform/win32_dllmain.cpp.
#include "frame/lifecycle.h"

#include <cstddef>

namespace cx {

namespace {
// A fixed table: handlers may be added before any allocation is possible,
// and running them must not allocate.
constexpr std::size_t kMaxHandlers = 64;
ExitHandler handlers[kMaxHandlers];
std::size_t handler_count = 0;
}  // namespace

bool add_exit_handler(ExitHandler handler) {
  if (!handler || handler_count == kMaxHandlers) return false;
  handlers[handler_count++] = handler;
  return true;
}

void run_exit_handlers() {
  while (handler_count > 0) {
    // Taken off the table before running, so that a handler that adds
    // another one or unloading twice never runs a handler twice.
    ExitHandler handler = handlers[--handler_count];
    handler();
  }
}

}  // namespace cx
