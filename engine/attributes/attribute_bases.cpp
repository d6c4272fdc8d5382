// Opening, reading and closing attribute bases.
#include "attributes/attribute_bases.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "attributes/code_keys.h"
#include "attributes/dbase.h"
#include "cartex32.h"
#include "expr/base_fields.h"
#include "expr/evaluator.h"
#include "expr/translator.h"
#include "expr/variables.h"
#include "frame/messages.h"
#include "session/session.h"

namespace cx::atr {

namespace {

struct Abiertas {
  std::vector<std::unique_ptr<Base>> bases;  // base n at n - 1
  int16_t por_tipo[kMaxTiposConBase + 1] = {};
};

Abiertas& abiertas() {
  static Abiertas a;
  return a;
}

std::string trimmed(const char* text, std::size_t size) {
  std::string s(text, strnlen(text, size));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string stem(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

// The formula editor's view of base n.
void publique(int n, const Base& b) {
  BaseFormulas view;
  view.label_fields = b.labels;
  for (const CampoPtr& c : b.fields) {
    CampoFormula f;
    f.type = c->type;
    f.length = c->length;
    f.width = c->width;
    std::snprintf(f.variable, sizeof f.variable, "%s", c->variable);
    std::snprintf(f.caption, sizeof f.caption, "%s", c->name);
    f.value = c->value;
    view.fields.push_back(f);
  }
  registre_base(n, std::move(view));
}

void cierre(Base& b) {
  for (Base* r = &b; r; r = r->next.get()) desligue_campos(r->fields);
}

// The key of a related base: its formula on the values read before it.
void clave_relacion(const Base& b, unsigned char* key) {
  cx_valor_expr v{};
  evalue(b.relation, v);
  char text[kTextSize];
  if (v.kind == 1)
    std::snprintf(text, sizeof text, "%s", v.text);
  else
    std::snprintf(text, sizeof text, "%.0f", v.number);
  clave_de_texto(text, kClave, key);
}

bool lea_registro_base(Base& b, int64_t at) {
  std::fill(b.buffer.begin(), b.buffer.end(), 0);
  b.position = 0;
  if (at <= 0 || !b.data.abierto()) return false;
  const int size = b.record_length;
  int16_t r;
  if (b.storage <= 1) {
    if (at > ultimo_registro(b.data.get(), size)) return false;
    r = lea_registro(b.data.get(), b.buffer.data(), at, size);
  } else {
    r = lea_bytes_en(b.data.get(), at - 1, b.buffer.data(), size);
  }
  if (r == 0) b.position = at;
  return r == 0;
}

bool lea_una(Base& b, const char* code) {
  int64_t at = 0;
  if (b.storage == 0 && !b.related) {
    at = std::atol(code);
  } else {
    unsigned char key[kClave];
    if (b.related)
      clave_relacion(b, key);
    else
      clave_de_texto(code, kClave, key);
    if (b.storage == 0) {
      at = std::atol(reinterpret_cast<const char*>(key));
    } else if (b.index.abierto()) {
      at = busque_codigo(b.index.get(), key);
    }
  }
  const bool found = lea_registro_base(b, at);
  copie_valores(b.fields, b.buffer.data(), static_cast<int>(b.buffer.size()));
  return found;
}

}  // namespace

Base* base_numero(int n) {
  auto& a = abiertas();
  return n >= 1 && n <= static_cast<int>(a.bases.size()) ? a.bases[n - 1].get() : nullptr;
}

int numero_de_base(int kind) {
  return kind >= 1 && kind <= kMaxTiposConBase ? abiertas().por_tipo[kind] : 0;
}

Base* base_de_tipo(int kind) {
  return base_numero(numero_de_base(kind));
}

std::unique_ptr<Base> abra_base(const std::string& name, int storage, int kind) {
  auto b = std::make_unique<Base>();
  b->name = name;
  b->storage = storage < 0 || storage > 3 ? 1 : storage;
  b->kind = kind;
  const std::string base = b->storage == 3 ? stem(name) : name;
  const bool loaded = cargue_definicion(base + ".def", b->fields);
  std::string data = b->storage == 2 ? name + ".dbf" : b->storage == 3 ? name : name + ".dat";
  if (loaded) b->data = ArchivoAbierto(abra_compartido(data.c_str()));
  if (!loaded || !b->data.abierto()) {
    informe_error("No se pudo abrir base %s...", name.c_str());
    return nullptr;
  }
  if (b->storage != 0) {
    b->index = ArchivoAbierto(indice_abra((base + ".inx").c_str(), nullptr));
    if (!b->index.abierto()) {
      informe_error("No se pudo abrir base %s...", name.c_str());
      return nullptr;
    }
  }
  b->record_length = largo_registro(b->fields);
  b->buffer.assign(b->record_length + 1, 0);
  for (const CampoPtr& c : b->fields) b->labels |= c->type >= kTipoRotulo;
  registre_campos(b->fields);
  return b;
}

int16_t lea_atributos(int kind, const char* code) {
  std::snprintf(valores_base().codigo, 15, "%s", code ? code : "");
  const cx_kind* k = registro_tipo(kind, "lea_atribs");
  Base* b = base_de_tipo(kind);
  if (!k || !b || k->hidden) return 0;
  if (kind != sesion().settings[kCurrentKind] && !b->labels) return 0;
  const int16_t found = lea_una(*b, valores_base().codigo) ? 1 : 0;
  for (Base* r = b->next.get(); r; r = r->next.get()) lea_una(*r, valores_base().codigo);
  return found;
}

void cierre_todas() {
  auto& a = abiertas();
  for (auto& b : a.bases) cierre(*b);
  a.bases.clear();
  std::memset(a.por_tipo, 0, sizeof a.por_tipo);
  olvide_bases();
}

void registre_abierta(int kind, std::unique_ptr<Base> b) {
  auto& a = abiertas();
  a.bases.push_back(std::move(b));
  a.por_tipo[kind] = static_cast<int16_t>(a.bases.size());
  publique(static_cast<int>(a.bases.size()), *a.bases.back());
}

void comparta(int kind, int other) {
  abiertas().por_tipo[kind] = abiertas().por_tipo[other];
}

int agregue_relacionada(int kind, std::unique_ptr<Base> b) {
  Base* head = base_de_tipo(kind);
  if (!head) {
    registre_abierta(kind, std::move(b));
    return numero_de_base(kind);
  }
  Base* last = head;
  while (last->next) last = last->next.get();
  last->next = std::move(b);
  return numero_de_base(kind);
}

int16_t regrabe_registro(Base& b) {
  int16_t r = -1;
  if (b.position > 0 && b.data.abierto()) {
    r = b.storage <= 1
            ? escriba_registro(b.data.get(), b.buffer.data(), b.position, b.record_length)
            : esc_bytes(b.data.get(), b.position - 1, b.buffer.data(), b.record_length);
  }
  if (r != 0) informe_error("ESCRIBIR: Error en base , reg %ld", static_cast<long>(b.position));
  return r == 0 ? 0 : -1;
}

}  // namespace cx::atr

namespace cx {

int abra_bases_atributos() {
  using namespace atr;
  libere_listas_atributos();
  limpie_variables();
  registre_variables_base();
  Sesion& s = sesion();
  int opened = 0;
  const int kinds = std::min<int>(s.kind_count, kMaxTiposConBase);
  for (int k = 1; k <= kinds && k < static_cast<int>(s.kinds.size()); ++k) {
    const cx_kind& kind = s.kinds[k];
    const std::string name = trimmed(kind.attribute_base, sizeof kind.attribute_base);
    if (name.empty()) continue;
    for (int j = 1; j < k && !numero_de_base(k); ++j)
      if (numero_de_base(j) && std::strncmp(s.kinds[j].attribute_base, kind.attribute_base, 8) == 0)
        comparta(k, j);
    if (numero_de_base(k)) continue;
    std::unique_ptr<Base> b = abra_base(name, kind.storage, k);
    if (!b) continue;
    b->code_form = kind.code_form;
    const cx_layer* layer = kind.layer < s.layers.size() ? &s.layers[kind.layer] : nullptr;
    b->layer_kind = layer ? layer->kind : 0;
    registre_abierta(k, std::move(b));
    ++opened;
  }
  return opened;
}

void libere_listas_atributos() {
  atr::cierre_todas();
}

}  // namespace cx

CX_EXPORT(int16_t) abra_atrs(void) {
  cx::abra_bases_atributos();
  return 0;
}

CX_EXPORT(int16_t) cierre_atrs(void) {
  cx::libere_listas_atributos();
  return 0;
}

CX_EXPORT(int16_t) lea_atribs(int16_t slot, const int16_t* kind, const char* code) {
  (void)slot;  // not read: see cartex32.h
  if (cx::punteros_nulos("lea_atribs", {kind, code})) return 0;
  return cx::atr::lea_atributos(*kind, code);
}

CX_EXPORT(int16_t) otrabase(const char* name, int16_t storage, const char* formula) {
  using namespace cx;
  using namespace cx::atr;
  const int kind = sesion().settings[kCurrentKind];
  if (kind == 0 || !name || !*name) return 0;
  if (kind > kMaxTiposConBase || !registro_tipo(kind, "otrabase")) return -1;
  if (storage < 1 || storage > 4) {
    informe_error("otrabase: TIPO DE BASE %d NO EXISTE", storage);
    return -1;
  }
  // The formula as written, or else upper-cased (field names of bases made
  // with capitals); an empty one relates by the object's code.
  const std::string given = formula && *formula ? formula : "codigo";
  std::string upper = given;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string pseudo;
  Programa relation;
  bool parsed = false;
  for (const std::string* text : {&given, static_cast<const std::string*>(&upper)})
    if (!parsed && traduzca(text->c_str(), pseudo) == kFormulaOk)
      parsed = compile(pseudo.c_str(), relation);
  if (!parsed) {
    avise_error("Error en expresión para relacionar...");
    return -1;
  }
  const int type = storage == 4 ? 1 : storage;
  if (type == 2 && verify_dbase(name) != 0) return -1;
  std::unique_ptr<Base> b = abra_base(type == 2 ? sin_extension_dbf(name) : name, type, kind);
  if (!b) return -1;
  b->related = true;
  b->relation = std::move(relation);
  return static_cast<int16_t>(agregue_relacionada(kind, std::move(b)));
}
