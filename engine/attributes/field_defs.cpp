// Reading and writing field definition files, and offering the fields to
// formulas.
#include "attributes/field_defs.h"

#include <algorithm>
#include <cstring>

#include "expr/variables.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "records/codec.h"
#include "records/record_file.h"

namespace cx::atr {

namespace {

constexpr int kAtNombre = 10;
constexpr int kAtVariable = 45;

void copy_name(char* out, const unsigned char* in) {
  std::memcpy(out, in, kNombreCampo);
  out[kNombreCampo] = 0;
  int n = static_cast<int>(std::strlen(out));
  while (n > 0 && out[n - 1] == ' ') out[--n] = 0;
}

bool fail(const std::string& path, Campos& out) {
  out.clear();
  informe_error("ERROR cargando definicion: %s\n", path.c_str());
  return false;
}

}  // namespace

void LibereCampo::operator()(Campo* c) const {
  if (c) c->~Campo();
  std::free(c);
}

CampoPtr nuevo_campo() {
  void* block = pida_memoria(sizeof(Campo), "CAMPO");
  return CampoPtr(block ? new (block) Campo : nullptr);
}

bool cargue_definicion(const std::string& path, Campos& out) {
  out.clear();
  ArchivoAbierto file(abra_compartido(path.c_str()));
  if (!file.abierto()) return fail(path, out);
  unsigned char record[kRegistroDef];
  if (lea_registro(file.get(), record, 0, kRegistroDef) != 0) return fail(path, out);
  const int32_t count = get_le32(record);
  if (count < 0 || count > ultimo_registro(file.get(), kRegistroDef)) return fail(path, out);
  for (int32_t r = 1; r <= count; ++r) {
    if (lea_registro(file.get(), record, r, kRegistroDef) != 0) return fail(path, out);
    CampoPtr c = nuevo_campo();
    if (!c) return fail(path, out);
    c->type = get_le16(record);
    c->offset = get_le16(record + 2);
    c->length = get_le16(record + 4);
    c->width = get_le16(record + 6);
    c->decimals = get_le16(record + 8);
    copy_name(c->name, record + kAtNombre);
    copy_name(c->variable, record + kAtVariable);
    if (c->offset < 0 || c->length < 0 || c->length > kLargoCampo) return fail(path, out);
    out.push_back(std::move(c));
  }
  return true;
}

bool grabe_definicion(const std::string& path, const Campos& fields) {
  int16_t created = -1;
  if (crear_archivo(&created, path.c_str(), kRegistroDef) != 0) return false;
  ArchivoAbierto file(abra_compartido(path.c_str()));
  if (!file.abierto()) return false;
  unsigned char record[kRegistroDef] = {};
  put_le32(record, static_cast<int32_t>(fields.size()));
  if (escriba_registro(file.get(), record, 0, kRegistroDef) != 0) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Campo& c = *fields[i];
    std::memset(record, 0, sizeof record);
    put_le16(record, c.type);
    put_le16(record + 2, c.offset);
    put_le16(record + 4, c.length);
    put_le16(record + 6, c.width);
    put_le16(record + 8, c.decimals);
    std::memcpy(record + kAtNombre, c.name, std::strlen(c.name));
    std::memcpy(record + kAtVariable, c.variable, std::strlen(c.variable));
    if (escriba_registro(file.get(), record, int64_t(i) + 1, kRegistroDef) != 0) return false;
  }
  return true;
}

int largo_registro(const Campos& fields) {
  int length = 0;
  for (const CampoPtr& c : fields) length = std::max(length, c->offset + c->length);
  return length;
}

void registre_campos(Campos& fields) {
  for (CampoPtr& c : fields) {
    if (!c->variable[0]) continue;
    const std::size_t size = c->length > 0 ? c->length : kLargoCampo;
    c->variable_number = registre_variable(c->variable, c->type, c->value, size);
  }
}

void desligue_campos(Campos& fields) {
  for (CampoPtr& c : fields) {
    const Variable* v = variable(c->variable_number);
    // Another base may have bound the same name since; leave it to that one.
    if (v && v->value == c->value) desligue_variable(c->variable_number);
    c->variable_number = 0;
  }
}

void copie_valores(Campos& fields, const unsigned char* record, int size) {
  for (CampoPtr& c : fields) {
    std::memset(c->value, 0, sizeof c->value);
    const int from = c->offset;
    const int n = std::clamp(size - from, 0, static_cast<int>(c->length));
    if (record && n > 0) std::memcpy(c->value, record + from, n);
  }
}

}  // namespace cx::atr
