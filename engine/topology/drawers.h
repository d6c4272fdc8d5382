// Drawing one record of the base through the graphics kernel: T0 objects,
// nodes, arcs and area objects. Each takes a colour that replaces its
// kind's for this drawing (-1: the kind's own).
#pragma once

#include <cstdint>
#include <vector>

#include "cartex32.h"

namespace cx {

inline constexpr int kKindColour = -1;

// The kind record whose settings draw an object: record 0 (the defaults)
// for a kind outside the table.
const cx_kind& tipo_para_dibujo(int kind);

// Selects the drawing settings of a kind as scolor and slinea do: its
// colour (or `colour` when not kKindColour) and hatch, its line type and
// width. Texts and symbols take the kind's text settings (stexto) too.
void aplique_atributos(const cx_kind& kind, int colour);

// The drawing level of a kind (values below 2 are level 1).
int nivel_de_dibujo(const cx_kind& kind);

// Each draws one record; 0 drawn, -1 when it could not be read (reported).
int16_t dibuje_t0(int32_t record, int colour);
// The network's handle record (get_red's order).
int16_t dibuje_nodo(const int16_t* red, int32_t record, int colour);
int16_t dibuje_arco(const int16_t* red, int32_t record, int colour);
int16_t dibuje_objeto_area(const int16_t* red, int32_t record, int colour);

// The arcs in a node's list, newest first (a damaged, endless list is cut
// after as many entries as the list file holds). Empty on a read failure.
std::vector<int32_t> arcos_de_nodo(const int16_t* red, int32_t node);

}  // namespace cx
