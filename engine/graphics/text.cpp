// Text settings, map text in the device's fonts and in the stroke font,
// extents and the status lines.
#include "graphics/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "cartex32.h"
#include "graphics/drawing.h"
#include "graphics/geometry.h"
#include "graphics/graphics_state.h"
#include "graphics/vector_tables.h"

namespace cx {

namespace {

constexpr double kTenthsPerRadian = 572.9577951308232;

// Font B, the map font: its description persists from text to text.
FontSpec& font_b() {
  static FontSpec f{15, 400, false, 0, "", 0x22};
  return f;
}

// Font A, the status lines'.
const FontSpec kFontA{15, 700, false, 0, "", 0x12};

int32_t trunc32(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

int16_t clamp16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int32_t clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Rounded to the nearest tenth: a turn given in tenths (450) comes back as
// that number, not one less from the last bit of the product.
int32_t escapement(double angle) {
  return trunc32(std::round(angle * kTenthsPerRadian));
}

double size_pixels() {
  const EstadoGrafico& g = estado_grafico();
  return g.text_sizes[g.text_size] * g.sx;
}

// A dotted line of `length` pixels from (X, Y) along the text direction,
// the line type put back after.
void dotted(int32_t X, int32_t Y, double length) {
  double dx, dy;
  direccion_texto(dx, dy);
  const int16_t previous = galintip();
  gdlintip(2);
  linea_dispositivo(X, Y, trunc32(X + length * dx), trunc32(Y + length * dy));
  gdlintip(previous);
}

Colorref text_colour() {
  const EstadoGrafico& g = estado_grafico();
  return g.black_text ? 0 : g.palette[g.colour_index];
}

void write_extent(DevicePoint e, int16_t* width, int16_t* height) {
  if (width) *width = clamp16(e.x);
  if (height) *height = clamp16(e.y);
}

}  // namespace

void angulo_texto_decimas(int32_t tenths) {
  gdtexang(tenths / kTenthsPerRadian);
}

void inclinacion_texto(int32_t n) {
  EstadoGrafico& g = estado_grafico();
  n = static_cast<int32_t>(std::abs(int64_t{n}) % 20);
  g.text_slant = n;
  g.text_shear = n ? std::trunc(seno_decimas(n * 10) * 256) : 0;
}

void fuente_texto(int32_t n) {
  estado_grafico().font_index = static_cast<int16_t>(((n % 7) + 7) % 7);
}

int16_t aplique_texto_de_clase(int32_t style, int32_t size_index, int32_t scale_tenths,
                               int32_t layer_size_index) {
  fuente_texto(style);
  if (size_index != 0) return gdtextam(static_cast<int16_t>(size_index));
  if (scale_tenths != 0) {
    // Row 0 holds the last size set: drawing then reads it.
    gdtxtesc(scale_tenths / 10.0);
    return gdtextam(0);
  }
  return gdtextam(static_cast<int16_t>(layer_size_index ? layer_size_index : 1));
}

TamanoTexto tamano_texto(double t, int size_index) {
  if (t == 0) {
    static constexpr int32_t kFixed[5] = {9, 9, 12, 20, 30};
    return {TamanoTexto::letters, size_index >= 0 && size_index < 5 ? kFixed[size_index] : 12};
  }
  if (!(t >= 0.5 && t <= 400)) return {};
  if (t < 1) return {TamanoTexto::dotted, 0};
  // 1.2 t as t x 12 / 10: 1.2 has no exact binary value, and an extended
  // precision product (x87) would truncate 10 x 1.2 to 11.
  return {TamanoTexto::letters, static_cast<int32_t>(t * 12 / 10)};
}

void direccion_texto(double& dx, double& dy) {
  const EstadoGrafico& g = estado_grafico();
  dx = g.text_cos;
  dy = g.y_up ? -g.text_sin : g.text_sin;
}

void rote_fijo(int64_t x, int64_t y, int64_t s, int64_t c, int64_t& xr, int64_t& yr) {
  xr = ((c * x) >> 23) - ((s * y) >> 23);
  yr = ((c * y) >> 23) + ((s * x) >> 23);
}

int16_t texto_gdi(int32_t X, int32_t Y, const char* text) {
  EstadoGrafico& g = estado_grafico();
  Device* d = dispositivo_actual();
  if (!d || !text) return 0;
  const double t = size_pixels();
  const TamanoTexto size = tamano_texto(t, g.text_size);
  if (size.kind == TamanoTexto::none) return 0;
  if (size.kind == TamanoTexto::dotted) {
    dotted(X, Y, std::strlen(text) * t);
    return 0;
  }
  FontSpec& f = font_b();
  f.height = size.height;
  f.weight = 400;
  f.italic = g.text_slant != 0;
  f.escapement = escapement(g.text_angle);
  f.face = kCarasTexto[g.font_index];
  // The cell's top-left corner 0.3 height above the point along the text's
  // up direction.
  double ox, oy;
  grota(0, -0.3 * size.height, -g.text_sin, g.text_cos, &ox, &oy);
  d->text_out({clamp32(int64_t{X} + trunc32(ox)), clamp32(int64_t{Y} + trunc32(oy))}, text, f,
              {text_colour(), false, 0xFFFFFF});
  return clamp16(size.height);
}

int16_t texto_vectorial(int32_t X, int32_t Y, const char* text) {
  EstadoGrafico& g = estado_grafico();
  Device* d = dispositivo_actual();
  if (!d || !text) return 0;
  const double t = size_pixels();
  if (!(t >= 0.5 && t <= 400)) return 0;
  g.text_scale = static_cast<int32_t>(t * 256);
  double dx, dy;
  direccion_texto(dx, dy);
  // Letters advance 0.8 of their height along the text direction.
  const double ax = 0.8 * t * dx, ay = 0.8 * t * dy;
  const std::size_t length = std::strlen(text);
  if (t < 3) {
    const int16_t previous = galintip();
    gdlintip(2);
    linea_dispositivo(X, Y, trunc32(X + length * ax), trunc32(Y + length * ay));
    gdlintip(previous);
    return 0;
  }
  const int16_t previous = galintip();
  gdlintip(1);
  const int64_t scale = g.text_scale;
  const int64_t S = static_cast<int64_t>(scale * dy * 32),
                C = static_cast<int64_t>(scale * dx * 32);
  const bool turned = std::abs(g.text_angle) >= 0.05;
  const int64_t shear = static_cast<int64_t>(g.text_shear);
  DevicePoint points[20];
  for (std::size_t i = 0; i < length; ++i) {
    const CaracterVectorial& ch =
        tablas_vectoriales().font[static_cast<unsigned char>(text[i]) % 128];
    const int64_t px = trunc32(X + i * ax), py = trunc32(Y + i * ay);
    for (int k = 0; k < ch.count; ++k) {
      const int64_t x = g.text_slant != 0 ? ch.x[k] - ((ch.y[k] * shear) >> 8) : ch.x[k];
      int64_t rx = (x * scale) >> 18, ry = (int64_t{ch.y[k]} * scale) >> 18;
      if (turned) rote_fijo(x, ch.y[k], S, C, rx, ry);
      points[k] = {clamp32(px + rx), clamp32(py + ry)};
    }
    if (ch.count >= 2) d->polyline(points, ch.count);
  }
  gdlintip(previous);
  return clamp16(static_cast<int64_t>(t * 12 / 10));
}

int16_t texto_girado(double x, double y, int32_t tenths, const char* text) {
  const double previous = estado_grafico().text_angle;
  angulo_texto_decimas(tenths);
  const int16_t height = gtexto(x, y, text);
  gdtexang(previous);
  return height;
}

int16_t icono_girado(int n, double x, double y, int32_t tenths) {
  const double previous = estado_grafico().text_angle;
  angulo_texto_decimas(tenths);
  const int16_t drawn = gicono(static_cast<int16_t>(std::clamp(n, -1, 32767)), x, y);
  gdtexang(previous);
  return drawn;
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(int16_t) gdtextam(int16_t index) {
  const int16_t i = static_cast<int16_t>(((index % 10) + 10) % 10);
  estado_grafico().text_size = i;
  gdtxtesc(estado_grafico().text_sizes[i]);
  return i;
}

CX_EXPORT(int16_t) gatextam(void) {
  return estado_grafico().text_size;
}

CX_EXPORT(void) gdtxtesc(double size) {
  cx::EstadoGrafico& g = estado_grafico();
  g.text_scale = cx::trunc32(size * 256);
  g.text_sizes[0] = size;
}

CX_EXPORT(void) gdtexang(double angle) {
  cx::EstadoGrafico& g = estado_grafico();
  g.text_angle = angle;
  g.text_sin = std::sin(angle);
  g.text_cos = std::cos(angle);
}

CX_EXPORT(int16_t) gdtxtvect(int16_t flag) {
  return estado_grafico().vector_text = flag;
}

CX_EXPORT(int16_t) gatxtvect(void) {
  return estado_grafico().vector_text;
}

CX_EXPORT(int16_t) gdtexto_negro(int16_t flag) {
  return estado_grafico().black_text = flag;
}

CX_EXPORT(int16_t) gatexto_negro(void) {
  return estado_grafico().black_text;
}

CX_EXPORT(int16_t) gtexto(double x, double y, const char* text) {
  if (!text) return 0;
  const int32_t X = cx::gxdev_de(x), Y = cx::gydev_de(y);
  return estado_grafico().vector_text ? cx::texto_vectorial(X, Y, text) : cx::texto_gdi(X, Y, text);
}

CX_EXPORT(int16_t)
gsuper_texto(double x, double y, double angle, double size, int32_t colour, int16_t bold,
             int16_t italic, const char* face, const char* text) {
  cx::Device* d = cx::dispositivo_actual();
  if (!d || !text) return 0;
  const int32_t X = cx::gxdev_de(x), Y = cx::gydev_de(y);
  if (X < -32000 || X > 32000 || Y < -32000 || Y > 32000) return 0;
  const double t = size * estado_grafico().sx;
  const cx::TamanoTexto s = cx::tamano_texto(t, estado_grafico().text_size);
  if (s.kind == cx::TamanoTexto::none) return 0;
  if (s.kind == cx::TamanoTexto::dotted) {
    cx::dotted(X, Y, std::strlen(text) * t);
    return 0;
  }
  cx::FontSpec& f = cx::font_b();
  f = cx::FontSpec{s.height,
                   bold ? 700 : 400,
                   italic != 0,
                   cx::escapement(angle),
                   face ? std::string(face).substr(0, 31) : std::string(),
                   0};
  d->text_out({X, Y}, text, f, {static_cast<cx::Colorref>(colour), false, 0xFFFFFF});
  return cx::clamp16(s.height);
}

CX_EXPORT(void) gatext_extent(const char* text, int16_t* width, int16_t* height) {
  cx::Device* d = cx::dispositivo_actual();
  cx::write_extent({0, 0}, width, height);
  if (!d || !text) return;
  const double t = cx::size_pixels();
  const cx::TamanoTexto s = cx::tamano_texto(t, estado_grafico().text_size);
  if (s.kind == cx::TamanoTexto::dotted)
    cx::write_extent({cx::trunc32(std::strlen(text) * t), 0}, width, height);
  if (s.kind != cx::TamanoTexto::letters) return;
  cx::FontSpec f = cx::font_b();
  f.height = s.height;
  f.escapement = 0;
  f.face = cx::kCarasTexto[estado_grafico().font_index];
  cx::write_extent(d->text_extent(text, f), width, height);
}

CX_EXPORT(void)
gasuper_extent(const char* text, double size, int16_t bold, int16_t italic, const char* face,
               int16_t* width, int16_t* height) {
  cx::Device* d = cx::dispositivo_actual();
  cx::write_extent({0, 0}, width, height);
  if (!d || !text) return;
  const double t = size * estado_grafico().sx;
  const cx::TamanoTexto s = cx::tamano_texto(t, estado_grafico().text_size);
  if (s.kind == cx::TamanoTexto::dotted)
    cx::write_extent({cx::trunc32(std::strlen(text) * t), 0}, width, height);
  if (s.kind != cx::TamanoTexto::letters) return;
  const cx::FontSpec f{s.height,
                       bold ? 700 : 400,
                       italic != 0,
                       0,
                       face ? std::string(face).substr(0, 31) : std::string(),
                       0};
  cx::write_extent(d->text_extent(text, f), width, height);
}

CX_EXPORT(void) text(int16_t column, int16_t, int32_t colour, const char* s) {
  cx::EstadoGrafico& g = estado_grafico();
  cx::Device* d = cx::dispositivo_actual();
  if (!d || !s) return;
  g.status_line = static_cast<int16_t>((g.status_line + 1) % 30);
  d->text_out({column * 10, g.status_line * 12}, s, cx::kFontA,
              {static_cast<cx::Colorref>(colour), true, 0xFFFFFF});
}
