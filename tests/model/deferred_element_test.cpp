// An element kept to be read later gives its reader what the element gave when it was read.
#include "brennock/internal/xml/deferred_element.h"

#include <gtest/gtest.h>

#include <string>

#include "brennock/internal/xml/element_tree.h"
#include "brennock/xml/xml_document.h"

namespace brennock::testing {
namespace {

// Each element a line: name as written, base name, TextView and text(), then its children.
void Dump(const FieldElement& element, int depth, std::string& out) {
  std::string scratch;
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out.append(element.nodeName()).append(" (").append(element.baseName()).append(") [");
  out.append(element.TextView(scratch)).append("] [").append(element.text()).append("]\n");
  for (FieldElement child : element.Children()) Dump(child, depth + 1, out);
}

std::string Dump(const FieldElement& element) {
  std::string out;
  Dump(element, 0, out);
  return out;
}

class DeferredElementTest : public ::testing::Test {
 protected:
  // The element of a document, as a tree.
  void Load(const std::string& xml) {
    ASSERT_TRUE(document_.loadXML(xml)) << xml;
    tree_.Assign(document_.documentElement());
  }

  XmlDocument document_;
  ElementTree tree_;
};

TEST_F(DeferredElementTest, APlainAggregateIsRebuiltAsItWasRead) {
  // A prefixed child, text between the children, a child of several pieces (CDATA), an empty
  // child, references and text beyond ASCII (the loader drops the blank texts).
  Load(
      "<BillAddress>\n  <q:Addr1> 1 Quay </q:Addr1>\n  <Addr2>Unit <![CDATA[<7>]]> &amp; co"
      "</Addr2><City/><State>M\xC3\xBCnster</State>tail</BillAddress>");
  const std::string read = Dump(tree_.Root());

  DeferredElement kept;
  ASSERT_TRUE(kept.Keep(tree_.Root()));
  tree_.Clear();  // the kept copy needs nothing of the tree it came from
  ElementTree rebuilt;
  kept.Rebuild(rebuilt);
  EXPECT_EQ(Dump(rebuilt.Root()), read);
  EXPECT_EQ(read,
            "BillAddress (BillAddress) [1 Quay Unit <7> & coM\xC3\xBCnstertail] "
            "[1 Quay Unit <7> & coM\xC3\xBCnstertail]\n"
            "  q:Addr1 (Addr1) [1 Quay] [1 Quay]\n"
            "  Addr2 (Addr2) [Unit <7> & co] [Unit <7> & co]\n"
            "  City (City) [] []\n"
            "  State (State) [M\xC3\xBCnster] [M\xC3\xBCnster]\n");

  // Kept again, the new element replaces the old; cleared, nothing is left.
  Load("<ShipAddress><City>Cork</City></ShipAddress>");
  ASSERT_TRUE(kept.Keep(tree_.Root()));
  kept.Rebuild(rebuilt);
  EXPECT_EQ(Dump(rebuilt.Root()),
            "ShipAddress (ShipAddress) [Cork] [Cork]\n  City (City) [Cork] [Cork]\n");
  kept.Clear();
  EXPECT_TRUE(kept.Empty());
}

TEST_F(DeferredElementTest, OnlyPlainAggregatesAreKept) {
  DeferredElement kept;
  Load("<BillAddress><City>Cork</City></BillAddress>");
  ASSERT_TRUE(kept.Keep(tree_.Root()));
  for (const char* xml : {"<BillAddress kind=\"x\"><City>Cork</City></BillAddress>",
                          "<BillAddress><City lang=\"ga\">Corcaigh</City></BillAddress>",
                          "<BillAddress><City><Name>Cork</Name></City></BillAddress>"}) {
    SCOPED_TRACE(xml);
    Load(xml);
    EXPECT_FALSE(kept.Keep(tree_.Root()));
    EXPECT_TRUE(kept.Empty());  // what was kept before is gone too
  }
}

}  // namespace
}  // namespace brennock::testing
