// The raster device's wide pens, ellipses and polygon fills against
// brute-force models: a wide line against its pieces and its distance to
// the path, an ellipse against its curve, a pixel of a fill against the
// winding number of its sample point.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/raster_device.h"

namespace cx {
namespace {

constexpr int kSize = 24;
constexpr Colorref kInk = 0x000000;
constexpr double kNudge = 1.0 / 4096;  // a crossing at the pixel counts as left of it

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

std::vector<Colorref> drawn(int width, const std::vector<std::vector<DevicePoint>>& lines) {
  RasterDevice d(kSize, kSize);
  d.select_pen({PenStyle::solid, width, kInk});
  for (const std::vector<DevicePoint>& p : lines) d.polyline(p.data(), static_cast<int>(p.size()));
  return d.pixels();
}

// A wide polyline is the union of its segments and of a dot on each vertex
// (so joins are never left out or doubled), and it covers what lies within
// half its width of the path, give or take the rounding of its corners to
// whole pixels on each axis (and of an even width's centre), which moves
// an edge by up to a pixel and a half.
TEST(RasterModel, WidePolylinesAreTheirSegmentsAndDots) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> widths(2, 7), counts(1, 4);
  for (int round = 0; round < 300; ++round) {
    const int width = widths(rng);
    const std::vector<DevicePoint> p = random_points(rng, counts(rng) + 1);
    std::vector<std::vector<DevicePoint>> parts;
    for (std::size_t i = 0; i < p.size(); ++i) {
      parts.push_back({p[i], p[i]});
      if (i + 1 < p.size()) parts.push_back({p[i], p[i + 1]});
    }
    const std::vector<Colorref> whole = drawn(width, {p});
    ASSERT_EQ(whole, drawn(width, parts)) << "round " << round << " width " << width;
    const double off = width % 2 == 0 ? -0.5 : 0.0, r = width / 2.0;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        double dist = 1e9;
        for (std::size_t i = 0; i + 1 < p.size(); ++i)
          dist = std::min(dist, segment_distance(x - off, y - off, p[i], p[i + 1]));
        const bool inked = whole[std::size_t(y) * kSize + x] == kInk;
        ASSERT_TRUE(inked ? dist < r + 2 : dist > r - 1.5)
            << "round " << round << " pixel " << x << "," << y << " at " << dist;
      }
    }
  }
}

// Every ellipse from 3 x 3 to 40 x 40: exactly symmetric, touching all four
// sides of its box, within a pixel of the true curve, and its thin pen
// lies on its own outermost pixels.
TEST(RasterModel, EllipsesAreSymmetricAndFollowTheirCurve) {
  constexpr int kBox = 44;
  for (int w = 3; w <= 40; ++w) {
    for (int h = 3; h <= 40; ++h) {
      RasterDevice filled(kBox, kBox), outlined(kBox, kBox);
      filled.select_pen({PenStyle::null, 1, 0});
      filled.select_brush({false, kInk});
      filled.ellipse({2, 2, 2 + w, 2 + h});
      outlined.select_pen({PenStyle::solid, 1, kInk});
      outlined.select_brush({true, 0});
      outlined.ellipse({2, 2, 2 + w, 2 + h});
      const auto in = [&](const RasterDevice& d, int x, int y) {
        return d.get_pixel(x + 2, y + 2) == kInk;
      };
      bool top = false, left = false;
      for (int y = -1; y <= h; ++y) {
        for (int x = -1; x <= w; ++x) {
          const bool inside = in(filled, x, y);
          SCOPED_TRACE(testing::Message() << w << " x " << h << " pixel " << x << "," << y);
          ASSERT_EQ(inside, in(filled, w - 1 - x, y));
          ASSERT_EQ(inside, in(filled, x, h - 1 - y));
          top |= inside && y == 0;
          left |= inside && x == 0;
          const double u = (x + 0.5 - w / 2.0) / (w / 2.0), v = (y + 0.5 - h / 2.0) / (h / 2.0);
          const double grown = std::hypot(u * w / (w + 2.0), v * h / (h + 2.0));
          const double shrunk = std::hypot(u * w / (w - 2.0), v * h / (h - 2.0));
          ASSERT_TRUE(inside ? grown <= 1 : shrunk >= 1);
          // The outline: pixels of the ellipse with a neighbour outside it.
          const bool rim = inside && !(in(filled, x - 1, y) && in(filled, x + 1, y) &&
                                       in(filled, x, y - 1) && in(filled, x, y + 1));
          ASSERT_TRUE(inside || !in(outlined, x, y));
          ASSERT_TRUE(!rim || (y != 0 && x != 0) || in(outlined, x, y));
        }
      }
      ASSERT_TRUE(top && left) << w << " x " << h;
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
