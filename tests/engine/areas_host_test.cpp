// Area objects described by their arcs, through the exports: adding and
// removing arcs, the closure check, areas and perimeters with holes, and
// the plain measures of point lists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "support/area_base.h"
#include "support/engine_library.h"
#include "support/host_files.h"
#include "support/network_check.h"
#include "support/temp_base.h"

namespace {

using cx::testing::close_host_file;
using cx::testing::EngineLibrary;
using cx::testing::open_host_file;
using cx::testing::TempBase;

// An area base (support/area_base.h).
class Areas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    ASSERT_TRUE(cx::testing::open_area_base(lib, "Zona", &messages, red));
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }

  int32_t node(double x, double y) {
    cx_node code{};
    cx_object at{};
    at.kind = 2;
    at.x = x;
    at.y = y;
    return CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
  }
  // A straight arc between two nodes.
  int32_t arc(int32_t from, int32_t to) {
    cx_node a{}, b{};
    CX_BIND(lib, sleer_nod)(red[0], &a, from, 0);
    CX_BIND(lib, sleer_nod)(red[0], &b, to, 0);
    const double x[2] = {a.x, b.x}, y[2] = {a.y, b.y};
    cx_arc ends{};
    ends.from_node = from;
    ends.to_node = to;
    cx_object line{};
    line.kind = 1;
    return CX_BIND(lib, grabe_arco)(&ends, &line, x, y, 0, red);
  }
  int32_t area_of(const std::vector<int32_t>& arcs) {
    cx_object label{};
    label.kind = 3;
    const int32_t a = CX_BIND(lib, grabe_t3)("zona", nullptr, &label);
    for (int32_t e : arcs) EXPECT_EQ(CX_BIND(lib, agregue_arco)(a, e), 0);
    return a;
  }
  // topo_area's area and perimeter, and the arcs it read.
  int16_t measure(int32_t a, double* area, double* perimeter) {
    cx_area_object object{};
    EXPECT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, a, 0), 0);
    return CX_BIND(lib, topo_area)(&object, area, perimeter);
  }

  // Checks that the network's records and indexes agree.
  void check_network() { EXPECT_EQ(cx::testing::network_problems(lib, red, "TOPO"), ""); }

  TempBase base;
  EngineLibrary lib;
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
};

TEST_F(Areas, SquareOfSide100InEveryUnit) {
  struct {
    int16_t units;
    double area, length;
  } const cases[] = {{0, 10000, 400}, {1, 1, 400}, {2, 0.01, 0.4}};
  for (const auto& c : cases) {
    ASSERT_EQ(CX_BIND(lib, set_consts)(10, c.units), c.units);
    double x[5] = {100, 200, 200, 100, -1}, y[5] = {100, 100, 200, 200, -1};
    double area = -1, length = -1;
    EXPECT_EQ(CX_BIND(lib, area_calc)(x, y, 4, &area), 0);
    EXPECT_DOUBLE_EQ(area, c.area) << "units " << c.units;
    EXPECT_EQ(x[4], 100);  // closed by the call
    EXPECT_EQ(y[4], 100);
    EXPECT_EQ(CX_BIND(lib, long_calc)(x, y, 5, &length), 0);
    EXPECT_DOUBLE_EQ(length, c.length) << "units " << c.units;
    EXPECT_EQ(CX_BIND(lib, area_calc)(x, y, 2, &area), 0);
    EXPECT_EQ(area, 0);
  }
}

TEST_F(Areas, ATriangleWithAReversedArcClosesOnceAndMeasures) {
  const int32_t A = node(1000, 1000), B = node(1100, 1000), C = node(1000, 1100);
  const int32_t ab = arc(A, B), cb = arc(C, B), ca = arc(C, A);
  const int32_t a = area_of({ab, cb, ca});
  // Adding an arc twice is refused and leaves one entry.
  EXPECT_EQ(CX_BIND(lib, agregue_arco)(a, cb), -1);
  EXPECT_EQ(messages.back(), "Arco 2 ya esta en Zona 00zona [1]");
  double area = 0, perimeter = 0;
  EXPECT_EQ(measure(a, &area, &perimeter), 3);
  EXPECT_NEAR(area, 5000, 1e-9);
  EXPECT_NEAR(perimeter, 200 + 100 * std::sqrt(2.0), 1e-9);
  EXPECT_EQ(CX_BIND(lib, cerradura)(a), 0);
  EXPECT_EQ(messages.back(), "Area cerrada ok");

  // Without its last arc the ring is open at B's far side; an arc that
  // is not there cannot leave.
  EXPECT_EQ(CX_BIND(lib, retire_arco)(a, ca), 0);
  EXPECT_EQ(messages.back(), "Ok.. arco sale");
  EXPECT_EQ(CX_BIND(lib, retire_arco)(a, ca), -1);
  EXPECT_EQ(messages.back(), "Arco NO esta en area");
  EXPECT_EQ(CX_BIND(lib, cerradura)(a), 1);
  EXPECT_EQ(messages.back(), "Area NO esta cerrada  (o tiene huecos, o es disyunta!)..");
  EXPECT_EQ(measure(a, &area, &perimeter), 2);

  // Two arcs that do not meet: a gap, told apart from a closed ring.
  const int32_t D = node(1200, 1200), E = node(1300, 1200);
  const int32_t gap = area_of({ab, arc(D, E)});
  EXPECT_EQ(CX_BIND(lib, cerradura)(gap), CX_CERRADURA_GAP);
  EXPECT_EQ(messages.back(), "Area NO esta cerrada (o tiene huecos, o es disyunta!)..");
  EXPECT_EQ(CX_BIND(lib, cerradura)(area_of({cb})), CX_CERRADURA_FEW);

  // Not an area kind: no test.
  ASSERT_EQ(CX_BIND(lib, set_consts)(25, 1), 1);
  EXPECT_EQ(CX_BIND(lib, cerradura)(a), -1);
}

