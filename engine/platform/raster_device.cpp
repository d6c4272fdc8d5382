// The raster device's state, pixels and shapes.
#include "platform/raster_device.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/fonts.h"
#include "platform/png_writer.h"
#include "platform/raster_pens.h"

namespace cx {

using raster::SpanSet;

namespace {

// Coordinates are brought within this range before stepping, so that the
// line arithmetic stays inside 64 bits (the device contexts the engine was
// written for keep to 27 bits).
constexpr int32_t kCoordinateLimit = 1 << 28;

DevicePoint bounded(DevicePoint p) {
  return {std::clamp(p.x, -kCoordinateLimit, kCoordinateLimit),
          std::clamp(p.y, -kCoordinateLimit, kCoordinateLimit)};
}

DeviceRect ordered(const DeviceRect& r) {
  const DevicePoint a = bounded({r.left, r.top}), b = bounded({r.right, r.bottom});
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// On and off runs, in pixels along the major axis, of the styled pens of
// width 1; the pattern starts on.
struct Pattern {
  int runs[6];
  int count;
};
constexpr Pattern kDot{{3, 3}, 2};
constexpr Pattern kDash{{18, 6}, 2};
constexpr Pattern kDashDot{{9, 6, 3, 6}, 4};
constexpr Pattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6};

const Pattern* pattern_of(PenStyle style) {
  switch (style) {
    case PenStyle::dot:
      return &kDot;
    case PenStyle::dash:
      return &kDash;
    case PenStyle::dash_dot:
      return &kDashDot;
    case PenStyle::dash_dot_dot:
      return &kDashDotDot;
    case PenStyle::solid:
    case PenStyle::null:
      break;
  }
  return nullptr;
}

bool pattern_on(const Pattern& p, int64_t pos) {
  int period = 0;
  for (int i = 0; i < p.count; ++i) period += p.runs[i];
  int at = static_cast<int>(pos % period);
  for (int i = 0; i < p.count; ++i) {
    if (at < p.runs[i]) return i % 2 == 0;
    at -= p.runs[i];
  }
  return false;
}

void as_bounded(const DevicePoint* p, int count, std::vector<DevicePoint>& out) {
  out.clear();
  for (int i = 0; i < count; ++i) out.push_back(bounded(p[i]));
}

// A box too large to walk pixel by pixel: the smooth ellipse, and an
// outline through points on its curve.
void smooth_ellipse(const DeviceRect& box, SpanSet& region, std::vector<DevicePoint>& outline,
                    raster::RowRange rows) {
  add_ellipse_region(region, box, rows);
  const double cx = (double(box.left) + box.right - 1) / 2;
  const double cy = (double(box.top) + box.bottom - 1) / 2;
  const double a = (double(box.right) - box.left - 1) / 2;
  const double b = (double(box.bottom) - box.top - 1) / 2;
  constexpr int n = 4096;
  outline.clear();
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::numbers::pi * i / n;
    outline.push_back({static_cast<int32_t>(std::lround(cx + a * std::cos(t))),
                       static_cast<int32_t>(std::lround(cy - b * std::sin(t)))});
  }
}

}  // namespace

