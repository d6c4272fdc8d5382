// Digitizing, splitting and merging in an area network, through the
// exports: after every edit the network's records and indexes agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/area_base.h"
#include "support/engine_library.h"
#include "support/network_check.h"
#include "support/temp_base.h"
#include "world_atlas/rings.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::TempBase;

// An area base (support/area_base.h) with search margin 100, node
// tolerance 10 and half a window width 50.
class NetworkEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.loaded());
    ASSERT_TRUE(cx::testing::open_area_base(lib, "Zona", &messages, red));
    tolerance(10);
  }
  void TearDown() override {
    CX_BIND(lib, end_cons)(0);
    CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
  }
  void tolerance(double t) {
    double p[10] = {2.5, 1, 1, 1, 1, 1, 1, 100, 50, t};
    const int16_t units = 0;
    CX_BIND(lib, set_params)
    (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, nullptr, nullptr,
     &p[9]);
  }
  int16_t digitize(const std::vector<double>& x, const std::vector<double>& y, int16_t every = 0) {
    return CX_BIND(lib, dig_segment)(static_cast<int16_t>(x.size()), x.data(), y.data(), every, 0);
  }
  int32_t new_area() {
    CX_BIND(lib, set_consts)(25, 3);
    cx_object label{};
    label.kind = 3;
    return CX_BIND(lib, grabe_t3)("zona", nullptr, &label);
  }
  int16_t closure(int32_t a) {
    CX_BIND(lib, set_consts)(25, 3);
    return CX_BIND(lib, cerradura)(a);
  }
  double area_of(int32_t a) {
    cx_area_object object{};
    CX_BIND(lib, sleer_top)(red[6], &object, a, 0);
    double area = 0, perimeter = 0;
    CX_BIND(lib, topo_area)(&object, &area, &perimeter);
    return area;
  }
  int32_t records(const char* name, int size) {
    return static_cast<int32_t>(TempBase::size(std::string("TOPO") + name) / size) - 1;
  }
  cx_arc arc(int32_t e) {
    cx_arc a{};
    CX_BIND(lib, sleer_arc)(red[1], &a, e, 0);
    return a;
  }
  void expect_consistent(const char* after) {
    EXPECT_EQ(cx::testing::network_problems(lib, red, "TOPO"), "") << "after " << after;
  }

  TempBase base;
  EngineLibrary lib;
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
};

// A closed ring of n vertices (the first repeated at the end) on a circle.
void ring(int n, double cx0, double cy0, double r, std::vector<double>* x, std::vector<double>* y) {
  for (int i = 0; i <= n; ++i) {
    const double t = 2 * std::acos(-1.0) * (i % n) / n;
    x->push_back(cx0 + r * std::cos(t));
    y->push_back(cy0 + r * std::sin(t));
  }
}

TEST_F(NetworkEdits, ClosedRingsOfAnyLengthBecomeOneClosedArea) {
  // A ring short enough for one block, one longer than the working arrays.
  for (int n : {12, 1000}) {
    std::vector<double> x, y;
    ring(n, 5000 + 3 * n, 5000, 400, &x, &y);
    const int32_t nodes_before = records("nodo.dat", 46);
    const int16_t arcs = digitize(x, y);
    // As many nodes as arcs: none twice at one point (the start and end).
    ASSERT_GE(arcs, 2) << messages.back();
    const int32_t nodes = records("nodo.dat", 46) - nodes_before;
    EXPECT_EQ(nodes, arcs) << "ring of " << n;
    const int32_t a = new_area();
    EXPECT_EQ(CX_BIND(lib, add_segments)(a), arcs);
    EXPECT_EQ(closure(a), 0);
    EXPECT_EQ(messages.back(), "Area cerrada ok");
    const double want = static_cast<double>(std::fabs(cx::testing::shoelace({x, y})));
    EXPECT_NEAR(area_of(a), want, 1e-9 * want);
    // Digitized again, the same arcs are taken and nothing is written.
    const int32_t arcs_before = records("arco.dat", 41);
    EXPECT_EQ(digitize(x, y), arcs);
    EXPECT_EQ(records("arco.dat", 41), arcs_before);
    EXPECT_EQ(CX_BIND(lib, add_segments)(a), arcs);
    EXPECT_EQ(closure(a), 0);
    expect_consistent("a ring");
  }
}

