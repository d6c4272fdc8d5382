// The recording device: draws nothing and logs every drawing call with its
// arguments and the pen, brush and raster operation in force, so that a
// test can assert what was drawn ("one polyline of 5 points with a dashed
// pen"). Its capabilities are given when it is made, to stand for a
// printer or a two-colour device.
#pragma once

#include <string>
#include <vector>

#include "platform/device.h"

namespace cx {

struct RecordedCall {
  std::string kind;  // "polyline", "polygon", "ellipse", "rectangle", "set_pixel", "text"
  std::vector<DevicePoint> points;
  DeviceRect box;  // ellipse and rectangle, as given
  Pen pen;
  Brush brush;
  RasterOp op = RasterOp::copy;
  FillMode fill = FillMode::alternate;
  bool continues = false;  // polyline: carries the pen style on
  Colorref colour = 0;     // set_pixel
  std::string text;        // text, at points[0]
  FontSpec font;
  TextStyle style;
};

class RecordingDevice final : public Device {
 public:
  RecordingDevice(int32_t width, int32_t height, int32_t colours = -1,
                  int32_t technology = kTechnologyRasterDisplay)
      : width_(width), height_(height), colours_(colours), technology_(technology) {
    clip_ = {0, 0, width, height};
  }

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  int32_t number_of_colours() const override { return colours_; }
  int32_t technology() const override { return technology_; }

  Pen select_pen(const Pen& pen) override;
  Brush select_brush(const Brush& brush) override;
  Pen pen() const override { return pen_; }
  Brush brush() const override { return brush_; }
  RasterOp set_raster_op(RasterOp op) override;
  RasterOp raster_op() const override { return op_; }
  FillMode set_fill_mode(FillMode mode) override;
  void set_clip(const DeviceRect& region) override;
  DeviceRect clip_box() const override { return clip_; }

  bool polyline(const DevicePoint* points, int count, bool continues = false) override;
  bool polygon(const DevicePoint* points, int count) override;
  bool ellipse(const DeviceRect& box) override;
  bool rectangle(const DeviceRect& box) override;
  Colorref set_pixel(int32_t x, int32_t y, Colorref colour) override;
  Colorref get_pixel(int32_t, int32_t) const override { return kInvalidColour; }
  bool text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                const TextStyle& style) override;
  // A made-up metric, so that tests know the numbers: each character half
  // the font height wide, the text the font height high.
  DevicePoint text_extent(const std::string& text, const FontSpec& font) override {
    return {static_cast<int32_t>(text.size()) * (font.height / 2), font.height};
  }
  bool save_png(const std::string&) const override { return false; }
  bool copy_pixels(uint8_t*) const override { return false; }

  // The drawing calls so far, oldest first; the clip regions set.
  std::vector<RecordedCall> calls;
  std::vector<DeviceRect> clips;

 private:
  RecordedCall& record(const char* kind);

  int32_t width_, height_, colours_, technology_;
  Pen pen_;
  Brush brush_;
  RasterOp op_ = RasterOp::copy;
  FillMode fill_ = FillMode::alternate;
  DeviceRect clip_;
};

}  // namespace cx
