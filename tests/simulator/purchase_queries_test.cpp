// Time worked, and the query filters of the buying side: each filter finds what it names and
// nothing else. Everything here is dated March 2024, after the sample company's year.
#include <string>
#include <vector>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class PurchaseQueriesTest : public BooksTest {
 protected:
  void SetUp() override {
    BooksTest::SetUp();
    employee_ = First("<EmployeeQueryRq><MaxReturned>1</MaxReturned></EmployeeQueryRq>")
                    .first_child()
                    .child_value("Name");
    customer_ = First("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>")
                    .first_child()
                    .child_value("FullName");
    vendor_ = First("<VendorQueryRq><MaxReturned>1</MaxReturned></VendorQueryRq>")
                  .first_child()
                  .child_value("Name");
  }

  static std::string March(const std::string& inner = {}) {
    return "<TxnDateRangeFilter><FromTxnDate>2024-03-01</FromTxnDate><ToTxnDate>2024-03-31"
           "</ToTxnDate></TxnDateRangeFilter>" +
           inner;
  }

  // The TxnIDs a query answers, in order.
  std::vector<std::string> Ids(const std::string& request, const char* ret) {
    std::vector<std::string> ids;
    for (auto r : First(request).children(ret)) ids.push_back(r.child_value("TxnID"));
    return ids;
  }

  std::string Time(const std::string& who, const std::string& date, const std::string& duration,
                   const std::string& extra = {}) {
    pugi::xml_node ret = Ok("<TimeTrackingAddRq><TimeTrackingAdd><TxnDate>" + date + "</TxnDate>" +
                            Ref("EntityRef", who) + extra + "<Duration>" + duration +
                            "</Duration></TimeTrackingAdd></TimeTrackingAddRq>")
                             .child("TimeTrackingRet");
    last_ = ret.child_value("Duration");
    billable_ = ret.child_value("BillableStatus");
    return ret.child_value("TxnID");
  }

  std::string employee_, customer_, vendor_, last_, billable_;
};

TEST_F(PurchaseQueriesTest, TimeIsKeptInHoursAndMinutesAndFoundByEveryFilter) {
  const int64_t services = AccountBalance("Services");
  std::string a = Time(employee_, "2024-03-04", "PT90M",
                       Ref("CustomerRef", customer_) + Ref("ItemServiceRef", "Consulting"));
  EXPECT_EQ(last_, "PT1H30M");
  EXPECT_EQ(billable_, "Billable");  // time for a customer is billable unless told otherwise
  std::string b = Time(employee_, "2024-03-06", "PT7H59M40S");
  EXPECT_EQ(last_, "PT8H0M");  // to the nearest minute
  EXPECT_EQ(billable_, "NotBillable");
  std::string c = Time(vendor_, "2024-03-05", "PT2H", {});
  EXPECT_EQ(AccountBalance("Services"), services);  // time posts nothing

  const std::string all = "<TimeTrackingQueryRq>" + March() + "</TimeTrackingQueryRq>";
  EXPECT_EQ(Ids(all, "TimeTrackingRet"), (std::vector<std::string>{a, c, b}));
  EXPECT_EQ(Ids("<TimeTrackingQueryRq>" + March() + "<TimeTrackingEntityFilter><FullName>" +
                    employee_ + "</FullName></TimeTrackingEntityFilter></TimeTrackingQueryRq>",
                "TimeTrackingRet"),
            (std::vector<std::string>{a, b}));
  EXPECT_EQ(Ids("<TimeTrackingQueryRq><TxnDateRangeFilter><FromTxnDate>2024-03-05</FromTxnDate>"
                "</TxnDateRangeFilter></TimeTrackingQueryRq>",
                "TimeTrackingRet"),
            (std::vector<std::string>{c, b}));
  EXPECT_EQ(
      Ids("<TimeTrackingQueryRq><TxnID>" + c + "</TxnID></TimeTrackingQueryRq>", "TimeTrackingRet"),
      (std::vector<std::string>{c}));
  EXPECT_EQ(
      Ids("<TimeTrackingQueryRq><MaxReturned>1</MaxReturned>" + March() + "</TimeTrackingQueryRq>",
          "TimeTrackingRet"),
      (std::vector<std::string>{a}));
  simulator::AdvanceClock(3600);
  pugi::xml_node entry =
      First("<TimeTrackingQueryRq><TxnID>" + b + "</TxnID></TimeTrackingQueryRq>")
          .child("TimeTrackingRet");
  Ok("<TimeTrackingModRq><TimeTrackingMod><TxnID>" + b + "</TxnID><EditSequence>" +
     entry.child_value("EditSequence") + "</EditSequence>" + Ref("EntityRef", employee_) +
     "<Duration>PT6H15M</Duration></TimeTrackingMod></TimeTrackingModRq>");
  EXPECT_EQ(Ids("<TimeTrackingQueryRq><ModifiedDateRangeFilter><FromModifiedDate>"
                "2023-11-14T15:00:00-08:00</FromModifiedDate></ModifiedDateRangeFilter>"
                "</TimeTrackingQueryRq>",
                "TimeTrackingRet"),
            (std::vector<std::string>{b}));
  Ok("<TxnDelRq><TxnDelType>TimeTracking</TxnDelType><TxnID>" + a + "</TxnID></TxnDelRq>");
  pugi::xml_node deleted =
      Ok("<TxnDeletedQueryRq><TxnDelType>TimeTracking</TxnDelType></TxnDeletedQueryRq>");
  EXPECT_STREQ(deleted.child("TxnDeletedRet").child_value("TxnID"), a.c_str());
  // Outside strict mode (the schema refuses it first) a duration that is none is QuickBooks'
  // conversion error.
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  strict_ = false;
  pugi::xml_node bad =
      First("<TimeTrackingAddRq><TimeTrackingAdd>" + Ref("EntityRef", employee_) +
            "<Duration>1.5 hours</Duration></TimeTrackingAdd></TimeTrackingAddRq>");
  EXPECT_EQ(Code(bad), 3020);
  EXPECT_STREQ(bad.attribute("statusMessage").value(),
               "There was an error when converting the time interval value \"1.5 hours\" in the "
               "field \"Duration\".");
}

