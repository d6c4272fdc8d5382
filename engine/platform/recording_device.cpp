// The recording device's log.
#include "platform/recording_device.h"

#include <utility>

namespace cx {

Pen RecordingDevice::select_pen(const Pen& pen) {
  return std::exchange(pen_, pen);
}

Brush RecordingDevice::select_brush(const Brush& brush) {
  return std::exchange(brush_, brush);
}

RasterOp RecordingDevice::set_raster_op(RasterOp op) {
  return std::exchange(op_, op);
}

FillMode RecordingDevice::set_fill_mode(FillMode mode) {
  return std::exchange(fill_, mode);
}

void RecordingDevice::set_clip(const DeviceRect& region) {
  clip_ = region;
  clips.push_back(region);
}

RecordedCall& RecordingDevice::record(const char* kind) {
  RecordedCall& c = calls.emplace_back();
  c.kind = kind;
  c.pen = pen_;
  c.brush = brush_;
  c.op = op_;
  c.fill = fill_;
  return c;
}

bool RecordingDevice::polyline(const DevicePoint* points, int count, bool continues) {
  if (!points || count < 2) return false;
  RecordedCall& c = record("polyline");
  c.points.assign(points, points + count);
  c.continues = continues;
  return true;
}

bool RecordingDevice::polygon(const DevicePoint* points, int count) {
  if (!points || count < 2) return false;
  record("polygon").points.assign(points, points + count);
  return true;
}

bool RecordingDevice::ellipse(const DeviceRect& box) {
  record("ellipse").box = box;
  return true;
}

bool RecordingDevice::rectangle(const DeviceRect& box) {
  record("rectangle").box = box;
  return true;
}

Colorref RecordingDevice::set_pixel(int32_t x, int32_t y, Colorref colour) {
  RecordedCall& c = record("set_pixel");
  c.points = {{x, y}};
  c.colour = colour;
  return colour & 0xFFFFFF;
}

bool RecordingDevice::text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                               const TextStyle& style) {
  RecordedCall& c = record("text");
  c.points = {at};
  c.text = text;
  c.font = font;
  c.style = style;
  return true;
}

}  // namespace cx
