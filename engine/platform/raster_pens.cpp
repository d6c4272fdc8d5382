// Ellipses and wide pens from whole pixels.
#include "platform/raster_pens.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace cx::raster {

namespace {

// The error walk over a quarter of the ellipse in a w x h box (after
// Zingl's integer ellipse): each step moves across, down, or both, whichever
// keeps the point nearest the curve. Starting from the middle of the box's
// side, "across" moves toward the middle column and "down" toward the far
// row.
class QuarterWalk {
 public:
  QuarterWalk(int64_t w, int64_t h) : a_(w - 1), b_(h - 1) {
    across_ = 4 * b_ * b_ * (1 - a_);
    down_ = 4 * a_ * a_ * (1 + b_ % 2);
    err_ = across_ + down_ + a_ * a_ * (b_ % 2);
  }
  // The moves of the next step.
  std::pair<bool, bool> step() {
    const int64_t twice = 2 * err_;
    const bool across = twice >= across_, down = twice <= down_;
    if (across) err_ += across_ += 8 * b_ * b_;
    if (down) err_ += down_ += 8 * a_ * a_;
    return {across, down};
  }

 private:
  int64_t a_, b_, across_, down_, err_;
};

// How far each row of the w x h ellipse lies inside the box's left (and
// right) side, rows top to bottom. Below 2 pixels either way the ellipse
// is the whole box.
std::vector<int32_t> ellipse_insets(int32_t w, int32_t h) {
  std::vector<int32_t> inset(std::size_t(std::max(h, 0)), 0);
  if (w < 2 || h < 2) return inset;
  // A walk over a box much taller than wide passes the middle column
  // before the last row: the rows it leaves are the tip, the middle pixel
  // or two.
  const int32_t tip = (w - 1) / 2;
  std::fill(inset.begin() + h / 2 + 1, inset.end(), tip);
  QuarterWalk walk(w, h);
  int32_t x = 0, y = h / 2;
  while (x <= w / 2) {
    const auto [across, down] = walk.step();
    if (across) ++x;
    if (down && ++y < h) inset[std::size_t(y)] = std::min(x, tip);
  }
  for (int32_t i = 0; i < h / 2; ++i) inset[std::size_t(i)] = inset[std::size_t(h - 1 - i)];
  return inset;
}

void add_rows(SpanSet& out, int32_t left, int32_t top, int32_t width,
              const std::vector<int32_t>& inset, RowRange rows) {
  const int32_t h = static_cast<int32_t>(inset.size());
  const int32_t first = std::max(0, rows.top - top), last = std::min(h, rows.bottom - top);
  for (int32_t r = first; r < last; ++r)
    out.add(top + r, left + inset[std::size_t(r)], left + width - inset[std::size_t(r)]);
}

void add_band(SpanSet& out, int64_t x0, int64_t x1, int64_t y0, int64_t y1, RowRange rows) {
  const int64_t top = std::max<int64_t>(y0, rows.top), bottom = std::min<int64_t>(y1, rows.bottom);
  for (int64_t y = top; y < bottom; ++y)
    out.add(static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1));
}

// Half of a sideways extent, to the nearest pixel (halves away from zero).
int32_t rounded(double v) {
  return static_cast<int32_t>(v > 0 ? v + 0.5 : v - 0.5);
}

