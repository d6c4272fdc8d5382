// Objects drawn in their kind's settings: what vea_topo01 puts on the device
// is what a host gets from scolor, slinea and stexto followed by the
// kernel's own primitive, and the labels of codes and attributes reach the
// device as letters.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "attributes/field_defs.h"
#include "attributes/kind_style.h"
#include "cartex32.h"
#include "graphics/drawing.h"
#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "graphics/vector_tables.h"
#include "session/session.h"
#include "support/dbase_oracle.h"
#include "support/graphics_support.h"
#include "support/temp_base.h"

namespace cx::testing {
namespace {

cx_kind kind_of(int geometry, int colour, int line_type, int width, int size, int symbol) {
  cx_kind k{};
  k.geometry = static_cast<uint8_t>(geometry);
  k.colour = static_cast<uint8_t>(colour);
  k.line_type = static_cast<uint8_t>(line_type);
  k.line_width = static_cast<uint8_t>(width);
  k.text_size = static_cast<uint8_t>(size);
  k.text_style = 3;
  k.layer = 1;
  k.symbol = static_cast<uint8_t>(symbol);
  return k;
}

std::vector<RecordedCall> calls_of(BoundRecorder& r, const std::function<void()>& draw) {
  r.calls().clear();
  draw();
  return r.calls();
}

void expect_same(const std::vector<RecordedCall>& got, const std::vector<RecordedCall>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].kind, want[i].kind) << i;
    EXPECT_EQ(got[i].points, want[i].points) << i;
    EXPECT_EQ(got[i].pen, want[i].pen) << i;
    EXPECT_EQ(got[i].brush, want[i].brush) << i;
    EXPECT_EQ(got[i].text, want[i].text) << i;
    EXPECT_EQ(got[i].font, want[i].font) << i;
    EXPECT_EQ(got[i].style, want[i].style) << i;
  }
}

// A new base with kinds 1 text, 2 line, 3 and 4 point kinds with and
// without a symbol; crear_BG's progress lines land on the bound device.
class KindDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    cargue_tablas_vectoriales(CARTEX32_DATA_SOURCE "/tabtvec.dat",
                              CARTEX32_DATA_SOURCE "/tabico.dat");
    std::vector<std::string> lines;
    for (const RecordedCall& c : calls_of(recorder, [] { crear_BG(0); }))
      if (c.kind == "text") lines.push_back(c.text);
    EXPECT_EQ(lines, (std::vector<std::string>{"Archivo Lineas", "Archivo Achurados",
                                               "Archivo Topologia 0"}));
    session_with_bases({{"", 0}, {"", 0}, {"", 0}, {"", 0}});
    Sesion& s = sesion();
    s.kinds[1] = kind_of(1, 12, 1, 1, 3, 0);
    s.kinds[2] = kind_of(0, 9, 3, 9, 0, 0);
    s.kinds[3] = kind_of(2, 10, 1, 1, 6, 2);
    s.kinds[4] = kind_of(7, 11, 1, 1, 1, 0);
    ASSERT_EQ(abra_t0(0), 1);
  }
  void TearDown() override { cierre_t0(0); }

  int32_t write(int kind, double x, double y, int16_t rotation, const char* text = nullptr,
                std::vector<double> xs = {}, std::vector<double> ys = {}) {
    cx_object o{};
    o.kind = static_cast<int16_t>(kind);
    o.x = x, o.y = y;
    o.rotation = rotation;
    o.count = static_cast<int16_t>(xs.size());
    return grabe_t0(&o, xs.data(), ys.data(), text);
  }

  TempBase base;
  BoundRecorder recorder{400, 300};
};

