// The variable table formulas read: up to 500 named variables, numbered from
// 1 in order of insertion. External variables belong to the host, which
// creates and sets them; bound variables show storage of the library (the
// session's built-in values and the fields of the open attribute bases).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cx {

inline constexpr int kMaxVariables = 500;
inline constexpr int kVariableNameSize = 35;  // 34 characters and the NUL
inline constexpr int kValueBlockSize = 90;    // an external variable's block
inline constexpr int kTextSize = 90;          // texts of values: 89 and the NUL

// Value types, shared with the attribute fields.
enum : int16_t {
  kTipoFecha360 = 5,   // year, month, day bytes; year x 360 + (month - 1) x 30 + day - 1
  kTipoCaracter = 7,   // one character
  kTipoFecha365 = 13,  // year, month, day bytes; year x 365 + days before the month + day - 1
  kTipoVector = 15,    // 32-bit integers, as many as the vector length
};
// Texts: 4, 9, 10, and the label placements of 14 and above.
inline bool tipo_texto(int type) {
  return type == 4 || type == 9 || type == 10 || (type >= 14 && type != kTipoVector);
}
inline bool tipo_entero(int type) {  // 16-bit
  return type == 1 || type == 6 || type == 8;
}
inline bool tipo_doble(int type) {
  return type == 2 || type == 11;
}

struct Variable {
  char name[kVariableNameSize] = {};
  int16_t type = 0;
  int16_t external = 0;
  unsigned char* value = nullptr;  // external: the table's block; bound: library storage
  std::size_t size = 0;            // bytes at value
  bool used = false;               // false: a slot freed by free_external_vars
};

// A variable's value as formulas see it.
struct Lectura {
  bool text = false;
  double number = 0;
  char chars[kTextSize] = {};
};

// Every slot from number 1 (index 0) up to the count.
const std::vector<Variable>& variables();
// Variable n (1-based) when it is in use, else null.
const Variable* variable(int n);

// Frees the external blocks and forgets every variable.
void limpie_variables();

// Appends a bound variable showing `size` bytes at `storage`, or, when a
// variable of that name exists, binds it again (the attribute bases register
// the same field names at every opening). Returns its number; 0 when the
// table is full (after the table's message) or the name is empty.
int registre_variable(const char* name, int type, void* storage, std::size_t size);

// Frees bound variable n (its storage is going away); external ones stay.
void desligue_variable(int n);

// Appends an external variable; the name is cut at 34 characters and
// upper-cased. 0 on failure, after a message.
int inserte_externa(const char* name, int type);

// Store a number or a text in variable n. False, after a message, when n is
// not a variable or the value does not fit it (see cartex32.h).
bool guarde_numero(int n, double value);
bool guarde_texto(int n, const char* text);

// Variable n read by its type; an unknown n reads as the number 0.
void lea_variable(int n, Lectura& out);
// The same for storage of a given type (attribute fields use it too).
void lea_valor(int type, const unsigned char* storage, std::size_t size, Lectura& out);
// Elements of a type-15 variable, or null; *count gets their number.
const int32_t* vector_de_variable(int n, std::size_t* count);

void limpie_externas();  // zeroes every external block
void libere_externas();  // frees every external variable

// Numbers the translator compares names against: the first variable named
// exactly `name`, 0 when none.
int busque_variable(const char* name, std::size_t length);

// The session's built-in values the bound variables "hoy", "secuencial",
// "area", "long" and "codigo" show.
struct ValoresBase {
  unsigned char hoy[3] = {96, 1, 1};
  double secuencial = 0;
  double area = 0;
  double longitud = 0;
  char codigo[kTextSize] = {};
};
ValoresBase& valores_base();

// Registers the five built-in variables.
void registre_variables_base();

}  // namespace cx
