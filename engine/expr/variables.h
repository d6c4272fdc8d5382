// The named variables formulas read: the built-in values of a session and
// those the attribute bases register. Here the register itself; evaluating
// formulas over it builds on this.
#pragma once

#include <string>
#include <vector>

namespace cx {

struct Variable {
  std::string name;
  int type;  // 2 numeric, 4 code text, 5 date
};

// Forgets every variable.
void limpie_variables();
// Registers a variable; a name already registered keeps its first entry.
void registre_variable(const char* name, int type);
const std::vector<Variable>& variables();

// The built-in variables of a session: "hoy" (date), "secuencial", "area"
// and "long" (numeric) and "codigo" (code).
void registre_variables_base();

}  // namespace cx
