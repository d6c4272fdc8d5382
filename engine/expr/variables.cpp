// The variable register.
#include "expr/variables.h"

namespace cx {

namespace {
std::vector<Variable>& table() {
  static std::vector<Variable> t;
  return t;
}
}  // namespace

void limpie_variables() {
  table().clear();
}

void registre_variable(const char* name, int type) {
  if (!name) return;
  for (const Variable& v : table())
    if (v.name == name) return;
  table().push_back({name, type});
}

const std::vector<Variable>& variables() {
  return table();
}

void registre_variables_base() {
  registre_variable("hoy", 5);
  registre_variable("secuencial", 2);
  registre_variable("area", 2);
  registre_variable("long", 2);
  registre_variable("codigo", 4);
}

}  // namespace cx
