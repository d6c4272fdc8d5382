// The session: the one working state of the open base in this process. The
// layer and kind tables, the numbered settings, the parameters, the world
// window and its history, the limits polygon, the work area, the
// description polygon and the legend. Other parts of the engine read it
// through sesion() and the record accessors.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "cartex32.h"
#include "frame/memory.h"

namespace cx {

inline constexpr int kMaxLayers = 255;
inline constexpr int kMaxKinds = 9999;
inline constexpr int kDescrMax = 900;
inline constexpr int kLegendSlots = 17;
inline constexpr int kHistory = 5;
inline constexpr int kMaxAreaArcs = 598;

// Setting codes with a role of their own.
enum : int {
  kWorkMode = 2,
  kUnits = 10,
  kGridSwitch = 14,
  kWorkCount = 17,
  kCurrentLayer = 24,
  kCurrentKind = 25
};

struct Ventana {
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  bool operator==(const Ventana&) const = default;
};

// A polygon of single-precision points with its extents.
struct Poligono {
  int32_t count = 0;
  Arreglo<float> x;
  Arreglo<float> y;
  Ventana extents;
};

struct Sesion {
  bool open = false;
  std::vector<cx_layer> layers;  // records 0..layer_count (empty: no session)
  int32_t layer_count = 0;
  std::vector<cx_kind> kinds;  // records 0..kind_count
  int32_t kind_count = 0;
  std::vector<int16_t> kind_layers;  // the layer of each kind record
  int current_network = 0;

  int16_t settings[26] = {};  // codes 1..25
  double params[10] = {};     // parameters 1..9
  double node_tolerance = 0;  // parameter 13
  double grid[5] = {};

  Ventana window;
  Ventana history[kHistory];
  int history_pos = 0;

  Poligono limits;
  Poligono work;  // modes 1 and 4
  Ventana work_extents;
  double circle_x = 0, circle_y = 0, circle_r = 0;
  int32_t work_arcs = 0;             // mode 4: arcs of the area object
  Arreglo<int16_t> work_arc_points;  // mode 4: points of each arc

  Arreglo<double> descr_x;  // kDescrMax points each
  Arreglo<double> descr_y;
  int32_t descr_count = 0;

  cx_legend_slot legend[kLegendSlots] = {};
  double legend_xy[4] = {};

  Arreglo<char> text_slots;  // ten slots of 52 bytes
  Arreglo<int32_t> work_longs;
  Arreglo<int16_t> work_shorts_a;
  Arreglo<int16_t> work_shorts_b;
};

Sesion& sesion();

// Record n of the layer or kind table; null (after an error message naming
// `caller`) when n is outside 0..count or no session is open.
cx_layer* registro_capa(int n, const char* caller);
cx_kind* registro_tipo(int n, const char* caller);

// Reports a null pointer given to `caller`; true when any is null.
bool punteros_nulos(const char* caller, std::initializer_list<const void*> pointers);

// Selects layer n (setting code 24): closes the files of the current one
// and opens those of n. Returns false, after a message, for a layer
// outside the table.
bool seleccione_capa(int n);

// Makes the boundary of an area object the work area (mode 4): the point
// lists of its arcs one after another, with the points of each arc. More
// than 598 arcs: "AREA MUY GRANDE PARA CARGAR.." and the work area is left
// as it was. Returns false when not loaded.
bool cargue_area_trabajo(int32_t arcs, const int16_t* points_per_arc, const double* x,
                         const double* y);

// Applies and stores a world window as set_video does.
void aplique_ventana(double x1, double y1, double x2, double y2);

}  // namespace cx
