// A customer's year in small, end to end in strict mode: an estimate billed by an invoice, a
// return, payments with a discount and a credit, a cash sale, and the bank deposit; every balance
// checked against figures worked out by hand.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class SalesFlowTest : public BooksTest {
 protected:
  // No sample transactions: Undeposited Funds holds only what the test receives.
  simulator::CompanyFileOptions Options() override {
    simulator::CompanyFileOptions options = BooksTest::Options();
    options.sample->invoices = 0;
    return options;
  }

  void SetUp() override {
    BooksTest::SetUp();
    Ok("<CustomerAddRq><CustomerAdd><Name>Ledger Lane Ltd</Name>" + Ref("TermsRef", "Net 30") +
       Ref("SalesTaxCodeRef", "Tax") + Ref("ItemSalesTaxRef", "State Tax") +
       "</CustomerAdd></CustomerAddRq>");
  }

  std::map<std::string, int64_t> Books() {
    return {{"customer", CustomerBalance("Ledger Lane Ltd")},
            {"A/R", AccountBalance("Accounts Receivable")},
            {"Undeposited", AccountBalance("Undeposited Funds")},
            {"Checking", AccountBalance("Checking")},
            {"Draw", AccountBalance("Owner's Equity:Owner's Draw")},
            {"Services", AccountBalance("Services")},
            {"Sales", AccountBalance("Sales")},
            {"Discounts", AccountBalance("Discounts Given")},
            {"Tax", AccountBalance("Sales Tax Payable")},
            {"COGS", AccountBalance("Cost of Goods Sold")},
            {"Stock", AccountBalance("Inventory Asset")},
            {"Widgets", std::stoll(ItemField("Widget", "QuantityOnHand"))}};
  }

  pugi::xml_node Query(const std::string& stem, const std::string& id) {
    return Ok("<" + stem + "QueryRq><TxnID>" + id +
              "</TxnID><IncludeLineItems>true</IncludeLineItems><IncludeLinkedTxns>true"
              "</IncludeLinkedTxns></" +
              stem + "QueryRq>")
        .child((stem + "Ret").c_str());
  }
  static std::string Text(pugi::xml_node node, const char* child) {
    return node.child_value(child);
  }
};

