// The raster device held against GDI: each drawing script runs once on a
// raster device and once on a GDI memory bitmap wrapped with envolver_hdc,
// and the two pictures are compared pixel by pixel. The share of identical
// pixels of every script is printed; a script not marked open fails on any
// difference, with the first differing pixels named.
//
// The program is linked with the engine's objects, so the exports are
// called directly and the shapes no export draws yet (polygons, null pens,
// hollow brushes) go through the Device interface of the bound device.
#define CARTEX32_BUILD
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cartex32.h"
#include "graphics/graphics_state.h"
#include "platform/device_table.h"
#include "platform/message_sink.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

// A white 32-bit DIB section selected in a memory context.
class MemoryBitmap {
 public:
  MemoryBitmap() {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, kWidth, kHeight, WHITENESS);
  }
  ~MemoryBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  int32_t hdc() const { return static_cast<int32_t>(reinterpret_cast<intptr_t>(dc_)); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

using Script = std::function<void(cx::Device&)>;

// Binds the device, sets the kernel's defaults and runs the script; the
// device's pixels, bytes red, green, blue, 0.
std::vector<uint8_t> run(int32_t handle, const Script& script) {
  gdeor(0);
  gabrest(0, 0, kWidth, kHeight, handle);
  gdlintip(0);
  gdlinanch(1);
  gdcolor(0);
  script(*cx::dispositivo(handle));
  gdeor(0);
  std::vector<uint8_t> rgbx(kWidth * kHeight * 4);
  EXPECT_EQ(copiar_pixeles(handle, rgbx.data()), 0);
  return rgbx;
}

void polyline(const std::vector<double>& xy) {
  std::vector<double> xs, ys;
  for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
    xs.push_back(xy[i]);
    ys.push_back(xy[i + 1]);
  }
  gplinea(xs.data(), ys.data(), static_cast<int16_t>(xs.size()));
}

// A fan of lines from (cx, cy) at n angles, length len.
void fan(double cx, double cy, double len, int n) {
  for (int i = 0; i < n; ++i) {
    const double a = 2 * 3.14159265358979 * i / n;
    glinea(cx, cy, std::round(cx + len * std::cos(a)), std::round(cy + len * std::sin(a)));
  }
}

// `open` marks the scripts whose pictures still differ from GDI's: pens
// wider than one pixel and the curve of circles and ellipses. Their share
// is printed, not held.
struct Case {
  const char* name;
  Script script;
  bool open = false;
};

