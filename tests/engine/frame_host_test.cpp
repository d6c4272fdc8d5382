// The frame's exports as a host sees them: the library loaded and its
// exports bound by name (dlopen and dlsym, or LoadLibraryA and
// GetProcAddress in the Windows build).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/engine_library.h"

namespace {

using cx::testing::EngineLibrary;

class FrameHost : public ::testing::Test {
 protected:
  EngineLibrary lib;
  void SetUp() override { ASSERT_TRUE(lib.loaded()) << lib.load_error(); }
};

TEST_F(FrameHost, ByteOrderWritersPutTheMostSignificantByteFirst) {
  auto* pl = CX_BIND(lib, paselong);
  auto* pi = CX_BIND(lib, paseint);
  ASSERT_TRUE(pl && pi);
  uint8_t out[4];
  int32_t v = 0x01020304;
  pl(&v, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{1, 2, 3, 4}));
  v = -1;
  pl(&v, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  v = INT32_MIN;
  pl(&v, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0x80, 0, 0, 0}));

  uint8_t out2[3] = {9, 9, 9};
  int16_t s = 258;
  pi(&s, out2);
  EXPECT_EQ(std::vector<uint8_t>(out2, out2 + 3), (std::vector<uint8_t>{1, 2, 9}));
  s = -2;
  pi(&s, out2);
  EXPECT_EQ(std::vector<uint8_t>(out2, out2 + 2), (std::vector<uint8_t>{0xFF, 0xFE}));

  // Writing twice restores the value: the big-endian fields are read back
  // with the same writer.
  int32_t back = 0;
  v = 0x7A0B0C0D;
  pl(&v, out);
  pl(reinterpret_cast<int32_t*>(out), reinterpret_cast<uint8_t*>(&back));
  EXPECT_EQ(back, v);
}

TEST_F(FrameHost, WordSplitters) {
  auto* hi = CX_BIND(lib, hi_word);
  auto* lo = CX_BIND(lib, lo_word);
  ASSERT_TRUE(hi && lo);
  EXPECT_EQ(hi(-1), 65535);
  EXPECT_EQ(hi(0x12345678), 0x1234);
  EXPECT_EQ(hi(INT32_MIN), 0x8000);
  EXPECT_EQ(lo(65535), -1);
  EXPECT_EQ(lo(0x12345678), 0x5678);
  EXPECT_EQ(lo(0x00018000), -32768);
}

TEST_F(FrameHost, MuevaCopiesOverlappingRangesAndCountsUnsigned) {
  auto* mv = CX_BIND(lib, mueva);
  ASSERT_TRUE(mv);
  char buf[] = "abcdefgh";
  EXPECT_EQ(mv(buf, buf + 2, 5), -1);  // forward overlap
  EXPECT_STREQ(buf, "ababcdeh");
  std::strcpy(buf, "abcdefgh");
  EXPECT_EQ(mv(buf + 2, buf, 5), -1);  // backward overlap
  EXPECT_STREQ(buf, "cdefgfgh");
  EXPECT_EQ(mv(buf, buf + 1, 0), -1);
  EXPECT_STREQ(buf, "cdefgfgh");

  // -25536 as a 16-bit count is 40,000 bytes.
  std::vector<char> src(40000, 'q'), dst(40001, '\0');
  EXPECT_EQ(mv(src.data(), dst.data(), static_cast<int16_t>(-25536)), -1);
  EXPECT_EQ(dst[39999], 'q');
  EXPECT_EQ(dst[40000], '\0');
}

TEST_F(FrameHost, ActiveFlagAndHostWindow) {
  auto* on = CX_BIND(lib, activar_cartex);
  auto* off = CX_BIND(lib, desactivar_cartex);
  auto* is_on = CX_BIND(lib, cartex_activo);
  auto* hwnd = CX_BIND(lib, set_Hwnd);
  auto* stop = CX_BIND(lib, terminar);
  ASSERT_TRUE(on && off && is_on && hwnd && stop);
  EXPECT_EQ(is_on(0), 0);
  EXPECT_EQ(on(123), -1);
  EXPECT_EQ(is_on(0), -1);
  EXPECT_EQ(off(0), 0);
  EXPECT_EQ(is_on(0), 0);
  EXPECT_EQ(hwnd(0x1234), -1);
  stop(0);
}

class AddressTokens : public FrameHost {
 protected:
  // Splits text from position 1, advancing by each result, as a host does.
  std::vector<std::pair<std::string, int>> tokens(const char* text, bool init = true) {
    auto* init_adress = CX_BIND(lib, Init_Adress);
    auto* set_adress = CX_BIND(lib, Set_Adress);
    auto* get_token = CX_BIND(lib, Get_Dir_Token);
    std::vector<std::pair<std::string, int>> out;
    if (!init_adress || !set_adress || !get_token) return out;
    if (init) init_adress();
    set_adress(text);
    int16_t pos = 1;
    for (int guard = 0; guard < 300; ++guard) {
      char token[256];
      std::memset(token, '#', sizeof token);
      const int16_t n = get_token(pos, token);
      out.emplace_back(token, n);
      if (n == 0) break;
      pos = static_cast<int16_t>(pos + n);
    }
    return out;
  }
  using Tokens = std::vector<std::pair<std::string, int>>;
};

// Defined first so that it runs before any Init_Adress of this process: the classes start empty, so
// after the leading blanks the whole rest of the text is one token.
TEST_F(AddressTokens, BeforeInitTheRestIsOneToken) {
  EXPECT_EQ(tokens("  cl. 45 # 12", false), (Tokens{{"CL. 45 # 12", 13}, {"", 0}}));
}

TEST_F(AddressTokens, StreetAddressSplitsIntoWordsNumbersAndSeparators) {
  EXPECT_EQ(tokens("Cl. 45 # 12-34"),
            (Tokens{{"CL.", 3}, {"45", 3}, {"#", 2}, {"12", 3}, {"-", 1}, {"34", 2}, {"", 0}}));
  EXPECT_EQ(tokens("AV.NORTE"), (Tokens{{"AV.", 3}, {"NORTE", 5}, {"", 0}}));
  // Trailing blanks give one empty token that consumes them; a double quote
  // is a separator of its own.
  EXPECT_EQ(tokens("\"B\"  "), (Tokens{{"\"", 1}, {"B", 1}, {"\"", 1}, {"", 2}, {"", 0}}));
}

TEST_F(AddressTokens, LongTextsAreCutAndBadPositionsGiveNothing) {
  auto* set_adress = CX_BIND(lib, Set_Adress);
  auto* get_token = CX_BIND(lib, Get_Dir_Token);
  auto* init_adress = CX_BIND(lib, Init_Adress);
  ASSERT_TRUE(set_adress && get_token && init_adress);
  init_adress();
  const std::string word(400, 'k');
  set_adress(word.c_str());
  char token[256];
  EXPECT_EQ(get_token(1, token), 255);
  EXPECT_EQ(std::string(token), std::string(255, 'K'));
  for (int16_t pos : {0, -5, 256, 32767}) {
    std::strcpy(token, "old");
    EXPECT_EQ(get_token(pos, token), 0) << pos;
    EXPECT_STREQ(token, "") << pos;
  }
  EXPECT_EQ(get_token(1, nullptr), 0);
  set_adress(nullptr);
  EXPECT_EQ(get_token(1, token), 0);
}

}  // namespace
