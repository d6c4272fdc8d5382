// Points, lines, polylines with the dash patterns of wide pens, curves and
// the cursor.
#include <algorithm>
#include <cmath>

#include "cartex32.h"
#include "graphics/drawing.h"
#include "graphics/graphics_state.h"
#include "graphics/palette.h"
#include "platform/device_table.h"

namespace cx {

namespace {

DevicePoint buffer[kPuntosBuffer];

DevicePoint convert(double x, double y) {
  return {gxdev_de(x), gydev_de(y)};
}

// Where a dash pattern stands: the length left of the current entry.
struct DashWalk {
  double lengths[6];
  int count;
  double remaining;
  int k = 0;
  bool on = true;
};

void dash_piece(Device& d, DevicePoint a, DevicePoint b) {
  const DevicePoint piece[2] = {a, b};
  d.polyline(piece, 2);
}

int32_t trunc32(double v) {
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// The part [enter, exit] of the edge, in lengths along it, that comes
// within `margin` of the clip box (Liang-Barsky); enter > exit when none.
void visible_part(const DeviceRect& clip, double margin, double x1, double y1, double x2, double y2,
                  double len, double& enter, double& exit) {
  enter = 0;
  exit = len;
  const double dx = (x2 - x1) / len, dy = (y2 - y1) / len;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - (clip.left - margin), (clip.right + margin) - x1,
                       y1 - (clip.top - margin), (clip.bottom + margin) - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) enter = len + 1;
    } else if (p[i] < 0) {
      enter = std::max(enter, q[i] / p[i]);
    } else {
      exit = std::min(exit, q[i] / p[i]);
    }
  }
}

// One edge of a dashed polyline, its pieces cut where the pattern changes.
// Whole periods of the pattern off the clip box are stepped over at once, so
// a far-away edge costs no more than a visible one.
void dash_edge(Device& d, DashWalk& w, double period, DevicePoint p1, DevicePoint p2) {
  const double x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
  const double len = std::hypot(x2 - x1, y2 - y1);
  if (len <= 0) return;
  double acc = 0;
  DevicePoint start = p1;
  const bool vertical = x2 == x1;
  const double m = vertical ? 0 : (y2 - y1) / (x2 - x1);
  const double u = vertical ? 0 : std::sqrt(m * m + 1) * (x2 < x1 ? -1 : 1);
  const double dir = y2 > y1 ? 1 : -1;
  const auto point_at = [&](double a) {
    return vertical ? DevicePoint{p1.x, trunc32(y1 + a * dir)}
                    : DevicePoint{trunc32(x1 + a / u), trunc32(y1 + m * a / u)};
  };
  double enter, exit;
  visible_part(d.clip_box(), estado_grafico().line_width + 2.0, x1, y1, x2, y2, len, enter, exit);
  if (enter > exit) enter = exit = len;
  while (w.remaining + acc < len) {
    const double target = acc < enter ? enter : acc > exit ? len : acc;
    const double periods = std::floor((target - acc - w.remaining) / period);
    if (periods > 0) {
      acc += periods * period;
      start = point_at(acc);
      if (w.remaining + acc >= len) break;
    }
    acc += w.remaining;
    const DevicePoint end = point_at(acc);
    if (w.on) dash_piece(d, start, end);
    w.on = !w.on;
    start = end;
    w.k = (w.k + 1) % w.count;
    w.remaining = w.lengths[w.k];
  }
  if (acc < len) {
    if (w.on) dash_piece(d, start, p2);
    w.remaining -= len - acc;
  }
}

}  // namespace

void linea_dispositivo(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Device* d = dispositivo_actual();
  if (!d) return;
  const DevicePoint p[2] = {{x1, y1}, {x2, y2}};
  d->polyline(p, 2);
  estado_grafico().position = p[1];
}

void linea_a(double x, double y) {
  const DevicePoint from = estado_grafico().position, to = convert(x, y);
  linea_dispositivo(from.x, from.y, to.x, to.y);
}

void plinea_simple(const double* xs, const double* ys, int n) {
  Device* d = dispositivo_actual();
  if (!d || !xs || !ys || n < 2) return;
  for (int first = 0; first + 1 < n; first += kPuntosBuffer - 1) {
    const int count = std::min(kPuntosBuffer, n - first);
    for (int i = 0; i < count; ++i) buffer[i] = convert(xs[first + i], ys[first + i]);
    d->polyline(buffer, count, first > 0);
    estado_grafico().position = buffer[count - 1];
  }
}

