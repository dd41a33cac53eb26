// The other sales forms, customer payments and deposits end to end through the library against
// the simulated QuickBooks in strict-schema mode: an estimate billed by an invoice, a return, two
// payments, a cash sale and the bank deposit, every figure worked out by hand.
#include <map>
#include <string>
#include <vector>

#include "tests/lists/simulator_fixture.h"
#include "tests/transactions/txn_test_helpers.h"

namespace brennock::testing {
namespace sales_payments_simulator_test {
namespace {

class SalesPaymentsSimulatorTest : public SimulatorListsTest {
 protected:
  // No sample sales: Undeposited Funds holds only what the test receives.
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    // The company's preferences, as a connection loads them: new forms take their defaults.
    xmlBldr builder;
    std::shared_ptr<XmlDocument> prefs = builder.QueryFullTableExecute("PreferencesQueryRq", 0);
    Session().company->Preferences()->FromDom(
        prefs->documentElement().childNodes().item(0).childNodes().item(0).childNodes().item(0));
    auto customers = Session().company->Customers();
    auto customer = customers->Add("Ledger Lane Ltd");
    customer->SetTerms("Net 30");
    customer->SetSalesTaxCode("Tax");
    ASSERT_EQ(customers->Commit(), 0);
  }

  // The balances the test moves, in cents, as QuickBooks answers them.
  std::map<std::string, int64_t> Books() {
    auto cents = [](Currency value) { return value.Scaled() / 100; };
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    auto balance = [&](const std::string& name) { return cents(accounts->Item(name)->Balance()); };
    auto customers = std::make_shared<Customers>();
    return {{"customer", cents(customers->GetByFullName("Ledger Lane Ltd")->Balance())},
            {"A/R", balance("Accounts Receivable")},
            {"Undeposited", balance("Undeposited Funds")},
            {"Checking", balance("Checking")},
            {"Draw", balance("Owner's Equity:Owner's Draw")},
            {"Services", balance("Services")},
            {"Sales", balance("Sales")},
            {"Discounts", balance("Discounts Given")},
            {"Tax", balance("Sales Tax Payable")}};
  }

