// Pixel runs of polygons, boxes and ellipses.
#include "platform/raster_spans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cx::raster {

namespace {

int32_t clamp_row(double v) {
  constexpr double lo = std::numeric_limits<int32_t>::min() / 2;
  constexpr double hi = std::numeric_limits<int32_t>::max() / 2;
  return static_cast<int32_t>(std::clamp(v, lo, hi));
}

}  // namespace

void SpanSet::normalize() {
  std::sort(spans_.begin(), spans_.end(),
            [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  std::size_t out = 0;
  for (std::size_t i = 0; i < spans_.size(); ++i) {
    if (out > 0 && spans_[out - 1].y == spans_[i].y && spans_[i].x0 <= spans_[out - 1].x1)
      spans_[out - 1].x1 = std::max(spans_[out - 1].x1, spans_[i].x1);
    else
      spans_[out++] = spans_[i];
  }
  spans_.resize(out);
}

void SpanSet::subtract(const SpanSet& other) {
  std::vector<Span> result;
  const std::vector<Span>& cut = other.spans_;
  std::size_t j = 0;
  for (Span s : spans_) {
    while (j < cut.size() && (cut[j].y < s.y || (cut[j].y == s.y && cut[j].x1 <= s.x0))) ++j;
    for (std::size_t k = j; k < cut.size() && cut[k].y == s.y && cut[k].x0 < s.x1; ++k) {
      if (cut[k].x0 > s.x0) result.push_back({s.y, s.x0, cut[k].x0});
      s.x0 = std::max(s.x0, cut[k].x1);
    }
    if (s.x0 < s.x1) result.push_back(s);
  }
  spans_ = std::move(result);
}

void add_polygon_fill(SpanSet& out, const DevicePoint* p, int count, FillMode mode, RowRange rows) {
  if (count < 3) return;
  int64_t ymin = p[0].y, ymax = p[0].y;
  for (int i = 1; i < count; ++i) {
    ymin = std::min<int64_t>(ymin, p[i].y);
    ymax = std::max<int64_t>(ymax, p[i].y);
  }
  const int32_t top = static_cast<int32_t>(std::max<int64_t>(rows.top, ymin));
  const int32_t bottom = static_cast<int32_t>(std::min<int64_t>(rows.bottom, ymax));
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> xs;
  for (int32_t y = top; y < bottom; ++y) {
    xs.clear();
    for (int i = 0; i < count; ++i) {
      const DevicePoint a = p[i], b = p[(i + 1) % count];
      if (a.y == b.y) continue;
      const bool down = a.y < b.y;
      const DevicePoint lo = down ? a : b, hi = down ? b : a;
      if (y < lo.y || y >= hi.y) continue;
      const double x = lo.x + double(y - lo.y) * (double(hi.x) - lo.x) / (double(hi.y) - lo.y);
      xs.push_back({x, down ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    int winding = 0;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      winding += xs[i].dir;
      const bool inside = mode == FillMode::alternate ? (i % 2 == 0) : winding != 0;
      if (inside) out.add(y, clamp_row(std::ceil(xs[i].x)), clamp_row(std::ceil(xs[i + 1].x)));
    }
  }
}

void add_box(SpanSet& out, const DeviceRect& box, RowRange rows) {
  const int32_t top = std::max(rows.top, box.top), bottom = std::min(rows.bottom, box.bottom);
  for (int32_t y = top; y < bottom; ++y) out.add(y, box.left, box.right);
}

void add_ellipse_region(SpanSet& out, const DeviceRect& box, RowRange rows) {
  const double cx = (double(box.left) + box.right) / 2, cy = (double(box.top) + box.bottom) / 2;
  const double a = (double(box.right) - box.left) / 2, b = (double(box.bottom) - box.top) / 2;
  if (a <= 0 || b <= 0) return;
  const int32_t top = std::max(rows.top, box.top), bottom = std::min(rows.bottom, box.bottom);
  for (int32_t y = top; y < bottom; ++y) {
    const double t = (y + 0.5 - cy) / b;
    if (t * t > 1) continue;
    const double half = a * std::sqrt(1 - t * t);
    const double x0 = std::ceil(cx - half - 0.5), x1 = std::floor(cx + half - 0.5) + 1;
    out.add(y, clamp_row(x0), clamp_row(x1));
  }
}

}  // namespace cx::raster
