// The simulator's bills and purchase orders against real QuickBooks answers from the public
// samples: every element path the real answer has, in the real answer's order.
#include <string>
#include <vector>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class PurchaseSamplesTest : public BooksTest {
 protected:
  // The paths of the first Ret of the sample, and ours in the order ours has them.
  void ExpectPathsOf(const char* sample, const char* ret, pugi::xml_node ours) {
    pugi::xml_document real;
    ASSERT_TRUE(real.load_string(ReadQbxmlFile(sample).c_str()));
    std::vector<std::string> expected, produced, in_our_order;
    Paths(real.select_node(("//" + std::string(ret)).c_str()).node(), "", expected);
    ASSERT_GT(expected.size(), 10u);
    Paths(ours, "", produced);
    for (const auto& path : produced)
      if (std::find(expected.begin(), expected.end(), path) != expected.end())
        in_our_order.push_back(path);
    EXPECT_EQ(in_our_order, expected);  // every path there, and in the same order
  }
};

TEST_F(PurchaseSamplesTest, BillsAnswerEveryElementOfTheRealBillInItsOrder) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  std::string vendor = First("<VendorQueryRq><MaxReturned>1</MaxReturned></VendorQueryRq>")
                           .first_child()
                           .child_value("Name");
  Ok("<BillAddRq><BillAdd>" + Ref("VendorRef", vendor) +
     "<TxnDate>2022-03-04</TxnDate><Memo>Office move</Memo><ExpenseLineAdd>" +
     Ref("AccountRef", "Office Supplies") +
     "<Amount>2000.00</Amount></ExpenseLineAdd></BillAdd></BillAddRq>");
  pugi::xml_node ours =
      Ok("<BillQueryRq><TxnDateRangeFilter><FromTxnDate>2022-03-04</FromTxnDate><ToTxnDate>"
         "2022-03-04</ToTxnDate></TxnDateRangeFilter></BillQueryRq>")
          .child("BillRet");
  ExpectPathsOf("samples/intuit/responses/BillQueryRs_LastResponse.xml", "BillRet", ours);
  EXPECT_STREQ(ours.child_value("AmountDue"), "2000.00");
  EXPECT_STREQ(ours.child_value("IsPaid"), "false");
  EXPECT_FALSE(ours.child("ExpenseLineRet"));  // lines only when asked for
}

TEST_F(PurchaseSamplesTest, PurchaseOrdersAnswerEveryElementOfTheRealOrderInItsOrder) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  std::string vendor = First("<VendorQueryRq><MaxReturned>1</MaxReturned></VendorQueryRq>")
                           .first_child()
                           .child_value("Name");
  // A custom field of QuickBooks' own (owner 0), as the real order carries three.
  Ok("<DataExtDefAddRq><DataExtDefAdd><OwnerID>0</OwnerID><DataExtName>Custom Field 1"
     "</DataExtName><DataExtType>STR255TYPE</DataExtType><AssignToObject>PurchaseOrder"
     "</AssignToObject></DataExtDefAdd></DataExtDefAddRq>");
  std::string id =
      Ok("<PurchaseOrderAddRq><PurchaseOrderAdd>" + Ref("VendorRef", vendor) +
         "<TxnDate>2010-09-27</TxnDate><RefNumber>1</RefNumber><ShipAddress><Addr1>SQL Mirror "
         "Test Company, LLC</Addr1></ShipAddress>" +
         Ref("TermsRef", "Net 60") + "<IsToBePrinted>true</IsToBePrinted><PurchaseOrderLineAdd>" +
         Ref("ItemRef", "Widget") +
         "<Desc>test</Desc><Quantity>5</Quantity><Rate>25.00</Rate></PurchaseOrderLineAdd>"
         "</PurchaseOrderAdd></PurchaseOrderAddRq>")
          .child("PurchaseOrderRet")
          .child_value("TxnID");
  Ok("<DataExtAddRq><DataExtAdd><OwnerID>0</OwnerID><DataExtName>Custom Field 1</DataExtName>"
     "<TxnDataExtType>PurchaseOrder</TxnDataExtType><TxnID>" +
     id + "</TxnID><DataExtValue>test 1</DataExtValue></DataExtAdd></DataExtAddRq>");
  pugi::xml_node ours = Ok("<PurchaseOrderQueryRq><TxnID>" + id +
                           "</TxnID><IncludeLineItems>true</IncludeLineItems><OwnerID>0</OwnerID>"
                           "</PurchaseOrderQueryRq>")
                            .child("PurchaseOrderRet");
  ExpectPathsOf("samples/qbxml-gem/responses/purchase_order_query_rs.xml", "PurchaseOrderRet",
                ours);
  EXPECT_STREQ(ours.child("TemplateRef").child_value("FullName"), "Custom Purchase Order");
  EXPECT_STREQ(ours.child_value("DueDate"), "2010-11-26");  // Net 60
  EXPECT_STREQ(ours.child_value("TotalAmount"), "125.00");
  EXPECT_STREQ(ours.child("PurchaseOrderLineRet").child_value("ReceivedQuantity"), "0");
}

}  // namespace
}  // namespace brennock::testing
