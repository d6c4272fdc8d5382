// A host's formula editor and thematic loop through the formula exports,
// bound by name from the built library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/engine_library.h"

namespace {

using cx::testing::EngineLibrary;

TEST(ExprHost, TranslatesOnceEvaluatesPerRecordAndReleasesItsVariables) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  auto* init = CX_BIND(lib, init_base_variables);
  auto* insert = CX_BIND(lib, ins_external_var);
  auto* set_num = CX_BIND(lib, set_num_var);
  auto* set_text = CX_BIND(lib, set_alfa_var);
  auto* get = CX_BIND(lib, get_var_value);
  auto* clear = CX_BIND(lib, clear_external_vars);
  auto* release = CX_BIND(lib, free_external_vars);
  auto* translate = CX_BIND(lib, inspector);
  auto* parse_in_place = CX_BIND(lib, parse);
  auto* run = CX_BIND(lib, evalue_sum);
  auto* evaluate = CX_BIND(lib, evaluar);
  ASSERT_TRUE(init && insert && set_num && set_text && get && clear && release && translate &&
              parse_in_place && run && evaluate);

  EXPECT_EQ(init(), -1);
  const int16_t price = insert("precio", 2);
  const int16_t zone = insert("zona", 4);
  ASSERT_EQ(price, 6);
  ASSERT_EQ(zone, 7);
  EXPECT_STREQ(translate("-5"), "K1  ");
  EXPECT_STREQ(translate("3*-2"), "K1  *K2  ");
  const std::string pseudo = translate("if([zona]='N', PRECIO*2, PRECIO)");
  EXPECT_EQ(pseudo, "F0  (V7  =A1  ,V6  *K1  ,V6  )");
  const struct {
    const char* zone;
    double price, value;
  } records[] = {{"N", 10, 20}, {"S", 10, 10}, {"", 3.5, 3.5}, {"N", -1, -2}};
  for (const auto& r : records) {
    set_text(zone, r.zone);
    set_num(price, r.price);
    cx_valor_expr v{};
    run(pseudo.c_str(), &v);
    EXPECT_EQ(v.kind, 0);
    EXPECT_EQ(static_cast<double>(v.number), r.value) << r.zone << " " << r.price;
  }
  cx_var_value read{};
  get(zone, &read);
  EXPECT_EQ(read.kind, 1);
  EXPECT_STREQ(read.text, "N");
  EXPECT_EQ(clear(), 0);
  get(zone, &read);
  EXPECT_STREQ(read.text, "");

  char buffer[512] = "codigo:3";
  EXPECT_EQ(parse_in_place(buffer), CX_EXPR_OK);
  EXPECT_STREQ(buffer + 256, "V5  :K1  ");
  cx_valor_expr v{};
  EXPECT_EQ(evaluate("(2+3", &v), CX_EXPR_OPEN);
  EXPECT_EQ(evaluate("'abc':2", &v), CX_EXPR_OK);
  EXPECT_STREQ(v.text, "ab");

  release();
  EXPECT_EQ(translate("PRECIO"), nullptr);
  EXPECT_NE(translate("secuencial+1"), nullptr);
}

TEST(ExprHost, KeepsTheQueryFormulasAndListsNoFieldsWithoutAnOpenBase) {
  EngineLibrary lib;
  ASSERT_TRUE(lib.loaded());
  auto* set = CX_BIND(lib, set_formulas);
  auto* get = CX_BIND(lib, get_formulas);
  auto* graphics = CX_BIND(lib, hay_graf);
  auto* count = CX_BIND(lib, get_nvars);
  auto* name = CX_BIND(lib, get_varname);
  auto* value = CX_BIND(lib, get_value);
  ASSERT_TRUE(set && get && graphics && count && name && value);

  const std::string long_text(300, 'x');
  EXPECT_EQ(set("area/10000", long_text.c_str()), 0);
  cx_formula_text one, two;
  std::memset(&one, 0x5a, sizeof one);
  std::memset(&two, 0x5a, sizeof two);
  get(&one, &two);
  EXPECT_STREQ(one.text, "area/10000");
  EXPECT_EQ(one.zero, 0);
  EXPECT_EQ(std::string(two.text), long_text.substr(0, 255));
  EXPECT_EQ(two.zero, 0);

  EXPECT_EQ(graphics(1), 0);
  EXPECT_EQ(count(1), 0);
  cx_varname field;
  cx_var_value current;
  EXPECT_EQ(name(1, 1, &field), 0);
  EXPECT_EQ(value(1, 1, &current), 0);
  EXPECT_STREQ(field.name, "");
}

}  // namespace
