// cartex run as a user runs it: each command's exit status and output on a
// small base, bad input refused with the base left as it was, and every
// geometry type through GeoJSON and Shapefile and back, compared ring by
// ring (start and direction aside) and value by value. With the Natural
// Earth countries fetched, the same for a real map, and ogrinfo reading the
// export when it is installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "../support/temp_dir.h"
#include "formats.h"
#include "support/cartex_run.h"

namespace {

namespace fs = std::filesystem;
using cartex::Feature;
using cartex::FeatureSet;
using cartex::Point;
using cartex::Ring;

using Outcome = cx::testing::CartexOutcome;
using cx::testing::slurp;

Outcome cartex(const std::string& dir, const std::string& args) {
  return cx::testing::run_cartex(dir, args);
}

// A ring as text from its least point on, in its lesser direction, with
// coordinates to 1e-7.
std::string ring_text(const Ring& ring) {
  std::vector<std::string> points;
  for (const Point& p : ring) {
    char text[64];
    std::snprintf(text, sizeof text, "%.7f %.7f", p.x + 0.0, p.y + 0.0);
    points.push_back(text);
  }
  auto from_least = [](std::vector<std::string> v) {
    std::rotate(v.begin(), std::min_element(v.begin(), v.end()), v.end());
    return v;
  };
  std::vector<std::string> forward = from_least(points);
  std::reverse(points.begin(), points.end());
  std::vector<std::string> back = from_least(points);
  std::string out;
  for (const std::string& p : std::min(forward, back)) out += p + ",";
  return out;
}

// Each feature as a text of its sorted rings or parts and its values by
// field name, numbers compared as numbers.
std::vector<std::string> normal(const FeatureSet& set) {
  std::vector<std::string> out;
  for (const Feature& f : set.features) {
    std::vector<std::string> pieces;
    for (const auto& polygon : f.polygons)
      for (const Ring& r : polygon) pieces.push_back("ring " + ring_text(r));
    std::vector<Point> points;
    for (const auto& part : f.parts) {
      if (f.geometry == cartex::Geometry::kPoint) {
        points.insert(points.end(), part.begin(), part.end());
        continue;
      }
      std::string line = "line ";
      for (const Point& p : part) line += ring_text({p});
      pieces.push_back(line);
    }
    for (const Point& p : points) pieces.push_back("point " + ring_text({p}));
    std::sort(pieces.begin(), pieces.end());
    std::string text;
    for (const auto& p : pieces) text += p + "\n";
    for (std::size_t c = 0; c < set.fields.size(); ++c) {
      const cartex::Value& v = f.values[c];
      std::string value = v.null ? "null" : v.text;
      char* end = nullptr;
      const double number = std::strtod(value.c_str(), &end);
      if (!v.null && !value.empty() && *end == 0) value = std::to_string(number);
      text += set.fields[c].name + "=" + value + "\n";
    }
    out.push_back(text);
  }
  return out;
}

// Features equal one by one, the first few that differ shown.
void expect_same(const FeatureSet& got, const FeatureSet& want) {
  const auto g = normal(got), w = normal(want);
  ASSERT_EQ(g.size(), w.size());
  int shown = 0;
  for (std::size_t i = 0; i < g.size() && shown < 3; ++i)
    if (g[i] != w[i]) {
      ++shown;
      ADD_FAILURE() << "feature " << i << "\ngot:  " << g[i] << "\nwant: " << w[i];
    }
}

// Every geometry type: neighbours sharing an edge, a hole another area
// fills, an island and a line longer than one block, several lines, a point
// and several points.
FeatureSet sample() {
  FeatureSet set;
  set.fields = {{"name", 'C', 10, 0}, {"pop", 'N', 12, 1}};
  auto feature = [&](cartex::Geometry g, const char* name, const char* pop) {
    Feature f;
    f.geometry = g;
    f.values = {{false, name}, {pop == nullptr, pop ? pop : ""}};
    set.features.push_back(f);
    return &set.features.back();
  };
  feature(cartex::Geometry::kPolygon, "west", "12.5")->polygons = {
      {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{2, 2}, {2, 4}, {4, 4}, {4, 2}}}};
  Feature* east = feature(cartex::Geometry::kPolygon, "east", "3");
  east->polygons = {{{{10, 0}, {20, 0}, {20, 5}, {20, 10}, {10, 10}}}, {{}}};
  for (int i = 0; i < 700; ++i)  // an island of more points than an arc holds
    east->polygons[1][0].push_back(
        {40 + 5 * std::cos(i * 2 * M_PI / 700), 30 + 5 * std::sin(i * 2 * M_PI / 700)});
  feature(cartex::Geometry::kPolygon, "lake", "0")->polygons = {{{{2, 2}, {4, 2}, {4, 4}, {2, 4}}}};
  Feature* road = feature(cartex::Geometry::kLine, "road", nullptr);
  road->parts.emplace_back();
  for (int i = 0; i < 700; ++i) road->parts[0].push_back({-50 + i * 0.1, std::sin(i * 0.1)});
  feature(cartex::Geometry::kLine, "paths", "1")->parts = {{{1, 1}, {2, 2}}, {{2, 2}, {3, 1}}};
  feature(cartex::Geometry::kPoint, "well", "-2.25")->parts = {{{5, 5}}};
  feature(cartex::Geometry::kPoint, "trees", "7")->parts = {{{6, 6}}, {{7, 7}}};
  return set;
}

