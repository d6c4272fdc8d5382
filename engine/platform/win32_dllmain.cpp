// The DLL's entry point. The runtime's entry has run the static initialisers
// before DllMain sees the attach; thread notifications are of no use to a
// library that runs on its host's one thread, so they are turned off.
// Loading opens no files and sets up no engine state; detaching runs the
// exit handlers added during the run.
#include <windows.h>

#include "frame/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  if (reason == DLL_PROCESS_DETACH) cx::run_exit_handlers();
  return TRUE;
}