const std::vector<Case>& scripts() {
  static const std::vector<Case> cases = {
      {"line_octants",
       [](cx::Device&) {
         gdcolor(4);
         fan(40, 60, 35, 32);
         gdcolor(1);
         fan(120, 60, 30, 24);
       }},
      {"pen_styles",
       [](cx::Device&) {
         for (int16_t t = 0; t < 10; ++t) {
           gdlintip(t);
           gdcolor(t + 1);
           glinea(5, 110 - 10 * t, 150, 112 - 9 * t);
           glinea(5 + 15 * t, 5, 12 + 15 * t, 60);
         }
       }},
      {"pen_widths",
       [](cx::Device&) {
         for (int16_t w = 2; w <= 7; ++w) {
           gdlinanch(w);
           gdcolor(w);
           glinea(10, 10 + 15 * w, 70, 12 + 15 * w);
           glinea(80 + 10 * w, 10, 80 + 10 * w, 60);
           glinea(80, 70 + 5 * w, 150, 110 - 4 * w);
         }
       },
       true},
      {"styled_polylines",
       [](cx::Device&) {
         for (int16_t t = 2; t <= 5; ++t) {
           gdlintip(t);
           gdcolor(t);
           const double y = 25 * (t - 1);
           polyline({5, y, 40, y + 8, 75, y, 110, y + 19, 155, y + 2, 150, y - 10});
         }
       }},
      {"wide_dashes",
       [](cx::Device&) {
         gdlinanch(3);
         for (int16_t t = 6; t <= 9; ++t) {
           gdlintip(t);
           gdcolor(t);
           const double y = 25 * (t - 5);
           polyline({5, y, 40, y + 8, 75, y, 110, y + 9, 155, y + 2});
         }
       },
       true},
      {"rectangles",
       [](cx::Device&) {
         gdcolor(2);
         grectang(5, 5, 60, 50);
         grectang(100, 100, 70, 60);
         gdlintip(2);
         grectang(90, 10, 150, 50);
         gdlintip(4);
         grecteor(20, 60, 140, 115);
       }},
      {"wide_rectangles",
       [](cx::Device&) {
         gdlinanch(3);
         gdcolor(3);
         grectang(10, 70, 60, 110);
         gdlinanch(4);
         grectang(100, 30, 70, 60);
       },
       true},
      {"boxes",
       [](cx::Device&) {
         for (int i = 0; i < 6; ++i) {
           gdcolor(i + 2);
           gcaja(5 + 25 * i, 10, 20 + 27 * i, 30 + 10 * i);
           gcaja(30 + 20 * i, 110, 10 + 22 * i, 90 - 5 * i);
         }
         gdlinanch(4);
         gdcolor(9);
         gcaja(60, 50, 100, 80);
       }},
      {"circles",
       [](cx::Device&) {
         for (int r = 1; r <= 12; ++r) {
           gdcolor(r);
           gcirculo(8 + 2 * r * (r + 1) / 3, 100, r);
         }
         gdlinanch(3);
         gdcolor(4);
         gcirculo(40, 40, 25);
         gdlinanch(1);
         gcirculo(110, 40, 30);
       },
       true},
      {"ellipses",
       [](cx::Device&) {
         const int radii[][2] = {{3, 1}, {7, 4}, {12, 20}, {30, 9}, {2, 15}, {18, 18}};
         for (int i = 0; i < 6; ++i) {
           gdcolor(i + 3);
           gelipse(15 + 26 * i, 60, 0, 0, radii[i][0], radii[i][1]);
         }
         gdlinanch(5);
         gdcolor(2);
         gelipse(80, 100, 0, 0, 40, 12);
       },
       true},
      {"xor",
       [](cx::Device&) {
         gdcolor(5);
         gcaja(10, 10, 90, 70);
         gdeor(1);
         gdcolor(10);
         fan(50, 40, 30, 16);
         gcaja(40, 30, 120, 100);
         gdeor(0);
         glineor(5, 100, 150, 20);
         grecteor(60, 5, 150, 115);
       }},
      {"xor_wide_and_round",
       [](cx::Device&) {
         gdcolor(5);
         gcaja(10, 10, 90, 70);
         gdeor(1);
         gdcolor(10);
         gcirculo(100, 60, 25);
         gdeor(0);
         gdlinanch(4);
         glineor(5, 100, 150, 20);
       },
       true},
      {"clipping",
       [](cx::Device&) {
         gdrecorte(0, 30, 20, 130, 100);
         gdcolor(6);
         gcaja(0, 0, 60, 60);
         gcaja(120, 90, 150, 115);
         gdcolor(1);
         fan(80, 60, 75, 20);
         gdlintip(3);
         glinea(0, 110, 160, 10);
         grectang(20, 30, 140, 90);
         for (int16_t x = 25; x < 140; x += 3) gdpunto(x, 18);
       }},
      {"clipped_wide_and_round",
       [](cx::Device&) {
         gdrecorte(0, 30, 20, 130, 100);
         gdcolor(6);
         gcirculo(130, 100, 30);
         gdlinanch(5);
         glinea(0, 110, 160, 10);
       },
       true},
      {"points",
       [](cx::Device&) {
         for (int i = 0; i < 40; ++i) {
           gdcolor(i);
           gpunto(4 * i, 3 * i);
           gdpunto(static_cast<int16_t>(150 - 3 * i), static_cast<int16_t>(2 * i + 10));
         }
       }},
      {"polygons",
       [](cx::Device& d) {
         const cx::DevicePoint star[] = {{40, 5}, {60, 70}, {5, 28}, {75, 28}, {20, 70}};
         const cx::DevicePoint box_in_box[] = {{90, 5},   {150, 5},  {150, 60}, {90, 60},
                                               {90, 5},   {100, 15}, {140, 15}, {140, 50},
                                               {100, 50}, {100, 15}};
         const cx::DevicePoint slanted[] = {{5, 80}, {70, 90}, {50, 115}, {12, 110}};
         const cx::DevicePoint star2[] = {{120, 65}, {140, 118}, {95, 85}, {150, 85}, {105, 118}};
         d.select_brush({false, 0x00FF00});
         d.set_fill_mode(cx::FillMode::alternate);
         d.polygon(star, 5);
         d.polygon(box_in_box, 10);
         d.set_fill_mode(cx::FillMode::winding);
         d.polygon(star2, 5);
         d.select_pen({cx::PenStyle::dash, 1, 0x0000FF});
         d.polygon(slanted, 4);
       }},
      {"wide_polygon",
       [](cx::Device& d) {
         const cx::DevicePoint star[] = {{60, 5}, {100, 110}, {10, 45}, {120, 45}, {30, 110}};
         d.select_brush({false, 0x00FF00});
         d.set_fill_mode(cx::FillMode::winding);
         d.select_pen({cx::PenStyle::solid, 3, 0x800000});
         d.polygon(star, 5);
       },
       true},
      {"null_pen_and_hollow_brush",
       [](cx::Device& d) {
         d.select_pen({cx::PenStyle::null, 1, 0});
         d.select_brush({false, 0xFF00FF});
         d.rectangle({5, 5, 50, 40});
         d.rectangle({70, 30, 60, 10});
         d.select_pen({cx::PenStyle::solid, 1, 0x0000FF});
         d.select_brush({true, 0});
         d.rectangle({5, 60, 50, 110});
       }},
      {"ellipses_without_pen_or_brush",
       [](cx::Device& d) {
         d.select_pen({cx::PenStyle::null, 1, 0});
         d.select_brush({false, 0xFF00FF});
         d.ellipse({60, 5, 110, 45});
         d.select_pen({cx::PenStyle::solid, 1, 0x0000FF});
         d.select_brush({true, 0});
         d.ellipse({60, 60, 150, 115});
       },
       true},
  };
  return cases;
}

