// What the node and arc edits of a network share: the kinds new nodes and
// arcs take, writing a new node, and the arcs of the last digitizing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cartex32.h"

namespace cx {

// The kind a new node takes: `given` when its geometry is 3 and it belongs
// to a layer of the current network; else the first kind of geometry 3 of
// the current layer, else of any layer of the current network; else 0.
int tipo_de_nodo(int given);
// The kind a new arc takes, likewise with geometry 4, starting from the
// current object kind.
int tipo_de_arco();

// Writes a new node of the current network at object's position with the
// kind tipo_de_nodo(object.kind); object's kind and layer byte are set and
// node is cleared but for its code, whose prefix byte becomes the current
// layer's. The caller holds the edit frame. The record, 0 on failure.
int32_t escriba_nodo_nuevo(cx_object& object, cx_node& node);

// Splits arc e of network red at vertex j of its full point list (0 is the
// from-node), as partir_arcos does at a point: the split node is a node
// within parameter 13 that is not an end of the arc, else a new node of
// kind tipo_de_nodo(0); the arc keeps the part before the vertex, a new
// arc the part after it, and in an area network every area the arc bounds
// is bounded by both. The new arc's record; 0 when j is not interior or the
// split failed (reported).
int32_t parta_en_vertice(const int16_t* red, int32_t e, std::size_t j);

// The arcs the last digitizing took or wrote, read by add_segments.
std::vector<int32_t>& ultima_digitalizacion();

}  // namespace cx
