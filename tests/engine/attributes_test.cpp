// Attribute bases: text tables, shared and related bases, definition files,
// code indexes and the labels of codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "attributes/attribute_bases.h"
#include "attributes/code_keys.h"
#include "attributes/field_defs.h"
#include "attributes/kind_style.h"
#include "cartex32.h"
#include "expr/variables.h"
#include "records/blocks.h"
#include "records/record_file.h"
#include "support/dbase_oracle.h"
#include "support/graphics_support.h"
#include "support/packed_record.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"
#include "topology/topology_files.h"

namespace cx::testing {
namespace {

atr::CampoPtr field(int type, int offset, int length, const char* name, const char* variable) {
  atr::CampoPtr c = atr::nuevo_campo();
  c->type = static_cast<int16_t>(type);
  c->offset = static_cast<int16_t>(offset);
  c->length = c->width = static_cast<int16_t>(length);
  std::snprintf(c->name, sizeof c->name, "%.11s", name);
  std::snprintf(c->variable, sizeof c->variable, "%.11s", variable);
  return c;
}

std::string text_of(const char* variable) {
  Lectura v;
  lea_variable(busque_variable(variable, std::strlen(variable)), v);
  return trim(v.chars);
}

TEST(AttributeDefs, RandomDefinitionsComeBackAsWritten) {
  TempBase base;
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    atr::Campos written, read;
    for (int i = 0, n = static_cast<int>(random() % 12); i < n; ++i) {
      const std::string name = "F" + std::to_string(random() % 100000);
      written.push_back(field(random() % 16, random() % 500, random() % 91, name.c_str(),
                              random() % 3 ? name.c_str() : ""));
      written.back()->decimals = static_cast<int16_t>(random() % 5);
    }
    ASSERT_TRUE(atr::grabe_definicion("b.def", written));
    ASSERT_TRUE(atr::cargue_definicion("b.def", read));
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
      const atr::Campo &a = *written[i], &b = *read[i];
      EXPECT_TRUE(a.type == b.type && a.offset == b.offset && a.length == b.length &&
                  a.width == b.width && a.decimals == b.decimals && !std::strcmp(a.name, b.name) &&
                  !std::strcmp(a.variable, b.variable));
    }
  }
  // A field longer than 90 bytes, or a missing file, is refused.
  atr::Campos bad, read;
  bad.push_back(field(4, 0, 91, "X", "X"));
  ASSERT_TRUE(atr::grabe_definicion("mal.def", bad));
  RecordingSink sink;
  EXPECT_FALSE(atr::cargue_definicion("mal.def", read) ||
               atr::cargue_definicion("falta.def", read));
  EXPECT_EQ(sink.texts(), (std::vector<std::string>{"ERROR cargando definicion: mal.def\n",
                                                    "ERROR cargando definicion: falta.def\n"}));
}

TEST(AttributeText, DeletedLinesAreNotIndexedAndLinesReadWhole) {
  TempBase base;
  atr::Campos def;
  def.push_back(field(4, 0, 6, "cod", "cod"));
  def.push_back(field(4, 6, 8, "nombre", "nombre"));
  ASSERT_TRUE(atr::grabe_definicion("calles.def", def));
  const std::string lines =
      "C1    Primera \r\n\xFF\xFF\xFF\xFF"
      "2 Borrada \r\nC3    Tercera \r\nC4";
  TempBase::write("calles.txt", {lines.begin(), lines.end()});
  int32_t position = -1;
  RecordingSink sink;
  ASSERT_EQ(ascreindexar("calles.txt", "calles", &position), 0);
  EXPECT_EQ(position, 48);  // the short last line starts there and has no key
  session_with_bases({{"calles.txt", 3}});
  abra_atrs();
  const int16_t kind = 1;
  EXPECT_EQ(lea_atribs(0, &kind, "C1"), 1);
  EXPECT_EQ(text_of("nombre"), "Primera");
  EXPECT_EQ(lea_atribs(0, &kind, "C3"), 1);
  EXPECT_EQ(text_of("nombre"), "Tercera");
  EXPECT_EQ(lea_atribs(0, &kind, "C4"), 0);
  EXPECT_EQ(text_of("nombre"), "");  // not found: cleared
  EXPECT_EQ(text_of("codigo"), "C4");
  EXPECT_TRUE(sink.messages.empty());
  cierre_atrs();
}

