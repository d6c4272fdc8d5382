// Running a compiled formula over the current variable values. A value is a
// number or a text; texts keep their atof value beside them so that numeric
// operators never convert twice.
#pragma once

#include <cstdint>
#include <vector>

#include "cartex32.h"
#include "expr/program.h"
#include "expr/variables.h"

namespace cx {

struct Valor {
  double n = 0;
  int16_t kind = 0;  // 0 number, 1 text
  char text[kTextSize] = {};
};

// Evaluates program into out (the whole record is written).
void evalue(const Programa& program, cx_valor_expr& out);

// Result registers R1..R30, read by formulas and filled by their users.
Valor& registro(int n);

// Vector mode: with a length above 0, numeric constants are vectors of that
// many 32-bit integers, registers and type-15 variables are vectors, and
// numeric operators and functions work element by element. 0 turns it off.
void fije_longitud_vector(int length);
int longitud_vector();
std::vector<int32_t>& vector_registro(int n);
// The elements of the last vector result; out.vector is 1 when there is one.
const std::vector<int32_t>& vector_resultado();

// Operators and functions on single values, shared by both modes.
void aplique(Op op, Valor& left, const Valor& right);
void llame(int function, Valor* args, Valor& out);

}  // namespace cx