TEST(CartexCli, CommandsAnswerHelpUsageAndMissingBases) {
  trawlix::testing::TempDir dir;
  const struct {
    const char* args;
    int status;
    const char* says;  // in stdout for status 0, else in stderr
  } cases[] = {
      {"--help", 0, "usage: cartex COMMAND"},
      {"", 2, "usage: cartex COMMAND"},
      {"frobnicate", 2, "unknown command"},
      {"new --help", 0, "usage: cartex new DIR"},
      {"info --help", 0, "usage: cartex info DIR"},
      {"render --help", 0, "--fill FORMULA"},
      {"import --help", 0, "usage: cartex import DIR FILE"},
      {"export --help", 0, "usage: cartex export DIR FILE"},
      {"verify --help", 0, "usage: cartex verify DIR"},
      {"new", 2, "one folder expected"},
      {"render base", 2, "a base folder and a PNG file expected"},
      {"render base out.png --size 0x10", 2, "--size takes WxH"},
      {"info nowhere", 3, "nowhere"},
      {"verify .", 3, "not a base"},
      {"export . out.geojson", 3, "not a base"},
  };
  for (const auto& c : cases) {
    const Outcome run = cartex(dir.path(), c.args);
    EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
    EXPECT_NE((c.status == 0 ? run.out : run.err).find(c.says), std::string::npos)
        << c.args << "\nout: " << run.out << "\nerr: " << run.err;
  }
}

