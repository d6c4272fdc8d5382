// The variable table: insertion, storing, reading by type and release.
#include "expr/variables.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "frame/memory.h"
#include "frame/messages.h"

namespace cx {

namespace {

std::vector<Variable>& table() {
  static std::vector<Variable> t;
  return t;
}

Variable* slot(int n) {
  auto& t = table();
  if (n < 1 || n > static_cast<int>(t.size()) || !t[n - 1].used) return nullptr;
  return &t[n - 1];
}

void trim_unused_tail() {
  auto& t = table();
  while (!t.empty() && !t.back().used) t.pop_back();
}

// A free slot (a hole left by free_external_vars, or a new one at the end);
// 0 when the table is full, after its message.
int take_slot() {
  auto& t = table();
  for (std::size_t i = 0; i < t.size(); ++i)
    if (!t[i].used) return static_cast<int>(i) + 1;
  if (t.size() >= static_cast<std::size_t>(kMaxVariables)) {
    avise_error("ERROR EN TABLA DE VARS");
    return 0;
  }
  t.emplace_back();
  return static_cast<int>(t.size());
}

void copy_name(char* out, const char* name, bool upper) {
  std::size_t i = 0;
  for (; name[i] && i < kVariableNameSize - 1; ++i)
    out[i] = upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(name[i]))) : name[i];
  out[i] = 0;
}

const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

double date_number(int type, const unsigned char* ymd) {
  const int month = ymd[1] < 1 ? 1 : (ymd[1] > 12 ? 12 : ymd[1]);
  if (type == kTipoFecha360) return ymd[0] * 360.0 + (ymd[1] - 1) * 30.0 + ymd[2] - 1;
  return ymd[0] * 365.0 + kDaysBefore[month - 1] + ymd[2] - 1;
}

template <typename T>
T load(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

bool refuse(const Variable& v, const char* why) {
  informe_error("VARIABLE %s: %s", v.name, why);
  return false;
}

}  // namespace

const std::vector<Variable>& variables() {
  return table();
}

const Variable* variable(int n) {
  return slot(n);
}

void limpie_variables() {
  for (Variable& v : table())
    if (v.used && v.external) std::free(v.value);
  table().clear();
}

int registre_variable(const char* name, int type, void* storage, std::size_t size) {
  if (!name || !*name) return 0;
  auto& t = table();
  int n = 0;
  for (std::size_t i = 0; i < t.size() && !n; ++i)
    if (t[i].used && !t[i].external && std::strncmp(t[i].name, name, kVariableNameSize - 1) == 0)
      n = static_cast<int>(i) + 1;
  if (!n) n = take_slot();
  if (!n) return 0;
  Variable& v = t[n - 1];
  copy_name(v.name, name, false);
  v.type = static_cast<int16_t>(type);
  v.external = 0;
  v.value = static_cast<unsigned char*>(storage);
  v.size = storage ? size : 0;
  v.used = true;
  return n;
}

void desligue_variable(int n) {
  Variable* v = slot(n);
  if (!v || v->external) return;
  *v = Variable{};
  trim_unused_tail();
}

int inserte_externa(const char* name, int type) {
  if (!name) return 0;
  const int n = take_slot();
  if (!n) return 0;
  auto* block = static_cast<unsigned char*>(pida_memoria(kValueBlockSize, "VARIABLE"));
  if (!block) {
    avise_error("ERROR EN MEMORIA - TABLA DE VARS");
    trim_unused_tail();
    return 0;
  }
  Variable& v = table()[n - 1];
  copy_name(v.name, name, true);
  v.type = static_cast<int16_t>(type);
  v.external = 1;
  v.value = block;
  v.size = kValueBlockSize;
  v.used = true;
  return n;
}

