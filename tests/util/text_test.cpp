#include "brennock/internal/util/text.h"

#include <gtest/gtest.h>

#include <string>

namespace brennock {
namespace {

TEST(TextTest, CaseFoldingTouchesAsciiLettersOnly) {
  EXPECT_TRUE(AsciiEqualsIgnoreCase("Brennock.Simulator", "brennock.SIMULATOR"));
  EXPECT_FALSE(AsciiEqualsIgnoreCase("abc", "abcd"));
  EXPECT_FALSE(AsciiEqualsIgnoreCase("@", "`"));  // 0x40 and 0x60 differ by the case bit only
  EXPECT_FALSE(AsciiEqualsIgnoreCase("\xC3\xA9", "\xC3\x89"));  // é and É stay apart
  EXPECT_EQ(AsciiLowered("QBXMLRP2.RequestProcessor \xC3\x89"),
            "qbxmlrp2.requestprocessor \xC3\x89");
  EXPECT_EQ(AsciiCompareIgnoreCase("apple", "APPLE"), 0);
  EXPECT_LT(AsciiCompareIgnoreCase("Apple", "banana"), 0);
  EXPECT_GT(AsciiCompareIgnoreCase("b", "A"), 0);
  EXPECT_LT(AsciiCompareIgnoreCase("ab", "ABC"), 0);
  EXPECT_GT(AsciiCompareIgnoreCase("\xC3\xA9", "z"), 0);  // bytes compare unsigned
}

TEST(TextTest, LengthsCountCodePointsAndValidityRefusesMalformedSequences) {
  EXPECT_EQ(Utf8Length(""), 0u);
  EXPECT_EQ(Utf8Length("caf\xC3\xA9"), 4u);
  EXPECT_EQ(Utf8Length("\xE2\x82\xAC\xF0\x9F\x98\x80"), 2u);  // euro sign, emoji
  EXPECT_EQ(Utf8Length("caf\xE9"), 4u);                       // a stray Latin-1 byte is one
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2u);                      // a cut sequence: two strays

  EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF4\x8F\xBF\xBF"));
  EXPECT_EQ(FindInvalidUtf8("ok \xC0\xAF"), 3u);               // overlong '/'
  EXPECT_EQ(FindInvalidUtf8("\xED\xA0\x80"), 0u);              // surrogate
  EXPECT_EQ(FindInvalidUtf8("12345678\xF4\x90\x80\x80"), 8u);  // above U+10FFFF
  EXPECT_EQ(FindInvalidUtf8("abc\xE2\x82"), 3u);               // cut at the end

  char32_t cp = 0;
  EXPECT_EQ(DecodeUtf8("x\xE2\x82\xAC", 1, cp), 3u);
  EXPECT_EQ(cp, U'\u20AC');
  EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF", 0, cp), 0u);

  // Quoted prefixes cut between characters, never inside one.
  EXPECT_EQ(QuotedPrefix("caf\xC3\xA9", 4), "caf\xC3\xA9");
  EXPECT_EQ(QuotedPrefix("caf\xC3\xA9s", 4), "caf\xC3\xA9...");
  EXPECT_EQ(QuotedPrefix(std::string(101, 'x')), std::string(100, 'x') + "...");
}

TEST(TextTest, LocatesTheFirstCharacterXmlDoesNotAllow) {
  char32_t cp = 0;
  EXPECT_EQ(FindNonXmlCharacter("tab\tline\ncr\r \xC3\xA9 \xEF\xBF\xBD", cp), std::string::npos);
  EXPECT_EQ(FindNonXmlCharacter("\xC3\xA9\x07", cp), 2u);
  EXPECT_EQ(cp, U'\u0007');
  EXPECT_EQ(FindNonXmlCharacter(std::string("a\0b", 3), cp), 1u);
  EXPECT_EQ(cp, U'\0');
  EXPECT_EQ(FindNonXmlCharacter("ab\xEF\xBF\xBE", cp), 2u);
  EXPECT_EQ(cp, U'\uFFFE');
  // Malformed bytes are not XML characters of their own: the escaper sends them as Windows-1252.
  EXPECT_EQ(FindNonXmlCharacter("caf\xE9 \xEF\xBF", cp), std::string::npos);
  EXPECT_FALSE(IsXmlCharacter(0x1F));
  EXPECT_TRUE(IsXmlCharacter(0x10FFFF));
  EXPECT_EQ(CodePointName(7), "U+0007");
  EXPECT_EQ(CodePointName(0xFFFF), "U+FFFF");
  EXPECT_EQ(CodePointName(0x1F600), "U+1F600");
  EXPECT_EQ(CodePointName(0x10FFFF), "U+10FFFF");
}

TEST(TextTest, MarkupEscapingOfTextAndAttributes) {
  const std::string value = "a<b>&\"c\"\t\n\r'@\xC3\xA9";
  std::string text = "[";
  AppendXmlEscaped(text, value, XmlEscaping::kText);
  EXPECT_EQ(text, "[a&lt;b&gt;&amp;\"c\"\t\n\r'@\xC3\xA9");
  std::string attribute;
  AppendXmlEscaped(attribute, value, XmlEscaping::kAttribute);
  EXPECT_EQ(attribute, "a&lt;b&gt;&amp;&quot;c&quot;&#9;&#10;&#13;'@\xC3\xA9");
  // qbXML request text also escapes apostrophe, at sign and Windows-1252 characters.
  EXPECT_EQ(EscapeXmlText(value), "a&lt;b&gt;&amp;&quot;c&quot;\t\n\r&apos;&#64;&#233;");
  EXPECT_EQ(Concat({"<", std::string("Name"), ">"}), "<Name>");
  EXPECT_EQ(Concat({}), "");
}

TEST(TextTest, C1ControlsReadAsTheWindows1252CharactersRequestsMeant) {
  std::string out = "untouched";
  // Requests write the euro sign as &#128;, which XML reads as U+0080.
  EXPECT_TRUE(ReplaceWindows1252Controls("a\xC2\x80 b\xC2\x98\xC2\x99", out));
  EXPECT_EQ(out, "a\u20AC b\u02DC\u2122");
  out = "untouched";
  // Undefined codes, other C2 characters, a C2 before ASCII and a cut sequence stay as they are.
  for (std::string_view kept : {"\xC2\x81\xC2\x9D", "\xC2\xA0", "\xC2@", "end\xC2", "plain"}) {
    EXPECT_FALSE(ReplaceWindows1252Controls(kept, out)) << kept;
    EXPECT_EQ(out, "untouched");
  }
}

}  // namespace
}  // namespace brennock
