// The DLL's entry point. The runtime's entry has run the static initialisers
// before DllMain sees the attach. The library runs on its host's one thread,
// so it asks the loader for no thread notifications; a loader refuses that
// for a DLL with static TLS (MinGW's runtime keeps TLS callbacks in every
// DLL), and then the notifications come and are ignored here. Loading opens
// no files and sets up no engine state; detaching runs the exit handlers
// added during the run.
#include <windows.h>

#include "frame/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  if (reason == DLL_PROCESS_DETACH) cx::run_exit_handlers();
  return TRUE;
}
