// Text and symbols asserted on what reaches a recording device: the size
// rules, the anchor of map text, the stroke font, the rotation all three
// share and the icons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "graphics/vector_tables.h"
#include "support/graphics_support.h"

namespace cx {
namespace {

// A recording device bound with the text settings gabrest leaves alone
// back at their defaults.
class BoundRecorder : public testing::BoundRecorder {
 public:
  BoundRecorder(int32_t width, int32_t height) : testing::BoundRecorder(width, height) {
    EstadoGrafico& g = estado_grafico();
    const EstadoGrafico defaults{};
    std::copy(std::begin(defaults.text_sizes), std::end(defaults.text_sizes), g.text_sizes);
    gdtxtvect(0);
    gdtexto_negro(0);
    fuente_texto(0);
  }
};

void load_data() {
  cargue_tablas_vectoriales(CARTEX32_DATA_SOURCE "/tabtvec.dat",
                            CARTEX32_DATA_SOURCE "/tabico.dat");
}

TEST(TextSizes, EachSizeDrawsLettersADottedLineOrNothing) {
  struct Case {
    double size;
    int16_t vector;
    const char* kind;       // the one call expected, "" for none
    int32_t height_or_end;  // text: the font height; dotted line: its last x
    int16_t result;
  };
  const Case cases[] = {
      {10.0, 0, "text", 12, 12}, {20.0, 0, "text", 24, 24}, {0.7, 0, "polyline", 12, 0},
      {0.4, 0, "", 0, 0},        {450.0, 0, "", 0, 0},      {2.0, 1, "polyline", 16, 0},
      {0.45, 1, "", 0, 0},       {401.0, 1, "", 0, 0},
  };
  for (const Case& c : cases) {
    BoundRecorder r(200, 100);
    gdtxtvect(c.vector);
    gdtxtesc(c.size);
    gdtextam(0);
    EXPECT_EQ(gtexto(10, 50, "abcd"), c.result) << c.size;
    if (!*c.kind) {
      EXPECT_TRUE(r.calls().empty()) << c.size;
      continue;
    }
    ASSERT_EQ(r.calls().size(), 1u) << c.size;
    const RecordedCall& call = r.calls()[0];
    EXPECT_EQ(call.kind, c.kind) << c.size;
    if (call.kind == "text") {
      EXPECT_EQ(call.font.height, c.height_or_end);
    } else {
      EXPECT_EQ(call.pen.style, PenStyle::dot);
      EXPECT_EQ(call.points, (std::vector<DevicePoint>{{10, 50}, {c.height_or_end, 50}}));
      EXPECT_EQ(galintip(), 1);  // the line type is put back
    }
  }
  // A zero scale fixes the height by the size index.
  BoundRecorder r(200, 100);
  gdescala(0, 0);
  gdtextam(4);
  EXPECT_EQ(gtexto(10, 50, "a"), 30);
  EXPECT_EQ(gdtextam(13), 3);
  EXPECT_EQ(gdtextam(-1), 9);
  EXPECT_EQ(gtexto(10, 50, nullptr), 0);
}

TEST(TextPlacement, MapTextHangsFromAPointAndSuperTextStartsAtIt) {
  BoundRecorder r(400, 300);
  gdcolor(12);
  gdtextam(3);  // 10 units: font height 12, its cell 3 pixels above the point
  fuente_texto(10);
  inclinacion_texto(-23);
  gtexto(100, 100, "Rio");
  gdtexang(std::acos(-1) / 2);
  gdtexto_negro(1);
  gtexto(100, 100, "Rio");
  gsuper_texto(50, 60, 0.5, 20, 0x00FF00, 1, 1, std::string(40, 'F').c_str(), "Cota");
  EXPECT_EQ(gsuper_texto(50000, 60, 0, 20, 0, 0, 0, nullptr, "far"), 0);
  ASSERT_EQ(r.calls().size(), 3u);
  const RecordedCall &level = r.calls()[0], &turned = r.calls()[1], &super = r.calls()[2];
  EXPECT_EQ(level.points[0], (DevicePoint{100, 197}));  // row 300 - 100, 3 above
  EXPECT_EQ(level.font, (FontSpec{12, 400, true, 0, "Times New Roman", 0x22}));
  EXPECT_EQ(level.style.colour, 0x0000FFu);
  EXPECT_EQ(turned.points[0], (DevicePoint{97, 200}));  // "up" is to the left
  EXPECT_EQ(turned.font.escapement, 900);
  EXPECT_EQ(turned.style.colour, 0u);
  EXPECT_EQ(super.points[0], (DevicePoint{50, 240}));
  EXPECT_EQ(super.font, (FontSpec{24, 700, true, 286, std::string(31, 'F'), 0}));
  EXPECT_EQ(super.style.colour, 0x00FF00u);
}

TEST(TextPlacement, ExtentsAndStatusLines) {
  BoundRecorder r(400, 300);
  int16_t w = -1, h = -1;
  gdtextam(6);  // 20 units: height 24, 12 pixels a character on this device
  gatext_extent("abc", &w, &h);
  EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({36, 24}));
  gasuper_extent("abcd", 10, 1, 0, "Arial", &w, &h);
  EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({24, 12}));
  gdtxtesc(450);
  gdtextam(0);
  gatext_extent("abc", &w, &h);
  EXPECT_EQ(std::vector<int>({w, h}), std::vector<int>({0, 0}));

