// The links of a network that verify checks beside its indexes: every node's
// list of arcs against the arcs' ends, and, in an area network, the
// description chains of the arcs against those of the areas.
#pragma once

#include <functional>
#include <string>

#include "engine.h"

namespace cartex {

// Checks the network whose files start with `prefix` and whose handle
// record is `red` (areas: its layer is of kind 3), telling each fault found
// to `fault`. Returns the number of links checked.
int check_network_links(const Engine& engine, const int16_t* red, const std::string& prefix,
                        bool areas, const std::function<void(const std::string&)>& fault);

}  // namespace cartex
