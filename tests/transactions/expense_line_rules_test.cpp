// The expense line's rules against a simulated company's accounts and customers: what each setter
// refuses (numbers, texts and sources as the client sees them), the amount as text, the state a
// change leaves, the events the owner hears, and a form's validation of its expense lines.
#include <functional>
#include <string>
#include <tuple>

#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace expense_line_rules_test {
namespace {

class ExpenseLineRulesTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 2, 0, 1, 0, 0, 0};
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto customers = Session().company->Customers();
    customers->Add("Hand Worked Ltd");
    ASSERT_EQ(customers->Commit(), 0);
    lines_->SetEventSink(sink_);
    sink_->OnqoEvent = [this](qoEnumEventTypes id, std::string&) {
      if (id == qoEventAmountChange) ++amountEvents_;
    };
  }

  std::shared_ptr<txnExpenseLines> lines_ = std::make_shared<txnExpenseLines>();
  std::shared_ptr<qcEventSink> sink_ = std::make_shared<qcEventSink>();
  int amountEvents_ = 0;
};

// Number offset, source and description of what a call raises; {0, "", ""} when it raises nothing.
std::tuple<int, std::string, std::string> Raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return {e.Number() - vbObjectError, e.Source(), e.Description()};
  }
  return {0, "", ""};
}

TEST_F(ExpenseLineRulesTest, SettersRefuseWhatDoesNotResolveBeforeAnythingChanges) {
  auto line = lines_->Add("Rent", Currency(100), "March");
  const struct {
    const char* what;
    std::function<void(txnExpenseLine&)> set;
    int number;
    const char* source;
    const char* description;
  } kRules[] = {
      {"unknown account", [](txnExpenseLine& l) { l.SetAccount("No Such Account"); }, 1014,
       "Brennock:txnExpenseLine", "Invalid account specified"},
      {"non-posting account", [](txnExpenseLine& l) { l.SetAccount("Purchase Orders"); }, 1807,
       "Brennock:txnExpenseLine", "Non-posting accounts cannot be used"},
      {"unknown customer", [](txnExpenseLine& l) { l.SetCustomer("Nobody"); }, 2012,
       "Brennock:txnExpenseLine", "Customer code does not exist"},
      {"amount text", [](txnExpenseLine& l) { l.SetAmountAsString("12,5x"); }, 1028,
       "Brennock:txnExpenseLine", "This field cantains an invalid character."},
      {"tax code in a US session", [](txnExpenseLine& l) { l.SetTaxCode("G"); }, 1032, "brennock",
       "This property is only supported for non-US versions of QuickBooks."},
  };
  for (const auto& rule : kRules) {
    SCOPED_TRACE(rule.what);
    EXPECT_EQ(
        Raised([&] { rule.set(*line); }),
        std::make_tuple(rule.number, std::string(rule.source), std::string(rule.description)));
    EXPECT_EQ(line->Account(), "Rent");
    EXPECT_EQ(line->Amount(), Currency(100));
    EXPECT_EQ(line->Customer(), "");
  }
  // What resolves is taken; an empty customer clears the reference.
  line->SetAccount("Utilities");
  line->SetCustomer("Hand Worked Ltd");
  EXPECT_EQ(line->Customer(), "Hand Worked Ltd");
  line->SetCustomer("");
  EXPECT_EQ(line->Customer(), "");
  EXPECT_EQ(line->Account(), "Utilities");
  // Collection misuse: the automation runtime's subscript error.
  EXPECT_EQ(std::get<0>(Raised([&] { lines_->Item(2); })), 9 - vbObjectError);
}

TEST_F(ExpenseLineRulesTest, TheAmountAsTextAndTheEventsTheOwnerHears) {
  auto line = lines_->Add("Rent");
  EXPECT_EQ(amountEvents_, 1);  // the new line, once
  const struct {
    const char* text;
    Currency amount;
    const char* shown;  // AmountAsString afterwards
  } kTexts[] = {
      {"", Currency(), ""},
      {"12.5", Currency(12.5), "12.50"},
      {"-3", Currency(-3), "-3.00"},
      {"0.00", Currency(), "0.00"},  // a zero amount shows what was typed
  };
  for (const auto& t : kTexts) {
    SCOPED_TRACE(t.text);
    line->SetAmountAsString(t.text);
    EXPECT_EQ(line->Amount(), t.amount);
    EXPECT_EQ(line->AmountAsString(), t.shown);
  }
  EXPECT_EQ(amountEvents_, 4);  // 12.50, -3.00 and 0: three changes

  amountEvents_ = 0;
  line->SetAmount(Currency(40));
  line->SetAmount(Currency(40));  // the same amount changes nothing
  EXPECT_EQ(amountEvents_, 1);
  lines_->Add("Utilities", Currency(60.25), "Power", {}, {}, 1);  // before the first
  EXPECT_EQ(lines_->Item(1)->Memo(), "Power");
  EXPECT_EQ(lines_->Total(), Currency(100.25));  // 40.00 + 60.25
  lines_->Remove(1);
  EXPECT_EQ(lines_->Total(), Currency(40));
  EXPECT_EQ(amountEvents_, 3);
}