  const int16_t line = estado_grafico().status_line;
  text(3, 0, 0x0000FF, "uno");
  text(3, 0, 0x0000FF, nullptr);
  text(0, 0, 0x0000FF, "dos");
  ASSERT_EQ(r.calls().size(), 2u);
  EXPECT_EQ(r.calls()[0].points[0], (DevicePoint{30, (line + 1) % 30 * 12}));
  EXPECT_EQ(r.calls()[1].points[0], (DevicePoint{0, (line + 2) % 30 * 12}));
  EXPECT_EQ(r.calls()[0].font, (FontSpec{15, 700, false, 0, "", 0x12}));
  EXPECT_EQ(r.calls()[0].style, (TextStyle{0x0000FF, true, 0xFFFFFF}));
}

// Where a point (x, y) of a character or icon, in 1/1024 of `pixels`, lands
// when turned counter-clockwise on the screen by `angle` about the anchor.
DevicePoint turned(DevicePoint anchor, double x, double y, double pixels, double angle) {
  const double c = std::cos(angle), s = std::sin(angle), k = pixels / 1024;
  return {anchor.x + static_cast<int32_t>(std::lround((x * c + y * s) * k)),
          anchor.y + static_cast<int32_t>(std::lround((y * c - x * s) * k))};
}

void expect_near(const std::vector<DevicePoint>& got, const std::vector<DevicePoint>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 2) << i;
    EXPECT_NEAR(got[i].y, want[i].y, 2) << i;
  }
}

TEST(StrokeFont, HighCodesAndEveryRotationTurnTheWayTheMapTextDoes) {
  load_data();
  BoundRecorder r(2000, 2000);
  gdtxtvect(1);
  gdtextam(6);                 // 20 pixels
  gtexto(100, 1000, "H\xC8");  // code 200 draws the record of code 72
  ASSERT_EQ(r.calls().size(), 2u);
  const CaracterVectorial& h = tablas_vectoriales().font['H'];
  for (int i = 0; i < 2; ++i) {
    std::vector<DevicePoint> want;
    for (int k = 0; k < h.count; ++k)
      want.push_back(turned({100 + 16 * i, 1000}, h.x[k], h.y[k], 20, 0));
    expect_near(r.calls()[i].points, want);
  }

  // At 30 degrees the map text, the stroke font and the icons all turn
  // counter-clockwise on the screen, the icons at a size whose fixed-point
  // products pass 32 bits.
  r.calls().clear();
  const double angle = std::acos(-1) / 6;
  gdtexang(angle);
  gdtxtvect(0);
  gtexto(100, 1000, "H");
  EXPECT_EQ(r.calls()[0].font.escapement, 300);
  gdtxtvect(1);
  gtexto(100, 1000, "HH");
  ASSERT_EQ(r.calls().size(), 3u);
  for (int i = 0; i < 2; ++i) {
    const DevicePoint at{100 + static_cast<int32_t>(16 * i * std::cos(angle)),
                         1000 - static_cast<int32_t>(16 * i * std::sin(angle))};
    std::vector<DevicePoint> want;
    for (int k = 0; k < h.count; ++k) want.push_back(turned(at, h.x[k], h.y[k], 20, angle));
    expect_near(r.calls()[1 + i].points, want);
  }
  r.calls().clear();
  gdicoesc(3000);
  gicono(8, 1000, 1000);  // the airport: one filled outline
  ASSERT_EQ(r.calls().size(), 1u);
  const ContornoIcono& plane = tablas_vectoriales().icons[7].a;
  std::vector<DevicePoint> want;
  for (int k = 0; k < plane.count; ++k)
    want.push_back(turned({1000, 1000}, plane.x[k], plane.y[k], 3000, angle));
  expect_near(r.calls()[0].points, want);
}

