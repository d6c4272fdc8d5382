// The palette, the pen and the attribute exports.
#include "graphics/palette.h"

#include <algorithm>

#include "cartex32.h"
#include "graphics/graphics_state.h"

namespace cx {

namespace {

// One row of 16 colours in two lines.
// clang-format off
constexpr Colorref kDefaultPalette[256] = {
    /*   0 */ 0xFFFFFF, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xA4A0A0,
              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x000000,
    /*  16 */ 0xE8D0FF, 0xFFD0FF, 0xFFD0E8, 0xFFD0D0, 0xFFE0D0, 0xFFF0D0, 0xFFFFD0, 0xE8FFD0,
              0xD0FFD0, 0xD0FFED, 0xD0FFFF, 0xD0F4FF, 0xD0E8FF, 0xD0DCFF, 0xFFFFFF, 0xFFFFFF,
    /*  32 */ 0xD8B0FF, 0xFFB0FF, 0xFFB0D8, 0xFFC0C0, 0xFFD5C0, 0xFFE5B0, 0xFFFFB0, 0xD8FFB0,
              0xB0FFB0, 0xB0FFE0, 0xB0FFFF, 0xB0ECFF, 0xB0D8FF, 0xB0C4FF, 0xB0B0FF, 0xE0E0E0,
    /*  48 */ 0xD0A0FF, 0xFFA0FF, 0xFFA0D0, 0xFFA0A0, 0xFFC0A0, 0xFFE0A0, 0xFFFFA0, 0xD0FFA0,
              0xA0FFA0, 0x90FFD3, 0x90FFFF, 0x90E4FF, 0xA0D0FF, 0xA0B8FF, 0xA0A0FF, 0xD0D0D0,
    /*  64 */ 0xC890FF, 0xFF80FF, 0xFF90C8, 0xFF9090, 0xFFB590, 0xFFDB90, 0xFFFF80, 0xC8FF90,
              0x90FF90, 0x80FFCD, 0x70FFFF, 0x70DCFF, 0x80C0FF, 0x80A0FF, 0x9090FF, 0xC0C0C0,
    /*  80 */ 0xC080FF, 0xFF70FF, 0xFF80C0, 0xFF8080, 0xFFAB80, 0xFFD580, 0xFFFF70, 0xB8FF70,
              0x70FF70, 0x60FFC0, 0x40FFFF, 0x60D8FF, 0x60B0FF, 0x7094FF, 0x8080FF, 0xB0B0B0,
    /*  96 */ 0xB060FF, 0xFF50FF, 0xFF60B0, 0xFF7070, 0xFFA070, 0xFFCB60, 0xFFFF50, 0xB0FF60,
              0x60FF60, 0x40FFB3, 0x00FFFF, 0x40D0FF, 0x50A8FF, 0x507CFF, 0x6060FF, 0xA0A0A0,
    /* 112 */ 0xA850FF, 0xFF40FF, 0xFF50A8, 0xFF6060, 0xFF8B50, 0xFFC550, 0xFFFF00, 0xA8FF50,
              0x50FF50, 0x00FF9A, 0x00F0F0, 0x00C0FF, 0x3098FF, 0x4070FF, 0x5050FF, 0x909090,
    /* 128 */ 0xA040FF, 0xFF20FF, 0xFF40A0, 0xFF5050, 0xFF8040, 0xFFC040, 0xF0F000, 0x80FF00,
              0x00FF00, 0x00F090, 0x00E0E0, 0x00B4F0, 0x0080FF, 0x2058FF, 0x4040FF, 0x707070,
    /* 144 */ 0x9020FF, 0xFF00FF, 0xFF2090, 0xFF3030, 0xFF7530, 0xFFAB00, 0xD0D000, 0x70E000,
              0x00E000, 0x00D07D, 0x00C0C0, 0x009CD0, 0x0070E0, 0x0040FF, 0x2020FF, 0x606060,
    /* 160 */ 0x8000FF, 0xE000E0, 0xFF0080, 0xFF2020, 0xFF5500, 0xE09500, 0xC0C000, 0x68D000,
              0x00D000, 0x00C073, 0x00B0B0, 0x0090C0, 0x0068D0, 0x0038E0, 0x0000FF, 0x505050,
    /* 176 */ 0x7000E0, 0xC000C0, 0xE00070, 0xFF0000, 0xE04B00, 0xC08000, 0xA0A000, 0x58B000,
              0x00B000, 0x00A060, 0x00A0A0, 0x0078A0, 0x0058B0, 0x0030C0, 0x0000E0, 0x404040,
    /* 192 */ 0x6000C0, 0xA000A0, 0xC00060, 0xD00000, 0xC04000, 0xA06B00, 0x909000, 0x50A000,
              0x00A000, 0x009056, 0x009090, 0x006C90, 0x0050A0, 0x0028A0, 0x0000C0, 0x303030,
    /* 208 */ 0x480090, 0x900090, 0x900048, 0xA00000, 0x903000, 0x906000, 0x808000, 0x408000,
              0x008000, 0x00804D, 0x007070, 0x006080, 0x004080, 0x002490, 0x000090, 0x202020,
    /* 224 */ 0x380070, 0x700070, 0x700038, 0x800000, 0x702500, 0x704B00, 0x606000, 0x306000,
              0x006000, 0x00603A, 0x006060, 0x004860, 0x003060, 0x001C70, 0x000070, 0x101010,
    /* 240 */ 0x280050, 0x500050, 0x500028, 0x500000, 0x501B00, 0x503500, 0x505000, 0x285000,
              0x005000, 0x005030, 0x005050, 0x003C50, 0x002850, 0x001450, 0x000050, 0x000000,
};
// clang-format on

constexpr PenStyle kPenStyles[10] = {
    PenStyle::solid,        PenStyle::solid, PenStyle::dot, PenStyle::dash, PenStyle::dash_dot,
    PenStyle::dash_dot_dot, PenStyle::solid, PenStyle::dot, PenStyle::dash, PenStyle::dash_dot};

constexpr DashPattern kPatterns[10] = {
    {{}, 0},
    {{1, 0}, 2},
    {{1, 1, 1, 1, 1, 1}, 6},
    {{2, 1, 2, 1, 2, 1}, 6},
    {{4, 1, 4, 1, 4, 1}, 6},
    {{3, 1, 1, 1}, 4},
    {{3, 1, 1, 1, 1, 1}, 6},
    {{4, 1, 2, 1}, 4},
    {{4, 1, 1, 1, 2, 1}, 6},
    {{4, 1, 2, 1, 2, 1}, 6},
};

}  // namespace

void paleta_inicial(Colorref* palette) {
  std::copy(std::begin(kDefaultPalette), std::end(kDefaultPalette), palette);
}

int32_t indice_color(int32_t colour) {
  const int32_t r = colour % 256;
  return r < 0 ? r + 256 : r;
}

int tipo_linea(int type) {
  const int r = type % 10;
  return r < 0 ? r + 10 : r;
}

const DashPattern& patron_linea(int type) {
  return kPatterns[tipo_linea(type)];
}

void seleccione_pluma() {
  EstadoGrafico& g = estado_grafico();
  Device* d = dispositivo_actual();
  // A device bound without gabrest has not been asked for its colours yet.
  int32_t colours = g.number_of_colours;
  if (colours == 0 && d) colours = d->number_of_colours() < 1 ? 255 : d->number_of_colours();
  g.colour_value = colours > 2 ? g.palette[g.colour_index] : 0;
  if (!d) return;
  int32_t width = std::max<int32_t>(g.line_width, 1);
  if (d->technology() != kTechnologyRasterDisplay && width >= 2) width *= 2;
  d->select_pen({kPenStyles[tipo_linea(g.line_type)], width, g.colour_value});
}

}  // namespace cx

