// Payments, deposits and charges QuickBooks refuses, with its statuses, and the books unmoved.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "simulator/company_file.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class PaymentRefusalTest : public BooksTest {
 protected:
  simulator::CompanyFileOptions Options() override {
    simulator::CompanyFileOptions options = BooksTest::Options();
    options.sample->invoices = 0;
    return options;
  }

  void SetUp() override {
    BooksTest::SetUp();
    for (const char* name : {"Payer Co", "Stranger Co"})
      Ok("<CustomerAddRq><CustomerAdd><Name>" + std::string(name) +
         "</Name></CustomerAdd></CustomerAddRq>");
    // 2 x 95.00 consulting, not taxable: 190.00 open.
    invoice_ =
        Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Payer Co") +
           "<RefNumber>R-1</RefNumber>" + Line("Consulting", "2") + "</InvoiceAdd></InvoiceAddRq>")
            .child("InvoiceRet")
            .child_value("TxnID");
    payment_ =
        Ok(Payment("Payer Co", "50.00", Applied(invoice_, "50.00"), "<RefNumber>P-1</RefNumber>"))
            .child("ReceivePaymentRet")
            .child_value("TxnID");
  }

  static std::string Applied(const std::string& id, const std::string& amount,
                             const std::string& extra = {}) {
    return "<AppliedToTxnAdd><TxnID>" + id + "</TxnID><PaymentAmount>" + amount +
           "</PaymentAmount>" + extra + "</AppliedToTxnAdd>";
  }
  static std::string Payment(const std::string& customer, const std::string& total,
                             const std::string& applied, const std::string& head = {}) {
    return "<ReceivePaymentAddRq><ReceivePaymentAdd>" + Ref("CustomerRef", customer) + head +
           (total.empty() ? "" : "<TotalAmount>" + total + "</TotalAmount>") + applied +
           "</ReceivePaymentAdd></ReceivePaymentAddRq>";
  }
  static std::string Deposit(const std::string& lines, const std::string& cash_back = {}) {
    return "<DepositAddRq><DepositAdd>" + Ref("DepositToAccountRef", "Checking") + cash_back +
           lines + "</DepositAdd></DepositAddRq>";
  }
  static std::string Deposited(const std::string& id) {
    return "<DepositLineAdd><PaymentTxnID>" + id + "</PaymentTxnID></DepositLineAdd>";
  }

  std::map<std::string, int64_t> Books() {
    return {{"A/R", AccountBalance("Accounts Receivable")},
            {"Undeposited", AccountBalance("Undeposited Funds")},
            {"Checking", AccountBalance("Checking")},
            {"Discounts", AccountBalance("Discounts Given")}};
  }

  std::string invoice_, payment_;
};

TEST_F(PaymentRefusalTest, RefusedWithQuickBooksStatusAndNothingPosted) {
  Ok(Deposit(Deposited(payment_)));
  const std::string saving =
      "There was an error when saving a ReceivePayment.  QuickBooks error "
      "message: ";
  const std::string depositing =
      "There was an error when saving a Deposit.  QuickBooks error "
      "message: ";
  const std::string other = Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Stranger Co") +
                               Line("Consulting", "1") + "</InvoiceAdd></InvoiceAddRq>")
                                .child("InvoiceRet")
                                .child_value("TxnID");
  const auto before = Books();
  const std::vector<std::pair<std::string, std::pair<int, std::string>>> cases = {
      // 140.00 is open (190.00 - 50.00).
      {Payment("Payer Co", "", Applied(invoice_, "150.00")),
       {3180, saving + "The amount applied to \"R-1\" (150.00) is more than its open balance "
                       "(140.00)."}},
      {Payment("Payer Co", "100.00", Applied(invoice_, "120.00")),
       {3180, saving + "The payments applied (120.00) are more than the payment's total "
                       "(100.00)."}},
      {Payment("Payer Co", "", Applied(invoice_, "90.00", "<DiscountAmount>5.00</DiscountAmount>")),
       {3180, saving + "The discount on \"R-1\" needs an account (DiscountAccountRef)."}},
      {Payment("Payer Co", "",
               Applied(invoice_, "90.00",
                       "<DiscountAmount>5.00</DiscountAmount>" +
                           Ref("DiscountAccountRef", "Checking"))),
       {3140,
        "There is an invalid reference to QuickBooks Account \"Checking\" in the "
        "ReceivePayment. QuickBooks error message: Invalid argument.  The specified record "
        "does not exist in the list."}},
      {Payment("Payer Co", "", Applied(other, "10.00")),
       {3120, "Object \"" + other + "\" specified in the request cannot be found."}},
      {Payment("Payer Co", "", Applied(invoice_, "10.00") + Applied(invoice_, "10.00")),
       {3180, saving + "The payment is applied to \"" + invoice_ + "\" more than once."}},
      {Deposit(Deposited(payment_)),
       {3180, depositing + "The ReceivePayment \"P-1\" has nothing in Undeposited Funds."}},
      {Deposit(""), {3180, depositing + "A deposit needs at least one line."}},
      {Deposit("<DepositLineAdd>" + Ref("AccountRef", "Interest Income") +
                   "<Amount>10.00</Amount></DepositLineAdd>",
               "<CashBackInfoAdd>" + Ref("AccountRef", "Owner's Equity:Owner's Draw") +
                   "<Amount>25.00</Amount></CashBackInfoAdd>"),
       {3180, depositing + "The cash back (25.00) is more than the deposit (10.00)."}},
      {"<ChargeAddRq><ChargeAdd>" + Ref("CustomerRef", "Payer Co") + Ref("ItemRef", "Widget") +
           "</ChargeAdd></ChargeAddRq>",
       {3180,
        "There was an error when saving a Charge.  QuickBooks error message: The item "
        "\"Widget\" cannot be charged on a statement."}},
  };
  for (const auto& [request, expected] : cases) {
    pugi::xml_node rs = First(request);
    EXPECT_EQ(Code(rs), expected.first) << request;
    EXPECT_EQ(std::string(rs.attribute("statusMessage").value()), expected.second);
  }
  EXPECT_EQ(Moved(Books(), before), Moved(before, before));
}

