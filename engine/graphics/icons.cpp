// Point symbols: the icon scale, one icon at a point or along a line, and
// the catalogue of every icon of the table.
#include <algorithm>
#include <cmath>

#include "cartex32.h"
#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "graphics/vector_tables.h"

namespace cx {

namespace {

int32_t clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void draw_outline(Device& d, const ContornoIcono& o, int64_t X, int64_t Y) {
  const EstadoGrafico& g = estado_grafico();
  if (o.count == 0) return;
  const int64_t F = g.icon_scale;
  const bool turned = std::abs(g.text_angle) >= 0.05;
  double dx, dy;
  direccion_texto(dx, dy);
  const int64_t S = static_cast<int64_t>(F * 32 * dy), C = static_cast<int64_t>(F * 32 * dx);
  DevicePoint points[50];
  for (int k = 0; k < o.count; ++k) {
    int64_t rx = (o.x[k] * F) >> 18, ry = (o.y[k] * F) >> 18;
    if (turned) rote_fijo(o.x[k], o.y[k], S, C, rx, ry);
    points[k] = {clamp32(X + rx), clamp32(Y + ry)};
  }
  if (!o.filled) {
    if (o.count >= 2) d.polyline(points, o.count);
    return;
  }
  // Filled with the current colour, outlined in black.
  const Colorref black = g.number_of_colours > 2 ? g.palette[15] : 0;
  const Pen pen = d.select_pen({PenStyle::solid, 1, black});
  const Brush brush = d.select_brush({false, g.colour_value});
  const FillMode mode = d.set_fill_mode(FillMode::winding);
  d.polygon(points, o.count);
  d.set_fill_mode(mode);
  d.select_brush(brush);
  d.select_pen(pen);
}

}  // namespace

void dibuje_icono(int n, double x, double y) {
  const EstadoGrafico& g = estado_grafico();
  const TablasVectoriales& t = tablas_vectoriales();
  Device* d = dispositivo_actual();
  if (!d || n < 1 || n > static_cast<int>(t.icons.size())) return;
  const int64_t X = gxdev_de(x), Y = gydev_de(y);
  // The clip box in device rows: the state's clip values are measured
  // upward and may be another window's than the region in force.
  const DeviceRect c = d->clip_box();
  if (X < c.left || X > c.right || Y < c.top || Y > c.bottom) return;
  if (g.icon_pixels < 1.5) {
    d->set_pixel(static_cast<int32_t>(X), static_cast<int32_t>(Y), g.colour_value);
    return;
  }
  const Icono& icon = t.icons[n - 1];
  draw_outline(*d, icon.a, X, Y);
  draw_outline(*d, icon.b, X, Y);
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(int16_t) gdicoesc(double size) {
  cx::EstadoGrafico& g = estado_grafico();
  g.icon_pixels = size * g.sx;
  const double fixed = std::trunc(g.icon_pixels * 256);
  g.icon_scale =
      std::isnan(fixed) ? 0 : static_cast<int32_t>(std::clamp(fixed, -2147483648.0, 2147483647.0));
  return 1;
}

CX_EXPORT(int32_t) gaicoesc_VB(double* size) {
  const cx::EstadoGrafico& g = estado_grafico();
  if (size) *size = g.sx != 0 ? g.icon_pixels / g.sx : g.icon_pixels;
  const double whole = std::trunc(g.icon_pixels);
  return std::isnan(whole) ? 0
                           : static_cast<int32_t>(std::clamp(whole, -2147483648.0, 2147483647.0));
}

CX_EXPORT(int16_t) gicono(int16_t n, double x, double y) {
  if (n < 0 || n > static_cast<int>(cx::tablas_vectoriales().icons.size())) return 0;
  const int16_t type = galintip();
  const cx::EstadoGrafico& g = estado_grafico();
  const int16_t width = g.line_width;
  gdlintip(1);
  gdlinanch(1);
  cx::dibuje_icono(n, x, y);
  gdlintip(type);
  gdlinanch(width);
  return 1;
}

CX_EXPORT(void) gpicono(int16_t n, const double* xs, const double* ys, int16_t count) {
  if (!xs || !ys || count < 1) return;
  gplinea(xs, ys, count);
  for (int16_t i = 0; i < count; ++i) gicono(n, xs[i], ys[i]);
}

CX_EXPORT(void) simbdisplay(int32_t, int32_t colour) {
  cx::EstadoGrafico& g = estado_grafico();
  gdcolor(colour);
  gdmundo(0, 0, 0, 4000, 2000);
  gdtransf(0);
  gdeor(0);
  g.text_sizes[1] = 70.0;
  gdtextam(1);
  gdicoesc(160.0);
  const int n = static_cast<int>(cx::tablas_vectoriales().icons.size());
  for (int i = 1; i <= n; ++i) {
    const double x0 = 400.0 * ((i - 1) % 9) + 10, y0 = 220.0 * ((i - 1) / 9) + 220;
    gtexto(x0, y0 + 180, cx::tablas_vectoriales().icons[i - 1].name);
    gicono(static_cast<int16_t>(i), x0 + 100, y0 + 100);
  }
}
