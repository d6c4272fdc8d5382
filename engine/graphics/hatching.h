// Hatching: polygons in world coordinates cut by parallel lines at the
// hatch angle, one line every hatch step of device pixels, the inside spans
// drawn with the current pen. Several rings hatched together are filled by
// the even-odd rule, so that the holes of an area stay empty.
#pragma once

#include <cstdint>
#include <vector>

namespace cx {

// One ring: n points, closed by the edge from the last point back to the
// first (a ring that repeats its first point has that edge empty).
struct Anillo {
  const double* x;
  const double* y;
  int n;
};

// One inside span of hatch line k, from x1 to x2 along the line, in the
// frame turned by the hatch angle (the line lies at y).
struct TramoAchurado {
  int32_t k;
  double y, x1, x2;
};

// Node blocks of the crossing lists: 8,122 crossings each, at most 15.
inline constexpr int kNodosPorBloque = 8122;
inline constexpr int kBloquesMaximos = 15;

enum class Achurado { hecho, fuera, fallo };

// The spans of the rings cut by the hatch lines that can meet the device's
// clip box `limits` (device rows; null: every line). The crossings of each
// line are paired in increasing order; an edge counts a line through y when
// it runs from below y to y or above, or back (half-open), so a line
// through a vertex pairs its spans. fuera when there is nothing to hatch
// (no line, or no transform); fallo after "Error en malloc de SCAN_ARENA..."
// or, past the node blocks, "ERROR achurado: mem", with no span given.
Achurado tramos_de_achurado(const Anillo* rings, int count, const int32_t* limits,
                            std::vector<TramoAchurado>* spans);

// Hatches the rings with the current pen in line type 1 (the line type is
// restored). 1 hatched; 0 when the rings miss the clip box or there is no
// device; -1 after a failure shown by tramos_de_achurado.
int16_t achure(const Anillo* rings, int count);

}  // namespace cx