TEST_F(PaymentRefusalTest, CreditsAndUnusedPaymentsAreSpentOnce) {
  // 100.00 paid with nothing applied: all of it unused, a credit for the next payment.
  const std::string spare = Ok(Payment("Payer Co", "100.00", "<IsAutoApply>false</IsAutoApply>"))
                                .child("ReceivePaymentRet")
                                .child_value("TxnID");
  auto with_credit = [&](const std::string& amount) {
    return Payment("Payer Co", "",
                   Applied(invoice_, "0.00",
                           "<SetCredit><CreditTxnID>" + spare + "</CreditTxnID><AppliedAmount>" +
                               amount + "</AppliedAmount></SetCredit>"));
  };
  pugi::xml_node rs = First(with_credit("100.01"));
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when saving a ReceivePayment.  QuickBooks error message: The "
            "credit \"" +
                spare + "\" has 100.00 left, less than the 100.01 applied.");
  pugi::xml_node used = Ok(with_credit("60.00")).child("ReceivePaymentRet");
  EXPECT_EQ(std::string(used.child("AppliedToTxnRet").child_value("BalanceRemaining")), "80.00");
  // The spare payment keeps 40.00 unused, and cannot be cut below what was taken of it.
  pugi::xml_node ret =
      Ok("<ReceivePaymentQueryRq><TxnID>" + spare + "</TxnID></ReceivePaymentQueryRq>")
          .child("ReceivePaymentRet");
  EXPECT_EQ(std::string(ret.child_value("UnusedPayment")), "40.00");
  rs = First("<ReceivePaymentModRq><ReceivePaymentMod><TxnID>" + spare + "</TxnID><EditSequence>" +
             ret.child_value("EditSequence") +
             "</EditSequence><TotalAmount>50.00</TotalAmount></ReceivePaymentMod>"
             "</ReceivePaymentModRq>");
  EXPECT_EQ(Code(rs), 3170);
  EXPECT_EQ(std::string(rs.attribute("statusMessage").value()),
            "There was an error when modifying a ReceivePayment.  QuickBooks error message: The "
            "payment was deposited or its credit applied; its total and deposit account stay as "
            "they are.");
}

TEST_F(PaymentRefusalTest, APaymentFromTheCustomerPaysItsJobsOldestFirst) {
  Ok("<CustomerAddRq><CustomerAdd><Name>Roof</Name>" + Ref("ParentRef", "Payer Co") +
     "</CustomerAdd></CustomerAddRq>");
  Ok("<InvoiceAddRq><InvoiceAdd>" + Ref("CustomerRef", "Payer Co:Roof") +
     "<TxnDate>2020-01-01</TxnDate>" + Line("Consulting", "1") + "</InvoiceAdd></InvoiceAddRq>");
  // 95.00 on the job's invoice (the oldest), the rest on R-1: 120.00 - 95.00 = 25.00.
  pugi::xml_node ret = Ok(Payment("Payer Co", "120.00", "<IsAutoApply>true</IsAutoApply>"))
                           .child("ReceivePaymentRet");
  std::vector<std::string> applied;
  for (auto a : ret.children("AppliedToTxnRet"))
    applied.push_back(std::string(a.child_value("Amount")) + "/" +
                      a.child_value("BalanceRemaining"));
  EXPECT_EQ(applied, (std::vector<std::string>{"95.00/0.00", "25.00/115.00"}));
  EXPECT_EQ(CustomerBalance("Payer Co:Roof"), 0);
  EXPECT_EQ(CustomerBalance("Payer Co"), 11500);
}

}  // namespace
}  // namespace brennock::testing