TEST_F(NetworkEdits, SplitArcsKeepTheirAreasAndMergedArcsDoNotRepeat) {
  // A lens between P and Q (two arcs) next to a square sharing the lower
  // arc's ends.
  const int32_t lens = new_area();
  for (double bend : {1040, 960}) {
    ASSERT_EQ(digitize({1000, 1050, 1100}, {1000, bend, 1000}), 1);
    ASSERT_EQ(CX_BIND(lib, add_segments)(lens), 1);
  }
  const int32_t upper = 1, lower = 2;
  const double lens_area = area_of(lens);
  EXPECT_NEAR(lens_area, 4000, 1e-9);
  const int32_t square = new_area();
  // A node at every vertex: no other arc joins P and Q.
  ASSERT_EQ(digitize({1000, 1000, 1100, 1100}, {1000, 800, 800, 1000}, 1), 3);
  ASSERT_EQ(CX_BIND(lib, add_segments)(square), 3);
  ASSERT_EQ(CX_BIND(lib, agregue_arco)(square, lower), 0);
  const double square_area = area_of(square);

  // Split at a point near, not on, the lower arc's first segment: a new
  // vertex and node there, and both areas bounded by both halves.
  int32_t picked = 0;
  EXPECT_EQ(CX_BIND(lib, partir_arcos)(1025, 980.5, &picked), 1) << messages.back();
  const int32_t half = records("arco.dat", 41);
  EXPECT_EQ(arc(lower).to_node, arc(half).from_node);
  EXPECT_TRUE(arc(lower).count == 0 && arc(half).count == 1);
  EXPECT_NEAR(area_of(lens), lens_area, 1e-9);
  EXPECT_NEAR(area_of(square), square_area, 1e-9);
  EXPECT_EQ(closure(square), 0);
  expect_consistent("the split");
  // Points far from every arc, and an arc's end, split nothing.
  picked = upper;
  EXPECT_EQ(CX_BIND(lib, partir_arcos)(1050, 1200, &picked), 0);
  EXPECT_EQ(picked, 0);
  picked = upper;
  EXPECT_EQ(CX_BIND(lib, partir_arcos)(1001, 1000, &picked), 0);

  // A second arc over the upper one, bounding the lens too: merging it
  // into the upper arc leaves the lens with that arc once.
  ASSERT_EQ(digitize({1000, 1050, 1100}, {1000, 1080, 1000}), 1);
  const int32_t twin = records("arco.dat", 41);
  ASSERT_EQ(CX_BIND(lib, add_segments)(lens), 1);
  EXPECT_EQ(CX_BIND(lib, funde_arcos)(twin), 0);
  expect_consistent("the merge");
  unsigned char raw[41];
  CX_BIND(lib, sleer)(red[1], raw, twin, 41);
  EXPECT_EQ(raw[0] & raw[1] & raw[2] & raw[3], 0xff) << "the merged arc is given back";
  EXPECT_NEAR(area_of(lens), lens_area, 1e-9);
}

TEST_F(NetworkEdits, NodesMergeOnlyWhenNearAndNotJoined) {
  tolerance(2);  // the nodes 5 apart stay two
  ASSERT_EQ(digitize({2000, 2100}, {2000, 2000}), 1);
  ASSERT_EQ(digitize({2104, 2200}, {2003, 2000}), 1);
  ASSERT_EQ(digitize({2300, 2400}, {2000, 2000}), 1);
  ASSERT_EQ(digitize({2425, 2500}, {2000, 2000}), 1);
  ASSERT_EQ(digitize({2600, 2615}, {2000, 2000}), 1);
  tolerance(10);
  struct {
    double x, y;
    int16_t result;
    const char* message;
  } const cases[] = {
      {2607, 2000, -1, "NO se funde.. hay arco"},       // the two ends of one arc
      {2412, 2000, -1, "No se encontro 2do. nodo .."},  // 25 apart, tolerance 10
      {2900, 2900, -1, "No se encontro nodos.."},
      {2102, 2001, 1, ""},
  };
  for (const auto& c : cases) {
    messages.clear();
    EXPECT_EQ(CX_BIND(lib, funde_nodos)(c.x, c.y), c.result) << c.x;
    EXPECT_EQ(messages.empty() ? "" : messages.back(), c.message) << c.x;
  }
  // The second arc now starts where the first ends.
  EXPECT_EQ(arc(2).from_node, arc(1).to_node);
  expect_consistent("the merge");
}