TEST_F(SalesFlowTest, EstimateToDepositMovesEveryBalanceAsAnAccountantWould) {
  const auto before = Books();
  auto customer = Ref("CustomerRef", "Ledger Lane Ltd");
  pugi::xml_node estimate =
      Ok("<EstimateAddRq><EstimateAdd>" + customer +
         "<TxnDate>2023-10-02</TxnDate><RefNumber>EST-1</RefNumber>" + "<EstimateLineAdd>" +
         Ref("ItemRef", "Consulting") +
         "<Quantity>4</Quantity></EstimateLineAdd><EstimateLineAdd>" + Ref("ItemRef", "Widget") +
         "<Quantity>10</Quantity></EstimateLineAdd></EstimateAdd></EstimateAddRq>")
          .child("EstimateRet");
  // 4 x 95.00 = 380.00 (non-taxable) + 10 x 12.00 = 120.00; tax 7.25 % of 120.00 = 8.70.
  EXPECT_EQ(Text(estimate, "TotalAmount"), "508.70");
  EXPECT_EQ(Text(estimate, "IsActive"), "true");
  const std::string estimate_id = Text(estimate, "TxnID");
  std::vector<std::string> lines;
  for (auto l : estimate.children("EstimateLineRet")) lines.push_back(l.child_value("TxnLineID"));
  EXPECT_EQ(Moved(Books(), before), Moved(before, before));  // an estimate posts nothing

  // The invoice bills three of the four hours and all the widgets, taking the rest from the
  // estimate's lines: 3 x 95.00 = 285.00 + 120.00 = 405.00; tax 8.70; total 413.70.
  auto link = [&](const std::string& line, const std::string& extra = {}) {
    return "<InvoiceLineAdd>" + extra + "<LinkToTxn><TxnID>" + estimate_id + "</TxnID><TxnLineID>" +
           line + "</TxnLineID></LinkToTxn></InvoiceLineAdd>";
  };
  pugi::xml_node invoice =
      Ok("<InvoiceAddRq><InvoiceAdd>" + customer +
         "<TxnDate>2023-10-09</TxnDate><RefNumber>INV-1</RefNumber>" +
         link(lines[0], "<Quantity>3</Quantity>") + link(lines[1]) + "</InvoiceAdd></InvoiceAddRq>")
          .child("InvoiceRet");
  const std::string invoice_id = Text(invoice, "TxnID");
  EXPECT_EQ(Text(invoice, "Subtotal"), "405.00");
  EXPECT_EQ(Text(invoice, "BalanceRemaining"), "413.70");
  EXPECT_EQ(Text(invoice.child("InvoiceLineRet").next_sibling(), "Quantity"), "10");
  // Linked both ways, by the amount billed.
  for (auto [stem, id, other, type] :
       {std::tuple{"Estimate", estimate_id, invoice_id, "Invoice"},
        std::tuple{"Invoice", invoice_id, estimate_id, "Estimate"}}) {
    pugi::xml_node linked = Query(stem, id).child("LinkedTxn");
    EXPECT_EQ(Text(linked, "TxnID"), other);
    EXPECT_EQ(Text(linked, "TxnType"), type);
    EXPECT_EQ(Text(linked, "LinkType"), "QUANTYPE");
    EXPECT_EQ(Text(linked, "Amount"), "405.00");
  }

  // Two widgets come back: 24.00 + 7.25 % = 1.74; the credit is 25.74, the stock back at 7.00.
  pugi::xml_node credit = Ok("<CreditMemoAddRq><CreditMemoAdd>" + customer +
                             "<TxnDate>2023-10-12</TxnDate><RefNumber>CM-1</RefNumber>" +
                             "<CreditMemoLineAdd>" + Ref("ItemRef", "Widget") +
                             "<Quantity>2</Quantity></CreditMemoLineAdd></CreditMemoAdd>"
                             "</CreditMemoAddRq>")
                              .child("CreditMemoRet");
  EXPECT_EQ(Text(credit, "CreditRemaining"), "25.74");
  const std::string credit_id = Text(credit, "TxnID");

  // A check for 400.00: 380.00 on the invoice with a 5.00 discount and the credit memo. Left open
  // on the invoice: 413.70 - 380.00 - 5.00 - 25.74 = 2.96; unused: 400.00 - 380.00 = 20.00.
  pugi::xml_node payment =
      Ok("<ReceivePaymentAddRq><ReceivePaymentAdd>" + customer +
         "<TxnDate>2023-10-20</TxnDate><RefNumber>1001</RefNumber><TotalAmount>400.00"
         "</TotalAmount>" +
         Ref("PaymentMethodRef", "Check") + "<AppliedToTxnAdd><TxnID>" + invoice_id +
         "</TxnID><PaymentAmount>380.00</PaymentAmount><SetCredit><CreditTxnID>" + credit_id +
         "</CreditTxnID><AppliedAmount>25.74</AppliedAmount></SetCredit>"
         "<DiscountAmount>5.00</DiscountAmount>" +
         Ref("DiscountAccountRef", "Discounts Given") +
         "</AppliedToTxnAdd></ReceivePaymentAdd></ReceivePaymentAddRq>")
          .child("ReceivePaymentRet");
  const std::string payment_id = Text(payment, "TxnID");
  EXPECT_EQ(Text(payment, "UnusedPayment"), "20.00");
  EXPECT_EQ(Text(payment, "UnusedCredits"), "0.00");
  EXPECT_EQ(Text(payment.child("DepositToAccountRef"), "FullName"), "Undeposited Funds");
  pugi::xml_node applied = payment.child("AppliedToTxnRet");
  EXPECT_EQ(Text(applied, "BalanceRemaining"), "2.96");
  EXPECT_EQ(Text(applied, "DiscountAmount"), "5.00");
  EXPECT_EQ(Text(applied.child("LinkedTxn"), "Amount"), "-25.74");
  invoice = Query("Invoice", invoice_id);
  EXPECT_EQ(Text(invoice, "AppliedAmount"), "-410.74");
  EXPECT_EQ(Text(invoice, "IsPaid"), "false");
  EXPECT_EQ(Text(Query("CreditMemo", credit_id), "CreditRemaining"), "0.00");

  // The rest paid with IsAutoApply: the one open invoice of exactly that amount.
  pugi::xml_node rest = Ok("<ReceivePaymentAddRq><ReceivePaymentAdd>" + customer +
                           "<TxnDate>2023-10-23</TxnDate><TotalAmount>2.96</TotalAmount>"
                           "<IsAutoApply>true</IsAutoApply></ReceivePaymentAdd>"
                           "</ReceivePaymentAddRq>")
                            .child("ReceivePaymentRet");
  EXPECT_EQ(Text(rest.child("AppliedToTxnRet"), "TxnID"), invoice_id);
  EXPECT_EQ(Text(rest, "UnusedPayment"), "0.00");
  const std::string rest_id = Text(rest, "TxnID");
  invoice = Query("Invoice", invoice_id);
  EXPECT_EQ(Text(invoice, "IsPaid"), "true");
  EXPECT_EQ(Text(invoice, "BalanceRemaining"), "0.00");
  // What it billed from first, then what was applied to it by date: the check with its discount
  // and the credit it applied (380.00 + 5.00 + 25.74, 10-20) and the rest (10-23); 413.70 in all.
  std::vector<std::string> links;
  for (auto l : invoice.children("LinkedTxn"))
    links.push_back(Text(l, "TxnType") + " " + Text(l, "LinkType") + " " + Text(l, "Amount"));
  EXPECT_EQ(links,
            (std::vector<std::string>{"Estimate QUANTYPE 405.00", "ReceivePayment AMTTYPE -410.74",
                                      "ReceivePayment AMTTYPE -2.96"}));

  // A cash sale: 10 x 4.50 hardware = 45.00, tax 3.2625, 3.26; 48.26 into Undeposited Funds.
  pugi::xml_node receipt =
      Ok("<SalesReceiptAddRq><SalesReceiptAdd>" + customer +
         "<TxnDate>2023-10-24</TxnDate><SalesReceiptLineAdd>" + Ref("ItemRef", "Hardware") +
         "<Quantity>10</Quantity></SalesReceiptLineAdd></SalesReceiptAdd>"
         "</SalesReceiptAddRq>")
          .child("SalesReceiptRet");
  EXPECT_EQ(Text(receipt, "TotalAmount"), "48.26");
  const std::string receipt_id = Text(receipt, "TxnID");

  // What waits for the bank: 400.00 + 2.96 + 48.26 = 451.22.
  std::vector<std::string> waiting;
  for (auto r : Ok("<ReceivePaymentToDepositQueryRq/>").children("ReceivePaymentToDepositRet"))
    waiting.push_back(std::string(r.child_value("TxnType")) + " " + r.child_value("Amount"));
  EXPECT_EQ(waiting, (std::vector<std::string>{"ReceivePayment 400.00", "ReceivePayment 2.96",
                                               "SalesReceipt 48.26"}));
  std::string deposit_lines;
  for (const auto& id : {payment_id, rest_id, receipt_id})
    deposit_lines += "<DepositLineAdd><PaymentTxnID>" + id + "</PaymentTxnID></DepositLineAdd>";
  // 50.00 of it kept back as cash for the owner: 451.22 - 50.00 = 401.22 into checking.
  pugi::xml_node deposit = Ok("<DepositAddRq><DepositAdd><TxnDate>2023-10-25</TxnDate>" +
                              Ref("DepositToAccountRef", "Checking") + "<CashBackInfoAdd>" +
                              Ref("AccountRef", "Owner's Equity:Owner's Draw") +
                              "<Amount>50.00</Amount></CashBackInfoAdd>" + deposit_lines +
                              "</DepositAdd></DepositAddRq>")
                               .child("DepositRet");
  EXPECT_EQ(Text(deposit, "DepositTotal"), "401.22");
  EXPECT_EQ(Text(deposit.child("DepositLineRet"), "CheckNumber"), "1001");
  const std::string deposit_id = Text(deposit, "TxnID");
  EXPECT_EQ(Code(First("<ReceivePaymentToDepositQueryRq/>")), 1);

  // Customer and A/R: +413.70 - 25.74 - 410.74 + 25.74 - 20.00 - 2.96 = -20.00 (the unused
  // payment, a credit). Income: services 285.00; sales 120.00 - 24.00 + 45.00 = 141.00. Tax:
  // 8.70 - 1.74 + 3.26 = 10.22. Cost: 10 x 7.00 - 2 x 7.00 = 56.00 out of stock. Undeposited
  // Funds back where it was; checking +401.22; the owner's draw debited 50.00.
  const std::map<std::string, int64_t> moved = {
      {"customer", -2000}, {"A/R", -2000},      {"Undeposited", 0}, {"Checking", 40122},
      {"Draw", -5000},     {"Services", 28500}, {"Sales", 14100},   {"Discounts", 500},
      {"Tax", 1022},       {"COGS", 5600},      {"Stock", -5600},   {"Widgets", -8}};
  EXPECT_EQ(Moved(Books(), before), moved);

  // A deposited receipt keeps its total; a deposited payment stays until the deposit goes;
  // voided, the deposit gives them back.
  pugi::xml_node sold = Ok("<SalesReceiptQueryRq><TxnID>" + receipt_id +
                           "</TxnID><IncludeLineItems>true</IncludeLineItems>"
                           "</SalesReceiptQueryRq>")
                            .child("SalesReceiptRet");
  pugi::xml_node changed =
      First("<SalesReceiptModRq><SalesReceiptMod><TxnID>" + receipt_id + "</TxnID><EditSequence>" +
            Text(sold, "EditSequence") + "</EditSequence><SalesReceiptLineMod><TxnLineID>" +
            Text(sold.child("SalesReceiptLineRet"), "TxnLineID") +
            "</TxnLineID><Quantity>11</Quantity></SalesReceiptLineMod></SalesReceiptMod>"
            "</SalesReceiptModRq>");
  EXPECT_EQ(std::string(changed.attribute("statusMessage").value()),
            "There was an error when modifying a SalesReceipt.  QuickBooks error message: The "
            "sales receipt was deposited; its total and deposit account stay as they are.");
  pugi::xml_node refused = First("<TxnDelRq><TxnDelType>ReceivePayment</TxnDelType><TxnID>" +
                                 payment_id + "</TxnID></TxnDelRq>");
  EXPECT_EQ(Code(refused), 3170);
  EXPECT_EQ(std::string(refused.attribute("statusMessage").value()),
            "There was an error when deleting a ReceivePayment.  QuickBooks error message: Other "
            "transactions are linked to it (Deposit " +
                deposit_id + "); remove them first.");
  Ok("<TxnVoidRq><TxnVoidType>Deposit</TxnVoidType><TxnID>" + deposit_id + "</TxnID></TxnVoidRq>");
  EXPECT_EQ(AccountBalance("Undeposited Funds") - before.at("Undeposited"), 45122);
  pugi::xml_node voided =
      Ok("<DepositQueryRq><TxnID>" + deposit_id + "</TxnID></DepositQueryRq>").child("DepositRet");
  EXPECT_EQ(Text(voided, "DepositTotal"), "0.00");
  EXPECT_EQ(Text(voided.child("CashBackInfoRet"), "Amount"), "0.00");
  Ok("<TxnDelRq><TxnDelType>ReceivePayment</TxnDelType><TxnID>" + rest_id + "</TxnID></TxnDelRq>");
  EXPECT_EQ(Text(Query("Invoice", invoice_id), "BalanceRemaining"), "2.96");
}