TEST_F(ExpenseLineRulesTest, ASavedLineTurnsDirtyAndANewOneStaysNew) {
  auto line = lines_->Add("Rent", Currency(10));
  line->SetMemo("still new");
  EXPECT_EQ(line->ObjectState(), qoObjectStateNew);

  XmlDocument doc;
  ASSERT_TRUE(doc.loadXML(
      "<BillRet><TxnID>7-0</TxnID><ExpenseLineRet><TxnLineID>7-1</TxnLineID><AccountRef>"
      "<FullName>Rent</FullName></AccountRef><Amount>250.00</Amount><Memo>Yard</Memo><CustomerRef>"
      "<FullName>Hand Worked Ltd</FullName></CustomerRef><BillableStatus>Billable"
      "</BillableStatus><Unknown>x</Unknown></ExpenseLineRet></BillRet>"));
  auto bill = std::make_shared<Bill>();
  bill->FromDom(doc.documentElement());
  auto read = bill->ExpenseLines();
  ASSERT_EQ(read->Count(), 1);
  txnExpenseLine& loaded = *read->Item(1);
  EXPECT_EQ(loaded.TxnLineId(), "7-1");
  EXPECT_EQ(loaded.Account(), "Rent");
  EXPECT_EQ(loaded.Amount(), Currency(250));
  EXPECT_EQ(loaded.Memo(), "Yard");
  EXPECT_EQ(loaded.Customer(), "Hand Worked Ltd");
  EXPECT_EQ(loaded.BillableStatus(), qbBillableStatusBillable);
  EXPECT_EQ(read->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(bill->ObjectState(), qoObjectStateClean);
  loaded.SetClass("Anything");
  EXPECT_EQ(loaded.ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(read->ObjectState(), qoObjectStateDirty);
}

// A form checks its expense lines after its item lines, drops the empty ones at the end, and has
// what it needs with expense lines alone.
TEST_F(ExpenseLineRulesTest, AFormValidatesItsExpenseLines) {
  auto vendors = Session().company->Vendors();
  vendors->Add("Harbour Supply");
  ASSERT_EQ(vendors->Commit(), 0);
  auto bill = Session().company->Bills()->Add("Harbour Supply");
  bill->ExpenseLines()->Add({}, Currency(5));  // an amount and no account
  bill->ExpenseLines()->Add("Rent", Currency(250));
  bill->ExpenseLines()->Add();
  bill->ExpenseLines()->Add();
  EXPECT_FALSE(bill->Validate());
  ASSERT_EQ(bill->Errors()->Count(), 1);
  EXPECT_EQ(bill->Errors()->Item(1)->Number(), ErrorNumber(1011));
  EXPECT_EQ(bill->Errors()->Item(1)->Field(), "1");
  EXPECT_EQ(bill->ExpenseLines()->Count(), 2);  // the empty ones at the end are gone
  auto first = bill->ExpenseLines()->Item(1);
  ASSERT_EQ(first->Errors()->Count(), 1);
  EXPECT_EQ(first->Errors()->Item(1)->Field(), "Account");
  EXPECT_EQ(first->Errors()->Item(1)->Description(), "Invalid account specified");

  bill->ExpenseLines()->Remove(1);
  EXPECT_TRUE(bill->Validate());
  // The terms' discount applies to both kinds of lines.
  bill->ItemLines()->Add("Widget", 10)->SetCost(8);
  bill->SetTerms("2% 10 Net 30");
  EXPECT_EQ(bill->DiscountAmount(), Currency(6.6));  // 2 % of (250.00 + 80.00)
}

}  // namespace
}  // namespace expense_line_rules_test
}  // namespace brennock::testing