TEST_F(NetworkEdits, EditsKeepTheFileHandlesAHostCopied) {
  // Handles freed below the network's: T0 opened into its old handles,
  // the network reopened above them, T0 closed.
  CX_BIND(lib, cierred)(1);
  ASSERT_EQ(CX_BIND(lib, abra_t0)(0), 1);
  CX_BIND(lib, reabra)(1, 0);
  CX_BIND(lib, cierre_t0)(0);
  int16_t copied[CX_RED_HANDLES] = {}, count = 0, now[CX_RED_HANDLES] = {};
  CX_BIND(lib, get_red)(copied, 1, &count);
  ASSERT_EQ(digitize({100, 200}, {100, 100}), 1);
  CX_BIND(lib, get_red)(now, 1, &count);
  EXPECT_TRUE(std::equal(copied, copied + CX_RED_HANDLES, now));
  cx_arc line{};
  EXPECT_EQ(CX_BIND(lib, sleer_arc)(copied[1], &line, 1, 0), 0);
  EXPECT_EQ(+line.xmin, 100);
}

TEST_F(NetworkEdits, SearchesAgreeWithABruteForceOverRandomNodes) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> u(10000, 10600);
  std::vector<double> nx, ny;
  for (int i = 0; i < 60; ++i) {
    nx.push_back(u(random));
    ny.push_back(u(random));
    cx_object at{};
    at.kind = 2;
    at.x = nx.back();
    at.y = ny.back();
    cx_node node{};
    ASSERT_EQ(CX_BIND(lib, nuevo_nodo)(&at, &node), i + 1);
  }
  for (int probe = 0; probe < 200; ++probe) {
    const double x = u(random), y = u(random);
    int32_t want = 0;
    double best = 50;  // parameter 9
    for (std::size_t i = 0; i < nx.size(); ++i) {
      const double d = std::hypot(nx[i] - x, ny[i] - y);
      if (d <= best) best = d, want = static_cast<int32_t>(i + 1);
    }
    EXPECT_EQ(CX_BIND(lib, find_t03)(1, x, y), want);
  }
  // A polyline of 31 vertices (the working list holds the first 900):
  // every third a little off a node, the others far from all of them.
  std::vector<double> px, py;
  for (std::size_t i = 0; i < 31; ++i) {
    px.push_back(i % 3 == 0 ? nx[i] + 3 : 20000);
    py.push_back(i % 3 == 0 ? ny[i] - 2 : 20000 + 30 * i);
  }
  int32_t first = -1, last = -1;
  EXPECT_EQ(CX_BIND(lib, get_nodesT3)(31, &first, &last, px.data(), py.data()), 30);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(last, 31);

  // The arc nearest to a point, with its ends and its entry at the to-node.
  ASSERT_EQ(digitize({20000, 20100}, {20000, 20000}), 1);
  const int32_t line = records("arco.dat", 41);
  int32_t out[5] = {}, entry[4] = {};
  EXPECT_EQ(CX_BIND(lib, get_arct3)(&out[0], &out[1], &out[2], &out[3], &out[4], 20050, 20000.5),
            line);
  CX_BIND(lib, sleer)(red[4], entry, out[4], 16);
  EXPECT_TRUE(out[1] == arc(line).from_node && out[2] == arc(line).to_node && entry[0] == line);
  EXPECT_EQ(CX_BIND(lib, get_arct3)(&out[0], &out[1], &out[2], &out[3], &out[4], 20050, 20030), 0);
  EXPECT_EQ(messages.back(), "ERROR de busqueda.. ");
  // The area object whose label is nearest, among those in the window.
  cx_object label{};
  label.kind = 3;
  label.x = label.y = 30000;
  const int32_t labelled = CX_BIND(lib, grabe_t3)("zona", nullptr, &label);
  CX_BIND(lib, set_consts)(25, 3);
  CX_BIND(lib, initst)(0);
  double distance = 0;
  EXPECT_EQ(CX_BIND(lib, find_t02)(nullptr, 30030, 30040, &distance), labelled);
  EXPECT_NEAR(distance, 50, 0.2);  // keys keep tenths
}

}  // namespace