TEST_F(Areas, AHoleSubtractsWhicheverWayItsArcsRun) {
  // Two squares whose arcs run the same way: 100 x 100 with a 20 x 20 hole.
  auto square = [&](double x0, double side) {
    const int32_t n[4] = {node(x0, x0), node(x0 + side, x0), node(x0 + side, x0 + side),
                          node(x0, x0 + side)};
    return std::vector<int32_t>{arc(n[0], n[1]), arc(n[1], n[2]), arc(n[2], n[3]), arc(n[3], n[0])};
  };
  std::vector<int32_t> arcs = square(5000, 100);
  for (int32_t e : square(5040, 20)) arcs.push_back(e);
  const int32_t a = area_of(arcs);
  double area = 0, perimeter = 0;
  EXPECT_EQ(measure(a, &area, &perimeter), 8);
  EXPECT_NEAR(area, 10000 - 400, 1e-9);
  EXPECT_NEAR(perimeter, 480, 1e-9);
  // The hole is outside the area, the ring between them inside.
  EXPECT_EQ(CX_BIND(lib, esta_dentro)(5050, 5050, a, 1), 0);
  EXPECT_EQ(CX_BIND(lib, esta_dentro)(5010, 5050, a, 1), -1);
  EXPECT_EQ(CX_BIND(lib, esta_dentro)(4990, 5050, a, 1), 0);
  cx_area_object empty{};
  EXPECT_EQ(CX_BIND(lib, topo_area)(&empty, &area, &perimeter), 0);
  EXPECT_EQ(area, 0);
}

TEST_F(Areas, WorkAreaModesUnderEachInclusion) {
  // A point inside, one near the boundary outside, one far away; for each
  // work area the four inclusion modes.
  struct {
    const char* name;
    void (*set)(EngineLibrary&);
    int16_t want[3][4];  // point x inclusion mode 0..3
  } const cases[] = {
      {"none", [](EngineLibrary&) {}, {{1, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 1}}},
      {"rectangle",
       [](EngineLibrary& l) {
         CX_BIND(l, set_workxy)
         (0, 0, 100, 100);
       },
       {{1, 0, 0, 1}, {0, 1, 1, 0}, {0, 1, 0, 1}}},
      {"circle",
       [](EngineLibrary& l) {
         CX_BIND(l, set_workcirc)
         (50, 50, 50);
       },
       {{1, 0, 0, 1}, {0, 1, 1, 0}, {0, 1, 0, 1}}},
      {"polygon",
       [](EngineLibrary& l) {
         const double x[4] = {0, 100, 100, 0}, y[4] = {0, 0, 100, 100};
         CX_BIND(l, set_workpol)(4, x, y);
       },
       {{1, 0, 0, 1}, {0, 1, 1, 0}, {0, 1, 0, 1}}},
  };
  const double points[3][2] = {{50, 50}, {103, 50}, {500, 500}};
  for (const auto& c : cases) {
    c.set(lib);
    for (int p = 0; p < 3; ++p)
      for (int16_t mode = 0; mode < 4; ++mode) {
        EXPECT_EQ(CX_BIND(lib, set_inclusion)(mode, 5), mode);
        EXPECT_EQ(CX_BIND(lib, esta_en)(points[p][0], points[p][1]), c.want[p][mode])
            << c.name << " point " << p << " mode " << mode;
      }
  }
}

