// cartex's own file pieces: the Windows-1252 codec both ways, and the
// dBase table of an attribute base written and read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../support/temp_dir.h"
#include "dbf.h"
#include "text_codec.h"

namespace {

TEST(CartexFiles, EveryWindows1252ByteComesBackThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cartex::utf8_to_1252(cartex::cp1252_to_utf8(all)), all);
  const struct {
    const char* utf8;
    const char* cp1252;
  } cases[] = {
      {"C\xc3\xb4te d'Ivoire", "C\xf4te d'Ivoire"},  // Latin-1 letters
      {"\xe2\x82\xac 5", "\x80 5"},                  // the euro sign, of 0x80..0x9F
      {"\xe6\x97\xa5", "?"},                         // not in Windows-1252
      {"a\xff"
       "b",
       "a?b"},                    // not UTF-8
      {"\xc3", "?"},              // cut short
      {"\xf0\x9f\x97\xba", "?"},  // four bytes
  };
  for (const auto& c : cases) EXPECT_EQ(cartex::utf8_to_1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(CartexFiles, DbaseTablesKeepTextsNumbersLogicalsAndNulls) {
  trawlix::testing::TempDir dir;
  const std::string path = dir.path() + "/t.dbf";
  const std::vector<cartex::Field> fields{
      {"CX_CODE", 'C', 11, 0}, {"name", 'C', 12, 0}, {"pop_est", 'N', 12, 2}, {"ok", 'L', 1, 0}};
  const std::vector<std::vector<cartex::Value>> rows{
      {{false, "1"}, {false, "  indented"}, {false, "-12.25"}, {false, "T"}},
      {{false, "2"}, {false, ""}, {true, ""}, {true, ""}},
      {{false, "3"}, {false, "twelve chars"}, {false, "123456789.01"}, {false, "F"}}};
  ASSERT_TRUE(cartex::write_dbf(path, fields, rows));
  std::vector<cartex::Field> read_fields;
  std::vector<std::vector<cartex::Value>> read_rows;
  ASSERT_TRUE(cartex::read_dbf(path, &read_fields, &read_rows));
  ASSERT_EQ(read_fields.size(), fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(read_fields[i].name, fields[i].name);
    EXPECT_EQ(read_fields[i].type, fields[i].type);
    EXPECT_EQ(read_fields[i].length, fields[i].length);
    EXPECT_EQ(read_fields[i].decimals, fields[i].decimals);
  }
  ASSERT_EQ(read_rows.size(), rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < fields.size(); ++c) {
      EXPECT_EQ(read_rows[r][c].null, rows[r][c].null) << r << "," << c;
      if (!rows[r][c].null) {
        EXPECT_EQ(read_rows[r][c].text, rows[r][c].text) << r << "," << c;
      }
    }
  // A record marked deleted is not read; a table cut short is refused.
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(32 + 32 * 4 + 1);
  f.put('*');
  f.close();
  ASSERT_TRUE(cartex::read_dbf(path, &read_fields, &read_rows));
  ASSERT_EQ(read_rows.size(), 2u);
  EXPECT_EQ(read_rows[0][0].text, "2");
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 20);
  EXPECT_FALSE(cartex::read_dbf(path, &read_fields, &read_rows));
  EXPECT_FALSE(cartex::read_dbf(dir.path() + "/missing.dbf", &read_fields, &read_rows));
}

}  // namespace
