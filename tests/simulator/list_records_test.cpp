#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

class ListRecordsTest : public SimulatorTest {
 protected:
  // Renames one record with a Mod of its Name; returns the Mod's status code.
  int Rename(const std::string& list, const std::string& full_name, const std::string& name) {
    auto found =
        First("<" + list + "QueryRq><FullName>" + full_name + "</FullName></" + list + "QueryRq>")
            .first_child();
    return Code(First("<" + list + "ModRq><" + list + "Mod><ListID>" + found.child_value("ListID") +
                      "</ListID><EditSequence>" + found.child_value("EditSequence") +
                      "</EditSequence><Name>" + name + "</Name></" + list + "Mod></" + list +
                      "ModRq>"));
  }
};

std::string AddClass(const std::string& name, const std::string& parent = "") {
  std::string parent_ref =
      parent.empty() ? "" : "<ParentRef><FullName>" + parent + "</FullName></ParentRef>";
  return "<ClassAddRq requestID=\"1\"><ClassAdd><Name>" + name + "</Name>" + parent_ref +
         "</ClassAdd></ClassAddRq>";
}

TEST_F(ListRecordsTest, AddedRecordIsReturnedAsQuickBooksWritesIt) {
  auto rs = First(AddClass("Consulting", "Wholesale"));
  ASSERT_EQ(Code(rs), 0);
  auto ret = rs.child("ClassRet");
  std::string names;
  for (auto c : ret.children()) names += std::string(c.name()) + " ";
  EXPECT_EQ(
      names,
      "ListID TimeCreated TimeModified EditSequence Name FullName IsActive ParentRef Sublevel ");
  EXPECT_STREQ(ret.child_value("FullName"), "Wholesale:Consulting");
  EXPECT_STREQ(ret.child_value("Sublevel"), "1");
  EXPECT_STREQ(ret.child_value("IsActive"), "true");
  EXPECT_STREQ(ret.child_value("TimeCreated"), "2023-11-14T14:13:20-08:00");
  EXPECT_STREQ(ret.child_value("EditSequence"), "1700000000");
  std::string id = ret.child_value("ListID");
  EXPECT_EQ(id.substr(id.find('-')), "-1700000000");
  EXPECT_STREQ(ret.child("ParentRef").child_value("FullName"), "Wholesale");
}

