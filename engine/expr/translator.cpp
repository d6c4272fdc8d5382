// Translating a formula: one left-to-right scan with an operand-expected
// flag and a stack of open brackets.
#include "expr/translator.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "expr/program.h"
#include "expr/variables.h"

namespace cx {

const Funcion kTablaFunciones[kFunciones] = {
    {"if", 3},  {"not", 1}, {"sin", 1},  {"cos", 1},   {"tan", 1}, {"atan", 1},
    {"abs", 1}, {"neg", 1}, {"frac", 1}, {"round", 1}, {"int", 1}, {"sqrt", 1},
    {"sqr", 1}, {"log", 1}, {"ln", 1},   {"min", 2},   {"max", 2}};

namespace {

struct Tables {
  std::vector<double> numbers;
  std::vector<std::string> texts;
  unsigned generation = 0;
  int16_t last_error = kFormulaOk;
};

Tables& tables() {
  static Tables t;
  return t;
}

constexpr const char* kOperators = "+-*/%^!|~:@><=#&,";

bool is_operator(char c) {
  return c && std::strchr(kOperators, c);
}
// Line ends count as blanks: formulas come from text files too.
bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool ends_name(char c) {
  return !c || is_operator(c) || is_blank(c) || c == '(' || c == ')' || c == '\'' || c == '"';
}

void write_code(std::string& out, char letter, int n) {
  char code[8];
  std::snprintf(code, sizeof code, "%c%-3d", letter, n);
  out += code;
}

struct Bracket {
  int function;  // -1 for a plain bracket
  int commas;
};

class Translator {
 public:
  explicit Translator(const char* text) : p_(text) {}

  int16_t run(std::string& out) {
    bool operand = true;
    int function = -1;  // a function name waiting for its bracket
    while (*p_) {
      if (is_blank(*p_)) {
        ++p_;
        continue;
      }
      if (operand) {
        if (function >= 0 && *p_ != '(') return kFaltaOperando;
        if (*p_ == '(') {
          if (brackets_.size() >= static_cast<std::size_t>(kMaxParentesis)) return kFormulaExtensa;
          brackets_.push_back({function, 0});
          function = -1;
          out += *p_++;
          continue;
        }
        const int16_t e = operand_code(out, function);
        if (e != kFormulaOk) return e;
        operand = function >= 0;
        continue;
      }
      if (is_operator(*p_)) {
        if (*p_ == ',') {
          if (brackets_.empty()) return kArgumentos;
          ++brackets_.back().commas;
        }
        out += *p_++;
        operand = true;
      } else if (*p_ == ')') {
        if (brackets_.empty()) return kParentesisDeMas;
        const Bracket b = brackets_.back();
        brackets_.pop_back();
        const int wanted = b.function < 0 ? 0 : kTablaFunciones[b.function].args - 1;
        if (b.commas != wanted) return kArgumentos;
        out += *p_++;
      } else {
        return kCaracterInesperado;
      }
    }
    if (!brackets_.empty()) return kParentesisAbierto;
    if (operand) return kFaltaOperando;
    return kFormulaOk;
  }

 private:
  // One operand at p_: a number, a quoted text, a function name (sets
  // `function`), a variable or a register.
  int16_t operand_code(std::string& out, int& function) {
    Tables& t = tables();
    const char* start = p_;
    if (std::isdigit(static_cast<unsigned char>(*p_)) ||
        (*p_ == '-' && std::isdigit(static_cast<unsigned char>(p_[1])))) {
      const char* q = p_ + (*p_ == '-');
      bool point = false;
      while (q - start < 16 &&
             (std::isdigit(static_cast<unsigned char>(*q)) || (*q == '.' && !point))) {
        point = point || *q == '.';
        ++q;
      }
      if (t.numbers.size() >= static_cast<std::size_t>(kMaxConstantes)) return kFormulaExtensa;
      t.numbers.push_back(std::atof(std::string(start, q).c_str()));
      write_code(out, 'K', static_cast<int>(t.numbers.size()));
      p_ = q;
      return kFormulaOk;
    }
    if (*p_ == '\'' || *p_ == '"') {
      const char* close = std::strchr(p_ + 1, *p_);
      if (!close || close - p_ - 1 > kMaxTextoConstante) return kFaltaOperando;
      if (t.texts.size() >= static_cast<std::size_t>(kMaxConstantes)) return kFormulaExtensa;
      t.texts.emplace_back(p_ + 1, close);
      write_code(out, 'A', static_cast<int>(t.texts.size()));
      p_ = close + 1;
      return kFormulaOk;
    }
    if (*p_ == '[') {
      const char* close = std::strchr(p_ + 1, ']');
      if (!close) return kFaltaOperando;
      std::string name(p_ + 1, close);
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      const int n = busque_variable(name.c_str(), name.size());
      if (!n) return kFaltaOperando;
      write_code(out, 'V', n);
      p_ = close + 1;
      return kFormulaOk;
    }
    const char* end = p_;
    while (!ends_name(*end)) ++end;
    const std::size_t length = static_cast<std::size_t>(end - p_);
    if (!length) return kFaltaOperando;
    for (int f = 0; f < kFunciones; ++f)
      if (std::strlen(kTablaFunciones[f].name) == length &&
          std::strncmp(kTablaFunciones[f].name, p_, length) == 0) {
        write_code(out, 'F', f);
        function = f;
        p_ = end;
        return kFormulaOk;
      }
    if (const int n = busque_variable(p_, length)) {
      write_code(out, 'V', n);
      p_ = end;
      return kFormulaOk;
    }
    if (*p_ == 'R' && length >= 2 && length <= 5) {
      int n = 0;
      for (const char* q = p_ + 1; q < end; ++q) {
        if (!std::isdigit(static_cast<unsigned char>(*q))) return kFaltaOperando;
        n = n * 10 + (*q - '0');
      }
      if (n < 1 || n > kMaxRegistros) return kFaltaOperando;
      write_code(out, 'R', n);
      p_ = end;
      return kFormulaOk;
    }
    return kFaltaOperando;
  }

  const char* p_;
  std::vector<Bracket> brackets_;
};

}  // namespace

int16_t traduzca(const char* formula, std::string& pseudo) {
  limpie_constantes();
  pseudo.clear();
  int16_t e = kFaltaOperando;
  if (formula) e = Translator(formula).run(pseudo);
  if (e == kFormulaOk) {
    Programa program;
    if (!compile(pseudo.c_str(), program) || program.entries > kMaxPila) e = kFormulaExtensa;
  }
  if (e != kFormulaOk) pseudo.clear();
  tables().last_error = e;
  return e;
}

int16_t ultimo_error() {
  return tables().last_error;
}

double constante(int n) {
  const auto& v = tables().numbers;
  return n >= 1 && n <= static_cast<int>(v.size()) ? v[n - 1] : 0.0;
}

const char* constante_texto(int n) {
  const auto& v = tables().texts;
  return n >= 1 && n <= static_cast<int>(v.size()) ? v[n - 1].c_str() : "";
}

int constantes() {
  return static_cast<int>(tables().numbers.size());
}
int constantes_texto() {
  return static_cast<int>(tables().texts.size());
}

unsigned generacion_constantes() {
  return tables().generation;
}

void limpie_constantes() {
  Tables& t = tables();
  t.numbers.clear();
  t.texts.clear();
  ++t.generation;
}

}  // namespace cx
