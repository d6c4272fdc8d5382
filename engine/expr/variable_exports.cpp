// The exports of the variable table.
#include <cstring>

#include "cartex32.h"
#include "expr/variables.h"

CX_EXPORT(int16_t) ins_external_var(const char* name, int16_t type) {
  return static_cast<int16_t>(cx::inserte_externa(name, type));
}

CX_EXPORT(void) set_num_var(int16_t number, double value) {
  cx::guarde_numero(number, value);
}

CX_EXPORT(void) set_alfa_var(int16_t number, const char* text) {
  cx::guarde_texto(number, text);
}

CX_EXPORT(void) get_var_value(int16_t number, cx_var_value* out) {
  if (!out) return;
  cx::Lectura read;
  cx::lea_variable(number, read);
  std::memset(out, 0, sizeof *out);
  out->kind = read.text ? 1 : 0;
  out->number = read.number;
  std::memcpy(out->text, read.chars, sizeof out->text);
}

CX_EXPORT(int16_t) clear_external_vars(void) {
  cx::limpie_externas();
  return 0;
}

CX_EXPORT(void) free_external_vars(void) {
  cx::libere_externas();
}

CX_EXPORT(int16_t) init_base_variables(void) {
  cx::registre_variables_base();
  return -1;
}