TEST_F(SalesFlowTest, StatementChargesAndSalesTaxChecks) {
  const auto before = Books();
  // Two deliveries at 25.00 charged to the account, then paid by a payment applied to them.
  pugi::xml_node charge =
      Ok("<ChargeAddRq><ChargeAdd>" + Ref("CustomerRef", "Ledger Lane Ltd") +
         Ref("ItemRef", "Delivery") + "<Quantity>2</Quantity></ChargeAdd></ChargeAddRq>")
          .child("ChargeRet");
  EXPECT_EQ(Text(charge, "Amount"), "50.00");
  EXPECT_EQ(Text(charge, "BalanceRemaining"), "50.00");
  const std::string charge_id = Text(charge, "TxnID");
  Ok("<ReceivePaymentAddRq><ReceivePaymentAdd>" + Ref("CustomerRef", "Ledger Lane Ltd") +
     "<TotalAmount>50.00</TotalAmount><IsAutoApply>true</IsAutoApply></ReceivePaymentAdd>"
     "</ReceivePaymentAddRq>");
  EXPECT_EQ(
      Text(Ok("<ChargeQueryRq><TxnID>" + charge_id + "</TxnID></ChargeQueryRq>").child("ChargeRet"),
           "IsPaid"),
      "true");

  // The state is paid 30.00 of State Tax and 5.00 of County Tax out of checking.
  pugi::xml_node check =
      Ok("<SalesTaxPaymentCheckAddRq><SalesTaxPaymentCheckAdd>" +
         Ref("PayeeEntityRef", "State Board of Equalization") + "<TxnDate>2023-10-31</TxnDate>" +
         Ref("BankAccountRef", "Checking") + "<RefNumber>5001</RefNumber>" +
         "<SalesTaxPaymentCheckLineAdd>" + Ref("ItemSalesTaxRef", "State Tax") +
         "<Amount>30.00</Amount></SalesTaxPaymentCheckLineAdd><SalesTaxPaymentCheckLineAdd>" +
         Ref("ItemSalesTaxRef", "County Tax") +
         "<Amount>5.00</Amount></SalesTaxPaymentCheckLineAdd></SalesTaxPaymentCheckAdd>"
         "</SalesTaxPaymentCheckAddRq>")
          .child("SalesTaxPaymentCheckRet");
  EXPECT_EQ(Text(check, "Amount"), "35.00");
  auto found = [&](const std::string& item) {
    return Code(First("<SalesTaxPaymentCheckQueryRq><ItemFilter><FullName>" + item +
                      "</FullName></ItemFilter></SalesTaxPaymentCheckQueryRq>"));
  };
  EXPECT_EQ(found("County Tax"), 0);
  EXPECT_EQ(found("Widget"), 1);

  // A/R +50.00 - 50.00; the payment waits in Undeposited Funds; sales +50.00; the tax owed
  // -35.00 and checking -35.00.
  auto moved = Moved(Books(), before);
  EXPECT_EQ(moved["A/R"], 0);
  EXPECT_EQ(moved["Undeposited"], 5000);
  EXPECT_EQ(moved["Sales"], 5000);
  EXPECT_EQ(moved["Tax"], -3500);
  EXPECT_EQ(moved["Checking"], -3500);
}

}  // namespace
}  // namespace brennock::testing
