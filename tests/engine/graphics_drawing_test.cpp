// The drawing attributes and primitives, asserted on what reaches a
// recording device.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_state.h"
#include "support/graphics_support.h"

namespace cx {
namespace {

using testing::BoundRecorder;

// The x extents of the polylines drawn, for horizontal lines.
std::vector<std::pair<int32_t, int32_t>> pieces(const std::vector<RecordedCall>& calls) {
  std::vector<std::pair<int32_t, int32_t>> out;
  for (const RecordedCall& c : calls) {
    EXPECT_EQ(c.kind, "polyline");
    out.emplace_back(c.points.front().x, c.points.back().x);
  }
  return out;
}

TEST(GraphicsAttributes, IndicesAndTypesStayInTheirTables) {
  BoundRecorder r(100, 100);
  struct Case {
    int32_t colour;
    int16_t index;
  };
  for (const Case& c : {Case{300, 44}, Case{-1, 255}, Case{-256, 0}, Case{255, 255}}) {
    EXPECT_EQ(gdcolor(c.colour), c.index) << c.colour;
    EXPECT_EQ(gacolor(), c.index);
  }
  gsetcolor(-2, 0x123456);  // index 254
  EXPECT_EQ(ggetcolor(254), 0x123456);
  EXPECT_EQ(ggetcolor(510), 0x123456);
  gdcolor(254);
  EXPECT_EQ(r.device().pen().colour, 0x123456u);

  // Line types beyond 0..9 are kept as given and drawn as their remainder.
  EXPECT_EQ(gdlintip(13), 13);
  EXPECT_EQ(galintip(), 13);
  EXPECT_EQ(r.device().pen().style, PenStyle::dash);
  gdlintip(-8);  // -8 mod 10 = 2
  EXPECT_EQ(r.device().pen().style, PenStyle::dot);
  EXPECT_EQ(gdlinanch(0), 1);
  EXPECT_EQ(gdlinanch(-4), 1);
  int16_t red, green, blue;
  getRGB(0x00336699, &red, &green, &blue);
  EXPECT_EQ((std::vector<int16_t>{red, green, blue}), (std::vector<int16_t>{0x99, 0x66, 0x33}));
}

TEST(GraphicsAttributes, PenFollowsTheDevice) {
  {
    BoundRecorder printer(100, 100, -1, kTechnologyRasterPrinter);
    gdlinanch(2);
    EXPECT_EQ(printer.device().pen().width, 4);
    gdlinanch(1);
    EXPECT_EQ(printer.device().pen().width, 1);
  }
  {
    BoundRecorder two_colours(100, 100, 2);
    gdcolor(12);
    EXPECT_EQ(two_colours.device().pen().colour, 0u);
  }
  BoundRecorder screen(100, 100);
  gdcolor(12);
  EXPECT_EQ(screen.device().pen().colour, 0x0000FFu);
  gdeor(1);
  EXPECT_EQ(screen.device().raster_op(), RasterOp::xor_pen);
  EXPECT_EQ(gaeor(), 1);
  glineor(0, 0, 10, 10);  // the mode it found is put back
  EXPECT_EQ(gaeor(), 1);
  gdeor(0);
  glineor(0, 0, 10, 10);
  EXPECT_EQ(screen.calls().back().op, RasterOp::xor_pen);
  EXPECT_EQ(screen.device().raster_op(), RasterOp::copy);
}

TEST(GraphicsLines, WidthOneIsOneStyledPolyline) {
  BoundRecorder r(100, 100);
  gdlintip(3);
  const double xs[5] = {0, 10, 20, 30, 40}, ys[5] = {0, 10, 0, 10, 0};
  gplinea(xs, ys, 5);
  ASSERT_EQ(r.calls().size(), 1u);
  EXPECT_EQ(r.calls()[0].points.size(), 5u);
  EXPECT_EQ(r.calls()[0].pen.style, PenStyle::dash);
  EXPECT_EQ(r.calls()[0].points[1], (DevicePoint{10, 90}));
  EXPECT_EQ(estado_grafico().position, (DevicePoint{40, 100}));
}

TEST(GraphicsLines, WidePensAreCutIntoTheirDashes) {
  BoundRecorder r(200, 100);
  gdlinanch(3);
  struct Case {
    int16_t type;
    double x2;
    std::vector<std::pair<int32_t, int32_t>> expected;
  };
  const std::vector<Case> cases = {
      // on 2 x 3, off 1 x 3 + 3: pieces 6 long, starts 12 apart.
      {3, 40, {{0, 6}, {12, 18}, {24, 30}, {36, 40}}},
      // type 1 is on 3, off 0 + 3: the round caps close every gap.
      {1, 13, {{0, 3}, {6, 9}, {12, 13}}},
      {5, 40, {{0, 9}, {15, 18}, {24, 33}, {39, 40}}},
      {0, 40, {{0, 40}}},
  };
  for (const Case& c : cases) {
    r.calls().clear();
    gdlintip(c.type);
    glinea(0, 50, c.x2, 50);
    EXPECT_EQ(pieces(r.calls()), c.expected) << "type " << c.type;
  }
  // Two identical points draw nothing with a wide pen.
  r.calls().clear();
  gdlintip(3);
  glinea(5, 5, 5, 5);
  EXPECT_TRUE(r.calls().empty());
}

TEST(GraphicsLines, DashesRunRoundCorners) {
  BoundRecorder r(200, 200);
  gdlinanch(3);
  gdlintip(3);
  const double xs[3] = {0, 9, 9}, ys[3] = {100, 100, 91};
  gplinea(xs, ys, 3);
  std::vector<std::pair<DevicePoint, DevicePoint>> got;
  for (const RecordedCall& c : r.calls()) got.emplace_back(c.points.front(), c.points.back());
  // 6 on, 6 off: the off run ends 3 units after the corner at (9, 100).
  EXPECT_EQ(got, (std::vector<std::pair<DevicePoint, DevicePoint>>{{{0, 100}, {6, 100}},
                                                                   {{9, 103}, {9, 109}}}));
}

// A long polyline is drawn in pieces that join, and the dash position goes
// on from piece to piece as if it were one.
TEST(GraphicsLines, LongPolylinesAreDrawnInJoinedPieces) {
  BoundRecorder r(4000, 100);
  std::vector<double> xs, ys;
  for (int i = 0; i < 3000; ++i) {
    xs.push_back(i);
    ys.push_back(50);
  }
  gplinea(xs.data(), ys.data(), 3000);
  ASSERT_EQ(r.calls().size(), 3u);
  int32_t next = 0;
  for (const RecordedCall& c : r.calls()) {
    EXPECT_LE(c.points.size(), std::size_t(kPuntosBuffer));
    EXPECT_EQ(c.points.front().x, next);
    EXPECT_EQ(c.continues, next > 0);
    next = c.points.back().x;
  }
  EXPECT_EQ(next, 2999);

  r.calls().clear();
  gdlinanch(3);
  gdlintip(3);
  gplinea(xs.data(), ys.data(), 3000);
  // Every unit edge is drawn exactly when it lies in an on run [12k, 12k + 6].
  std::vector<bool> drawn(2999, false);
  for (const auto& [a, b] : pieces(r.calls())) {
    for (int32_t x = a; x < b; ++x) drawn[x] = true;
  }
  for (int x = 0; x < 2999; ++x) EXPECT_EQ(drawn[x], x % 12 < 6) << x;
}

TEST(GraphicsShapes, CirclesBoxesAndMarkers) {
  BoundRecorder r(200, 100);
  EXPECT_EQ(gcirculo(50, 50, 10), 1);
  EXPECT_EQ(r.calls().back().box, (DeviceRect{40, 40, 60, 60}));
  EXPECT_EQ(r.calls().back().brush, (Brush{false, 0xFFFFFF}));  // the device's own brush
  r.calls().clear();
  EXPECT_EQ(gcirculo(50, 50, 16001), 0);  // beyond 16,000 pixels
  EXPECT_EQ(gcirculo(-20, 50, 10), 0);    // wholly left of the device
  EXPECT_TRUE(r.calls().empty());

  gdcolor(12);
  EXPECT_EQ(gelipse(100, 50, 0, 0, 20, 10), 1);
  EXPECT_EQ(r.calls().back().box, (DeviceRect{80, 40, 120, 60}));
  EXPECT_EQ(r.calls().back().brush, (Brush{false, 0x0000FF}));
  EXPECT_EQ(gcaja(10, 10, 30, 20), 1);
  EXPECT_EQ(r.calls().back().kind, "rectangle");
  EXPECT_EQ(r.calls().back().box, (DeviceRect{10, 90, 30, 80}));
  EXPECT_EQ(gcaja(300, 10, 400, 20), 0);

  gborre(0, 0, 5, 5);
  EXPECT_EQ(r.calls().back().brush.colour, 0xFFFFFFu);  // palette entry 0
  EXPECT_EQ(gacolor(), 12);
  EXPECT_EQ(r.device().pen().colour, 0x0000FFu);

  marque_punto(100, 50);
  EXPECT_EQ(r.calls().back().box, (DeviceRect{98, 48, 102, 52}));
  EXPECT_EQ(disco(100, 50, 3), 1);
  EXPECT_EQ(r.calls().back().brush.colour, 0x0000FFu);
  EXPECT_EQ(r.device().brush(), (Brush{false, 0xFFFFFF}));  // put back after
}

// Rows grow downward and clip values upward: the rejections compare the two
// in one orientation, so a shape visible in the clip region is drawn.
TEST(GraphicsShapes, QuickRejectionsUseTheClipRegionInDeviceRows) {
  BoundRecorder r(200, 100);
  gdrecorte(0, 0, 0, 200, 50);  // the lower half: rows 50..99
  r.calls().clear();
  EXPECT_EQ(gcirculo(100, 20, 5), 1);  // row 80
  EXPECT_EQ(gcaja(10, 10, 20, 20), 1);
  marque_punto(100, 20);
  EXPECT_EQ(r.calls().size(), 3u);
  r.calls().clear();
  EXPECT_EQ(gcirculo(100, 80, 5), 0);  // row 20, above the region
  EXPECT_EQ(gcaja(10, 60, 20, 90), 0);
  marque_punto(100, 80);
  EXPECT_TRUE(r.calls().empty());
}

TEST(GraphicsShapes, ArcsDrawNothing) {
  BoundRecorder r(100, 100);
  garco1(50, 50, 10, 0, 1);
  garco2(1, 2, 3, 4, 5);
  garco3(0, 0, 10, 10, 20, 0);
  garco3(0, 0, 5, 5, 10, 10);  // collinear: no circle
  garco3(1, 1, 1, 1, 1, 1);
  EXPECT_TRUE(r.calls().empty());
}

TEST(GraphicsShapes, CursorIsTwoLinesInColourTwelve) {
  BoundRecorder r(100, 100);
  gdeor(1);
  gcursor(50, 50);
  ASSERT_EQ(r.calls().size(), 2u);
  EXPECT_EQ(r.calls()[0].points, (std::vector<DevicePoint>{{44, 50}, {56, 50}}));
  EXPECT_EQ(r.calls()[1].points, (std::vector<DevicePoint>{{50, 44}, {50, 56}}));
  EXPECT_EQ(r.calls()[1].op, RasterOp::copy);
  EXPECT_EQ(gacolor(), 12);
  EXPECT_EQ(gaeor(), 0);
}

TEST(GraphicsShapes, PointsAndDeviceLines) {
  BoundRecorder r(100, 100);
  EXPECT_EQ(gpunto(10, 10), 0);  // black
  EXPECT_EQ(r.calls().back().points[0], (DevicePoint{10, 90}));
  glineaint(1, 2, 3, 4);
  linea_a(10, 10);
  EXPECT_EQ(r.calls().back().points, (std::vector<DevicePoint>{{3, 4}, {10, 90}}));
}

TEST(GraphicsShapes, NothingIsDrawnWithoutADevice) {
  int32_t handle;
  {
    BoundRecorder r(100, 100);
    handle = r.handle();
  }
  // The bound device was released: every call draws nothing and returns
  // its nothing-drawn value.
  EXPECT_EQ(estado_grafico().device, 0);
  const double xs[2] = {0, 10}, ys[2] = {0, 10};
  gplinea(xs, ys, 2);
  gcursor(5, 5);
  EXPECT_EQ(gpunto(1, 1), -1);
  EXPECT_EQ(gcirculo(5, 5, 5), 0);
  EXPECT_EQ(gcaja(0, 0, 5, 5), 0);
  EXPECT_EQ(gapunto(1, 1, handle), -1);
  gabrest(0, 0, 100, 100, handle);  // a stale handle binds nothing
  EXPECT_EQ(gpunto(1, 1), -1);
  vb_sethdcxy(0, 0, 0, 0, 0);
}

TEST(GraphicsDistance, PointToPolyline) {
  const double xs[3] = {0, 10, 10}, ys[3] = {0, 0, 10};
  struct Case {
    double px, py, distance;
    int16_t index;
  };
  for (const Case& c : {Case{15, 5, 5, 1}, Case{15, 0, 5, 0}, Case{5, 3, 3, 0}, Case{12, 5, 2, 1},
                        Case{-3, -4, 5, 0}}) {
    double d = -1;
    int16_t index = 0;
    EXPECT_EQ(distancia_poli(xs, ys, 3, c.px, c.py, &d, &index), c.index);
    EXPECT_EQ(index, c.index);
    EXPECT_DOUBLE_EQ(d, c.distance);
  }
  // One segment, the point beyond its end: the nearer end, index 0.
  double d;
  int16_t index = 0;
  EXPECT_EQ(distancia_poli(xs, ys, 2, 14, 3, &d, &index), 0);
  EXPECT_DOUBLE_EQ(d, 5);
  // Index -1 on entry: the arrays are floats.
  const float fx[2] = {0, 0}, fy[2] = {0, 10};
  index = -1;
  EXPECT_EQ(distancia_poli(fx, fy, 2, 4, 5, &d, &index), 0);
  EXPECT_DOUBLE_EQ(d, 4);
  index = 7;
  EXPECT_EQ(distancia_poli(xs, ys, 0, 1, 1, &d, &index), -1);
  EXPECT_EQ(index, 7);
}

}  // namespace
}  // namespace cx
