// The drawing attributes of the graphics state: the palette of 256 colour
// values with the current colour index, the line type and width and the pen
// built from them, and the exclusive-or mode.
#pragma once

#include <cstdint>

#include "platform/device.h"

namespace cx {

// The default palette, 0x00BBGGRR: 0..15 the sixteen basic colours (white,
// navy, green, teal, maroon, purple, olive, light grey, grey, blue, lime,
// cyan, red, magenta, yellow, black), then fifteen rows of fifteen hues at
// one lightness and a grey, from pale to dark.
void paleta_inicial(Colorref* palette);

// Colour indices and line types are reduced into their tables: an index
// modulo 256, a type modulo 10, both as mathematical remainders (never
// negative).
int32_t indice_color(int32_t colour);
int tipo_linea(int type);

// Rebuilds the pen from the colour index, line type and width and selects
// it into the bound device; refreshes the current colour value.
void seleccione_pluma();

// The dash pattern of a line type for wide pens: on and off lengths in
// units of the width, starting with on; count 0 for a plain line.
struct DashPattern {
  int entries[6];
  int count;
};
const DashPattern& patron_linea(int type);

}  // namespace cx