TEST(AttributeBases, KindsSharingEightCharactersShareOneBase) {
  TempBase base;
  for (const char* name : {"poblacion", "vias"}) {
    atr::Campos def;
    def.push_back(field(4, 0, 4, "cod", "cod"));
    ASSERT_TRUE(atr::grabe_definicion(std::string(name) + ".def", def));
    TempBase::write(std::string(name) + ".dat", std::vector<unsigned char>(16, ' '));
  }
  session_with_bases({{"poblacionA", 0}, {"vias", 1}, {"poblacionB", 0}, {"poblacio", 0}});
  // Only the exact names exist; kinds 3 and 4 take kind 1's open base.
  std::strcpy(sesion().kinds[1].attribute_base, "poblacion");
  RecordingSink sink;
  abra_atrs();
  EXPECT_EQ(atr::numero_de_base(1), 1);
  EXPECT_EQ(atr::numero_de_base(2), 2);
  EXPECT_EQ(atr::numero_de_base(3), 1);
  EXPECT_EQ(atr::numero_de_base(4), 1);
  EXPECT_EQ(get_nvars(3), 0);
  EXPECT_TRUE(sink.messages.empty());
  cierre_atrs();
  EXPECT_EQ(atr::numero_de_base(1), 0);
  EXPECT_EQ(get_nvars(1), 0);
}

// A country's continent relates it to a second base keyed by continent.
TEST(AttributeBases, RelatedBaseIsReadThroughItsFormula) {
  TempBase base;
  write_dbf("pais.dbf", {{"iso", 3}, {"cont", 8}}, {{"COL", "SA"}, {"FRA", "EU"}});
  write_dbf("cont.dbf", {{"clave", 2}, {"nombre", 10}}, {{"EU", "Europa"}, {"SA", "Suramerica"}});
  cx_field_def key{};
  key.length = 3;
  ASSERT_EQ(verify_dbase("pais"), 0);
  ASSERT_EQ(index_dbf("pais", nullptr, &key), 0);
  ASSERT_EQ(verify_dbase("cont"), 0);
  key.length = 2;
  ASSERT_EQ(index_dbf("cont", nullptr, &key), 0);
  session_with_bases({{"pais", 2}});
  abra_atrs();
  RecordingSink sink;
  EXPECT_EQ(otrabase("cont", 2, "no_existe +"), -1);
  EXPECT_EQ(otrabase("cont", 2, "cont"), 1);
  const int16_t kind = 1;
  for (const auto& [iso, name] : std::vector<std::pair<const char*, const char*>>{
           {"FRA", "Europa"}, {"COL", "Suramerica"}, {"XXX", ""}}) {
    lea_atribs(0, &kind, iso);
    EXPECT_EQ(text_of("nombre"), name) << iso;
  }
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"Error en expresión para relacionar..."});
  cierre_atrs();
}

std::string drawn;
double drawn_x, drawn_y;

