// Thematic maps through the exports: a map of five area objects classed by
// a formula over their attribute base, hatched and with its legend, drawn
// again from its stored query in a fresh session pixel for pixel; and the
// query and display files' names, round trips and damaged files.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/dbase_writer.h"
#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::keep_message;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

constexpr int kWidth = 640, kHeight = 480;
constexpr int16_t kZone = 3;
const char* const kCodes[5] = {"Z1", "Z2", "Z3", "Z4", "Z5"};

// crear_BG's base (layer 1 on an area network, kinds 1 arc and 2 node) with
// kind 3, the zones, whose attributes are zonas.dbf: cod and pob.
class Thematic : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    CX_BIND(lib, cx_set_message_callback)(keep_message, &messages);
    ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
    Bytes kinds = TempBase::bytes("TABOBJ.DAT");
    cx_kind zone{};
    std::strcpy(zone.name, "Zona");
    zone.layer = 1;
    std::strcpy(zone.attribute_base, "zonas");
    zone.storage = 2;
    const auto* p = reinterpret_cast<const unsigned char*>(&zone);
    kinds.insert(kinds.end(), p, p + sizeof zone);
    kinds[0] = 3;
    TempBase::write("TABOBJ.DAT", kinds);
    cx::testing::write_dbf(
        "zonas.dbf", {{"cod", 4}, {"pob", 6}},
        {{"Z1", "50"}, {"Z2", "150"}, {"Z3", "260"}, {"Z4", "420"}, {"Z5", "330"}});
    ASSERT_EQ(CX_BIND(lib, verify_dbase)("zonas"), 0);
    cx_field_def key{};
    key.length = 4;
    ASSERT_EQ(CX_BIND(lib, index_dbf)("zonas", nullptr, &key), 0);
    open_session();
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }
  void open_session() {
    ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
    ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
    ASSERT_EQ(CX_BIND(lib, set_consts)(25, kZone), kZone);
    int16_t count = 0;
    CX_BIND(lib, get_red)(red, 1, &count);
  }

  int32_t node(double x, double y) {
    cx_node code{};
    cx_object at{};
    at.kind = 2;
    at.x = x;
    at.y = y;
    return CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
  }
  // An arc from node a to node b through the given points.
  int32_t arc(int32_t a, int32_t b, std::vector<double> x, std::vector<double> y) {
    cx_arc ends{};
    ends.from_node = a;
    ends.to_node = b;
    cx_object line{};
    line.kind = 1;
    line.count = static_cast<int16_t>(x.size() - 2);
    return CX_BIND(lib, grabe_arco)(&ends, &line, x.data(), y.data(), 0, red);
  }
  // Four squares of 300 on a grid of nodes, a square hole in the first with
  // an island in it, each ring of the hole and the island one closed arc.
  void build_zones() {
    int32_t n[3][3], h[2][3], v[3][2];
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) n[i][j] = node(100 + 300 * i, 100 + 300 * j);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const double x = 100 + 300 * i, y = 100 + 300 * j;
        if (i < 2) h[i][j] = arc(n[i][j], n[i + 1][j], {x, x + 300}, {y, y});
        if (j < 2) v[i][j] = arc(n[i][j], n[i][j + 1], {x, x}, {y, y + 300});
      }
    const int32_t hole = node(200, 200), island = node(225, 225);
    const int32_t rings[2] = {
        arc(hole, hole, {200, 300, 300, 200, 200}, {200, 200, 300, 300, 200}),
        arc(island, island, {225, 275, 275, 225, 225}, {225, 225, 275, 275, 225})};
    const std::vector<std::vector<int32_t>> zones = {{h[0][0], v[1][0], h[0][1], v[0][0], rings[0]},
                                                     {h[1][0], v[2][0], h[1][1], v[1][0]},
                                                     {h[0][1], v[1][1], h[0][2], v[0][1]},
                                                     {h[1][1], v[2][1], h[1][2], v[1][1]},
                                                     {rings[1]}};
    for (std::size_t z = 0; z < zones.size(); ++z) {
      cx_object label{};
      label.kind = kZone;
      const int32_t a = CX_BIND(lib, grabe_t3)(kCodes[z], nullptr, &label);
      ASSERT_EQ(a, static_cast<int32_t>(z + 1));
      for (int32_t e : zones[z]) ASSERT_EQ(CX_BIND(lib, agregue_arco)(a, e), 0);
    }
  }

  // The host's redraw: each zone's class from the query formula, hatched
  // in the class's colour, angle and step, the arcs in black, the legend.
  std::vector<unsigned char> draw(bool save_png) {
    const int32_t hdc = CX_BIND(lib, crear_dispositivo)(kWidth, kHeight);
    EXPECT_GT(hdc, 0);
    CX_BIND(lib, gabrest)(0, 0, kWidth, kHeight, hdc);
    if (query.empty())
      CX_BIND(lib, set_video)(0, 0, 1000, 750);
    else
      CX_BIND(lib, cargue_stat)(query.c_str());
    cx_formula_text formula{}, criterion{};
    CX_BIND(lib, get_formulas)(&formula, &criterion);
    cx_legend_slot classes[4];
    for (int16_t i = 0; i < 4; ++i) {
      classes[i].index = i;
      CX_BIND(lib, get_convens)(&classes[i]);
    }
    for (int32_t a = 1; a <= 5; ++a) {
      cx_area_object object{};
      EXPECT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, a, 0), 0);
      CX_BIND(lib, lea_atribs)(0, &kZone, kCodes[a - 1]);
      cx_valor_expr value{};
      EXPECT_EQ(CX_BIND(lib, evaluar)(formula.text, &value), 0);
      int c = 0;
      while (c < 3 && value.number >= classes[c + 1].value) ++c;
      CX_BIND(lib, gdcolor)(classes[c].a);
      CX_BIND(lib, gdachang)(classes[c].b);
      CX_BIND(lib, gdachpaso)(classes[c].c);
      EXPECT_EQ(CX_BIND(lib, achuraT3)(&object), 1) << a;
    }
    for (int32_t e = 1; e <= 14; ++e) CX_BIND(lib, vea_arco)(e, 15);
    EXPECT_EQ(CX_BIND(lib, showconv)(4, 0), 4);
    std::vector<unsigned char> pixels(kWidth * kHeight * 4);
    EXPECT_EQ(CX_BIND(lib, copiar_pixeles)(hdc, pixels.data()), 0);
    if (save_png) {
      EXPECT_EQ(CX_BIND(lib, guardar_png)(hdc, CARTEX32_THEMATIC_PNG), 0);
    }
    CX_BIND(lib, liberar_dispositivo)(hdc);
    return pixels;
  }

  // Whether the world point (on the 0..1000 x 0..750 view) is not white.
  static bool inked(const std::vector<unsigned char>& pixels, double x, double y) {
    const std::size_t at =
        (static_cast<std::size_t>(kHeight - 1 - int(y * 0.64)) * kWidth + std::size_t(x * 0.64)) *
        4;
    return pixels[at] != 255 || pixels[at + 1] != 255 || pixels[at + 2] != 255;
  }
  static std::string text_of(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  TempBase base;
  EngineLibrary lib;
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
  std::string query;
};

