// A record's children are read in any order: the guess of the next row only saves a lookup, and
// never changes which reader a child reaches.
#include <gtest/gtest.h>

#include <string>

#include "brennock/internal/model/binding.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/xml/xml_document.h"

namespace brennock::testing {
namespace read_order_test {
namespace {

struct Record {
  std::string read;  // the readers reached, in order
};

template <char Tag>
void Note(Record& record, const FieldElement& element) {
  record.read += Tag;
  record.read += element.text();
}

const BindingTable<Record>& Table() {
  static constexpr std::array<Binding<Record>, 6> kRows{{
      {"A", kInRet, &Note<'a'>},
      {"Add", kInAdd, nullptr},  // never read: passed over by the guesses
      {"B", kInRet, &Note<'b'>},
      {"L", kInRet, &Note<'l'>},
      {"C", kInRet, &Note<'c'>},
      {"D", kInRet, &Note<'d'>},
  }};
  BRENNOCK_BINDING_TABLE(Record);
  return kTable;
}

std::string Read(const std::string& children) {
  XmlDocument document;
  EXPECT_TRUE(document.loadXML("<R xmlns:q=\"urn:q\">" + children + "</R>"));
  ElementTree tree(document.documentElement());
  Record record;
  Table().Read(record, tree.Root());
  return record.read;
}

TEST(ReadOrder, EveryChildReachesItsReaderInAnyOrder) {
  EXPECT_EQ(Read("<A>1</A><B>2</B><L>3</L><C>4</C><D>5</D>"), "a1b2l3c4d5");
  EXPECT_EQ(Read("<A>1</A><C>4</C><D>5</D>"), "a1c4d5");            // optional rows absent
  EXPECT_EQ(Read("<D>5</D><C>4</C><B>2</B><A>1</A>"), "d5c4b2a1");  // reversed
  EXPECT_EQ(Read("<A>1</A><L>x</L><L>y</L><L>z</L><C>4</C>"), "a1lxlylzc4");  // repeated
  EXPECT_EQ(Read("<A>1</A><Zed>?</Zed><Add>no</Add><B>2</B>"), "a1b2");       // unknown, unread
  EXPECT_EQ(Read("<q:A>1</q:A><q:B>2</q:B><D>5</D>"), "a1b2d5");              // prefixed
  EXPECT_EQ(Read(""), "");
}

// What followed a child in the last record is tried when the row order guesses wrong, and is only
// ever a guess: records of other shapes, read one after another, each reach their own readers.
TEST(ReadOrder, TheLastRecordsOrderIsCheckedNeverTrusted) {
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(Read("<A>1</A><C>4</C>"), "a1c4");
    EXPECT_EQ(Read("<A>1</A><D>5</D>"), "a1d5");
    EXPECT_EQ(Read("<A>1</A><D>6</D>"), "a1d6");
    EXPECT_EQ(Read("<A>1</A><Zed>?</Zed><C>4</C>"), "a1c4");
    EXPECT_EQ(Read("<C>4</C><A>1</A>"), "c4a1");
    EXPECT_EQ(Read("<D>5</D><A>1</A>"), "d5a1");
    EXPECT_EQ(Read("<L>x</L><L>y</L><D>5</D>"), "lxlyd5");
  }
}

// A record's repeated children (its lines) are counted from the first of a run, to the first
// child of another name; children of children do not count.
TEST(ReadOrder, ARunOfRepeatedChildrenIsCountedFromItsFirst) {
  XmlDocument document;
  ASSERT_TRUE(document.loadXML("<R><A/><L>1</L><L><L>in</L><L/></L><L/><B/><L/></R>"));
  ElementTree tree(document.documentElement());
  std::string runs;
  for (FieldElement child : tree.Root().Children()) runs += std::to_string(child.RunLength());
  EXPECT_EQ(runs, "132111");
}

}  // namespace
}  // namespace read_order_test
}  // namespace brennock::testing
