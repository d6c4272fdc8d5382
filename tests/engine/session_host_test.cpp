// A host's session on the sample base written by cartex32-sample-base:
// opened, queried and ended through exports bound by name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace {

using cx::testing::EngineLibrary;
using cx::testing::TempBase;

TEST(SessionHost, OpensTheSampleBaseSelectsALayerAndMovesTheWindow) {
  TempBase base;
  ASSERT_EQ(std::system((std::string(CARTEX32_SAMPLE_BASE_TOOL) + " .").c_str()), 0);
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  auto* open = CX_BIND(lib, inigks);
  auto* prepare = CX_BIND(lib, inifil);
  auto* close = CX_BIND(lib, end_cons);
  auto* layer = CX_BIND(lib, get_tcapas);
  auto* set = CX_BIND(lib, set_consts);
  auto* get = CX_BIND(lib, get_consts);
  auto* video = CX_BIND(lib, set_video);
  auto* read_video = CX_BIND(lib, get_video);
  auto* zoom = CX_BIND(lib, zoom_in);
  ASSERT_TRUE(open && prepare && close && layer && set && get && video && read_video && zoom);

  EXPECT_EQ(open(0), 0);
  EXPECT_EQ(prepare(0), 0);
  cx_layer l{};
  layer(3, &l);
  EXPECT_STREQ(l.name, "Barrios");
  EXPECT_EQ(set(24, 2), 2);
  EXPECT_EQ(get(24), 2);
  EXPECT_TRUE(TempBase::exists("RIOSarco.dat"));

  video(0, 0, 800, 800);
  zoom(0);
  double w[4];
  read_video(&w[0], &w[1], &w[2], &w[3]);
  EXPECT_EQ(w[0], 100.0);
  EXPECT_EQ(w[3], 700.0);
  EXPECT_EQ(get(26), 0);
  EXPECT_EQ(close(0), 0);
}

}  // namespace
