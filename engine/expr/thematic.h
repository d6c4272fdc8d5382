// The thematic query of the session: the classes (the session's legend
// slots: slot i holds class i's lower limit, its five attributes and its
// label), the titles, and the legend drawn from them. The formulas are
// set_formulas' two texts; the legend box is the session's legend
// placement.
#pragma once

#include <cstdint>
#include <string>

namespace cx {

inline constexpr int kClases = 16;
inline constexpr int kTitulos = 10;
inline constexpr int kTituloTexto = 80;  // bytes of a title's text, its NUL included

struct Titulo {
  double x = 0, y = 0, size = 0;
  int16_t a = 0, b = 0;
  char text[kTituloTexto] = {};
};

struct EstadoTematico {
  int16_t class_count = 0;  // the classes of the last legend drawn
  Titulo titles[kTitulos];
};

EstadoTematico& estado_tematico();

// The legend line of class i of n: its stored label without trailing
// blanks, or when that is empty the range its limits bound ("HASTA x",
// "x A y", "MAS DE y", each number left-aligned in 9 columns with two
// decimals).
std::string etiqueta_de_clase(int i, int n);

// The class attribute e that chooses a legend sample.
enum MuestraClase : int16_t { kMuestraAchurada = 0, kMuestraLinea = 1, kMuestraIcono = 2 };

}  // namespace cx
