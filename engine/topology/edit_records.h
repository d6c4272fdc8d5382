// Reading and writing the records the edits change, quietly (the caller
// says what was not found), and the index keys they were filed under.
#pragma once

#include <cstdint>

#include "cartex32.h"
#include "topology/btree.h"

namespace cx {

// Handle slots of a network's handle record beyond those of descriptions.h.
enum RedRanura {
  kSlotNodeXY = 2,
  kSlotCodes = 3,
  kSlotLists = 4,
  kSlotPoints = 5,
  kSlotLabels = 7
};

// The current layer's network when its node file and xyt2.inx are open.
const int16_t* red_en_edicion();

bool lea_t0(int32_t n, cx_object* object);
bool escriba_t0_registro(int32_t n, const cx_object& object);
bool lea_nodo_red(const int16_t* red, int32_t n, cx_node* node);
bool escriba_nodo_red(const int16_t* red, int32_t n, const cx_node& node);

// The spatial key of a point of an object of `kind`: its kind's layer, or
// `fallback` for a kind outside the table.
void clave_de_tipo(double x, double y, int kind, int fallback, unsigned char* key);

// The entry of node's arc list that names arc, skipping `skip` (for an arc
// from a node to itself, which is on the list twice); 0 when none.
int32_t entrada_en_lista(const int16_t* red, const cx_node& node, int32_t arc, int32_t skip = 0);

// The code a host's text gives on the current layer: its two prefix
// digits, then at most 11 characters of text, NUL-padded.
void codigo_de_capa(const char* text, unsigned char* code);

}  // namespace cx
