// The drawing state of an object's kind, and the labels drawn for objects:
// the code or street address (veacod) and the attribute labels.
#pragma once

#include <cstdint>
#include <string>

#include "cartex32.h"

namespace cx::atr {

// Set the graphics kernel's state from kind k's record: colour and hatch
// (scolor), line type and width (slinea), text style and size (stexto).
// false, after the session's message, for a kind outside the table.
bool ponga_color(int kind);
bool ponga_linea(int kind);
bool ponga_texto(int kind);
// The text style stexto chose last (byte 65 of the kind record).
int estilo_texto();

// Where label texts go. The text kernel installs its drawing and its
// current text height in world units; until then no text is drawn and the
// height is the base size (parameter 1) times the text size.
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
