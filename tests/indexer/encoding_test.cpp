// Windows-1252 text: conversions, the fixed upper-case mapping, and pages
// in UTF-8 scanning like pages in Windows-1252.
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "support/scanned_tokens.h"
#include "text/page_decoding.h"
#include "text/scanner.h"

namespace trawlix {
namespace {

using testing::tokens_of;

TEST(Cp1252, RoundTripsEveryByteThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = cp1252_to_utf8(all);
  EXPECT_TRUE(is_valid_utf8(utf8));
  EXPECT_EQ(utf8_to_cp1252(utf8), all);
  EXPECT_EQ(cp1252_to_utf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(cp1252_to_utf8("\xE9"), "\xC3\xA9");
}

TEST(Cp1252, CharactersWithoutAFormAndMalformedInputAreReplaced) {
  EXPECT_EQ(utf8_to_cp1252("a\xE6\x97\xA5"
                           "b",
                           ' '),
            "a b");  // a CJK character
  EXPECT_EQ(utf8_to_cp1252("a\xC3"
                           "b"),
            "a?b");                             // cut-short sequence
  EXPECT_EQ(utf8_to_cp1252("\xC0\xAF"), "??");  // overlong slash
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));  // surrogate
}

TEST(Cp1252, UpperCaseIsTheFixedTable) {
  EXPECT_EQ(upper_cp1252("abz"), "ABZ");
  EXPECT_EQ(upper_cp1252("\xE9\xE0\xFE\xF1"), "\xC9\xC0\xDE\xD1");  // é à þ ñ
  EXPECT_EQ(upper_cp1252("\xF7"), "\xF7");                          // ÷ stays
  EXPECT_EQ(upper_cp1252("\xFF"), "\x9F");                          // ÿ -> Ÿ
  EXPECT_EQ(upper_cp1252("\x9A\x9C\x9E"), "\x8A\x8C\x8E");          // š œ ž
  EXPECT_EQ(upper_cp1252("\xDF\xB5"), "\xDF\xB5");                  // ß µ stay
}

TEST(PageDecoding, RecognisesUtf8Pages) {
  EXPECT_TRUE(page_is_utf8("\xEF\xBB\xBFplain"));
  EXPECT_TRUE(page_is_utf8("<meta charset=\"UTF-8\">caf\xC3\xA9"));
  EXPECT_TRUE(page_is_utf8("<meta http-equiv=Content-Type content='text/html; charset=utf-8'>"));
  EXPECT_TRUE(page_is_utf8("caf\xC3\xA9"));  // valid UTF-8, no declaration
  EXPECT_FALSE(page_is_utf8("caf\xE9"));     // not valid UTF-8
  EXPECT_FALSE(page_is_utf8("plain ascii"));
  // A declared single-byte charset wins over bytes that happen to be UTF-8.
  EXPECT_FALSE(page_is_utf8("<meta charset=iso-8859-1>\xC3\xA9"));
}

TEST(PageDecoding, AWordScansTheSameInEitherEncoding) {
  std::string latin =
      "<p>\xC9"
      "cole cr\xE8me Stra\xDF"
      "e</p>";
  std::string utf8 =
      "<meta charset=utf-8><p>\xC3\x89"
      "cole cr\xC3\xA8me Stra\xC3\x9F"
      "e</p>";
  std::vector<std::string> a = tokens_of(latin);
  std::vector<std::string> b = tokens_of(utf8);
  b.erase(b.begin(), b.begin() + 6);  // <META CHARSET = UTF - 8 >: drop the declaration
  ASSERT_GE(b.size(), 1u);
  EXPECT_EQ(b.front(), ">");
  b.erase(b.begin());
  EXPECT_EQ(a, b);
  EXPECT_EQ(a[2], "ECOLE");
  // With a byte-order mark and no declaration too.
  EXPECT_EQ(tokens_of("\xEF\xBB\xBF"
                      "cr\xC3\xA8me"),
            std::vector<std::string>{"CREME"});
  // A character with no Windows-1252 form becomes a delimiter.
  EXPECT_EQ(tokens_of("ab\xE6\x97\xA5"
                      "cd"),
            (std::vector<std::string>{"AB", "CD"}));
}

}  // namespace
}  // namespace trawlix
