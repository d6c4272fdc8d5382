// Formulas translated and evaluated: the meaning of each operator and
// function, the translation errors, and a comparison with a small reference
// evaluator over random arithmetic formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "cartex32.h"
#include "expr/evaluator.h"
#include "expr/variables.h"
#include "support/recording_sink.h"

namespace {

struct Result {
  int16_t error;
  cx_valor_expr value;
};

Result eval(const std::string& formula) {
  Result r{};
  std::memset(&r.value, 0x5a, sizeof r.value);
  r.error = evaluar(formula.c_str(), &r.value);
  return r;
}

class Formulas : public ::testing::Test {
 protected:
  void SetUp() override {
    cx::limpie_variables();
    cx::registre_variables_base();
    cx::fije_longitud_vector(0);
    a_ = ins_external_var("a", 2);
    name_ = ins_external_var("nombre", 4);
    set_num_var(a_, 3);
    set_alfa_var(name_, "Rio");
  }
  void TearDown() override { cx::limpie_variables(); }
  int16_t a_ = 0, name_ = 0;
};

TEST_F(Formulas, NumbersFollowThePrecedenceClassesAndTheFunctions) {
  const struct {
    const char* formula;
    double value;
  } cases[] = {
      {"2+3*4", 14},
      {"(2+3)*4", 20},
      {"10-4-3", 3},
      {"8/4/2", 1},
      {"7/0", 0},
      {"-5", -5},
      {"3*-2", -6},
      {"2^3", 8},
      {"2^3^2", 512},
      {"2*3^2", 18},
      {"1+2=3", 1},
      {"(1+2)=3", 1},
      {"3<3", 1},
      {"4>5", 0},
      {"2#2", 0},
      {"50%8", 4},
      {"1&0", 0},
      {"0!2", 1},
      {"0|0", 0},
      {"1~0", 1},
      {"1~1", 0},
      {"2@3*4", 8},
      {"if(1,2,3)", 2},
      {"if(0,2,3)", 3},
      {"if('x',2,3)", 2},
      {"if('',2,3)", 3},
      {"min(4,2)", 2},
      {"max(2,2)", 2},
      {"round(-2.5)", -3},
      {"round(2.5)", 3},
      {"frac(-2.75)", -0.75},
      {"int(-2.7)", -2},
      {"not(0)", 1},
      {"not(7)", 0},
      {"abs(-4)", 4},
      {"neg(4)", -4},
      {"sqr(3)", 9},
      {"sqrt(16)", 4},
      {"ln(1)", 0},
      {"log(1)", 0},
      {"A*2", 6},
      {"[a]+1", 4},
      {"'10'+5", 15},
      {"'abc'='abc'", 1},
      {"'abc'<'abd'", 1},
      {"'b'>'a'", 1},
      {"[nombre]='Rio'", 1},
      {"hoy", 96 * 360},
      {"sin(0)+cos(0)", 1},
      {"3.14159:2", 3.14},
      {"2.5:0", 2},
      {"R1", 0},
      {"  1 +  ( 2 ) \r\n", 3},
      {"2^0.5*2^0.5", 2},
  };
  for (const auto& c : cases) {
    const Result r = eval(c.formula);
    ASSERT_EQ(r.error, CX_EXPR_OK) << c.formula;
    EXPECT_EQ(r.value.kind, 0) << c.formula;
    EXPECT_NEAR(r.value.number, c.value, 1e-9) << c.formula;
  }
  EXPECT_NEAR(eval("ln(2.718281828459)").value.number, 1, 1e-12);
  EXPECT_EQ(eval("ln(2.718281828459045)").error, CX_EXPR_CHARACTER);  // 17 characters
  EXPECT_STREQ(eval("3.14159:2").value.text, "3.14");
  EXPECT_STREQ(eval("3.14159:2+1").value.text, "");  // the sum has no written form
  EXPECT_STREQ(eval("if(1, 3.14159:2, 0)").value.text, "3.14");
}

TEST_F(Formulas, TheColonCutsTakesFromAndRounds) {
  const struct {
    const char* formula;
    int16_t kind;
    const char* text;
  } cases[] = {
      {"'hello':2", 1, "he"},    {"'hello':0", 1, ""},       {"'hello':99", 1, "hello"},
      {"1:'hello'", 1, "ello"},  {"9:'hello'", 1, ""},       {"-3:'hello'", 1, "hello"},
      {"2.71828:3", 0, "2.718"}, {"2.71828:9", 0, "2.7183"}, {"-1.5:0", 0, "-1"},
      {"[nombre]:1", 1, "R"},
  };
  for (const auto& c : cases) {
    const Result r = eval(c.formula);
    ASSERT_EQ(r.error, CX_EXPR_OK) << c.formula;
    EXPECT_EQ(r.value.kind, c.kind) << c.formula;
    EXPECT_STREQ(r.value.text, c.text) << c.formula;
  }
}

TEST_F(Formulas, ABadFormulaNamesItsFaultAndLeavesTheRecordAlone) {
  const struct {
    std::string formula;
    int16_t error;
  } cases[] = {
      {"sin(", CX_EXPR_OPEN},
      {"sin(1))", CX_EXPR_CLOSE},
      {"min(1)", CX_EXPR_ARGUMENTS},
      {"if(1,2)", CX_EXPR_ARGUMENTS},
      {"(1,2)", CX_EXPR_ARGUMENTS},
      {"1,2", CX_EXPR_ARGUMENTS},
      {"2 3", CX_EXPR_CHARACTER},
      {"2a", CX_EXPR_CHARACTER},
      {"zz", CX_EXPR_OPERAND},
      {"", CX_EXPR_OPERAND},
      {"1+", CX_EXPR_OPERAND},
      {"-a", CX_EXPR_OPERAND},
      {"sin 1", CX_EXPR_OPERAND},
      {"'open", CX_EXPR_OPERAND},
      {"[a", CX_EXPR_OPERAND},
      {"R31", CX_EXPR_OPERAND},
      {"R0", CX_EXPR_OPERAND},
      {"SIN(1)", CX_EXPR_OPERAND},
      {"'" + std::string(60, 'x') + "'", CX_EXPR_OPERAND},
      {std::string(31, '(') + "1" + std::string(31, ')'), CX_EXPR_TOO_LONG},
      {std::string(30, '(') + "1" + std::string(30, ')'), CX_EXPR_OK},
  };
  for (const auto& c : cases) {
    const Result r = eval(c.formula);
    EXPECT_EQ(r.error, c.error) << c.formula;
    if (c.error != CX_EXPR_OK) {
      EXPECT_EQ(reinterpret_cast<const unsigned char*>(&r.value)[0], 0x5a) << c.formula;
      EXPECT_EQ(inspector(c.formula.c_str()), nullptr) << c.formula;
    }
  }
  EXPECT_EQ(evaluar(nullptr, nullptr), CX_EXPR_OPERAND);
}

TEST_F(Formulas, LimitsOfTheTablesAndTheStackAreTranslationErrors) {
  std::string many = "1";
  for (int i = 0; i < 999; ++i) many += "+1";  // 1000 constants
  EXPECT_EQ(eval(many).error, CX_EXPR_TOO_LONG);
  many.resize(many.size() - 2);
  const Result fine = eval(many);
  EXPECT_EQ(fine.error, CX_EXPR_OK);
  EXPECT_EQ(fine.value.number, 999);

  std::string deep = "1";  // right-associated powers keep every operand pending
  for (int i = 0; i < 25; ++i) deep += "^1";
  EXPECT_EQ(eval(deep).error, CX_EXPR_TOO_LONG);
}

TEST_F(Formulas, ParseWritesThePseudoCodeOnlyWhenItFits) {
  char buffer[600];
  std::memset(buffer, '#', sizeof buffer);
  std::strcpy(buffer, "A*2+1");
  ASSERT_EQ(parse(buffer), CX_EXPR_OK);
  EXPECT_STREQ(buffer + 256, inspector("A*2+1"));
  cx_valor_expr v{};
  parse(buffer);
  evalue_sum(buffer + 256, &v);
  EXPECT_EQ(v.number, 7);

  // 255 characters of formula, 128 constants: 639 characters of pseudo-code.
  std::memset(buffer, '#', sizeof buffer);
  std::string wide = "1";
  while (wide.size() < 255) wide += "+1";
  std::memcpy(buffer, wide.c_str(), wide.size());  // no NUL: parse cuts at 255
  EXPECT_EQ(parse(buffer), CX_EXPR_TOO_LONG);
  for (std::size_t i = 256; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << i;
  EXPECT_EQ(parse(nullptr), CX_EXPR_OPERAND);
}

TEST_F(Formulas, PseudoCodeIsEvaluatedAgainForNewValuesAndMalformedCodeGivesZero) {
  EXPECT_EQ(inspector("if(A>B, A*2, sqrt(B)+C)"), nullptr);  // B and C are not variables yet
  const int16_t b = ins_external_var("b", 2), c = ins_external_var("c", 2);
  const char* code = inspector("if(A>B, A*2, sqrt(B)+C)");
  ASSERT_NE(code, nullptr);
  const std::string kept = code;
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    const double x = random() % 100, y = random() % 100, z = random() % 100;
    set_num_var(a_, x);
    set_num_var(b, y);
    set_num_var(c, z);
    cx_valor_expr v{};
    evalue_sum(kept.c_str(), &v);
    ASSERT_DOUBLE_EQ(v.number, x >= y ? x * 2 : std::sqrt(y) + z) << x << " " << y;
  }
  for (const char* bad : {"K1  +", "(K1  ", "K9  K1  ", "F1  K1  ", "V", "K1  ,K1  ", ")"}) {
    cx_valor_expr v{};
    v.number = 5;
    evalue_sum(bad, &v);
    EXPECT_EQ(v.number, 0) << bad;
  }
}

TEST_F(Formulas, VectorModeWorksElementByElement) {
  cx::fije_longitud_vector(3);
  cx::vector_registro(1) = {1, 2, 3};
  const Result r = eval("R1*2+A");
  ASSERT_EQ(r.error, CX_EXPR_OK);
  EXPECT_EQ(r.value.vector, 1);
  EXPECT_EQ(cx::vector_resultado(), (std::vector<int32_t>{5, 7, 9}));
  EXPECT_EQ(r.value.number, 5);
  int32_t counts[3] = {10, 20, 30};
  ASSERT_GT(cx::registre_variable("conteo", 15, counts, sizeof counts), 0);
  EXPECT_EQ(eval("conteo/10+R1").value.vector, 1);
  EXPECT_EQ(cx::vector_resultado(), (std::vector<int32_t>{2, 4, 6}));
  EXPECT_EQ(eval("max(R1, 2)").value.vector, 1);
  EXPECT_EQ(cx::vector_resultado(), (std::vector<int32_t>{2, 2, 3}));
  cx::fije_longitud_vector(0);
  EXPECT_EQ(eval("A*2").value.vector, 0);
}

// A reference evaluator for + - * / and brackets over integer constants,
// written independently of the engine: recursive descent, left association,
// division by zero giving 0.
class Reference {
 public:
  explicit Reference(const std::string& s) : s_(s) {}
  double value() { return sum(); }