TEST(GdiCompare, EveryScriptDrawsWhatGdiDraws) {
  for (const Case& c : scripts()) {
    SCOPED_TRACE(c.name);
    const int32_t raster = crear_dispositivo(kWidth, kHeight);
    ASSERT_GT(raster, 0);
    const std::vector<uint8_t> ours = run(raster, c.script);
    EXPECT_EQ(liberar_dispositivo(raster), 0);
    MemoryBitmap bitmap;
    const int32_t gdi = envolver_hdc(bitmap.hdc());
    ASSERT_GT(gdi, 0);
    const std::vector<uint8_t> theirs = run(gdi, c.script);
    EXPECT_EQ(liberar_dispositivo(gdi), 0);

    int same = 0, shown = 0;
    std::string where;
    for (int i = 0; i < kWidth * kHeight; ++i) {
      const uint8_t* a = &ours[4 * i];
      const uint8_t* b = &theirs[4 * i];
      if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) {
        ++same;
      } else if (shown++ < 12) {
        char text[80];
        std::snprintf(text, sizeof text, " (%d,%d) %02x%02x%02x/%02x%02x%02x", i % kWidth,
                      i / kWidth, a[0], a[1], a[2], b[0], b[1], b[2]);
        where += text;
      }
    }
    const double share = 100.0 * same / (kWidth * kHeight);
    std::printf("%-30s %7.3f%% identical%s\n", c.name, share, c.open ? " (open)" : "");
    if (!c.open)
      EXPECT_EQ(same, kWidth * kHeight) << (kWidth * kHeight - same) << " pixels differ:" << where;
  }
}

class Messages final : public cx::MessageSink {
 public:
  Messages() { previous_ = cx::set_message_sink(this); }
  ~Messages() override { cx::set_message_sink(previous_); }
  int show(int32_t, const char*, const char* text, int) override {
    texts.push_back(text);
    return CX_IDOK;
  }
  std::vector<std::string> texts;

 private:
  cx::MessageSink* previous_;
};

// What is not a device context is refused with a message; a wrapped
// context gets its own pen, brush, mode and clip region back on release.
TEST(GdiCompare, WrappingRefusesNonContextsAndGivesTheContextBack) {
  Messages messages;
  HBRUSH brush = CreateSolidBrush(0x123456);
  EXPECT_EQ(envolver_hdc(0), 0);
  EXPECT_EQ(envolver_hdc(static_cast<int32_t>(reinterpret_cast<intptr_t>(brush))), 0);
  ASSERT_EQ(messages.texts.size(), 2u);
  EXPECT_NE(messages.texts[1].find("no es un contexto de dispositivo"), std::string::npos);

  MemoryBitmap bitmap;
  HDC dc = reinterpret_cast<HDC>(static_cast<intptr_t>(bitmap.hdc()));
  HGDIOBJ own_pen = GetCurrentObject(dc, OBJ_PEN), own_brush = GetCurrentObject(dc, OBJ_BRUSH);
  const int32_t handle = envolver_hdc(bitmap.hdc());
  ASSERT_GT(handle, 0);
  gabrest(0, 0, kWidth, kHeight, handle);
  gdeor(1);
  gdrecorte(0, 10, 10, 20, 20);
  gdcolor(4);
  gcaja(0, 0, 100, 100);
  EXPECT_EQ(cx::dispositivo(handle)->width(), kWidth);
  EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), own_pen);
  EXPECT_EQ(liberar_dispositivo(handle), 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), own_pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), own_brush);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  RECT clip{};
  EXPECT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right - clip.left, kWidth);
  EXPECT_EQ(messages.texts.size(), 2u);
  DeleteObject(brush);
}

}  // namespace