TEST_F(Thematic, MapDrawnAgainFromItsQueryInAFreshSession) {
  // The legend's text loads fontconfig, which keeps what it parsed once; the
  // library stays loaded to the end, so that the leak checker of the
  // sanitizer run still knows whose memory that is.
  ASSERT_NE(dlopen(CARTEX32_LIBRARY_PATH, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE), nullptr);
  build_zones();
  CX_BIND(lib, set_formulas)("pob / 10", "");
  const struct {
    double limit;
    int16_t colour, angle, step;
  } classes[4] = {{0, 10, 0, 3}, {10, 11, 45, 3}, {20, 12, 135, 2}, {30, 9, 90, 2}};
  for (int16_t i = 0; i < 4; ++i) {
    cx_legend_slot slot{};
    slot.index = i;
    slot.value = classes[i].limit;
    slot.a = classes[i].colour;
    slot.b = classes[i].angle;
    slot.c = classes[i].step;
    CX_BIND(lib, set_convens)(&slot);
  }
  const double box[4] = {760, 60, 980, 260};
  CX_BIND(lib, set_convxy)(&box[0], &box[1], &box[2], &box[3]);
  const std::vector<unsigned char> first = draw(true);
  CX_BIND(lib, guarde_stat)("mapa.txt");
  ASSERT_TRUE(TempBase::exists("mapa.con"));

  // The hole of zone 1 stays empty around the island; the island and the
  // zones have their hatch lines.
  const auto pixel = [&](double x, double y) { return inked(first, x, y); };
  int hole = 0, island = 0, zone = 0;
  for (double x = 205; x < 295; x += 1)
    for (double y = 205; y < 295; y += 1) {
      if (!(x > 218 && x < 282 && y > 218 && y < 282)) hole += pixel(x, y);
      if (x > 230 && x < 270 && y > 230 && y < 270) island += pixel(x, y);
      zone += pixel(x + 300, y);
    }
  EXPECT_EQ(hole, 0);
  EXPECT_GT(island, 100);
  EXPECT_GT(zone, 1000);

  // Nothing of the query is left in the process but the file.
  CX_BIND(lib, end_cons)(0);
  CX_BIND(lib, set_formulas)("", "");
  const double zero = 0;
  CX_BIND(lib, set_convxy)(&zero, &zero, &zero, &zero);
  for (int16_t i = 0; i < 4; ++i) {
    cx_legend_slot empty{};
    empty.index = i;
    CX_BIND(lib, set_convens)(&empty);
  }
  open_session();
  query = "mapa";
  EXPECT_TRUE(draw(false) == first) << "the map drawn from mapa.con differs";
  EXPECT_TRUE(messages.empty()) << messages.front();
}

