// Moving nodes and area labels, recoding area objects, the bulk deletes of
// a network and the highlight, through the exports. After every edit a
// checker walks the records, the node lists and the spatial index.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::keep_message;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

constexpr double kRightAngle = 1.5707963267948966;

template <typename Record>
void append_record(const std::string& file, const Record& record) {
  ASSERT_TRUE(TempBase::append(file, record)) << file;
}

// crear_BG's base (layer 1 of areas on "topo", kinds 1 arc and 2 node) with
// kind 3, an area kind, and layer 2, a network of kind 2 ("red2") with
// kinds 4 node and 5 arc.
class NetworkEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    CX_BIND(lib, cx_set_message_callback)(keep_message, &messages);
    make_base();
  }
  void make_base() {
    ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
    cx_layer roads{};
    std::strcpy(roads.name, "vias");
    roads.kind = 2;
    std::strcpy(roads.network_prefix, "red2");
    append_record("TABCAP.DAT", roads);
    const struct {
      const char* name;
      int geometry, layer;
    } kinds[] = {{"Zona", 0, 1}, {"Cruce", 3, 2}, {"Via", 4, 2}};
    for (const auto& k : kinds) {
      cx_kind rec{};
      std::strcpy(rec.name, k.name);
      rec.colour = 10;
      rec.geometry = static_cast<uint8_t>(k.geometry);
      rec.layer = static_cast<uint8_t>(k.layer);
      append_record("TABOBJ.DAT", rec);
    }
    ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
    ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
    CX_BIND(lib, set_video)(0, 0, 10000, 10000);
    layer(2);
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }

  void layer(int16_t n) {
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, n), n);
    int16_t count = 0;
    CX_BIND(lib, get_red)(red, CX_BIND(lib, get_red_act)(0), &count);
  }
  int32_t node(double x, double y) {
    cx_node code{};
    cx_object at{};
    at.kind = red[9] == 2 ? 4 : 2;
    at.x = x;
    at.y = y;
    return CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
  }
  // An arc through the given intermediate points (by default one, off the
  // straight line).
  int32_t arc(int32_t from, int32_t to, std::vector<std::pair<double, double>> mid = {}) {
    const cx_node a = read_node(from), b = read_node(to);
    if (mid.empty()) mid = {{(a.x + b.x) / 2, (a.y + b.y) / 2 + 7}};
    std::vector<double> x{a.x}, y{a.y};
    for (const auto& [px, py] : mid) {
      x.push_back(px);
      y.push_back(py);
    }
    x.push_back(b.x);
    y.push_back(b.y);
    cx_arc ends{};
    ends.from_node = from;
    ends.to_node = to;
    cx_object line{};
    line.kind = red[9] == 2 ? 5 : 1;
    line.count = static_cast<int16_t>(mid.size());
    return CX_BIND(lib, grabe_arco)(&ends, &line, x.data(), y.data(), 0, red);
  }
  cx_node read_node(int32_t n) {
    cx_node node{};
    EXPECT_EQ(CX_BIND(lib, sleer_nod)(red[0], &node, n, 0), 0);
    return node;
  }
  bool live(int16_t handle, int32_t n, int32_t size) {
    std::vector<unsigned char> raw(static_cast<std::size_t>(size));
    if (CX_BIND(lib, sleer)(handle, raw.data(), n, size) != 0) return false;
    int32_t first = 0;
    std::memcpy(&first, raw.data(), 4);
    return first != -1;
  }
  // Parameter 8, the search margin, or sets it (and parameter 13).
  double margin(double set = -1, double tolerance = 10) {
    double p[13] = {};
    int16_t units = 0, yaxis = 0, state = 0;
    CX_BIND(lib, get_params)
    (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, &yaxis, &state, &p[12]);
    if (set >= 0) {
      p[7] = set;
      p[12] = tolerance;
      CX_BIND(lib, set_params)
      (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, nullptr, nullptr,
       &p[12]);
    }
    return p[7];
  }
  // The records of a spatial index in the window, with their key points.
  std::map<int32_t, std::pair<double, double>> query(int16_t index, double x1, double y1, double x2,
                                                     double y2) {
    std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
    EXPECT_EQ(CX_BIND(lib, xyinicie)(index, cursor.data(), 2500, x1, y1, x2, y2), 0);
    std::map<int32_t, std::pair<double, double>> out;
    for (int32_t r = 0;;) {
      unsigned char key[13];
      EXPECT_EQ(CX_BIND(lib, xynext)(index, cursor.data(), 2500, key, &r), 0);
      if (r == 0) break;
      double x = 0, y = 0;
      CX_BIND(lib, xycalcxy)(0, &x, &y, key, nullptr);
      EXPECT_FALSE(out.count(r)) << "record " << r << " indexed twice";
      out[r] = {x, y};
    }
    return out;
  }
  // Every live node is indexed once under its position and nothing else
  // is; every list entry names an arc ending at its node; every live arc is
  // on its nodes' lists twice in all. The live nodes and arcs.
  std::pair<std::set<int32_t>, std::set<int32_t>> check_network(int32_t nodes, int32_t arcs) {
    const auto indexed = query(red[2], 0, 0, 1e5, 1e5);
    std::set<int32_t> alive, alive_arcs;
    std::map<int32_t, int> listed;
    for (int32_t n = 1; n <= nodes; ++n) {
      if (!live(red[0], n, 46)) continue;
      alive.insert(n);
      const cx_node node = read_node(n);
      const auto at = indexed.find(n);
      EXPECT_TRUE(at != indexed.end()) << "node " << n << " not indexed";
      if (at != indexed.end()) {
        EXPECT_NEAR(at->second.first, +node.x, 0.1);
        EXPECT_NEAR(at->second.second, +node.y, 0.1);
      }
      for (int32_t entry = node.first_list, guard = 0; entry != 0 && guard < 100; ++guard) {
        int32_t e[4];
        EXPECT_EQ(CX_BIND(lib, sleer)(red[4], e, entry, 16), 0);
        cx_arc a{};
        EXPECT_EQ(CX_BIND(lib, sleer_arc)(red[1], &a, e[0], 0), 0);
        EXPECT_TRUE(a.from_node == n || a.to_node == n) << "arc " << e[0] << " at " << n;
        ++listed[e[0]];
        entry = e[1];
      }
    }
    EXPECT_EQ(indexed.size(), alive.size());
    for (int32_t e = 1; e <= arcs; ++e) {
      const bool is = live(red[1], e, 41);
      if (is) alive_arcs.insert(e);
      EXPECT_EQ(listed.count(e) ? listed[e] : 0, is ? 2 : 0) << "arc " << e;
    }
    return {alive, alive_arcs};
  }

  TempBase base;
  EngineLibrary lib;
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
};

