// The exports that translate and evaluate formulas, and the two formula
// texts of the current thematic query.
#include <cstring>
#include <string>

#include "cartex32.h"
#include "expr/evaluator.h"
#include "expr/program.h"
#include "expr/translator.h"

namespace cx {
namespace {

constexpr std::size_t kParseText = 256;  // the formula's part of parse's buffer

std::string& last_pseudo() {
  static std::string pseudo;
  return pseudo;
}

// The program of the pseudo-code evaluated last, compiled once: hosts
// evaluate one formula over many records.
const Programa* compiled(const char* pseudo) {
  static std::string text;
  static unsigned generation = ~0u;
  static Programa program;
  static bool ok = false;
  if (generation != generacion_constantes() || text != pseudo) {
    text = pseudo;
    generation = generacion_constantes();
    ok = compile(pseudo, program);
  }
  return ok ? &program : nullptr;
}

std::string formulas[2];

void keep(std::string& out, const char* text) {
  out.assign(text ? text : "");
  if (out.size() > kParseText - 1) out.resize(kParseText - 1);
}

void give(const std::string& text, cx_formula_text* out) {
  if (!out) return;
  std::memset(out, 0, sizeof *out);
  std::memcpy(out->text, text.data(), text.size());
}

}  // namespace
}  // namespace cx

CX_EXPORT(const char*) inspector(const char* formula) {
  std::string& pseudo = cx::last_pseudo();
  return cx::traduzca(formula, pseudo) == cx::kFormulaOk ? pseudo.c_str() : nullptr;
}

CX_EXPORT(int16_t) parse(char* buffer) {
  using namespace cx;
  if (!buffer) return kFaltaOperando;
  const std::string formula(buffer, strnlen(buffer, kParseText - 1));
  std::string& pseudo = last_pseudo();
  const int16_t e = traduzca(formula.c_str(), pseudo);
  if (e != kFormulaOk) return e;
  if (pseudo.size() + 1 > kParseText) return kFormulaExtensa;
  std::memcpy(buffer + kParseText, pseudo.c_str(), pseudo.size() + 1);
  return kFormulaOk;
}

CX_EXPORT(void) evalue_sum(const char* pseudo, cx_valor_expr* out) {
  if (!out) return;
  static const cx::Programa nothing;
  const cx::Programa* program = pseudo ? cx::compiled(pseudo) : nullptr;
  cx::evalue(program ? *program : nothing, *out);
}

CX_EXPORT(int16_t) evaluar(const char* formula, cx_valor_expr* out) {
  std::string& pseudo = cx::last_pseudo();
  const int16_t e = cx::traduzca(formula, pseudo);
  if (e == cx::kFormulaOk && out) evalue_sum(pseudo.c_str(), out);
  return e;
}

CX_EXPORT(int16_t) set_formulas(const char* text1, const char* text2) {
  cx::keep(cx::formulas[0], text1);
  cx::keep(cx::formulas[1], text2);
  return 0;
}

CX_EXPORT(void) get_formulas(cx_formula_text* out1, cx_formula_text* out2) {
  cx::give(cx::formulas[0], out1);
  cx::give(cx::formulas[1], out2);
}