TEST_F(ListRecordsTest, ReferencesAnswerWithTheNamesOfTodayAfterRenames) {
  ASSERT_EQ(Code(First(AddClass("Trade"))), 0);
  ASSERT_EQ(Code(First(AddClass("North", "Trade"))), 0);
  auto added =
      Responses(Send("<EmployeeAddRq><EmployeeAdd><Name>Pat Rep</Name></EmployeeAdd>"
                     "</EmployeeAddRq><SalesRepAddRq><SalesRepAdd><Initial>PR</Initial>"
                     "<SalesRepEntityRef><FullName>Pat Rep</FullName></SalesRepEntityRef>"
                     "</SalesRepAdd></SalesRepAddRq>"
                     "<AccountAddRq><AccountAdd><Name>Fees</Name><AccountType>Income"
                     "</AccountType></AccountAdd></AccountAddRq>"
                     "<CustomerAddRq><CustomerAdd><Name>Hale</Name><ClassRef><FullName>"
                     "Trade:North</FullName></ClassRef><SalesRepRef><FullName>PR</FullName>"
                     "</SalesRepRef></CustomerAdd></CustomerAddRq>"
                     "<CustomerAddRq><CustomerAdd><Name>Roof</Name><ParentRef><FullName>Hale"
                     "</FullName></ParentRef></CustomerAdd></CustomerAddRq>"
                     "<ItemServiceAddRq><ItemServiceAdd><Name>Survey</Name><SalesOrPurchase>"
                     "<Price>10.00</Price><AccountRef><FullName>Fees</FullName></AccountRef>"
                     "</SalesOrPurchase></ItemServiceAdd></ItemServiceAddRq>"));
  for (auto rs : added.children()) ASSERT_EQ(Code(rs), 0) << rs.name();
  ASSERT_EQ(Rename("Class", "Trade", "Wholesale Trade"), 0);
  ASSERT_EQ(Rename("Employee", "Pat Rep", "Pat Byrne"), 0);
  ASSERT_EQ(Rename("Account", "Fees", "Survey Fees"), 0);
  ASSERT_EQ(Rename("Customer", "Hale", "Hale Farm"), 0);

  auto hale = First("<CustomerQueryRq><FullName>Hale Farm</FullName></CustomerQueryRq>")
                  .child("CustomerRet");
  EXPECT_STREQ(hale.child("ClassRef").child_value("FullName"), "Wholesale Trade:North")
      << "a parent's rename changes the full name of the class referred to";
  auto job = First("<CustomerQueryRq><FullName>Hale Farm:Roof</FullName></CustomerQueryRq>")
                 .child("CustomerRet");
  EXPECT_STREQ(job.child("ParentRef").child_value("FullName"), "Hale Farm");
  auto rep =
      First("<SalesRepQueryRq><FullName>PR</FullName></SalesRepQueryRq>").child("SalesRepRet");
  EXPECT_STREQ(rep.child("SalesRepEntityRef").child_value("FullName"), "Pat Byrne");
  auto item = First("<ItemServiceQueryRq><FullName>Survey</FullName></ItemServiceQueryRq>")
                  .child("ItemServiceRet");
  EXPECT_STREQ(item.child("SalesOrPurchase").child("AccountRef").child_value("FullName"),
               "Survey Fees")
      << "references inside aggregates follow too";
  EXPECT_STREQ(item.child("SalesOrPurchase").child_value("Price"), "10.00");
}

TEST_F(ListRecordsTest, NameInUseIsRefusedWith3100) {
  auto rs = First(AddClass("retail"));  // names compare without letter case
  EXPECT_EQ(Code(rs), 3100);
  EXPECT_STREQ(rs.attribute("statusSeverity").value(), "Error");
  EXPECT_STREQ(rs.attribute("statusMessage").value(),
               "The name \"retail\" of the list element is already in use.");
  // Vendors and other names share one name space.
  std::string owner = First("<OtherNameQueryRq/>").child("OtherNameRet").child_value("Name");
  auto vendor =
      First("<VendorAddRq><VendorAdd><Name>" + owner + "</Name></VendorAdd></VendorAddRq>");
  EXPECT_EQ(Code(vendor), 3100);
}

// A refused add gives back the ListID it took, so the file is as before (found by fuzzing).
TEST_F(ListRecordsTest, RefusedAddTakesNoListID) {
  auto counter = [&](const std::string& name) {
    std::string id = First(AddClass(name)).child("ClassRet").child_value("ListID");
    return std::stoull(id.substr(0, id.find('-')), nullptr, 16);
  };
  const auto before = counter("Fresh A");
  ASSERT_EQ(Code(First(AddClass("Retail"))), 3100);
  EXPECT_EQ(counter("Fresh B"), before + 1);
}

TEST_F(ListRecordsTest, UnknownReferenceIsRefusedWith3140) {
  auto rs = First(
      "<CustomerAddRq><CustomerAdd><Name>Zed</Name><ClassRef><FullName>Nowhere"
      "</FullName></ClassRef></CustomerAdd></CustomerAddRq>");
  EXPECT_EQ(Code(rs), 3140);
  EXPECT_STREQ(rs.attribute("statusMessage").value(),
               "There is an invalid reference to QuickBooks Class \"Nowhere\" in the Customer. "
               "QuickBooks error message: Invalid argument.  The specified record does not exist "
               "in the list.");
  auto query = First("<CustomerQueryRq><FullName>Zed</FullName></CustomerQueryRq>");
  EXPECT_EQ(Code(query), 500);  // nothing was saved
}

