// The base's folder, session, tables and cartex.ref.
#include "base.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace cartex {

namespace fs = std::filesystem;

Georef read_georef() {
  Georef ref;
  std::ifstream in("cartex.ref");
  std::string word;
  while (in >> word) {
    if (word == "offset") in >> ref.offset_x >> ref.offset_y;
    if (word == "scale") in >> ref.scale;
    if (word == "next_code") in >> ref.next_code;
  }
  ref.known = fs::exists("cartex.ref") && ref.scale > 0;
  return ref;
}

bool write_georef(const Georef& ref) {
  std::ofstream out("cartex.ref", std::ios::trunc);
  char text[200];
  std::snprintf(text, sizeof text, "offset %.17g %.17g\nscale %.17g\nnext_code %ld\n", ref.offset_x,
                ref.offset_y, ref.scale, ref.next_code);
  return static_cast<bool>(out << text);
}

Georef georef_for(const FeatureSet& set) {
  double x0 = HUGE_VAL, y0 = HUGE_VAL, x1 = -HUGE_VAL, y1 = -HUGE_VAL;
  auto see = [&](const Point& p) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  };
  for (const Feature& f : set.features) {
    for (const auto& part : f.parts)
      for (const Point& p : part) see(p);
    for (const Polygon& polygon : f.polygons)
      for (const Ring& r : polygon)
        for (const Point& p : r) see(p);
  }
  Georef ref;
  ref.known = true;
  if (x0 > x1) return ref;
  if (x0 >= -180 && x1 <= 180 && y0 >= -90 && y1 <= 90) {
    ref.offset_x = 180, ref.offset_y = 90, ref.scale = 10000;
  } else {
    ref.offset_x = x0 < 0 ? -std::floor(x0) : 0;
    ref.offset_y = y0 < 0 ? -std::floor(y0) : 0;
  }
  return ref;
}

Session::Session(const Engine& engine, const std::string& folder)
    : engine_(engine), old_(fs::current_path().string()) {
  std::error_code failed;
  fs::current_path(folder, failed);
  if (failed) {
    error_ = folder + ": " + failed.message();
    return;
  }
  if (!fs::exists("TABCAP.DAT") || !fs::exists("OBJETOS.DAT")) {
    error_ = folder + ": not a base (no TABCAP.DAT or OBJETOS.DAT; make one with cartex new)";
    return;
  }
  engine_.inigks(0);
  engine_.inifil(0);
  open_ = true;
}

Session::~Session() {
  if (open_) engine_.end_cons(0);
  std::error_code ignored;
  fs::current_path(old_, ignored);
}

int32_t record_count(const std::string& file, int size) {
  std::error_code failed;
  const auto bytes = fs::file_size(file, failed);
  if (failed || bytes < static_cast<std::uintmax_t>(size)) return 0;
  return static_cast<int32_t>(bytes / static_cast<std::uintmax_t>(size) - 1);
}

bool given_back(const Engine& engine, int16_t handle, int32_t n, int size) {
  uint8_t head[4] = {};
  if (engine.lea_bytes(handle, n * size, head, 4) != 0) return true;
  return head[0] == 0xFF && head[1] == 0xFF && head[2] == 0xFF && head[3] == 0xFF;
}

std::vector<Layer> layers(const Engine& engine) {
  std::vector<Layer> out;
  const int32_t n = record_count("TABCAP.DAT", sizeof(cx_layer));
  for (int i = 1; i <= n; ++i) {
    Layer layer{i, {}};
    engine.get_tcapas(static_cast<int16_t>(i), &layer.record);
    out.push_back(layer);
  }
  return out;
}

std::vector<cx_kind> kinds(const Engine& engine) {
  const int32_t n = record_count("TABOBJ.DAT", sizeof(cx_kind));
  std::vector<cx_kind> out(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) engine.get_tobjetos(static_cast<int16_t>(i), &out[i]);
  return out;
}

}  // namespace cartex
