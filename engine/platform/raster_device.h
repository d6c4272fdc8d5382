// The raster device: a 32-bit pixel buffer drawn with the rules of the
// device contexts the engine was written for (see device.h), saved as PNG.
#pragma once

#include <vector>

#include "platform/device.h"
#include "platform/raster_spans.h"

namespace cx {

class RasterDevice final : public Device {
 public:
  // A white surface; sizes below 0 are taken as 0.
  RasterDevice(int32_t width, int32_t height);

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  int32_t number_of_colours() const override { return -1; }
  int32_t technology() const override { return kTechnologyRasterDisplay; }

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
  Colorref get_pixel(int32_t x, int32_t y) const override;

  bool text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                const TextStyle& style) override;
  DevicePoint text_extent(const std::string& text, const FontSpec& font) override;

  bool save_png(const std::string& path) const override;
  bool copy_pixels(uint8_t* out) const override;

  // The pixels, rows top to bottom, each a colour value 0x00BBGGRR.
  const std::vector<Colorref>& pixels() const { return pixels_; }

 private:
  bool inside_clip(int32_t x, int32_t y) const {
    return x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom;
  }
  raster::RowRange clip_rows() const { return {clip_.top, clip_.bottom}; }
  void paint(const raster::SpanSet& spans, Colorref colour);
  void put(int32_t x, int32_t y, Colorref colour);
  // Paints a thin pen's pixels along the open path, segment by segment.
  void trace_cosmetic(const DevicePoint* p, int count);
  void trace_segment(DevicePoint a, DevicePoint b);
  void trace_wide(const std::vector<DevicePoint>& path, bool closed, raster::SpanSet& out) const;
  // The outline follows `path` (`closed`: back to its first point too).
  void fill_and_outline(const raster::SpanSet& region, const DevicePoint* path, int count,
                        bool closed);

  int32_t width_, height_;
  std::vector<Colorref> pixels_;
  Pen pen_;
  Brush brush_;
  RasterOp op_ = RasterOp::copy;
  FillMode fill_mode_ = FillMode::alternate;
  DeviceRect clip_;
  int64_t style_pos_ = 0;  // pixels of the styled pattern already used
  std::vector<DevicePoint> path_scratch_;
  raster::SpanSet span_scratch_;
};

}  // namespace cx
