// A recording device bound to the graphics state for the length of a test:
// the kernel's exports draw on it and the test reads what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "cartex32.h"
#include "platform/device_table.h"
#include "platform/recording_device.h"

namespace cx::testing {

class BoundRecorder {
 public:
  // gabrest(0, 0, width, height) on a new recording device.
  BoundRecorder(int32_t width, int32_t height, int32_t colours = -1,
                int32_t technology = kTechnologyRasterDisplay) {
    auto device = std::make_unique<RecordingDevice>(width, height, colours, technology);
    device_ = device.get();
    handle_ = registre_dispositivo(std::move(device));
    gdeor(0);
    gdcolor(15);
    gabrest(0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), handle_);
    device_->calls.clear();
    device_->clips.clear();
  }
  ~BoundRecorder() { liberar_dispositivo(handle_); }
  BoundRecorder(const BoundRecorder&) = delete;
  BoundRecorder& operator=(const BoundRecorder&) = delete;

  RecordingDevice& device() { return *device_; }
  std::vector<RecordedCall>& calls() { return device_->calls; }
  int32_t handle() const { return handle_; }

 private:
  RecordingDevice* device_;
  int32_t handle_;
};

}  // namespace cx::testing