TEST_F(ListRecordsTest, ModifyChecksEditSequenceAndRenamesChildren) {
  auto added = First(AddClass("Parent"));
  std::string id = added.child("ClassRet").child_value("ListID");
  std::string seq = added.child("ClassRet").child_value("EditSequence");
  First(AddClass("Child", "Parent"));
  simulator::AdvanceClock(60);
  auto mod = First("<ClassModRq><ClassMod><ListID>" + id + "</ListID><EditSequence>" + seq +
                   "</EditSequence><Name>Renamed</Name></ClassMod></ClassModRq>");
  ASSERT_EQ(Code(mod), 0);
  std::string new_seq = mod.child("ClassRet").child_value("EditSequence");
  EXPECT_NE(new_seq, seq);
  EXPECT_STREQ(mod.child("ClassRet").child_value("TimeModified"), "2023-11-14T14:14:20-08:00");
  auto child = First("<ClassQueryRq><FullName>Renamed:Child</FullName></ClassQueryRq>");
  EXPECT_EQ(Code(child), 0);
  EXPECT_STREQ(child.child("ClassRet").child("ParentRef").child_value("FullName"), "Renamed");

  auto stale = First("<ClassModRq><ClassMod><ListID>" + id + "</ListID><EditSequence>" + seq +
                     "</EditSequence><Name>Again</Name></ClassMod></ClassModRq>");
  EXPECT_EQ(Code(stale), 3200);
  EXPECT_STREQ(stale.attribute("statusMessage").value(),
               ("The provided edit sequence \"" + seq + "\" is out-of-date.").c_str());
  auto missing = First(
      "<ClassModRq><ClassMod><ListID>80000999-1</ListID><EditSequence>1"
      "</EditSequence></ClassMod></ClassModRq>");
  EXPECT_EQ(Code(missing), 3120);
}

TEST_F(ListRecordsTest, DeletedRecordShowsInListDeletedQuery) {
  auto added = First(AddClass("Temporary"));
  std::string id = added.child("ClassRet").child_value("ListID");
  auto del =
      First("<ListDelRq><ListDelType>Class</ListDelType><ListID>" + id + "</ListID></ListDelRq>");
  ASSERT_EQ(Code(del), 0);
  EXPECT_STREQ(del.child_value("FullName"), "Temporary");
  auto deleted = First("<ListDeletedQueryRq><ListDelType>Class</ListDelType></ListDeletedQueryRq>");
  EXPECT_STREQ(deleted.child("ListDeletedRet").child_value("ListID"), id.c_str());
  EXPECT_EQ(Code(First("<ClassQueryRq><ListID>" + id + "</ListID></ClassQueryRq>")), 500);
  // A class with sub-classes stays.
  auto parent = First("<ClassQueryRq><FullName>Wholesale</FullName></ClassQueryRq>");
  auto refused =
      First("<ListDelRq><ListDelType>Class</ListDelType><ListID>" +
            std::string(parent.child("ClassRet").child_value("ListID")) + "</ListID></ListDelRq>");
  EXPECT_EQ(Code(refused), 3170);
}

