// Loading the stroke font and the icon file, field by field, little-endian.
#include "graphics/vector_tables.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

#ifndef CARTEX32_DATA_DIR
#define CARTEX32_DATA_DIR "."
#endif

namespace cx {

namespace {

constexpr int kCharSize = 82;
constexpr int kIconSize = 531;

int16_t le16(const uint8_t* p) {
  return static_cast<int16_t>(p[0] | (p[1] << 8));
}

// A whole file through the file layer; empty when it cannot be opened.
std::vector<uint8_t> read_all(const std::string& path) {
  std::vector<uint8_t> data;
  Files& f = files();
  const int h = f.open_shared(path.c_str());
  if (h < 0) return data;
  const int64_t length = f.length(h);
  if (length > 0) {
    data.resize(static_cast<std::size_t>(length));
    const int64_t got = f.read_at(h, 0, data.data(), data.size());
    data.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  f.close(h);
  return data;
}

void read_outline(const uint8_t* p, uint8_t fill, ContornoIcono& out) {
  out.filled = fill != 0;
  out.count = std::clamp<int16_t>(le16(p), 0, 49);
  for (int i = 0; i < 50; ++i) {
    out.x[i] = static_cast<int16_t>(le16(p + 2 + 2 * i) - 500);
    out.y[i] = static_cast<int16_t>(le16(p + 102 + 2 * i) - 500);
  }
}

}  // namespace

TablasVectoriales& tablas_vectoriales() {
  static TablasVectoriales tables;
  return tables;
}

std::string ruta_datos(const char* name) {
  if (const char* dir = std::getenv("CARTEX32_DATA_DIR"); dir && *dir)
    return std::string(dir) + "/" + name;
#if defined(_WIN32)
  return std::string("\\cartex\\") + name;
#else
  return std::string(CARTEX32_DATA_DIR "/") + name;
#endif
}

std::string ruta_fuente_vectorial() {
  return ruta_datos("tabtvec.dat");
}

void cargue_tablas_vectoriales(const std::string& font_path, const char* icon_path) {
  TablasVectoriales& t = tablas_vectoriales();
  for (CaracterVectorial& c : t.font) c = CaracterVectorial{};
  const std::vector<uint8_t> font = read_all(font_path);
  for (std::size_t k = 0; k < 128 && (k + 1) * kCharSize <= font.size(); ++k) {
    const uint8_t* p = font.data() + k * kCharSize;
    CaracterVectorial& c = t.font[k];
    c.count = std::clamp<int16_t>(le16(p), 0, 20);
    for (int i = 0; i < 20; ++i) {
      c.x[i] = le16(p + 2 + 2 * i);
      c.y[i] = le16(p + 42 + 2 * i);
    }
  }

  libere_iconos();
  std::vector<uint8_t> icons = read_all(resolve_path(icon_path));
  if (icons.empty() && icon_path) icons = read_all(ruta_datos(icon_path));
  for (std::size_t r = 1; (r + 1) * kIconSize <= icons.size(); ++r) {
    const uint8_t* p = icons.data() + r * kIconSize;
    Icono& icon = t.icons.emplace_back();
    std::memcpy(icon.name, p, 29);
    std::memcpy(icon.description, p + 63, 64);
    read_outline(p + 127, p[29], icon.a);
    read_outline(p + 329, p[30], icon.b);
  }
}

void libere_iconos() {
  std::vector<Icono>().swap(tablas_vectoriales().icons);
}

}  // namespace cx
