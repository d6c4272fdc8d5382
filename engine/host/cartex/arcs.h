// The topology of a set of polygons: their rings cut into arcs at the
// points where neighbours meet or part, each boundary stored once however
// many polygons it bounds, and the rings again from the arcs of one area.
#pragma once

#include <cstddef>
#include <vector>

#include "feature_set.h"

namespace cartex {

struct ArcSet {
  // Every arc runs from its first point to its last, both nodes, with at
  // most max_inner points between them.
  std::vector<std::vector<Point>> arcs;
  // For each input area, the arcs that bound it, each once. An arc an
  // area used twice (a cut running into it) bounds nothing and is left out.
  std::vector<std::vector<std::size_t>> areas;
};

// areas[i] holds the polygons of area i. Repeated consecutive points and a
// ring's closing point are dropped; rings of fewer than 3 points are left
// out. A ring met by no other is cut at its least point.
ArcSet build_arcs(const std::vector<std::vector<Polygon>>& areas, std::size_t max_inner);

// The rings an area's arcs make: arcs end to end, each once, a ring closed
// where it comes back to a point it passed. *closed is false when some arc
// end meets no other (its rings are then given as far as they go).
std::vector<Ring> rings_from_arcs(const std::vector<std::vector<Point>>& arcs, bool* closed);

// Rings as polygons: a ring inside an even number of others is an outer
// ring, and each other ring a hole of the smallest outer ring holding it.
std::vector<Polygon> polygons_from_rings(std::vector<Ring> rings);

// Twice the signed area (positive: counter-clockwise).
double signed_area2(const Ring& ring);

}  // namespace cartex
