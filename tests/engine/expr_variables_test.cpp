// The variable table: names, storing into external and bound variables,
// reading by type, release, and the fields of open attribute bases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "cartex32.h"
#include "expr/base_fields.h"
#include "expr/variables.h"
#include "frame/memory.h"
#include "support/recording_sink.h"

namespace {

using cx::testing::RecordingSink;

class Variables : public ::testing::Test {
 protected:
  void SetUp() override {
    cx::limpie_variables();
    cx::olvide_bases();
    init_base_variables();
  }
  void TearDown() override {
    cx::limpie_variables();
    cx::olvide_bases();
  }
  RecordingSink sink;
};

cx_var_value read(int16_t n) {
  cx_var_value v;
  std::memset(&v, 0x5a, sizeof v);
  get_var_value(n, &v);
  return v;
}

TEST_F(Variables, ExternalNamesAreCutAndUpperCased) {
  const std::string name = "abcdefghijklmnopqrstuvwxyz012345678";  // 35 characters
  const int16_t n = ins_external_var(name.c_str(), 2);
  EXPECT_EQ(n, 6);
  EXPECT_STREQ(cx::variable(n)->name, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234567");
  EXPECT_EQ(ins_external_var(nullptr, 2), 0);
  set_num_var(n, 2.5);
  cx_valor_expr v{};
  ASSERT_EQ(evaluar("[abcdefghijklmnopqrstuvwxyz01234567]*2", &v), CX_EXPR_OK);
  EXPECT_EQ(static_cast<double>(v.number), 5);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(Variables, TheTableHoldsFiveHundredAndThenSaysSo) {
  for (int i = 6; i <= cx::kMaxVariables; ++i)
    ASSERT_EQ(ins_external_var(("v" + std::to_string(i)).c_str(), 2), i);
  EXPECT_EQ(ins_external_var("extra", 2), 0);
  EXPECT_EQ(sink.texts(), std::vector<std::string>{"ERROR EN TABLA DE VARS"});
}

TEST_F(Variables, AFailedBlockIsReportedAndInsertsNothing) {
  cx::set_allocator([](std::size_t) -> void* { return nullptr; });
  EXPECT_EQ(ins_external_var("x", 2), 0);
  cx::set_allocator(nullptr);
  ASSERT_EQ(sink.texts().size(), 2u);
  EXPECT_NE(sink.texts()[0].find("VARIABLE"), std::string::npos);
  EXPECT_EQ(sink.texts()[1], "ERROR EN MEMORIA - TABLA DE VARS");
  EXPECT_EQ(cx::variables().size(), 5u);
}

TEST_F(Variables, ExternalVariablesTakeAnyValueAndItsType) {
  const int16_t n = ins_external_var("x", 1);
  set_alfa_var(n, "12.5 m");
  cx_var_value v = read(n);
  EXPECT_EQ(v.kind, 1);
  EXPECT_STREQ(v.text, "12.5 m");
  EXPECT_EQ(static_cast<double>(v.number), 12.5);
  set_num_var(n, -7.25);
  v = read(n);
  EXPECT_EQ(v.kind, 0);
  EXPECT_EQ(static_cast<double>(v.number), -7.25);
  EXPECT_STREQ(v.text, "");
  set_alfa_var(n, std::string(120, 'z').c_str());
  EXPECT_EQ(std::strlen(read(n).text), 89u);
  EXPECT_EQ(clear_external_vars(), 0);
  EXPECT_STREQ(read(n).text, "");
  EXPECT_TRUE(sink.messages.empty());
}

// Bound storage of every type, read back through get_var_value.
TEST_F(Variables, BoundVariablesAreReadByTheirType) {
  unsigned char storage[8];
  const auto bind = [&](int type, const void* bytes, std::size_t size) {
    std::memset(storage, 0, sizeof storage);
    std::memcpy(storage, bytes, size);
    return static_cast<int16_t>(cx::registre_variable("campo", type, storage, size));
  };
  const int16_t i16 = -300;
  const int32_t i32 = 70000;
  const float f = 1.5f;
  const double d = 2.25;
  const unsigned char date[3] = {96, 3, 10};
  const struct {
    int type;
    const void* bytes;
    std::size_t size;
    double number;
    int16_t kind;
  } cases[] = {
      {1, &i16, 2, -300, 0},
      {6, &i16, 2, -300, 0},
      {12, &i32, 4, 70000, 0},
      {3, &f, 4, 1.5, 0},
      {2, &d, 8, 2.25, 0},
      {11, &d, 8, 2.25, 0},
      {7, "A", 1, 65, 0},
      {4, "42x", 3, 42, 1},
      {9, "7", 1, 7, 1},
      {5, date, 3, 96 * 360 + 2 * 30 + 9, 0},
      {13, date, 3, 96 * 365 + 59 + 9, 0},
      {2, &d, 4, 0, 0},  // storage too small for its type reads as 0
  };
  for (const auto& c : cases) {
    const int16_t n = bind(c.type, c.bytes, c.size);
    const cx_var_value v = read(n);
    EXPECT_EQ(v.kind, c.kind) << c.type;
    EXPECT_DOUBLE_EQ(static_cast<double>(v.number), c.number) << c.type;
  }
  EXPECT_STREQ(read(bind(4, "abc", 3)).text, "abc");  // no NUL in the storage
}

TEST_F(Variables, BoundVariablesRefuseWhatTheirStorageCannotHold) {
  int16_t field = 11;
  const int16_t n = static_cast<int16_t>(cx::registre_variable("ancho", 1, &field, sizeof field));
  char text[4] = "abc";
  const int16_t t = static_cast<int16_t>(cx::registre_variable("sigla", 4, text, sizeof text));
  set_num_var(n, 40000);    // beyond 16 bits
  set_num_var(n, NAN);      // no number at all
  set_alfa_var(n, "1");     // not a text variable
  set_num_var(1, 1e6);      // "hoy": a date of three bytes
  set_alfa_var(t, "abcd");  // 5 bytes into 4
  set_num_var(t, 1);        // a text takes no number
  set_num_var(99, 1);       // no such variable
  set_alfa_var(0, "x");
  EXPECT_EQ(sink.messages.size(), 8u);
  EXPECT_EQ(field, 11);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(static_cast<double>(read(1).number), 96 * 360);
  set_num_var(n, -12.9);
  set_alfa_var(t, "xyz");
  EXPECT_EQ(field, -12);
  EXPECT_STREQ(text, "xyz");
  EXPECT_EQ(cx::variable(t)->type, 4);
  EXPECT_EQ(sink.messages.size(), 8u);
}

TEST_F(Variables, FreeingTheHostsVariablesKeepsBoundOnesRegisteredLater) {
  const int16_t x = ins_external_var("x", 2);
  double storage = 4;
  const int16_t field = static_cast<int16_t>(cx::registre_variable("area_b", 2, &storage, 8));
  const int16_t y = ins_external_var("y", 2);
  EXPECT_EQ(field, x + 1);
  free_external_vars();
  EXPECT_EQ(cx::variable(x), nullptr);
  EXPECT_EQ(cx::variable(y), nullptr);
  EXPECT_EQ(cx::variables().size(), static_cast<std::size_t>(field));
  cx_valor_expr v{};
  ASSERT_EQ(evaluar("area_b+1", &v), CX_EXPR_OK);
  EXPECT_EQ(static_cast<double>(v.number), 5);
  EXPECT_EQ(ins_external_var("z", 2), x);  // the freed number is given again
  EXPECT_EQ(ins_external_var("w", 2), field + 1);
  EXPECT_EQ(init_base_variables(), -1);  // again: the same five numbers
  EXPECT_EQ(cx::busque_variable("codigo", 6), 5);
}

TEST_F(Variables, FieldsOfAnOpenBaseAreListedWithTheirValues) {
  unsigned char values[4][cx::kValueBlockSize] = {};
  const int16_t code = 321;
  std::memcpy(values[0], &code, 2);
  std::memcpy(values[1], "Centro   ", 9);
  const unsigned char date[3] = {97, 12, 5};
  std::memcpy(values[2], date, 3);
  values[3][0] = 'N';
  cx::BaseFormulas base;
  base.label_fields = true;
  const auto add = [&](int16_t type, int16_t length, const char* var, const char* caption,
                       const unsigned char* value) {
    cx::CampoFormula f;
    f.type = type;
    f.length = f.width = length;
    std::strcpy(f.variable, var);
    std::strcpy(f.caption, caption);
    f.value = value;
    base.fields.push_back(f);
  };
  add(1, 2, "COD", "codigo del barrio", values[0]);
  add(0, 4, "", "hueco", nullptr);
  add(4, 6, "NOM", "nombre", values[1]);
  add(5, 3, "FECHA", "fecha", values[2]);
  add(7, 1, "ZONA", "zona", values[3]);
  cx::registre_base(2, base);

  EXPECT_EQ(get_nvars(2), 4);
  EXPECT_EQ(get_nvars(3), 0);
  EXPECT_EQ(hay_graf(2), -1);
  EXPECT_EQ(hay_graf(3), 0);
  const struct {
    int16_t ordinal, type;
    const char* name;
    int16_t kind;
    double number;
    const char* text;
  } cases[] = {
      {1, 1, "COD", 0, 321, ""},
      {2, 4, "NOM", 1, 0, "Centro"},
      {3, 5, "FECHA", 1, 5, " 5/12/97"},
      {4, 7, "ZONA", 1, 0, "N"},
  };
  for (const auto& c : cases) {
    cx_varname name;
    cx_var_value value;
    EXPECT_EQ(get_varname(2, c.ordinal, &name), c.ordinal);
    EXPECT_EQ(name.type, c.type);
    EXPECT_STREQ(name.name, c.name);
    EXPECT_EQ(get_value(2, c.ordinal, &value), c.ordinal);
    EXPECT_EQ(value.kind, c.kind) << c.name;
    EXPECT_EQ(static_cast<double>(value.number), c.number) << c.name;
    EXPECT_STREQ(value.text, c.text) << c.name;
  }
  cx_varname name;
  std::memset(&name, 0x5a, sizeof name);
  EXPECT_EQ(get_varname(2, 9, &name), 4);
  EXPECT_EQ(name.type, 0);
  EXPECT_STREQ(name.caption, "");
  EXPECT_EQ(get_varname(7, 1, &name), 0);
  cx::olvide_base(2);
  EXPECT_EQ(get_nvars(2), 0);
}

}  // namespace
