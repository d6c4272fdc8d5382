// Map text: the settings of the graphics state that text is drawn with,
// the font of map labels drawn through the device and the stroke font drawn
// as polylines, and the point symbols that share their rotation.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device.h"

namespace cx {

// The seven face names a font index chooses from.
inline constexpr const char* kCarasTexto[7] = {
    "Arial", "Courier New", "Roman", "Times New Roman", "MS Sans Serif", "Ms Serif", "Modern"};

// The angle in tenths of a degree; the slant n (|n| mod 20, italic when
// non-zero); the font index n mod 7.
void angulo_texto_decimas(int32_t tenths);
void inclinacion_texto(int32_t n);
void fuente_texto(int32_t n);

// The text settings of an object kind: its style (taken modulo 7 as the
// font) and its size index, or when that is 0 its text scale in tenths, or
// when that is 0 too the layer's size index (1 when that is 0 as well).
// Returns the size index in force afterwards. The attribute bases' stexto
// reads these bytes from the kind record and calls this.
int16_t aplique_texto_de_clase(int32_t style, int32_t size_index, int32_t scale_tenths,
                               int32_t layer_size_index);

// How text of t device pixels is drawn: nothing below 0.5 or above 400 (or
// for a size that is no number), a dotted line below 1, else letters of
// font height truncate(1.2 t). With t = 0 (a zero scale) letters of a
// height fixed by the size index.
struct TamanoTexto {
  enum Kind { none, dotted, letters } kind = none;
  int32_t height = 0;
};
TamanoTexto tamano_texto(double t, int size_index);

// The device direction of the text angle: counter-clockwise on the screen
// while the y-direction flag is non-zero (world y up), as the icons turn.
void direccion_texto(double& dx, double& dy);

// Text at a device point in the map font, or in the stroke font; both
// return the font height, 0 when nothing was drawn.
int16_t texto_gdi(int32_t X, int32_t Y, const char* text);
int16_t texto_vectorial(int32_t X, int32_t Y, const char* text);

// Icon n (1..count of the table) at a world point; other numbers draw
// nothing.
void dibuje_icono(int n, double x, double y);

// Text (gtexto), or icon n (gicono), at a world point turned by `tenths`
// of a degree: the text angle, which turns both, is put back afterwards.
// The result of gtexto or gicono.
int16_t texto_girado(double x, double y, int32_t tenths, const char* text);
int16_t icono_girado(int n, double x, double y, int32_t tenths);

// A turn by the fixed-point sine and cosine s and c (2^23 for a full
// scale) in 64-bit products, so that large text and icons cannot overflow.
void rote_fijo(int64_t x, int64_t y, int64_t s, int64_t c, int64_t& xr, int64_t& yr);

}  // namespace cx
