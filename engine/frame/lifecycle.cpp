// Exit handlers and the load/unload hooks of the shared library.
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

#if defined(_WIN32)
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  if (reason == DLL_PROCESS_DETACH) cx::run_exit_handlers();
  return TRUE;
}
#else
__attribute__((destructor)) static void cartex32_unload() {
  cx::run_exit_handlers();
}
#endif
