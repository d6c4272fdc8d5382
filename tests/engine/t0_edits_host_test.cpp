// Rewriting, recoding and deleting T0 objects and T1 areas through the
// exports, the bulk deletes' question, the anchor marks and the limits
// test. After every edit the spatial index must agree with the records.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/temp_base.h"

namespace {

using cx::testing::close_host_file;
using cx::testing::EngineLibrary;
using cx::testing::open_host_file;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

// Every message shown; questions answered with `answer`.
struct Host {
  std::vector<std::string> texts, captions;
  int32_t answer = CX_IDOK;
};
int32_t CX_CALL host_message(void* user, int32_t, const char* caption, const char* text, int32_t) {
  Host* host = static_cast<Host*>(user);
  host->texts.push_back(text);
  host->captions.push_back(caption);
  return host->answer;
}

template <typename Record>
void append_record(const std::string& file, const Record& record) {
  ASSERT_TRUE(TempBase::append(file, record)) << file;
}

// crear_BG's base with layer 2 of T0 objects, layer 3 of T1 areas, and
// kinds 3 line and 4 text on layer 2, 5 line and 6 zone on layer 3.
class T0Edits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    CX_BIND(lib, cx_set_message_callback)(host_message, &host);
    make_base();
  }
  void make_base() {
    ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
    for (int kind : {0, 1}) {
      cx_layer l{};
      std::strcpy(l.name, kind ? "zonas" : "lineas");
      l.kind = static_cast<uint8_t>(kind);
      l.code_prefix[0] = 4;
      l.code_prefix[1] = 2;
      append_record("TABCAP.DAT", l);
    }
    const struct {
      const char* name;
      int geometry, layer;
    } kinds[] = {{"Linea", 0, 2}, {"Texto", 1, 2}, {"Borde", 0, 3}, {"Zona", 0, 3}};
    for (const auto& k : kinds) {
      cx_kind rec{};
      std::strcpy(rec.name, k.name);
      rec.colour = 9;
      rec.geometry = static_cast<uint8_t>(k.geometry);
      rec.layer = static_cast<uint8_t>(k.layer);
      append_record("TABOBJ.DAT", rec);
    }
    ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
    ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, 2), 2);
    CX_BIND(lib, set_video)(0, 0, 10000, 10000);
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }

  int32_t line(int16_t kind, double x0, double y0) {
    cx_object o{};
    o.kind = kind;
    o.x = x0;
    o.y = y0;
    o.count = 3;
    const double x[3] = {x0, x0 + 10, x0 + 20}, y[3] = {y0, y0 + 5, y0};
    return CX_BIND(lib, grabe_t0)(&o, x, y, nullptr);
  }
  // A T1 area with its outline; the outline's record.
  int32_t zone(const char* code, double x0) {
    unsigned char area[29] = {};
    std::memcpy(area + 2, code, std::strlen(code));
    cx_object o{};
    o.kind = 6;
    o.x = x0;
    o.y = x0;
    o.count = 4;
    const double x[4] = {x0, x0 + 50, x0 + 50, x0}, y[4] = {x0, x0, x0 + 50, x0};
    EXPECT_GT(CX_BIND(lib, grabe_t1)(area, &o, x, y, nullptr), 0);
    return object_count();
  }
  int32_t object_count() { return static_cast<int32_t>(TempBase::size("OBJETOS.DAT") / 31 - 1); }
  cx_object object(int32_t r) {
    cx_object o{};
    const int16_t h = static_cast<int16_t>(open_host_file("OBJETOS.DAT", false));
    CX_BIND(lib, sleer_obj)(h, &o, r, 0);
    close_host_file(h);
    return o;
  }
  bool live(int32_t r) {
    const Bytes all = TempBase::bytes("OBJETOS.DAT");
    int32_t first = 0;
    std::memcpy(&first, all.data() + 31 * r, 4);
    return first != -1;
  }
  // CUADT0.INX holds each live object once and nothing else; the live
  // objects are returned.
  std::set<int32_t> check_index() {
    std::set<int32_t> alive;
    for (int32_t r = 1; r <= object_count(); ++r)
      if (live(r)) alive.insert(r);
    std::multiset<int32_t> indexed;
    const int16_t h = static_cast<int16_t>(open_host_file("CUADT0.INX", false));
    std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
    EXPECT_EQ(CX_BIND(lib, xyinicie)(h, cursor.data(), 2500, 0, 0, 1e5, 1e5), 0);
    for (int32_t r = 0;;) {
      unsigned char key[13];
      EXPECT_EQ(CX_BIND(lib, xynext)(h, cursor.data(), 2500, key, &r), 0);
      if (r == 0) break;
      indexed.insert(r);
    }
    close_host_file(h);
    EXPECT_EQ(indexed, std::multiset<int32_t>(alive.begin(), alive.end()));
    return alive;
  }
  std::string area_code(int32_t area) {
    cx_area a{};
    const int16_t h = static_cast<int16_t>(open_host_file("AREAS.DAT", false));
    CX_BIND(lib, sleer_are)(h, &a, area, 0);
    close_host_file(h);
    return std::string(a.code, strnlen(a.code, 13));
  }

  TempBase base;
  EngineLibrary lib;
  Host host;
};