TEST_F(ListRecordsTest, CustomerJobsCarryParentAndBalances) {
  auto rs = First(
      "<CustomerAddRq><CustomerAdd><Name>Acme</Name><OpenBalance>100.50</OpenBalance>"
      "</CustomerAdd></CustomerAddRq>");
  ASSERT_EQ(Code(rs), 0);
  EXPECT_STREQ(rs.child("CustomerRet").child_value("Balance"), "100.50");
  auto job = First(
      "<CustomerAddRq><CustomerAdd><Name>Roof</Name><ParentRef><FullName>Acme"
      "</FullName></ParentRef><BillAddress><Addr1>1 Elm</Addr1><City>Oakdale</City>"
      "</BillAddress><OpenBalance>20.00</OpenBalance></CustomerAdd></CustomerAddRq>");
  ASSERT_EQ(Code(job), 0);
  auto address = job.child("CustomerRet").child("BillAddress");
  EXPECT_STREQ(address.child_value("City"), "Oakdale");
  auto parent = First("<CustomerQueryRq><FullName>Acme</FullName></CustomerQueryRq>");
  EXPECT_STREQ(parent.child("CustomerRet").child_value("TotalBalance"), "120.50");
  auto rich = First(
      "<CustomerQueryRq><TotalBalanceFilter><Operator>GreaterThan</Operator>"
      "<Amount>100</Amount></TotalBalanceFilter></CustomerQueryRq>");
  // The sample's customers owe for their invoices too: every one answered owes more than 100.
  bool acme = false;
  for (auto c : rich.children("CustomerRet")) {
    acme |= std::string_view(c.child_value("FullName")) == "Acme";
    EXPECT_GT(std::stod(c.child_value("TotalBalance")), 100.0) << c.child_value("FullName");
  }
  EXPECT_TRUE(acme);
  // A balance equal to the amount is in for the operators that take equality, out for the others.
  auto holds = [&](const char* op, const char* amount, const char* name) {
    std::set<std::string> names;
    auto rs =
        First(std::string("<CustomerQueryRq><TotalBalanceFilter><Operator>") + op +
              "</Operator><Amount>" + amount + "</Amount></TotalBalanceFilter></CustomerQueryRq>");
    for (auto c : rs.children("CustomerRet")) names.insert(c.child_value("FullName"));
    return names.count(name) == 1;
  };
  EXPECT_TRUE(holds("LessThanEqual", "20.00", "Acme:Roof"));
  EXPECT_FALSE(holds("LessThan", "20.00", "Acme:Roof"));
  EXPECT_TRUE(holds("GreaterThanEqual", "120.50", "Acme"));
  EXPECT_FALSE(holds("GreaterThan", "120.50", "Acme"));
  EXPECT_TRUE(holds("Equal", "120.50", "Acme"));
}

TEST_F(ListRecordsTest, QueryFiltersSelectAsQuickBooksDoes) {
  auto by_type =
      Responses(Send("<AccountQueryRq><AccountType>Bank</AccountType></AccountQueryRq>"));
  int banks = 0;
  for (auto a : by_type.first_child().children("AccountRet")) {
    EXPECT_STREQ(a.child_value("AccountType"), "Bank");
    ++banks;
  }
  EXPECT_EQ(banks, 2);
  auto starts = First(
      "<AccountQueryRq><NameFilter><MatchCriterion>StartsWith</MatchCriterion>"
      "<Name>util</Name></NameFilter></AccountQueryRq>");
  EXPECT_STREQ(starts.child("AccountRet").child_value("FullName"), "Utilities");
  auto limited = Responses(Send("<AccountQueryRq><MaxReturned>3</MaxReturned></AccountQueryRq>"));
  EXPECT_EQ(std::distance(limited.first_child().children().begin(),
                          limited.first_child().children().end()),
            3);
  auto only = First("<ClassQueryRq><IncludeRetElement>FullName</IncludeRetElement></ClassQueryRq>");
  EXPECT_STREQ(only.child("ClassRet").first_child().name(), "FullName");
  EXPECT_FALSE(only.child("ClassRet").child("ListID"));
  auto none = First(
      "<ClassQueryRq><NameRangeFilter><FromName>X</FromName></NameRangeFilter>"
      "</ClassQueryRq>");
  EXPECT_EQ(Code(none), 1);
  EXPECT_STREQ(none.attribute("statusSeverity").value(), "Info");
  EXPECT_STREQ(none.attribute("statusMessage").value(),
               "A query request did not find a matching object in QuickBooks");
}

