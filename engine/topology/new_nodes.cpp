// New nodes of the current network (nuevo_nodo) and the kinds new nodes
// and arcs take.
#include <cctype>
#include <cstring>

#include "frame/messages.h"
#include "session/session.h"
#include "topology/drawers.h"
#include "topology/edit_support.h"
#include "topology/network_edits.h"
#include "topology/network_lists.h"
#include "topology/topology_files.h"

namespace cx {

namespace {

// Whether layer is a network layer whose prefix names the current network.
bool of_current_network(int layer) {
  const Sesion& s = sesion();
  const Red* network = red(s.current_network);
  if (!network || layer < 1 || layer > s.layer_count) return false;
  const cx_layer& l = s.layers[static_cast<std::size_t>(layer)];
  if (l.kind != 2 && l.kind != 3) return false;
  for (int i = 0; i < 4; ++i) {
    const char a = static_cast<char>(std::toupper(static_cast<unsigned char>(l.network_prefix[i])));
    const char b = i < static_cast<int>(network->prefix.size()) ? network->prefix[i] : '\0';
    if (a != b) return false;
    if (a == '\0') break;
  }
  return true;
}

int kind_of_geometry(int given, int geometry) {
  const Sesion& s = sesion();
  auto fits = [&](int k) {
    return k >= 1 && k <= s.kind_count && s.kinds[static_cast<std::size_t>(k)].geometry == geometry;
  };
  if (fits(given) && of_current_network(s.kinds[static_cast<std::size_t>(given)].layer))
    return given;
  const int layer = s.settings[kCurrentLayer];
  for (int k = 1; k <= s.kind_count; ++k)
    if (fits(k) && s.kinds[static_cast<std::size_t>(k)].layer == layer) return k;
  for (int k = 1; k <= s.kind_count; ++k)
    if (fits(k) && of_current_network(s.kinds[static_cast<std::size_t>(k)].layer)) return k;
  return 0;
}

std::vector<int32_t> last_digitizing;

}  // namespace

int tipo_de_nodo(int given) {
  return kind_of_geometry(given, 3);
}

int tipo_de_arco() {
  return kind_of_geometry(sesion().settings[kCurrentKind], 4);
}

std::vector<int32_t>& ultima_digitalizacion() {
  return last_digitizing;
}

int32_t escriba_nodo_nuevo(cx_object& object, cx_node& node) {
  const Sesion& s = sesion();
  const Red* network = red(s.current_network);
  if (!network) return 0;
  object.kind = static_cast<int16_t>(tipo_de_nodo(object.kind));
  object.layer = object.kind > 0 ? s.kinds[static_cast<std::size_t>(object.kind)].layer : 0;
  char code[sizeof node.code];
  std::memcpy(code, node.code, sizeof code);
  node = cx_node{};
  std::memcpy(node.code, code, sizeof code);
  const int layer = s.settings[kCurrentLayer];
  node.code_prefix = layer >= 1 && layer <= s.layer_count
                         ? s.layers[static_cast<std::size_t>(layer)].code_prefix[1]
                         : 0;
  const int32_t n = grabe_nodo(&node, &object, 0, 0, 0, network->handles);
  if (n > 0) dibuje_nodo(network->handles, n, kKindColour);
  return n;
}

}  // namespace cx

CX_EXPORT(int32_t) nuevo_nodo(cx_object* object, cx_node* node) {
  using namespace cx;
  if (punteros_nulos("nuevo_nodo", {object, node})) return 0;
  if (!red_actual()) {
    informe_error("nuevo_nodo: LA CAPA ACTUAL NO ES UNA RED");
    return 0;
  }
  const CerrojoEdicion lock;
  if (!lock.taken) {
    avise_error("ERROR bloqueando nodo");
    return 0;
  }
  return escriba_nodo_nuevo(*object, *node);
}
