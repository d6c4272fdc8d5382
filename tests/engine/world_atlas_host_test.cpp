// A real map through the exports as a host imports one: the countries of
// the world-atlas package (TopoJSON, 1:110m) as a network of nodes at the
// arcs' shared ends, arcs with their intermediate points and one area
// object per country; reopened, every record is found again through the
// spatial indexes and the nodes' arc lists.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/engine_library.h"
#include "support/temp_base.h"
#include "world_atlas/world_atlas.h"

namespace {

using cx::testing::Atlas;
using cx::testing::EngineLibrary;
using cx::testing::TempBase;
using Bytes = std::vector<unsigned char>;

constexpr int kMaxInner = 300;  // intermediate points one block holds

class WorldAtlas : public ::testing::Test {
 protected:
  void open_network() {
    ASSERT_EQ(CX_BIND(lib, inigks)(0), 0);
    ASSERT_EQ(CX_BIND(lib, inifil)(0), 0);
    ASSERT_EQ(CX_BIND(lib, set_consts)(24, 1), 1);
    int16_t count = 0;
    CX_BIND(lib, get_red)(red, 1, &count);
    ASSERT_EQ(count, 1);
  }

  std::set<int32_t> query(int16_t index) {
    std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
    EXPECT_EQ(CX_BIND(lib, xyinicie)(index, cursor.data(), 2500, 0, 0, 3600000, 1800000), 0);
    std::set<int32_t> found;
    for (int32_t record = 0;;) {
      EXPECT_EQ(CX_BIND(lib, xynext)(index, cursor.data(), 2500, nullptr, &record), 0);
      if (record == 0) break;
      EXPECT_TRUE(found.insert(record).second) << "record " << record << " delivered twice";
    }
    return found;
  }

