// The stroke font and the icon table that ginicie loads: each character a
// polyline of up to 20 points, each icon up to two outlines of up to 49
// points. Drawing them belongs to text and symbols; this is their loading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cx {

struct CaracterVectorial {
  int16_t count = 0;  // 0..20
  int16_t x[20] = {}, y[20] = {};
};

struct ContornoIcono {
  bool filled = false;
  int16_t count = 0;  // 0..49
  int16_t x[50] = {}, y[50] = {};
};

struct Icono {
  char name[30] = {};
  uint8_t description[64] = {};
  ContornoIcono a, b;
};

struct TablasVectoriales {
  CaracterVectorial font[128];
  std::vector<Icono> icons;  // icon i is icons[i - 1]; icon 0 is empty
};

TablasVectoriales& tablas_vectoriales();

// A file of the library's data folder: $CARTEX32_DATA_DIR/name when the
// variable is set, else the installed data folder (on Windows
// "\\cartex\\name", as bases there expect).
std::string ruta_datos(const char* name);
// The stroke font file, tabtvec.dat of the data folder.
std::string ruta_fuente_vectorial();

// Clears the font and fills it from `font_path`, clamping each character's
// point count; loads the icons from the base's `icon_path`, or when that
// cannot be opened from the data folder's file of that name. A file that
// cannot be opened or is short leaves its table zeroed or empty, silently.
// Names are matched without regard to letter case.
void cargue_tablas_vectoriales(const std::string& font_path, const char* icon_path);
void libere_iconos();

}  // namespace cx
