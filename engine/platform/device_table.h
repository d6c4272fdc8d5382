// The devices hosts draw on, by handle. A handle is a small positive number
// (never a pointer), so that it travels in the 32-bit slot where a device
// context is passed on every ABI; 0 is no device. Handles are not reused
// while the process runs, so a stale handle finds nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/device.h"

namespace cx {

// Takes the device; returns its handle, or 0 when no handle is left.
int32_t registre_dispositivo(std::unique_ptr<Device> device);
// The device of a handle; null for 0 or a handle not (or no longer) given.
Device* dispositivo(int32_t handle);
// Destroys the device; false for a handle that names none.
bool libere_dispositivo(int32_t handle);

}  // namespace cx
