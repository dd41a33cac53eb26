// Sales orders billed by invoices: what each line has invoiced, when the order is fully invoiced
// and closed, and the quantity items have on sales orders.
#include <string>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class SalesOrderTest : public BooksTest {
 protected:
  simulator::CompanyFileOptions Options() override {
    simulator::CompanyFileOptions options = BooksTest::Options();
    options.sample->invoices = 0;  // no sample orders
    return options;
  }

  void SetUp() override {
    BooksTest::SetUp();
    for (const char* name : {"Order Co", "Other Co"})
      Ok("<CustomerAddRq><CustomerAdd><Name>" + std::string(name) +
         "</Name></CustomerAdd></CustomerAddRq>");
    // Ten widgets and four hinges ordered.
    pugi::xml_node order =
        Ok("<SalesOrderAddRq><SalesOrderAdd>" + Ref("CustomerRef", "Order Co") +
           "<RefNumber>SO-1</RefNumber><SalesOrderLineAdd>" + Ref("ItemRef", "Widget") +
           "<Quantity>10</Quantity></SalesOrderLineAdd><SalesOrderLineAdd>" +
           Ref("ItemRef", "Hinge") +
           "<Quantity>4</Quantity></SalesOrderLineAdd></SalesOrderAdd></SalesOrderAddRq>")
            .child("SalesOrderRet");
    order_ = order.child_value("TxnID");
    widget_line_ = order.child("SalesOrderLineRet").child_value("TxnLineID");
  }

  // "Invoiced/IsManuallyClosed" of each line, then the order's IsFullyInvoiced/IsManuallyClosed.
  std::vector<std::string> Lines() {
    pugi::xml_node ret = Ok("<SalesOrderQueryRq><TxnID>" + order_ +
                            "</TxnID><IncludeLineItems>true</IncludeLineItems>"
                            "</SalesOrderQueryRq>")
                             .child("SalesOrderRet");
    std::vector<std::string> state;
    for (auto line : ret.children("SalesOrderLineRet"))
      state.push_back(std::string(line.child_value("Invoiced")) + "/" +
                      line.child_value("IsManuallyClosed"));
    state.push_back(std::string(ret.child_value("IsFullyInvoiced")) + "/" +
                    ret.child_value("IsManuallyClosed"));
    return state;
  }
  std::string OnOrder(const std::string& item) { return ItemField(item, "QuantityOnSalesOrder"); }

  std::string order_, widget_line_;
};

using Expected = std::vector<std::string>;

TEST_F(SalesOrderTest, InvoicesBillOrdersUntilTheyCloseAndFreeThemWhenDeleted) {
  EXPECT_EQ(Lines(), (Expected{"0/false", "0/false", "false/false"}));
  EXPECT_EQ(OnOrder("Widget"), "10");
  EXPECT_EQ(OnOrder("Hinge"), "4");

  // Six widgets shipped first, by their line.
  Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Order Co") +
     "<InvoiceLineAdd><Quantity>6</Quantity><LinkToTxn><TxnID>" + order_ + "</TxnID><TxnLineID>" +
     widget_line_ + "</TxnLineID></LinkToTxn></InvoiceLineAdd></InvoiceAdd></InvoiceAddRq>");
  EXPECT_EQ(Lines(), (Expected{"6/false", "0/false", "false/false"}));
  EXPECT_EQ(OnOrder("Widget"), "4");

  // Then the rest of the order as a whole: 4 x 12.00 widgets + 4 x 6.25 hinges = 73.00.
  pugi::xml_node rest = Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Order Co") +
                           "<LinkToTxnID>" + order_ + "</LinkToTxnID></InvoiceAdd></InvoiceAddRq>")
                            .child("InvoiceRet");
  EXPECT_EQ(std::string(rest.child_value("Subtotal")), "73.00");
  const std::string rest_id = rest.child_value("TxnID");
  EXPECT_EQ(Lines(), (Expected{"10/true", "4/true", "true/true"}));
  EXPECT_EQ(OnOrder("Widget"), "0");
  EXPECT_EQ(OnOrder("Hinge"), "0");
  std::vector<std::string> links;
  for (auto l : Ok("<SalesOrderQueryRq><TxnID>" + order_ +
                   "</TxnID><IncludeLinkedTxns>true</IncludeLinkedTxns></SalesOrderQueryRq>")
                    .child("SalesOrderRet")
                    .children("LinkedTxn"))
    links.push_back(std::string(l.child_value("TxnType")) + " " + l.child_value("Amount"));
  EXPECT_EQ(links, (std::vector<std::string>{"Invoice 72.00", "Invoice 73.00"}));

  // An order its invoices bill stays; without the second invoice it is open again.
  pugi::xml_node refused = First("<TxnDelRq><TxnDelType>SalesOrder</TxnDelType><TxnID>" + order_ +
                                 "</TxnID></TxnDelRq>");
  EXPECT_EQ(Code(refused), 3170);
  Ok("<TxnDelRq><TxnDelType>Invoice</TxnDelType><TxnID>" + rest_id + "</TxnID></TxnDelRq>");
  EXPECT_EQ(Lines(), (Expected{"6/false", "0/false", "false/false"}));
  EXPECT_EQ(OnOrder("Widget"), "4");
}

TEST_F(SalesOrderTest, OnlyTheCustomersOpenOrdersCanBeBilled) {
  auto bill = [&](const std::string& customer) {
    return First("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", customer) + "<LinkToTxnID>" +
                 order_ + "</LinkToTxnID></InvoiceAdd></InvoiceAddRq>");
  };
  pugi::xml_node rs = bill("Other Co");
  EXPECT_EQ(Code(rs), 3180);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when saving a Invoice.  QuickBooks error message: The SalesOrder "
            "\"SO-1\" is for another customer.");

  // Closed by hand: nothing left on order, and nothing more billed from it.
  pugi::xml_node order = Ok("<SalesOrderQueryRq><TxnID>" + order_ + "</TxnID></SalesOrderQueryRq>")
                             .child("SalesOrderRet");
  Ok("<SalesOrderModRq><SalesOrderMod><TxnID>" + order_ + "</TxnID><EditSequence>" +
     order.child_value("EditSequence") +
     "</EditSequence><IsManuallyClosed>true</IsManuallyClosed></SalesOrderMod>"
     "</SalesOrderModRq>");
  EXPECT_EQ(OnOrder("Widget"), "0");
  EXPECT_EQ(Lines().back(), "false/true");
  rs = bill("Order Co");
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when saving a Invoice.  QuickBooks error message: The SalesOrder "
            "\"SO-1\" is closed.");
}

}  // namespace
}  // namespace brennock::testing
