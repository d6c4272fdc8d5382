// The world window: aspect correction, zooming and the history ring.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cartex32.h"
#include "graphics/graphics_state.h"
#include "platform/pump.h"
#include "session/session.h"

namespace cx {
namespace {

std::vector<double> window() {
  double w[4];
  get_video(&w[0], &w[1], &w[2], &w[3]);
  return {w[0], w[1], w[2], w[3]};
}

class WorldWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    valores_graficos_iniciales();  // as a new session starts
    bind_device(0, 0);
  }
  void TearDown() override { bind_device(0, 0); }
  static void bind_device(int16_t width, int16_t height) {
    EstadoGrafico& g = estado_grafico();
    g.x0 = g.y0 = 0;
    g.x1 = width;
    g.y1 = height;
  }
  static double param9() { return sesion().params[9]; }
};

TEST_F(WorldWindow, DegenerateWindowBecomesOneUnitSquareWithoutADevice) {
  set_video(10, 10, 10, 10);
  EXPECT_EQ(window(), (std::vector<double>{10, 10, 11, 11}));
  set_video(50, 40, 20, 10);  // corners in any order
  EXPECT_EQ(window(), (std::vector<double>{20, 10, 50, 40}));
  EXPECT_EQ(param9(), 15.0);
}

TEST_F(WorldWindow, WindowTakesTheShapeOfTheDevice) {
  bind_device(200, 100);  // height / width = 0.5
  set_video(0, 0, 100, 100);
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 200, 100}));
  set_video(0, 0, 100, 10);
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 100, 50}));
  EXPECT_EQ(param9(), 50.0);
  // The main view's transform maps the window onto the device.
  const EstadoGrafico& g = estado_grafico();
  EXPECT_EQ(g.current, 1);
  EXPECT_DOUBLE_EQ(g.sx, 2.0);
  EXPECT_DOUBLE_EQ(g.sy, -2.0);
  EXPECT_DOUBLE_EQ(g.oy, 100.0);
}

TEST_F(WorldWindow, DeviceWithoutHeightCountsAsSquare) {
  bind_device(200, 0);
  set_video(0, 0, 100, 40);
  const std::vector<double> w = window();
  for (double v : w) EXPECT_TRUE(std::isfinite(v));
  EXPECT_EQ(w, (std::vector<double>{0, 0, 100, 100}));
}

TEST_F(WorldWindow, ZoomInAndOutByAnEighthOfTheWidth) {
  set_video(0, 0, 800, 800);
  zoom_out(0);
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 900, 900}));
  set_video(0, 0, 800, 800);
  zoom_in(0);
  EXPECT_EQ(window(), (std::vector<double>{100, 100, 700, 700}));
  EXPECT_EQ(param9(), 300.0);
  set_video(1000, 50, 1800, 850);
  zoom_out(0);
  EXPECT_EQ(window(), (std::vector<double>{900, 0, 1900, 950}));
}

TEST_F(WorldWindow, HistoryRingOfFive) {
  EXPECT_EQ(initst(0), 0);
  const std::vector<double> whole{0, 0, 2000000, 2000000};
  EXPECT_EQ(window(), whole);
  last_window(0);  // slot 0 holds the whole base too
  EXPECT_EQ(window(), whole);
  EXPECT_EQ(sesion().history_pos, 0);

  initst(0);
  dmoven(0);  // unchanged: the history does not advance
  EXPECT_EQ(sesion().history_pos, 1);

  for (int i = 1; i <= 6; ++i) {
    set_video(0, 0, 100 * i, 100 * i);
    dmoven(0);
  }
  EXPECT_EQ(sesion().history_pos, (1 + 6) % 5);
  last_window(0);
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 500, 500}));
  last_window(0);
  last_window(0);
  last_window(0);
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 200, 200}));
  last_window(0);  // the sixth window overwrote the oldest
  EXPECT_EQ(window(), (std::vector<double>{0, 0, 600, 600}));
}

TEST_F(WorldWindow, RedrawLetsTheHostsEventsRunAndCanBeStopped) {
  int pumped = 0;
  set_pump([](void* n) { ++*static_cast<int*>(n); }, &pumped);
  set_video(0, 0, 10, 10);
  dmoven(0);
  set_pump(nullptr, nullptr);
  EXPECT_GE(pumped, 1);
}

}  // namespace
}  // namespace cx
