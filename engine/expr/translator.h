// The formula translator: formula text to pseudo-code, a string of operator
// and bracket characters and four-character operand codes ("K1  " numeric
// constant, "A1  " text constant, "F2  " function, "V7  " variable, "R3  "
// result register). Constants go to process-wide tables that every
// translation starts afresh, so pseudo-code stays valid until the next one.
#pragma once

#include <cstdint>
#include <string>

namespace cx {

enum : int16_t {
  kFormulaOk = 0,
  kFaltaOperando = 1,       // unknown or missing operand
  kCaracterInesperado = 2,  // unexpected character after an operand
  kParentesisAbierto = 3,   // a bracket still open at the end
  kParentesisDeMas = 4,     // a closing bracket too many
  kArgumentos = 5,          // wrong number of arguments
  kFormulaExtensa = 6,      // too long or too deeply nested to translate
};

inline constexpr int kMaxConstantes = 999;     // of each kind: "%-3d" holds three digits
inline constexpr int kMaxTextoConstante = 59;  // characters between the quotes
inline constexpr int kMaxParentesis = 30;      // brackets open at once
inline constexpr int kMaxPila = 40;            // entries of the evaluation stack
inline constexpr int kMaxRegistros = 30;

struct Funcion {
  const char* name;
  int args;
};
inline constexpr int kFunciones = 17;
extern const Funcion kTablaFunciones[kFunciones];
enum : int { kFuncIf = 0, kFuncMin = 15, kFuncMax = 16 };

// Translates formula into pseudo; returns the error code, which is also kept
// as the last one. On failure pseudo is empty.
int16_t traduzca(const char* formula, std::string& pseudo);
int16_t ultimo_error();

// The constant tables of the last translation (1-based); an unknown number
// reads as 0 or the empty text.
double constante(int n);
const char* constante_texto(int n);
int constantes();
int constantes_texto();
// Changes whenever the tables do, so that compiled pseudo-code can be cached.
unsigned generacion_constantes();
void limpie_constantes();

}  // namespace cx
