#pragma once

#include <map>
#include <memory>
#include <string>

#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {

// A simulated company with a customer on Net 30 terms whose sales are taxable, the company's
// preferences loaded as a connection loads them, and the invoice worked by hand in the tests.
class InvoiceFixture : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    // The company's preferences, as a connection loads them: new invoices take their defaults.
    xmlBldr builder;
    std::shared_ptr<XmlDocument> prefs = builder.QueryFullTableExecute("PreferencesQueryRq", 0);
    Session().company->Preferences()->FromDom(
        prefs->documentElement().childNodes().item(0).childNodes().item(0).childNodes().item(0));
    auto customers = Session().company->Customers();
    auto customer = customers->Add("Hand Worked Ltd");
    customer->SetTerms("Net 30");
    customer->SetSalesTaxCode("Tax");
    customer->BillTo()->SetLine1("7 Mill Lane");
    customer->BillTo()->SetCity("Cork");
    ASSERT_EQ(customers->Commit(), 0);
  }

  // The balances an invoice moves, in cents or units, as QuickBooks answers them.
  std::map<std::string, int64_t> Books() {
    auto cents = [](Currency value) { return value.Scaled() / 100; };
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    auto balance = [&](const std::string& name) { return cents(accounts->Item(name)->Balance()); };
    auto customers = std::make_shared<Customers>();
    auto items = std::make_shared<Items>();
    return {
        {"customer", cents(customers->GetByFullName("Hand Worked Ltd")->Balance())},
        {"A/R", balance("Accounts Receivable")},
        {"Services", balance("Services")},
        {"Sales", balance("Sales")},
        {"Tax", balance("Sales Tax Payable")},
        {"COGS", balance("Cost of Goods Sold")},
        {"Stock", balance("Inventory Asset")},
        {"Widgets",
         static_cast<int64_t>(
             Items::CastObject<ItemInventory>(items->GetByFullName("Widget"))->QuantityOnHand())}};
  }

  static std::map<std::string, int64_t> Moved(const std::map<std::string, int64_t>& after,
                                              const std::map<std::string, int64_t>& before) {
    std::map<std::string, int64_t> moved;
    for (const auto& [name, value] : after) moved[name] = value - before.at(name);
    return moved;
  }

  // Consulting 3 x 95.00, Widget 10 x 12.00, a subtotal, then 10 % off (not taxable).
  std::shared_ptr<Invoice> WorkedExample() {
    auto invoices = Session().company->Invoices();
    auto invoice = invoices->Add();
    // The terms date the invoice from its TxnDate when the customer is chosen.
    invoice->SetTxnDate(Date::FromDate(2024, 3, 5));
    invoice->SetCustomer("Hand Worked Ltd");
    invoice->SetRefNumber("HW-1");
    invoice->SetMemo("Spring job");
    auto lines = invoice->ItemLines();
    lines->Add("Consulting", 3);
    lines->Add("Widget", 10);
    lines->Add("Subtotal");
    lines->Add("Loyalty Discount")->SetSalesTaxCode("Non");
    return invoice;
  }

  std::string LastRequest() const { return recorder_->Requests().back().text; }
};

}  // namespace brennock::testing
