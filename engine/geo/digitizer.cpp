// The digitising tablet: a two-point calibration (rotation, one scale and
// an offset each way) and the maps between tablet and world coordinates.
#include <cmath>

#include "cartex32.h"
#include "frame/messages.h"
#include "graphics/geometry.h"

namespace {

// The identity until the first calibration.
struct Calibracion {
  double seno = 0, coseno = 1;          // of theta, toward the world
  double seno_inv = 0, coseno_inv = 1;  // of -theta, toward the tablet
  double k = 1, inv_k = 1;              // world units per tablet unit
  double oxw = 0, oyw = 0;              // offset toward the world
  double oxd = 0, oyd = 0;              // offset toward the tablet
};

Calibracion& calibracion() {
  static Calibracion c;
  return c;
}

}  // namespace

// Two points at one place give no direction and no scale: the calibration
// in force is kept, and the user is told.
CX_EXPORT(void)
gdigcal(int16_t count, const double* xd, const double* yd, const double* xw, const double* yw) {
  if (count != 2 || !xd || !yd || !xw || !yw) return;
  const double tableta = cx::distancia(xd[0], yd[0], xd[1], yd[1]);
  const double mundo = cx::distancia(xw[0], yw[0], xw[1], yw[1]);
  const double k = mundo / tableta;
  if (!(tableta > 0) || !(mundo > 0) || !std::isfinite(k) || !std::isfinite(1.0 / k)) {
    cx::informe_error(
        "ADVERTENCIA: calibracion del digitalizador no valida, los dos puntos %s coinciden; "
        "se conserva la calibracion anterior",
        tableta > 0 ? "del mundo" : "de la tableta");
    return;
  }
  const double theta =
      cx::angulo_vector(xw[0], yw[0], xw[1], yw[1]) - cx::angulo_vector(xd[0], yd[0], xd[1], yd[1]);
  Calibracion c;
  c.seno = std::sin(theta);
  c.coseno = std::cos(theta);
  c.seno_inv = std::sin(-theta);
  c.coseno_inv = std::cos(-theta);
  c.k = k;
  c.inv_k = 1.0 / k;
  // The offsets make the first tablet point and the first world point
  // correspond exactly, each way.
  const double alfa = cx::angulo_vector(0, 0, xd[0], yd[0]);
  const double rd = cx::distancia(0, 0, xd[0], yd[0]);
  c.oxw = xw[0] - k * rd * std::cos(alfa + theta);
  c.oyw = yw[0] - k * rd * std::sin(alfa + theta);
  const double beta = cx::angulo_vector(0, 0, xw[0], yw[0]);
  const double rw = cx::distancia(0, 0, xw[0], yw[0]);
  c.oxd = xd[0] - (rw / k) * std::cos(beta - theta);
  c.oyd = yd[0] - (rw / k) * std::sin(beta - theta);
  calibracion() = c;
}

CX_EXPORT(void) a_mundo(double x, double y, double* xw, double* yw) {
  const Calibracion& c = calibracion();
  double xr = 0, yr = 0;
  grota(x, y, c.seno, c.coseno, &xr, &yr);
  if (xw) *xw = c.k * xr + c.oxw;
  if (yw) *yw = c.k * yr + c.oyw;
}

CX_EXPORT(void) a_digit(double x, double y, double* xd, double* yd) {
  const Calibracion& c = calibracion();
  double xr = 0, yr = 0;
  grota(x, y, c.seno_inv, c.coseno_inv, &xr, &yr);
  if (xd) *xd = xr * c.inv_k + c.oxd;
  if (yd) *yd = yr * c.inv_k + c.oyd;
}