TEST_F(PurchaseQueriesTest, ItemAndPendingFiltersFindAdjustmentsAndBuilds) {
  Ok("<AccountAddRq><AccountAdd><Name>Shrinkage</Name><AccountType>CostOfGoodsSold</AccountType>"
     "</AccountAdd></AccountAddRq>");
  auto adjust = [&](const std::string& item) {
    return Ok("<InventoryAdjustmentAddRq><InventoryAdjustmentAdd>" +
              Ref("AccountRef", "Shrinkage") +
              "<TxnDate>2024-03-02</TxnDate><InventoryAdjustmentLineAdd>" + Ref("ItemRef", item) +
              "<QuantityAdjustment><QuantityDifference>-1</QuantityDifference>"
              "</QuantityAdjustment></InventoryAdjustmentLineAdd></InventoryAdjustmentAdd>"
              "</InventoryAdjustmentAddRq>")
        .child("InventoryAdjustmentRet")
        .child_value("TxnID");
  };
  std::string hinge = adjust("Hinge"), bracket = adjust("Bracket");
  EXPECT_EQ(Ids("<InventoryAdjustmentQueryRq>" +
                    March("<ItemFilter><FullName>Bracket</FullName></ItemFilter>") +
                    "</InventoryAdjustmentQueryRq>",
                "InventoryAdjustmentRet"),
            (std::vector<std::string>{bracket}));
  EXPECT_EQ(Ids("<InventoryAdjustmentQueryRq><AccountFilter><FullName>Shrinkage</FullName>"
                "</AccountFilter></InventoryAdjustmentQueryRq>",
                "InventoryAdjustmentRet"),
            (std::vector<std::string>{hinge, bracket}));
  // A service is never adjusted.
  EXPECT_EQ(Code(First("<InventoryAdjustmentAddRq><InventoryAdjustmentAdd>" +
                       Ref("AccountRef", "Shrinkage") + "<InventoryAdjustmentLineAdd>" +
                       Ref("ItemRef", "Consulting") +
                       "<QuantityAdjustment><QuantityDifference>1</QuantityDifference>"
                       "</QuantityAdjustment></InventoryAdjustmentLineAdd>"
                       "</InventoryAdjustmentAdd></InventoryAdjustmentAddRq>")),
            3180);

  auto build = [&](const std::string& quantity) {
    return Ok("<BuildAssemblyAddRq><BuildAssemblyAdd>" +
              Ref("ItemInventoryAssemblyRef", "Widget Kit") +
              "<TxnDate>2024-03-03</TxnDate><QuantityToBuild>" + quantity +
              "</QuantityToBuild><MarkPendingIfRequired>true</MarkPendingIfRequired>"
              "</BuildAssemblyAdd></BuildAssemblyAddRq>")
        .child("BuildAssemblyRet")
        .child_value("TxnID");
  };
  std::string built = build("1"), waiting = build("100000");
  EXPECT_EQ(Ids("<BuildAssemblyQueryRq>" + March("<PendingStatus>NotPendingOnly</PendingStatus>") +
                    "</BuildAssemblyQueryRq>",
                "BuildAssemblyRet"),
            (std::vector<std::string>{built}));
  EXPECT_EQ(Ids("<BuildAssemblyQueryRq>" +
                    March("<ItemFilter><FullName>Widget Kit</FullName></ItemFilter>") +
                    "</BuildAssemblyQueryRq>",
                "BuildAssemblyRet"),
            (std::vector<std::string>{built, waiting}));
  // Component lines only when asked for.
  EXPECT_FALSE(First("<BuildAssemblyQueryRq><TxnID>" + built + "</TxnID></BuildAssemblyQueryRq>")
                   .child("BuildAssemblyRet")
                   .child("ComponentItemLineRet"));
  EXPECT_TRUE(First("<BuildAssemblyQueryRq><TxnID>" + built +
                    "</TxnID><IncludeComponentLineItems>true</IncludeComponentLineItems>"
                    "</BuildAssemblyQueryRq>")
                  .child("BuildAssemblyRet")
                  .child("ComponentItemLineRet"));
}

