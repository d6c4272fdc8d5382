// Letting the host's events run during long loops. On the original platform
// the loops peeked, translated and dispatched the host thread's messages; a
// host here installs a callback that does the equivalent for its toolkit.
#pragma once

namespace cx {

using PumpFn = void (*)(void* user);

// Installs the host's pump; null removes it.
void set_pump(PumpFn pump, void* user);

// Lets pending host events run, if the host installed a pump. Host code run
// from here may call back into the library (terminar, typically).
void pump_messages();

}  // namespace cx