TEST_F(Areas, NodesAndArcsLeaveOnlyWhenNothingDependsOnThem) {
  const double tolerance = 10, d = 0;
  const int16_t units = 0;
  CX_BIND(lib, set_params)
  (&d, &d, &d, &d, &d, &d, &d, &d, &d, &units, nullptr, nullptr, &tolerance);
  const int32_t A = node(2000, 2000), B = node(2100, 2000), C = node(2000, 2100);
  const int32_t ab = arc(A, B), bc = arc(B, C);
  // Half the tolerance: a node 6 away is not found, 4 away is.
  EXPECT_EQ(CX_BIND(lib, busque_nodo)(2006, 2000), 0);
  EXPECT_EQ(CX_BIND(lib, busque_nodo)(2104, 2000), B);

  cx_node a{};
  ASSERT_EQ(CX_BIND(lib, sleer_nod)(red[0], &a, A, 0), 0);
  EXPECT_EQ(CX_BIND(lib, del_nodo)(A), -1);
  EXPECT_EQ(messages.back(),
            "NO se puede eliminar. hay arcos (" + std::to_string(a.first_list) + ")");
  // An arc of an area stays.
  const int32_t area = area_of({ab});
  cx_node b{};
  ASSERT_EQ(CX_BIND(lib, sleer_nod)(red[0], &b, B, 0), 0);
  // B's list: bc's entry is the head, ab's follows it.
  int32_t head[4];
  ASSERT_EQ(CX_BIND(lib, sleer)(red[4], head, b.first_list, 16), 0);
  const int32_t b_ab = head[1];
  EXPECT_EQ(CX_BIND(lib, borre_arco)(A, B, a.first_list, b_ab, ab), 0);
  EXPECT_EQ(messages.back().rfind("No se borra: arco usado por algun area.", 0), 0u);
  // A wrong list entry changes nothing.
  EXPECT_EQ(CX_BIND(lib, retire_arco)(area, ab), 0);
  EXPECT_EQ(CX_BIND(lib, borre_arco)(A, B, a.first_list, b_ab + 100, ab), 0);
  EXPECT_EQ(messages.back(), "ERROR DEL SISTEMA: Debe REGENERAR listas T2");
  check_network();
  // Now the arc goes, then its node.
  EXPECT_EQ(CX_BIND(lib, borre_arco)(A, B, a.first_list, b_ab, ab), 0);
  check_network();
  EXPECT_EQ(CX_BIND(lib, del_nodo)(A), 0);
  check_network();
  EXPECT_EQ(CX_BIND(lib, busque_nodo)(2000, 2000), 0);
  EXPECT_EQ(CX_BIND(lib, del_nodo)(A), -1);  // already gone: its index entry is missing
  check_network();
  (void)bc;
  (void)C;
}

TEST_F(Areas, ReshapedArcsAndMovedObjectsKeepTheirIndexes) {
  const int32_t A = node(3000, 3000), B = node(3100, 3000);
  const int32_t e = arc(A, B);
  const double x[4] = {3000, 3030, 3060, 3100}, y[4] = {3000, 3010, 2990, 3000};
  struct {
    int16_t n;
    int16_t count;  // intermediate points afterwards
  } const cases[] = {{4, 2}, {2, 0}, {4, 2}, {303, 2}};
  std::vector<double> many_x(303, 3050), many_y(303, 3050);
  for (const auto& c : cases) {
    const bool big = c.n > 4;
    EXPECT_EQ(CX_BIND(lib, regrabe_arco)(e, big ? many_x.data() : x, big ? many_y.data() : y, c.n),
              0);
    cx_arc got{};
    ASSERT_EQ(CX_BIND(lib, sleer_arc)(red[1], &got, e, 0), 0);
    ASSERT_EQ(got.count, c.count) << "n " << c.n;
    if (got.count > 0) {
      double gx[2], gy[2];
      ASSERT_EQ(CX_BIND(lib, lea_coord)(red[5], got.block, gx, gy, 2), 0);
      EXPECT_EQ(gx[0], x[1]);  // the refused reshape kept the old points
      EXPECT_EQ(gy[1], y[2]);
    } else {
      EXPECT_EQ(got.block, 0);
    }
  }
  EXPECT_EQ(messages.back(), "regrabe_arco: 301 UNIDADES NO CABEN EN UN BLOQUE (maximo 300)");

  ASSERT_EQ(CX_BIND(lib, abra_t0)(0), 1);
  cx_object mark{};
  mark.kind = 2;
  mark.x = 3000;
  mark.y = 3000;
  const int32_t r = CX_BIND(lib, grabe_t0)(&mark, nullptr, nullptr, nullptr);
  ASSERT_GT(r, 0);
  ASSERT_EQ(CX_BIND(lib, resitue_t01)(r, 7600, 4100, std::acos(0.0)), 0);
  cx_object moved{};
  const auto objects = static_cast<int16_t>(open_host_file("OBJETOS.DAT", false));
  const auto index = static_cast<int16_t>(open_host_file("CUADT0.INX", false));
  EXPECT_EQ(CX_BIND(lib, sleer_obj)(objects, &moved, r, 0), 0);
  EXPECT_EQ(moved.rotation, 900);
  EXPECT_EQ(+moved.x, 7600);  // a copy: the field sits on a 4-byte offset
  std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
  auto found_at = [&](double x0, double y0) {
    EXPECT_EQ(CX_BIND(lib, xyinicie)(index, cursor.data(), 2500, x0 - 1, y0 - 1, x0 + 1, y0 + 1),
              0);
    int32_t record = 0;
    EXPECT_EQ(CX_BIND(lib, xynext)(index, cursor.data(), 2500, nullptr, &record), 0);
    return record;
  };
  EXPECT_EQ(found_at(7600, 4100), r);
  EXPECT_EQ(found_at(3000, 3000), 0);
  close_host_file(objects);
  close_host_file(index);
}

}  // namespace
