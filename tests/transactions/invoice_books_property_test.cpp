// Random sequences of invoices made, changed, voided and deleted through the library keep the
// simulated company's books true, as an accountant checks them: debits equal credits, receivables
// equal what customers owe and what open invoices leave unpaid, the inventory asset equals the
// stock at its average cost, and every invoice's local totals equal what QuickBooks computed.
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class InvoiceBooksPropertyTest : public SimulatorListsTest,
                                 public ::testing::WithParamInterface<unsigned> {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{GetParam(), 5, 0, 2, 0, 0, 0};
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    Session().errorMode = false;
    auto customers = std::make_shared<Customers>();
    customers->GetAll();
    for (const auto& customer : *customers) names_.push_back(customer->FullName());
    ASSERT_FALSE(names_.empty());
    // Whatever receivables the company opened with that are no invoice stay the same.
    baseline_ = Receivables() - OpenInvoices();
  }

  static int64_t Cents(Currency value) { return value.Scaled() / 100; }

  int64_t Receivables() {
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    return Cents(accounts->Item("Accounts Receivable")->Balance());
  }
  int64_t OpenInvoices() {
    auto invoices = std::make_shared<Invoices>();
    invoices->GetAll(false, 0, qbPaidStatusNotPaidOnly);
    int64_t open = 0;
    for (const auto& invoice : *invoices) open += Cents(invoice->BalanceRemaining());
    return open;
  }

  void CheckTheBooks(const std::string& step) {
    SCOPED_TRACE(step);
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    int64_t debits = 0, credits = 0, receivables = 0, stockValue = 0;
    for (const auto& account : *accounts) {
      const int64_t balance = Cents(account->Balance());
      switch (account->AccountType()) {
        case qbAccountsPayable:
        case qbCreditCard:
        case qbEquity:
        case qbIncome:
        case qbLongTermLiability:
        case qbOtherCurrentLiability:
        case qbOtherIncome:
          credits += balance;
          break;
        case qbNonPosting:
          break;
        default:
          debits += balance;
      }
      if (account->AccountType() == qbAccountsReceivable) receivables += balance;
      if (account->FullName() == "Inventory Asset") stockValue = balance;
    }
    EXPECT_EQ(debits, credits) << "the trial balance does not balance";

    auto customers = std::make_shared<Customers>();
    customers->GetAll();
    int64_t owed = 0;
    for (const auto& customer : *customers) owed += Cents(customer->Balance());
    EXPECT_EQ(receivables, owed);
    EXPECT_EQ(receivables - OpenInvoices(), baseline_);

    // Average costs are kept to five decimals; each item's value may differ by a rounding cent.
    auto items = std::make_shared<Items>();
    items->GetAll(qbItemInventory);
    double stock = 0;
    int stocked = 0;
    for (int32_t i = 1; i <= items->Count(); ++i) {
      auto part = Items::CastObject<ItemInventory>(items->Item(i));
      if (part == nullptr) continue;
      stock += static_cast<double>(part->QuantityOnHand()) * part->AverageCost();
      ++stocked;
    }
    EXPECT_LE(std::abs(std::llround(stock * 100) - stockValue), stocked);
  }

  std::vector<std::string> names_;
  int64_t baseline_ = 0;
};

TEST_P(InvoiceBooksPropertyTest, RandomInvoicesKeepTheBooksTrue) {
  std::mt19937 rng(GetParam());
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  const std::vector<std::string> sold = {"Consulting", "Widget",   "Gadget",
                                         "Hinge",      "Delivery", "Hardware"};
  auto invoices = Session().company->Invoices();
  std::vector<std::string> made;  // TxnIDs of the invoices still standing
  for (int step = 0; step < 24; ++step) {
    const unsigned roll = rng() % 10;
    std::string what;
    if (roll < 6 || made.empty()) {
      auto invoice = invoices->Add(names_[pick(names_.size())]);
      const int lines = 1 + static_cast<int>(pick(4));
      for (int i = 0; i < lines; ++i)
        invoice->ItemLines()->Add(sold[pick(sold.size())], static_cast<float>(1 + pick(5)));
      if (pick(3) == 0) {
        invoice->ItemLines()->Add("Subtotal");
        invoice->ItemLines()->Add("Loyalty Discount");
      }
      const Currency subtotal = invoice->Subtotal(), tax = invoice->SalesTaxTotal();
      ASSERT_EQ(invoices->Commit(invoice), 1) << invoice->Errors()->Count();
      // The library keeps a percentage line's amount and the tax to four decimals; QuickBooks
      // rounds each to cents: a cent apart at most.
      EXPECT_LE(std::abs(invoice->Subtotal().Scaled() - subtotal.Scaled()), 100)
          << "local subtotal against QuickBooks'";
      EXPECT_LE(std::abs(invoice->SalesTaxTotal().Scaled() - tax.Scaled()), 100)
          << "local sales tax against QuickBooks'";
      made.push_back(invoice->TxnId());
      what = "add";
    } else {
      const size_t at = pick(made.size());
      auto reader = std::make_shared<Invoices>();
      auto invoice = reader->GetByTxnID(made[at]);
      ASSERT_NE(invoice, nullptr);
      if (roll < 8) {
        invoices->Clear();
        invoices->AddMember(invoice);
        invoice->ItemLines()->Item(1)->SetQuantity(static_cast<float>(1 + pick(7)));
        EXPECT_EQ(invoices->Commit(invoice), 1);
        what = "change";
      } else if (roll < 9) {
        EXPECT_EQ(invoices->Void(made[at]), 0);
        made.erase(made.begin() + static_cast<long>(at));
        what = "void";
      } else {
        EXPECT_EQ(invoices->Delete(made[at]), 0);
        made.erase(made.begin() + static_cast<long>(at));
        what = "delete";
      }
    }
    CheckTheBooks("step " + std::to_string(step) + ": " + what);
    if (HasFatalFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, InvoiceBooksPropertyTest, ::testing::Values(11u, 29u, 47u));

}  // namespace
}  // namespace brennock::testing
