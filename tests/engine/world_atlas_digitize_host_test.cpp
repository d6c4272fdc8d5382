// The world-atlas countries digitized line by line: each TopoJSON arc of a
// country's rings goes through dig_segment (an arc shared by two countries
// is taken again the second time) and add_segments gives the country its
// arcs. Every single-ring country closes, every
// country's area agrees with the shoelace area of its source rings, and
// the network's records and indexes agree afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/area_base.h"
#include "support/engine_library.h"
#include "support/network_check.h"
#include "support/temp_base.h"
#include "world_atlas/rings.h"
#include "world_atlas/world_atlas.h"

namespace {

using cx::testing::Atlas;
using cx::testing::EngineLibrary;
using cx::testing::Polygon;
using cx::testing::Ring;
using cx::testing::TempBase;

TEST(WorldAtlasDigitize, CountriesDigitizedArcByArcCloseAndMeasure) {
  Atlas atlas;
  std::vector<std::vector<Ring>> rings;
  const std::string path = WORLD_ATLAS_DIR "/countries-110m.txt";
  if (!cx::testing::read_atlas(path, &atlas) || !cx::testing::read_rings(path, &rings))
    GTEST_SKIP() << "no " << path << " with rings (tests/engine/world_atlas/fetch.sh)";
  TempBase base;
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  std::vector<std::string> messages;
  int16_t red[CX_RED_HANDLES] = {};
  ASSERT_TRUE(cx::testing::open_area_base(lib, "Pais", &messages, red));
  // Node tolerance 0: only the very point of a node is on it.
  const double p[10] = {2.5, 1, 1, 1, 1, 1, 1, 10000, 2500, 0};
  const int16_t units = 0;
  CX_BIND(lib, set_params)
  (&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6], &p[7], &p[8], &units, nullptr, nullptr, &p[9]);

  int single_rings = 0, measured = 0;
  for (std::size_t c = 0; c < rings.size(); ++c) {
    // Left out as in the areas test: arcs used twice by one country, and
    // rings across the map's seam.
    std::set<int> used;
    bool plane = true;
    long double want = 0;
    for (const Ring& ring : rings[c]) {
      const Polygon points = cx::testing::ring_points(atlas, ring);
      const auto [lo, hi] = std::minmax_element(points.x.begin(), points.x.end());
      plane = plane && *hi - *lo < 1800000;
      for (int a : ring) plane = plane && used.insert(a < 0 ? ~a : a).second;
      want += cx::testing::shoelace(points);
    }
    if (!plane) continue;
    CX_BIND(lib, set_consts)(25, 3);
    cx_object label{};
    label.kind = 3;
    const int32_t area = CX_BIND(lib, grabe_t3)(atlas.countries[c].id.c_str(), nullptr, &label);
    ASSERT_GT(area, 0);
    for (int a : used) {
      const auto& arc = atlas.arcs[static_cast<std::size_t>(a)];
      ASSERT_GT(CX_BIND(lib, dig_segment)(static_cast<int16_t>(arc.x.size()), arc.x.data(),
                                          arc.y.data(), 0, 0),
                0)
          << messages.back();
      ASSERT_GT(CX_BIND(lib, add_segments)(area), 0) << messages.back();
    }
    const std::string& id = atlas.countries[c].id;
    cx_area_object object{};
    ASSERT_EQ(CX_BIND(lib, sleer_top)(red[6], &object, area, 0), 0);
    double got = 0, perimeter = 0;
    CX_BIND(lib, topo_area)(&object, &got, &perimeter);
    const double expected = static_cast<double>(std::fabs(want));
    EXPECT_NEAR(got, expected, 1e-9 * expected) << id;
    ++measured;
    if (rings[c].size() == 1) {
      ++single_rings;
      CX_BIND(lib, set_consts)(25, 3);
      EXPECT_EQ(CX_BIND(lib, cerradura)(area), 0) << id << ": " << messages.back();
      EXPECT_EQ(messages.back(), "Area cerrada ok") << id;
    }
  }
  EXPECT_GT(single_rings, 100);
  EXPECT_GT(measured, 150);
  EXPECT_EQ(cx::testing::network_problems(lib, red, "TOPO"), "");
  CX_BIND(lib, end_cons)(0);
  CX_BIND(lib, cx_set_message_callback)(nullptr, nullptr);
}

}  // namespace