bool guarde_numero(int n, double value) {
  Variable* v = slot(n);
  if (!v) {
    informe_error("VARIABLE %d NO EXISTE", n);
    return false;
  }
  if (v->external) {
    std::memcpy(v->value, &value, sizeof value);
    v->type = 2;
    return true;
  }
  // A bound variable keeps the type of the library's storage.
  const int type = v->type;
  auto fits = [&](std::size_t bytes) { return v->value && v->size >= bytes; };
  auto in_range = [&](double lo, double hi) {
    return std::isfinite(value) && value >= lo && value <= hi;
  };
  if (tipo_doble(type)) {
    if (!fits(sizeof(double))) return refuse(*v, "NO CABE EL VALOR");
    std::memcpy(v->value, &value, sizeof value);
  } else if (tipo_entero(type)) {
    if (!fits(2)) return refuse(*v, "NO CABE EL VALOR");
    if (!in_range(-32768, 32767)) return refuse(*v, "VALOR FUERA DE RANGO");
    const auto x = static_cast<int16_t>(value);
    std::memcpy(v->value, &x, sizeof x);
  } else if (type == 12) {
    if (!fits(4)) return refuse(*v, "NO CABE EL VALOR");
    if (!in_range(-2147483648.0, 2147483647.0)) return refuse(*v, "VALOR FUERA DE RANGO");
    const auto x = static_cast<int32_t>(value);
    std::memcpy(v->value, &x, sizeof x);
  } else if (type == 3) {
    if (!fits(4)) return refuse(*v, "NO CABE EL VALOR");
    if (!in_range(-FLT_MAX, FLT_MAX)) return refuse(*v, "VALOR FUERA DE RANGO");
    const auto x = static_cast<float>(value);
    std::memcpy(v->value, &x, sizeof x);
  } else if (type == kTipoCaracter) {
    if (!fits(1)) return refuse(*v, "NO CABE EL VALOR");
    if (!in_range(0, 255)) return refuse(*v, "VALOR FUERA DE RANGO");
    v->value[0] = static_cast<unsigned char>(value);
  } else {
    return refuse(*v, "NO ADMITE UN NUMERO");
  }
  return true;
}

bool guarde_texto(int n, const char* text) {
  Variable* v = slot(n);
  if (!v) {
    informe_error("VARIABLE %d NO EXISTE", n);
    return false;
  }
  if (!text) text = "";
  std::size_t length = std::strlen(text);
  if (length > kTextSize - 1) length = kTextSize - 1;
  if (!v->external) {
    if (!tipo_texto(v->type)) return refuse(*v, "NO ADMITE UN TEXTO");
    if (!v->value || v->size < length + 1) return refuse(*v, "NO CABE EL VALOR");
  }
  std::memmove(v->value, text, length);
  v->value[length] = 0;
  if (v->external) v->type = 4;
  return true;
}

void lea_valor(int type, const unsigned char* p, std::size_t size, Lectura& out) {
  out.text = false;
  out.number = 0;
  out.chars[0] = 0;
  if (!p) return;
  if (tipo_doble(type)) {
    if (size >= 8) out.number = load<double>(p);
  } else if (tipo_entero(type)) {
    if (size >= 2) out.number = load<int16_t>(p);
  } else if (type == 12) {
    if (size >= 4) out.number = load<int32_t>(p);
  } else if (type == 3) {
    if (size >= 4) out.number = load<float>(p);
  } else if (type == kTipoCaracter) {
    if (size >= 1) out.number = p[0];
  } else if (type == kTipoFecha360 || type == kTipoFecha365) {
    if (size >= 3) out.number = date_number(type, p);
  } else if (tipo_texto(type)) {
    std::size_t i = 0;
    for (; i < size && i < kTextSize - 1 && p[i]; ++i) out.chars[i] = static_cast<char>(p[i]);
    out.chars[i] = 0;
    out.text = true;
    out.number = std::atof(out.chars);
  }
}

void lea_variable(int n, Lectura& out) {
  const Variable* v = slot(n);
  if (!v) {
    out.text = false;
    out.number = 0;
    out.chars[0] = 0;
    return;
  }
  lea_valor(v->type, v->value, v->size, out);
}

const int32_t* vector_de_variable(int n, std::size_t* count) {
  const Variable* v = slot(n);
  *count = 0;
  if (!v || v->type != kTipoVector || !v->value) return nullptr;
  *count = v->size / sizeof(int32_t);
  return reinterpret_cast<const int32_t*>(v->value);
}

void limpie_externas() {
  for (Variable& v : table())
    if (v.used && v.external) std::memset(v.value, 0, v.size);
}

void libere_externas() {
  for (Variable& v : table())
    if (v.used && v.external) {
      std::free(v.value);
      v = Variable{};
    }
  trim_unused_tail();
}

int busque_variable(const char* name, std::size_t length) {
  if (length >= kVariableNameSize) return 0;
  const auto& t = table();
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i].used && std::strncmp(t[i].name, name, length) == 0 && t[i].name[length] == 0)
      return static_cast<int>(i) + 1;
  return 0;
}

ValoresBase& valores_base() {
  static ValoresBase values;
  return values;
}

void registre_variables_base() {
  ValoresBase& b = valores_base();
  b = ValoresBase{};
  registre_variable("hoy", kTipoFecha360, b.hoy, sizeof b.hoy);
  registre_variable("secuencial", 2, &b.secuencial, sizeof b.secuencial);
  registre_variable("area", 2, &b.area, sizeof b.area);
  registre_variable("long", 2, &b.longitud, sizeof b.longitud);
  registre_variable("codigo", 4, b.codigo, sizeof b.codigo);
}

}  // namespace cx