RasterDevice::RasterDevice(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(std::size_t(width_) * height_, 0xFFFFFF),
      clip_{0, 0, width_, height_} {}

Pen RasterDevice::select_pen(const Pen& pen) {
  return std::exchange(pen_, pen);
}

Brush RasterDevice::select_brush(const Brush& brush) {
  return std::exchange(brush_, brush);
}

RasterOp RasterDevice::set_raster_op(RasterOp op) {
  return std::exchange(op_, op);
}

FillMode RasterDevice::set_fill_mode(FillMode mode) {
  return std::exchange(fill_mode_, mode);
}

void RasterDevice::set_clip(const DeviceRect& region) {
  const DeviceRect r = ordered(region);
  clip_ = {std::clamp(r.left, 0, width_), std::clamp(r.top, 0, height_),
           std::clamp(r.right, 0, width_), std::clamp(r.bottom, 0, height_)};
}

void RasterDevice::put(int32_t x, int32_t y, Colorref colour) {
  Colorref& p = pixels_[std::size_t(y) * width_ + x];
  p = op_ == RasterOp::copy ? colour : (p ^ colour);
}

void RasterDevice::paint(const SpanSet& spans, Colorref colour) {
  for (const raster::Span& s : spans.spans()) {
    if (s.y < clip_.top || s.y >= clip_.bottom) continue;
    const int32_t x0 = std::max(s.x0, clip_.left), x1 = std::min(s.x1, clip_.right);
    for (int32_t x = x0; x < x1; ++x) put(x, s.y, colour);
  }
}

// One pixel per step along the major axis, the minor coordinate rounded;
// the end point itself is left out. A minor coordinate exactly half-way
// between two pixels goes toward the end point on lines running up and left
// of the diagonals (steep lines going left, flat lines going up) and toward
// the start point on the others, as GDI's lines do. Only the steps inside
// the clip rectangle are visited.
void RasterDevice::trace_segment(DevicePoint a, DevicePoint b) {
  const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  const int64_t adx = std::abs(dx), ady = std::abs(dy);
  const bool x_major = adx >= ady;
  const int64_t steps = x_major ? adx : ady, minor = x_major ? ady : adx;
  if (steps == 0) return;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  // Steps whose major coordinate is inside the clip rectangle.
  const int64_t major0 = x_major ? a.x : a.y, dir = x_major ? sx : sy;
  const int64_t lo = x_major ? clip_.left : clip_.top, hi = x_major ? clip_.right : clip_.bottom;
  int64_t i0 = dir > 0 ? lo - major0 : major0 - hi + 1;
  int64_t i1 = dir > 0 ? hi - major0 : major0 - lo + 1;
  i0 = std::max<int64_t>(i0, 0);
  i1 = std::min(i1, steps);
  const Pattern* pattern = pattern_of(pen_.style);
  const bool halves_to_end = x_major ? dy < 0 : dx < 0;
  const int64_t half = halves_to_end ? steps : steps - 1;
  for (int64_t i = i0; i < i1; ++i) {
    if (pattern && !pattern_on(*pattern, style_pos_ + i)) continue;
    const int64_t m = (2 * i * minor + half) / (2 * steps);
    const int32_t x = static_cast<int32_t>(x_major ? a.x + i * sx : a.x + m * sx);
    const int32_t y = static_cast<int32_t>(x_major ? a.y + m * sy : a.y + i * sy);
    if (inside_clip(x, y)) put(x, y, pen_.colour);
  }
  style_pos_ += steps;
}

void RasterDevice::trace_cosmetic(const DevicePoint* p, int count) {
  for (int i = 0; i + 1 < count; ++i) trace_segment(bounded(p[i]), bounded(p[i + 1]));
}

void RasterDevice::trace_wide(const std::vector<DevicePoint>& path, bool closed,
                              SpanSet& out) const {
  raster::add_wide_path(out, path.data(), static_cast<int>(path.size()), closed, pen_.width, clip_);
}

bool RasterDevice::polyline(const DevicePoint* points, int count, bool continues) {
  if (!points || count < 2) return false;
  if (!continues) style_pos_ = 0;
  if (pen_.style == PenStyle::null) return true;
  if (pen_.width > 1) {
    // The scratch buffers keep their capacity from line to line.
    as_bounded(points, count, path_scratch_);
    span_scratch_.clear();
    trace_wide(path_scratch_, false, span_scratch_);
    // Painting a pixel twice matters only to exclusive-or.
    if (op_ != RasterOp::copy) span_scratch_.normalize();
    paint(span_scratch_, pen_.colour);
  } else {
    // Segment by segment, as for the outlines above.
    trace_cosmetic(points, count);
  }
  return true;
}

// Paints the region with the brush and the pen's outline. A pen wider than
// one pixel takes its pixels out of the region, so that each is painted
// once; a thin pen's line is laid over the filled region segment by
// segment, as device contexts lay it (under exclusive-or the two colours
// meet where the line runs inside, and a pixel two segments cross is
// restored).
void RasterDevice::fill_and_outline(const SpanSet& region_in, const DevicePoint* path, int count,
                                    bool closed) {
  if (pen_.style != PenStyle::null && pen_.width > 1) {
    SpanSet pen_pixels;
    as_bounded(path, count, path_scratch_);
    trace_wide(path_scratch_, closed, pen_pixels);
    pen_pixels.normalize();
    if (!brush_.hollow) {
      SpanSet region = region_in;
      region.subtract(pen_pixels);
      paint(region, brush_.colour);
    }
    paint(pen_pixels, pen_.colour);
    return;
  }
  if (!brush_.hollow) paint(region_in, brush_.colour);
  if (pen_.style == PenStyle::null) return;
  style_pos_ = 0;
  trace_cosmetic(path, count);
  if (closed && count > 1) trace_segment(bounded(path[count - 1]), bounded(path[0]));
}

bool RasterDevice::polygon(const DevicePoint* points, int count) {
  if (!points || count < 2) return false;
  std::vector<DevicePoint> path;
  for (int i = 0; i < count; ++i) path.push_back(bounded(points[i]));
  path.push_back(path.front());
  SpanSet region;
  add_polygon_fill(region, path.data(), count, fill_mode_, clip_rows());
  region.normalize();
  fill_and_outline(region, path.data(), count + 1, false);
  return true;
}

// The outline runs through the pixels of the box's edges, counter-clockwise
// from the top right corner as device contexts run it (a styled pen's
// pattern starts there); the brush fills what lies inside a thin outline,
// or the box less its right column and bottom row (which a wide pen covers,
// and which without a pen stay out).
bool RasterDevice::rectangle(const DeviceRect& box_in) {
  const DeviceRect box = ordered(box_in);
  if (box.left == box.right || box.top == box.bottom) return true;
  const int32_t r = box.right - 1, b = box.bottom - 1;
  const DevicePoint path[] = {{r, box.top}, {box.left, box.top}, {box.left, b}, {r, b}};
  const bool thin = pen_.style != PenStyle::null && pen_.width == 1;
  if (thin && r == box.left && b == box.top) {
    // A box of one pixel: the outline through its corners is that pixel.
    SpanSet dot;
    dot.add(box.top, box.left, box.left + 1);
    paint(dot, pen_.colour);
    return true;
  }
  SpanSet region;
  const int32_t in = thin ? 1 : 0;
  add_box(region, {box.left + in, box.top + in, r, b}, clip_rows());
  region.normalize();
  fill_and_outline(region, path, 4, true);
  return true;
}

// Boxes of two pixels or less across are drawn as rectangles, as device
// contexts draw them; others without a pen keep their full size.
bool RasterDevice::ellipse(const DeviceRect& box_in) {
  const DeviceRect box = ordered(box_in);
  const int32_t w = box.right - box.left, h = box.bottom - box.top;
  if (w == 0 || h == 0) return true;
  if (w <= 2 || h <= 2) return rectangle(box_in);
  SpanSet region;
  std::vector<DevicePoint> outline;
  if (w > raster::kLargestWalkedEllipse || h > raster::kLargestWalkedEllipse) {
    smooth_ellipse(box, region, outline, clip_rows());
  } else {
    raster::add_ellipse_pixels(region, box.left, box.top, w, h, clip_rows());
    raster::ellipse_outline(box, outline);
  }
  region.normalize();
  fill_and_outline(region, outline.data(), static_cast<int>(outline.size()), true);
  return true;
}

Colorref RasterDevice::set_pixel(int32_t x, int32_t y, Colorref colour) {
  if (!inside_clip(x, y)) return kInvalidColour;
  colour &= 0xFFFFFF;
  pixels_[std::size_t(y) * width_ + x] = colour;
  return colour;
}

Colorref RasterDevice::get_pixel(int32_t x, int32_t y) const {
  if (!inside_clip(x, y)) return kInvalidColour;
  return pixels_[std::size_t(y) * width_ + x];
}

// Text is laid on whatever the raster operation: the letters' coverage
// blends the text colour into the pixels inside the clip region.
bool RasterDevice::text_out(DevicePoint at, const std::string& text, const FontSpec& font,
                            const TextStyle& style) {
  const auto background = [&](const DevicePoint(&cell)[4]) {
    if (!style.opaque) return;
    DevicePoint path[5] = {cell[0], cell[1], cell[2], cell[3], cell[0]};
    SpanSet region;
    add_polygon_fill(region, path, 4, FillMode::winding, clip_rows());
    region.normalize();
    const RasterOp op = std::exchange(op_, RasterOp::copy);
    paint(region, style.background & 0xFFFFFF);
    op_ = op;
  };
  const Colorref ink = style.colour & 0xFFFFFF;
  const auto blend = [&](int32_t x, int32_t y, uint8_t a) {
    if (!inside_clip(x, y)) return;
    Colorref& p = pixels_[std::size_t(y) * width_ + x];
    Colorref out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t old = (p >> shift) & 0xFF, neu = (ink >> shift) & 0xFF;
      out |= ((neu * a + old * (255 - a) + 127) / 255) << shift;
    }
    p = out;
  };
  return dibuje_glifos(at, text, font, background, blend);
}

DevicePoint RasterDevice::text_extent(const std::string& text, const FontSpec& font) {
  return mida_texto(text, font);
}

bool RasterDevice::save_png(const std::string& path) const {
  return width_ > 0 && height_ > 0 && write_png(path, pixels_.data(), width_, height_);
}

bool RasterDevice::copy_pixels(uint8_t* out) const {
  if (!out || pixels_.empty()) return false;
  for (Colorref p : pixels_) {
    *out++ = p & 0xFF;
    *out++ = (p >> 8) & 0xFF;
    *out++ = (p >> 16) & 0xFF;
    *out++ = 0;
  }
  return true;
}

}  // namespace cx
