// Formula benchmark: evaluates four formulas over a million settings of the
// variables A, B and C through the engine's exports (set_num_var and
// evalue_sum on pseudo-code translated once) and prints evaluations per
// second. Built with muparser, the same formulas are timed there too (with
// the engine's meanings: > is "at least", log the natural logarithm) and the
// ratio is printed.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "cartex32.h"

#ifdef HAVE_MUPARSER
#include <muParser.h>
#endif

namespace {

struct Formula {
  const char* engine;
  const char* muparser;
};

const Formula kFormulas[] = {
    {"A*2+B", "a*2+b"},
    {"(A+B)*(A-B)/(C+1)", "(a+b)*(a-b)/(c+1)"},
    {"if(A>B, A*2, sqrt(B)+C)", "a>=b ? a*2 : sqrt(b)+c"},
    {"sin(A)*cos(B)+log(C+1)", "sin(a)*cos(b)+ln(c+1)"},
};

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const long settings = argc > 1 ? std::atol(argv[1]) : 1000000;
  std::mt19937 random(1);
  std::uniform_real_distribution<double> value(0, 100);
  std::vector<double> a(settings), b(settings), c(settings);
  for (long i = 0; i < settings; ++i) {
    a[i] = value(random);
    b[i] = value(random);
    c[i] = value(random);
  }
  const int16_t va = ins_external_var("a", 2), vb = ins_external_var("b", 2),
                vc = ins_external_var("c", 2);
  if (!va || !vb || !vc) return 1;

  std::printf("%-28s %14s", "formula", "engine eval/s");
#ifdef HAVE_MUPARSER
  std::printf(" %14s %8s", "muparser eval/s", "ratio");
#endif
  std::printf("\n");
  for (const Formula& f : kFormulas) {
    const char* translated = inspector(f.engine);
    if (!translated) {
      std::fprintf(stderr, "does not translate: %s\n", f.engine);
      return 1;
    }
    const std::string pseudo = translated;
    double sum = 0;
    cx_valor_expr result;
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < settings; ++i) {
      set_num_var(va, a[i]);
      set_num_var(vb, b[i]);
      set_num_var(vc, c[i]);
      evalue_sum(pseudo.c_str(), &result);
      sum += result.number;
    }
    const double engine_rate = settings / seconds_since(start);
    std::printf("%-28s %14.0f", f.engine, engine_rate);
#ifdef HAVE_MUPARSER
    double x, y, z, check = 0;
    mu::Parser parser;
    parser.DefineVar("a", &x);
    parser.DefineVar("b", &y);
    parser.DefineVar("c", &z);
    parser.SetExpr(f.muparser);
    start = std::chrono::steady_clock::now();
    for (long i = 0; i < settings; ++i) {
      x = a[i];
      y = b[i];
      z = c[i];
      check += parser.Eval();
    }
    const double mu_rate = settings / seconds_since(start);
    std::printf(" %14.0f %8.2f", mu_rate, engine_rate / mu_rate);
    if (std::fabs(check - sum) > 1e-6 * (1 + std::fabs(sum)))
      std::printf("  (sums differ: %.6g %.6g)", sum, check);
#else
    std::printf("  (sum %.6g)", sum);
#endif
    std::printf("\n");
  }
  free_external_vars();
  return 0;
}
