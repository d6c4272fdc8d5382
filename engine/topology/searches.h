// Searches over a network for the edits: the nearest nodes to a point, the
// nodes at the vertices of a polyline, the arc nearest to a point.
#pragma once

#include <cstdint>
#include <vector>

namespace cx {

struct NodosCercanos {
  int32_t first = 0, second = 0;  // 0: none
  double d1 = 1e20, d2 = 1e20;
};

// The nearest and second nearest node of a network (its handle record)
// within `radius` of (x, y).
NodosCercanos nodos_cercanos(const int16_t* red, double x, double y, double radius);

// The node of the current network at each vertex of the polyline (0 for
// none), as get_nodesT3 found them: one entry per vertex. Returns the index
// of the last vertex with a node, -1 for none.
int marque_nodos(int count, const double* x, const double* y, std::vector<int32_t>* nodes);

struct ArcoCercano {
  int32_t arc = 0, from = 0, to = 0, from_entry = 0, to_entry = 0;
  double distance = 0;
};

// The drawn arc of the current network nearest to (x, y) within the pick
// tolerance; arc 0 when none.
ArcoCercano arco_cercano(double x, double y);

// The pick tolerance in world units: two device units, at least
// kMinimoSeleccion.
inline constexpr double kMinimoSeleccion = 1.0;
double tolerancia_seleccion();

}  // namespace cx
