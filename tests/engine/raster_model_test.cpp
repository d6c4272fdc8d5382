// The raster device's strokes and polygon fills against brute-force models
// over random shapes: a pixel of a stroke is one whose sample point lies
// within half the width of a segment; a pixel of a fill is one whose sample
// point has a non-zero (or odd) winding number.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/raster_device.h"

namespace cx {
namespace {

constexpr int kSize = 24;
constexpr Colorref kInk = 0x000000;
constexpr double kNudge = 1.0 / 4096;  // the device's tie-break toward right and down

double segment_distance(double px, double py, DevicePoint a, DevicePoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// Signed crossings of the ray from (px, py) to the right.
int winding(double px, double py, const std::vector<DevicePoint>& p) {
  int w = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const DevicePoint a = p[i], b = p[(i + 1) % p.size()];
    if ((a.y <= py) == (b.y <= py)) continue;
    const double x = a.x + (py - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
    if (x > px) w += b.y > a.y ? 1 : -1;
  }
  return w;
}

std::vector<DevicePoint> random_points(std::mt19937& rng, int n) {
  std::uniform_int_distribution<int32_t> c(-3, kSize + 2);
  std::vector<DevicePoint> p;
  for (int i = 0; i < n; ++i) p.push_back({c(rng), c(rng)});
  return p;
}

TEST(RasterModel, WideStrokesCoverWhatIsWithinHalfTheirWidth) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> widths(2, 7), counts(1, 4);
  for (int round = 0; round < 300; ++round) {
    const int width = widths(rng);
    const std::vector<DevicePoint> p = random_points(rng, counts(rng) + 1);
    RasterDevice d(kSize, kSize);
    d.select_pen({PenStyle::solid, width, kInk});
    d.polyline(p.data(), static_cast<int>(p.size()));
    const double off = (width % 2 == 0 ? 0.5 : 0.0) + kNudge, r = width / 2.0;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        double dist = 1e9;
        for (std::size_t i = 0; i + 1 < p.size(); ++i)
          dist = std::min(dist, segment_distance(x + off, y + off, p[i], p[i + 1]));
        if (std::abs(dist - r) < 1e-9) continue;  // on the boundary: either way
        ASSERT_EQ(d.get_pixel(x, y) == kInk, dist < r)
            << "round " << round << " width " << width << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(RasterModel, PolygonsFillByWindingNumber) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> counts(3, 8);
  for (int round = 0; round < 300; ++round) {
    const std::vector<DevicePoint> p = random_points(rng, counts(rng));
    for (FillMode mode : {FillMode::alternate, FillMode::winding}) {
      RasterDevice d(kSize, kSize);
      d.select_pen({PenStyle::null, 1, 0});
      d.select_brush({false, kInk});
      d.set_fill_mode(mode);
      d.polygon(p.data(), static_cast<int>(p.size()));
      for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
          // An edge through the row counts from its upper end (half open), a
          // crossing exactly at the pixel as left of it.
          const int w = winding(x + kNudge, y, p);
          const bool inside = mode == FillMode::winding ? w != 0 : w % 2 != 0;
          ASSERT_EQ(d.get_pixel(x, y) == kInk, inside)
              << "round " << round << " pixel " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace cx
