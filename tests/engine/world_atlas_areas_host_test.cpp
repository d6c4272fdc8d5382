// The world-atlas countries as area objects described by their arcs: every
// single-ring country closes, the areas from the arcs agree with the
// shoelace area of the source rings (holes subtracted), and the inside
// test agrees with an even-odd test of the source rings on random points.
// A checker walks every description chain both ways afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/area_base.h"
#include "support/engine_library.h"
#include "support/kept_messages.h"
#include "support/temp_base.h"
#include "world_atlas/atlas_import.h"
#include "world_atlas/rings.h"
#include "world_atlas/world_atlas.h"

namespace {

using cx::testing::Atlas;
using cx::testing::EngineLibrary;
using cx::testing::inside;
using cx::testing::Polygon;
using cx::testing::read_rings;
using cx::testing::Ring;
using cx::testing::ring_points;
using cx::testing::shoelace;
using cx::testing::TempBase;

TEST(WorldAtlasAreas, CountriesCloseMeasureAndContainAsTheirRings) {
  Atlas atlas;
  std::vector<std::vector<Ring>> rings;
  const std::string path = WORLD_ATLAS_DIR "/countries-110m.txt";
  if (!cx::testing::read_atlas(path, &atlas) || !read_rings(path, &rings))
    GTEST_SKIP() << "no " << path << " with rings (tests/engine/world_atlas/fetch.sh)";
  ASSERT_EQ(rings.size(), atlas.countries.size());
  TempBase base;
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
  ASSERT_TRUE(cx::testing::open_area_base(lib, "Pais", &messages, red));

  const cx::testing::AtlasNetwork network =
      cx::testing::import_atlas(atlas, red, 2, 1, 3, CX_BIND(lib, grabe_nodo),
                                CX_BIND(lib, grabe_arco), CX_BIND(lib, grabe_t3));
  ASSERT_TRUE(network.ok) << (messages.empty() ? "" : messages.back());
  const auto& pieces = network.pieces;

  std::mt19937 random(20);
  int single_rings = 0, points = 0, holes = 0, left_out = 0;
  for (std::size_t c = 0; c < rings.size(); ++c) {
    const int32_t area = network.areas[c];
    // Left out: countries that use an arc twice, and those with a ring
    // drawn across the map's seam (spanning more than half its width),
    // which a plane cannot hold.
    std::vector<Polygon> polygons;
    std::set<int> used;
    bool plane = true;
    for (const Ring& ring : rings[c]) {
      polygons.push_back(ring_points(atlas, ring));
      const auto [lo, hi] = std::minmax_element(polygons.back().x.begin(), polygons.back().x.end());
      plane = plane && *hi - *lo < 1800000;
      for (int signed_arc : ring)
        plane = plane && used.insert(signed_arc < 0 ? ~signed_arc : signed_arc).second;
    }
    if (!plane) {
      ++left_out;
      continue;
    }
    long double want = 0;
    for (const Ring& ring : rings[c]) {
      const long double signed_area = shoelace(ring_points(atlas, ring));
      want += signed_area;
      holes += signed_area > 0;
      for (int signed_arc : ring)
        for (int32_t piece :
             pieces[static_cast<std::size_t>(signed_arc < 0 ? ~signed_arc : signed_arc)])
          ASSERT_EQ(CX_BIND(lib, agregue_arco)(area, piece), 0) << messages.back();
    }
    const std::string& id = atlas.countries[c].id;
    cx_area_object object{};
    ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, area, 0), 0);
    double got = 0, perimeter = 0;
    CX_BIND(lib, topo_area)(&object, &got, &perimeter);
    EXPECT_NEAR(got, static_cast<double>(std::fabs(want)),
                1e-9 * static_cast<double>(std::fabs(want)))
        << id;
    if (rings[c].size() == 1) {
      ++single_rings;
      EXPECT_EQ(CX_BIND(lib, cerradura)(area), 0) << id << ": " << messages.back();
      EXPECT_EQ(messages.back(), "Area cerrada ok") << id;
      Polygon p = polygons[0];
      p.x.push_back(0);
      p.y.push_back(0);
      double plain = 0;
      CX_BIND(lib, area_calc)(p.x.data(), p.y.data(), static_cast<int16_t>(p.x.size() - 1), &plain);
      EXPECT_NEAR(plain, static_cast<double>(std::fabs(want)), 1e-9 * plain) << id;
    }
    // Random points over the country's extent.
    double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
    for (const Polygon& p : polygons)
      for (std::size_t i = 0; i < p.x.size(); ++i) {
        x0 = std::min(x0, p.x[i]), x1 = std::max(x1, p.x[i]);
        y0 = std::min(y0, p.y[i]), y1 = std::max(y1, p.y[i]);
      }
    std::uniform_real_distribution<double> ux(x0, x1), uy(y0, y1);
    const int share = (10000 - points) / static_cast<int>(rings.size() - c);
    for (int i = 0; i < share; ++i, ++points) {
      const double px = ux(random), py = uy(random);
      ASSERT_EQ(CX_BIND(lib, esta_dentro)(px, py, area, 1), inside(polygons, px, py) ? -1 : 0)
          << id << " at " << px << ", " << py;
    }
  }
  EXPECT_EQ(points, 10000);
  EXPECT_LT(left_out, 6);
  EXPECT_GT(single_rings, 100);
  EXPECT_GT(holes, 0);  // some rings run the other way: the holes

  // Every second country deleted; then every description entry is on
  // exactly one arc's chain and one live area's chain, and names both, and
  // the label index holds the live areas only.
  std::set<int32_t> live;
  for (int32_t c = 1; c <= static_cast<int32_t>(rings.size()); ++c) {
    if (c % 2 == 0) {
      ASSERT_EQ(CX_BIND(lib, borre_t3)(c), 0) << messages.back();
    } else {
      live.insert(c);
    }
  }
  std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
  ASSERT_EQ(CX_BIND(lib, xyinicie)(red[7], cursor.data(), 2500, 0, 0, 3600000, 1800000), 0);
  std::set<int32_t> labelled;
  for (int32_t record = 0;;) {
    ASSERT_EQ(CX_BIND(lib, xynext)(red[7], cursor.data(), 2500, nullptr, &record), 0);
    if (record == 0) break;
    labelled.insert(record);
  }
  EXPECT_EQ(labelled, live);
  std::map<int32_t, int> by_arc, by_area;
  int32_t arcs = 0;
  for (const auto& p : pieces) arcs += static_cast<int32_t>(p.size());
  for (int32_t e = 1; e <= arcs; ++e) {
    cx_arc arc{};
    ASSERT_EQ(CX_BIND(lib, sleer_arc)(red[1], &arc, e, 0), 0);
    for (int32_t d = arc.first_desc, guard = 0; d != 0 && guard < 1000; ++guard) {
      int32_t entry[5] = {};
      ASSERT_EQ(CX_BIND(lib, sleer)(red[8], entry, d, 18), 0);
      EXPECT_EQ(entry[0], e);
      EXPECT_TRUE(live.count(entry[1])) << "entry " << d << " names area " << entry[1];
      ++by_arc[d];
      d = entry[2];
    }
  }
  for (int32_t c : live) {
    cx_area_object object{};
    ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, c, 0), 0);
    for (int32_t d = object.first_desc, guard = 0; d != 0 && guard < 1000; ++guard) {
      int32_t entry[5] = {};
      ASSERT_EQ(CX_BIND(lib, sleer)(red[8], entry, d, 18), 0);
      EXPECT_EQ(entry[1], c);
      ++by_area[d];
      d = entry[3];
    }
  }
  EXPECT_EQ(by_arc, by_area);
  for (const auto& [d, times] : by_arc) EXPECT_EQ(times, 1) << "entry " << d;
  CX_BIND(lib, end_cons)(0);
  CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
}

}  // namespace
