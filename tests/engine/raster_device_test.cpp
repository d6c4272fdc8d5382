// The raster device pixel for pixel: each case draws on a small white
// surface and is compared with a picture checked by hand ('.' white,
// '#' black, 'r' red, 'b' blue).
#include "platform/raster_device.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace cx {
namespace {

constexpr Colorref kBlack = 0x000000, kRed = 0x0000FF, kBlue = 0xFF0000;

std::vector<std::string> picture_of(const RasterDevice& d) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < d.height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < d.width(); ++x) {
      switch (d.pixels()[std::size_t(y) * d.width() + x]) {
        case 0xFFFFFF:
          row += '.';
          break;
        case kBlack:
          row += '#';
          break;
        case kRed:
          row += 'r';
          break;
        case kBlue:
          row += 'b';
          break;
        default:
          row += '?';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

std::vector<DevicePoint> pts(std::initializer_list<DevicePoint> p) {
  return p;
}

struct PixelCase {
  const char* name;
  std::function<void(RasterDevice&)> draw;
  std::vector<std::string> expected;
};

void run(const std::vector<PixelCase>& cases) {
  for (const PixelCase& c : cases) {
    RasterDevice d(static_cast<int32_t>(c.expected[0].size()),
                   static_cast<int32_t>(c.expected.size()));
    d.select_brush({false, kRed});
    c.draw(d);
    EXPECT_EQ(picture_of(d), c.expected) << c.name;
  }
}

void line(RasterDevice& d, std::vector<DevicePoint> p, Pen pen = {}) {
  d.select_pen(pen);
  d.polyline(p.data(), static_cast<int>(p.size()));
}

TEST(RasterDevice, LinesLeaveOutTheirLastPixel) {
  // clang-format off
  run({
      {"horizontal", [](RasterDevice& d) { line(d, pts({{1, 1}, {5, 1}})); },
       {".......",
        ".####..",
        "......."}},
      {"shallow slope going down rounds halves toward the start",
       [](RasterDevice& d) { line(d, pts({{0, 0}, {4, 2}})); },
       {"##....",
        "..##..",
        "......"}},
      {"drawn backwards (going up) halves go toward the end",
       [](RasterDevice& d) { line(d, pts({{4, 2}, {0, 0}})); },
       {".#....",
        "..##..",
        "....#."}},
      {"a corner is drawn once, the end left out",
       [](RasterDevice& d) { line(d, pts({{1, 1}, {4, 1}, {4, 3}})); },
       {"......",
        ".####.",
        "....#.",
        "......"}},
      {"two identical points draw nothing", [](RasterDevice& d) { line(d, pts({{1, 1}, {1, 1}})); },
       {"...",
        "...",
        "..."}},
      {"dash: 18 on, 6 off",
       [](RasterDevice& d) {
         line(d, pts({{0, 0}, {31, 0}}), {PenStyle::dash, 1, kBlack});
       },
       {"##################......#######."}},
      {"dot style carries round a corner",
       [](RasterDevice& d) {
         line(d, pts({{0, 0}, {4, 0}, {4, 5}}), {PenStyle::dot, 1, kBlack});
       },
       {"###..",
        ".....",
        "....#",
        "....#",
        "....#",
        "....."}},
  });
  // clang-format on
}

// A wide pen is a band along each segment, up to its far end, and a round
// dot of the pen's width on every vertex.
TEST(RasterDevice, WidePensHaveRoundCapsAndJoins) {
  // clang-format off
  run({
      {"3 pixels wide: three rows, a 3-pixel dot on each end",
       [](RasterDevice& d) {
         line(d, pts({{2, 2}, {6, 2}}), {PenStyle::solid, 3, kBlack});
       },
       {".........",
        "..#####..",
        ".#######.",
        "..#####..",
        "........."}},
      {"2 pixels wide covers the row above too, its dots half a pixel out",
       [](RasterDevice& d) {
         line(d, pts({{1, 2}, {4, 2}}), {PenStyle::solid, 2, kBlack});
       },
       {"......",
        "#####.",
        "#####.",
        "......"}},
      {"a 5-pixel dot is round",
       [](RasterDevice& d) {
         line(d, pts({{3, 3}, {3, 3}}), {PenStyle::solid, 5, kBlack});
       },
       {".......",
        "..###..",
        ".#####.",
        ".#####.",
        ".#####.",
        "..###..",
        "......."}},
      {"a corner joins round",
       [](RasterDevice& d) {
         line(d, pts({{1, 5}, {5, 5}, {5, 1}}), {PenStyle::solid, 3, kBlack});
       },
       {".....#..",
        "....###.",
        "....###.",
        "....###.",
        ".######.",
        "#######.",
        ".#####..",
        "........"}},
      {"a slanted segment: its ends pushed out sideways, the larger half up",
       [](RasterDevice& d) {
         d.select_pen({PenStyle::solid, 3, kBlack});
         d.polyline(pts({{1, 1}, {7, 4}}).data(), 2);
         d.select_pen({PenStyle::solid, 1, kRed});
         d.polyline(pts({{1, 1}, {7, 4}}).data(), 2);
       },
       {".###....",
        "#rr###..",
        "###rr###",
        "..###rr#",
        "....####",
        ".......#",
        "........"}},
  });
  // clang-format on
}

TEST(RasterDevice, RectanglesAndEllipsesLeaveOutRightAndBottomEdges) {
  // clang-format off
  run({
      {"rectangle: pen frame, brush inside", [](RasterDevice& d) { d.rectangle({1, 1, 5, 4}); },
       {"......",
        ".####.",
        ".#rr#.",
        ".####.",
        "......"}},
      {"hollow brush, corners in any order",
       [](RasterDevice& d) {
         d.select_brush({true, 0});
         d.rectangle({3, 3, 0, 0});
       },
       {"###.",
        "#.#.",
        "###.",
        "...."}},
      {"a 1 x 1 rectangle is one pixel", [](RasterDevice& d) { d.rectangle({1, 1, 2, 2}); },
       {"...",
        ".#.",
        "..."}},
      {"ellipse: the pen on the outermost pixels, brush inside",
       [](RasterDevice& d) { d.ellipse({0, 0, 7, 5}); },
       {"..###..",
        "##rrr##",
        "#rrrrr#",
        "##rrr##",
        "..###.."}},
      {"an ellipse much taller than wide still reaches its top and bottom rows",
       [](RasterDevice& d) {
         d.select_pen({PenStyle::null, 1, 0});
         d.ellipse({0, 0, 3, 9});
       },
       {".r.", ".r.", "rrr", "rrr", "rrr", "rrr", "rrr", ".r.", ".r."}},
      {"an ellipse without a pen keeps its size; two pixels high is a box",
       [](RasterDevice& d) {
         d.select_pen({PenStyle::null, 1, 0});
         d.ellipse({0, 0, 5, 3});
         d.ellipse({0, 3, 5, 5});
       },
       {".rrr.",
        "rrrrr",
        ".rrr.",
        "rrrr.",
        "....."}},
  });
  // clang-format on
}

TEST(RasterDevice, PolygonsFillByTheirFillMode) {
  // A square wound twice: winding number 2 inside, an even count of crossings.
  const auto twice = pts({{1, 1}, {6, 1}, {6, 5}, {1, 5}, {1, 1}, {6, 1}, {6, 5}, {1, 5}});
  const auto draw = [twice](FillMode mode) {
    return [twice, mode](RasterDevice& d) {
      d.set_fill_mode(mode);
      d.polygon(twice.data(), static_cast<int>(twice.size()));
    };
  };
  // clang-format off
  run({
      {"winding fills where the winding number is not 0",
       draw(FillMode::winding),
       {"........",
        ".######.",
        ".#rrrr#.",
        ".#rrrr#.",
        ".#rrrr#.",
        ".######.",
        "........"}},
      {"alternate leaves what is crossed twice",
       draw(FillMode::alternate),
       {"........",
        ".######.",
        ".#....#.",
        ".#....#.",
        ".#....#.",
        ".######.",
        "........"}},
      {"triangle: top-left rule, the pen on every edge",
       [](RasterDevice& d) {
         d.select_pen({PenStyle::solid, 1, kBlue});
         const auto t = pts({{0, 0}, {6, 0}, {0, 6}});
         d.polygon(t.data(), 3);
       },
       {"bbbbbbb",
        "brrrrb.",
        "brrrb..",
        "brrb...",
        "brb....",
        "bb.....",
        "b......"}},
  });
  // clang-format on
}

TEST(RasterDevice, ClipRegionKeepsEverythingOutsideIt) {
  // clang-format off
  run({
      {"box over the whole device",
       [](RasterDevice& d) {
         d.set_clip({2, 1, 5, 3});
         d.rectangle({-10, -10, 50, 50});
         EXPECT_EQ(d.set_pixel(0, 0, kBlue), kInvalidColour);
         EXPECT_EQ(d.get_pixel(5, 1), kInvalidColour);
         EXPECT_EQ(d.set_pixel(2, 1, kBlue), kBlue);
       },
       {".......",
        "..brr..",
        "..rrr..",
        "......."}},
      {"a line from far outside keeps its slope",
       [](RasterDevice& d) {
         d.set_clip({0, 0, 4, 4});
         line(d, pts({{-2000000000, -2000000000}, {2000000000, 2000000000}}));
       },
       {"#.....",
        ".#....",
        "..#...",
        "...#..",
        "......"}},
  });
  // clang-format on
}

TEST(RasterDevice, ExclusiveOrTwiceRestoresTheImage) {
  RasterDevice d(40, 30);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> coord(-10, 50);
  d.select_brush({false, 0x123456});
  line(d, pts({{0, 0}, {39, 29}}), {PenStyle::solid, 4, 0x00FF00});
  const std::vector<Colorref> before = d.pixels();
  d.set_raster_op(RasterOp::xor_pen);
  for (int round = 0; round < 2; ++round) {
    std::mt19937 again = rng;
    for (int i = 0; i < 40; ++i) {
      std::vector<DevicePoint> p;
      for (int k = 0; k < 5; ++k) p.push_back({coord(again), coord(again)});
      const int width = i % 4 == 0 ? 1 : 1 + i % 5;
      d.select_pen({static_cast<PenStyle>(i % 5), width, 0xA5A5A5});
      d.set_fill_mode(i % 2 ? FillMode::winding : FillMode::alternate);
      d.polyline(p.data(), 5);
      d.polygon(p.data(), 5);
      d.rectangle({p[0].x, p[0].y, p[1].x, p[1].y});
      d.ellipse({p[2].x, p[2].y, p[3].x, p[3].y});
    }
    if (round == 0) {
      EXPECT_NE(d.pixels(), before);
    }
  }
  EXPECT_EQ(d.pixels(), before);
  // One pass over a known pixel: the pen colour xor what was there.
  RasterDevice one(3, 1);
  one.set_raster_op(RasterOp::xor_pen);
  line(one, pts({{0, 0}, {2, 0}}), {PenStyle::solid, 1, 0x0000FF});
  EXPECT_EQ(one.pixels(), (std::vector<Colorref>{0xFFFF00, 0xFFFF00, 0xFFFFFF}));
}

}  // namespace
}  // namespace cx
