// fill_areas and draw_legend over the engine's hatching (achuraT3 with
// lines one pixel apart at angle 0 fills solid and leaves holes empty) and
// its legend (showconv over the legend slots of set_convens).
#include "render_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "commands.h"

namespace cartex {

void set_ramp(const Engine& engine) {
  for (int i = 0; i < kRampColours; ++i) {
    const int red = 255 - i * 7, green = 245 - i * 24, blue = 170 - i * 17;
    engine.gsetcolor(static_cast<int16_t>(kRamp + i), blue << 16 | green << 8 | red);
  }
}

std::size_t Classes::of(double value) const {
  return static_cast<std::size_t>(std::upper_bound(limits.begin(), limits.end(), value) -
                                  limits.begin());
}

int Classes::colour(std::size_t c) const {
  if (limits.empty()) return kRamp;
  return kRamp + static_cast<int>(c * (kRampColours - 1) / limits.size());
}

int fill_areas(const Engine& engine, const std::vector<BaseFeature>& features,
               const std::set<int>& layers, const std::string& formula, const Classes& classes) {
  const std::vector<cx_kind> table = kinds(engine);
  engine.abra_atrs();
  engine.gdachang(0);
  engine.gdachpaso(1);
  std::size_t done = 0, total = 0;
  for (const BaseFeature& f : features) total += f.feature.geometry == Geometry::kPolygon;
  const Progress progress = progress_printer();
  int current = -1;  // the layer whose network is selected
  int16_t red[CX_RED_HANDLES] = {};
  int status = 0;
  for (const BaseFeature& f : features) {
    if (f.feature.geometry != Geometry::kPolygon) continue;
    const auto kind = static_cast<std::size_t>(f.kind);
    const int layer = kind < table.size() ? +table[kind].layer : -1;
    if (!layers.count(layer)) continue;
    if (layer != current) {
      current = layer;
      int16_t networks = 0;
      if (engine.set_consts(24, static_cast<int16_t>(layer)) == layer)
        engine.get_red(red, engine.get_red_act(0), &networks);
      else
        red[6] = -1;
    }
    cx_area_object object{};
    if (red[6] < 0 || engine.sleer_top(red[6], &object, f.record, 0) != 0) continue;
    engine.set_consts(25, f.kind);
    engine.lea_atribs(0, &f.kind, f.code.c_str());
    cx_valor_expr value{};
    if (engine.evaluar(formula.c_str(), &value) != CX_EXPR_OK) {
      std::fprintf(stderr, "cartex render: the formula does not translate: %s\n", formula.c_str());
      status = 2;
      break;
    }
    const double v = value.number;
    engine.gdcolor(classes.limits.empty() ? static_cast<int32_t>(v)
                                          : classes.colour(classes.of(v)));
    engine.achuraT3(&object);
    progress("filled", ++done, total);
  }
  engine.set_consts(25, 0);
  engine.set_consts(24, 0);
  return status;
}

namespace {

// A limit in a few characters: 2500000 as 2.5M, 1500 as 1.5k.
std::string compact(double v) {
  const struct {
    double unit;
    const char* suffix;
  } units[] = {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1, ""}};
  char text[32];
  for (const auto& u : units)
    if (std::fabs(v) >= u.unit || u.unit == 1) {
      std::snprintf(text, sizeof text, "%.4g%s", v / u.unit, u.suffix);
      break;
    }
  return text;
}

}  // namespace

std::string Classes::label(std::size_t c) const {
  if (c == 0) return "below " + compact(limits[0]);
  if (c == limits.size()) return compact(limits[c - 1]) + " and more";
  return compact(limits[c - 1]) + " to " + compact(limits[c]);
}

void draw_legend(const Engine& engine, const Classes& classes) {
  const std::size_t count = classes.limits.size() + 1;
  for (std::size_t c = 0; c < count; ++c) {
    cx_legend_slot slot{};
    slot.index = static_cast<int16_t>(c);
    slot.value = c == 0 ? 0 : classes.limits[c - 1];
    slot.a = static_cast<int16_t>(classes.colour(c));
    slot.c = 1;  // a solid box: sample 0, angle 0, one pixel apart
    const std::string label = classes.label(c);
    std::snprintf(slot.label, sizeof slot.label, "%s", label.c_str());
    engine.set_convens(&slot);
  }
  engine.showconv(static_cast<int16_t>(count), 0);
}

}  // namespace cartex