TEST_F(T0Edits, NewPointsAndTextsOrARefusalThatKeepsTheOldBlock) {
  const int32_t l = line(3, 100, 100);
  cx_object t{};
  t.kind = 4;
  t.x = t.y = 300;
  const int32_t text = CX_BIND(lib, grabe_t0)(&t, nullptr, nullptr, "Rio");
  const int32_t old_block = object(l).block;
  std::vector<double> x(301), y(301);
  for (int i = 0; i < 301; ++i) x[i] = y[i] = 100 + i;
  EXPECT_EQ(CX_BIND(lib, regrabe_poli)(l, x.data(), y.data(), 301), 0);
  EXPECT_EQ(host.texts.back(), "regrabe_poli: 301 UNIDADES NO CABEN EN UN BLOQUE (maximo 300)");
  EXPECT_EQ(+object(l).block, old_block);
  EXPECT_EQ(CX_BIND(lib, regrabe_poli)(text, x.data(), y.data(), 3), 0);
  EXPECT_EQ(+object(text).count, 4);  // a text takes no points

  EXPECT_EQ(CX_BIND(lib, regrabe_poli)(l, x.data(), y.data(), 300), 0);
  const cx_object now = object(l);
  EXPECT_EQ(+now.count, 300);
  EXPECT_GT(+now.block, old_block);
  EXPECT_EQ(+now.x, 100);  // the anchor stays
  const int16_t coorden = static_cast<int16_t>(open_host_file("COORDEN.DAT", false));
  std::vector<double> bx(300), by(300);
  EXPECT_EQ(CX_BIND(lib, lea_coord)(coorden, now.block, bx.data(), by.data(), 300), 0);
  EXPECT_EQ(bx[299], 399);
  EXPECT_EQ(by[0], 100);

  // A text is cut at 255 characters; a line takes no text.
  const std::string long_text(300, 'a');
  EXPECT_EQ(CX_BIND(lib, regrabe_texto)(text, long_text.c_str()), 0);
  const cx_object renamed = object(text);
  EXPECT_EQ(+renamed.count, 256);
  char stored[256] = {};
  EXPECT_EQ(CX_BIND(lib, lea_bytes)(coorden, renamed.block, stored, 256), 0);
  EXPECT_EQ(std::string(stored), long_text.substr(0, 255));
  close_host_file(coorden);
  EXPECT_EQ(CX_BIND(lib, regrabe_texto)(l, "x"), 0);
  EXPECT_EQ(+object(l).count, 300);
  check_index();
}

TEST_F(T0Edits, DeletesRemoveEveryEntryOrNothing) {
  const int32_t a = line(3, 100, 100), b = line(3, 200, 100);
  ASSERT_EQ(CX_BIND(lib, del_t0)(a), 0);
  EXPECT_EQ(check_index(), std::set<int32_t>{b});
  EXPECT_EQ(CX_BIND(lib, del_t0)(a), -1);
  EXPECT_EQ(host.texts.back(), "del_t0: OBJETO 1 NO EXISTE");

  // An object whose record moved behind the engine's back has no entry
  // where it is: it stays.
  cx_object moved = object(b);
  moved.x = 5000;
  const int16_t h = static_cast<int16_t>(open_host_file("OBJETOS.DAT", true));
  ASSERT_EQ(CX_BIND(lib, sescribir_obj)(h, &moved, b, 31), 0);
  close_host_file(h);
  EXPECT_EQ(CX_BIND(lib, del_t0)(b), -1);
  EXPECT_EQ(host.texts.back(), "Error eliminando i. espacial");
  EXPECT_TRUE(live(b));

  // A T1 area leaves with its outline; its code is free again.
  ASSERT_EQ(CX_BIND(lib, set_consts)(24, 3), 3);
  const int32_t north = zone("NORTE", 1000), south = zone("SUR", 2000);
  EXPECT_EQ(area_code(object(north).area), "42NORTE");
  EXPECT_EQ(CX_BIND(lib, del_t1)(a), -1);  // given back already
  EXPECT_EQ(CX_BIND(lib, del_t1)(north), 0);
  EXPECT_FALSE(live(north));
  EXPECT_EQ(CX_BIND(lib, edit_co1)(south, "NORTE", 0), 0);
  EXPECT_EQ(area_code(object(south).area), "42NORTE");
}