TEST_F(NetworkEdits, AMovedNodeTakesItsKeyAlongOrStaysWhenTheKeyIsMissing) {
  const int32_t A = node(1000, 1000), B = node(1100, 1000), C = node(1000, 1100);
  arc(A, B);
  arc(C, A);
  ASSERT_EQ(CX_BIND(lib, regrabe_nodo)(A, 3000, 3100, kRightAngle), 0);
  const cx_node moved = read_node(A);
  EXPECT_EQ(+moved.x, 3000);
  EXPECT_EQ(+moved.y, 3100);
  EXPECT_EQ(+moved.rotation, 900);
  EXPECT_EQ(query(red[2], 990, 990, 1010, 1010).size(), 0u);
  EXPECT_EQ(query(red[2], 2990, 3090, 3010, 3110).count(A), 1u);
  check_network(3, 2);

  // The record moved behind the engine's back: the key it would be filed
  // under is not in the index, and nothing changes.
  cx_node stray = read_node(B);
  stray.x = 7000;
  ASSERT_EQ(CX_BIND(lib, sescribir_nod)(red[0], &stray, B, 46), 0);
  EXPECT_EQ(CX_BIND(lib, regrabe_nodo)(B, 8000, 8000, 0), -1);
  EXPECT_EQ(messages.back(), "Error en indice xyt2");
  EXPECT_EQ(+read_node(B).x, 7000);
  EXPECT_EQ(query(red[2], 1090, 990, 1110, 1010).count(B), 1u);
  EXPECT_EQ(CX_BIND(lib, regrabe_nodo)(99, 0, 0, 0), -1);
  EXPECT_EQ(messages.back(), "NO se encontro nodo ");
}