TEST(AttributeLabels, CodesAndStreetAddresses) {
  session_with_bases({{"", 0}, {"", 0}});
  sesion().kinds[1].code_form = 1;
  sesion().kinds[2].geometry = 2;
  atr::fije_dibujo_rotulos(
      {[](double x, double y, double, const char* t) { drawn = t, drawn_x = x, drawn_y = y; },
       [] { return 2.0; }});
  struct Case {
    int kind;
    std::vector<unsigned char> code;
    const char* label;
    double dx, dy;
  };
  const std::vector<Case> cases = {
      {1, {0, 45, 0, 5, 1, 12, 0, 0, 0, 34}, "Kr.45bis#12 -34", 0, 2},
      // Numbers wrap at 300 and indexes at 11 and 100.
      {1, {0, 0x2D, 0x01, 16, 110, 0x2C, 0x01, 0, 20, 7}, "Kr.1A#0B-7", 0, 2},
      {2, {'A', 'B', '1', '2', ' ', ' ', ' ', ' ', ' ', ' '}, "AB12", 1, 1},
      // Ten bytes, nothing after them.
      {2, {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}, "0123456789", 1, 1},
  };
  for (const Case& c : cases) {
    cx_object object{};
    object.kind = static_cast<int16_t>(c.kind);
    object.x = 100, object.y = 200;
    std::vector<unsigned char> code = c.code;
    code.push_back('Z');  // a byte beyond the code
    drawn.clear();
    EXPECT_EQ(veacod(code.data(), &object), 0);
    EXPECT_EQ(drawn, c.label);
    EXPECT_EQ(drawn_x, 100 + c.dx);
    EXPECT_EQ(drawn_y, 200 + c.dy);
  }
  sesion().kinds[1].no_code_label = 1;
  cx_object object{};
  object.kind = 1;
  drawn.clear();
  EXPECT_EQ(veacod(cases[0].code.data(), &object), 0);
  EXPECT_EQ(drawn, "");
  atr::fije_dibujo_rotulos({});
}

