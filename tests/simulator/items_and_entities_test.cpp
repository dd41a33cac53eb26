#include <string>
#include <vector>

#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using ItemsAndEntitiesTest = SimulatorTest;

TEST_F(ItemsAndEntitiesTest, ItemAggregatesResolveReferencesAndModReplacesThem) {
  auto added = First(
      "<ItemServiceAddRq><ItemServiceAdd><Name>Design</Name><SalesOrPurchase>"
      "<Desc>Design work</Desc><Price>120.00</Price><AccountRef><FullName>Services"
      "</FullName></AccountRef></SalesOrPurchase></ItemServiceAdd>"
      "</ItemServiceAddRq>");
  ASSERT_EQ(Code(added), 0);
  auto ret = added.child("ItemServiceRet");
  auto account = ret.child("SalesOrPurchase").child("AccountRef");
  EXPECT_NE(std::string(account.child_value("ListID")), "");
  EXPECT_STREQ(account.child_value("FullName"), "Services");
  auto mod =
      First(std::string("<ItemServiceModRq><ItemServiceMod><ListID>") + ret.child_value("ListID") +
            "</ListID><EditSequence>" + ret.child_value("EditSequence") +
            "</EditSequence><SalesOrPurchaseMod><Price>150.00</Price>"
            "</SalesOrPurchaseMod></ItemServiceMod></ItemServiceModRq>");
  ASSERT_EQ(Code(mod), 0);
  EXPECT_STREQ(mod.child("ItemServiceRet").child("SalesOrPurchase").child_value("Price"), "150.00");
  auto bad = First(
      "<ItemServiceAddRq><ItemServiceAdd><Name>Other</Name><SalesOrPurchase>"
      "<AccountRef><FullName>No Such Account</FullName></AccountRef>"
      "</SalesOrPurchase></ItemServiceAdd></ItemServiceAddRq>");
  EXPECT_EQ(Code(bad), 3140);
}

TEST_F(ItemsAndEntitiesTest, AddressBlocksArePrintedFromTheAddress) {
  auto rs = First(
      "<VendorAddRq><VendorAdd><Name>Kiln Works</Name><VendorAddress><Addr1>Kiln "
      "Works</Addr1><Addr2>4 Quay St</Addr2><City>Cork</City><PostalCode>T12</PostalCode>"
      "<Country>Ireland</Country></VendorAddress></VendorAdd></VendorAddRq>");
  auto block = rs.child("VendorRet").child("VendorAddressBlock");
  std::string lines;
  for (auto line : block.children())
    lines += std::string(line.name()) + "=" + line.text().get() + ";";
  EXPECT_EQ(lines, "Addr1=Kiln Works;Addr2=4 Quay St;Addr3=Cork  T12;Addr4=Ireland;");
}

TEST_F(ItemsAndEntitiesTest, ItemsShareOneNameSpace) {
  auto rs = First(
      "<ItemNonInventoryAddRq><ItemNonInventoryAdd><Name>Widget</Name><SalesOrPurchase>"
      "<Price>1.00</Price><AccountRef><FullName>Sales</FullName></AccountRef>"
      "</SalesOrPurchase></ItemNonInventoryAdd></ItemNonInventoryAddRq>");
  EXPECT_EQ(Code(rs), 3100);
}

TEST_F(ItemsAndEntitiesTest, GroupLinesNameTheirItems) {
  auto group = First("<ItemGroupQueryRq><FullName>Starter Pack</FullName></ItemGroupQueryRq>");
  auto lines = group.child("ItemGroupRet").children("ItemGroupLine");
  std::vector<std::string> items;
  for (auto line : lines) items.push_back(line.child("ItemRef").child_value("FullName"));
  EXPECT_EQ(items, (std::vector<std::string>{"Widget", "Installation", "Loyalty Discount"}));
}

TEST_F(ItemsAndEntitiesTest, EmployeeNameComesFromThePersonName) {
  auto rs = First(
      "<EmployeeAddRq><EmployeeAdd><FirstName>Ada</FirstName><MiddleName>K"
      "</MiddleName><LastName>Byron</LastName></EmployeeAdd></EmployeeAddRq>");
  ASSERT_EQ(Code(rs), 0);
  EXPECT_STREQ(rs.child("EmployeeRet").child_value("Name"), "Ada K Byron");
  auto rep = First(
      "<SalesRepAddRq><SalesRepAdd><Initial>AKB</Initial><SalesRepEntityRef>"
      "<FullName>Ada K Byron</FullName></SalesRepEntityRef></SalesRepAdd>"
      "</SalesRepAddRq>");
  ASSERT_EQ(Code(rep), 0);
  auto found = First("<SalesRepQueryRq><FullName>AKB</FullName></SalesRepQueryRq>");
  EXPECT_STREQ(found.child("SalesRepRet").child("SalesRepEntityRef").child_value("FullName"),
               "Ada K Byron");
}

TEST_F(ItemsAndEntitiesTest, ListsWithoutModRequestsRefuseThem) {
  unsetenv("BRENNOCK_QBXML_SCHEMA");  // the schema itself has no CustomerTypeModRq
  strict_ = false;
  auto rs = First(
      "<CustomerTypeModRq><CustomerTypeMod><ListID>1-1</ListID></CustomerTypeMod>"
      "</CustomerTypeModRq>");
  EXPECT_EQ(Code(rs), 3250);
}

TEST_F(ItemsAndEntitiesTest, ReferencesFollowRenames) {
  auto type = First("<CustomerTypeQueryRq><FullName>Residential</FullName></CustomerTypeQueryRq>");
  std::string type_id = type.child("CustomerTypeRet").child_value("ListID");
  auto added = First(
      "<CustomerAddRq><CustomerAdd><Name>Watson</Name><ClassRef><FullName>Retail"
      "</FullName></ClassRef><CustomerTypeRef><ListID>" +
      type_id + "</ListID></CustomerTypeRef></CustomerAdd></CustomerAddRq>");
  ASSERT_EQ(Code(added), 0);
  EXPECT_STREQ(added.child("CustomerRet").child("CustomerTypeRef").child_value("FullName"),
               "Residential");
  auto cls = First("<ClassQueryRq><FullName>Retail</FullName></ClassQueryRq>").child("ClassRet");
  auto renamed = First(std::string("<ClassModRq><ClassMod><ListID>") + cls.child_value("ListID") +
                       "</ListID><EditSequence>" + cls.child_value("EditSequence") +
                       "</EditSequence><Name>Shop</Name></ClassMod></ClassModRq>");
  ASSERT_EQ(Code(renamed), 0);
  auto watson = First("<CustomerQueryRq><FullName>Watson</FullName></CustomerQueryRq>");
  EXPECT_STREQ(watson.child("CustomerRet").child("ClassRef").child_value("FullName"), "Shop");
}

}  // namespace
}  // namespace brennock::testing
