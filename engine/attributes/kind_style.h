// The drawing state of an object's kind, and the labels drawn for objects:
// the code or street address (veacod) and the attribute labels.
#pragma once

#include <cstdint>
#include <string>

#include "cartex32.h"

namespace cx::atr {

// Set the graphics kernel's state from kind k's record: colour and hatch
// (scolor), line type and width (slinea), text font and size (stexto).
// false, after the session's message, for a kind outside the table.
bool ponga_color(int kind);
bool ponga_linea(int kind);
bool ponga_texto(int kind);
// The same from a kind record at hand: the drawers use these with record 0
// for a kind outside the table, or with a copy whose colour is replaced.
void aplique_color(const cx_kind& kind);
void aplique_linea(const cx_kind& kind);
void aplique_texto(const cx_kind& kind);

// Where label texts go: by default the text kernel (gtexto at the label's
// angle, in the current font and size), whose current text height in world
// units altura_texto gives. A caller may put its own drawing in place (an
// empty one restores the text kernel's); angles are in degrees.
struct DibujoRotulos {
  void (*dibuje)(double x, double y, double angle, const char* text) = nullptr;
  double (*altura)() = nullptr;
};
void fije_dibujo_rotulos(const DibujoRotulos& drawing);
void dibuje_rotulo(double x, double y, double angle, const char* text);
double altura_texto();

// The label of a 10-byte code: the street address of kinds with address
// codes, else the code's text; trailing blanks removed.
std::string texto_codigo(const unsigned char* code, bool address);

}  // namespace cx::atr
