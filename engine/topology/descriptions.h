// The area objects of a network of kind 3 and the arcs that bound them:
// reading arcs with their full point lists and walking the description
// chains of desc.dat (arc, area object, next of the arc, next of the area,
// kind).
#pragma once

#include <cstdint>
#include <vector>

#include "cartex32.h"

namespace cx {

inline constexpr int kDescSize = 18;
// Handle slots of a network's handle record.
enum RedSlot { kRedNodes = 0, kRedArcs = 1, kRedObjs = 6, kRedDesc = 8, kRedKind = 9 };

struct Descripcion {
  int32_t arc = 0, area = 0, next_of_arc = 0, next_of_area = 0;
  int16_t kind = 0;
};

// The current network's handle record when it is of kind 3 with its area
// files open; null after "<caller>: LA CAPA ACTUAL NO ES DE AREAS".
const int16_t* red_de_areas(const char* caller);

bool lea_arco(const int16_t* red, int32_t n, cx_arc* arc);
bool lea_objeto_area(const int16_t* red, int32_t n, cx_area_object* area);
bool escriba_arco(const int16_t* red, int32_t n, const cx_arc& arc);
bool escriba_objeto_area(const int16_t* red, int32_t n, const cx_area_object& area);
bool lea_descripcion(const int16_t* red, int32_t n, Descripcion* d);
bool escriba_descripcion(const int16_t* red, int32_t n, const Descripcion& d);

// The description entries of an area object's chain from head, in chain
// order, at most limit of them (a chain that loops is cut there). false on
// a read failure.
bool cadena_de_area(const int16_t* red, int32_t head, std::size_t limit,
                    std::vector<std::pair<int32_t, Descripcion>>* out);

// An arc's full point list: from-node, intermediate points, to-node.
bool puntos_de_arco(const int16_t* red, const cx_arc& arc, std::vector<double>* x,
                    std::vector<double>* y);

// The rings of an area object's description from head (at most 900
// arcs), each as the points of its arcs in ring order, arcs turned where
// they run backwards; with the length of all arcs and the number read.
// false, after "<caller>: ARCO n NO SE LEE" or a message of the chain,
// when an arc cannot be read.
struct AnillosDeArea {
  std::vector<std::vector<double>> x, y;
  double length = 0;
  std::size_t arcs = 0;
};
bool anillos_de_area(const int16_t* red, int32_t head, const char* caller, AnillosDeArea* out);

// Adds arc e to area object a's description (the caller holds the edit
// lock). 0 added; -1 after a message when a or e is not a record or the
// arc is already there ("Arco %ld ya esta en ...").
int16_t agregue_arco_a(const int16_t* red, int32_t a, int32_t e);

}  // namespace cx
