// Character references: the scanner's own entity table first, then every
// other reference decoded once.
#include <gtest/gtest.h>

#include "support/scanned_tokens.h"
#include "text/html_references.h"
#include "text/scanner.h"
#include "text/scanner_tables.h"

namespace trawlix {
namespace {

using testing::tokens_of;

TEST(ReplaceEntities, ReplacesTheTableInOrderFromTheLineStart) {
  EXPECT_EQ(replace_entities("&eacute;t&eacute;"), "\xE9t\xE9");
  EXPECT_EQ(replace_entities("&Ntilde;&ntilde;"), "\xD1\xF1");
  // Not in the table: left for the second pass.
  EXPECT_EQ(replace_entities("&amp;&nbsp;&#39;"), "&amp;&nbsp;&#39;");
  // Case matters.
  EXPECT_EQ(replace_entities("&EACUTE;"), "&EACUTE;");
}

TEST(DecodeReferences, NamedAndNumericBecomeWindows1252) {
  EXPECT_EQ(decode_references("caf&#233; caf&#xE9; caf&#XE9;"), "caf\xE9 caf\xE9 caf\xE9");
  EXPECT_EQ(decode_references("a&amp;b &quot;q&quot; it&#39;s"), "a&b \"q\" it's");
  EXPECT_EQ(decode_references("&euro;&#8364;&mdash;&oelig;"), "\x80\x80\x97\x9C");
  EXPECT_EQ(decode_references("x&nbsp;y"), "x\xA0y");
  // No Windows-1252 form: a blank. Tags never come out of decoding.
  EXPECT_EQ(decode_references("&alpha;&#x65E5;&#0;"), "   ");
  EXPECT_EQ(decode_references("&lt;b&gt; &#60;i&#62;"), " b   i ");
  // Decoded text is not decoded again.
  EXPECT_EQ(decode_references("&amp;eacute;"), "&eacute;");
  // What is not a complete reference stays as written.
  EXPECT_EQ(decode_references("AT&T &nosuch; &#; &#xZZ; &amp"), "AT&T &nosuch; &#; &#xZZ; &amp");
  EXPECT_EQ(decode_references("&#99999999999;"), "&#99999999999;");
}

TEST(DecodeReferences, Html4TableIsComplete) {
  EXPECT_EQ(html4_reference("AElig"), 0xC6u);
  EXPECT_EQ(html4_reference("zwnj"), 0x200Cu);
  EXPECT_EQ(html4_reference("thetasym"), 0x3D1u);
  EXPECT_EQ(html4_reference("yuml"), 0xFFu);
  EXPECT_FALSE(html4_reference("apos"));  // not an HTML 4 reference
  EXPECT_FALSE(html4_reference(""));
}

TEST(DecodeReferences, ScannedTextHoldsNoReferenceWords) {
  // The reference's name must not become a word of its own.
  EXPECT_EQ(tokens_of("a &gt; b"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(tokens_of("x&nbsp;y"), (std::vector<std::string>{"X", "\xA0", "Y"}));
  EXPECT_EQ(tokens_of("caf&#233;"), std::vector<std::string>{"CAFE"});
  // An entity at the very end of a line, then the next line.
  EXPECT_EQ(tokens_of("fa&ccedil;\r\nade"), (std::vector<std::string>{"FAC", "ADE"}));
  // &lt; in text never opens a tag.
  EXPECT_EQ(tokens_of("&lt;TITLE&gt;x"), (std::vector<std::string>{"TITLE", "X"}));
}

}  // namespace
}  // namespace trawlix
