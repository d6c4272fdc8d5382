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
// whose handle record is red; empty when records and indexes agree.
inline std::vector<std::string> network_problems(const EngineLibrary& lib, const int16_t* red,
                                                 const std::string& prefix) {
  std::vector<std::string> problems;
  auto say = [&](auto... parts) {
    std::ostringstream out;
    (out << ... << parts);
    problems.push_back(out.str());
  };
  auto records = [&](const char* name, int size) {
    return static_cast<int32_t>(TempBase::size(prefix + name) / static_cast<unsigned>(size)) - 1;
  };
  auto live = [&](int16_t handle, int32_t n, int32_t size) {
    std::vector<unsigned char> raw(static_cast<std::size_t>(size));
    CX_BIND(lib, sleer)(handle, raw.data(), n, size);
    int32_t first = 0;
    std::memcpy(&first, raw.data(), 4);
    return first != -1;
  };
  std::vector<unsigned char> cursor(CX_XY_CURSOR_SIZE);
  CX_BIND(lib, xyinicie)(red[2], cursor.data(), 2500, 0, 0, 4e6, 4e6);
  std::multiset<int32_t> indexed, nodes;
  for (int32_t record = 0;
       CX_BIND(lib, xynext)(red[2], cursor.data(), 2500, nullptr, &record) == 0 && record != 0;)
    indexed.insert(record);
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
        say("node ", n, " lists arc ", e[0], " that does not end there");
      if (e[2] != arc.from_node || e[3] != arc.to_node)
        say("entry ", entry, " names ends ", e[2], "-", e[3], " of arc ", e[0]);
      ++listed[e[0]];
      entry = e[1];
    }
  }
  if (indexed != nodes)
    say("xyt2.inx holds ", indexed.size(), " entries for ", nodes.size(), " nodes");
  std::map<int32_t, int32_t> by_arc, by_area;  // description entry -> arc or area
  const int32_t arcs = records("arco.dat", 41);
  for (int32_t e = 1; e <= arcs; ++e) {
    const bool alive = live(red[1], e, 41);
    if ((listed.count(e) ? listed[e] : 0) != (alive ? 2 : 0))
      say("arc ", e, " is on ", listed[e], " node lists");
    cx_arc arc{};
    CX_BIND(lib, sleer_arc)(red[1], &arc, e, 0);
    for (int32_t d = alive ? arc.first_desc : 0, guard = 0; d != 0 && guard < 1000; ++guard) {
      int32_t entry[5] = {};
      CX_BIND(lib, sleer)(red[8], entry, d, 18);
      if (entry[0] != e) say("description ", d, " on arc ", e, "'s chain names arc ", entry[0]);
      if (!by_arc.insert({d, e}).second) say("description ", d, " twice on arc chains");
      d = entry[2];
    }
  }
  for (int32_t a = 1; a <= records("objs.dat", 48); ++a) {
    if (!live(red[6], a, 48)) continue;
    cx_area_object area{};
    CX_BIND(lib, sleer_top)(red[6], &area, a, 0);
    std::set<int32_t> bounding;
    for (int32_t d = area.first_desc, guard = 0; d != 0 && guard < 1000; ++guard) {
      int32_t entry[5] = {};
      CX_BIND(lib, sleer)(red[8], entry, d, 18);
      if (entry[1] != a) say("description ", d, " on area ", a, "'s chain names area ", entry[1]);
      if (!bounding.insert(entry[0]).second) say("area ", a, " names arc ", entry[0], " twice");
      if (!by_area.insert({d, entry[0]}).second) say("description ", d, " twice on area chains");
      d = entry[3];
    }
  }
  if (by_arc != by_area) say("the arcs' and the areas' description chains differ");
  return problems;
}

inline std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

}  // namespace cx::testing