TEST_F(NetworkEdits, AnAreaLabelMovesAndItsCodeChangesUnlessTaken) {
  layer(1);
  cx_object label{};
  label.kind = 3;
  label.x = label.y = 500;
  const int32_t a = CX_BIND(lib, grabe_t3)("zona", nullptr, &label);
  const int32_t b = CX_BIND(lib, grabe_t3)("otra", nullptr, &label);
  ASSERT_EQ(CX_BIND(lib, resitue_t3)(a, 4000, 4100, kRightAngle), 0);
  cx_area_object back{};
  ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &back, a, 0), 0);
  EXPECT_EQ(+back.x, 4000);
  EXPECT_EQ(+back.rotation, 900);
  const auto labels = query(red[7], 0, 0, 1e5, 1e5);
  EXPECT_EQ(labels.size(), 2u);
  EXPECT_NEAR(labels.at(a).second, 4100, 0.1);
  EXPECT_NEAR(labels.at(b).second, 500, 0.1);

  messages.clear();
  EXPECT_EQ(CX_BIND(lib, edit_co3)(b, "zona", 0), -1);
  EXPECT_EQ(messages, (std::vector<std::string>{"ERROR: ya existe codigo ", "cancelado..."}));
  EXPECT_EQ(CX_BIND(lib, edit_co3)(b, "nueva", 0), 0);
  ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &back, b, 0), 0);
  EXPECT_EQ(std::string(back.code), "00nueva");
  EXPECT_EQ(CX_BIND(lib, edit_co3)(a, "otra", 0), 0);  // b's old code is free
  EXPECT_EQ(CX_BIND(lib, edit_co3)(a, "nueva", 0), -1);
}

TEST_F(NetworkEdits, BulkDeletesTakeArcsFirstThenTheNodesLeftBare) {
  // A - B - C joined by arcs 1 and 2, D alone, E far outside the window.
  struct {
    const char* name;
    int16_t current_kind;
    std::set<int32_t> nodes, arcs;  // left
  } const cases[] = {
      {"del_capa", 4, {5}, {}},
      {"del_tipo", 4, {1, 2, 3, 5}, {1, 2}},  // only the bare node is of kind 4 and free
      {"del_tipo", 5, {1, 2, 3, 4, 5}, {}},
      {"del_clase", 5, {1, 2, 3, 4, 5}, {}},
      {"del_clase", 4, {1, 2, 3, 5}, {1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.current_kind));
    CX_BIND(lib, end_cons)(0);
    const TempBase fresh;
    make_base();
    const int32_t A = node(100, 100), B = node(200, 100), C = node(300, 100);
    node(400, 400);
    node(90000, 90000);
    arc(A, B);
    arc(B, C);
    ASSERT_EQ(CX_BIND(lib, set_consts)(25, c.current_kind), c.current_kind);
    const std::string name = c.name;
    if (name == "del_capa") CX_BIND(lib, del_capa)(0);
    if (name == "del_tipo") CX_BIND(lib, del_tipo)(0);
    if (name == "del_clase") CX_BIND(lib, del_clase)(0);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "ATENCION: desea eliminar 4 objetos? ");
    messages.clear();
    const auto left = check_network(5, 2);
    EXPECT_EQ(left.first, c.nodes);
    EXPECT_EQ(left.second, c.arcs);
    EXPECT_TRUE(messages.empty()) << messages.front();
    CX_BIND(lib, end_cons)(0);
  }
}

