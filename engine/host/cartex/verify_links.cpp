// verify: the node lists and description chains of a network.
#include "verify_links.h"

#include <array>
#include <map>
#include <set>

#include "base.h"

namespace cartex {

namespace {

// Follows a chain from `first` through `next_of`, telling a loop as a
// fault; calls `each` with every entry on the way.
template <typename Next, typename Each>
void walk(int32_t first, const std::string& what, Next next_of, Each each,
          const std::function<void(const std::string&)>& fault) {
  std::set<int32_t> seen;
  for (int32_t entry = first; entry > 0; entry = next_of(entry)) {
    if (!seen.insert(entry).second)
      return fault(what + " comes back to entry " + std::to_string(entry));
    each(entry);
  }
}

}  // namespace

int check_network_links(const Engine& engine, const int16_t* red, const std::string& prefix,
                        bool areas, const std::function<void(const std::string&)>& fault) {
  int checked = 0;
  // A list entry: the arc, the next entry, the arc's two ends.
  auto list_entry = [&](int32_t n) {
    std::array<int32_t, 4> e{};
    engine.sleer(red[4], e.data(), n, 16);
    return e;
  };
  // A description entry: the arc, the area, the next of the arc's chain and
  // the next of the area's.
  auto description = [&](int32_t n) {
    int32_t e[5] = {};
    engine.sleer(red[8], e, n, 18);
    return std::array<int32_t, 4>{e[0], e[1], e[2], e[3]};
  };
  auto arc_of = [&](int32_t n, cx_arc* arc) {
    return !given_back(engine, red[1], n, 41) && engine.sleer_arc(red[1], arc, n, 0) == 0;
  };
  const int32_t arcs = record_count(prefix + "arco.dat", 41);
  std::map<int32_t, int> listed;
  for (int32_t n = 1; n <= record_count(prefix + "nodo.dat", 46); ++n) {
    cx_node node{};
    if (given_back(engine, red[0], n, 46) || engine.sleer_nod(red[0], &node, n, 0) != 0) continue;
    const std::string name = "node " + std::to_string(n);
    walk(
        node.first_list, name + "'s list", [&](int32_t e) { return list_entry(e)[1]; },
        [&](int32_t e) {
          ++checked;
          const auto entry = list_entry(e);
          cx_arc arc{};
          if (entry[0] < 1 || entry[0] > arcs || !arc_of(entry[0], &arc))
            return fault(name + " lists arc " + std::to_string(entry[0]) + ", which is not there");
          if (arc.from_node != n && arc.to_node != n)
            fault(name + " lists arc " + std::to_string(entry[0]) + ", which does not end there");
          else if (entry[2] != arc.from_node || entry[3] != arc.to_node)
            fault(name + "'s list names other ends for arc " + std::to_string(entry[0]));
          ++listed[entry[0]];
        },
        fault);
  }
  std::map<int32_t, int32_t> by_arc, by_area;  // description entry -> its arc
  for (int32_t n = 1; n <= arcs; ++n) {
    cx_arc arc{};
    if (!arc_of(n, &arc)) continue;
    const std::string name = "arc " + std::to_string(n);
    // Listed at both ends (twice on one list when it closes on its node).
    if (listed[n] != 2) fault(name + " is on " + std::to_string(listed[n]) + " node lists, not 2");
    if (!areas) continue;
    walk(
        arc.first_desc, name + "'s descriptions", [&](int32_t d) { return description(d)[2]; },
        [&](int32_t d) {
          ++checked;
          if (description(d)[0] != n)
            fault("description " + std::to_string(d) + " on " + name +
                  "'s chain names another arc");
          by_arc[d] = n;
        },
        fault);
  }
  for (int32_t a = 1; areas && a <= record_count(prefix + "objs.dat", 48); ++a) {
    cx_area_object area{};
    if (given_back(engine, red[6], a, 48) || engine.sleer_top(red[6], &area, a, 0) != 0) continue;
    const std::string name = "area " + std::to_string(a);
    std::set<int32_t> bounding;
    walk(
        area.first_desc, name + "'s descriptions", [&](int32_t d) { return description(d)[3]; },
        [&](int32_t d) {
          ++checked;
          const auto entry = description(d);
          if (entry[1] != a)
            fault("description " + std::to_string(d) + " on " + name +
                  "'s chain names another area");
          if (!bounding.insert(entry[0]).second)
            fault(name + " names arc " + std::to_string(entry[0]) + " twice");
          by_area[d] = entry[0];
        },
        fault);
  }
  for (const auto& [d, arc] : by_arc)
    if (!by_area.count(d))
      fault("description " + std::to_string(d) + " of arc " + std::to_string(arc) +
            " is on no area's chain");
  for (const auto& [d, arc] : by_area)
    if (!by_arc.count(d))
      fault("description " + std::to_string(d) + " of arc " + std::to_string(arc) +
            " is not on its arc's chain");
  return checked;
}

}  // namespace cartex
