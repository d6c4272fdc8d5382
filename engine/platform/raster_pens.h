// The shapes that device contexts build from whole pixels: the ellipse of
// a box (its region and the closed path of its outline) and the region of
// a pen wider than one pixel.
//
// A box of w x h pixels holds an ellipse found by an integer error walk
// over one quarter, mirrored into the other three, so that the ellipse is
// exactly symmetric and touches all four sides of the box.
//
// A wide pen of width w is the union of one piece per segment and one
// round dot per vertex (its caps and joins): a horizontal or vertical
// segment is a w-pixel band up to, not including, its far end; any other
// segment is the quadrilateral of its two ends pushed out sideways by
// half the width each way, rounded to whole pixels, filled as a polygon;
// the dot is the ellipse of the w x w box centred on the vertex (w / 2
// pixels above and left of it).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/raster_spans.h"

namespace cx::raster {

// Boxes wider or taller than this are drawn from the smooth curve instead
// (a walk over every pixel of their rim would take too long).
inline constexpr int32_t kLargestWalkedEllipse = 1 << 16;

// The pixels of the ellipse in the `width` x `height` box at (left, top),
// one run per row; width and height at least 1.
void add_ellipse_pixels(SpanSet& out, int32_t left, int32_t top, int32_t width, int32_t height,
                        RowRange rows);

// The closed outline of the same ellipse as a path of pixel centres, each
// a step of one pixel (across or diagonally) from the one before,
// starting at the middle of the right side and going counter-clockwise on
// the screen. The box must be at least 3 x 3.
void ellipse_outline(const DeviceRect& box, std::vector<DevicePoint>& out);

// The pixels of a pen `width` (>= 2) wide along the path, on the rows of
// `clip` and at least on its columns; `closed` adds the segment from the
// last point back to the first.
void add_wide_path(SpanSet& out, const DevicePoint* points, int count, bool closed, int32_t width,
                   const DeviceRect& clip);

}  // namespace cx::raster