// A record file base with a placement field: fatr_put stores where the
// label goes, fatr_dibuje draws the next field's value there.
TEST(AttributeLabels, PlacementsAreStoredAndDrawn) {
  TempBase base;
  atr::Campos def;
  def.push_back(field(4, 0, 4, "cod", "cod"));
  def.push_back(field(14, 4, 30, "ubic", ""));
  def.push_back(field(4, 34, 10, "nombre", "nombre"));
  ASSERT_TRUE(atr::grabe_definicion("lugares.def", def));
  int16_t created = -1;
  ASSERT_EQ(crear_archivo(&created, "lugares.dat", 44), 0);
  {
    ArchivoAbierto data(abra_compartido("lugares.dat"));
    ArchivoAbierto index(atr::cree_indice("lugares.inx"));
    for (const char* code : {"P1", "P2"}) {
      std::string record = std::string(code) + "  " + std::string(30, ' ') + "Lugar " + code + "  ";
      const int32_t n = pida_registro(data.get(), 44);
      ASSERT_EQ(escriba_registro(data.get(), record.data(), n, 44), 0);
      unsigned char key[atr::kClave];
      atr::clave_de_texto(code, atr::kClave, key);
      ASSERT_EQ(indice_inserte(index.get(), key, n), 0);
    }
  }
  session_with_bases({{"lugares", 1}});
  sesion().params[8] = 50;
  abra_atrs();
  EXPECT_EQ(hay_graf(1), -1);
  atr::fije_dibujo_rotulos(
      {[](double x, double y, double, const char* t) { drawn = t, drawn_x = x, drawn_y = y; },
       nullptr});
  struct Case {
    const char* code;
    double x, y;        // the placement stored
    bool network;       // drawn as a network object at (0, 0)
    const char* label;  // drawn, or empty
  };
  const std::vector<Case> cases = {
      {"P1", 10.5, 20.25, false, "Lugar P1"},
      {"P2", 1000, 1000, false, "Lugar P2"},
      {"P2", 1000, 1000, true, ""},  // too far from the node
      {"P1", 30, 40, true, "Lugar P1"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(fatr_put(1, c.code, 1, c.x, c.y, 900), 0) << c.code;
    drawn.clear();
    EXPECT_EQ(fatr_dibuje(1, c.code, 0, 0, c.network), c.label[0] ? 1 : 0) << c.code;
    EXPECT_EQ(drawn, c.label);
    if (c.label[0]) {
      EXPECT_TRUE(drawn_x == c.x && drawn_y == c.y) << c.code;
    }
  }
  RecordingSink sink;
  EXPECT_EQ(fatr_put(1, "P9", 1, 0, 0, 0), -1);        // no such object
  EXPECT_EQ(fatr_put(1, "P1", 2, 0, 0, 0), -1);        // no second placement field
  EXPECT_EQ(fatr_put(1, "P1", 1, 1e30, 1e30, 0), -1);  // does not fit 30 bytes
  EXPECT_EQ(sink.messages.size(), 2u);
  // What was refused left the stored placement as it was.
  EXPECT_EQ(fatr_dibuje(1, "P1", 0, 0, 0), 1);
  EXPECT_TRUE(drawn_x == 30 && drawn_y == 40);
  atr::fije_dibujo_rotulos({});
  {
    BoundRecorder r(400, 300);  // without a drawing of its own: letters of the map text
    EXPECT_EQ(fatr_dibuje(1, "P1", 0, 0, 0), 1);
    ASSERT_EQ(r.calls().size(), 1u);
    EXPECT_EQ(r.calls()[0].text, "Lugar P1");
    EXPECT_NEAR(r.calls()[0].font.escapement, 900, 1);
  }
  // The kind's layer as a network layer: its labels are for hay_atr23.
  sesion().layers[1].kind = 3;
  std::strcpy(sesion().layers[1].network_prefix, "lug");
  const int network = registre_red("LUG", 3);
  EXPECT_EQ(hay_atr23(static_cast<int16_t>(network)), 1);
  EXPECT_EQ(hay_atr23(static_cast<int16_t>(network + 1)), 0);
  sesion().kinds[1].hidden = 1;
  EXPECT_EQ(hay_atr23(static_cast<int16_t>(network)), 0);
  olvide_redes();
  cierre_atrs();
}

// A polygon object numbered 1 outlines area "0745" of a layer with prefix
// digits 0 and 7; codigos finds it by number in a layer of kind 0 and by
// code in a layer of kind 1.
TEST(AttributeCodes, FindT0ObjectsAndAreasByCode) {
  TempBase base;
  int16_t h = -1;
  ASSERT_EQ(crear_archivo(&h, "OBJETOS.DAT", 31), 0);
  ASSERT_EQ(crear_archivo(&h, "AREAS.DAT", 29), 0);
  ASSERT_EQ(cree_bloques("COORDEN.DAT"), 0);
  ASSERT_EQ(abra_t0(), 1);
  const ArchivosT0& t0 = archivos_t0();
  const double xs[3] = {5, 9, 7}, ys[3] = {1, 2, 8};
  cx_object polygon{};
  polygon.kind = 1, polygon.x = 7, polygon.y = 3, polygon.count = 3, polygon.area = 1;
  polygon.block = pida_bloque(t0.coorden, 3);
  ASSERT_EQ(grabe_puntos(t0.coorden, polygon.block, xs, ys, 3), 0);
  ASSERT_EQ(pida_registro(t0.objetos, 31), 1);
  ASSERT_EQ(sescribir_obj(static_cast<int16_t>(t0.objetos), &polygon, 1, 31), 0);
  cx_area area{};
  std::memcpy(area.code, "070745", 6);
  area.object = 1;
  ASSERT_EQ(pida_registro(t0.areas, 29), 1);
  ASSERT_EQ(sescribir_are(static_cast<int16_t>(t0.areas), &area, 1, 29), 0);
  unsigned char key[atr::kClave];
  atr::clave_de_texto("070745", atr::kClave, key);
  ASSERT_EQ(indice_inserte(t0.zonast3, key, 1), 0);

  session_with_bases({{"", 0}});
  sesion().kinds[1].geometry = 5;
  sesion().layers[1].code_prefix[1] = 7;
  sesion().settings[kCurrentLayer] = 1;
  sesion().params[8] = 2;
  struct Case {
    int layer_kind;
    const char* code;
    int32_t record;  // existe_codigo
  };
  for (const Case& c : std::vector<Case>{{0, "1", 1}, {1, "0745", 1}, {1, "0746", 0}}) {
    sesion().layers[1].kind = static_cast<uint8_t>(c.layer_kind);
    EXPECT_EQ(existe_codigo(c.code, c.code), c.record) << c.code;
    double x = 0, y = 0, box[4] = {};
    EXPECT_EQ(codigos(c.code, &x, &y, box, 1), c.record ? 1 : 0) << c.code;
    if (!c.record) continue;
    EXPECT_TRUE(x == 7 && y == 3);
    EXPECT_TRUE(box[0] == 5 && box[1] == 1 && box[2] == 9 && box[3] == 8);
    EXPECT_EQ(sesion().settings[kWorkMode], 1);
  }
  cierre_t0();
}

// An area object of a network bounded by two arcs between two nodes:
// codigos finds it through nodo.inx and makes its arcs the work area.
TEST(AttributeCodes, AreaObjectOutlineBecomesTheWorkArea) {
  TempBase base;
  const int n = registre_red("ZONA", 3);
  ASSERT_EQ(reabra(n), 0);
  const int16_t* h = red(n)->handles;
  cx_node a{}, b{};
  a.x = 0, a.y = 0, b.x = 10, b.y = 0;
  for (const cx_node* node : {&a, &b}) {
    const int32_t r = pida_registro(h[0], 46);
    ASSERT_EQ(sescribir_nod(h[0], node, r, 46), 0);
  }
  // One arc through (5, 4), one straight back; each a desc.dat entry of the
  // area object, chained through their next-of-the-same-object field.
  const double px[1] = {5}, py[1] = {4};
  for (int i = 0; i < 2; ++i) {
    cx_arc arc{};
    arc.from_node = 1 + i, arc.to_node = 2 - i, arc.count = i == 0 ? 1 : 0;
    if (i == 0) {
      arc.block = pida_bloque(h[5], 1);
      ASSERT_EQ(grabe_puntos(h[5], arc.block, px, py, 1), 0);
    }
    const int32_t r = pida_registro(h[1], 41);
    ASSERT_EQ(sescribir_arc(h[1], &arc, r, 41), 0);
    Packed entry;
    entry.i32(r).i32(1).i32(0).i32(i == 0 ? 2 : 0).i16(1);
    ASSERT_EQ(pida_registro(h[8], 18), 1 + i);
    ASSERT_EQ(escriba_registro(h[8], entry.bytes.data(), 1 + i, 18), 0);
  }
  cx_area_object zone{};
  std::memcpy(zone.code, "07Z1", 4);
  zone.x = 5, zone.y = 1, zone.first_desc = 1;
  ASSERT_EQ(pida_registro(h[6], 48), 1);
  ASSERT_EQ(sescribir_top(h[6], &zone, 1, 48), 0);
  unsigned char key[atr::kClave];
  atr::clave_de_texto("07Z1", atr::kClave, key);
  ASSERT_EQ(indice_inserte(h[3], key, 1), 0);

  session_with_bases({{"", 0}});
  sesion().layers[1].kind = 3;
  sesion().layers[1].code_prefix[1] = 7;
  sesion().settings[kCurrentLayer] = 1;
  sesion().current_network = n;
  EXPECT_EQ(existe_codigo("Z1", "Z1"), 1);
  double x = 0, y = 0, box[4] = {}, w[4] = {};
  ASSERT_EQ(codigos("Z1", &x, &y, box, 1), 1);
  EXPECT_TRUE(x == 5 && y == 1);
  EXPECT_TRUE(box[0] == 0 && box[1] == 0 && box[2] == 10 && box[3] == 4);
  EXPECT_EQ(get_work_extents(&w[0], &w[1], &w[2], &w[3]), 4);
  EXPECT_EQ(sesion().work_arcs, 2);
  EXPECT_EQ(sesion().work.count, 5);  // 3 points, then 2
  cierred(n);
  olvide_redes();
}

}  // namespace
}  // namespace cx::testing
