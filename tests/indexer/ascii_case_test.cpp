// Names compared without regard to case: ASCII letters only, so that
// accented Windows-1252 letters and the neighbours of A-Z never pair up.
#include "base/ascii_case.h"

#include <gtest/gtest.h>

namespace trawlix {
namespace {

TEST(AsciiCase, OnlyTheAsciiLettersPairUp) {
  using namespace std::literals;
  struct Case {
    std::string_view a, b;
    bool equal;
  };
  const Case cases[] = {
      {"Location", "location", true},
      {"WORDSDOCS", "wordsdocs", true},
      {"", "", true},
      {"DocID", "DocIDs", false},
      {"DocIDs", "DocID", false},
      {"@[", "`{", false},                // the bytes 0x20 away from A-Z are not letters
      {"\xC9t\xE9", "\xE9T\xC9", false},  // É and é stay apart
      {"a\0b"sv, "A\0B"sv, true},         // the whole length counts, not up to a NUL
      {"a\0b"sv, "A\0C"sv, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(equal_nocase(c.a, c.b), c.equal) << c.a << " / " << c.b;
  }
}

TEST(AsciiCase, PrefixesCompareTheSameWay) {
  EXPECT_TRUE(starts_with_nocase("LOCATION: http://x/", "location:"));
  EXPECT_TRUE(starts_with_nocase("location:", "location:"));
  EXPECT_FALSE(starts_with_nocase("locatio", "location:"));
  EXPECT_FALSE(starts_with_nocase("content-location: /x", "location:"));
  EXPECT_TRUE(starts_with_nocase("anything", ""));
}

}  // namespace
}  // namespace trawlix
