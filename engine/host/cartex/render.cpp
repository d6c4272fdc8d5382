// render: the base redrawn on a raster device of the engine and saved as
// PNG, the areas first filled in the colour a formula gives each.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "commands.h"

namespace cartex {

namespace {

const char* const kHelp =
    "usage: cartex render DIR OUT.png [--window x1,y1,x2,y2] [--size WxH]\n"
    "                     [--layers N,...] [--hide-kinds N,...] [--fill FORMULA]\n"
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
    "  --fill '240 + max(0, min(9, int((log(pop_est) / log(10) - 5) * 2.5)))'\n";

constexpr int kRamp = 240;

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

// Fills the polygons with horizontal runs through the centre of each pixel
// row, even-odd over all their rings.
void fill(const Engine& engine, const std::vector<Polygon>& polygons, int height) {
  std::vector<std::pair<Point, Point>> edges;
  double top = HUGE_VAL, bottom = -HUGE_VAL;
  for (const Polygon& p : polygons)
    for (const Ring& r : p)
      for (std::size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) {
        const Point a{static_cast<double>(engine.gxdev(r[j].x)),
                      static_cast<double>(engine.gydev(r[j].y))};
        const Point b{static_cast<double>(engine.gxdev(r[i].x)),
                      static_cast<double>(engine.gydev(r[i].y))};
        edges.push_back({a, b});
        top = std::min({top, a.y, b.y});
        bottom = std::max({bottom, a.y, b.y});
      }
  const int first = std::max(0, static_cast<int>(std::floor(top)));
  const int last = std::min(height - 1, static_cast<int>(std::ceil(bottom)));
  std::vector<double> xs;
  for (int row = first; row <= last; ++row) {
    const double y = row + 0.5;
    xs.clear();
    for (const auto& [a, b] : edges)
      if ((a.y > y) != (b.y > y)) xs.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      const auto x1 = static_cast<int>(std::clamp(std::ceil(xs[i] - 0.5), -1.0, 32000.0));
      const auto x2 = static_cast<int>(std::clamp(std::floor(xs[i + 1] - 0.5), -1.0, 32000.0));
      if (x2 >= x1)
        engine.glineaint(static_cast<int16_t>(x1), static_cast<int16_t>(row),
                         static_cast<int16_t>(x2 + 1), static_cast<int16_t>(row));
    }
  }
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
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool option =
        a == "--window" || a == "--size" || a == "--layers" || a == "--hide-kinds" || a == "--fill";
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
  }
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
  for (int i = 0; i < 10; ++i) {
    const int red = 255 - i * 7, green = 245 - i * 24, blue = 170 - i * 17;
    engine.gsetcolor(static_cast<int16_t>(kRamp + i), blue << 16 | green << 8 | red);
  }
  if (!formula.empty()) {
    const std::vector<cx_kind> table = kinds(engine);
    engine.abra_atrs();
    std::size_t done = 0, total = 0;
    for (const BaseFeature& f : features) total += f.feature.geometry == Geometry::kPolygon;
    const Progress progress = progress_printer();
    for (const BaseFeature& f : features) {
      if (f.feature.geometry != Geometry::kPolygon) continue;
      const auto kind = static_cast<std::size_t>(f.kind);
      if (kind >= table.size() || !drawn.count(table[kind].layer)) continue;
      engine.set_consts(25, f.kind);
      engine.lea_atribs(0, &f.kind, f.code.c_str());
      cx_valor_expr value{};
      if (engine.evaluar(formula.c_str(), &value) != CX_EXPR_OK) {
        std::fprintf(stderr, "cartex render: the formula does not translate: %s\n",
                     formula.c_str());
        engine.liberar_dispositivo(hdc);
        return 2;
      }
      engine.gdcolor(static_cast<int32_t>(value.number));
      fill(engine, f.feature.polygons, height);
      progress("filled", ++done, total);
    }
    engine.set_consts(25, 0);
  }
  // Hidden only now: the attributes of a hidden kind are not read.
  for (double k : hidden_kinds) engine.set_objetos(static_cast<int16_t>(k), 1);
  engine.redespliegue(0);
  const int16_t saved = engine.guardar_png(hdc, out.c_str());
  engine.gfinalice(0);
  engine.liberar_dispositivo(hdc);
  if (saved != 0) return 3;
  std::printf("%s\n", out.c_str());
  return 0;
}

}  // namespace cartex
