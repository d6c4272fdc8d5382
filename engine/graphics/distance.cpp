// The distance from a point to a polyline, for picking.
#include <algorithm>
#include <cmath>

#include "cartex32.h"
#include "graphics/geometry.h"

namespace {

template <typename T>
int16_t nearest_segment(const T* xs, const T* ys, int count, double px, double py, double& best) {
  best = cx::distancia(px, py, xs[0], ys[0]);
  int16_t index = 0;
  for (int s = 0; s + 1 < count; ++s) {
    double ax = xs[s], ay = ys[s], bx = xs[s + 1], by = ys[s + 1];
    if (bx < ax) {
      std::swap(ax, bx);
      std::swap(ay, by);
    }
    double foot = 1.0e10;
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    if (len2 > 0) {
      const double t = ((px - ax) * dx + (py - ay) * dy) / len2;
      const double fx = ax + t * dx, fy = ay + t * dy;
      const bool between =
          ax != bx ? (fx > ax && fx < bx) : (fy > std::min(ay, by) && fy < std::max(ay, by));
      if (between) foot = cx::distancia(px, py, fx, fy);
    }
    for (double c : {cx::distancia(px, py, ax, ay), cx::distancia(px, py, bx, by), foot}) {
      if (c < best) {
        best = c;
        index = static_cast<int16_t>(s);
      }
    }
  }
  return index;
}

}  // namespace

CX_EXPORT(int16_t)
distancia_poli(const void* xs, const void* ys, int16_t count, double px, double py,
               double* distance, int16_t* index) {
  if (!xs || !ys || !distance || !index || count < 1) return -1;
  double best = 0;
  const int16_t s = *index == -1
                        ? nearest_segment(static_cast<const float*>(xs),
                                          static_cast<const float*>(ys), count, px, py, best)
                        : nearest_segment(static_cast<const double*>(xs),
                                          static_cast<const double*>(ys), count, px, py, best);
  *distance = best;
  *index = s;
  return s;
}
