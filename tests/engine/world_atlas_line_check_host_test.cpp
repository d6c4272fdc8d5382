// New lines along the world-atlas borders: each line runs along three
// vertices of an arc, and verifique_topologia must split that arc at the
// first and the last of them, and nowhere else; the countries' areas from
// their arcs stay as they were and every node stays indexed where it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"
#include "world_atlas/world_atlas.h"

namespace {

using cx::testing::Atlas;
using cx::testing::EngineLibrary;
using cx::testing::keep_message;
using cx::testing::TempBase;

TEST(WorldAtlasLineCheck, LinesAlongBordersSplitTheirArcsAndKeepEveryArea) {
  Atlas atlas;
  const std::string path = WORLD_ATLAS_DIR "/countries-110m.txt";
  if (!cx::testing::read_atlas(path, &atlas))
    GTEST_SKIP() << "no " << path << " (tests/engine/world_atlas/fetch.sh)";
  TempBase base;
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  std::vector<std::string> messages;
  CX_BIND(lib, cx_set_message_callback)(keep_message, &messages);
  ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
  ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
  ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
  ASSERT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
  int16_t red[CX_RED_HANDLES] = {}, networks = 0;
  CX_BIND(lib, get_red)(red, 1, &networks);
  // A margin that reaches every node, a node tolerance below the grid.
  double p[13] = {};
  int16_t units = 0, k11 = 0, k12 = 0;
  CX_BIND(lib, get_params)
  (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, &k11, &k12, &p[12]);
  p[7] = 4e6;
  p[12] = 0.01;
  CX_BIND(lib, set_params)
  (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, nullptr, nullptr, &p[12]);

  // Each atlas arc as a chain of arcs of at most 300 inner points.
  std::map<std::pair<double, double>, int32_t> nodes;
  auto node_at = [&](double x, double y) {
    auto [it, added] = nodes.insert({{x, y}, 0});
    cx_node code{};
    cx_object at{};
    at.kind = 2;
    at.x = x;
    at.y = y;
    if (added) it->second = CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
    return it->second;
  };
  std::vector<std::vector<int32_t>> pieces(atlas.arcs.size());
  std::vector<std::pair<std::vector<double>, std::vector<double>>> points{{}};  // by arc record
  for (std::size_t a = 0; a < atlas.arcs.size(); ++a) {
    const auto& arc = atlas.arcs[a];
    for (std::size_t from = 0, last = arc.x.size() - 1; from < last;) {
      const std::size_t to = std::min(last, from + 301);
      cx_arc ends{};
      ends.from_node = node_at(arc.x[from], arc.y[from]);
      ends.to_node = node_at(arc.x[to], arc.y[to]);
      cx_object line{};
      line.kind = 1;
      line.count = static_cast<int16_t>(to - from - 1);
      ASSERT_EQ(CX_BIND(lib, grabe_arco)(&ends, &line, &arc.x[from], &arc.y[from], 0, red),
                static_cast<int32_t>(points.size()));
      pieces[a].push_back(static_cast<int32_t>(points.size()));
      points.push_back({{arc.x.begin() + from, arc.x.begin() + to + 1},
                        {arc.y.begin() + from, arc.y.begin() + to + 1}});
      from = to;
    }
  }
  auto measures = [&] {
    std::vector<double> out;
    for (int32_t c = 1; c <= static_cast<int32_t>(atlas.countries.size()); ++c) {
      cx_area_object object{};
      double area = 0, perimeter = 0;
      EXPECT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, c, 0), 0);
      CX_BIND(lib, topo_area)(&object, &area, &perimeter);
      out.insert(out.end(), {area, perimeter});
    }
    return out;
  };
  for (const auto& country : atlas.countries) {
    cx_object label{};
    label.kind = 2;
    const int32_t a = CX_BIND(lib, grabe_t3)(country.id.c_str(), nullptr, &label);
    for (int arc : country.arcs)
      for (int32_t piece : pieces[static_cast<std::size_t>(arc)])
        CX_BIND(lib, agregue_arco)(a, piece);
  }
  const std::vector<double> before = measures();
  messages.clear();  // countries that use an arc twice were told so

  // Forty arcs of at least 8 points, each met by a line that comes from off
  // the arc, runs along its vertices i, i + 1, i + 2 and leaves it.
  std::mt19937 random(7);
  std::vector<int32_t> arcs;
  for (int32_t e = 1; e < static_cast<int32_t>(points.size()); ++e)
    if (points[static_cast<std::size_t>(e)].first.size() >= 8) arcs.push_back(e);
  std::shuffle(arcs.begin(), arcs.end(), random);
  arcs.resize(40);
  std::set<std::pair<double, double>> split_at;
  for (int32_t e : arcs) {
    const auto& [x, y] = points[static_cast<std::size_t>(e)];
    const std::size_t i = std::uniform_int_distribution<std::size_t>(1, x.size() - 4)(random);
    const double lx[5] = {x[i] + 0.37, x[i], x[i + 1], x[i + 2], x[i + 2] + 0.61};
    const double ly[5] = {y[i] + 0.41, y[i], y[i + 1], y[i + 2], y[i + 2] - 0.29};
    EXPECT_EQ(CX_BIND(lib, verifique_topologia)(5, lx, ly), 0);
    split_at.insert({x[i], y[i]});
    split_at.insert({x[i + 2], y[i + 2]});
  }
  const int32_t node_count = static_cast<int32_t>(nodes.size()) + 80;
  EXPECT_TRUE(messages.empty()) << messages.front();

  // The index holds every node once where it is, the new ones included.
  std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
  ASSERT_EQ(CX_BIND(lib, xyinicie)(red[2], cursor.data(), 2500, 0, 0, 4e6, 2e6), 0);
  std::map<int32_t, int> indexed;
  std::set<std::pair<double, double>> at_nodes;
  for (int32_t r = 0;;) {
    unsigned char key[13];
    ASSERT_EQ(CX_BIND(lib, xynext)(red[2], cursor.data(), 2500, key, &r), 0);
    if (r == 0) break;
    double kx = 0, ky = 0;
    CX_BIND(lib, xycalcxy)(0, &kx, &ky, key, nullptr);
    cx_node node{};
    ASSERT_EQ(CX_BIND(lib, sleer_nod)(red[0], &node, r, 0), 0);
    EXPECT_NEAR(kx, +node.x, 0.1);
    ++indexed[r];
    at_nodes.insert({+node.x, +node.y});
  }
  EXPECT_EQ(indexed.size(), static_cast<std::size_t>(node_count));
  for (const auto& xy : split_at) EXPECT_TRUE(at_nodes.count(xy)) << xy.first << ", " << xy.second;
  const std::vector<double> after = measures();
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_NEAR(after[i], before[i], 1e-9 * before[i]) << atlas.countries[i / 2].id;
  CX_BIND(lib, end_cons)(0);
  CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
}

}  // namespace
