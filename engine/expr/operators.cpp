// What each operator and function of a formula computes.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "expr/evaluator.h"
#include "expr/translator.h"

namespace cx {

namespace {

bool truth(const Valor& v) {
  return v.kind == 1 ? v.text[0] != 0 : v.n != 0;
}

void number(Valor& v, double x) {
  v.n = x;
  v.kind = 0;
  v.text[0] = 0;
}

void text(Valor& v, const char* s, std::size_t length) {
  if (length > kTextSize - 1) length = kTextSize - 1;
  std::memmove(v.text, s, length);
  v.text[length] = 0;
  v.kind = 1;
  v.n = std::atof(v.text);
}

int compare(const Valor& a, const Valor& b) {
  if (a.kind == 1 && b.kind == 1) return std::strcmp(a.text, b.text);  // as unsigned bytes
  return a.n < b.n ? -1 : (a.n > b.n ? 1 : 0);
}

// ':' : a text cut to a length, a text from a position, or a number rounded
// to a number of decimals (the text keeps its written form).
void cut(Valor& a, const Valor& b) {
  if (a.kind == 1) {
    const double want = b.n < 0 ? 0 : (b.n > 58 ? 58 : b.n);
    const std::size_t length = std::strlen(a.text);
    const auto keep = static_cast<std::size_t>(want);
    text(a, a.text, keep < length ? keep : length);
  } else if (b.kind == 1) {
    const std::size_t length = std::strlen(b.text);
    const double from = a.n < 0 ? 0 : a.n;
    const std::size_t start = from >= length ? length : static_cast<std::size_t>(from);
    text(a, b.text + start, length - start);
  } else {
    const double want = b.n < 0 ? 0 : (b.n > 4 ? 4 : b.n);
    const int decimals = static_cast<int>(want);
    char written[400];
    std::snprintf(written, sizeof written, "%20.4lf", a.n);
    char* point = std::strchr(written, '.');
    if (point) point[decimals ? decimals + 1 : 0] = 0;
    const char* s = written;
    while (*s == ' ') ++s;
    text(a, s, std::strlen(s));
    a.kind = 0;
  }
}

}  // namespace

void aplique(Op op, Valor& a, const Valor& b) {
  switch (op) {
    case Op::Add:
      number(a, a.n + b.n);
      break;
    case Op::Sub:
      number(a, a.n - b.n);
      break;
    case Op::Mul:
      number(a, a.n * b.n);
      break;
    case Op::Div:
      number(a, b.n == 0 ? 0 : a.n / b.n);
      break;
    case Op::Percent:
      number(a, a.n * b.n * 0.01);
      break;
    case Op::Power:
      number(a, std::pow(a.n, b.n));
      break;
    case Op::Equal:
      number(a, compare(a, b) == 0);
      break;
    case Op::NotEqual:
      number(a, compare(a, b) != 0);
      break;
    case Op::AtMost:
      number(a, compare(a, b) <= 0);
      break;
    case Op::AtLeast:
      number(a, compare(a, b) >= 0);
      break;
    case Op::And:
      number(a, truth(a) && truth(b));
      break;
    case Op::Or:
      number(a, truth(a) || truth(b));
      break;
    case Op::AndNot:
      number(a, truth(a) && !truth(b));
      break;
    case Op::Cut:
      cut(a, b);
      break;
    default:
      break;  // Keep
  }
}

void llame(int function, Valor* args, Valor& out) {
  const double x = args[0].n;
  double r = 0;
  switch (function) {
    case kFuncIf: {
      const Valor& chosen = args[truth(args[0]) ? 1 : 2];
      if (&out != &chosen) out = chosen;
      return;
    }
    case 1:
      r = x == 0;
      break;
    case 2:
      r = std::sin(x);
      break;
    case 3:
      r = std::cos(x);
      break;
    case 4:
      r = std::tan(x);
      break;
    case 5:
      r = std::atan(x);
      break;
    case 6:
      r = std::fabs(x);
      break;
    case 7:
      r = -x;
      break;
    case 8:
      r = x - std::trunc(x);
      break;
    case 9:
      r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
      break;
    case 10:
      r = std::trunc(x);
      break;
    case 11:
      r = std::sqrt(x);
      break;
    case 12:
      r = x * x;
      break;
    case 13:
    case 14:
      r = std::log(x);
      break;
    case kFuncMin:
      r = args[1].n < x ? args[1].n : x;
      break;
    case kFuncMax:
      r = args[1].n > x ? args[1].n : x;
      break;
    default:
      break;
  }
  number(out, r);
}

}  // namespace cx
