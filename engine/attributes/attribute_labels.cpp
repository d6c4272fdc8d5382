// Attribute labels: a field of type 14 or above holds where an object's
// label goes, as the text "x,y<angle>" (angle in tenths of a degree); the
// label is the value of the next field of the definition that formulas can
// read (offered as a variable, below type 14). fatr_put stores a placement,
// fatr_dibuje draws the labels, and veadat0, veadat2 and veadat_t0 draw the
// code and attribute labels of a T0 object, a network node and an area
// object.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "attributes/attribute_bases.h"
#include "attributes/kind_style.h"
#include "frame/messages.h"
#include "session/session.h"
#include "topology/topology_files.h"

namespace cx::atr {

namespace {

bool placement(const Campo& c, double& x, double& y, int& angle) {
  char text[kLargoCampo + 1];
  std::memcpy(text, c.value, sizeof text);
  angle = 0;
  return std::sscanf(text, "%lf,%lf<%d>", &x, &y, &angle) >= 2 && std::isfinite(x) &&
         std::isfinite(y);
}

// The label text of placement field i: the next offered field's value.
std::string label_of(const Campos& fields, std::size_t i) {
  for (std::size_t j = i + 1; j < fields.size(); ++j) {
    const Campo& c = *fields[j];
    if (c.type >= kTipoRotulo) break;
    if (!c.variable[0]) continue;
    std::string s(reinterpret_cast<const char*>(c.value));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  return {};
}

}  // namespace

// Draws the labels of the object of kind with this code at (x, y). For
// network objects a placement farther than the search margin (parameter 8)
// from (x, y) is ignored. The number of labels drawn.
int16_t dibuje_atributos(int kind, const char* code, double x, double y, bool network) {
  if (lea_atributos(kind, code) != 1) return 0;
  Base* b = base_de_tipo(kind);
  if (!b || !b->labels) return 0;
  ponga_texto(kind);
  const double margin = sesion().params[8];
  int16_t drawn = 0;
  for (std::size_t i = 0; i < b->fields.size(); ++i) {
    double px, py;
    int angle;
    if (b->fields[i]->type < kTipoRotulo || !placement(*b->fields[i], px, py, angle)) continue;
    if (network && std::hypot(px - x, py - y) > margin) continue;
    const std::string text = label_of(b->fields, i);
    if (text.empty()) continue;
    dibuje_rotulo(px, py, angle / 10.0, text.c_str());
    ++drawn;
  }
  return drawn;
}

}  // namespace cx::atr

CX_EXPORT(int16_t)
fatr_put(int16_t kind, const char* code, int16_t field, double x, double y, int16_t angle) {
  using namespace cx;
  using namespace cx::atr;
  if (punteros_nulos("fatr_put", {code}) || !registro_tipo(kind, "fatr_put")) return -1;
  Base* b = base_de_tipo(kind);
  if (!b || lea_atributos(kind, code) != 1 || !b->position) return -1;
  int ordinal = 0;
  for (CampoPtr& c : b->fields) {
    if (c->type < kTipoRotulo || ++ordinal != field) continue;
    char text[kLargoCampo + 1];
    const int n = std::snprintf(text, sizeof text, "%lf,%lf<%d>", x, y, angle);
    if (n < 0 || n > c->length) {
      informe_error("fatr_put: UBICACION DE %d CARACTERES EN CAMPO DE %d", n, c->length);
      return -1;
    }
    std::memset(b->buffer.data() + c->offset, ' ', c->length);
    std::memcpy(b->buffer.data() + c->offset, text, n);
    std::memcpy(c->value, b->buffer.data() + c->offset, c->length);
    return regrabe_registro(*b);
  }
  informe_error("fatr_put: CAMPO DE UBICACION %d NO EXISTE", field);
  return -1;
}

CX_EXPORT(int16_t)
fatr_dibuje(int16_t kind, const char* code, double x, double y, int16_t network) {
  if (cx::punteros_nulos("fatr_dibuje", {code}) || !cx::registro_tipo(kind, "fatr_dibuje"))
    return -1;
  return cx::atr::dibuje_atributos(kind, code, x, y, network != 0);
}

namespace {

// The code label and the attribute labels of one object.
int16_t labels(int kind, const unsigned char* code, const char* text, double x, double y,
               int16_t rotation, bool network) {
  using namespace cx;
  if (!registro_tipo(kind, "veadat")) return -1;
  atr::ponga_color(kind);
  atr::ponga_texto(kind);
  cx_object host{};
  host.kind = static_cast<int16_t>(kind);
  host.x = x;
  host.y = y;
  host.rotation = rotation;
  veacod(code, &host);
  return atr::dibuje_atributos(kind, text, x, y, network);
}

std::string code_text(const char* code, std::size_t size) {
  std::string s(code, strnlen(code, size));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

CX_EXPORT(int16_t) veadat0(const cx_object* object, const char* code) {
  if (cx::punteros_nulos("veadat0", {object, code})) return -1;
  unsigned char raw[10] = {};
  std::memcpy(raw, code, strnlen(code, 10));
  return labels(object->kind, raw, code, object->x, object->y, object->rotation, false);
}

CX_EXPORT(int16_t) veadat2(const cx_node* node) {
  if (cx::punteros_nulos("veadat2", {node})) return -1;
  const std::string text = code_text(node->code, sizeof node->code);
  return labels(node->kind, reinterpret_cast<const unsigned char*>(node->code), text.c_str(),
                node->x, node->y, node->rotation, true);
}

CX_EXPORT(int16_t) veadat_t0(const cx_area_object* object) {
  if (cx::punteros_nulos("veadat_t0", {object})) return -1;
  // The code after the layer's two prefix digits.
  const std::string text = code_text(object->code + 2, sizeof object->code - 2);
  unsigned char raw[10] = {};
  std::memcpy(raw, object->code + 2, 10);
  return labels(object->kind, raw, text.c_str(), object->x, object->y, object->rotation, true);
}

CX_EXPORT(int16_t) hay_atr23(int16_t network) {
  using namespace cx;
  const Red* r = red(network);
  if (!r) return 0;
  const Sesion& s = sesion();
  for (int k = 1; k <= s.kind_count && k < static_cast<int>(s.kinds.size()); ++k) {
    const cx_kind& kind = s.kinds[k];
    if (kind.hidden || kind.layer >= s.layers.size()) continue;
    const cx_layer& layer = s.layers[kind.layer];
    if (layer.hidden || (layer.kind != 2 && layer.kind != 3)) continue;
    char prefix[6] = {};
    std::memcpy(prefix, layer.network_prefix, 5);
    for (char& c : prefix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (r->prefix.compare(0, 4, prefix, std::min<std::size_t>(4, std::strlen(prefix))) != 0)
      continue;
    const atr::Base* b = atr::base_de_tipo(k);
    if (b && b->labels) return 1;
  }
  return 0;
}
