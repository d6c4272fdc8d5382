// Finding objects by code in the current layer: existe_codigo tests a code,
// codigos finds the object and its extents.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "attributes/code_keys.h"
#include "cartex32.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "session/session.h"
#include "topology/topology_files.h"

namespace {

using namespace cx;

const cx_layer* current_layer() {
  const int n = sesion().settings[kCurrentLayer];
  const Sesion& s = sesion();
  return n >= 1 && n < static_cast<int>(s.layers.size()) ? &s.layers[n] : nullptr;
}

// The layer's two prefix digits followed by the code, as a key.
void prefixed_key(const cx_layer& layer, const char* code, unsigned char* key) {
  char text[16] = {static_cast<char>('0' + layer.code_prefix[0] % 10),
                   static_cast<char>('0' + layer.code_prefix[1] % 10)};
  std::strncat(text, code, 11);
  atr::clave_de_texto(text, atr::kClave, key);
}

int network_index(int which) {
  const Red* r = red(sesion().current_network);
  return r ? r->handles[which] : -1;
}

// The record a code names in the current layer, with the layer's kind.
int32_t find(const char* code, const unsigned char* code10, int* layer_kind) {
  const cx_layer* layer = current_layer();
  *layer_kind = layer ? layer->kind : 0;
  if (!layer || layer->kind == 0) return static_cast<int32_t>(std::atol(code));
  unsigned char key[atr::kClave] = {};
  int index = -1;
  if (layer->kind == 1) {
    prefixed_key(*layer, code, key);
    index = archivos_t0().zonast3;
  } else if (layer->kind == 2) {
    const cx_kind* k = registro_tipo(sesion().settings[kCurrentKind], "existe_codigo");
    if (!k || k->geometry != 3) return 0;
    key[0] = layer->code_prefix[1];
    std::memcpy(key + 1, code10, 10);
    index = network_index(3);
  } else {
    prefixed_key(*layer, code, key);
    index = network_index(3);
  }
  return atr::busque_codigo(index, key);
}

void enlarged(double x, double y, double* box) {
  const double m = sesion().params[8];
  box[0] = x - m, box[1] = y - m, box[2] = x + m, box[3] = y + m;
}

// The points of a T0 object; empty for texts and objects without any.
bool object_points(const cx_object& o, std::vector<double>& xs, std::vector<double>& ys) {
  const cx_kind* k = registro_tipo(o.kind, "codigos");
  xs.clear(), ys.clear();
  if (!k || k->geometry == 1 || o.block <= 0 || o.count <= 0) return false;
  std::vector<unsigned char> raw(o.count * 16);
  if (lea_bytes_en(archivos_t0().coorden, o.block, raw.data(), o.count * 16) != 0) return false;
  for (int i = 0; i < o.count; ++i) {
    xs.push_back(get_f64(raw.data() + 8 * i));
    ys.push_back(get_f64(raw.data() + 8 * (o.count + i)));
  }
  return true;
}

// The arcs that bound an area object of the current network, through its
// description chain in desc.dat: each arc's points from its from-node,
// through its intermediate points, to its to-node. false when a record
// cannot be read or the chain does not end within the work area's limit.
bool area_outline(const cx_area_object& a, std::vector<int16_t>& counts, std::vector<double>& xs,
                  std::vector<double>& ys) {
  const Red* r = red(sesion().current_network);
  if (!r) return false;
  const int16_t nodes = r->handles[0], arcs = r->handles[1], coo = r->handles[5];
  const int16_t desc = r->handles[8];
  int32_t entry = a.first_desc;
  while (entry > 0) {
    if (static_cast<int>(counts.size()) > kMaxAreaArcs) return false;
    unsigned char d[18];
    cx_arc arc{};
    if (lea_registro(desc, d, entry, 18) != 0 || sleer_arc(arcs, &arc, get_le32(d), 0) != 0)
      return false;
    cx_node from{}, to{};
    if (sleer_nod(nodes, &from, arc.from_node, 0) != 0 ||
        sleer_nod(nodes, &to, arc.to_node, 0) != 0)
      return false;
    std::vector<unsigned char> raw(std::max<int16_t>(arc.count, 0) * 16);
    if (!raw.empty() && lea_bytes_en(coo, arc.block, raw.data(), static_cast<int32_t>(raw.size())))
      return false;
    xs.push_back(from.x), ys.push_back(from.y);
    for (int i = 0; i < arc.count; ++i) {
      xs.push_back(get_f64(raw.data() + 8 * i));
      ys.push_back(get_f64(raw.data() + 8 * (arc.count + i)));
    }
    xs.push_back(to.x), ys.push_back(to.y);
    counts.push_back(static_cast<int16_t>(arc.count + 2));
    entry = get_le32(d + 12);  // the next arc of the same area object
  }
  return !counts.empty();
}

void bounds(const std::vector<double>& xs, const std::vector<double>& ys, double* box) {
  box[0] = *std::min_element(xs.begin(), xs.end());
  box[1] = *std::min_element(ys.begin(), ys.end());
  box[2] = *std::max_element(xs.begin(), xs.end());
  box[3] = *std::max_element(ys.begin(), ys.end());
}

}  // namespace

CX_EXPORT(int32_t) existe_codigo(const char* code, const char* code10) {
  if (punteros_nulos("existe_codigo", {code, code10})) return 0;
  int layer_kind;
  return find(code, reinterpret_cast<const unsigned char*>(code10), &layer_kind);
}

CX_EXPORT(int16_t)
codigos(const char* code, double* x, double* y, double* extents, int16_t outline) {
  if (punteros_nulos("codigos", {code, x, y, extents})) return 0;
  unsigned char code10[10] = {};
  std::memcpy(code10, code, strnlen(code, 10));
  int layer_kind;
  const int32_t record = find(code, code10, &layer_kind);
  if (record <= 0) return 0;
  if (layer_kind == 0 || layer_kind == 1) {
    const ArchivosT0& t0 = archivos_t0();
    int32_t object_record = record;
    if (layer_kind == 1) {
      cx_area area{};
      if (sleer_are(static_cast<int16_t>(t0.areas), &area, record, 0) != 0) return 0;
      object_record = area.object;
    }
    cx_object o{};
    if (object_record <= 0 ||
        sleer_obj(static_cast<int16_t>(t0.objetos), &o, object_record, 0) != 0)
      return 0;
    *x = o.x, *y = o.y;
    std::vector<double> xs, ys;
    if (object_points(o, xs, ys)) {
      bounds(xs, ys, extents);
      if (outline) set_workpol(static_cast<int16_t>(xs.size()), xs.data(), ys.data());
    } else {
      enlarged(o.x, o.y, extents);
    }
    return 1;
  }
  if (layer_kind == 2) {
    cx_node n{};
    if (sleer_nod(static_cast<int16_t>(network_index(0)), &n, record, 0) != 0) return 0;
    *x = n.x, *y = n.y;
    enlarged(*x, *y, extents);
    return 1;
  }
  cx_area_object a{};
  if (sleer_top(static_cast<int16_t>(network_index(6)), &a, record, 0) != 0) return 0;
  *x = a.x, *y = a.y;
  std::vector<int16_t> counts;
  std::vector<double> xs, ys;
  if (!area_outline(a, counts, xs, ys)) {
    enlarged(*x, *y, extents);
    return 1;
  }
  bounds(xs, ys, extents);
  if (outline)
    cargue_area_trabajo(static_cast<int32_t>(counts.size()), counts.data(), xs.data(), ys.data());
  return 1;
}
