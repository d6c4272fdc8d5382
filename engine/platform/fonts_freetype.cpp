// Glyphs through fontconfig (which face file a name means) and FreeType
// (its outlines rendered to coverage). Faces are opened once and kept for
// the life of the process.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/fonts.h"

namespace cx {

namespace {

// Windows-1252 bytes 0x80..0x9F; the other bytes are their own code points.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t code_point(unsigned char c) {
  return c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Faces {
  FT_Library library = nullptr;
  bool tried = false;
  std::map<std::tuple<std::string, bool, bool>, FT_Face> open;
};

Faces& faces() {
  static Faces f;
  if (!f.tried) {
    f.tried = true;
    if (FT_Init_FreeType(&f.library) != 0) f.library = nullptr;
  }
  return f;
}

// The face file fontconfig finds for the name, bold and italic as asked.
FT_Face face_for(const FontSpec& font) {
  Faces& f = faces();
  if (!f.library) return nullptr;
  std::string family = font.face;
  if (family.empty()) family = (font.pitch_and_family & 0xF0) == 0x10 ? "Times New Roman" : "Arial";
  family = cara_instalada(family);
  const bool bold = font.weight >= 600, italic = font.italic;
  const auto key = std::make_tuple(family, bold, italic);
  if (const auto it = f.open.find(key); it != f.open.end()) return it->second;

  FT_Face face = nullptr;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      if (FT_New_Face(f.library, reinterpret_cast<const char*>(file), index, &face) != 0)
        face = nullptr;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  if (face && !FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    face = nullptr;
  }
  f.open[key] = face;
  return face;
}

// The face sized so that its cell (ascent plus descent, as the old
// platform measured them) is `height` pixels; the ascent in pixels.
bool size_face(FT_Face face, int32_t height, double& ascent) {
  double up = face->ascender, down = -face->descender;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    up = os2->usWinAscent;
    down = os2->usWinDescent;
  }
  if (up + down <= 0 || height < 1) return false;
  const double em = double(height) * face->units_per_EM / (up + down);
  ascent = up * em / face->units_per_EM;
  return FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72) == 0;
}

// The unrotated advance of a loaded glyph, in whole pixels.
int32_t advance_of(FT_Face face) {
  return static_cast<int32_t>(std::lround(face->glyph->linearHoriAdvance / 65536.0));
}

}  // namespace

std::string cara_instalada(const std::string& face) {
  static const std::map<std::string, std::string> names = {
      {"arial", "Liberation Sans"},
      {"courier new", "Liberation Mono"},
      {"times new roman", "Liberation Serif"},
      {"roman", "DejaVu Serif Condensed"},
      {"modern", "DejaVu Sans Condensed"},
      {"ms sans serif", "DejaVu Sans"},
      {"ms serif", "DejaVu Serif"},
  };
  const auto it = names.find(lower(face));
  return it == names.end() ? face : it->second;
}

bool dibuje_glifos(DevicePoint at, const std::string& text, const FontSpec& font,
                   const std::function<void(const DevicePoint (&)[4])>& cell,
                   const PixelSink& sink) {
  FT_Face face = face_for(font);
  double ascent = 0;
  if (!face || !size_face(face, font.height, ascent)) return false;
  const double angle = font.escapement * 3.141592653589793 / 1800.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const DevicePoint size = mida_texto(text, font);
  const auto corner = [&](double along, double down) {
    return DevicePoint{static_cast<int32_t>(std::lround(at.x + along * c + down * s)),
                       static_cast<int32_t>(std::lround(at.y - along * s + down * c))};
  };
  const DevicePoint corners[4] = {corner(0, 0), corner(size.x, 0), corner(size.x, size.y),
                                  corner(0, size.y)};
  cell(corners);

  // FreeType's y grows upward, so its counter-clockwise turn is the screen's.
  FT_Matrix m;
  m.xx = m.yy = static_cast<FT_Fixed>(std::lround(c * 65536));
  m.xy = static_cast<FT_Fixed>(std::lround(-s * 65536));
  m.yx = -m.xy;
  FT_Set_Transform(face, &m, nullptr);
  double pen = 0;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face, code_point(ch), FT_LOAD_RENDER | FT_LOAD_NO_BITMAP) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    const DevicePoint origin = corner(pen, ascent);
    const FT_Bitmap& b = g->bitmap;
    for (unsigned row = 0; row < b.rows; ++row)
      for (unsigned col = 0; col < b.width; ++col) {
        const uint8_t v = b.buffer[row * b.pitch + col];
        if (v)
          sink(origin.x + g->bitmap_left + int32_t(col), origin.y - g->bitmap_top + int32_t(row),
               v);
      }
    pen += advance_of(face);
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return true;
}

DevicePoint mida_texto(const std::string& text, const FontSpec& font) {
  FT_Face face = face_for(font);
  double ascent = 0;
  if (!face || !size_face(face, font.height, ascent)) return {0, 0};
  FT_Set_Transform(face, nullptr, nullptr);
  int32_t width = 0;
  for (unsigned char ch : text)
    if (FT_Load_Char(face, code_point(ch), FT_LOAD_NO_BITMAP) == 0) width += advance_of(face);
  return {width, font.height};
}

}  // namespace cx
