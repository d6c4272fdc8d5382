// A consistency check of a network for the engine's tests: walks every
// record of its node, arc, list and description files and its spatial
// index, and tells each disagreement between them.
#pragma once

#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/engine_library.h"
#include "support/temp_base.h"

namespace cx::testing {

// The problems found in the network whose files start with `prefix` and
// whose handle record is red, a line each; empty when all agree.
inline std::string network_problems(const EngineLibrary& lib, const int16_t* red,
                                    const std::string& prefix) {
  std::ostringstream out;
  auto records = [&](const char* name, unsigned size) {
    return static_cast<int32_t>(TempBase::size(prefix + name) / size) - 1;
  };
  auto live = [&](int16_t handle, int32_t n, int16_t size) {
    std::vector<unsigned char> raw(static_cast<std::size_t>(size));
    CX_BIND(lib, sleer)(handle, raw.data(), n, size);
    return !(raw[0] == 0xff && raw[1] == 0xff && raw[2] == 0xff && raw[3] == 0xff);
  };
  std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
  CX_BIND(lib, xyinicie)(red[2], cursor.data(), 2500, 0, 0, 4e6, 4e6);
  std::multiset<int32_t> indexed, nodes;
  for (int32_t n = 0; CX_BIND(lib, xynext)(red[2], cursor.data(), 2500, nullptr, &n) == 0 && n;)
    indexed.insert(n);
  std::map<int32_t, int> listed;
  for (int32_t n = 1; n <= records("nodo.dat", 46); ++n) {
    if (!live(red[0], n, 46)) continue;
    nodes.insert(n);
    cx_node node{};
    CX_BIND(lib, sleer_nod)(red[0], &node, n, 0);
    for (int32_t entry = node.first_list, guard = 0; entry != 0 && guard < 1000; ++guard) {
      int32_t e[4];
      CX_BIND(lib, sleer)(red[4], e, entry, 16);
      cx_arc arc{};
      CX_BIND(lib, sleer_arc)(red[1], &arc, e[0], 0);
      if (!live(red[1], e[0], 41) || (arc.from_node != n && arc.to_node != n))
        out << "node " << n << " lists arc " << e[0] << " that does not end there\n";
      if (e[2] != arc.from_node || e[3] != arc.to_node)
        out << "entry " << entry << " names other ends than arc " << e[0] << "'s\n";
      ++listed[e[0]];
      entry = e[1];
    }
  }
  if (indexed != nodes)
    out << "xyt2.inx holds " << indexed.size() << " for " << nodes.size() << "\n";
  std::map<int32_t, int32_t> by_arc, by_area;  // description entry -> arc
  for (int32_t e = 1; e <= records("arco.dat", 41); ++e) {
    const bool alive = live(red[1], e, 41);
    if (listed[e] != (alive ? 2 : 0)) out << "arc " << e << " is on " << listed[e] << " lists\n";
    cx_arc arc{};
    CX_BIND(lib, sleer_arc)(red[1], &arc, e, 0);
    for (int32_t d = alive ? arc.first_desc : 0, guard = 0; d != 0 && guard < 1000; ++guard) {
      int32_t entry[5] = {};
      CX_BIND(lib, sleer)(red[8], entry, d, 18);
      if (entry[0] != e || !by_arc.insert({d, e}).second)
        out << "description " << d << " misplaced on arc " << e << "'s chain\n";
      d = entry[2];
    }
  }
  for (int32_t a = 1; a <= records("objs.dat", 48); ++a) {
    cx_area_object area{};
    CX_BIND(lib, sleer_top)(red[6], &area, a, 0);
    std::set<int32_t> bounding;
    for (int32_t d = live(red[6], a, 48) ? area.first_desc : 0, guard = 0; d && guard < 1000;
         ++guard) {
      int32_t entry[5] = {};
      CX_BIND(lib, sleer)(red[8], entry, d, 18);
      if (entry[1] != a || !by_area.insert({d, entry[0]}).second)
        out << "description " << d << " misplaced on area " << a << "'s chain\n";
      if (!bounding.insert(entry[0]).second)
        out << "area " << a << " names arc " << entry[0] << " twice\n";
      d = entry[3];
    }
  }
  if (by_arc != by_area) out << "the arcs' and the areas' description chains differ\n";
  return out.str();
}

}  // namespace cx::testing