// A zone kind with a hatch setting (angle, step) is hatched when an area
// is drawn; without one only its outline is.
TEST_F(Thematic, AreasOfAKindWithAHatchSettingAreHatchedWhenDrawn) {
  build_zones();
  for (uint8_t hatch : {0, 30}) {
    cx_kind kind{};
    CX_BIND(lib, get_tobjetos)(kZone, &kind);
    kind.hatch = hatch;
    kind.hatch_step = 4;
    CX_BIND(lib, set_tobjetos)(kZone, &kind);
    const int32_t hdc = CX_BIND(lib, crear_dispositivo)(kWidth, kHeight);
    CX_BIND(lib, gabrest)(0, 0, kWidth, kHeight, hdc);
    CX_BIND(lib, set_video)(0, 0, 1000, 750);
    EXPECT_EQ(CX_BIND(lib, vea_area)(2, 12), 0);
    std::vector<unsigned char> pixels(kWidth * kHeight * 4);
    CX_BIND(lib, copiar_pixeles)(hdc, pixels.data());
    CX_BIND(lib, liberar_dispositivo)(hdc);
    int inside = 0, outside = 0;
    for (double x = 410; x < 690; x += 1.5)
      for (double y = 110; y < 390; y += 1.5) {
        inside += inked(pixels, x, y);
        outside += inked(pixels, x - 300, y);
      }
    EXPECT_EQ(inside > 1000, hatch != 0) << inside;
    EXPECT_EQ(outside, 0);
  }
}

