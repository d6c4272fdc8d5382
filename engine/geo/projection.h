// The engine's one plane projection: a transverse Mercator series on the
// International 1924 ellipsoid around a selectable origin of the national
// grid, and its inverse by a secant iteration. Longitudes are degrees
// positive toward the west throughout.
#pragma once

#include <cstdint>

namespace cx {

struct Proyeccion {
  double a;     // semi-major axis, metres
  double e2;    // first eccentricity squared
  double pi;    // the value of pi the grid was made with (3.141592654)
  double lat0;  // latitude of origin, degrees
  double lon0;  // central meridian, degrees west
  double fe;    // false easting, metres
  double fn;    // false northing, metres
};

// The parameters of origin number `origen` (1..4, any other value the
// central one): what init_converter sets.
Proyeccion proyeccion_de_origen(int16_t origen);

// The process-wide projection, as after init_converter(0) until a host sets
// one.
Proyeccion& proyeccion();

// Degrees, minutes and seconds to decimal degrees, with the factors stored
// bases were made with. Each part keeps its own sign.
double grados_decimales(double grados, double minutos, double segundos);

// Geographic (decimal degrees) to grid (metres).
void convierta_geografica(const Proyeccion& p, double lat, double lon, double& este, double& norte);

// Grid to geographic by a secant iteration on each axis, from a first guess
// of 1,851.9 m to the minute. Returns the number of forward conversions
// made, 1..25; 25 may mean the tolerance was not met, and the position is
// then the last guess.
int16_t invierta_geografica(const Proyeccion& p, double este, double norte, double& lat,
                            double& lon);

}  // namespace cx
