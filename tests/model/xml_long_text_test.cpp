// Encoding checks of long responses: a bad byte after a long run of plain ASCII is found at its
// exact offset, and good UTF-8 after such a run loads.
#include <gtest/gtest.h>

#include <string>

#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

TEST(XmlLongTextTest, FindsTheFirstBadByteAfterAnyLengthOfAscii) {
  for (size_t padding : {0, 60, 61, 62, 124, 125, 500}) {
    for (const char* bom : {"", "\xEF\xBB\xBF"}) {
      const std::string prefix = std::string(bom) + "<A>" + std::string(padding, 'x');
      XmlDocument document;
      EXPECT_FALSE(document.loadXML(prefix + "\xE9</A>"));
      EXPECT_EQ(document.parseError().reason, "An invalid character was found in text content.");
      EXPECT_EQ(document.parseError().filepos, static_cast<int64_t>(prefix.size())) << padding;

      ASSERT_TRUE(document.loadXML(prefix + "\xC3\xA9</A>")) << padding;
      EXPECT_EQ(document.documentElement().text(), std::string(padding, 'x') + "\xC3\xA9");
    }
  }
}

}  // namespace
}  // namespace brennock
