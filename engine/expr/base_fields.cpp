// The fields of the open attribute bases, listed to the host's formula
// editor: hay_graf, get_nvars, get_varname and get_value.
#include "expr/base_fields.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "cartex32.h"

namespace cx {

namespace {

std::map<int, BaseFormulas>& bases() {
  static std::map<int, BaseFormulas> open;
  return open;
}

// Field `ordinal` among those with a non-zero type; *reached gets how far
// the count went.
const CampoFormula* field(int base, int ordinal, int16_t* reached) {
  *reached = 0;
  const BaseFormulas* b = base_formulas(base);
  if (!b || ordinal < 1) return nullptr;
  for (const CampoFormula& f : b->fields) {
    if (!f.type) continue;
    ++*reached;
    if (*reached == ordinal) return &f;
  }
  return nullptr;
}

}  // namespace

void registre_base(int number, BaseFormulas base) {
  bases()[number] = std::move(base);
}

void olvide_base(int number) {
  bases().erase(number);
}

void olvide_bases() {
  bases().clear();
}

const BaseFormulas* base_formulas(int number) {
  auto it = bases().find(number);
  return it == bases().end() ? nullptr : &it->second;
}

}  // namespace cx

CX_EXPORT(int16_t) hay_graf(int16_t base) {
  const cx::BaseFormulas* b = cx::base_formulas(base);
  return b && b->label_fields ? -1 : 0;
}

CX_EXPORT(int16_t) get_nvars(int16_t base) {
  const cx::BaseFormulas* b = cx::base_formulas(base);
  int16_t count = 0;
  if (b)
    for (const cx::CampoFormula& f : b->fields) count += f.type != 0;
  return count;
}

CX_EXPORT(int16_t) get_varname(int16_t base, int16_t ordinal, cx_varname* out) {
  int16_t reached;
  const cx::CampoFormula* f = cx::field(base, ordinal, &reached);
  if (!out) return reached;
  std::memset(out, 0, sizeof *out);
  if (!f) return reached;
  out->type = f->type;
  std::memcpy(out->name, f->variable, sizeof out->name);
  std::memcpy(out->caption, f->caption, sizeof out->caption);
  out->name[sizeof out->name - 1] = 0;
  out->caption[sizeof out->caption - 1] = 0;
  out->width = f->width;
  return reached;
}

CX_EXPORT(int16_t) get_value(int16_t base, int16_t ordinal, cx_var_value* out) {
  using namespace cx;
  int16_t reached;
  const CampoFormula* f = field(base, ordinal, &reached);
  if (!out) return reached;
  std::memset(out, 0, sizeof *out);
  if (!f || !f->value) return reached;
  const int type = f->type;
  if (type == kTipoFecha360 || type == kTipoFecha365) {
    std::snprintf(out->text, sizeof out->text, "%2d/%2d/%2d", f->value[2], f->value[1],
                  f->value[0]);
    out->kind = 1;
  } else if (type == kTipoCaracter) {
    out->text[0] = static_cast<char>(f->value[0]);
    out->kind = 1;
  } else {
    const std::size_t size = tipo_texto(type) && f->length > 0 && f->length < kValueBlockSize
                                 ? f->length
                                 : kValueBlockSize;
    Lectura read;
    lea_valor(type, f->value, size, read);
    out->kind = read.text ? 1 : 0;
    std::memcpy(out->text, read.chars, sizeof out->text);
    out->number = read.number;
    return reached;
  }
  out->number = std::atof(out->text);
  return reached;
}