TEST_F(PurchaseQueriesTest, BillsAreFoundByVendorAccountPaidStatusAndIterator) {
  std::vector<std::string> vendors;
  for (auto v : Ok("<VendorQueryRq><MaxReturned>2</MaxReturned></VendorQueryRq>").children())
    vendors.push_back(v.child_value("Name"));
  auto bill = [&](const std::string& vendor, const std::string& account) {
    return Ok("<BillAddRq><BillAdd>" + Ref("VendorRef", vendor) +
              "<TxnDate>2024-03-04</TxnDate><ExpenseLineAdd>" + Ref("AccountRef", account) +
              "<Amount>10.00</Amount></ExpenseLineAdd></BillAdd></BillAddRq>")
        .child("BillRet")
        .child_value("TxnID");
  };
  std::string rent = bill(vendors[0], "Rent"), phone = bill(vendors[1], "Utilities:Telephone"),
              more = bill(vendors[1], "Rent");
  Ok("<BillPaymentCreditCardAddRq><BillPaymentCreditCardAdd>" + Ref("PayeeEntityRef", vendors[1]) +
     Ref("CreditCardAccountRef", "Company Card") + "<AppliedToTxnAdd><TxnID>" + phone +
     "</TxnID><PaymentAmount>10.00</PaymentAmount></AppliedToTxnAdd>"
     "</BillPaymentCreditCardAdd></BillPaymentCreditCardAddRq>");
  EXPECT_EQ(Ids("<BillQueryRq>" +
                    March("<EntityFilter><FullName>" + vendors[1] + "</FullName></EntityFilter>") +
                    "</BillQueryRq>",
                "BillRet"),
            (std::vector<std::string>{phone, more}));
  EXPECT_EQ(Ids("<BillQueryRq>" +
                    March("<AccountFilter><FullNameWithChildren>Utilities</FullNameWithChildren>"
                          "</AccountFilter>") +
                    "</BillQueryRq>",
                "BillRet"),
            (std::vector<std::string>{phone}));
  EXPECT_EQ(Ids("<BillQueryRq>" + March("<PaidStatus>PaidOnly</PaidStatus>") + "</BillQueryRq>",
                "BillRet"),
            (std::vector<std::string>{phone}));
  EXPECT_EQ(Ids("<BillQueryRq>" + March("<PaidStatus>NotPaidOnly</PaidStatus>") + "</BillQueryRq>",
                "BillRet"),
            (std::vector<std::string>{rent, more}));
  pugi::xml_node page = Ok("<BillQueryRq iterator=\"Start\"><MaxReturned>2</MaxReturned>" +
                           March() + "</BillQueryRq>");
  EXPECT_STREQ(page.attribute("iteratorRemainingCount").value(), "1");
  std::string next = "<BillQueryRq iterator=\"Continue\" iteratorID=\"" +
                     std::string(page.attribute("iteratorID").value()) +
                     "\"><MaxReturned>2</MaxReturned></BillQueryRq>";
  EXPECT_EQ(Ids(next, "BillRet"), (std::vector<std::string>{more}));
}

}  // namespace
}  // namespace brennock::testing