  std::string LastRequest() const { return recorder_->Requests().back().text; }
};

TEST_F(SalesPaymentsSimulatorTest, EstimateToDepositThroughTheLibrary) {
  const auto before = Books();
  Company& company = *Session().company;

  // Four hours of consulting at 95.00 (not taxable) and ten widgets at 12.00 (taxable, 7.25 %):
  // 380.00 + 120.00 = 500.00; tax 8.70; total 508.70. Worked out locally as QuickBooks does.
  auto estimate = company.Estimates()->Add("Ledger Lane Ltd", "EST-1", Date::FromDate(2023, 10, 2));
  estimate->ItemLines()->Add("Consulting", 4);
  estimate->ItemLines()->Add("Widget", 10);
  EXPECT_EQ(estimate->Subtotal(), C("500.00"));
  EXPECT_EQ(estimate->SalesTaxTotal(), C("8.70"));
  EXPECT_EQ(estimate->Total(), C("508.70"));
  ASSERT_EQ(company.Estimates()->Commit(), 1);
  EXPECT_NE(LastRequest().find("<IsActive>1</IsActive>"), std::string::npos);
  EXPECT_EQ(LastRequest().find("ShipDate"), std::string::npos);
  EXPECT_EQ(estimate->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(estimate->Total(), C("508.70"));
  EXPECT_TRUE(estimate->IsActive());

  // The invoice bills three of the four hours and all the widgets, each line linked to the
  // estimate's: 285.00 + 120.00 = 405.00; tax 8.70; 413.70 owed.
  auto invoice = company.Invoices()->Add("Ledger Lane Ltd", "INV-1", Date::FromDate(2023, 10, 9));
  for (int i = 1; i <= 2; ++i) {
    auto from = estimate->ItemLines()->Item(i);
    auto line = invoice->ItemLines()->Add(from->Item(), i == 1 ? 3.0f : from->Quantity());
    line->SetLinkedTxnId(estimate->TxnId());
    line->SetLinkedTxnLineId(from->TxnLineId());
  }
  EXPECT_EQ(invoice->Subtotal(), C("405.00"));
  EXPECT_EQ(invoice->SalesTaxTotal(), C("8.70"));
  ASSERT_EQ(company.Invoices()->Commit(), 1);
  EXPECT_NE(LastRequest().find("<LinkToTxn><TxnID>" + estimate->TxnId()), std::string::npos);
  EXPECT_EQ(invoice->Subtotal(), C("405.00"));
  EXPECT_EQ(invoice->BalanceRemaining(), C("413.70"));
  auto estimates = std::make_shared<Estimates>();
  estimates->SetIncludeLinkedTxns(true);
  auto billed = estimates->GetByTxnID(estimate->TxnId());
  ASSERT_NE(billed, nullptr);
  ASSERT_EQ(billed->LinkedTxns()->Count(), 1);
  EXPECT_EQ(billed->LinkedTxns()->Item(1)->TxnId(), invoice->TxnId());
  EXPECT_EQ(billed->LinkedTxns()->Item(1)->Amount(), C("405.00"));

  // Two widgets come back: 24.00 and 7.25 % of it, 1.74: a credit of 25.74.
  auto credit = company.CreditMemos()->Add("Ledger Lane Ltd", "CM-1", Date::FromDate(2023, 10, 12));
  credit->ItemLines()->Add("Widget", 2);
  EXPECT_EQ(credit->Total(), C("25.74"));
  ASSERT_EQ(company.CreditMemos()->Commit(), 1);
  EXPECT_EQ(credit->Total(), C("25.74"));
  EXPECT_EQ(credit->CreditRemaining(), C("25.74"));

  // A check for 400.00: 380.00 on the invoice with a 5.00 discount and the credit memo's 25.74.
  // Locally the payment keeps Total - (payments + discounts + credits) = 400.00 - 410.74 =
  // -10.74; QuickBooks answers its own unused payment, 400.00 - 380.00 = 20.00. The invoice
  // keeps 413.70 - 380.00 - 5.00 - 25.74 = 2.96 open.
  auto payments = company.ReceivePayments();
  auto payment = payments->Add("Ledger Lane Ltd", "1001", Date::FromDate(2023, 10, 20), {}, "Check",
                               {}, C("400.00"));
  auto applied =
      payment->AppliedToTxns()->Add(invoice->TxnId(), C("380.00"), C("5.00"), "Discounts Given");
  applied->Credits()->AddCredit(credit->TxnId(), C("25.74"));
  EXPECT_EQ(payment->UnusedPayment(), C("-10.74"));
  ASSERT_EQ(payments->Commit(), 1);
  EXPECT_EQ(payment->UnusedPayment(), C("20.00"));
  EXPECT_EQ(payment->DepositToAccount(), "Undeposited Funds");
  ASSERT_EQ(payment->AppliedToTxns()->Count(), 1);
  EXPECT_EQ(payment->AppliedToTxns()->Item(1)->TxnType(), qoObjectTypeInvoice);
  EXPECT_EQ(payment->AppliedToTxns()->Item(1)->BalanceRemaining(), C("2.96"));
  EXPECT_EQ(payment->AppliedToTxns()->Item(1)->DiscountAmount(), C("5.00"));
  auto open = std::make_shared<Invoices>()->GetByTxnID(invoice->TxnId());
  EXPECT_FALSE(open->IsPaid());
  EXPECT_EQ(open->BalanceRemaining(), C("2.96"));
  EXPECT_EQ(std::make_shared<CreditMemos>()->GetByTxnID(credit->TxnId())->CreditRemaining(),
            Currency());

  // The rest with IsAutoApply: QuickBooks finds the one open invoice of exactly 2.96.
  auto rest = payments->Add("Ledger Lane Ltd", {}, Date::FromDate(2023, 10, 23), {}, {}, {},
                            C("2.96"), true);
  ASSERT_EQ(payments->Commit(rest), 1);
  EXPECT_NE(LastRequest().find("<TotalAmount>2.96</TotalAmount><IsAutoApply>true</IsAutoApply>"
                               "</ReceivePaymentAdd>"),
            std::string::npos);
  ASSERT_EQ(rest->AppliedToTxns()->Count(), 1);
  EXPECT_EQ(rest->AppliedToTxns()->Item(1)->TxnId(), invoice->TxnId());
  EXPECT_EQ(rest->UnusedPayment(), Currency());
  auto paid = std::make_shared<Invoices>()->GetByTxnID(invoice->TxnId());
  EXPECT_TRUE(paid->IsPaid());
  EXPECT_EQ(paid->BalanceRemaining(), Currency());

  // A cash sale: 10 x 4.50 hardware = 45.00, tax 7.25 % = 3.2625, 3.26 (half away from zero);
  // 48.26 into Undeposited Funds.
  auto receipt =
      company.SalesReceipts()->Add("Ledger Lane Ltd", "2044", {}, Date::FromDate(2023, 10, 24));
  receipt->ItemLines()->Add("Hardware", 10);
  EXPECT_EQ(receipt->Subtotal(), C("45.00"));
  // The tax item keeps four decimals; the total takes the tax to the cent as QuickBooks does.
  EXPECT_EQ(receipt->SalesTaxTotal(), C("3.2625"));
  EXPECT_EQ(receipt->Total(), C("48.26"));
  const auto beforeSale = Books();
  ASSERT_EQ(company.SalesReceipts()->Commit(), 1);
  // Paid on the spot: the money waits in Undeposited Funds, the customer owes nothing more.
  auto sold = Books();
  for (auto& [name, value] : sold) value -= beforeSale.at(name);
  EXPECT_EQ(sold, (std::map<std::string, int64_t>{{"customer", 0},
                                                  {"A/R", 0},
                                                  {"Undeposited", 4826},
                                                  {"Checking", 0},
                                                  {"Draw", 0},
                                                  {"Services", 0},
                                                  {"Sales", 4500},
                                                  {"Discounts", 0},
                                                  {"Tax", 326}}));
  EXPECT_EQ(receipt->SalesTaxTotal(), C("3.26"));
  EXPECT_EQ(receipt->Total(), C("48.26"));
  EXPECT_EQ(receipt->DepositToAccount(), "Undeposited Funds");

  // What waits for the bank: 400.00 + 2.96 + 48.26 = 451.22, all of it deposited but 50.00
  // kept back for the owner: 401.22 into checking.
  auto waiting = company.UndepositedFunds();
  ASSERT_EQ(waiting->GetAll(), 3);
  std::vector<std::string> seen;
  for (const auto& fund : *waiting)
    seen.push_back(std::to_string(fund->TxnType()) + " " + fund->Amount().ToString());
  EXPECT_EQ(seen, (std::vector<std::string>{"41 400", "41 2.96", "38 48.26"}));
  auto deposit = company.Deposits()->Add("Checking", "Week 43", Date::FromDate(2023, 10, 25),
                                         "Owner's Equity:Owner's Draw", {}, C("50.00"));
  for (const auto& fund : *waiting) deposit->DepositLines()->Add(fund->TxnId());
  ASSERT_EQ(company.Deposits()->Commit(), 1);
  EXPECT_EQ(deposit->Total(), C("401.22"));
  ASSERT_EQ(deposit->DepositLines()->Count(), 3);
  EXPECT_EQ(deposit->DepositLines()->Item(1)->CheckNumber(), "1001");
  EXPECT_EQ(deposit->DepositLines()->Item(3)->Amount(), C("48.26"));
  EXPECT_EQ(std::make_shared<UndepositedFunds>()->GetAll(), 0);
  // A deposit is changed in place (qbXML 7.0 and later): its lines go back with their IDs.
  deposit->SetMemo("Week 43, counted twice");
  ASSERT_EQ(company.Deposits()->Commit(), 1);
  EXPECT_NE(LastRequest().find("<DepositMod><TxnID>" + deposit->TxnId()), std::string::npos)
      << LastRequest();
  EXPECT_EQ(deposit->Memo(), "Week 43, counted twice");
  EXPECT_EQ(deposit->Total(), C("401.22"));

  // Customer and A/R: +413.70 - 25.74 - 410.74 + 25.74 - 20.00 - 2.96 = -20.00 (the unused
  // payment, a credit). Services 285.00; sales 120.00 - 24.00 + 45.00 = 141.00; the discount
  // 5.00; tax 8.70 - 1.74 + 3.26 = 10.22. Undeposited Funds back where it was; checking
  // +401.22; the owner's draw 50.00.
  std::map<std::string, int64_t> moved = {
      {"customer", -2000}, {"A/R", -2000},     {"Undeposited", 0},
      {"Checking", 40122}, {"Draw", -5000},    {"Services", 28500},
      {"Sales", 14100},    {"Discounts", 500}, {"Tax", 1022}};
  auto after = Books();
  for (auto& [name, value] : after) value -= before.at(name);
  EXPECT_EQ(after, moved);
}

TEST_F(SalesPaymentsSimulatorTest, SalesOrdersAndChargesRoundTrip) {
  Company& company = *Session().company;
  // A sales order for five widgets, one line closed by hand: 60.00 + 4.35 tax = 64.35.
  auto order = company.SalesOrders()->Add("Ledger Lane Ltd", "SO-1", Date::FromDate(2023, 11, 1));
  order->ItemLines()->Add("Widget", 5)->SetIsManuallyClosed(Currency(1));
  EXPECT_EQ(order->TotalAmount(), C("64.35"));
  ASSERT_EQ(company.SalesOrders()->Commit(), 1);
  EXPECT_NE(LastRequest().find("<SalesTaxCodeRef><FullName>Tax</FullName></SalesTaxCodeRef>"
                               "<IsManuallyClosed>1</IsManuallyClosed><Other1>"),
            std::string::npos)
      << LastRequest();
  EXPECT_EQ(order->TotalAmount(), C("64.35"));
  EXPECT_TRUE(order->IsManuallyClosed());  // every line closed
  // Only a sales order's lines are closed by hand.
  auto invoiceLine = company.Invoices()->Add()->ItemLines()->Add("Widget", 1);
  try {
    invoiceLine->SetIsManuallyClosed(Currency(1));
    ADD_FAILURE() << "an invoice line took IsManuallyClosed";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), vbObjectError + 2008);
  }
  company.Invoices()->Clear();
  EXPECT_FALSE(order->IsFullyInvoiced());

