// cartex over a base it made, checked from outside: the picture render
// fills (an area's class colour, a hole another area fills, the sea), and
// the faults verify and info must find once the files are damaged by hand.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "../support/temp_dir.h"
#include "formats.h"
#include "support/cartex_run.h"

namespace {

using Outcome = cx::testing::CartexOutcome;

Outcome cartex(const std::string& dir, const std::string& args) {
  return cx::testing::run_cartex(dir, args);
}

// Two neighbours, the west one with a hole that a lake fills.
std::string make_base(const std::string& d) {
  std::ofstream(d + "/in.geojson") << R"({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"pop": 12},
     "geometry": {"type": "Polygon", "coordinates": [[[0,0],[10,0],[10,10],[0,10],[0,0]],
                                                     [[2,2],[2,4],[4,4],[4,2],[2,2]]]}},
    {"type": "Feature", "properties": {"pop": 3},
     "geometry": {"type": "Polygon", "coordinates": [[[10,0],[20,0],[20,10],[10,10],[10,0]]]}},
    {"type": "Feature", "properties": {"pop": 0},
     "geometry": {"type": "Polygon", "coordinates": [[[2,2],[4,2],[4,4],[2,4],[2,2]]]}}]})";
  const std::string base = d + "/base";
  EXPECT_EQ(cartex(d, "new " + base).status, 0);
  EXPECT_EQ(cartex(d, "import " + base + " " + d + "/in.geojson").status, 0);
  return base;
}

template <typename T>
T read_at(const std::string& file, std::streamoff at) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(at);
  T value{};
  in.read(reinterpret_cast<char*>(&value), sizeof value);
  return value;
}

template <typename T>
void write_at(const std::string& file, std::streamoff at, T value) {
  std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
  out.seekp(at);
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

TEST(CartexFaults, RenderFillsEachAreaInItsClassAndLeavesTheSeaWhite) {
  trawlix::testing::TempDir dir;
  const std::string base = make_base(dir.path());
  const std::string png = dir.path() + "/map.png";
  // 10 pixels a degree: file point (x, y) is pixel (10 (x + 1), 10 (11 - y)).
  ASSERT_EQ(cartex(dir.path(), "render " + base + " " + png +
                                   " --window -1,-1,21,11 --size 220x120 --fill 240+pop")
                .status,
            0);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, png.c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  ASSERT_EQ(image.width, 220u);
  auto rgb = [&](double x, double y) {
    const auto px = static_cast<std::size_t>(10 * (x + 1)),
               py = static_cast<std::size_t>(10 * (11 - y));
    const uint8_t* p = &pixels[(py * image.width + px) * 3];
    return (p[0] << 16) | (p[1] << 8) | p[2];
  };
  EXPECT_EQ(rgb(17, 3), 234 << 16 | 173 << 8 | 119);     // east, class 3
  EXPECT_EQ(rgb(2.5, 3.5), 255 << 16 | 245 << 8 | 170);  // the lake in west's hole, class 0
  EXPECT_NE(rgb(7, 7), rgb(17, 3));                      // west, another colour
  EXPECT_NE(rgb(7, 7), 0xFFFFFF);
  EXPECT_EQ(rgb(-0.5, 5), 0xFFFFFF);  // the sea
}

TEST(CartexFaults, VerifyAndInfoFindDamagedFiles) {
  trawlix::testing::TempDir dir;
  const std::string base = make_base(dir.path());
  ASSERT_EQ(cartex(dir.path(), "verify " + base).status, 0);
  const Outcome info = cartex(dir.path(), "info " + base);
  ASSERT_NE(info.out.find("3 area objects (3 closed, 0 open)"), std::string::npos) << info.out;

  // A node's list naming an arc that is not there, the arc it named then
  // listed at one end only.
  const std::string list = base + "/TOPOlist.dat";
  const auto listed = read_at<int32_t>(list, 16);
  write_at<int32_t>(list, 16, 9999);
  const Outcome unlisted = cartex(dir.path(), "verify " + base);
  EXPECT_EQ(unlisted.status, 1);
  EXPECT_NE(unlisted.out.find("lists arc 9999, which is not there"), std::string::npos)
      << unlisted.out;
  EXPECT_NE(unlisted.out.find("fault: arc " + std::to_string(listed) + " is on 1 node lists"),
            std::string::npos)
      << unlisted.out;
  write_at<int32_t>(list, 16, listed);

  // West's description chain cut after its second arc: it no longer closes.
  const std::string objs = base + "/TOPOobjs.dat", desc = base + "/TOPOdesc.dat";
  const auto first = read_at<int32_t>(objs, 48 + 44);
  const auto second = read_at<int32_t>(desc, 18 * first + 12);
  ASSERT_GT(second, 0);
  write_at<int32_t>(desc, 18 * second + 12, 0);
  const Outcome cut = cartex(dir.path(), "info " + base);
  EXPECT_NE(cut.out.find("(2 closed, 1 open)"), std::string::npos) << cut.out;
  EXPECT_NE(cut.out.find("area 1 (code 1) does not close"), std::string::npos) << cut.out;
  const Outcome chains = cartex(dir.path(), "verify " + base);
  EXPECT_NE(chains.out.find("is on no area's chain"), std::string::npos) << chains.out;

  // West's label point moved in its record but not in xyt3.inx.
  write_at<double>(objs, 48 + 16, read_at<double>(objs, 48 + 16) + 5000);
  const Outcome moved = cartex(dir.path(), "verify " + base);
  EXPECT_EQ(moved.status, 1);
  EXPECT_NE(moved.out.find("fault: TOPOxyt3.inx keeps record 1 at another point"),
            std::string::npos)
      << moved.out;
  // An area object given back while its code stays indexed.
  write_at<int32_t>(objs, 2 * 48, -1);
  const Outcome gone = cartex(dir.path(), "verify " + base);
  EXPECT_NE(gone.out.find("fault: TOPOnodo.inx names record 2, which is not there"),
            std::string::npos)
      << gone.out;
  EXPECT_NE(gone.out.find("fault: TOPOxyt3.inx names record 2, which is not there"),
            std::string::npos)
      << gone.out;
}

TEST(CartexFaults, LongPropertyNamesAreCutToDbaseColumnsKeptApart) {
  trawlix::testing::TempDir dir;
  const std::string d = dir.path();
  std::ofstream(d + "/long.geojson") << R"({"type": "Feature",
    "properties": {"population_2020": 1, "population_2021": 2, "population": 3},
    "geometry": {"type": "Point", "coordinates": [1, 2]}})";
  ASSERT_EQ(cartex(d, "new " + d + "/base").status, 0);
  ASSERT_EQ(cartex(d, "import " + d + "/base " + d + "/long.geojson").status, 0);
  ASSERT_EQ(cartex(d, "export " + d + "/base " + d + "/out.geojson").status, 0);
  cartex::FeatureSet got;
  std::string error;
  ASSERT_TRUE(cartex::read_geojson(d + "/out.geojson", &got, &error)) << error;
  ASSERT_EQ(got.fields.size(), 3u);
  EXPECT_EQ(got.fields[0].name, "population");
  EXPECT_EQ(got.fields[1].name, "populati~1");
  EXPECT_EQ(got.fields[2].name, "populati~2");
  ASSERT_EQ(got.features.size(), 1u);
  EXPECT_EQ(got.features[0].values[2].text, "3");
}

}  // namespace