void add_segment(SpanSet& out, DevicePoint a, DevicePoint b, int32_t w, RowRange rows) {
  const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  if (dx == 0 && dy == 0) return;
  if (dy == 0) {
    const int64_t top = a.y - w / 2;
    add_band(out, std::min(a.x, b.x), std::max(a.x, b.x), top, top + w, rows);
    return;
  }
  if (dx == 0) {
    const int64_t left = a.x - w / 2;
    add_band(out, left, left + w, std::min(a.y, b.y), std::max(a.y, b.y), rows);
    return;
  }
  // The pen's width measured along x and along y.
  const double len = std::hypot(double(dx), double(dy));
  const double across_x = double(w * std::abs(dy)) / len, across_y = double(w * std::abs(dx)) / len;
  // The two sides of the segment take the halves of the width, each
  // rounded to whole pixels on each axis; one side's halves are rounded
  // from half a pixel more, that to the left of the direction of travel on
  // the screen for segments going down and to the right for those going up.
  DevicePoint narrow{rounded(across_x / 2), rounded(across_y / 2)};
  DevicePoint wide{rounded((across_x + 1) / 2), rounded((across_y + 1) / 2)};
  if (dx < 0) {
    narrow.y = -narrow.y;
    wide.y = -wide.y;
  }
  if (dy < 0) {
    std::swap(narrow, wide);
    narrow.x = -narrow.x;
    wide.x = -wide.x;
  }
  const DevicePoint quad[4] = {{a.x - narrow.x, a.y + narrow.y},
                               {a.x + wide.x, a.y - wide.y},
                               {b.x + wide.x, b.y - wide.y},
                               {b.x - narrow.x, b.y + narrow.y}};
  add_polygon_fill(out, quad, 4, FillMode::alternate, rows);
}

}  // namespace

void add_ellipse_pixels(SpanSet& out, int32_t left, int32_t top, int32_t width, int32_t height,
                        RowRange rows) {
  add_rows(out, left, top, width, ellipse_insets(width, height), rows);
}

void ellipse_outline(const DeviceRect& box, std::vector<DevicePoint>& out) {
  const int32_t w = box.right - box.left, h = box.bottom - box.top;
  out.clear();
  // The quarter from the middle of the right side up to the top row.
  QuarterWalk walk(w, h);
  int32_t y = h / 2;
  for (int32_t x = w - 1; x >= w / 2;) {
    out.push_back({box.left + x, box.top + h - 1 - y});
    const auto [across, down] = walk.step();
    if (across) --x;
    if (down) ++y;
  }
  // The tip of a box much taller than wide, as in ellipse_insets.
  for (int32_t last = out.back().y - box.top; last > 0; --last)
    out.push_back({box.left + w / 2, box.top + last - 1});
  // Mirrored onto the left half, then the bottom half, each in reverse so
  // that the path runs on; the middle column or row is not repeated.
  const auto mirror = [&](bool odd, auto flip) {
    const std::size_t n = out.size(), total = 2 * n - (odd ? 1 : 0);
    out.resize(total);
    for (std::size_t i = 0; i < n; ++i) out[total - 1 - i] = flip(out[i]);
  };
  mirror(w % 2 != 0, [&](DevicePoint p) {
    return DevicePoint{box.left + box.right - 1 - p.x, p.y};
  });
  mirror(h % 2 != 0, [&](DevicePoint p) {
    return DevicePoint{p.x, box.top + box.bottom - 1 - p.y};
  });
}

void add_wide_path(SpanSet& out, const DevicePoint* p, int count, bool closed, int32_t width,
                   const DeviceRect& clip) {
  const RowRange rows{clip.top, clip.bottom};
  // Pieces wholly outside the clip rectangle are passed over: a curve far
  // larger than the device has most of its many pieces there.
  const auto outside = [&](DevicePoint a, DevicePoint b) {
    return int64_t(std::max(a.x, b.x)) + width < clip.left ||
           int64_t(std::min(a.x, b.x)) - width >= clip.right ||
           int64_t(std::max(a.y, b.y)) + width < clip.top ||
           int64_t(std::min(a.y, b.y)) - width >= clip.bottom;
  };
  const std::vector<int32_t> dot = ellipse_insets(width, width);
  for (int i = 0; i < count; ++i) {
    if (!outside(p[i], p[i]))
      add_rows(out, p[i].x - width / 2, p[i].y - width / 2, width, dot, rows);
  }
  for (int i = 0; i + 1 < count; ++i) {
    if (!outside(p[i], p[i + 1])) add_segment(out, p[i], p[i + 1], width, rows);
  }
  if (closed && count > 1 && !outside(p[count - 1], p[0]))
    add_segment(out, p[count - 1], p[0], width, rows);
}

}  // namespace cx::raster