TEST(CartexCli, EveryGeometryComesBackThroughGeoJSONAndShapefile) {
  trawlix::testing::TempDir dir;
  const std::string d = dir.path();
  std::string error;
  const FeatureSet want = sample();
  ASSERT_TRUE(cartex::write_geojson(d + "/in.geojson", want, &error)) << error;
  std::ofstream(d + "/broken.geojson") << "{\"type\": \"FeatureCollection\", \"features\": [";

  ASSERT_EQ(cartex(d, "new " + d + "/base").status, 0);
  EXPECT_NE(cartex(d, "new " + d + "/base").status, 0);  // never over a base
  ASSERT_EQ(cartex(d, "import " + d + "/base " + d + "/in.geojson").status, 0);
  // Bad input is refused before the base is touched.
  const std::string objects = slurp(d + "/base/OBJETOS.DAT");
  const Outcome broken = cartex(d, "import " + d + "/base " + d + "/broken.geojson");
  EXPECT_EQ(broken.status, 3);
  EXPECT_NE(broken.err.find("not GeoJSON"), std::string::npos) << broken.err;
  EXPECT_EQ(slurp(d + "/base/OBJETOS.DAT"), objects);

  const Outcome info = cartex(d, "info " + d + "/base");
  ASSERT_EQ(info.status, 0) << info.err;
  // One arc each for the shared edge, the rest of either outline and the
  // hole the lake fills; three for the island.
  EXPECT_NE(info.out.find("6 nodes, 7 arcs, 3 area objects (3 closed, 0 open)"), std::string::npos)
      << info.out;
  const Outcome verify = cartex(d, "verify " + d + "/base");
  EXPECT_EQ(verify.status, 0) << verify.out;
  EXPECT_NE(verify.out.find(", 0 faults"), std::string::npos) << verify.out;
  const Outcome render =
      cartex(d, "render " + d + "/base " + d + "/map.png --size 200x100 --fill 240+pop");
  EXPECT_EQ(render.status, 0) << render.err;
  EXPECT_EQ(slurp(d + "/map.png").substr(1, 3), "PNG");

  ASSERT_EQ(cartex(d, "export " + d + "/base " + d + "/out.geojson").status, 0);
  FeatureSet got;
  ASSERT_TRUE(cartex::read_geojson(d + "/out.geojson", &got, &error)) << error;
  expect_same(got, want);

  if (!cartex::shapefile_support()) {
    const Outcome refused = cartex(d, "export " + d + "/base " + d + "/out.shp");
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("without Shapefile support"), std::string::npos) << refused.err;
    GTEST_SKIP() << "cartex is built without Shapefile support";
  }
  ASSERT_EQ(cartex(d, "export " + d + "/base " + d + "/out.shp").status, 0);
  FeatureSet shapes;
  for (const char* name : {"/out.shp", "/out_lines.shp", "/out_points.shp"}) {
    FeatureSet part;
    ASSERT_TRUE(cartex::read_shapefile(d + name, &part, &error)) << error;
    shapes.fields = part.fields;
    shapes.features.insert(shapes.features.end(), part.features.begin(), part.features.end());
  }
  expect_same(shapes, want);
}

// The Natural Earth countries imported into a new base under d and
// exported to d/world.geojson; false (with the reason) when they cannot be.
bool export_world(const std::string& d, std::string* why) {
  if (!fs::exists(NATURALEARTH_SHP))
    return *why = "no " NATURALEARTH_SHP " (scripts/fetch-naturalearth)", false;
  if (!cartex::shapefile_support())
    return *why = "cartex is built without Shapefile support", false;
  EXPECT_EQ(cartex(d, "new " + d + "/world").status, 0);
  const Outcome import = cartex(d, "import " + d + "/world " NATURALEARTH_SHP);
  EXPECT_EQ(import.status, 0) << import.err;
  EXPECT_NE(import.out.find("177 features imported"), std::string::npos) << import.out;
  EXPECT_EQ(cartex(d, "export " + d + "/world " + d + "/world.geojson").status, 0);
  return true;
}

TEST(CartexCli, NaturalEarthCountriesComeBackAsTheyWent) {
  trawlix::testing::TempDir dir;
  const std::string d = dir.path();
  std::string why;
  if (!export_world(d, &why)) GTEST_SKIP() << why;
  FeatureSet want, got;
  std::string error;
  ASSERT_TRUE(cartex::read_shapefile(NATURALEARTH_SHP, &want, &error)) << error;
  ASSERT_TRUE(cartex::read_geojson(d + "/world.geojson", &got, &error)) << error;
  expect_same(got, want);
  EXPECT_EQ(cartex(d, "verify " + d + "/world").status, 0);
}

TEST(CartexCli, OgrinfoReadsTheExportedCountries) {
  if (std::system("command -v ogrinfo >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed: the export is not read by it";
  trawlix::testing::TempDir dir;
  const std::string d = dir.path();
  std::string why;
  if (!export_world(d, &why)) GTEST_SKIP() << why;
  const std::string ogr = "ogrinfo -so -al " + d + "/world.geojson";
  EXPECT_EQ(std::system((ogr + " | grep -q 'Feature Count: 177'").c_str()), 0);
  EXPECT_EQ(std::system((ogr + " | grep -q 'pop_est: Real'").c_str()), 0);
}

}  // namespace
