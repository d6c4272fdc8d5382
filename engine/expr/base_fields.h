// What formula editors see of the open attribute bases: each base's fields
// in definition order, with their current values. The attribute bases
// register a base here when they open it and forget it when they close it;
// the field values stay theirs.
#pragma once

#include <cstdint>
#include <vector>

#include "expr/variables.h"

namespace cx {

struct CampoFormula {
  int16_t type = 0;
  int16_t length = 0;  // bytes of the value
  int16_t width = 0;
  char variable[kVariableNameSize] = {};  // the name formulas use; empty: not offered
  char caption[kVariableNameSize] = {};   // the field's name in the definition
  const unsigned char* value = nullptr;   // kValueBlockSize bytes, owned by the base
};

struct BaseFormulas {
  bool label_fields = false;  // fields of type 14 or more: label placements
  std::vector<CampoFormula> fields;
};

void registre_base(int number, BaseFormulas base);
void olvide_base(int number);
void olvide_bases();
// The open base `number`, or null.
const BaseFormulas* base_formulas(int number);

}  // namespace cx
