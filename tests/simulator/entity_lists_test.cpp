// Customers, vendors, employees and other names as QuickBooks keeps them: one name space, one
// entity query over all four, deletes by kind, and no bills to pay while no transaction exists.
#include <string>
#include <vector>

#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using EntityListsTest = SimulatorTest;

const std::vector<std::string> kKinds = {"Customer", "Vendor", "Employee", "OtherName"};

std::string AddOf(const std::string& kind, const std::string& name) {
  return "<" + kind + "AddRq><" + kind + "Add><Name>" + name + "</Name></" + kind + "Add></" +
         kind + "AddRq>";
}

TEST_F(EntityListsTest, ANameTakenInOneListIsTakenInAllFour) {
  for (const std::string& owner : kKinds) {
    std::string name = "Taken by " + owner;
    ASSERT_EQ(Code(First(AddOf(owner, name))), 0) << owner;
    for (const std::string& other : kKinds) {
      auto refused = First(AddOf(other, name));
      EXPECT_EQ(Code(refused), 3100) << owner << " then " << other;
      EXPECT_EQ(std::string(refused.attribute("statusMessage").value()),
                "The name \"" + name + "\" of the list element is already in use.");
    }
  }
}

TEST_F(EntityListsTest, EntityQueryFiltersAcrossTheFourLists) {
  for (const std::string& kind : kKinds) First(AddOf(kind, "Zed " + kind));
  auto matched = First(
      "<EntityQueryRq><NameFilter><MatchCriterion>StartsWith</MatchCriterion><Name>Zed</Name>"
      "</NameFilter></EntityQueryRq>");
  std::vector<std::string> kinds;
  for (auto ret : matched.children()) kinds.push_back(ret.name());
  // In name order, whatever their list.
  EXPECT_EQ(kinds,
            (std::vector<std::string>{"CustomerRet", "EmployeeRet", "OtherNameRet", "VendorRet"}));
  auto ranged = First(
      "<EntityQueryRq><MaxReturned>2</MaxReturned><NameRangeFilter><FromName>Zed</FromName>"
      "</NameRangeFilter></EntityQueryRq>");
  EXPECT_EQ(std::distance(ranged.children().begin(), ranged.children().end()), 2);
  auto named = First(
      "<EntityQueryRq><FullName>Zed Employee</FullName><FullName>Nobody</FullName>"
      "</EntityQueryRq>");
  EXPECT_EQ(Code(named), 500);
  EXPECT_STREQ(named.first_child().name(), "EmployeeRet");
}

TEST_F(EntityListsTest, EachKindIsDeletedByItsListDelType) {
  for (const std::string& kind : kKinds) {
    std::string id = First(AddOf(kind, "Gone " + kind)).first_child().child_value("ListID");
    auto deleted = First("<ListDelRq><ListDelType>" + kind + "</ListDelType><ListID>" + id +
                         "</ListID></ListDelRq>");
    ASSERT_EQ(Code(deleted), 0) << kind;
    EXPECT_STREQ(deleted.child_value("FullName"), ("Gone " + kind).c_str());
    EXPECT_EQ(Code(First("<EntityQueryRq><ListID>" + id + "</ListID></EntityQueryRq>")), 500);
  }
}

TEST_F(EntityListsTest, StaleVendorModifyChangesNothing) {
  auto ret = First(AddOf("Vendor", "Dockside")).first_child();
  std::string id = ret.child_value("ListID"), seq = ret.child_value("EditSequence");
  auto modify = [&](const std::string& sequence, const std::string& phone) {
    return First("<VendorModRq><VendorMod><ListID>" + id + "</ListID><EditSequence>" + sequence +
                 "</EditSequence><Phone>" + phone + "</Phone></VendorMod></VendorModRq>");
  };
  simulator::AdvanceClock(60);
  ASSERT_EQ(Code(modify(seq, "1")), 0);
  auto stale = modify(seq, "2");
  EXPECT_EQ(Code(stale), 3200);
  EXPECT_EQ(std::string(stale.attribute("statusMessage").value()),
            "The provided edit sequence \"" + seq + "\" is out-of-date.");
  auto now = First("<VendorQueryRq><ListID>" + id + "</ListID></VendorQueryRq>").first_child();
  EXPECT_STREQ(now.child_value("Phone"), "1");
}

TEST_F(EntityListsTest, BillToPayAnswersEmptyForAKnownPayee) {
  // Any name of the sample company.
  std::string payee = First("<OtherNameQueryRq><MaxReturned>1</MaxReturned></OtherNameQueryRq>")
                          .first_child()
                          .child_value("Name");
  ASSERT_FALSE(payee.empty());
  auto empty = First("<BillToPayQueryRq><PayeeEntityRef><FullName>" + payee +
                     "</FullName></PayeeEntityRef><APAccountRef><FullName>Accounts Payable"
                     "</FullName></APAccountRef></BillToPayQueryRq>");
  EXPECT_EQ(Code(empty), 0);
  EXPECT_FALSE(empty.first_child());
  auto unknown = First(
      "<BillToPayQueryRq><PayeeEntityRef><FullName>Nobody</FullName></PayeeEntityRef>"
      "</BillToPayQueryRq>");
  EXPECT_EQ(Code(unknown), 3140);
  EXPECT_STREQ(unknown.attribute("statusMessage").value(),
               "There is an invalid reference to QuickBooks Entity \"Nobody\" in the BillToPay "
               "query. QuickBooks error message: Invalid argument.  The specified record does not "
               "exist in the list.");
}

}  // namespace
}  // namespace brennock::testing
