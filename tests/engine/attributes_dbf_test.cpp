// dBase attribute bases read through verify_dbase, index_dbf and lea_atribs,
// checked field by field against an independent reader: the Natural Earth
// countries table, and small made-up tables for the edge cases.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "attributes/attribute_bases.h"
#include "attributes/field_defs.h"
#include "cartex32.h"
#include "support/dbase_oracle.h"
#include "support/recording_sink.h"
#include "support/temp_base.h"

namespace cx::testing {
namespace {

// Generates the definition, indexes the table by `key` and opens it as the
// base of kind 1; returns the definition's fields.
atr::Campos open_dbf_base(const std::string& name, const std::string& key) {
  EXPECT_EQ(verify_dbase(name.c_str()), 0);
  atr::Campos fields;
  EXPECT_TRUE(atr::cargue_definicion(name + ".def", fields));
  cx_field_def def{};
  for (const atr::CampoPtr& f : fields)
    if (key == f->name) def.offset = f->offset, def.length = f->length;
  int32_t counter = 0;
  EXPECT_EQ(index_dbf(name.c_str(), &counter, &def), 0);
  session_with_bases({{name, 2}});
  abra_atrs();
  return fields;
}

// Every record found by its key, every field read back as the oracle reads
// it, through the formula editor's view of the base.
void expect_every_field(const DbfTable& table, int key_column) {
  std::map<std::string, int> uses;
  for (std::size_t r = 0; r < table.rows.size(); ++r)
    if (!table.deleted[r]) ++uses[trim(table.rows[r][key_column])];
  const int16_t kind = 1;
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const std::string key = trim(table.rows[r][key_column]);
    if (table.deleted[r] || uses[key] != 1 || key.empty()) continue;
    ASSERT_EQ(lea_atribs(0, &kind, key.c_str()), 1) << key;
    ASSERT_EQ(get_nvars(1), static_cast<int16_t>(table.columns.size() + 1));
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      cx_var_value v{};
      get_value(1, static_cast<int16_t>(c + 1), &v);
      // The read-out record holds 89 characters and the NUL.
      const std::string expected = table.rows[r][c].substr(0, sizeof v.text - 1);
      EXPECT_EQ(trim(v.text), trim(expected)) << key << " " << table.columns[c].name;
    }
  }
}

TEST(AttributeDbf, NaturalEarthCountriesReadAsAnIndependentReaderReadsThem) {
  if (!std::filesystem::exists(NATURALEARTH_DBF))
    GTEST_SKIP() << NATURALEARTH_DBF
                 << " is missing: scripts/fetch-naturalearth gets it with apt-get download "
                    "python3-geopandas (no network or no Debian archive here)";
  TempBase base;
  std::filesystem::copy_file(NATURALEARTH_DBF, "paises.dbf");
  DbfTable table;
  ASSERT_TRUE(read_dbf("paises.dbf", table));
  ASSERT_GT(table.rows.size(), 100u);
  int iso = -1;
  for (std::size_t c = 0; c < table.columns.size(); ++c)
    if (table.columns[c].name == "iso_a3") iso = static_cast<int>(c);
  ASSERT_GE(iso, 0);

  const atr::Campos fields = open_dbf_base("paises", "iso_a3");
  ASSERT_EQ(fields.size(), table.columns.size() + 1);
  int offset = 0;
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    EXPECT_EQ(fields[c]->name, table.columns[c].name);
    EXPECT_EQ(fields[c]->offset, offset);
    offset += table.columns[c].length;
  }
  // The record read is the record's data, to its last byte and no further.
  EXPECT_EQ(atr::largo_registro(fields), table.record_length - 1);
  expect_every_field(table, iso);
  cierre_atrs();
}

struct SmallTable {
  const char* what;
  std::vector<DbfColumn> columns;
  std::vector<std::vector<std::string>> rows;
  std::vector<bool> deleted;
  std::vector<std::string> absent;  // keys the index must not find
};

TEST(AttributeDbf, SmallTablesKeepEveryFieldInPlace) {
  const std::string long_text(100, 'x');
  const std::vector<SmallTable> cases = {
      {"one record, the last bytes of the file",
       {{"cod", 4}, {"nom", 6}},
       {{"A1", "uno"}},
       {},
       {"A2"}},
      {"a field above 90 bytes cut but the next in place",
       {{"cod", 3}, {"largo", 100}, {"fin", 5}},
       {{"K1", long_text, "fin1"}, {"K2", "corto", "fin2"}},
       {},
       {}},
      {"a deleted record is not indexed",
       {{"cod", 11}, {"val", 3}},
       {{"VIVO", "1"}, {"BORRADO", "2"}, {"OTRO", "3"}},
       {false, true, false},
       {"BORRADO"}},
  };
  for (const SmallTable& t : cases) {
    SCOPED_TRACE(t.what);
    TempBase base;
    write_dbf("tabla.dbf", t.columns, t.rows, t.deleted);
    RecordingSink sink;
    open_dbf_base("tabla", "cod");
    DbfTable table;
    ASSERT_TRUE(read_dbf("tabla.dbf", table));
    expect_every_field(table, 0);
    const int16_t kind = 1;
    // A value area holds a whole field of 90 bytes and a NUL after it.
    lea_atribs(0, &kind, trim(table.rows[0][0]).c_str());
    for (const atr::CampoPtr& f : atr::base_de_tipo(1)->fields) {
      if (f->length != atr::kLargoCampo) continue;
      EXPECT_EQ(strnlen(reinterpret_cast<const char*>(f->value), sizeof f->value),
                std::size_t(atr::kLargoCampo));
    }
    for (const std::string& key : t.absent) EXPECT_EQ(lea_atribs(0, &kind, key.c_str()), 0) << key;
    EXPECT_TRUE(sink.messages.empty()) << sink.texts().front();
    cierre_atrs();
  }
}

TEST(AttributeDbf, BadTablesAreRefusedWithTheirMessage) {
  TempBase base;
  RecordingSink sink;
  EXPECT_EQ(verify_dbase("falta"), -1);
  write_dbf("corta.dbf", {{"cod", 4}}, {{"A"}, {"B"}, {"C"}});
  // Claims more records than the file holds.
  std::vector<unsigned char> bytes = TempBase::bytes("corta.dbf");
  bytes[4] = 9;
  TempBase::write("corta.dbf", bytes);
  ASSERT_EQ(verify_dbase("corta.dbf"), 0);
  cx_field_def key{};
  key.length = 4;
  int32_t counter = 0;
  EXPECT_EQ(index_dbf("corta", &counter, &key), -1);
  EXPECT_EQ(counter, 3);
  key.offset = 2;  // past the record's 4 bytes of data
  EXPECT_EQ(index_dbf("corta", &counter, &key), -1);
  const std::vector<std::string> expected = {"Error generando Def.", "LEER: Error en DBF",
                                             "index_dbf: CAMPO FUERA DEL REGISTRO (2 + 4 de 4)"};
  EXPECT_EQ(sink.texts(), expected);
}

}  // namespace
}  // namespace cx::testing
