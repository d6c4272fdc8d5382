// Splitting an arc of the current network at one of its interior vertices.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cx {

// Splits arc e at vertex j of its full point list (0 is the from-node),
// under the edit lock: the node there is the nearest node within parameter
// 13 of the vertex, or a new node of the network's node kind; arc e keeps
// the part before it, a new arc (a copy: kind, bounding box) the part
// after it; both get list entries at that node, the old to-node's entry
// names the new arc; in a network of kind 3 every area arc e bounds is
// bounded by both. Every link is found before anything is written. The new
// arc's record, 0 when nothing was split (j not interior, a damaged list,
// the lock: reported).
int32_t parta_en_vertice(const int16_t* red, int32_t e, std::size_t j);

}  // namespace cx
