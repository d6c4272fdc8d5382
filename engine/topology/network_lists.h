// The nodes of a network and their arc lists (list.dat: arc, next entry of
// the same node, from-node, to-node), for the edits that rewire arcs.
#pragma once

#include <cstdint>
#include <vector>

#include "cartex32.h"

namespace cx {

inline constexpr int kListSize = 16;
// Handle slots of a network's handle record besides those of
// descriptions.h.
enum RedSlotLista { kRedNodeXY = 2, kRedCodes = 3, kRedLists = 4, kRedPoints = 5, kRedLabels = 7 };

struct EntradaLista {
  int32_t arc = 0, next = 0, from = 0, to = 0;
};

// The current network's handle record when its node files are open, else
// null (no message).
const int16_t* red_actual();

// A node record; false for one outside the file, unreadable or given back.
bool lea_nodo(const int16_t* red, int32_t n, cx_node* node);
bool escriba_nodo(const int16_t* red, int32_t n, const cx_node& node);
bool lea_entrada(const int16_t* red, int32_t n, EntradaLista* e);
bool escriba_entrada(const int16_t* red, int32_t n, const EntradaLista& e);

// A node's list, head first, as (entry number, entry); a list that loops is
// cut after as many entries as list.dat holds. false on a read failure.
bool lista_de_nodo(const int16_t* red, const cx_node& node,
                   std::vector<std::pair<int32_t, EntradaLista>>* out);

// The list entry of arc at node (skipping `other`, for an arc whose two
// ends are one node); 0 when there is none.
int32_t entrada_de_arco(const int16_t* red, int32_t node, int32_t arc, int32_t other = 0);

// The arc between nodes a and b (either way) found on a's list, with its
// entries at a and at b. 0 when none joins them; -1 after "ERROR DEL
// SISTEMA: Debe REGENERAR listas T2" when the arc is on a's list but not
// on b's.
int32_t arco_entre(const int16_t* red, int32_t a, int32_t b, int32_t* entry_a, int32_t* entry_b);

// The spatial key a node is indexed under (its kind's layer).
void clave_de_nodo(const cx_node& node, unsigned char* key);

// Whether a kind and the layer it belongs to are drawn.
bool tipo_dibujado(int kind);

}  // namespace cx
