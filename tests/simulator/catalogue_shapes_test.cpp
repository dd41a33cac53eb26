#include <string>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "simulator/lists/list_types.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

// Empty when the children of node follow the catalogue's order of shape, all the way down;
// otherwise the path of the first child that is out of place, repeated or unknown there.
std::string OutOfOrder(pugi::xml_node node, const qbxml::Aggregate& shape,
                       const std::string& path) {
  size_t at = 0;
  bool started = false;
  for (auto child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string where = path + "." + child.name();
    size_t i = at;
    while (i < shape.elements.size() && shape.elements[i].name != child.name()) ++i;
    if (i == shape.elements.size()) return where;
    const qbxml::Element& element = shape.elements[i];
    if (started && i == at && !(element.flags & qbxml::kRepeats)) return where;
    if (const qbxml::Aggregate* nested = qbxml::Nested(element)) {
      std::string inner = OutOfOrder(child, *nested, where);
      if (!inner.empty()) return inner;
    }
    at = i;
    started = true;
  }
  return {};
}

std::string OutOfOrder(pugi::xml_node ret) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(ret.name());
  return shape ? OutOfOrder(ret, *shape, ret.name()) : std::string(ret.name()) + " unknown";
}

TEST(SimulatorListTypesTest, StoredListsAreRegistryRowsWithTheirCatalogueShapes) {
  size_t stored = 0;
  for (const RecordKind& kind : ListRegistry()) {
    const qbxml::Aggregate* ret = qbxml::FindAggregate(std::string(kind.stem) + "Ret");
    const simulator::ListType* type = simulator::FindListType(kind.stem);
    if (kind.Has(kMixed) || !ret) {  // Entity, Item, Terms, TaxCodes
      EXPECT_EQ(type, nullptr) << kind.stem;
      continue;
    }
    ASSERT_NE(type, nullptr) << kind.stem;
    ++stored;
    EXPECT_EQ(type->shape.data(), ret->elements.data()) << kind.stem;
    EXPECT_EQ(type->name_space, kind.nameSpace) << kind.stem;
    EXPECT_EQ(type->can_modify, kind.Has(kCanModify)) << kind.stem;
  }
  EXPECT_EQ(simulator::AllListTypes().size(), stored);
}

using CatalogueShapesTest = SimulatorTest;

TEST_F(CatalogueShapesTest, EverySampleRecordComesOutInCatalogueOrder) {
  for (const auto& type : simulator::AllListTypes()) {
    auto rs = First("<" + std::string(type.name) + "QueryRq/>");
    ASSERT_EQ(Code(rs), 0) << type.name;
    int records = 0;
    const std::string retName(type.ret);  // the range below keeps a pointer to the name
    for (auto ret : rs.children(retName.c_str())) {
      ++records;
      EXPECT_EQ(OutOfOrder(ret), "") << type.name << " " << ret.child_value("FullName");
    }
    EXPECT_GT(records, 0) << type.name;
  }
}

// Requests out of the schema's order and values QuickBooks measures itself: no strict schema.
class CatalogueRulesTest : public SimulatorTest {
 protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    strict_ = false;
  }
};

TEST_F(CatalogueRulesTest, RecordsAddedOutOfOrderAreWrittenInCatalogueOrder) {
  const char* adds[] = {
      "<CustomerAddRq><CustomerAdd><Phone>555-0100</Phone><ShipAddress><City>Bonn</City>"
      "<Addr1>2 Side St</Addr1></ShipAddress><BillAddress><PostalCode>50667</PostalCode>"
      "<City>K\xC3\xB6ln</City><Addr1>1 Main St</Addr1></BillAddress><CompanyName>Acme"
      "</CompanyName><Name>Zed</Name><ClassRef><FullName>Retail</FullName></ClassRef>"
      "</CustomerAdd></CustomerAddRq>",
      "<VendorAddRq><VendorAdd><NameOnCheck>Zulu Ltd</NameOnCheck><VendorAddress><State>CA"
      "</State><Addr1>3 Dock Rd</Addr1></VendorAddress><CompanyName>Zulu</CompanyName>"
      "<Name>Zulu</Name></VendorAdd></VendorAddRq>",
      "<ItemServiceAddRq><ItemServiceAdd><SalesOrPurchase><AccountRef><FullName>Services"
      "</FullName></AccountRef><Price>90</Price><Desc>Audit</Desc></SalesOrPurchase>"
      "<Name>Audit</Name></ItemServiceAdd></ItemServiceAddRq>",
      "<StandardTermsAddRq><StandardTermsAdd><DiscountPct>2</DiscountPct><StdDueDays>30"
      "</StdDueDays><Name>2% Net 30b</Name></StandardTermsAdd></StandardTermsAddRq>",
  };
  for (const char* add : adds) {
    auto rs = First(add);
    ASSERT_EQ(Code(rs), 0) << rs.attribute("statusMessage").value();
    EXPECT_EQ(OutOfOrder(rs.first_child()), "") << add;
  }
  auto query = First("<CustomerQueryRq><FullName>Zed</FullName></CustomerQueryRq>");
  auto ret = query.child("CustomerRet");
  EXPECT_EQ(OutOfOrder(ret), "");
  EXPECT_STREQ(ret.child("BillAddress").first_child().name(), "Addr1");
  EXPECT_STREQ(ret.child("BillAddress").child_value("City"), "K\xC3\xB6ln");
}

TEST_F(CatalogueRulesTest, LengthLimitsAreTheCataloguesInCharacters) {
  auto limit = [](const char* aggregate, const char* element) -> size_t {
    return qbxml::FindElement(*qbxml::FindAggregate(aggregate), element)->maxLength;
  };
  auto repeat = [](std::string_view text, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += text;
    return out;
  };
  const std::string e_acute = "\xC3\xA9";  // two bytes, one character
  size_t name = limit("ClassRet", "Name");
  ASSERT_GT(name, 0u);
  auto fits = First("<ClassAddRq><ClassAdd><Name>" + repeat(e_acute, name) +
                    "</Name></ClassAdd></ClassAddRq>");
  EXPECT_EQ(Code(fits), 0) << fits.attribute("statusMessage").value();
  auto over = First("<ClassAddRq><ClassAdd><Name>" + repeat("x", name + 1) +
                    "</Name></ClassAdd></ClassAddRq>");
  EXPECT_EQ(Code(over), 3070);

  // Inside a nested aggregate the limit is the nested aggregate's.
  std::string city = repeat(e_acute, limit("BillAddress", "City") + 1);
  auto nested = First("<CustomerAddRq><CustomerAdd><Name>Far</Name><BillAddress><City>" + city +
                      "</City></BillAddress></CustomerAdd></CustomerAddRq>");
  EXPECT_EQ(Code(nested), 3070);
  EXPECT_EQ(std::string(nested.attribute("statusMessage").value()),
            "The string \"" + city + "\" in the field \"City\" is too long.");
  EXPECT_EQ(Code(First("<CustomerQueryRq><FullName>Far</FullName></CustomerQueryRq>")), 500);
}

}  // namespace
}  // namespace brennock::testing