TEST_F(NetworkEdits, ALineSplitsTheArcsItMeetsWhereItJoinsOrLeavesThem) {
  // A triangle area whose base A-B has vertices at x = 1250, 1500, 1750.
  struct {
    const char* name;
    std::vector<std::pair<double, double>> line;
    int32_t nodes, arcs;  // afterwards
    double margin;        // parameter 8 afterwards, from 600
  } const cases[] = {
      {"touching a vertex", {{1500, 500}, {1500, 1000}, {1500, 1500}}, 4, 4, 1000},
      {"along three vertices",
       {{1100, 500}, {1250, 1000}, {1500, 1000}, {1750, 1000}, {1900, 500}},
       5,
       5,
       800},
      {"along them backwards", {{1900, 500}, {1750, 1000}, {1500, 1000}, {1250, 1000}}, 5, 5, 650},
      {"two points", {{1500, 1000}, {1500, 1500}}, 3, 3, 600},
      {"an end node only", {{1000, 1000}, {900, 900}, {800, 1000}}, 3, 3, 600},
      {"closed, through one vertex",
       {{1250, 1000}, {1250, 500}, {1100, 500}, {1250, 1000}},
       4,
       4,
       600},
      {"far away", {{9000, 9000}, {9100, 9000}, {9050, 9050}}, 3, 3, 600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CX_BIND(lib, end_cons)(0);
    const TempBase fresh;
    make_base();
    layer(1);
    margin(600);
    const int32_t A = node(1000, 1000), B = node(2000, 1000), C = node(1500, 2000);
    const int32_t ab = arc(A, B, {{1250, 1000}, {1500, 1000}, {1750, 1000}});
    cx_object label{};
    label.kind = 3;
    label.x = label.y = 1500;
    const int32_t a = CX_BIND(lib, grabe_t3)("zona", nullptr, &label);
    for (int32_t e : {ab, arc(B, C), arc(C, A)}) ASSERT_EQ(CX_BIND(lib, agregue_arco)(a, e), 0);
    cx_area_object object{};
    double before = 0, perimeter = 0, area = 0, after = 0;
    ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, a, 0), 0);
    ASSERT_EQ(CX_BIND(lib, topo_area)(&object, &before, &perimeter), 3);

    std::vector<double> x, y;
    for (const auto& [px, py] : c.line) {
      x.push_back(px);
      y.push_back(py);
    }
    EXPECT_EQ(CX_BIND(lib, verifique_topologia)(static_cast<int16_t>(x.size()), x.data(), y.data()),
              0);
    const auto left = check_network(c.nodes + 1, c.arcs + 1);
    EXPECT_EQ(left.first.size(), static_cast<std::size_t>(c.nodes));
    EXPECT_EQ(left.second.size(), static_cast<std::size_t>(c.arcs));
    // Every half bounds the area, which keeps its measures and closes.
    ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, a, 0), 0);
    EXPECT_EQ(CX_BIND(lib, topo_area)(&object, &area, &after), c.arcs);
    EXPECT_NEAR(area, before, 1e-6);
    EXPECT_NEAR(after, perimeter, 1e-6);
    ASSERT_EQ(CX_BIND(lib, set_consts)(25, 3), 3);
    EXPECT_EQ(CX_BIND(lib, cerradura)(a), 0);
    EXPECT_EQ(messages.back(), "Area cerrada ok");
    // The margin grew to the line's extent.
    EXPECT_EQ(margin(), c.margin);
    CX_BIND(lib, end_cons)(0);
  }
}

TEST_F(NetworkEdits, ADigitizedLineSplitsTheArcsItRunsAlongWhenAskedToVerify) {
  // The line runs along the base's vertices at x = 1250, 1500, 1750: with
  // the check its middle piece is the base's split-off part, without it the
  // line is one new arc beside the base.
  for (int16_t verify : {0, 1}) {
    SCOPED_TRACE(verify);
    CX_BIND(lib, end_cons)(0);
    const TempBase fresh;
    make_base();
    layer(1);
    margin(600);
    const int32_t A = node(1000, 1000), B = node(2000, 1000);
    arc(A, B, {{1250, 1000}, {1500, 1000}, {1750, 1000}});
    const double x[] = {1100, 1250, 1500, 1750, 1900}, y[] = {500, 1000, 1000, 1000, 500};
    ASSERT_EQ(CX_BIND(lib, dig_segment)(5, x, y, 0, verify), verify ? 3 : 1);
    const auto left = check_network(verify ? 6 : 4, verify ? 5 : 2);
    EXPECT_EQ(left.first.size(), verify ? 6u : 4u);
    EXPECT_EQ(left.second.size(), verify ? 5u : 2u);
    EXPECT_EQ(margin(), verify ? 800 : 600);
    EXPECT_TRUE(messages.empty()) << messages.front();
    CX_BIND(lib, end_cons)(0);
  }
}

TEST_F(NetworkEdits, AHighlightDrawnTwiceIsGone) {
  const int32_t n = node(5000, 5000);
  const int32_t hdc = CX_BIND(lib, crear_dispositivo)(100, 100);
  CX_BIND(lib, gabrest)(0, 0, 100, 100, hdc);
  CX_BIND(lib, set_video)(0, 0, 10000, 10000);
  std::vector<uint8_t> before(100 * 100 * 4), now(before.size());
  ASSERT_EQ(CX_BIND(lib, copiar_pixeles)(hdc, before.data()), 0);
  for (bool drawn : {true, false}) {
    EXPECT_EQ(CX_BIND(lib, edit_nodot23)(n), 0);
    ASSERT_EQ(CX_BIND(lib, copiar_pixeles)(hdc, now.data()), 0);
    EXPECT_EQ(now != before, drawn);
  }
  EXPECT_EQ(CX_BIND(lib, gaeor)(), 0);
  CX_BIND(lib, liberar_dispositivo)(hdc);
}

}  // namespace
