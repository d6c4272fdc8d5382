// Angles, distances, rotations and the sine table.
#include "graphics/geometry.h"

#include <cmath>
#include <limits>

#include "cartex32.h"

namespace cx {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Truncation toward zero into 16 bits, saturated rather than undefined.
int16_t saturate16(double v) {
  if (std::isnan(v)) return 0;
  if (v >= std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v <= std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

}  // namespace

double angulo_vector(double x1, double y1, double x2, double y2) {
  if (x2 == x1) return y2 > y1 ? 1.5707963267948966 : 4.71238898038469;
  double t = std::atan((y2 - y1) / (x2 - x1));
  if (t == 0) return x2 < x1 ? kPi : 0;
  if (t > 0) return x2 < x1 ? t + kPi : t;
  t += kTwoPi;
  if (x2 < x1) t -= kPi;
  return t;
}

double distancia(double x1, double y1, double x2, double y2) {
  return std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
}

const std::array<double, 1801>& tabla_senos() {
  static const std::array<double, 1801> table = [] {
    std::array<double, 1801> t{};
    for (int i = 0; i <= 1800; ++i) t[i] = std::sin(i * 0.0017453292519943296);
    return t;
  }();
  return table;
}

double seno_decimas(int32_t tenths) {
  int32_t i = tenths % 3600;
  if (i < 0) i += 3600;
  return i < 1800 ? tabla_senos()[i] : -tabla_senos()[i - 1800];
}

double coseno_decimas(int32_t tenths) {
  return seno_decimas(tenths % 3600 + 900);
}

}  // namespace cx

CX_EXPORT(void) grota(double x, double y, double s, double c, double* xr, double* yr) {
  if (xr) *xr = c * x - s * y;
  if (yr) *yr = c * y + s * x;
}

// Products in 64 bits: the arithmetic shift of an in-range product equals
// the 32-bit one, and coordinates beyond +-255 wrap instead of overflowing.
CX_EXPORT(void) grota_i(int16_t x, int16_t y, int32_t s, int32_t c, int16_t* xr, int16_t* yr) {
  const int64_t cx = (int64_t{c} * x) >> 23, sy = (int64_t{s} * y) >> 23;
  const int64_t cy = (int64_t{c} * y) >> 23, sx = (int64_t{s} * x) >> 23;
  if (xr) *xr = static_cast<int16_t>(cx - sy);
  if (yr) *yr = static_cast<int16_t>(cy + sx);
}

CX_EXPORT(void) int_rota(int16_t x, int16_t y, double angle, int16_t* xr, int16_t* yr) {
  const double c = std::cos(angle), s = std::sin(angle);
  if (xr) *xr = cx::saturate16(x * c - y * s);
  if (yr) *yr = cx::saturate16(x * s + y * c);
}

CX_EXPORT(int16_t) distancia_VB(double x1, double y1, double x2, double y2, double* d) {
  if (d) *d = cx::distancia(x1, y1, x2, y2);
  return 0;
}

CX_EXPORT(int32_t) calc_ang(double x1, double y1, double x2, double y2, double* angle) {
  const double a = cx::angulo_vector(x1, y1, x2, y2);
  if (angle) *angle = a;
  return static_cast<int32_t>(a * 57.29577951308232);
}