  TempBase base;
  EngineLibrary lib;
  int16_t red[CX_RED_HANDLES] = {};
};

std::set<int32_t> one_to(std::size_t n) {
  std::set<int32_t> s;
  for (std::size_t i = 1; i <= n; ++i) s.insert(static_cast<int32_t>(i));
  return s;
}

TEST_F(WorldAtlas, CountriesImportAsANetworkAndAreFoundAgainInSpace) {
  Atlas atlas;
  if (!cx::testing::read_atlas(WORLD_ATLAS_DIR "/countries-110m.txt", &atlas))
    GTEST_SKIP() << "no " WORLD_ATLAS_DIR
                    "/countries-110m.txt: world-atlas@2.0.2 could not be "
                    "fetched with npm (tests/engine/world_atlas/fetch.sh)";
  ASSERT_TRUE(lib.loaded());
  ASSERT_EQ(CX_BIND(lib, crear_BG)(0), 0);
  {
    // A kind for the countries, on the network layer.
    Bytes kinds = TempBase::bytes("TABOBJ.DAT");
    cx_kind country{};
    std::strcpy(country.name, "Pais");
    country.geometry = 2;
    country.layer = 1;
    const auto* p = reinterpret_cast<const unsigned char*>(&country);
    kinds.insert(kinds.end(), p, p + sizeof country);
    kinds[0] = 3;
    TempBase::write("TABOBJ.DAT", kinds);
  }
  ASSERT_NO_FATAL_FAILURE(open_network());

  // The topology's nodes: the distinct ends of its arcs.
  std::set<std::pair<double, double>> topology_nodes;
  for (const auto& arc : atlas.arcs) {
    topology_nodes.insert({arc.x.front(), arc.y.front()});
    topology_nodes.insert({arc.x.back(), arc.y.back()});
  }

  std::map<std::pair<double, double>, int32_t> nodes;
  auto node_at = [&](double x, double y) {
    auto [it, added] = nodes.insert({{x, y}, 0});
    if (added) {
      cx_node code{};
      cx_object at{};
      at.kind = 2;
      at.x = x;
      at.y = y;
      it->second = CX_BIND(lib, grabe_nodo)(&code, &at, 0, 0, 0, red);
      EXPECT_EQ(it->second, static_cast<int32_t>(nodes.size()));
    }
    return it->second;
  };
  // An arc longer than one block holds is written as a chain of arcs that
  // meet at nodes of their own.
  std::size_t splits = 0;
  std::vector<std::vector<double>> inner_x;  // per arc record - 1
  for (const auto& arc : atlas.arcs) {
    const std::size_t last = arc.x.size() - 1;
    for (std::size_t from = 0; from < last;) {
      const std::size_t to = std::min(last, from + kMaxInner + 1);
      cx_arc ends{};
      ends.from_node = node_at(arc.x[from], arc.y[from]);
      ends.to_node = node_at(arc.x[to], arc.y[to]);
      cx_object line{};
      line.kind = 1;
      line.count = static_cast<int16_t>(to - from - 1);
      const int32_t n = CX_BIND(lib, grabe_arco)(&ends, &line, &arc.x[from], &arc.y[from], 0, red);
      ASSERT_EQ(n, static_cast<int32_t>(inner_x.size() + 1));
      inner_x.emplace_back(arc.x.begin() + from + 1, arc.x.begin() + to);
      splits += to < last;
      from = to;
    }
  }
  for (const auto& country : atlas.countries) {
    double sx = 0, sy = 0;
    std::size_t points = 0;
    for (int a : country.arcs) {
      for (std::size_t i = 0; i < atlas.arcs[a].x.size(); ++i, ++points) {
        sx += atlas.arcs[a].x[i];
        sy += atlas.arcs[a].y[i];
      }
    }
    cx_object label{};
    label.kind = 3;
    label.x = points ? sx / points : 0;
    label.y = points ? sy / points : 0;
    ASSERT_GT(CX_BIND(lib, grabe_t3)(country.id.c_str(), nullptr, &label), 0);
  }
  EXPECT_EQ(nodes.size(), topology_nodes.size() + splits);
  EXPECT_EQ(inner_x.size(), atlas.arcs.size() + splits);
  EXPECT_EQ(CX_BIND(lib, end_cons)(0), 0);

  // Reopened: every node in space, every arc in the nodes' lists (twice:
  // once at each end) with its points, every country in space.
  ASSERT_NO_FATAL_FAILURE(open_network());
  const std::set<int32_t> found_nodes = query(red[2]);
  EXPECT_EQ(found_nodes, one_to(nodes.size()));
  std::map<int32_t, int> listed;
  for (int32_t node : found_nodes) {
    cx_node n{};
    ASSERT_EQ(CX_BIND(lib, sleer_nod)(red[0], &n, node, 0), 0);
    for (int32_t entry = n.first_list, guard = 0; entry != 0 && guard < 100; ++guard) {
      int32_t e[4];
      ASSERT_EQ(CX_BIND(lib, sleer)(red[4], e, entry, 16), 0);
      ++listed[e[0]];
      entry = e[1];
    }
  }
  ASSERT_EQ(listed.size(), inner_x.size());
  for (const auto& [arc, times] : listed) {
    ASSERT_EQ(times, 2) << "arc " << arc;
    cx_arc a{};
    ASSERT_EQ(CX_BIND(lib, sleer_arc)(red[1], &a, arc, 0), 0);
    const std::vector<double>& want = inner_x[arc - 1];
    ASSERT_EQ(a.count, static_cast<int16_t>(want.size()));
    std::vector<double> x(want.size()), y(want.size());
    if (!want.empty()) {
      ASSERT_EQ(CX_BIND(lib, lea_coord)(red[5], a.block, x.data(), y.data(), a.count), 0);
    }
    EXPECT_EQ(x, want) << "arc " << arc;
  }
  EXPECT_EQ(query(red[7]), one_to(atlas.countries.size()));
  EXPECT_EQ(CX_BIND(lib, end_cons)(0), 0);
}

}  // namespace
