// Points around the central origin of the grid and their grid coordinates
// by convert_latlon, for bench/geodesy to set beside an exact transverse
// Mercator. One line a point:
//
//   distance  direction  longitude-east  latitude  easting  northing
//
// the distance in degrees (0.5, 1, 2, 3, 5), the direction one of N S E W
// NE NW SE SW (a diagonal point is that distance off on both axes), the
// longitude with east positive as other tools take it.
#include <cstdio>

#include "cartex32.h"

namespace {

constexpr double kLat0 = 4.599047222, kLon0 = 74.08091666666667;

struct Direction {
  const char* name;
  double north, west;
};

}  // namespace

int main() {
  const double distances[] = {0.5, 1, 2, 3, 5};
  const Direction directions[] = {{"N", 1, 0},   {"S", -1, 0}, {"E", 0, -1},   {"W", 0, 1},
                                  {"NE", 1, -1}, {"NW", 1, 1}, {"SE", -1, -1}, {"SW", -1, 1}};
  init_converter(0);
  for (double d : distances) {
    for (const Direction& dir : directions) {
      const double lat = kLat0 + d * dir.north, lon_west = kLon0 + d * dir.west;
      double e = 0, n = 0;
      convert_latlon(lat, lon_west, &e, &n);
      std::printf("%g %s %.12f %.12f %.6f %.6f\n", d, dir.name, -lon_west, lat, e, n);
    }
  }
  return 0;
}
