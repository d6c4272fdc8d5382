// Writes a world-atlas map into the current network of an open session, as
// a host imports one: a node at each distinct arc end, each arc with its
// intermediate points (an arc longer than one block holds becomes a chain of
// arcs meeting at nodes of their own) and one area object per country,
// labelled at the mean of its arcs' points. The writers are passed in, so
// that a host that binds the library by name and one linked to it share it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "cartex32.h"
#include "world_atlas/world_atlas.h"

namespace cx::testing {

struct AtlasNetwork {
  std::size_t nodes = 0;
  std::vector<std::vector<int32_t>> pieces;  // per atlas arc, its arc records
  std::vector<int32_t> areas;                // per country, its area object
  bool ok = true;                            // false when a writer returned 0
};

// node_kind, arc_kind and area_kind are kinds of TABOBJ.DAT; red the
// network's handle record (get_red).
template <typename NodeWriter, typename ArcWriter, typename AreaWriter>
AtlasNetwork import_atlas(const Atlas& atlas, const int16_t* red, int16_t node_kind,
                          int16_t arc_kind, int16_t area_kind, NodeWriter grabe_nodo,
                          ArcWriter grabe_arco, AreaWriter grabe_t3) {
  constexpr std::size_t kMaxInner = 300;  // intermediate points one block holds
  AtlasNetwork out;
  std::map<std::pair<double, double>, int32_t> nodes;
  auto node_at = [&](double x, double y) {
    auto [it, added] = nodes.insert({{x, y}, 0});
    if (added) {
      cx_node code{};
      cx_object at{};
      at.kind = node_kind;
      at.x = x;
      at.y = y;
      it->second = grabe_nodo(&code, &at, 0, 0, 0, red);
      out.ok = out.ok && it->second > 0;
    }
    return it->second;
  };
  out.pieces.resize(atlas.arcs.size());
  for (std::size_t a = 0; a < atlas.arcs.size(); ++a) {
    const AtlasArc& arc = atlas.arcs[a];
    const std::size_t last = arc.x.size() - 1;
    for (std::size_t from = 0; from < last;) {
      const std::size_t to = std::min(last, from + kMaxInner + 1);
      cx_arc ends{};
      ends.from_node = node_at(arc.x[from], arc.y[from]);
      ends.to_node = node_at(arc.x[to], arc.y[to]);
      cx_object line{};
      line.kind = arc_kind;
      line.count = static_cast<int16_t>(to - from - 1);
      const int32_t n = grabe_arco(&ends, &line, &arc.x[from], &arc.y[from], 0, red);
      out.ok = out.ok && n > 0;
      out.pieces[a].push_back(n);
      from = to;
    }
  }
  for (const AtlasCountry& country : atlas.countries) {
    double sx = 0, sy = 0;
    std::size_t points = 0;
    for (int a : country.arcs)
      for (std::size_t i = 0; i < atlas.arcs[a].x.size(); ++i, ++points) {
        sx += atlas.arcs[a].x[i];
        sy += atlas.arcs[a].y[i];
      }
    cx_object label{};
    label.kind = area_kind;
    label.x = points ? sx / points : 0;
    label.y = points ? sy / points : 0;
    out.areas.push_back(grabe_t3(country.id.c_str(), nullptr, &label));
    out.ok = out.ok && out.areas.back() > 0;
  }
  out.nodes = nodes.size();
  return out;
}

}  // namespace cx::testing
