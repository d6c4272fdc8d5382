// The stroke font and icon files: written from their sources as they are
// kept in data/cartex32, found by ginicie, and bad sources refused.
#include "tools/vector_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cartex32.h"
#include "graphics/vector_tables.h"
#include "support/temp_base.h"

namespace cx {
namespace {

using testing::TempBase;

std::vector<uint8_t> written(bool font, const std::string& source, std::string& error) {
  std::istringstream in(source);
  std::vector<uint8_t> out;
  const bool ok = font ? tools::escriba_fuente_vectorial(in, out, error)
                       : tools::escriba_iconos(in, out, error);
  EXPECT_EQ(ok, error.empty());
  return out;
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(VectorData, TheKeptFilesAreWhatTheirSourcesWrite) {
  const std::string dir = CARTEX32_DATA_SOURCE;
  for (const bool font : {true, false}) {
    std::string error;
    const std::vector<uint8_t> out =
        written(font, file_text(dir + (font ? "/stroke_font.txt" : "/icons.txt")), error);
    EXPECT_EQ(error, "");
    const std::vector<unsigned char> kept =
        TempBase::bytes(dir + (font ? "/tabtvec.dat" : "/tabico.dat"));
    EXPECT_TRUE(out == kept)
        << (font ? "tabtvec.dat" : "tabico.dat")
        << " is out of date: cmake --build build --target cartex32_vector_data";
  }
}

TEST(VectorData, GinicieFindsTheFontAndFallsBackToTheDataFolderForIcons) {
  TempBase base;  // a base without tabico.dat
  const int32_t device = crear_dispositivo(50, 50);
  gabrest(0, 0, 50, 50, device);
  setenv("CARTEX32_DATA_DIR", CARTEX32_DATA_SOURCE, 1);
  ginicie(0);
  unsetenv("CARTEX32_DATA_DIR");
  const TablasVectoriales& t = tablas_vectoriales();
  ASSERT_EQ(t.icons.size(), 12u);
  EXPECT_STREQ(t.icons[3].name, "Pozo");
  EXPECT_TRUE(t.icons[5].a.filled);
  EXPECT_EQ(t.font[' '].count, 0);
  for (int c = '!'; c <= '~'; ++c) EXPECT_GE(t.font[c].count, 2) << char(c);
  gfinalice(0);
  liberar_dispositivo(device);
}

TEST(VectorData, BadSourcesAreRefusedWithTheirLine) {
  struct Case {
    bool font;
    const char* source;
    const char* error;
  };
  const Case cases[] = {
      {true, "; ok\n'A' 0,0 1,1\n'A' 0,0\n", "line 3: 'A' given twice"},
      {true, "'B' 0,0 1;1\n", "line 1: a point is not x,y"},
      {true,
       "'B' 0,0 1,1 1,2 1,3 1,4 1,5 1,6 1,7 1,8 1,9 2,0 2,1 2,2 2,3 2,4 2,5 2,6 2,7 2,8 2,9 3,0\n",
       "line 1: more than 20 points"},
      {true, "'C' 0,1000\n", "line 1: a point is out of range"},
      {false, "a 0,0 1,1\n", "line 1: expected \"icon NAME\" first"},
      {false, "icon X\na 0,0\na 1,1\n", "line 3: outline a given twice"},
      {false, "icon X\nb filled 0,0 nan,1\n", "line 2: a point is not x,y"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_TRUE(written(c.font, c.source, error).empty()) << c.source;
    EXPECT_EQ(error, c.error) << c.source;
  }
}

}  // namespace
}  // namespace cx
