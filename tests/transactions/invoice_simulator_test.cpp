// Invoices end to end against the simulated QuickBooks in strict-schema mode: built through the
// library, their local totals equal what QuickBooks computes, and every balance moves as it should.
#include <map>
#include <string>

#include "tests/transactions/invoice_fixture.h"

namespace brennock::testing {
namespace {

using InvoiceSimulatorTest = InvoiceFixture;

TEST_F(InvoiceSimulatorTest, LocalTotalsEqualQuickBooksAndEveryBalanceMoves) {
  auto before = Books();
  auto invoice = WorkedExample();
  // Defaults: the customer's terms and tax code, the company's sales tax item (State, 7.25 %).
  EXPECT_EQ(invoice->Terms(), "Net 30");
  EXPECT_EQ(invoice->SalesTaxCode(), "Tax");
  EXPECT_EQ(invoice->SalesTaxItem(), "State Tax");
  EXPECT_EQ(invoice->BillTo()->City(), "Cork");
  // 3 x 95.00 = 285.00 (not taxable) + 10 x 12.00 = 120.00 (taxable) = subtotal line 405.00;
  // 10 % off 405.00 = -40.50. Subtotal 285.00 + 120.00 - 40.50 = 364.50. Taxable 120.00;
  // 7.25 % of it = 8.70.
  EXPECT_EQ(invoice->Subtotal(), Currency::Parse("364.50"));
  EXPECT_EQ(invoice->SalesTaxTotal(), Currency::Parse("8.70"));
  EXPECT_EQ(invoice->BalanceRemaining(), Currency::Parse("364.50"));  // Subtotal - AppliedAmount
  EXPECT_EQ(invoice->ItemLines()->Item(3)->Amount(), Currency(405));
  EXPECT_EQ(invoice->ItemLines()->Item(4)->Amount(), Currency::Parse("-40.50"));

  ASSERT_EQ(Session().company->Invoices()->Commit(), 1);
  EXPECT_EQ(invoice->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(invoice->TxnId().empty());
  EXPECT_EQ(invoice->Subtotal(), Currency::Parse("364.50"));
  EXPECT_EQ(invoice->SalesTaxTotal(), Currency::Parse("8.70"));
  // QuickBooks' own balance carries the tax: 364.50 + 8.70 = 373.20.
  EXPECT_EQ(invoice->BalanceRemaining(), Currency::Parse("373.20"));
  EXPECT_EQ(ModConvertDtypes::DateToText(invoice->DueDate()), "2024-04-04");  // Net 30, 5 March
  EXPECT_EQ(ModConvertDtypes::DateToText(invoice->TxnDate()), "2024-03-05");
  ASSERT_EQ(invoice->ItemLines()->Count(), 4);
  EXPECT_EQ(invoice->ItemLines()->Item(4)->Amount(), Currency::Parse("-40.50"));

  // Ten widgets at their average cost of 7.00 (980.00 for 140) go to cost of sales.
  std::map<std::string, int64_t> moved = {{"customer", 37320}, {"A/R", 37320},  {"Services", 28500},
                                          {"Sales", 7950},     {"Tax", 870},    {"COGS", 7000},
                                          {"Stock", -7000},    {"Widgets", -10}};
  // Sales: 120.00 of widgets less the 40.50 discount posted to Discounts Given is not Sales;
  // the widgets' income is 120.00.
  moved["Sales"] = 12000;
  EXPECT_EQ(Moved(Books(), before), moved);
}

// A new invoice takes the company's FOB and ship method; one read back holds only what QuickBooks
// sent, so an invoice saved without them is loaded without them.
TEST_F(InvoiceSimulatorTest, ALoadedInvoiceHoldsWhatQuickBooksSentNotTheDefaults) {
  auto invoice = WorkedExample();
  ASSERT_EQ(invoice->FOB(), "Origin");
  ASSERT_EQ(invoice->ShipMethod(), "UPS");
  invoice->SetFOB("");
  invoice->SetShipMethod("");
  ASSERT_EQ(Session().company->Invoices()->Commit(), 1);
  auto loaded = std::make_shared<Invoices>();
  ASSERT_EQ(loaded->GetAll(), 1);
  auto read = std::static_pointer_cast<Invoice>(loaded->Item(1));
  EXPECT_EQ(read->RefNumber(), invoice->RefNumber());
  EXPECT_EQ(read->FOB(), "");
  EXPECT_EQ(read->ShipMethod(), "");
  EXPECT_EQ(read->SalesTaxItem(), "State Tax");  // sent, so read back
}

TEST_F(InvoiceSimulatorTest, ModifyVoidAndDeleteMoveTheBalancesBack) {
  Session().errorMode = false;
  auto before = Books();
  auto invoices = Session().company->Invoices();
  auto invoice = WorkedExample();
  ASSERT_EQ(invoices->Commit(), 1);
  const std::string id = invoice->TxnId();
  const std::string firstSequence = invoice->EditSequence();
  // A second client reads the invoice before it changes.
  auto other = std::make_shared<Invoices>();
  ASSERT_NE(other->GetByTxnID(id), nullptr);

  // Consulting goes, the widgets drop to 5, sixteen hinges are added at the end.
  auto lines = invoice->ItemLines();
  lines->Remove(1);
  lines->Item(1)->SetQuantity(5);
  lines->Add("Hinge", 16);
  EXPECT_EQ(invoice->ObjectState(), qoObjectStateDirty);
  // 5 x 12.00 = 60.00; subtotal 60.00; 10 % off -6.00; 16 x 6.25 = 100.00.
  // Subtotal 154.00; taxable 60.00 + 100.00 = 160.00; 7.25 % = 11.60.
  EXPECT_EQ(invoice->Subtotal(), Currency(154));
  EXPECT_EQ(invoice->SalesTaxTotal(), Currency::Parse("11.60"));
  simulator::AdvanceClock(60);
  ASSERT_EQ(invoices->Commit(), 1);
  const std::string& mod = LastRequest();
  EXPECT_NE(mod.find("<InvoiceMod><TxnID>" + id + "</TxnID><EditSequence>" + firstSequence +
                     "</EditSequence>"),
            std::string::npos);
  EXPECT_NE(mod.find("<InvoiceLineMod><TxnLineID>-1</TxnLineID><ItemRef><FullName>Hinge"),
            std::string::npos)
      << mod;
  EXPECT_EQ(lines->Count(), 4);
  EXPECT_NE(lines->Item(4)->TxnLineId(), "-1");  // QuickBooks' own ID, read back
  EXPECT_EQ(invoice->Subtotal(), Currency(154));
  EXPECT_EQ(invoice->BalanceRemaining(), Currency::Parse("165.60"));
  // Cost: 5 widgets at 7.00 and 16 hinges at 2.90 = 35.00 + 46.40 = 81.40.
  std::map<std::string, int64_t> moved = {{"customer", 16560}, {"A/R", 16560}, {"Services", 0},
                                          {"Sales", 16000},    {"Tax", 1160},  {"COGS", 8140},
                                          {"Stock", -8140},    {"Widgets", -5}};
  EXPECT_EQ(Moved(Books(), before), moved);

  // The copy read before the change is out of date: QuickBooks refuses it with 3200.
  auto stale = other->Item(id);
  stale->SetMemo("Written on an old copy");
  invoices->Clear();
  invoices->AddMember(stale);
  EXPECT_EQ(invoices->Commit(stale), 1);
  ASSERT_EQ(stale->Errors()->Count(), 1);
  EXPECT_NE(stale->Errors()->Item(1)->Description().find(firstSequence), std::string::npos);

  // Voided: the amounts go to zero, the invoice stays, every balance is back.
  EXPECT_EQ(invoices->Void(id), 0);
  std::map<std::string, int64_t> none = moved;
  for (auto& [name, value] : none) value = 0;
  EXPECT_EQ(Moved(Books(), before), none);
  auto voided = std::make_shared<Invoices>()->GetByTxnID(id);
  ASSERT_NE(voided, nullptr);
  EXPECT_EQ(voided->Memo(), "VOID: Spring job");
  EXPECT_EQ(voided->Subtotal(), Currency());

  // Deleted: gone from queries and from the books.
  auto second = WorkedExample();
  ASSERT_EQ(Session().company->Invoices()->Commit(second), 1);
  EXPECT_EQ(Session().company->Invoices()->Delete(second->TxnId()), 0);
  EXPECT_EQ(Moved(Books(), before), none);
  auto gone = std::make_shared<Invoices>();
  EXPECT_EQ(gone->GetByTxnID(second->TxnId()), nullptr);
  EXPECT_EQ(gone->Errors()->Count(), 1);
}

// The invoice's fields on the invoice and on one of its lines (by TxnLineID) are saved with the
// invoice and read back with it.
TEST_F(InvoiceSimulatorTest, CustomFieldsOfTheInvoiceAndItsLinesAreSavedWithIt) {
  auto company = Session().company;
  company->CustomFields()->Add("Job Site")->AddAssignedTo(qoObjectTypeInvoice);
  company->CustomFields()->Add("Bin")->AddAssignedTo(qoObjectTypeInvoice);
  ASSERT_EQ(company->CustomFields()->Commit(), 0);
  auto invoice = WorkedExample();
  invoice->CustomFields()->Item(std::string("Job Site"))->SetValue(Variant("Quay Street"));
  invoice->ItemLines()->Item(2)->CustomFields()->Item(std::string("Bin"))->SetValue(Variant("B-7"));
  ASSERT_EQ(company->Invoices()->Commit(), 1);

  auto fresh = std::make_shared<Invoices>();
  fresh->SetIncludeDataExtensions(true);
  auto read = fresh->GetByTxnID(invoice->TxnId());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->CustomFields()->Item(std::string("Job Site"))->Value(), Variant("Quay Street"));
  EXPECT_EQ(read->ItemLines()->Item(2)->CustomFields()->Item(std::string("Bin"))->Value(),
            Variant("B-7"));
}

}  // namespace
}  // namespace brennock::testing
