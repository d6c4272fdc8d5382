// The process-wide event pump slot.
#include "platform/pump.h"

#include "frame/host.h"

namespace cx {

namespace {
PumpFn installed_pump = nullptr;
void* installed_user = nullptr;
}  // namespace

void set_pump(PumpFn pump, void* user) {
  installed_pump = pump;
  installed_user = pump ? user : nullptr;
}

void pump_messages() {
  // Copied first: the host may install another pump from inside its own.
  PumpFn pump = installed_pump;
  void* user = installed_user;
  if (pump)
    pump(user);
  else
    system_pump(host_window());
}

}  // namespace cx
