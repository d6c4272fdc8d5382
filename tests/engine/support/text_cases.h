// Text drawn through the exports on a bound device and measured two ways:
// by the extent the library reports and by the box of the pixels the
// letters ink. Letters are not compared pixel for pixel (each platform
// hints and smooths its glyphs its own way); their boxes are. GDI's
// measures under Wine are kept in tests/engine/data/gdi_text_record.txt,
// which the Windows suite checks against GDI and the Linux suite holds the
// raster device to.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cartex32.h"
#include "graphics/text.h"

namespace cx::text_cases {

inline constexpr int kWidth = 200, kHeight = 120;

struct Case {
  const char* name;
  bool map_text;  // gtexto in font index `face`; else gsuper_texto in the face named
  int face;
  double size, angle;  // world units (= pixels here), radians
  int16_t bold, italic;
  const char* text;
};

// clang-format off
inline const Case kCases[] = {
    {"map_arial_10",        true,  0, 10, 0, 0, 0, "Hello map"},
    {"map_courier_15",      true,  1, 15, 0, 0, 0, "Route 66"},
    {"map_times_20",        true,  3, 20, 0, 0, 0, "Harbour"},
    {"map_sans_8",          true,  4,  8, 0, 0, 0, "small print, 123"},
    {"map_serif_12_30deg",  true,  5, 12, 0.5235987755982988, 0, 0, "Slanted"},
    {"map_roman_14",        true,  2, 14, 0, 0, 0, "Castle"},
    {"map_modern_italic",   true,  6, 16, 0, 0, 1, "Marsh"},
    {"super_arial_bold_18", false, 0, 18, 0, 1, 0, "Rivers"},
    {"super_times_italic",  false, 3, 16, 0, 0, 1, "Old Town"},
    {"super_courier_90deg", false, 1, 14, 1.5707963267948966, 0, 0, "North"},
    {"super_arial_25",      false, 0, 25, 0, 0, 0, "Wag"},
};
// clang-format on

inline const char* const kFaces[] = {"Arial",         "Courier New", "Roman", "Times New Roman",
                                     "MS Sans Serif", "Ms Serif",    "Modern"};

// The extent and the box of inked pixels (right and bottom outside it;
// all 0 when nothing was inked).
struct Measure {
  int extent_w = 0, extent_h = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Measure&) const = default;
};

// Draws the case in black on the bound device `handle` (kWidth x kHeight,
// white) at (40, 60) and measures it.
inline Measure measure(int32_t handle, const Case& c) {
  gabrest(0, 0, kWidth, kHeight, handle);
  gdeor(0);
  gdtxtvect(0);
  gdcolor(15);
  int16_t w = 0, h = 0;
  if (c.map_text) {
    fuente_texto(c.face);
    inclinacion_texto(c.italic ? 5 : 0);
    gdtxtesc(c.size);
    gdtextam(0);  // the size just set
    gdtexang(c.angle);
    gtexto(40, 60, c.text);
    gatext_extent(c.text, &w, &h);
    gdtexang(0);
  } else {
    gsuper_texto(40, 60, c.angle, c.size, 0, c.bold, c.italic, kFaces[c.face], c.text);
    gasuper_extent(c.text, c.size, c.bold, c.italic, kFaces[c.face], &w, &h);
  }
  std::vector<uint8_t> rgbx(std::size_t(kWidth) * kHeight * 4);
  copiar_pixeles(handle, rgbx.data());
  Measure m{w, h, kWidth, kHeight, -1, -1};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = &rgbx[(std::size_t(y) * kWidth + x) * 4];
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      m.left = std::min(m.left, x);
      m.top = std::min(m.top, y);
      m.right = std::max(m.right, x + 1);
      m.bottom = std::max(m.bottom, y + 1);
    }
  }
  if (m.right < 0) m.left = m.top = m.right = m.bottom = 0;
  return m;
}

// The record: one line a case, its name and the six numbers.
inline std::map<std::string, Measure> read_record(const std::string& path) {
  std::map<std::string, Measure> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    Measure m;
    if (line.empty() || line[0] == '#') continue;
    if (fields >> name >> m.extent_w >> m.extent_h >> m.left >> m.top >> m.right >> m.bottom)
      out[name] = m;
  }
  return out;
}

inline std::string record_line(const std::string& name, const Measure& m) {
  std::ostringstream out;
  out << name << ' ' << m.extent_w << ' ' << m.extent_h << ' ' << m.left << ' ' << m.top << ' '
      << m.right << ' ' << m.bottom;
  return out.str();
}

}  // namespace cx::text_cases