void plinea(const double* xs, const double* ys, int n) {
  EstadoGrafico& g = estado_grafico();
  Device* d = dispositivo_actual();
  if (!d || !xs || !ys || n < 2) return;
  if (g.line_width < 1) g.line_width = 1;
  const DashPattern& pattern = patron_linea(g.line_type);
  if (g.line_width == 1 || pattern.count == 0) {
    plinea_simple(xs, ys, n);
    return;
  }
  DashWalk w{};
  w.count = pattern.count;
  for (int k = 0; k < pattern.count; ++k)
    w.lengths[k] = double(pattern.entries[k]) * g.line_width + (k % 2 ? g.line_width : 0);
  w.remaining = w.lengths[0];
  double period = 0;
  for (int k = 0; k < w.count; ++k) period += w.lengths[k];
  for (int first = 0; first + 1 < n; first += kPuntosBuffer - 1) {
    const int count = std::min(kPuntosBuffer, n - first);
    for (int i = 0; i < count; ++i) buffer[i] = convert(xs[first + i], ys[first + i]);
    for (int i = 0; i + 1 < count; ++i) dash_edge(*d, w, period, buffer[i], buffer[i + 1]);
    g.position = buffer[count - 1];
  }
}

void curva(const double* xs, const double* ys, int n) {
  Device* d = dispositivo_actual();
  if (!d || !xs || !ys || n < 1) return;
  if (d->technology() != kTechnologyRasterDisplay) return plinea(xs, ys, n);
  if (n == 1) {
    gpunto(xs[0], ys[0]);
    return;
  }
  const double sx = std::abs(estado_grafico().sx);
  auto hermite = [](double p0, double p1, double m0, double m1, double t) {
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * p0 + (-2 * t3 + 3 * t2) * p1 + (t3 - 2 * t2 + t) * m0 +
           (t3 - t2) * m1;
  };
  for (int i = 0; i + 1 < n; ++i) {
    const double seg = std::hypot(xs[i + 1] - xs[i], ys[i + 1] - ys[i]) * sx;
    if (n == 2 || seg < 3) {
      glinea(xs[i], ys[i], xs[i + 1], ys[i + 1]);
      continue;
    }
    const double mx0 = i == 0 ? xs[1] - xs[0] : (xs[i + 1] - xs[i - 1]) / 2;
    const double my0 = i == 0 ? ys[1] - ys[0] : (ys[i + 1] - ys[i - 1]) / 2;
    const double mx1 = i + 2 < n ? (xs[i + 2] - xs[i]) / 2 : (xs[i + 1] - xs[i]) / 2;
    const double my1 = i + 2 < n ? (ys[i + 2] - ys[i]) / 2 : (ys[i + 1] - ys[i]) / 2;
    const double step = seg >= 10 ? 0.1 : 0.25;
    double px = xs[i], py = ys[i];
    for (int s = 1;; ++s) {
      const double t = std::min(1.0, s * step);
      const double qx = hermite(xs[i], xs[i + 1], mx0, mx1, t);
      const double qy = hermite(ys[i], ys[i + 1], my0, my1, t);
      glinea(px, py, qx, qy);
      px = qx;
      py = qy;
      if (t >= 1.0 - 1e-9) break;
    }
  }
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(int32_t) gdpunto(int16_t x, int16_t y) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::Device* d = cx::dispositivo_actual();
  if (!d) return -1;
  g.position = {x, y};
  return static_cast<int32_t>(d->set_pixel(x, y, g.colour_value));
}

CX_EXPORT(int32_t) gpunto(double x, double y) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::Device* d = cx::dispositivo_actual();
  if (!d) return -1;
  g.position = cx::convert(x, y);
  return static_cast<int32_t>(d->set_pixel(g.position.x, g.position.y, g.colour_value));
}

CX_EXPORT(int32_t) gapunto(int16_t x, int16_t y, int32_t hdc) {
  const cx::Device* d = cx::dispositivo(hdc);
  return static_cast<int32_t>(d ? d->get_pixel(x, y) : cx::kInvalidColour);
}

CX_EXPORT(void) gplinea(const double* xs, const double* ys, int16_t count) {
  cx::plinea(xs, ys, count);
}

CX_EXPORT(void) glinea(double x1, double y1, double x2, double y2) {
  const double xs[2] = {x1, x2}, ys[2] = {y1, y2};
  cx::plinea(xs, ys, 2);
}

CX_EXPORT(void) glineaint(int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
  cx::linea_dispositivo(x1, y1, x2, y2);
}

CX_EXPORT(void) glineor(double x1, double y1, double x2, double y2) {
  const int16_t previous = static_cast<int16_t>(gaeor());
  gdeor(1);
  glinea(x1, y1, x2, y2);
  gdeor(previous);
}

CX_EXPORT(void) gcursor(double x, double y) {
  const double cx = cx::gxdev_de(x), cy = cx::gydev_de(y);
  gdeor(0);
  gdcolor(12);
  cx::linea_dispositivo(cx::trunc32(cx - 6), cx::trunc32(cy), cx::trunc32(cx + 6), cx::trunc32(cy));
  cx::linea_dispositivo(cx::trunc32(cx), cx::trunc32(cy - 6), cx::trunc32(cx), cx::trunc32(cy + 6));
}
