// Text on the raster device held to GDI's record (see
// support/text_cases.h). Both draw the same free faces (the Wine prefix of
// the Windows suite replaces the hosts' face names with them), so what is
// left to differ is how each puts glyphs on whole pixels:
// - the cell height of the size, rounded to a pixel either way: heights
//   agree within 1;
// - GDI's advances are whole hinted pixels, ours each rounded from the
//   outline, up to half a pixel a glyph and a few per cent of a text: widths
//   agree within 6% (2 pixels at least);
// - GDI draws these faces without smoothing, ours smooths their edges by up
//   to a pixel each side: the box of inked pixels agrees within 2 pixels on
//   its leading edges, and within 2 plus the width allowance on the far
//   ones (turned text runs along either axis).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "support/text_cases.h"

namespace cx {
namespace {

// Empty when the two measures agree within the allowances above.
std::string disagreement(const text_cases::Measure& ours, const text_cases::Measure& gdi) {
  const int width_slack = std::max(2, static_cast<int>(std::lround(0.06 * gdi.extent_w)));
  std::string why;
  const auto check = [&why](const char* what, int a, int b, int slack) {
    if (std::abs(a - b) > slack)
      why += std::string(" ") + what + " " + std::to_string(a) + "/" + std::to_string(b);
  };
  check("height", ours.extent_h, gdi.extent_h, 1);
  check("width", ours.extent_w, gdi.extent_w, width_slack);
  check("left", ours.left, gdi.left, 2);
  check("top", ours.top, gdi.top, 2);
  check("right", ours.right, gdi.right, 2 + width_slack);
  check("bottom", ours.bottom, gdi.bottom, 2 + width_slack);
  return why;
}

TEST(TextGdiRecord, RasterTextMeasuresAsGdiDoes) {
  if (!CARTEX32_HAS_FONTS) GTEST_SKIP() << "built without fonts";
  const auto record = text_cases::read_record(CARTEX32_GDI_TEXT_RECORD);
  ASSERT_FALSE(record.empty()) << "no record at " << CARTEX32_GDI_TEXT_RECORD;
  for (const text_cases::Case& c : text_cases::kCases) {
    const int32_t handle = crear_dispositivo(text_cases::kWidth, text_cases::kHeight);
    ASSERT_GT(handle, 0);
    const text_cases::Measure ours = text_cases::measure(handle, c);
    liberar_dispositivo(handle);
    const auto it = record.find(c.name);
    ASSERT_NE(it, record.end()) << c.name << " is not in the record";
    const std::string why = disagreement(ours, it->second);
    std::printf("%-42s GDI %s\n", text_cases::record_line(c.name, ours).c_str(),
                why.empty() ? "alike" : why.c_str());
    EXPECT_EQ(why, "") << c.name << " (ours/GDI's)";
  }
}

}  // namespace
}  // namespace cx
