// The rings of the world-atlas countries (the section topojson_to_text.js
// writes after the countries: each ring a list of TopoJSON arc numbers,
// ~a for arc a reversed), their points, signed areas and an even-odd test.
#pragma once

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "world_atlas/world_atlas.h"

namespace cx::testing {

using Ring = std::vector<int>;  // TopoJSON arc numbers, ~a reversed

// The rings section that follows the countries in the atlas text.
inline bool read_rings(const std::string& path, std::vector<std::vector<Ring>>* out) {
  std::ifstream in(path);
  std::string word;
  while (in >> word && word != "rings") {
  }
  std::size_t count = 0;
  if (!(in >> count)) return false;
  out->resize(count);
  for (auto& rings : *out) {
    std::size_t n = 0;
    if (!(in >> word >> n)) return false;
    rings.resize(n);
    for (Ring& ring : rings) {
      std::size_t arcs = 0;
      if (!(in >> arcs)) return false;
      ring.resize(arcs);
      for (int& a : ring)
        if (!(in >> a)) return false;
    }
  }
  return true;
}

struct Polygon {
  std::vector<double> x, y;
};

inline Polygon ring_points(const Atlas& atlas, const Ring& ring) {
  Polygon p;
  for (int signed_arc : ring) {
    const auto& arc =
        atlas.arcs[static_cast<std::size_t>(signed_arc < 0 ? ~signed_arc : signed_arc)];
    std::vector<double> x = arc.x, y = arc.y;
    if (signed_arc < 0) {
      std::reverse(x.begin(), x.end());
      std::reverse(y.begin(), y.end());
    }
    const std::size_t skip = p.x.empty() ? 0 : 1;
    p.x.insert(p.x.end(), x.begin() + skip, x.end());
    p.y.insert(p.y.end(), y.begin() + skip, y.end());
  }
  return p;
}

inline long double shoelace(const Polygon& p) {
  long double sum = 0;
  for (std::size_t i = 0, j = p.x.size() - 1; i < p.x.size(); j = i++)
    sum += static_cast<long double>(p.x[j]) * p.y[i] - static_cast<long double>(p.x[i]) * p.y[j];
  return sum / 2;
}

inline bool inside(const std::vector<Polygon>& rings, double px, double py) {
  bool in = false;
  for (const Polygon& p : rings)
    for (std::size_t i = 0, j = p.x.size() - 1; i < p.x.size(); j = i++)
      if ((p.y[i] > py) != (p.y[j] > py) &&
          px < p.x[i] + (py - p.y[i]) / (p.y[j] - p.y[i]) * (p.x[j] - p.x[i]))
        in = !in;
  return in;
}

}  // namespace cx::testing
