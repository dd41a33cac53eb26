// The simulator's invoice answer against a real QuickBooks answer from the public samples.
#include <set>
#include <string>
#include <vector>

#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

using InvoiceSampleTest = BooksTest;

TEST_F(InvoiceSampleTest, AnswersEveryElementOfTheRealInvoiceInItsOrder) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  // The sample is a Web Connector exchange: the qbXML answer is the text of <response>.
  pugi::xml_document soap;
  ASSERT_TRUE(soap.load_string(ReadQbxmlFile("samples/flowlink/invoice_add_rs.xml").c_str()));
  std::string answer = soap.select_node("//*[local-name()='response']").node().text().get();
  pugi::xml_document real;
  ASSERT_TRUE(real.load_string(answer.c_str()));
  std::vector<std::string> expected;
  Paths(real.select_node("//InvoiceRet").node(), "", expected);
  ASSERT_GT(expected.size(), 40u);

  std::string customer = First("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>")
                             .child("CustomerRet")
                             .child_value("FullName");
  // Two street lines, so that the printed block has three lines as the real one has.
  auto address = [](const std::string& kind) {
    return "<" + kind +
           "Address><Addr1>Spree Shop</Addr1><Addr2>1234 Awesome Street</Addr2>"
           "<City>Hollywood</City><State>CA</State><PostalCode>90210</PostalCode>"
           "<Country>USA</Country></" +
           kind + "Address>";
  };
  pugi::xml_node ours =
      Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", customer) +
         "<TxnDate>2014-02-03</TxnDate><RefNumber>R1TT46883</RefNumber>" + address("Bill") +
         address("Ship") + "<IsToBePrinted>true</IsToBePrinted>" +
         Line("Gadget", "2", "<Rate>103.00</Rate>") + "</InvoiceAdd></InvoiceAddRq>")
          .child("InvoiceRet");
  std::vector<std::string> produced;
  Paths(ours, "", produced);
  std::vector<std::string> in_our_order;
  for (const auto& path : produced)
    if (std::find(expected.begin(), expected.end(), path) != expected.end())
      in_our_order.push_back(path);
  EXPECT_EQ(in_our_order, expected);  // every path there, and in the same order
  EXPECT_EQ(std::string(ours.child_value("Subtotal")), "206.00");
  EXPECT_EQ(std::string(ours.child_value("IsToBePrinted")), "true");
}

}  // namespace
}  // namespace brennock::testing
