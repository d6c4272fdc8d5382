// The legend of the thematic classes: its range labels and what showconv
// draws, on a recording device.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cartex32.h"
#include "expr/thematic.h"
#include "graphics/graphics_state.h"
#include "session/session.h"
#include "support/graphics_support.h"

namespace cx {
namespace {

using testing::BoundRecorder;

class Legend : public ::testing::Test {
 protected:
  void SetUp() override {
    Sesion& s = sesion();
    for (int i = 0; i < kClases; ++i) {
      s.legend[i] = cx_legend_slot{};
      s.legend[i].value = i * 10.0;
      s.legend[i].a = static_cast<int16_t>(i + 1);
      s.legend[i].b = static_cast<int16_t>(i * 30);
      s.legend[i].c = 2;
    }
    std::strcpy(s.legend[2].label, "Centro   ");
    s.window = {0, 0, 1000, 750};
    std::fill(s.legend_xy, s.legend_xy + 4, 0.0);
    gdmundo(0, 0, 0, 1000, 750);
    gdcolor(7);
    r.calls().clear();
  }
  std::vector<std::string> texts() {
    std::vector<std::string> out;
    for (const RecordedCall& c : r.calls())
      if (c.kind == "text") out.push_back(c.text);
    return out;
  }
  BoundRecorder r{400, 300};
};

TEST_F(Legend, RangeLabelsRowsAndBox) {
  const std::vector<std::string> labels = {"HASTA 10.00    ", "10.00    A 20.00    ", "Centro",
                                           "MAS DE 30.00    "};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(etiqueta_de_clase(i, 4), labels[static_cast<size_t>(i)]);
  // A limit of 301 digits is written whole.
  sesion().legend[1].value = 1e300;
  EXPECT_EQ(etiqueta_de_clase(0, 4).size(), 6 + 304u);
  sesion().legend[1].value = 10;

  EXPECT_EQ(showconv(0, 0), 0);
  EXPECT_EQ(showconv(-2, 0), 0);
  EXPECT_TRUE(r.calls().empty());
  EXPECT_EQ(sesion().legend_xy[2], 0);

  EXPECT_EQ(showconv(4, 0), 4);
  EXPECT_EQ(texts(), labels);
  const double* box = sesion().legend_xy;
  EXPECT_EQ(std::vector<double>(box, box + 4), (std::vector<double>{800, 0, 1000, 150}));
  // Rows run down from the top: each label lower on the device than the last.
  int32_t last_row = -1;
  for (const RecordedCall& c : r.calls())
    if (c.kind == "text") {
      EXPECT_GT(c.points[0].y, last_row);
      last_row = c.points[0].y;
    }
  EXPECT_EQ(gacolor(), 7);
  EXPECT_EQ(estado_tematico().class_count, 4);

  // In mono every line is drawn in colour 0, the samples included.
  r.calls().clear();
  EXPECT_EQ(showconv(20, 1), kClases);
  const Colorref colour0 = estado_grafico().palette[0];
  int lines = 0;
  for (const RecordedCall& c : r.calls())
    if (c.kind == "polyline") {
      EXPECT_EQ(c.pen.colour, colour0);
      ++lines;
    }
  EXPECT_GT(lines, kClases * 2);
  EXPECT_EQ(texts().size(), static_cast<std::size_t>(kClases));
}

}  // namespace
}  // namespace cx
