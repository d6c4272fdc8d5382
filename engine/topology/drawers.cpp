// The one-record drawers and their exports vea_topo01, vea_nodo, vea_arco
// and vea_area.
//
// Every object is drawn in its kind's settings (scolor, slinea, stexto). By
// geometry type: point lists (0, 5, 6, 8, 9) as a polyline; texts (1) with
// gtexto at the anchor, turned by the object's rotation; nodes (3) as a
// marker; arcs (4) through their full point list; the other types as the
// kind's symbol at the anchor, turned likewise (a marker when the kind has
// none). Polygons (type 6) and closed point lists of kinds with a hatch
// setting are hatched. Area objects are drawn by a marker at their label
// point, and when their kind has a hatch setting they are hatched and their
// bounding arcs drawn.
#include "topology/drawers.h"

#include <algorithm>
#include <string>
#include <vector>

#include "attributes/kind_style.h"
#include "frame/messages.h"
#include "graphics/drawing.h"
#include "graphics/graphics_state.h"
#include "graphics/text.h"
#include "records/blocks.h"
#include "records/codec.h"
#include "records/record_file.h"
#include "records/typed_records.h"
#include "session/session.h"
#include "topology/area_hatch.h"
#include "topology/topology_files.h"
#include "topology/writers.h"

namespace cx {

namespace {

constexpr int kListSize = 16;
constexpr int kDescSize = 18;

bool read_points(int handle, int32_t offset, int count, std::vector<double>& x,
                 std::vector<double>& y, std::size_t at) {
  if (count <= 0) return true;
  return lea_coord(static_cast<int16_t>(handle), offset, x.data() + at, y.data() + at,
                   static_cast<int16_t>(count)) == 0;
}

bool read_node(const int16_t* red, int32_t record, cx_node* node) {
  return sleer_nod(red[0], node, record, kNodeSize) == 0;
}

// The text of a text object: count bytes of its block, up to the first NUL
// (a block never holds more than kMaxBlockUnits units).
bool read_text(int handle, const cx_object& object, std::string& text) {
  const int count = std::clamp<int>(object.count, 0, kMaxBlockUnits * 16);
  text.clear();
  if (count == 0 || object.block <= 0) return true;
  std::vector<char> bytes(count + 1, 0);
  if (lea_bytes_en(handle, object.block, bytes.data(), count) != 0) return false;
  text = bytes.data();
  return true;
}

// A point object: the kind's symbol as large as its text, or a marker when
// the kind has no symbol or the icon table lacks it. The icon size is put
// back afterwards.
void draw_symbol(const cx_kind& kind, double x, double y, int tenths) {
  if (kind.symbol > 0) {
    atr::aplique_texto(kind);
    EstadoGrafico& g = estado_grafico();
    const double pixels = g.icon_pixels;
    const int32_t scale = g.icon_scale;
    gdicoesc(g.text_sizes[g.text_size]);
    const bool drawn = icono_girado(kind.symbol, x, y, tenths) != 0;
    g.icon_pixels = pixels;
    g.icon_scale = scale;
    if (drawn) return;
  }
  marque_punto(x, y);
}

// Kinds with a hatch setting hatch their polygons (type 6) and their
// closed point lists at that angle and step (set with the kind's colour).
bool hatched(const cx_kind& kind, const std::vector<double>& x, const std::vector<double>& y,
             int count) {
  if (kind.hatch == 0 || count < 3) return false;
  return kind.geometry == 6 || (x[0] == x[count - 1] && y[0] == y[count - 1]);
}

}  // namespace

const cx_kind& tipo_para_dibujo(int kind) {
  static const cx_kind none{};
  const Sesion& s = sesion();
  if (s.kinds.empty()) return none;
  return s.kinds[(kind >= 1 && kind <= s.kind_count) ? kind : 0];
}

void aplique_atributos(const cx_kind& kind, int colour) {
  cx_kind drawn = kind;
  if (colour != kKindColour) drawn.colour = static_cast<uint8_t>(colour);
  atr::aplique_color(drawn);
  atr::aplique_linea(drawn);
}

int nivel_de_dibujo(const cx_kind& kind) {
  return kind.level < 2 ? 1 : kind.level;
}

int16_t dibuje_t0(int32_t record, int colour) {
  const ArchivosT0& files = archivos_t0();
  cx_object object;
  if (sleer_obj(static_cast<int16_t>(files.objetos), &object, record, kObjectSize) != 0) return -1;
  const cx_kind& kind = tipo_para_dibujo(object.kind);
  aplique_atributos(kind, colour);
  if (kind.geometry == kGeometryText) {
    std::string text;
    if (!read_text(files.coorden, object, text)) return -1;
    atr::aplique_texto(kind);
    if (!text.empty()) texto_girado(object.x, object.y, object.rotation, text.c_str());
  } else if (es_lista_de_puntos(kind.geometry)) {
    if (object.count > 0 && object.block > 0) {
      std::vector<double> x(object.count + 1), y(object.count + 1);
      if (!read_points(files.coorden, object.block, object.count, x, y, 0)) return -1;
      if (hatched(kind, x, y, object.count)) gachurado(object.count, x.data(), y.data());
      gplinea(x.data(), y.data(), object.count);
    } else {
      marque_punto(object.x, object.y);
    }
  } else {
    draw_symbol(kind, object.x, object.y, object.rotation);
  }
  return 0;
}

int16_t dibuje_nodo(const int16_t* red, int32_t record, int colour) {
  cx_node node;
  if (!read_node(red, record, &node)) return -1;
  aplique_atributos(tipo_para_dibujo(node.kind), colour);
  marque_punto(node.x, node.y);
  return 0;
}

int16_t dibuje_arco(const int16_t* red, int32_t record, int colour) {
  cx_arc arc;
  cx_node from, to;
  if (sleer_arc(red[1], &arc, record, kArcSize) != 0 || !read_node(red, arc.from_node, &from) ||
      !read_node(red, arc.to_node, &to))
    return -1;
  const int count = std::clamp<int>(arc.count, 0, kMaxBlockUnits);
  std::vector<double> x(count + 2), y(count + 2);
  x[0] = from.x;
  y[0] = from.y;
  if (arc.block > 0 && !read_points(red[5], arc.block, count, x, y, 1)) return -1;
  x[count + 1] = to.x;
  y[count + 1] = to.y;
  aplique_atributos(tipo_para_dibujo(arc.kind), colour);
  gplinea(x.data(), y.data(), static_cast<int16_t>(count + 2));
  return 0;
}

int16_t dibuje_objeto_area(const int16_t* red, int32_t record, int colour) {
  cx_area_object object;
  if (red[6] < 0 || sleer_top(red[6], &object, record, kAreaObjectSize) != 0) return -1;
  const cx_kind& kind = tipo_para_dibujo(object.kind);
  if (kind.hatch != 0 && red[8] >= 0) {
    aplique_atributos(kind, colour);  // the hatch angle and step too
    achure_area(red, object.first_desc, "vea_area");
    // The description chain of the area object: one entry per bounding arc.
    const int32_t limit = std::max(ultimo_registro(red[8], kDescSize), 0);
    int32_t entry = object.first_desc;
    for (int32_t seen = 0; entry > 0 && seen < limit; ++seen) {
      unsigned char desc[kDescSize];
      if (lea_registro(red[8], desc, entry, kDescSize) != 0) return -1;
      if (dibuje_arco(red, get_le32(desc), colour) != 0) return -1;
      entry = get_le32(desc + 12);
    }
  }
  aplique_atributos(kind, colour);
  marque_punto(object.x, object.y);
  return 0;
}

std::vector<int32_t> arcos_de_nodo(const int16_t* red, int32_t record) {
  std::vector<int32_t> arcs;
  cx_node node;
  if (!read_node(red, record, &node)) return arcs;
  const int32_t limit = std::max(ultimo_registro(red[4], kListSize), 0);
  for (int32_t entry = node.first_list; entry > 0 && static_cast<int32_t>(arcs.size()) < limit;) {
    unsigned char list[kListSize];
    if (lea_registro(red[4], list, entry, kListSize) != 0) return {};
    arcs.push_back(get_le32(list));
    entry = get_le32(list + 4);
  }
  return arcs;
}

}  // namespace cx

namespace {

const int16_t* current_network(const char* caller) {
  const cx::Red* r = cx::red(cx::sesion().current_network);
  if (!r) cx::informe_error("%s: NO HAY RED ACTUAL", caller);
  return r ? r->handles : nullptr;
}

}  // namespace

CX_EXPORT(int16_t) vea_topo01(int32_t record, int16_t colour) {
  return cx::dibuje_t0(record, colour);
}

CX_EXPORT(int16_t) vea_nodo(int32_t record, int16_t colour) {
  const int16_t* red = current_network("vea_nodo");
  return red ? cx::dibuje_nodo(red, record, colour) : -1;
}

CX_EXPORT(int16_t) vea_arco(int32_t record, int16_t colour) {
  const int16_t* red = current_network("vea_arco");
  return red ? cx::dibuje_arco(red, record, colour) : -1;
}

CX_EXPORT(int16_t) vea_area(int32_t record, int16_t colour) {
  const int16_t* red = current_network("vea_area");
  return red ? cx::dibuje_objeto_area(red, record, colour) : -1;
}