  // A statement charge of three hours at 95.00 = 285.00, then changed to four: 380.00.
  auto charge = company.StatementCharges()->Add({}, "Ledger Lane Ltd", "CH-1", "Consulting");
  charge->SetQuantity(3);
  EXPECT_EQ(charge->Amount(), C("285.00"));
  ASSERT_EQ(company.StatementCharges()->Commit(), 1);
  EXPECT_EQ(charge->BalanceRemaining(), C("285.00"));
  EXPECT_FALSE(charge->IsPaid());
  charge->SetQuantity(4);
  ASSERT_EQ(company.StatementCharges()->Commit(), 1);
  EXPECT_NE(LastRequest().find("<ChargeMod><TxnID>" + charge->TxnId()), std::string::npos);
  EXPECT_EQ(charge->BalanceRemaining(), C("380.00"));
  auto charges = std::make_shared<StatementCharges>();
  EXPECT_EQ(charges->GetBySingleEntity("Ledger Lane Ltd"), 1);
  EXPECT_EQ(charges->Item(1)->Amount(), C("380.00"));
  EXPECT_EQ(company.StatementCharges()->Delete(charge->TxnId()), 0);
  EXPECT_NE(LastRequest().find("<TxnDelType>Charge</TxnDelType>"), std::string::npos);
  EXPECT_EQ(charges->GetBySingleEntity("Ledger Lane Ltd"), 0);
}

}  // namespace
}  // namespace sales_payments_simulator_test
}  // namespace brennock::testing
