// No GDI outside Windows: a device context handed in is refused.
#include "platform/gdi_device.h"

namespace cx {

bool gdi_supported() {
  return false;
}

std::unique_ptr<Device> dispositivo_gdi(int32_t) {
  return nullptr;
}

}  // namespace cx
