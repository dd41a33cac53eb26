// Time entries, inventory adjustments and assembly builds against the simulated QuickBooks in
// strict-schema mode: their rules and request bodies byte for byte, and what each moves in the
// books (stock, average costs, accounts), by figures worked out by hand.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "brennock/internal/items/item_stock.h"
#include "tests/lists/simulator_fixture.h"
#include "tests/transactions/txn_test_helpers.h"

namespace brennock::testing {
namespace time_and_stock_test {
namespace {

// The body of the last request, from its record's opening tag to its closing one.
std::string Body(const std::string& request, const std::string& element) {
  const size_t from = request.find("<" + element + ">");
  const size_t to = request.find("</" + element + ">");
  if (from == std::string::npos || to == std::string::npos) return "(no " + element + ")";
  return request.substr(from, to + element.size() + 3 - from);
}

std::string Ref(const std::string& element, const std::string& name) {
  return "<" + element + "><FullName>" + name + "</FullName></" + element + ">";
}

class TimeAndStockTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};  // no year of trade
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto customers = Session().company->Customers();
    customers->Add("Ledger Lane Ltd");
    ASSERT_EQ(customers->Commit(), 0);
    auto employees = Session().company->Employees();
    auto nora = employees->Add("Nora Quill");
    nora->SetFirstName("Nora");
    nora->SetLastName("Quill");
    ASSERT_EQ(employees->Commit(), 0);
  }

  std::string LastRequest() const { return recorder_->Requests().back().text; }

  // Stock and accounts in cents (quantities in units, average costs in cents), read afresh.
  std::map<std::string, int64_t> Books() {
    auto cents = [](Currency value) { return value.Scaled() / 100; };
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    auto items = std::make_shared<Items>();
    std::map<std::string, int64_t> books = {
        {"Inventory Asset", cents(accounts->Item("Inventory Asset")->Balance())},
        {"Job Materials", cents(accounts->Item("Job Materials")->Balance())}};
    for (const char* name : {"Widget", "Gadget", "Bracket", "Widget Kit"}) {
      auto item = std::dynamic_pointer_cast<StockItem>(items->GetByFullName(name));
      books[std::string(name) + " on hand"] = std::llround(item->QuantityOnHand());
      books[std::string(name) + " cost"] = std::llround(item->AverageCost() * 100.0);
    }
    return books;
  }

  static std::map<std::string, int64_t> Moved(const std::map<std::string, int64_t>& after,
                                              const std::map<std::string, int64_t>& before) {
    std::map<std::string, int64_t> moved;
    for (const auto& [name, value] : after) {
      if (value != before.at(name)) moved[name] = value - before.at(name);
    }
    return moved;
  }
};

// ---- time -----------------------------------------------------------------------------------

