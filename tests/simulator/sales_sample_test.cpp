// The simulator's payment, sales order and sales receipt answers against real QuickBooks answers
// from the public samples: every element path of theirs, in their order.
#include <string>
#include <vector>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class SalesSampleTest : public BooksTest {
 protected:
  // The element paths of the first <ret> of a sample: a qbXML answer, or one carried as the text
  // of a Web Connector <response> (some samples are not well-formed around it, so the record is
  // cut out of the text before it is parsed).
  static std::vector<std::string> RealPaths(const std::string& file, const std::string& ret) {
    std::string text = ReadQbxmlFile(file);
    pugi::xml_document soap;
    if (text.find("<soap:Envelope") != std::string::npos && soap.load_string(text.c_str()))
      text = soap.select_node("//*[local-name()='response']").node().text().get();
    size_t start = text.find("<" + ret + ">");
    size_t end = text.find("</" + ret + ">");
    EXPECT_NE(start, std::string::npos) << file;
    std::string record = text.substr(start, end + ret.size() + 3 - start);
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(record.c_str())) << file;
    std::vector<std::string> paths;
    Paths(doc.first_child(), "", paths);
    EXPECT_GT(paths.size(), 20u) << file;
    return paths;
  }

  // Our paths that the real answer has, in our order: equal to theirs when we answer every
  // element of theirs in the same order.
  static std::vector<std::string> Ours(pugi::xml_node ret, const std::vector<std::string>& real) {
    std::vector<std::string> produced, shared;
    Paths(ret, "", produced);
    for (const auto& path : produced)
      if (std::find(real.begin(), real.end(), path) != real.end()) shared.push_back(path);
    return shared;
  }

  // Three street lines and a country: the printed block has all five lines the samples show.
  static std::string Address(const std::string& kind) {
    return "<" + kind +
           "Address><Addr1>Tom Test</Addr1><Addr2>Unit 4</Addr2><Addr3>123 Test St</Addr3>"
           "<City>Concord</City><State>MA</State><PostalCode>01742</PostalCode>"
           "<Country>United States</Country></" +
           kind + "Address>";
  }

  void SetUp() override {
    BooksTest::SetUp();
    Ok("<CustomerAddRq><CustomerAdd><Name>Sample Shopper</Name>" + Ref("SalesTaxCodeRef", "Tax") +
       "</CustomerAdd></CustomerAddRq>");
  }
};