 private:
  double sum() {
    double v = product();
    while (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) {
      const char op = s_[pos_++];
      const double r = product();
      v = op == '+' ? v + r : v - r;
    }
    return v;
  }
  double product() {
    double v = factor();
    while (pos_ < s_.size() && (s_[pos_] == '*' || s_[pos_] == '/')) {
      const char op = s_[pos_++];
      const double r = factor();
      v = op == '*' ? v * r : (r == 0 ? 0 : v / r);
    }
    return v;
  }
  double factor() {
    if (s_[pos_] == '(') {
      ++pos_;
      const double v = sum();
      ++pos_;
      return v;
    }
    std::size_t used;
    const double v = std::stod(s_.substr(pos_), &used);
    pos_ += used;
    return v;
  }
  const std::string& s_;
  std::size_t pos_ = 0;
};

std::string random_formula(std::mt19937& random, int depth) {
  std::string out;
  const int terms = 1 + random() % 4;
  for (int i = 0; i < terms; ++i) {
    if (i) out += "+-*/"[random() % 4];
    if (depth > 0 && random() % 3 == 0)
      out += "(" + random_formula(random, depth - 1) + ")";
    else
      out += std::to_string(static_cast<int>(random() % 19) - 9);
  }
  return out;
}

TEST_F(Formulas, AgreesWithAReferenceEvaluatorOnRandomArithmetic) {
  std::mt19937 random(2024);
  for (int i = 0; i < 3000; ++i) {
    const std::string formula = random_formula(random, 3);
    const Result r = eval(formula);
    ASSERT_EQ(r.error, CX_EXPR_OK) << formula;
    const double expected = Reference(formula).value();
    ASSERT_NEAR(r.value.number, expected, 1e-9 * (1 + std::fabs(expected))) << formula;
  }
}

}  // namespace