TEST_F(Thematic, QueryAndDisplayFilesRoundTripAndRefuseDamage) {
  std::filesystem::create_directory("sub");
  CX_BIND(lib, set_video)(0, 0, 800, 800);
  CX_BIND(lib, set_formulas)("pob * 2", "cod = 'Z1'");
  for (int16_t code : {1, 3, 4, 5, 9, 12, 15, 19, 23}) CX_BIND(lib, set_consts)(code, code * 3);
  CX_BIND(lib, set_grid)(1, 10, 20, 30, 40, 50);
  cx_legend_slot slot{};
  slot.index = 5;
  slot.value = 12.5;
  slot.e = 1;
  std::strcpy(slot.label, "Lineas\nrotas");
  CX_BIND(lib, set_convens)(&slot);
  const double px[3] = {10, 500, 250}, py[3] = {10, 10, 400};
  CX_BIND(lib, set_workpol)(3, px, py);
  CX_BIND(lib, guarde_stat)("sub/zona.txt");
  EXPECT_FALSE(TempBase::exists("sub/zona.txt"));
  const std::string saved = text_of("sub/zona.con");
  EXPECT_NE(saved.find("LY:Lineas rotas\n"), std::string::npos);

  // Changed, loaded from "sub/zona" (sub/zona.con) and saved again: the
  // same file.
  CX_BIND(lib, set_formulas)("otra", "");
  CX_BIND(lib, set_consts)(3, 0);
  CX_BIND(lib, set_workxy)(0, 0, 1, 1);
  CX_BIND(lib, cargue_stat)("sub/zona");
  CX_BIND(lib, guarde_stat)("sub/otra");
  EXPECT_EQ(text_of("sub/otra.con"), saved);

  // Damaged files change nothing and name their line.
  std::vector<std::string> lines;
  std::istringstream in(saved);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const auto find = [&](const std::string& text, std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i)
      if (lines[i] == text) return i;
    return lines.size();
  };
  const std::size_t classes = find("16"), titles = find("10", classes), polygon = find("3");
  const struct {
    std::size_t line;
    std::string text;
  } damage[] = {{classes, "17"},       {titles, "11"},       {polygon, "40000"},
                {1, "1,2,x,3"},        {classes + 1, "1,2"}, {2, std::string(600, '0')},
                {lines.size() - 1, ""}};
  CX_BIND(lib, set_formulas)("marca", "");
  CX_BIND(lib, guarde_stat)("antes");
  for (const auto& d : damage) {
    std::vector<std::string> bad = lines;
    bad[d.line] = d.text;
    std::ofstream out("mala.con", std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < bad.size(); ++i) out << bad[i] << (i + 1 < bad.size() ? "\n" : "");
    out.close();
    messages.clear();
    CX_BIND(lib, cargue_stat)("mala.con");
    EXPECT_EQ(messages, std::vector<std::string>{"Consulta mala.con da\xf1"
                                                 "ada en la linea " +
                                                 std::to_string(d.line + 1)})
        << d.text.substr(0, 20);
    CX_BIND(lib, guarde_stat)("despues");
    EXPECT_EQ(text_of("despues.con"), text_of("antes.con")) << d.text.substr(0, 20);
  }
  messages.clear();
  CX_BIND(lib, cargue_stat)("nada");
  EXPECT_EQ(messages, std::vector<std::string>{"No existe consulta nada"});
  // A save that cannot be written (its new file is taken by a folder)
  // leaves the old file as it was.
  std::filesystem::create_directory("antes.con~");
  CX_BIND(lib, set_formulas)("nueva", "");
  messages.clear();
  CX_BIND(lib, guarde_stat)("antes");
  EXPECT_EQ(messages, std::vector<std::string>{"Error en archivo.."});
  EXPECT_EQ(text_of("antes.con"), text_of("despues.con"));

  // The display file: the work polygon, the view and the work extents.
  CX_BIND(lib, guardespl)("vista.des");
  CX_BIND(lib, set_workxy)(0, 0, 1, 1);
  CX_BIND(lib, carguedespl)("vista");
  double e[4];
  EXPECT_EQ(CX_BIND(lib, get_work_extents)(&e[0], &e[1], &e[2], &e[3]), 1);
  EXPECT_EQ(std::vector<double>(e, e + 4), (std::vector<double>{10, 10, 500, 400}));
  const std::string view = text_of("vista.des");
  std::filesystem::create_directory("vista.des~");
  messages.clear();
  CX_BIND(lib, guardespl)("vista.des");
  EXPECT_EQ(messages, std::vector<std::string>{"Error en archivo.."});
  EXPECT_EQ(text_of("vista.des"), view);
  messages.clear();
  CX_BIND(lib, guardespl)("otra.des");
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(TempBase::exists("otra.des~"));
  CX_BIND(lib, set_workxy)(0, 0, 1, 1);
  CX_BIND(lib, guardespl)("sin.des");
  EXPECT_EQ(messages, std::vector<std::string>{"No hay Area.."});
  EXPECT_FALSE(TempBase::exists("sin.des"));
}

}  // namespace