TEST_F(ListRecordsTest, RangeAndDateFiltersIncludeTheirBounds) {
  simulator::AdvanceClock(60);
  auto added = First(AddClass("Zulu"));
  ASSERT_EQ(Code(added), 0);
  std::string modified = added.child("ClassRet").child_value("TimeModified");
  auto from_name = First(
      "<ClassQueryRq><NameRangeFilter><FromName>Zulu</FromName></NameRangeFilter>"
      "</ClassQueryRq>");
  ASSERT_EQ(Code(from_name), 0);
  EXPECT_STREQ(from_name.child("ClassRet").child_value("FullName"), "Zulu");
  // The exact time stamp on both ends: the record modified then, and only it.
  auto dated = Responses(Send("<ClassQueryRq><FromModifiedDate>" + modified +
                              "</FromModifiedDate><ToModifiedDate>" + modified +
                              "</ToModifiedDate></ClassQueryRq>"))
                   .first_child();
  ASSERT_EQ(Code(dated), 0);
  std::vector<std::string> names;
  for (auto ret : dated.children("ClassRet")) names.emplace_back(ret.child_value("FullName"));
  EXPECT_EQ(names, std::vector<std::string>{"Zulu"});
}

TEST_F(ListRecordsTest, ModifyWithoutEditSequenceIsRefusedInEveryMode) {
  auto added = First(AddClass("Kept"));
  std::string mod = std::string("<ClassModRq><ClassMod><ListID>") +
                    added.child("ClassRet").child_value("ListID") +
                    "</ListID><Name>Changed</Name></ClassMod></ClassModRq>";
  if (strict_) {
    try {
      processor_->ProcessRequest(ticket_, Envelope(mod));
      ADD_FAILURE() << "strict mode took a modify without EditSequence";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040400u));
    }
    unsetenv("BRENNOCK_QBXML_SCHEMA");
    strict_ = false;
  }
  auto refused = First(mod);
  EXPECT_EQ(Code(refused), 3200);
  EXPECT_STREQ(refused.attribute("statusMessage").value(),
               "The provided edit sequence \"\" is out-of-date.");
  EXPECT_EQ(Code(First("<ClassQueryRq><FullName>Kept</FullName></ClassQueryRq>")), 0);
}

TEST_F(ListRecordsTest, InactiveRecordsNeedActiveStatus) {
  auto added = First(AddClass("Old"));
  auto ret = added.child("ClassRet");
  First(std::string("<ClassModRq><ClassMod><ListID>") + ret.child_value("ListID") +
        "</ListID><EditSequence>" + ret.child_value("EditSequence") +
        "</EditSequence><IsActive>false</IsActive></ClassMod></ClassModRq>");
  EXPECT_EQ(Code(First("<ClassQueryRq><NameFilter><MatchCriterion>Contains</MatchCriterion>"
                       "<Name>Old</Name></NameFilter></ClassQueryRq>")),
            1);
  auto inactive = First("<ClassQueryRq><ActiveStatus>InactiveOnly</ActiveStatus></ClassQueryRq>");
  EXPECT_STREQ(inactive.child("ClassRet").child_value("Name"), "Old");
}

TEST_F(ListRecordsTest, MixedQueriesReturnEveryKind) {
  auto items = Responses(Send("<ItemQueryRq/>")).first_child();
  std::set<std::string> kinds;
  for (auto i : items.children()) kinds.insert(i.name());
  EXPECT_EQ(kinds.size(), 12u);
  auto entities = Responses(Send("<EntityQueryRq><MaxReturned>200</MaxReturned></EntityQueryRq>"))
                      .first_child();
  std::set<std::string> entity_kinds;
  for (auto e : entities.children()) entity_kinds.insert(e.name());
  EXPECT_EQ(entity_kinds,
            (std::set<std::string>{"CustomerRet", "EmployeeRet", "OtherNameRet", "VendorRet"}));
  auto terms = Responses(Send("<TermsQueryRq/>")).first_child();
  EXPECT_TRUE(terms.child("StandardTermsRet"));
  EXPECT_TRUE(terms.child("DateDrivenTermsRet"));
}