TEST_F(SalesSampleTest, PaymentsAnswerEveryElementOfTheRealOnes) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  const auto customer = Ref("CustomerRef", "Sample Shopper");
  std::string invoice =
      Ok("<InvoiceAddRq><InvoiceAdd>" + customer + "<RefNumber>OP13988" + "</RefNumber>" +
         Line("Consulting", "1") + "</InvoiceAdd></InvoiceAddRq>")
          .child("InvoiceRet")
          .child_value("TxnID");
  auto real = RealPaths("samples/flowlink/receive_payment_add_rs.xml", "ReceivePaymentRet");
  pugi::xml_node added =
      Ok("<ReceivePaymentAddRq><ReceivePaymentAdd>" + customer +
         "<TxnDate>2014-03-02</TxnDate><RefNumber>R154817935</RefNumber><TotalAmount>210.00"
         "</TotalAmount>" +
         Ref("PaymentMethodRef", "Check") +
         "<IsAutoApply>false</IsAutoApply></ReceivePaymentAdd></ReceivePaymentAddRq>")
          .child("ReceivePaymentRet");
  EXPECT_EQ(Ours(added, real), real);

  // Paid by card and applied: the card's details and the invoice it paid.
  real = RealPaths("samples/qbxml-gem/responses/receive_payment_query_rs.xml", "ReceivePaymentRet");
  std::string id =
      Ok("<ReceivePaymentAddRq><ReceivePaymentAdd>" + customer +
         "<TxnDate>2009-10-02</TxnDate><RefNumber>101</RefNumber><TotalAmount>95.00"
         "</TotalAmount>" +
         Ref("PaymentMethodRef", "Visa") +
         "<CreditCardTxnInfo><CreditCardTxnInputInfo><CreditCardNumber>xxxxxxxxxxxx1234"
         "</CreditCardNumber><ExpirationMonth>1</ExpirationMonth><ExpirationYear>2011"
         "</ExpirationYear><NameOnCard>Greg F</NameOnCard><TransactionMode>CardNotPresent"
         "</TransactionMode></CreditCardTxnInputInfo><CreditCardTxnResultInfo><ResultCode>0"
         "</ResultCode><ResultMessage>APPROVED</ResultMessage><CreditCardTransID>T1"
         "</CreditCardTransID><MerchantAccountNumber>M1</MerchantAccountNumber><PaymentStatus>"
         "Completed</PaymentStatus><TxnAuthorizationTime>2009-10-02T10:00:00"
         "</TxnAuthorizationTime></CreditCardTxnResultInfo></CreditCardTxnInfo>"
         "<AppliedToTxnAdd><TxnID>" +
         invoice +
         "</TxnID><PaymentAmount>95.00</PaymentAmount></AppliedToTxnAdd></ReceivePaymentAdd>"
         "</ReceivePaymentAddRq>")
          .child("ReceivePaymentRet")
          .child_value("TxnID");
  pugi::xml_node queried =
      Ok("<ReceivePaymentQueryRq><TxnID>" + id + "</TxnID></ReceivePaymentQueryRq>")
          .child("ReceivePaymentRet");
  EXPECT_EQ(Ours(queried, real), real);
}

TEST_F(SalesSampleTest, SalesOrdersAndReceiptsAnswerEveryElementOfTheRealOnes) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  const auto customer = Ref("CustomerRef", "Sample Shopper");
  pugi::xml_node order =
      Ok("<SalesOrderAddRq><SalesOrderAdd>" + customer + "<TxnDate>2014-02-03</TxnDate>" +
         Address("Bill") + Address("Ship") +
         "<PONumber>R154085346875</PONumber><IsToBePrinted>true</IsToBePrinted>"
         "<SalesOrderLineAdd>" +
         Ref("ItemRef", "Gadget") +
         "<Quantity>2</Quantity><Rate>100.00</Rate></SalesOrderLineAdd></SalesOrderAdd>"
         "</SalesOrderAddRq>")
          .child("SalesOrderRet");
  for (const char* file :
       {"samples/flowlink/sales_order_add_rs.xml", "samples/flowlink/sales_order_add_rs_raw.xml"}) {
    auto real = RealPaths(file, "SalesOrderRet");
    EXPECT_EQ(Ours(order, real), real) << file;
  }

  auto real = RealPaths("samples/qbxml-gem/responses/sales_receipt_add_rs.xml", "SalesReceiptRet");
  pugi::xml_node receipt =
      Ok("<SalesReceiptAddRq><SalesReceiptAdd>" + customer +
         "<TxnDate>2009-01-09</TxnDate><RefNumber>16466</RefNumber>" + Address("Bill") +
         "<IsPending>true</IsPending><IsToBePrinted>true</IsToBePrinted><SalesReceiptLineAdd>" +
         Ref("ItemRef", "Consulting") +
         "<Quantity>1</Quantity><Rate>150.00</Rate></SalesReceiptLineAdd><SalesReceiptLineAdd>" +
         Ref("ItemRef", "Delivery") +
         "<Amount>0.00</Amount></SalesReceiptLineAdd></SalesReceiptAdd></SalesReceiptAddRq>")
          .child("SalesReceiptRet");
  EXPECT_EQ(Ours(receipt, real), real);
  EXPECT_EQ(std::string(receipt.child_value("TotalAmount")), "150.00");
}

}  // namespace
}  // namespace brennock::testing
