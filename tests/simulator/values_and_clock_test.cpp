#include <string>

#include "simulator/clock.h"
#include "simulator/lists/field_values.h"
#include "simulator/status_codes.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using simulator::FieldKind;

TEST(SimulatorValuesTest, ValuesAreWrittenAsQuickBooksWritesThem) {
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kAmount, " 12.5 "), "12.50");
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kAmount, "-0.005"), "-0.01");
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kBool, "1"), "true");
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kBool, "yes"), std::nullopt);
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kPrice, "7"), "7.00");
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kPrice, "0.125"), "0.125");
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kDate, "2024-02-30x"), std::nullopt);
  EXPECT_EQ(simulator::NormalizeValue(FieldKind::kInt, "12a"), std::nullopt);
  EXPECT_EQ(simulator::ParseCents("1e3"), std::nullopt);
  EXPECT_EQ(simulator::FormatCents(-5), "-0.05");
}

TEST(SimulatorClockTest, TimesCarryTheirOffset) {
  simulator::SimulatorTime t{1700000000, 330};
  EXPECT_EQ(simulator::FormatDateTime(t), "2023-11-15T03:43:20+05:30");
  EXPECT_EQ(simulator::FormatDate({0, -60}), "1969-12-31");
  EXPECT_EQ(simulator::ParseDateTime("2023-11-15T03:43:20+05:30", 0), 1700000000);
  EXPECT_EQ(simulator::ParseDateTime("1970-01-02", 60), 86400 - 3600);
  EXPECT_EQ(simulator::ParseDateTime("1970-01-01", 0, true), 86399);
  EXPECT_EQ(simulator::ParseDateTime("1970-13-01", 0), std::nullopt);
}

TEST(SimulatorStatusTest, MessagesTakeTheirArguments) {
  auto s = simulator::MakeStatus(simulator::kInvalidId, {"XYZ", "list id"});
  EXPECT_EQ(s.code, 3000);
  EXPECT_EQ(s.severity, "Error");
  EXPECT_EQ(s.message, "The given object ID \"XYZ\" in the field \"list id\" is invalid.");
  EXPECT_EQ(simulator::MakeStatus(simulator::kPartialQuery, {"A"}).severity, "Warn");
}

class LenientRequestTest : public SimulatorTest {
 protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    unsetenv("BRENNOCK_QBXML_SCHEMA");  // values QuickBooks' own checks catch, not the schema's
    strict_ = false;
  }
};

TEST_F(LenientRequestTest, BadValuesAreRefusedWithTheirField) {
  auto rs = First(
      "<CustomerAddRq><CustomerAdd><Name>X</Name><CreditLimit>lots</CreditLimit>"
      "</CustomerAdd></CustomerAddRq>");
  EXPECT_EQ(Code(rs), 3020);
  EXPECT_STREQ(rs.attribute("statusMessage").value(),
               "There was an error when converting the amount value \"lots\" in the field "
               "\"CreditLimit\".");
  auto long_name = First("<ClassAddRq><ClassAdd><Name>" + std::string(40, 'n') +
                         "</Name></ClassAdd></ClassAddRq>");
  EXPECT_EQ(Code(long_name), 3070);
  auto malformed = First(
      "<ClassModRq><ClassMod><ListID>nodash</ListID><EditSequence>1"
      "</EditSequence></ClassMod></ClassModRq>");
  EXPECT_EQ(Code(malformed), 3000);
  auto unnamed = First("<ClassAddRq><ClassAdd><Name></Name></ClassAdd></ClassAddRq>");
  EXPECT_EQ(Code(unnamed), 3180);
}

TEST_F(LenientRequestTest, ModifiedDateRangeSelectsByTimeModified) {
  simulator::AdvanceClock(86400 * 10);
  First("<ClassAddRq><ClassAdd><Name>Later</Name></ClassAdd></ClassAddRq>");
  auto recent = Responses(Send("<ClassQueryRq><FromModifiedDate>2023-11-20</FromModifiedDate>"
                               "</ClassQueryRq>"))
                    .first_child();
  EXPECT_STREQ(recent.child("ClassRet").child_value("Name"), "Later");
  EXPECT_FALSE(recent.child("ClassRet").next_sibling());
  auto older = Responses(Send("<ClassQueryRq><ToModifiedDate>2023-11-14T23:00:00-08:00"
                              "</ToModifiedDate></ClassQueryRq>"))
                   .first_child();
  EXPECT_EQ(std::distance(older.children().begin(), older.children().end()), 3);
}

