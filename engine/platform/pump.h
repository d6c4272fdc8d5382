// Letting the host's events run during long loops. On Windows the loops
// peek, translate and dispatch the messages of the host window (the one
// given to set_Hwnd); a host may instead install a callback that does the
// equivalent for its toolkit, and elsewhere only such a callback pumps.
#pragma once

#include <cstdint>

namespace cx {

using PumpFn = void (*)(void* user);

// Installs the host's pump; null removes it.
void set_pump(PumpFn pump, void* user);

// Lets pending host events run: the host's pump if it installed one, else
// the system's. Host code run from here may call back into the library
// (terminar, typically).
void pump_messages();

// The system's pump for the host window (posix_host.cpp: nothing;
// win32_messages.cpp: the window's message queue).
void system_pump(int32_t window);

}  // namespace cx
