// The text form of a world-atlas country map written by topojson_to_text.js:
// its arcs as point lists in ground units and its countries as lists of
// arc numbers.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace cx::testing {

struct AtlasArc {
  std::vector<double> x, y;
};

struct AtlasCountry {
  std::string id;
  std::vector<int> arcs;
};

struct Atlas {
  std::vector<AtlasArc> arcs;
  std::vector<AtlasCountry> countries;
};

// false when the file is missing or not in the expected form.
inline bool read_atlas(const std::string& path, Atlas* atlas) {
  std::ifstream in(path);
  std::string word;
  std::size_t count = 0;
  if (!(in >> word >> count) || word != "arcs") return false;
  atlas->arcs.resize(count);
  for (AtlasArc& arc : atlas->arcs) {
    std::size_t points = 0;
    if (!(in >> points) || points < 2) return false;
    arc.x.resize(points);
    arc.y.resize(points);
    for (std::size_t i = 0; i < points; ++i)
      if (!(in >> arc.x[i] >> arc.y[i])) return false;
  }
  if (!(in >> word >> count) || word != "countries") return false;
  atlas->countries.resize(count);
  for (AtlasCountry& country : atlas->countries) {
    std::size_t arcs = 0;
    if (!(in >> country.id >> arcs)) return false;
    country.arcs.resize(arcs);
    for (int& a : country.arcs)
      if (!(in >> a) || a < 0 || a >= static_cast<int>(atlas->arcs.size())) return false;
  }
  return true;
}

}  // namespace cx::testing
