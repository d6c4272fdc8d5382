// The redraw of the base.
#include "topology/redraw.h"

#include "frame/host.h"
#include "platform/pump.h"

namespace cx {

void redespliegue() {
  set_stop_request(1);
  pump_messages();
}

}  // namespace cx
