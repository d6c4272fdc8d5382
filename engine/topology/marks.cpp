// Marks on the host's screen for editing: the anchor points of the current
// layer's objects in the window (correctores) and the exclusive-or
// highlight of a node or area object (edit_nodot23).
#include <cstdint>

#include "frame/messages.h"
#include "graphics/drawing.h"
#include "session/session.h"
#include "topology/btree.h"
#include "topology/descriptions.h"
#include "topology/drawers.h"
#include "topology/edit_records.h"
#include "topology/network_lists.h"
#include "topology/spatial.h"
#include "topology/topology_files.h"

CX_EXPORT(int16_t) correctores(int16_t colour) {
  using namespace cx;
  const Sesion& s = sesion();
  const int layer_number = s.settings[kCurrentLayer];
  const cx_layer* layer = registro_capa(layer_number, "correctores");
  if (!layer || layer->kind == 2) return -1;
  const Red* network = layer->kind == 3 ? red(s.current_network) : nullptr;
  const int index = layer->kind < 2 ? archivos_t0().cuadt0
                    : network       ? network->handles[kRedLabels]
                                    : -1;
  if (index < 0) return -1;
  const double m = s.params[8];
  ConsultaEspacial q;
  inicie_consulta(&q, s.window.xmin - m, s.window.ymin - m, s.window.xmax + m, s.window.ymax + m);
  unsigned char key[kKeySize];
  int32_t record = 0;
  int16_t marked = 0;
  gdcolor(colour);
  while (siguiente_hit(index, &q, key, &record) == 1) {
    double x = 0, y = 0;
    int hit_layer = 0;
    decodifique_clave(key, &x, &y, &hit_layer);
    if (hit_layer != layer_number) continue;
    cx_object object{};
    cx_area_object area{};
    if (network ? !lea_objeto_area(network->handles, record, &area) : !lea_t0(record, &object))
      continue;
    marque_punto(network ? area.x : object.x, network ? area.y : object.y);
    if (marked < INT16_MAX) ++marked;
  }
  return marked;
}

CX_EXPORT(int16_t) edit_nodot23(int32_t record) {
  using namespace cx;
  const Red* network = red(sesion().current_network);
  if (!network) return 0;
  const int16_t previous = static_cast<int16_t>(gaeor());
  gdeor(1);
  const bool node = network->handles[kRedKind] != 3 ||
                    tipo_para_dibujo(sesion().settings[kCurrentKind]).geometry == 3;
  if (node)
    dibuje_nodo(network->handles, record, kKindColour);
  else
    dibuje_objeto_area(network->handles, record, kKindColour);
  gdeor(previous);
  return 0;
}
