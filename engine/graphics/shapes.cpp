// Rectangles, boxes, circles, discs, ellipses, arcs and the point marker.
//
// The quick rejections compare a shape's device extent with the clip box
// the device actually has, in device rows: the clip values of the state are
// measured upward and may belong to another window than the region in
// force, so comparing device rows with them would drop visible shapes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "cartex32.h"
#include "graphics/drawing.h"
#include "graphics/graphics_state.h"

namespace cx {

namespace {

constexpr int64_t kMaxRadius = 16000;

// Whether the device extent [x1, x2] x [y1, y2] misses the clip box.
bool outside(const Device& d, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  const DeviceRect c = d.clip_box();
  return x2 < c.left || y2 < c.top || x1 >= c.right || y1 >= c.bottom;
}

int32_t clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

DeviceRect box_of(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  return {clamp32(x1), clamp32(y1), clamp32(x2), clamp32(y2)};
}

int64_t scaled(double r, double s) {
  const double v = std::trunc(r * s);
  return std::isnan(v) ? 0 : static_cast<int64_t>(std::clamp(v, -4e18, 4e18));
}

// Draws with a temporary solid brush of the current colour.
bool with_colour_brush(Device& d, bool (Device::*shape)(const DeviceRect&), const DeviceRect& r) {
  const Brush previous = d.select_brush({false, estado_grafico().colour_value});
  const bool done = (d.*shape)(r);
  d.select_brush(previous);
  return done;
}

int16_t round_shape(double x, double y, int64_t rx, int64_t ry, bool own_brush) {
  Device* d = dispositivo_actual();
  if (!d) return 0;
  const int64_t X = gxdev_de(x), Y = gydev_de(y);
  rx = std::abs(rx);
  ry = std::abs(ry);
  if (rx > kMaxRadius || ry > kMaxRadius || outside(*d, X - rx, Y - ry, X + rx, Y + ry)) return 0;
  const DeviceRect r = box_of(X - rx, Y - ry, X + rx, Y + ry);
  return (own_brush ? with_colour_brush(*d, &Device::ellipse, r) : d->ellipse(r)) ? 1 : 0;
}

}  // namespace

int16_t disco(double x, double y, double r) {
  const int64_t R = scaled(r, estado_grafico().sx);
  return round_shape(x, y, R, R, true);
}

void marque_punto(double x, double y) {
  Device* d = dispositivo_actual();
  if (!d) return;
  const int64_t X = gxdev_de(x), Y = gydev_de(y);
  if (outside(*d, X - 2, Y - 2, X + 2, Y + 2)) return;
  d->rectangle(box_of(X - 2, Y - 2, X + 2, Y + 2));
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(void) grectang(double x1, double y1, double x2, double y2) {
  const double xs[5] = {x1, x2, x2, x1, x1}, ys[5] = {y1, y1, y2, y2, y1};
  cx::plinea(xs, ys, 5);
}

CX_EXPORT(void) grecteor(double x1, double y1, double x2, double y2) {
  const int16_t previous = static_cast<int16_t>(gaeor());
  gdeor(1);
  grectang(x1, y1, x2, y2);
  gdeor(previous);
}

CX_EXPORT(int16_t) gcaja(double x1, double y1, double x2, double y2) {
  cx::Device* d = cx::dispositivo_actual();
  if (!d) return 0;
  const int64_t X1 = cx::gxdev_de(x1), Y1 = cx::gydev_de(y1);
  const int64_t X2 = cx::gxdev_de(x2), Y2 = cx::gydev_de(y2);
  if (cx::outside(*d, std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)))
    return 0;
  return cx::with_colour_brush(*d, &cx::Device::rectangle, cx::box_of(X1, Y1, X2, Y2)) ? 1 : 0;
}

CX_EXPORT(void) gborre(double x1, double y1, double x2, double y2) {
  const int32_t previous = gacolor();
  gdcolor(0);
  gcaja(x1, y1, x2, y2);
  gdcolor(previous);
}

CX_EXPORT(int16_t) gcirculo(double x, double y, double radius) {
  const int64_t R = cx::scaled(radius, estado_grafico().sx);
  return cx::round_shape(x, y, R, R, false);
}

CX_EXPORT(int16_t) gelipse(double x, double y, double, double, double rx, double ry) {
  const cx::EstadoGrafico& g = estado_grafico();
  return cx::round_shape(x, y, cx::scaled(rx, g.sx), cx::scaled(ry, g.sy), true);
}

CX_EXPORT(void) garco1(double x, double y, double, double, double) {
  // The centre is converted as the arcs' callers expect; no arc is drawn.
  (void)cx::gxdev_de(x);
  (void)cx::gydev_de(y);
}

CX_EXPORT(void) garco2(double, double, double, double, double) {}

CX_EXPORT(void) garco3(double x1, double y1, double x2, double y2, double x3, double y3) {
  // The circle through the three points: the centre where the
  // perpendicular bisectors of 1-2 and 2-3 meet.
  const double d = 2 * (x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2));
  if (d == 0 || !std::isfinite(d)) return;  // collinear: no circle
  const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
  const double cx = (s1 * (y2 - y3) + s2 * (y3 - y1) + s3 * (y1 - y2)) / d;
  const double cy = (s1 * (x3 - x2) + s2 * (x1 - x3) + s3 * (x2 - x1)) / d;
  const double r = std::hypot(x1 - cx, y1 - cy);
  const double start = std::atan2(y1 - cy, x1 - cx);
  double end = std::atan2(y3 - cy, x3 - cx);
  if (end < start) end += 6.283185307179586;
  garco1(cx, cy, r, start, end);
}