TEST(Icons, NumbersScalesAndOutlines) {
  load_data();
  BoundRecorder r(400, 300);
  gdcolor(12);
  gdlintip(3);
  gdlinanch(2);
  EXPECT_EQ(gicono(0, 100, 100), 1);
  EXPECT_EQ(gicono(13, 100, 100), 0);
  EXPECT_EQ(gicono(-1, 100, 100), 0);
  gdicoesc(1.4);
  EXPECT_EQ(gicono(1, 100, 100), 1);
  gdicoesc(-20);
  gicono(1, 100, 100);
  gdicoesc(64);
  gicono(2, 500, 100);  // outside the clip region
  gicono(2, 100, 100);  // the school: an outline, then a filled flag
  EXPECT_EQ(galintip(), 3);
  EXPECT_EQ(estado_grafico().line_width, 2);
  ASSERT_EQ(r.calls().size(), 4u);
  EXPECT_EQ(r.calls()[0].points[0], (DevicePoint{100, 200}));
  EXPECT_EQ(r.calls()[0].colour, 0x0000FFu);
  EXPECT_EQ(r.calls()[1].kind, "set_pixel");  // a negative size: one pixel too
  EXPECT_EQ(r.calls()[2].kind, "polyline");
  EXPECT_EQ(r.calls()[2].pen, (Pen{PenStyle::solid, 1, 0x0000FF}));
  EXPECT_EQ(r.calls()[2].points.front(), (DevicePoint{100 - 24, 200 + 24}));
  EXPECT_EQ(r.calls()[3].kind, "polygon");
  EXPECT_EQ(r.calls()[3].fill, FillMode::winding);
  EXPECT_EQ(r.calls()[3].brush, (Brush{false, 0x0000FF}));
  EXPECT_EQ(r.calls()[3].pen.colour, 0u);
  EXPECT_EQ(r.device().pen().colour, 0x0000FFu);  // the pen is put back
}

TEST(TextSettings, AKindsStyleAndSize) {
  struct Case {
    int32_t style, size, scale, layer;
    int16_t font, index;
    double size_units;
  };
  const Case cases[] = {{9, 4, 0, 0, 2, 4, 15.0},
                        {0, 0, 125, 6, 0, 0, 12.5},
                        {6, 0, 0, 6, 6, 6, 20.0},
                        {7, 0, 0, 0, 0, 1, 5.0}};
  BoundRecorder r(10, 10);
  for (const Case& c : cases) {
    gdtextam(2);
    EXPECT_EQ(aplique_texto_de_clase(c.style, c.size, c.scale, c.layer), c.index);
    EXPECT_EQ(estado_grafico().font_index, c.font);
    EXPECT_EQ(estado_grafico().text_sizes[0], c.size_units);
    EXPECT_EQ(estado_grafico().text_scale, static_cast<int32_t>(c.size_units * 256));
  }
}

}  // namespace
}  // namespace cx
