// The device over a host's GDI device context, in the Windows build
// (win32_gdi_device.cpp); elsewhere (gdi_none.cpp) there is none.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/device.h"

namespace cx {

// Whether this build can draw through GDI.
bool gdi_supported();

// A device drawing straight into the device context `hdc` (an HDC carried
// in 32 bits), or null when the value is no device context or the build has
// no GDI. The device does not own the context: it saves the context's state
// when made and gives it back when destroyed, and the host keeps the
// context alive until then.
std::unique_ptr<Device> dispositivo_gdi(int32_t hdc);

}  // namespace cx