using cx::estado_grafico;

CX_EXPORT(int16_t) gdcolor(int32_t colour) {
  cx::EstadoGrafico& g = estado_grafico();
  const int32_t index = cx::indice_color(colour);
  if (index != g.colour_index) {
    g.colour_index = index;
    cx::seleccione_pluma();
  }
  return static_cast<int16_t>(index);
}

CX_EXPORT(int16_t) gsetcolor(int16_t index, int32_t colour) {
  estado_grafico().palette[cx::indice_color(index)] = static_cast<cx::Colorref>(colour);
  return 0;
}

CX_EXPORT(int32_t) ggetcolor(int16_t index) {
  return static_cast<int32_t>(estado_grafico().palette[cx::indice_color(index)]);
}

CX_EXPORT(int32_t) gacolor(void) {
  return estado_grafico().colour_index;
}

CX_EXPORT(void) getRGB(int32_t colour, int16_t* red, int16_t* green, int16_t* blue) {
  if (red) *red = colour & 0xFF;
  if (green) *green = (colour >> 8) & 0xFF;
  if (blue) *blue = (colour >> 16) & 0xFF;
}

CX_EXPORT(int16_t) gdlintip(int16_t type) {
  cx::EstadoGrafico& g = estado_grafico();
  const bool changed = cx::tipo_linea(type) != cx::tipo_linea(g.line_type);
  g.line_type = type;
  if (changed) cx::seleccione_pluma();
  return type;
}

CX_EXPORT(int16_t) galintip(void) {
  return estado_grafico().line_type;
}

CX_EXPORT(int16_t) gdlinanch(int16_t width) {
  cx::EstadoGrafico& g = estado_grafico();
  if (width < 1) width = 1;
  if (width != g.line_width) {
    g.line_width = width;
    cx::seleccione_pluma();
  }
  return width;
}

CX_EXPORT(int16_t) gdeor(int16_t on) {
  cx::EstadoGrafico& g = estado_grafico();
  g.eor = on ? 0x80 : 0;
  if (cx::Device* d = cx::dispositivo_actual())
    d->set_raster_op(on ? cx::RasterOp::xor_pen : cx::RasterOp::copy);
  return on;
}

CX_EXPORT(int32_t) gaeor(void) {
  return estado_grafico().eor == 0x80 ? 1 : 0;
}

CX_EXPORT(void) gdcurcol(int16_t colour) {
  estado_grafico().cursor_colour = colour;
}

CX_EXPORT(int16_t) gacurcol(void) {
  return estado_grafico().cursor_colour;
}
