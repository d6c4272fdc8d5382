// Grid coordinates back to geographic ones: a secant iteration on each axis
// over the forward series, and its export.
#include <cmath>

#include "cartex32.h"
#include "geo/projection.h"

namespace cx {

namespace {

// 1,851.9 m to the minute of arc, as the first guess has always been made.
constexpr double kMinutosPorMetro = 0.0005399859603650304;
constexpr double kTolerancia = 1e-6;
constexpr int16_t kConversiones = 25;

// One secant step of coordinate x toward the grid value `objetivo`, from
// the grid values of x and of the previous point. An axis whose grid value
// is already met, or whose two grid values do not differ, keeps its guess:
// there is no slope to follow, and a step could only divide by zero.
void paso_secante(double& x, double& x_previo, double valor, double& valor_previo,
                  double objetivo) {
  if (valor == objetivo) return;
  const double diferencia = valor - valor_previo;
  if (diferencia == 0) return;
  const double siguiente = x + (objetivo - valor) * (x - x_previo) / diferencia;
  if (!std::isfinite(siguiente)) return;
  x_previo = x;
  valor_previo = valor;
  x = siguiente;
}

}  // namespace

int16_t invierta_geografica(const Proyeccion& p, double este, double norte, double& lat,
                            double& lon) {
  lat = p.lat0 + (norte - p.fn) * kMinutosPorMetro / 60;
  lon = p.lon0 + (p.fe - este) * kMinutosPorMetro / 60;
  // The origin is the previous point unless the guess shares a coordinate
  // with it: that axis would have no slope, so a point 3 degrees off is
  // taken instead.
  double lat_previa = p.lat0, lon_previa = p.lon0, este_previo = p.fe, norte_previo = p.fn;
  if (lat == p.lat0 || lon == p.lon0) {
    lat_previa = p.lat0 - 3.0;
    lon_previa = p.lon0 - 3.0;
    convierta_geografica(p, lat_previa, lon_previa, este_previo, norte_previo);
  }
  int16_t conversiones = 0;
  while (conversiones < kConversiones) {
    double ec = 0, nc = 0;
    convierta_geografica(p, lat, lon, ec, nc);
    ++conversiones;
    if (std::fabs(nc - norte) + std::fabs(ec - este) <= kTolerancia) break;
    paso_secante(lat, lat_previa, nc, norte_previo, norte);
    paso_secante(lon, lon_previa, ec, este_previo, este);
  }
  return conversiones;
}

}  // namespace cx

CX_EXPORT(int16_t) newton(double easting, double northing, double* lat, double* lon) {
  double la = 0, lo = 0;
  const int16_t conversiones = cx::invierta_geografica(cx::proyeccion(), easting, northing, la, lo);
  if (lat) *lat = la;
  if (lon) *lon = lo;
  return conversiones;
}
