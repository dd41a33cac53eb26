// The JSON the command writes for a record, typed by the qbXML catalogue. The command is a program,
// not a library: its record writer is compiled in here to be fed records QuickBooks might send but
// the simulator never does.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "brennock/xml/xml_document.h"
#include "cli/qbxml/record_fields.h"

namespace brennock::testing {
namespace {

std::string Json(const std::string& xml, std::string_view kind = {}) {
  XmlDocument document;
  EXPECT_TRUE(document.loadXML(xml)) << xml;
  std::string out;
  cli::AppendRecordJson(out, document.documentElement(), kind);
  return out;
}

nlohmann::ordered_json Tree(const std::string& xml) {
  XmlDocument document;
  EXPECT_TRUE(document.loadXML(xml)) << xml;
  return cli::RecordToJson(document.documentElement());
}

TEST(RecordJsonTest, ValuesTakeTheTypeOfTheirElementInTheRetShape) {
  std::string customer = Json(
      "<CustomerRet><Name>Baker</Name><IsActive>true</IsActive><Sublevel>2</Sublevel>"
      "<BillAddress><City>Fairview</City><PostalCode>01234</PostalCode></BillAddress>"
      "<Balance>1234.50</Balance><DataExtRet><DataExtName>Color</DataExtName></DataExtRet>"
      "<Mystery>42</Mystery><IsActiveSoon>true</IsActiveSoon></CustomerRet>");
  EXPECT_EQ(customer,
            R"({"Name":"Baker","IsActive":true,"Sublevel":2,)"
            R"("BillAddress":{"City":"Fairview","PostalCode":"01234"},"Balance":"1234.50",)"
            R"("DataExtRet":{"DataExtName":"Color"},"Mystery":"42","IsActiveSoon":"true"})")
      << "amounts keep their decimals; unknown elements stay strings";

  // Numbers are written as sent (1.50, not 1.5); text that is no JSON number stays a string.
  std::string item = Json(
      "<ItemInventoryRet><QuantityOnHand>1.50</QuantityOnHand><ReorderPoint>-0</ReorderPoint>"
      "<SalesPrice>19.999</SalesPrice><QuantityOnOrder>1,5</QuantityOnOrder>"
      "<QuantityOnSalesOrder>.5</QuantityOnSalesOrder><IsActive>1</IsActive></ItemInventoryRet>",
      "ItemInventory");
  EXPECT_EQ(item, R"({"Type":"ItemInventory","QuantityOnHand":1.50,"ReorderPoint":-0,)"
                  R"("SalesPrice":"19.999","QuantityOnOrder":"1,5","QuantityOnSalesOrder":".5",)"
                  R"("IsActive":"1"})");
}

TEST(RecordJsonTest, RepeatedAndNestedElementsFollowTheNestedShape) {
  nlohmann::ordered_json group = Tree(
      "<ItemGroupRet><Name>Pack</Name>"
      "<ItemGroupLine><ItemRef><FullName>A</FullName></ItemRef><Quantity>2</Quantity>"
      "</ItemGroupLine><IsActive>false</IsActive>"
      "<ItemGroupLine><ItemRef><FullName>B</FullName></ItemRef><Quantity>1e3</Quantity>"
      "</ItemGroupLine></ItemGroupRet>");
  EXPECT_EQ(group["IsActive"], false);
  ASSERT_EQ(group["ItemGroupLine"].size(), 2u);
  EXPECT_EQ(group["ItemGroupLine"][0]["Quantity"], 2);
  EXPECT_EQ(group["ItemGroupLine"][1]["Quantity"], 1000.0);
  EXPECT_EQ(group["ItemGroupLine"][1]["ItemRef"]["FullName"], "B");

  EXPECT_EQ(Json("<NoSuchRet><IsActive>true</IsActive><Sublevel>1</Sublevel></NoSuchRet>"),
            R"({"IsActive":"true","Sublevel":"1"})")
      << "a record the catalogue does not know is all strings";
}

}  // namespace
}  // namespace brennock::testing