TEST_F(LenientRequestTest, NameFilterEndsWithAndRange) {
  auto ends = First(
      "<AccountQueryRq><NameFilter><MatchCriterion>EndsWith</MatchCriterion>"
      "<Name>Payable</Name></NameFilter></AccountQueryRq>");
  EXPECT_STREQ(ends.child("AccountRet").child_value("Name"), "Accounts Payable");
  auto range = Responses(Send("<ClassQueryRq><NameRangeFilter><FromName>R</FromName><ToName>W"
                              "</ToName></NameRangeFilter></ClassQueryRq>"))
                   .first_child();
  std::string names;
  for (auto c : range.children()) names += std::string(c.child_value("FullName")) + ";";
  EXPECT_EQ(names, "Retail;Wholesale;Wholesale:East;");
}

TEST_F(LenientRequestTest, DefinitionsCanBeRenamedAndDeleted) {
  Send(
      "<DataExtDefAddRq><DataExtDefAdd><OwnerID>0</OwnerID><DataExtName>Size</DataExtName>"
      "<DataExtType>STR255TYPE</DataExtType><AssignToObject>Customer</AssignToObject>"
      "</DataExtDefAdd></DataExtDefAddRq>");
  auto dup = First(
      "<DataExtDefAddRq><DataExtDefAdd><OwnerID>0</OwnerID><DataExtName>size"
      "</DataExtName><DataExtType>STR255TYPE</DataExtType></DataExtDefAdd>"
      "</DataExtDefAddRq>");
  EXPECT_EQ(Code(dup), 3100);
  auto mod = First(
      "<DataExtDefModRq><DataExtDefMod><OwnerID>0</OwnerID><DataExtName>Size"
      "</DataExtName><DataExtNewName>Shoe Size</DataExtNewName><AssignToObject>"
      "Vendor</AssignToObject><RemoveFromObject>Customer</RemoveFromObject>"
      "</DataExtDefMod></DataExtDefModRq>");
  ASSERT_EQ(Code(mod), 0);
  EXPECT_STREQ(mod.child("DataExtDefRet").child_value("DataExtName"), "Shoe Size");
  EXPECT_STREQ(mod.child("DataExtDefRet").child_value("AssignToObject"), "Vendor");
  auto del = First(
      "<DataExtDefDelRq><OwnerID>0</OwnerID><DataExtName>Shoe Size</DataExtName>"
      "</DataExtDefDelRq>");
  EXPECT_EQ(Code(del), 0);
  auto left = Responses(Send("<DataExtDefQueryRq/>")).first_child();
  for (auto def : left.children("DataExtDefRet"))
    EXPECT_STRNE(def.child_value("DataExtName"), "Shoe Size");
}

}  // namespace
}  // namespace brennock::testing

namespace brennock::testing {
namespace {

TEST_F(LenientRequestTest, BrokenRequestsGetAnErrorStatusNotACrash) {
  for (const char* body : {
           "<CustomerAddRq/>",
           "<CustomerModRq><CustomerMod/></CustomerModRq>",
           "<ListDelRq/>",
           "<ListDelRq><ListDelType>Template</ListDelType><ListID>1-1</ListID></ListDelRq>",
           "<DataExtAddRq/>",
           "<DataExtDelRq><DataExtDel><OwnerID>0</OwnerID></DataExtDel></DataExtDelRq>",
           "<DataExtDefModRq/>",
           "<CustomerQueryRq><MaxReturned>-4</MaxReturned></CustomerQueryRq>",
           "<CustomerQueryRq><TotalBalanceFilter><Operator>Near</Operator></TotalBalanceFilter>"
           "</CustomerQueryRq>",
           "<CustomerQueryRq><FromModifiedDate>yesterday</FromModifiedDate></CustomerQueryRq>",
           "<CustomerQueryRq iterator=\"Continue\" iteratorID=\"{nope}\"/>",
           "<ClassAddRq><ClassAdd><Name>A</Name><ParentRef><ListID>bad</ListID></ParentRef>"
           "</ClassAdd></ClassAddRq>",
       }) {
    auto rs = First(body);
    EXPECT_GT(Code(rs), 1) << body;
    EXPECT_STREQ(rs.attribute("statusSeverity").value(), "Error") << body;
  }
}

}  // namespace
}  // namespace brennock::testing
