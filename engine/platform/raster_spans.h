// Scan conversion for the raster device: fills and wide pens become sets
// of horizontal pixel runs, merged so that each pixel is painted once per
// call (which is what makes exclusive-or drawing of overlapping pieces of
// one shape sound). Thin pens are laid segment by segment instead, as
// device contexts lay them.
//
// Two pixel models meet here. Lines and polygons put pixel (x, y) at the
// lattice point (x, y), so a polyline's vertices are pixel centres; a
// polygon fills the lattice points inside it by the top-left rule (left and
// top edges in, right and bottom out). Rectangles cover the pixels whose
// centres (x + 0.5, y + 0.5) lie in their box, which leaves out the right
// and bottom edges of the box; so do ellipses (see raster_pens.h for the
// ellipse and for pens wider than one pixel).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/device.h"

namespace cx::raster {

struct Span {
  int32_t y, x0, x1;  // pixels x0 .. x1 - 1 of row y
};

// Rows outside [top, bottom) are never produced.
struct RowRange {
  int32_t top, bottom;
};

class SpanSet {
 public:
  void add(int32_t y, int32_t x0, int32_t x1) {
    if (x0 < x1) spans_.push_back({y, x0, x1});
  }
  // Sorts by row and joins overlapping and touching runs.
  void normalize();
  // Removes the pixels of `other`; both must be normalized.
  void subtract(const SpanSet& other);
  const std::vector<Span>& spans() const { return spans_; }
  bool empty() const { return spans_.empty(); }
  void clear() { spans_.clear(); }

 private:
  std::vector<Span> spans_;
};

// Lattice points inside the closed polygon, even-odd or non-zero winding.
void add_polygon_fill(SpanSet& out, const DevicePoint* points, int count, FillMode mode,
                      RowRange rows);

// One run per row: the pixels of the box (right and bottom edges left out)
// or of the smooth ellipse inscribed in it (whose pixel centres lie inside
// the curve). `box` is ordered.
void add_box(SpanSet& out, const DeviceRect& box, RowRange rows);
void add_ellipse_region(SpanSet& out, const DeviceRect& box, RowRange rows);

}  // namespace cx::raster
