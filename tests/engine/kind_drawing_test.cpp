// Objects drawn in their kind's settings: what vea_topo01 puts on the device
// is what a host gets from scolor, slinea and stexto and then the kernel's
// primitive.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "graphics/vector_tables.h"
#include "support/dbase_oracle.h"
#include "support/graphics_support.h"
#include "support/temp_base.h"

namespace cx::testing {
namespace {

// Each drawing call of draw as one line: what, pen, font, text colour, where.
std::vector<std::string> calls_of(BoundRecorder& r, const std::function<void()>& draw) {
  r.calls().clear();
  draw();
  std::vector<std::string> out;
  for (const RecordedCall& c : r.calls()) {
    char line[160];
    std::snprintf(line, sizeof line, "%s '%s' pen %d/%d/%06X font %d/%d/%s text %06X",
                  c.kind.c_str(), c.text.c_str(), static_cast<int>(c.pen.style), c.pen.width,
                  c.pen.colour, c.font.height, c.font.escapement, c.font.face.c_str(),
                  c.style.colour);
    out.push_back(line);
    for (const DevicePoint& p : c.points)
      out.back() += " " + std::to_string(p.x) + "," + std::to_string(p.y);
  }
  return out;
}

// Kinds 1 text, 2 line, 3 point with symbol 2, 4 point without a symbol,
// in a new base (whose progress lines land on the device).
TEST(KindDrawing, ObjectsAreDrawnAsTheKindSettingsAndThePrimitiveDrawThem) {
  TempBase base;
  BoundRecorder recorder(400, 300);
  cargue_tablas_vectoriales(CARTEX32_DATA_SOURCE "/tabtvec.dat",
                            CARTEX32_DATA_SOURCE "/tabico.dat");
  const std::vector<std::string> lines = calls_of(recorder, [] { crear_BG(0); });
  EXPECT_EQ(lines.size() == 3 ? lines[2].substr(0, 27) : "", "text 'Archivo Topologia 0' ");
  session_with_bases({{"", 0}, {"", 0}, {"", 0}, {"", 0}});
  const double xs[] = {10, 120, 200}, ys[] = {20, 80, 30};
  struct Case {
    cx_kind kind;
    int16_t rotation;
    std::function<void()> primitive;  // what the host draws after the kind's settings
    std::string first;                // the start of the first line drawn
  };
  const auto kind = [](int geometry, int colour, int line, int width, int size, int symbol) {
    cx_kind k{};
    k.geometry = uint8_t(geometry), k.colour = uint8_t(colour), k.line_type = uint8_t(line);
    k.line_width = uint8_t(width), k.text_size = uint8_t(size), k.symbol = uint8_t(symbol);
    k.text_style = 3;
    return k;
  };
  const std::vector<Case> cases = {
      {kind(1, 12, 1, 1, 3, 0), 450, [] { texto_girado(100, 150, 450, "Rio Claro"); },
       "text 'Rio Claro' pen 0/1/0000FF font 12/450/Times New Roman text 0000FF"},
      {kind(0, 9, 3, 9, 0, 0), 0, [&] { gplinea(xs, ys, 3); }, "polyline '' pen 2/7/FF0000"},
      {kind(2, 10, 1, 1, 6, 2), 900, [] { gdicoesc(20), icono_girado(2, 100, 150, 900); },
       "polyline '' pen 0/1/00FF00"},
      {kind(7, 11, 1, 1, 1, 0), 0, [] { marque_punto(100, 150); }, "rectangle"},
  };
  ASSERT_EQ(abra_t0(0), 1);
  for (int16_t k = 1; k <= 4; ++k) {
    const Case& c = cases[k - 1];
    sesion().kinds[k] = c.kind;
    cx_object o{};
    o.kind = k, o.x = k == 2 ? 10 : 100, o.y = k == 2 ? 20 : 150;
    o.rotation = c.rotation, o.count = k == 2 ? 3 : 0;
    const int32_t n = grabe_t0(&o, xs, ys, "Rio Claro");
    const std::vector<std::string> drawn = calls_of(recorder, [&] { vea_topo01(n, -1); });
    const auto host = [&] { scolor(&k), slinea(&k), stexto(&k), c.primitive(); };
    EXPECT_EQ(drawn, calls_of(recorder, host)) << k;
    EXPECT_EQ(drawn.empty() ? "" : drawn[0].substr(0, c.first.size()), c.first);
    EXPECT_EQ(estado_grafico().text_angle, 0) << k;  // put back
  }
  // Another colour for one drawing leaves the kind's own.
  EXPECT_EQ(calls_of(recorder, [] { vea_topo01(2, 5); })[0].substr(0, 26),
            "polyline '' pen 2/7/800080");
  EXPECT_EQ(sesion().kinds[2].colour, 9);
  cierre_t0(0);
}

}  // namespace
}  // namespace cx::testing
