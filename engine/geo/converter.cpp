// Geographic coordinates to the plane grid: the projection parameters, the
// forward series and their exports.
#include <cmath>

#include "cartex32.h"
#include "geo/projection.h"

namespace cx {

namespace {

// Stored bases were made with these exact factors; they are not the
// closest doubles to 1/60, 1/3600, 1/180 and pi/180.
constexpr double kGradosPorMinuto = 0.016666666666666666;
constexpr double kGradosPorSegundo = 0.0002777777777777778;
constexpr double kSemicirculosPorGrado = 0.005555555555555556;
constexpr double kRadianesPorGrado = 0.017453292522222223;

double meridiano_central(int16_t origen) {
  switch (origen) {
    case 1:
      return 77.08091666666667;
    case 2:
      return 71.08091666666667;
    case 3:
      return 80.08091666666667;
    case 4:
      return 68.08091666666667;
    default:
      return 74.08091666666667;
  }
}

}  // namespace

Proyeccion proyeccion_de_origen(int16_t origen) {
  return {6378388.0, 0.00672267, 3.141592654, 4.599047222, meridiano_central(origen),
          1000000.0, 1000000.0};
}

Proyeccion& proyeccion() {
  static Proyeccion p = proyeccion_de_origen(0);
  return p;
}

double grados_decimales(double grados, double minutos, double segundos) {
  return grados + minutos * kGradosPorMinuto + segundos * kGradosPorSegundo;
}

// The meridian arc is M times the latitude difference with M at the
// point's own latitude: the series serves the few degrees around an origin.
void convierta_geografica(const Proyeccion& p, double lat, double lon, double& este,
                          double& norte) {
  const double phi = lat * p.pi * kSemicirculosPorGrado;
  const double s = std::sin(phi), c = std::cos(phi);
  const double t = (s / c) * (s / c);
  const double w = 1.0 - p.e2 * s * s;
  const double m = p.a * (1.0 - p.e2) * std::pow(w, -1.5);
  const double n = p.a * std::pow(w, -0.5);
  const double dphi = (lat - p.lat0) * kRadianesPorGrado;
  const double l = (p.lon0 - lon) * kRadianesPorGrado;
  const double l2 = l * l, c2 = c * c;
  este = p.fe + n * c * l * (1.0 + (l2 * c2 / 6.0) * (n / m - t)) +
         n * c2 * c2 * c * l2 * l2 * l * (5.0 - 18.0 * t + t * t) / 120.0;
  norte = p.fn + m * dphi + n * s * c * l2 / 2.0 + n * s * c2 * c * (5.0 - t) * l2 * l2 / 24.0;
}

}  // namespace cx

CX_EXPORT(void) init_converter(int16_t origin) {
  cx::proyeccion() = cx::proyeccion_de_origen(origin);
}

CX_EXPORT(void)
set_origin(double lat_deg, double lat_min, double lat_sec, double lon_deg, double lon_min,
           double lon_sec) {
  cx::proyeccion().lat0 = cx::grados_decimales(lat_deg, lat_min, lat_sec);
  cx::proyeccion().lon0 = cx::grados_decimales(lon_deg, lon_min, lon_sec);
}

CX_EXPORT(void) set_target(double false_easting, double false_northing) {
  cx::proyeccion().fe = false_easting;
  cx::proyeccion().fn = false_northing;
}

CX_EXPORT(void) convert_latlon(double lat, double lon, double* easting, double* northing) {
  double e = 0, n = 0;
  cx::convierta_geografica(cx::proyeccion(), lat, lon, e, n);
  if (easting) *easting = e;
  if (northing) *northing = n;
}

CX_EXPORT(void)
convlatlon(double lat_deg, double lat_min, double lat_sec, double lon_deg, double lon_min,
           double lon_sec, double* easting, double* northing) {
  convert_latlon(cx::grados_decimales(lat_deg, lat_min, lat_sec),
                 cx::grados_decimales(lon_deg, lon_min, lon_sec), easting, northing);
}
