// What the node and arc edits of a network share: the kinds new nodes and
// arcs take, writing a new node, and the arcs of the last digitizing.
#pragma once

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

// The arcs the last digitizing took or wrote, read by add_segments.
std::vector<int32_t>& ultima_digitalizacion();

}  // namespace cx