TEST(TimeInterval, DurationTextsBothWays) {
  const struct {
    const char* text;
    int32_t hours, minutes, seconds;
    const char* written;
  } cases[] = {
      {"PT1H30M0S", 1, 30, 0, "PT1H30M0S"},
      {"pt2h", 2, 0, 0, "PT2H0M0S"},
      {"PT45M", 0, 45, 0, "PT0H45M0S"},
      {"PT1H29M45S", 1, 29, 45, "PT1H29M45S"},
      {"PT8H", 8, 0, 0, "PT8H0M0S"},
      {"PT90M", 0, 90, 0, "PT0H90M0S"},
      {"", 0, 0, 0, "PT0H0M0S"},
      {"PTxH12M", 0, 12, 0, "PT0H12M0S"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    qcTimeInterval time;
    time.FromString(c.text);
    EXPECT_EQ(std::make_tuple(time.Hours(), time.Minutes(), time.Seconds()),
              std::make_tuple(c.hours, c.minutes, c.seconds));
    EXPECT_EQ(time.ToQBString(), c.written);
    EXPECT_EQ(time.IsZero(), c.hours == 0 && c.minutes == 0 && c.seconds == 0);
  }
}

TEST_F(TimeAndStockTest, ATimeEntryWritesItsDurationAndBillingByVersion) {
  auto entries = Session().company->TimeTrackings();
  auto entry = entries->Add(1, 30, "Nora Quill", Date::FromDate(2023, 11, 6), "Ledger Lane Ltd",
                            "Consulting", {}, {}, {}, "Site survey", true);
  EXPECT_EQ(entry->Duration(), "PT1H30M");
  const std::string head = "<TxnDate>2023-11-06</TxnDate>" + Ref("EntityRef", "Nora Quill") +
                           Ref("CustomerRef", "Ledger Lane Ltd") +
                           Ref("ItemServiceRef", "Consulting") +
                           "<Duration>PT1H30M</Duration><Notes>Site survey</Notes>";
  const struct {
    int version;
    bool billed;
    const char* tail;
  } cases[] = {{16, false, "<BillableStatus>Billable</BillableStatus>"},
               {6, true, "<BillableStatus>HasBeenBilled</BillableStatus>"},
               {5, true, "<IsBillable>1</IsBillable>"},
               {4, false, "<IsBillable>1</IsBillable>"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    Session().qbxmlVersionNumber = Currency(c.version);
    entry->SetIsBilled(c.billed);
    EXPECT_EQ(AddBody(*entry), head + c.tail);
  }
  Session().qbxmlVersionNumber = Currency(16);
  entry->SetIsBillable(false);
  entry->SetIsBilled(false);
  EXPECT_EQ(AddBody(*entry), head + "<BillableStatus>NotBillable</BillableStatus>");
  entry->SetDuration("pt2h5m40s");  // seconds are not kept
  EXPECT_EQ(std::make_tuple(entry->Hours(), entry->Minutes()), std::make_tuple(2, 5));

  EXPECT_EQ(RaisedBy([&] { entry->SetPayrollItemWage("Nothing"); }),
            (Raised{vbObjectError + 2014, "Brennock:TimeTracking", "Item code does not exist"}));
  entry->SetPayrollItemWage("Hourly Rate");
  entry->SetEntity("Nobody Known");
  EXPECT_FALSE(entry->Validate());
  EXPECT_EQ(ErrorsOf(*entry->Errors()),
            std::vector<std::string>{"2010 Entity: Entity does not exist"});
}

TEST_F(TimeAndStockTest, ATimeEntryIsAddedChangedAndFoundByItsFilters) {
  auto entries = Session().company->TimeTrackings();
  auto entry = entries->Add(2, 15, "Nora Quill", Date::FromDate(2023, 11, 7), "Ledger Lane Ltd",
                            "Consulting", {}, {}, "Hourly Rate", "Fitting", true);
  ASSERT_EQ(entries->Commit(), 1);
  EXPECT_EQ(Body(LastRequest(), "TimeTrackingAdd"),
            "<TimeTrackingAdd><TxnDate>2023-11-07</TxnDate>" + Ref("EntityRef", "Nora Quill") +
                Ref("CustomerRef", "Ledger Lane Ltd") + Ref("ItemServiceRef", "Consulting") +
                "<Duration>PT2H15M</Duration>" + Ref("PayrollItemWageRef", "Hourly Rate") +
                "<Notes>Fitting</Notes><BillableStatus>Billable</BillableStatus>"
                "</TimeTrackingAdd>");
  EXPECT_EQ(entry->ObjectState(), qoObjectStateClean);
  ASSERT_FALSE(entry->TxnId().empty());
  EXPECT_EQ(entry->Duration(), "PT2H15M");
  EXPECT_TRUE(entry->IsBillable());
  EXPECT_FALSE(entry->IsBilled());

  entry->SetMinutes(45);
  ASSERT_EQ(entries->Commit(), 1);
  const std::string mod = Body(LastRequest(), "TimeTrackingMod");
  EXPECT_EQ(mod.rfind("<TimeTrackingMod><TxnID>" + entry->TxnId() + "</TxnID><EditSequence>", 0),
            0u);
  EXPECT_NE(mod.find("<Duration>PT2H45M</Duration>"), std::string::npos);

  auto found = std::make_shared<TimeTrackings>();
  EXPECT_EQ(found->GetBySingleEntity("Nora Quill"), 1);
  EXPECT_NE(LastRequest().find("<TimeTrackingEntityFilter><FullName>Nora Quill</FullName>"
                               "</TimeTrackingEntityFilter>"),
            std::string::npos);
  EXPECT_EQ(found->Item(1)->Duration(), "PT2H45M");
  EXPECT_EQ(found->Item(1)->Customer(), "Ledger Lane Ltd");
  EXPECT_EQ(found->GetByEntity({"Nora Quill", "Ledger Lane Ltd"}), 1);
  EXPECT_NE(LastRequest().find("<TimeTrackingEntityFilter><FullName>Nora Quill</FullName>"
                               "<FullName>Ledger Lane Ltd</FullName></TimeTrackingEntityFilter>"),
            std::string::npos);
  EXPECT_EQ(found->GetByDateSpan(Date::FromDate(2023, 11, 7), Date::FromDate(2023, 11, 7)), 1);
  EXPECT_EQ(found->GetByDateSpan(Date::FromDate(2023, 11, 8), Date::FromDate(2023, 11, 30)), 0);
  EXPECT_EQ(LastRequest().find("IncludeLineItems"), std::string::npos);

  EXPECT_EQ(entries->Delete(entry->TxnId()), 0);
  EXPECT_EQ(found->GetAll(), 0);
}

// ---- inventory adjustments --------------------------------------------------------------------

TEST_F(TimeAndStockTest, AdjustmentRulesAndLineForms) {
  auto adjustments = Session().company->InventoryAdjustments();
  const auto raised = [](int n, const std::string& source, const std::string& text) {
    return Raised{vbObjectError + n, source, text};
  };
  auto adjustment =
      adjustments->Add("Job Materials", {}, {}, "Count", {}, Date::FromDate(2023, 11, 8));
  EXPECT_EQ(RaisedBy([&] { adjustment->SetAccount("No Such"); }),
            raised(2019, "Brennock:InventoryAdjustment", "Invalid account specified"));
  EXPECT_EQ(RaisedBy([&] { adjustment->SetCustomer("No Such"); }),
            raised(2018, "Brennock:InventoryAdjustment", "Invalid customer specified"));
  EXPECT_EQ(RaisedBy([&] { adjustment->SetClass("No Such"); }),
            raised(2013, "Brennock:InventoryAdjustment", "Class code does not exist"));
  auto lines = adjustment->Lines();
  EXPECT_EQ(RaisedBy([&] { lines->Add("Consulting", 1); }),
            raised(2002, "Brennock:invAdjLine", "Unsupported item type for this transaction"));
  EXPECT_EQ(RaisedBy([&] { lines->Add("No Such", 1); }),
            raised(2001, "Brennock:invAdjLine", "Invalid item specified"));
  EXPECT_FALSE(adjustment->Validate());
  EXPECT_EQ(ErrorsOf(*adjustment->Errors()),
            std::vector<std::string>{"2022 Lines: Transactions must have at least one line item"});

  // Widgets: 140 on hand at 7.00, worth 980.00.
  auto units = lines->Add("Widget", 5);
  EXPECT_EQ(std::make_tuple(units->QuantityOnHand(), units->AverageCost(), units->CurrentValue()),
            std::make_tuple(140.0f, 7.0f, C("980")));
  auto atCost = lines->Add("Widget", 2, C("14"));  // 2 x 7.00: units at the average cost
  auto value = lines->Add("Widget", 0, C("100"));  // 140 units then worth 980.00 + 100.00
  EXPECT_FALSE(atCost->IsValueAdjustment());
  EXPECT_TRUE(value->IsValueAdjustment());
  auto empty = lines->Add();
  const std::string failed =
      "Indicated object failed validation.  Check object's errors for "
      "details.";
  EXPECT_FALSE(adjustment->Validate());
  EXPECT_EQ(ErrorsOf(*adjustment->Errors()), std::vector<std::string>{"1011 4: " + failed});
  EXPECT_EQ(ErrorsOf(*empty->Errors()),
            std::vector<std::string>{"2001 Item: Invalid item specified"});
  lines->Remove(4);
  ASSERT_TRUE(adjustment->Validate());
  const std::string widget = Ref("ItemRef", "Widget");
  EXPECT_EQ(
      AddBody(*adjustment),
      Ref("AccountRef", "Job Materials") + "<TxnDate>2023-11-08</TxnDate><Memo>Count</Memo>" +
          "<InventoryAdjustmentLineAdd>" + widget +
          "<QuantityAdjustment><QuantityDifference>0000005.00000</QuantityDifference>"
          "</QuantityAdjustment></InventoryAdjustmentLineAdd><InventoryAdjustmentLineAdd>" +
          widget +
          "<QuantityAdjustment><QuantityDifference>0000002.00000</QuantityDifference>"
          "</QuantityAdjustment></InventoryAdjustmentLineAdd><InventoryAdjustmentLineAdd>" +
          widget +
          "<ValueAdjustment><NewQuantity>0000140.00000</NewQuantity><NewValue>1080.00</NewValue>"
          "</ValueAdjustment></InventoryAdjustmentLineAdd>");

  // Adjustments are never changed through qbXML.
  xmlBldr builder;
  EXPECT_EQ(RaisedBy([&] { adjustment->XMLModify(builder); }),
            raised(1003, "Brennock: InventoryAdjustment", "ModRq not supported"));
}

TEST_F(TimeAndStockTest, AnAdjustmentByQuantityMovesUnitsAtTheAverageCost) {
  auto before = Books();
  auto adjustments = Session().company->InventoryAdjustments();
  auto adjustment =
      adjustments->Add("Job Materials", {}, {}, "Shrinkage", "ADJ-1", Date::FromDate(2023, 11, 9));
  adjustment->Lines()->Add("Widget", -4);
  ASSERT_EQ(adjustments->Commit(), 1);
  EXPECT_EQ(Body(LastRequest(), "InventoryAdjustmentAdd"),
            "<InventoryAdjustmentAdd>" + Ref("AccountRef", "Job Materials") +
                "<TxnDate>2023-11-09</TxnDate><RefNumber>ADJ-1</RefNumber><Memo>Shrinkage</Memo>"
                "<InventoryAdjustmentLineAdd>" +
                Ref("ItemRef", "Widget") +
                "<QuantityAdjustment><QuantityDifference>-0000004.00000</QuantityDifference>"
                "</QuantityAdjustment></InventoryAdjustmentLineAdd></InventoryAdjustmentAdd>");
  ASSERT_EQ(adjustment->Lines()->Count(), 1);
  // 4 widgets at 7.00 = 28.00 leave stock for the adjustment account; 136 left at 7.00.
  EXPECT_EQ(adjustment->Lines()->Item(1)->ValueDifference(), C("-28"));
  EXPECT_EQ(Moved(Books(), before),
            (std::map<std::string, int64_t>{
                {"Inventory Asset", -2800}, {"Job Materials", 2800}, {"Widget on hand", -4}}));

  auto found = std::make_shared<InventoryAdjustments>();
  EXPECT_EQ(found->GetBySingleAccount("Job Materials"), 1);
  EXPECT_EQ(found->Item(1)->Lines()->Item(1)->QuantityDifference(), -4.0f);
  EXPECT_EQ(found->Item(1)->RefNumber(), "ADJ-1");
}

// QuickBooks' published schema takes no new value in an Add, so strict mode refuses it; this
// request goes straight to the simulator outside strict mode.
TEST_F(TimeAndStockTest, AnAdjustmentByValueChangesTheAverageCostOnly) {
  auto before = Books();
  auto adjustments = Session().company->InventoryAdjustments();
  auto adjustment = adjustments->Add("Job Materials", {}, {}, "Revalued");
  // Gadgets: 36 on hand at 18.00, worth 648.00; 72.00 more makes 720.00, 720 / 36 = 20.00.
  adjustment->Lines()->Add("Gadget", 0, C("72"));
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  Session().processor = simulator_;
  Session().ticket = simulator_->BeginSession(path_, qbOpenModeDontCare);
  ASSERT_EQ(adjustments->Commit(), 1);
  EXPECT_EQ(adjustment->Lines()->Item(1)->ValueDifference(), C("72"));
  EXPECT_EQ(Moved(Books(), before),
            (std::map<std::string, int64_t>{
                {"Inventory Asset", 7200}, {"Job Materials", -7200}, {"Gadget cost", 200}}));
}

// ---- assembly builds ------------------------------------------------------------------------

TEST_F(TimeAndStockTest, ABuildConsumesItsComponentsAtAverageCost) {
  auto before = Books();
  auto builds = Session().company->AssemblyBuilds();
  auto wrong = builds->Add("Widget");
  EXPECT_EQ(ErrorsOf(*wrong->Errors()),
            std::vector<std::string>{"2014 Item: Item code does not exist"});
  EXPECT_EQ(wrong->Item(), "");
  EXPECT_FALSE(wrong->Validate());
  EXPECT_EQ(ErrorsOf(*wrong->Errors()),
            std::vector<std::string>{"2014 Item: Item code does not exist"});
  wrong->SetItem("Widget Kit");
  EXPECT_TRUE(wrong->Validate());
  builds->Remove(1);

  auto build = builds->Add("Widget Kit", Date::FromDate(2023, 11, 10), "B-7", "Five kits", 5);
  ASSERT_TRUE(build->Validate());
  ASSERT_EQ(builds->Commit(), 1);
  EXPECT_EQ(Body(LastRequest(), "BuildAssemblyAdd"),
            "<BuildAssemblyAdd>" + Ref("ItemInventoryAssemblyRef", "Widget Kit") +
                "<TxnDate>2023-11-10</TxnDate><RefNumber>B-7</RefNumber><Memo>Five kits</Memo>"
                "<QuantityToBuild>0000005.00000</QuantityToBuild></BuildAssemblyAdd>");
  EXPECT_EQ(build->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(build->QuantityOnHand(), 5.0f);
  EXPECT_FALSE(build->IsPending());
  // A kit is 3 widgets (7.00) and 2 brackets (1.20): 5 kits take 15 widgets (105.00) and 10
  // brackets (12.00); the kits are worth 117.00, 23.40 each. All of it stays in the stock
  // account.
  EXPECT_EQ(Moved(Books(), before), (std::map<std::string, int64_t>{{"Widget on hand", -15},
                                                                    {"Bracket on hand", -10},
                                                                    {"Widget Kit on hand", 5},
                                                                    {"Widget Kit cost", 2340}}));

  xmlBldr builder;
  EXPECT_EQ(RaisedBy([&] { build->XMLModify(builder); }),
            (Raised{vbObjectError + 1003, "Brennock: BuildAssembly", "Modify not allowed"}));

  auto found = std::make_shared<AssemblyBuilds>();
  EXPECT_EQ(found->GetByDateSpan(Date::FromDate(2023, 11, 1), Date::FromDate(2023, 11, 30)), 1);
  EXPECT_NE(LastRequest().find("<TxnDateRangeFilter><FromTxnDate>2023-11-01</FromTxnDate>"),
            std::string::npos);
  EXPECT_EQ(found->Item(1)->QuantityToBuild(), 5.0f);
  EXPECT_EQ(found->Item(1)->Item(), "Widget Kit");
  found->GetByDateSpan(Date::FromDate(2023, 11, 1), Date::FromDate(2030, 1, 1), true);
  EXPECT_NE(LastRequest().find("<ModifiedDateRangeFilter><FromModifiedDate>"), std::string::npos);

  EXPECT_EQ(builds->Delete(build->TxnId()), 0);
  EXPECT_EQ(builds->Count(), 0);
  EXPECT_EQ(Moved(Books(), before), (std::map<std::string, int64_t>{}));
}

}  // namespace
}  // namespace time_and_stock_test
}  // namespace brennock::testing