TEST_F(T0Edits, ACodeTakenIsRefusedAndTheOldOneFreed) {
  ASSERT_EQ(CX_BIND(lib, set_consts)(24, 3), 3);
  const int32_t north = zone("NORTE", 1000), south = zone("SUR", 2000);
  host.texts.clear();
  EXPECT_EQ(CX_BIND(lib, edit_co1)(south, "NORTE", 0), -1);
  EXPECT_EQ(host.texts, (std::vector<std::string>{"ERROR: ya existe codigo ", "cancelado..."}));
  EXPECT_EQ(area_code(object(south).area), "42SUR");
  EXPECT_EQ(CX_BIND(lib, edit_co1)(south, "OESTE-LEJANO-12", 0), 0);
  EXPECT_EQ(area_code(object(south).area), "42OESTE-LEJAN");  // 11 characters
  EXPECT_EQ(CX_BIND(lib, edit_co1)(north, "SUR", 0), 0);
  EXPECT_EQ(CX_BIND(lib, edit_co1)(north, "OESTE-LEJANO", 0), -1);
  // Not an outline, not a layer of areas.
  EXPECT_EQ(CX_BIND(lib, edit_co1)(line(5, 10, 10), "X", 0), -1);
  ASSERT_EQ(CX_BIND(lib, set_consts)(24, 2), 2);
  EXPECT_EQ(CX_BIND(lib, edit_co1)(north, "X", 0), -1);
  EXPECT_EQ(host.texts.back(), "edit_co1: LA CAPA ACTUAL NO ES DE AREAS T1");
}

TEST_F(T0Edits, BulkDeletesAskThenDeleteWhatTheirFilterSelects) {
  // Layer 2 holds lines (kind 3) and a text (kind 4) in the window and a
  // line far outside it; layer 3 a zone in the window.
  struct {
    const char* name;
    int16_t current_kind;
    int32_t answer;
    std::set<int32_t> left;  // of layer 2's records 1..4
  } const cases[] = {
      {"del_capa", 3, CX_IDCANCEL, {1, 2, 3, 4}},
      {"del_capa", 3, CX_IDOK, {4}},
      {"del_tipo", 4, CX_IDOK, {1, 2, 4}},
      {"del_clase", 5, CX_IDOK, {3, 4}},  // point lists, not the text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CX_BIND(lib, end_cons)(0);
    const TempBase fresh;
    make_base();
    ASSERT_EQ(line(3, 100, 100), 1);
    ASSERT_EQ(line(3, 150, 100), 2);
    cx_object t{};
    t.kind = 4;
    t.x = t.y = 300;
    ASSERT_EQ(CX_BIND(lib, grabe_t0)(&t, nullptr, nullptr, "Rio"), 3);
    ASSERT_EQ(line(3, 90000, 90000), 4);
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, 3), 3);
    const int32_t z = zone("NORTE", 500);
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, 2), 2);
    ASSERT_EQ(CX_BIND(lib, set_consts)(25, c.current_kind), c.current_kind);
    EXPECT_EQ(CX_BIND(lib, correctores)(12), 3);  // the anchors of the layer in the window
    host.answer = c.answer;
    host.texts.clear();
    const std::string name = c.name;
    if (name == "del_capa") CX_BIND(lib, del_capa)(0);
    if (name == "del_tipo") CX_BIND(lib, del_tipo)(0);
    if (name == "del_clase") CX_BIND(lib, del_clase)(0);
    ASSERT_FALSE(host.texts.empty());
    EXPECT_EQ(host.captions.front(), "Confirme eliminaci\xf3n");
    const int listed = name == "del_capa" ? 3 : name == "del_tipo" ? 1 : 2;
    EXPECT_EQ(host.texts.front(),
              "ATENCION: desea eliminar " + std::to_string(listed) + " objetos? ");
    std::set<int32_t> left = check_index();
    EXPECT_TRUE(left.count(z));
    left.erase(z);
    EXPECT_EQ(left, c.left);
    CX_BIND(lib, end_cons)(0);
  }
}

TEST_F(T0Edits, TheLimitsPolygonHoldsWhatLiesInsideIt) {
  EXPECT_EQ(CX_BIND(lib, esta_en_despl)(-1e9, 5), 1);  // no polygon
  // An L: the notch is inside the bounding box but outside the polygon.
  const double x[6] = {0, 100, 100, 50, 50, 0}, y[6] = {0, 0, 50, 50, 100, 100};
  CX_BIND(lib, set_lims)(6, x, y);
  for (auto [px, py, in] : {std::tuple{10.0, 10.0, 1},
                            {75.0, 75.0, 0},
                            {25.0, 90.0, 1},
                            {150.0, 10.0, 0},
                            {50.0, 50.0, 1}})
    EXPECT_EQ(CX_BIND(lib, esta_en_despl)(px, py), in) << px << ", " << py;
}

}  // namespace
