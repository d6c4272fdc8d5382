// render: the base redrawn on a raster device of the engine and saved as
// PNG, the areas first filled in the colour a formula gives each, the
// legend of its classes last.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "commands.h"
#include "render_fill.h"

namespace cartex {

namespace {

const char* const kHelp =
    "usage: cartex render DIR OUT.png [--window x1,y1,x2,y2] [--size WxH]\n"
    "                     [--layers N,...] [--hide-kinds N,...] [--fill FORMULA]\n"
    "                     [--classes L1,...] [--legend]\n"
    "\n"
    "Redraws the base DIR into a picture of W x H pixels (default 1000x500)\n"
    "and saves it as PNG. The window is given in the coordinates of the\n"
    "imported files (default: the whole base).\n"
    "  --layers N,...      draw only these layers\n"
    "  --hide-kinds N,...  leave out these object kinds (an area kind: its\n"
    "                      label markers; a node kind: its nodes and arcs)\n"
    "  --fill FORMULA      fill every area in the palette colour the formula\n"
    "                      gives on the area's attributes; 240 to 249 are ten\n"
    "                      colours from light yellow to dark red, e.g.\n"
    "  --fill '240 + max(0, min(9, int((log(pop_est) / log(10) - 5) * 2.5)))'\n"
    "  --classes L1,...    with --fill: the formula's value falls in classes\n"
    "                      at these rising limits (1 to 9 of them), coloured\n"
    "                      from light yellow to dark red, e.g.\n"
    "  --fill pop_est --classes 1e6,1e7,1e8\n"
    "  --legend            with --classes: draw their legend at the bottom\n"
    "                      right, a box in each class's colour and its range\n"
    "                      (\"below 1M\", \"1M to 2M\", \"5M and more\")\n";

bool numbers(const std::string& text, char sep, std::vector<double>* out, std::size_t n) {
  out->clear();
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t end = std::min(text.find(sep, at), text.size());
    char* stop = nullptr;
    const std::string piece = text.substr(at, end - at);
    out->push_back(std::strtod(piece.c_str(), &stop));
    if (piece.empty() || *stop) return false;
    at = end + 1;
  }
  return out->size() == n;
}

// 1 to 9 finite limits, each above the one before.
bool rising(const std::vector<double>& limits) {
  if (limits.empty() || limits.size() >= static_cast<std::size_t>(kRampColours)) return false;
  for (std::size_t i = 0; i < limits.size(); ++i)
    if (!std::isfinite(limits[i]) || (i > 0 && !(limits[i - 1] < limits[i]))) return false;
  return true;
}

}  // namespace

int cmd_render(const Engine& engine, const Args& args) {
  if (std::find(args.begin(), args.end(), "--help") != args.end()) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  std::vector<std::string> plain;
  std::vector<double> window, size{1000, 500}, layer_list, hidden_kinds;
  std::string formula;
  Classes classes;
  bool legend = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--legend") {
      legend = true;
      continue;
    }
    const bool option = a == "--window" || a == "--size" || a == "--layers" ||
                        a == "--hide-kinds" || a == "--fill" || a == "--classes";
    if (!option) {
      plain.push_back(a);
      continue;
    }
    if (i + 1 >= args.size()) return usage_error("render", a + " needs a value");
    const std::string& v = args[++i];
    if (a == "--window" && !numbers(v, ',', &window, 4))
      return usage_error("render", "--window takes x1,y1,x2,y2");
    if (a == "--size" && (!numbers(v, 'x', &size, 2) || size[0] < 1 || size[1] < 1 ||
                          size[0] > 32767 || size[1] > 32767))
      return usage_error("render", "--size takes WxH, each 1..32767");
    if (a == "--layers" || a == "--hide-kinds") {
      std::vector<double>& list = a == "--layers" ? layer_list : hidden_kinds;
      if (!numbers(v, ',', &list,
                   static_cast<std::size_t>(std::count(v.begin(), v.end(), ',')) + 1))
        return usage_error("render", a + " takes numbers, N,...");
    }
    if (a == "--fill") formula = v;
    if (a == "--classes") {
      std::vector<double>& l = classes.limits;
      if (!numbers(v, ',', &l, static_cast<std::size_t>(std::count(v.begin(), v.end(), ',')) + 1) ||
          !rising(l))
        return usage_error("render", "--classes takes 1 to 9 rising limits, L1,...");
    }
  }
  if (!classes.limits.empty() && formula.empty())
    return usage_error("render", "--classes needs --fill");
  if (legend && classes.limits.empty()) return usage_error("render", "--legend needs --classes");
  if (plain.size() != 2) return usage_error("render", "a base folder and a PNG file expected");
  const std::string out = std::filesystem::absolute(plain[1]).string();
  Session session(engine, plain[0]);
  if (!session.ok()) {
    std::fprintf(stderr, "cartex render: %s\n", session.error().c_str());
    return 3;
  }
  const Georef ref = read_georef();
  const std::vector<BaseFeature> features = read_features(engine);
  const std::vector<Layer> layer_table = layers(engine);
  std::set<int> drawn;
  for (const Layer& l : layer_table)
    if (layer_list.empty() || std::count(layer_list.begin(), layer_list.end(), l.number)) {
      drawn.insert(l.number);
      engine.set_capas(static_cast<int16_t>(l.number), 0);
    } else {
      engine.set_capas(static_cast<int16_t>(l.number), 1);
    }
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  if (window.size() == 4) {
    x0 = (window[0] + ref.offset_x) * ref.scale, y0 = (window[1] + ref.offset_y) * ref.scale;
    x1 = (window[2] + ref.offset_x) * ref.scale, y1 = (window[3] + ref.offset_y) * ref.scale;
  } else {
    auto see = [&](const Point& p) {
      x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
      y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    };
    for (const BaseFeature& f : features) {
      for (const auto& part : f.feature.parts)
        for (const Point& p : part) see(p);
      for (const Polygon& polygon : f.feature.polygons)
        for (const Ring& r : polygon)
          for (const Point& p : r) see(p);
    }
    if (x0 > x1) x0 = y0 = 0, x1 = y1 = 1000;
    const double margin = std::max(x1 - x0, y1 - y0) * 0.01;
    x0 -= margin, y0 -= margin, x1 += margin, y1 += margin;
  }
  const auto width = static_cast<int16_t>(size[0]), height = static_cast<int16_t>(size[1]);
  const int32_t hdc = engine.crear_dispositivo(width, height);
  if (hdc == 0) return 3;
  engine.gabrest(0, 0, width, height, hdc);
  engine.ginicie(0);
  engine.set_video(x0, y0, x1, y1);
  engine.gdrecorte(1, 0, 0, width, height);  // ginicie leaves a clip of 100 x 100
  set_ramp(engine);
  if (!formula.empty()) {
    if (const int status = fill_areas(engine, features, drawn, formula, classes); status != 0) {
      engine.liberar_dispositivo(hdc);
      return status;
    }
  }
  // Hidden only now: the attributes of a hidden kind are not read.
  for (double k : hidden_kinds) engine.set_objetos(static_cast<int16_t>(k), 1);
  engine.redespliegue(0);
  if (legend) draw_legend(engine, classes);
  const int16_t saved = engine.guardar_png(hdc, out.c_str());
  engine.gfinalice(0);
  engine.liberar_dispositivo(hdc);
  if (saved != 0) return 3;
  std::printf("%s\n", out.c_str());
  return 0;
}

}  // namespace cartex
