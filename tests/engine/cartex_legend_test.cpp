// cartex render with classes: each area in its class's colour (a value on
// a limit in the class above it), a hole no area fills left white, the
// legend's boxes in the classes' colours, and the options refused.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../support/temp_dir.h"
#include "support/cartex_run.h"

namespace {

using Outcome = cx::testing::CartexOutcome;

Outcome cartex(const std::string& dir, const std::string& args) {
  return cx::testing::run_cartex(dir, args);
}

std::vector<uint32_t> read_png(const std::string& file, unsigned* width) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return {};
  *width = image.width;
  std::vector<uint32_t> rgb(bytes.size() / 3);
  for (std::size_t i = 0; i < rgb.size(); ++i)
    rgb[i] = bytes[3 * i] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i + 2];
  return rgb;
}

// Ramp entries 0, 3, 6 and 9: four classes spread over the ten colours.
constexpr uint32_t kClass[4] = {0xFFF5AA, 234 << 16 | 173 << 8 | 119, 213 << 16 | 101 << 8 | 68,
                                192 << 16 | 29 << 8 | 17};

TEST(CartexLegend, AreasTakeTheirClassColourAndTheLegendShowsEveryClass) {
  trawlix::testing::TempDir dir;
  const std::string d = dir.path(), base = d + "/base";
  // West (with a hole nothing fills), east and north, on 10 pixels a unit:
  // file point (x, y) is pixel (10 (x + 1), 10 (21 - y)).
  std::ofstream(d + "/in.geojson") << R"({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"pop": 12},
     "geometry": {"type": "Polygon", "coordinates": [[[0,0],[10,0],[10,10],[0,10],[0,0]],
                                                     [[2,2],[2,4],[4,4],[4,2],[2,2]]]}},
    {"type": "Feature", "properties": {"pop": 3},
     "geometry": {"type": "Polygon", "coordinates": [[[10,0],[20,0],[20,10],[10,10],[10,0]]]}},
    {"type": "Feature", "properties": {"pop": 5},
     "geometry": {"type": "Polygon", "coordinates": [[[0,10],[10,10],[10,20],[0,20],[0,10]]]}}]})";
  ASSERT_EQ(cartex(d, "new " + base).status, 0);
  ASSERT_EQ(cartex(d, "import " + base + " " + d + "/in.geojson").status, 0);
  const std::string view = " --window -1,-1,31,21 --size 320x220 --fill pop --classes 1,5,10";
  for (const bool legend : {false, true}) {
    const std::string png = d + "/map.png";
    const Outcome drawn =
        cartex(d, "render " + base + " " + png + view + (legend ? " --legend" : ""));
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    unsigned width = 0;
    const std::vector<uint32_t> rgb = read_png(png, &width);
    ASSERT_EQ(width, 320u);
    ASSERT_EQ(rgb.size(), 320u * 220u);
    auto at = [&](double x, double y) {
      return rgb[static_cast<std::size_t>(10 * (21 - y)) * width +
                 static_cast<std::size_t>(10 * (x + 1))];
    };
    EXPECT_EQ(at(7, 7), kClass[3]);    // west, 12: from 10 on
    EXPECT_EQ(at(17, 3), kClass[1]);   // east, 3: 1 up to 5
    EXPECT_EQ(at(3, 17), kClass[2]);   // north, 5: on the limit, 5 up to 10
    EXPECT_EQ(at(3, 3), 0xFFFFFFu);    // west's hole
    EXPECT_EQ(at(25, 15), 0xFFFFFFu);  // the sea above the legend
    // The legend: the right fifth of the view, four twentieths of it high.
    int boxes[4] = {};
    for (std::size_t y = 176; y < 220; ++y)
      for (std::size_t x = 256; x < 320; ++x)
        for (int c = 0; c < 4; ++c) boxes[c] += rgb[y * width + x] == kClass[c];
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(boxes[c] > 8, legend) << "class " << c << ": " << boxes[c];
  }
}

TEST(CartexLegend, BadClassOptionsAreRefusedAndNothingIsWritten) {
  trawlix::testing::TempDir dir;
  const std::string d = dir.path();
  ASSERT_EQ(cartex(d, "new " + d + "/base").status, 0);
  const struct {
    const char* options;
    const char* message;
  } cases[] = {
      {"--legend", "--legend needs --classes"},
      {"--classes 1,2", "--classes needs --fill"},
      {"--fill pop --classes 2,1", "--classes takes 1 to 9 rising limits"},
      {"--fill pop --classes 1,1", "--classes takes 1 to 9 rising limits"},
      {"--fill pop --classes 1,2,3,4,5,6,7,8,9,10", "--classes takes 1 to 9 rising limits"},
      {"--fill pop --classes nan", "--classes takes 1 to 9 rising limits"},
      {"--fill pop --classes 1,,2", "--classes takes 1 to 9 rising limits"},
      {"--fill pop --classes", "--classes needs a value"},
  };
  for (const auto& c : cases) {
    const Outcome o = cartex(d, "render " + d + "/base " + d + "/map.png " + c.options);
    EXPECT_EQ(o.status, 2) << c.options;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << c.options << ": " << o.err;
  }
  EXPECT_FALSE(std::ifstream(d + "/map.png").good());
}

}  // namespace