TEST_F(KindDrawing, ObjectsAreDrawnAsTheKindSettingsAndThePrimitiveDrawThem) {
  const std::vector<double> xs = {10, 120, 200}, ys = {20, 80, 30};
  struct Case {
    int kind;
    double x, y;
    int16_t rotation;
    const char* text;
    std::function<void()> primitive;  // the host's drawing after the kind's settings
    std::string first;                // the first drawing call
  };
  const std::vector<Case> cases = {
      {1, 100, 150, 450, "Rio Claro", [] { texto_girado(100, 150, 450, "Rio Claro"); }, "text"},
      {1, 60, 40, 0, "", [] {}, ""},
      {2, 10, 20, 0, nullptr, [&] { gplinea(xs.data(), ys.data(), 3); }, "polyline"},
      {3, 200, 100, 900, nullptr,
       [] {
         gdicoesc(estado_grafico().text_sizes[estado_grafico().text_size]);
         icono_girado(2, 200, 100, 900);
       },
       "polyline"},
      {4, 50, 50, 0, nullptr, [] { marque_punto(50, 50); }, "rectangle"},
  };
  for (const Case& c : cases) {
    const bool points = c.kind == 2;
    const int32_t n =
        write(c.kind, c.x, c.y, c.rotation, c.text, points ? xs : std::vector<double>{},
              points ? ys : std::vector<double>{});
    ASSERT_GT(n, 0) << c.kind;
    const double icons = estado_grafico().icon_pixels;
    const std::vector<RecordedCall> drawn = calls_of(recorder, [&] { vea_topo01(n, -1); });
    EXPECT_EQ(estado_grafico().text_angle, 0) << c.kind;
    EXPECT_EQ(estado_grafico().icon_pixels, icons) << c.kind;
    const std::vector<RecordedCall> host = calls_of(recorder, [&] {
      const int16_t object = static_cast<int16_t>(c.kind);
      scolor(&object), slinea(&object), stexto(&object);
      c.primitive();
    });
    SCOPED_TRACE(c.kind);
    expect_same(drawn, host);
    EXPECT_EQ(drawn.empty() ? "" : drawn[0].kind, c.first);
  }
  // What the settings gave, once by hand: the text in the kind's size and
  // font at its angle, the line at the widest width.
  const int32_t text = 1, line = 3;
  const std::vector<RecordedCall> t = calls_of(recorder, [&] { vea_topo01(text, -1); });
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].text, "Rio Claro");
  EXPECT_EQ(t[0].font.height, 12);
  EXPECT_NEAR(t[0].font.escapement, 450, 1);
  EXPECT_EQ(t[0].font.face, "Times New Roman");
  EXPECT_EQ(t[0].style.colour, estado_grafico().palette[12]);
  const std::vector<RecordedCall> l = calls_of(recorder, [&] { vea_topo01(line, 5); });
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l[0].pen.width, 7);
  EXPECT_EQ(l[0].pen.colour, estado_grafico().palette[5]);
  EXPECT_EQ(sesion().kinds[2].colour, 9);  // the colour is replaced for that drawing only
}

// A text table base of places, with the placement of each place's label
// and its name: veadat0 draws the code beside the object and the name at
// its placement, both as letters.
TEST_F(KindDrawing, CodeAndAttributeLabelsDrawLetters) {
  atr::Campos def;
  const auto field = [&](int type, int offset, int length, const char* name, const char* var) {
    atr::CampoPtr c = atr::nuevo_campo();
    c->type = static_cast<int16_t>(type);
    c->offset = static_cast<int16_t>(offset);
    c->length = c->width = static_cast<int16_t>(length);
    std::snprintf(c->name, sizeof c->name, "%s", name);
    std::snprintf(c->variable, sizeof c->variable, "%s", var);
    def.push_back(std::move(c));
  };
  field(4, 0, 4, "cod", "cod");
  field(14, 4, 20, "ubic", "");
  field(4, 24, 10, "nombre", "nombre");
  ASSERT_TRUE(atr::grabe_definicion("lugares.def", def));
  const std::string table = "P1  120,200<900>        Lugar Uno \r\n";
  TempBase::write("lugares.txt", {table.begin(), table.end()});
  ASSERT_EQ(ascreindexar("lugares.txt", "lugares", nullptr), 0);
  std::strcpy(sesion().kinds[3].attribute_base, "lugares.txt");
  sesion().kinds[3].storage = 3;
  sesion().settings[kCurrentKind] = 3;
  abra_atrs();
  cx_object place{};
  place.kind = 3;
  place.x = 100, place.y = 100;
  const std::vector<RecordedCall> drawn =
      calls_of(recorder, [&] { EXPECT_EQ(veadat0(&place, "P1"), 1); });
  cierre_atrs();
  std::vector<RecordedCall> texts;
  for (const RecordedCall& c : drawn)
    if (c.kind == "text") texts.push_back(c);
  ASSERT_EQ(texts.size(), 2u);
  // Size index 6: 20 units, letters 24 pixels high; the code of a point
  // kind half of that up and to the right.
  EXPECT_EQ(texts[0].text, "P1");
  EXPECT_EQ(texts[0].font.height, 24);
  EXPECT_EQ(texts[0].points[0].x, 110);
  EXPECT_EQ(texts[1].text, "Lugar Uno");
  EXPECT_NEAR(texts[1].font.escapement, 900, 1);
  EXPECT_EQ(texts[1].points[0].y, 100);  // row 300 - 200, "up" to the left
}

}  // namespace
}  // namespace cx::testing
