// Pseudo-code compiled once into a postfix program, so that evaluating a
// formula again only runs the program over the current variable values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cx {

enum class Op : uint8_t {
  Number,    // push a numeric constant
  Text,      // push a text constant
  Variable,  // push a variable's value
  Register,  // push a result register
  Add,
  Sub,
  Mul,
  Div,
  Percent,
  Power,
  Equal,
  NotEqual,
  AtMost,
  AtLeast,
  And,
  Or,
  AndNot,
  Cut,   // ':'
  Keep,  // '@': keeps the left operand
  Call,  // a function of the table with its arguments on the stack
};

struct Instr {
  Op op;
  uint8_t function = 0;
  int16_t index = 0;  // constant, variable, register or text number
  double number = 0;
};

struct Programa {
  std::vector<Instr> code;
  std::vector<std::string> texts;  // the text constants, by Instr::index
  int depth = 0;                   // values on the stack at most
  int entries = 0;                 // values, operators and brackets pending at most
};

// Compiles pseudo-code with the constants of the last translation. False
// when the pseudo-code is malformed (it may come from a host).
bool compile(const char* pseudo, Programa& out);

}  // namespace cx