TEST_F(ListRecordsTest, EveryListAnswersItsQuery) {
  for (const char* list : {"Account",
                           "Customer",
                           "Vendor",
                           "Employee",
                           "OtherName",
                           "Class",
                           "CustomerType",
                           "JobType",
                           "VendorType",
                           "ShipMethod",
                           "PaymentMethod",
                           "CustomerMsg",
                           "SalesTaxCode",
                           "SalesRep",
                           "ToDo",
                           "PayrollItemWage",
                           "PayrollItemNonWage",
                           "PriceLevel",
                           "Currency",
                           "StandardTerms",
                           "DateDrivenTerms",
                           "Template",
                           "ItemService",
                           "ItemNonInventory",
                           "ItemOtherCharge",
                           "ItemInventory",
                           "ItemInventoryAssembly",
                           "ItemFixedAsset",
                           "ItemSubtotal",
                           "ItemDiscount",
                           "ItemPayment",
                           "ItemSalesTax",
                           "ItemSalesTaxGroup",
                           "ItemGroup"}) {
    auto rs = First(std::string("<") + list + "QueryRq/>");
    EXPECT_EQ(Code(rs), 0) << list;
    EXPECT_TRUE(rs.child((std::string(list) + "Ret").c_str())) << list;
  }
}

TEST_F(ListRecordsTest, DataExtensionsAreReturnedForTheirOwner) {
  Send(
      "<DataExtDefAddRq><DataExtDefAdd><OwnerID>0</OwnerID><DataExtName>Region</DataExtName>"
      "<DataExtType>STR255TYPE</DataExtType><AssignToObject>Customer</AssignToObject>"
      "</DataExtDefAdd></DataExtDefAddRq>");
  auto value = First(
      "<DataExtAddRq><DataExtAdd><OwnerID>0</OwnerID><DataExtName>Region"
      "</DataExtName><ListDataExtType>Customer</ListDataExtType><ListObjRef>"
      "<FullName>Acme</FullName></ListObjRef><DataExtValue>North</DataExtValue>"
      "</DataExtAdd></DataExtAddRq>");
  EXPECT_EQ(Code(value), 3140);  // no such customer yet
  Send("<CustomerAddRq><CustomerAdd><Name>Acme</Name></CustomerAdd></CustomerAddRq>");
  value = First(
      "<DataExtAddRq><DataExtAdd><OwnerID>0</OwnerID><DataExtName>Region"
      "</DataExtName><ListDataExtType>Customer</ListDataExtType><ListObjRef>"
      "<FullName>Acme</FullName></ListObjRef><DataExtValue>North</DataExtValue>"
      "</DataExtAdd></DataExtAddRq>");
  ASSERT_EQ(Code(value), 0);
  auto with = First(
      "<CustomerQueryRq><FullName>Acme</FullName><OwnerID>0</OwnerID>"
      "</CustomerQueryRq>");
  auto ext = with.child("CustomerRet").child("DataExtRet");
  EXPECT_STREQ(ext.child_value("OwnerID"), "0");
  EXPECT_STREQ(ext.child_value("DataExtName"), "Region");
  EXPECT_STREQ(ext.child_value("DataExtValue"), "North");
  auto without = First("<CustomerQueryRq><FullName>Acme</FullName></CustomerQueryRq>");
  EXPECT_FALSE(without.child("CustomerRet").child("DataExtRet"));
  auto defs = First("<DataExtDefQueryRq><OwnerID>0</OwnerID></DataExtDefQueryRq>");
  EXPECT_STREQ(defs.child("DataExtDefRet").child_value("AssignToObject"), "Customer");
}

}  // namespace
}  // namespace brennock::testing
