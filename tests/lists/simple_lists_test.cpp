// The fifteen simple list records: exact Add bodies, Mod refusals, validation rules, add-only
// setters and reading response elements.
#include <functional>
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

using SimpleListsTest = ListsTest;

TEST_F(SimpleListsTest, AddBodiesAreExact) {
  struct Case {
    std::function<std::shared_ptr<qcBase>(Company&)> make;
    std::string body;
  };
  const std::vector<Case> cases = {
      {[](Company& c) { return c.Classes()->Add("Sub", true, "Top"); },
       "<ClassAddRq requestID = \"1\"><ClassAdd><Name>Sub</Name><IsActive>1</IsActive>"
       "<ParentRef><FullName>Top</FullName></ParentRef></ClassAdd></ClassAddRq>"},
      {[](Company& c) { return c.Classes()->Add("Top"); },
       "<ClassAddRq requestID = \"1\"><ClassAdd><Name>Top</Name><IsActive>1</IsActive>"
       "</ClassAdd></ClassAddRq>"},
      {[](Company& c) { return c.CustomerTypes()->Add("Retail", false); },
       "<CustomerTypeAddRq requestID = \"1\"><CustomerTypeAdd><Name>Retail</Name>"
       "<IsActive>0</IsActive></CustomerTypeAdd></CustomerTypeAddRq>"},
      {[](Company& c) { return c.JobTypes()->Add("Repair", true, "Work"); },
       "<JobTypeAddRq requestID = \"1\"><JobTypeAdd><Name>Repair</Name><IsActive>1</IsActive>"
       "<ParentRef><FullName>Work</FullName></ParentRef></JobTypeAdd></JobTypeAddRq>"},
      {[](Company& c) { return c.VendorTypes()->Add("Supplier"); },
       "<VendorTypeAddRq requestID = \"1\"><VendorTypeAdd><Name>Supplier</Name>"
       "<IsActive>1</IsActive></VendorTypeAdd></VendorTypeAddRq>"},
      {[](Company& c) { return c.ShipMethods()->Add("UPS"); },
       "<ShipMethodAddRq requestID = \"1\"><ShipMethodAdd><Name>UPS</Name><IsActive>1</IsActive>"
       "</ShipMethodAdd></ShipMethodAddRq>"},
      {[](Company& c) { return c.PaymentMethods()->Add("Cash", false); },
       "<PaymentMethodAddRq requestID = \"1\"><PaymentMethodAdd><Name>Cash</Name>"
       "<IsActive>0</IsActive></PaymentMethodAdd></PaymentMethodAddRq>"},
      {[](Company& c) { return c.CustomerMessages()->Add("Thanks & goodbye"); },
       "<CustomerMsgAddRq requestID = \"1\"><CustomerMsgAdd><Name>Thanks &amp; goodbye</Name>"
       "<IsActive>1</IsActive></CustomerMsgAdd></CustomerMsgAddRq>"},
      {[](Company& c) { return c.SalesTaxCodes()->Add("Tax", "Taxable sales", true); },
       "<SalesTaxCodeAddRq requestID = \"1\"><SalesTaxCodeAdd><Name>Tax</Name>"
       "<IsActive>1</IsActive><IsTaxable>1</IsTaxable><Desc>Taxable sales</Desc>"
       "</SalesTaxCodeAdd></SalesTaxCodeAddRq>"},
      {[](Company& c) { return c.SalesReps()->Add("JD", true, "Jane Doe"); },
       "<SalesRepAddRq requestID = \"1\"><SalesRepAdd><Initial>JD</Initial>"
       "<IsActive>true</IsActive><SalesRepEntityRef><FullName>Jane Doe</FullName>"
       "</SalesRepEntityRef></SalesRepAdd></SalesRepAddRq>"},
      {[](Company& c) {
         return c.ToDoList()->Add("Call back", true, true, Date::FromDate(2005, 3, 4));
       },
       "<ToDoAddRq requestID = \"1\"><ToDoAdd><Notes>Call back</Notes><IsActive>1</IsActive>"
       "<IsDone>1</IsDone><ReminderDate>2005-03-04</ReminderDate></ToDoAdd></ToDoAddRq>"},
      {[](Company& c) { return c.ToDoList()->Add("No date"); },
       "<ToDoAddRq requestID = \"1\"><ToDoAdd><Notes>No date</Notes><IsActive>1</IsActive>"
       "<IsDone>0</IsDone></ToDoAdd></ToDoAddRq>"},
      {[](Company& c) {
         return c.PayrollItemWages()->Add("Regular", "Payroll Expenses", qbWageTypeHourlyRegular);
       },
       "<PayrollItemWageAddRq requestID = \"1\"><PayrollItemWageAdd><Name>Regular</Name>"
       "<IsActive>true</IsActive><WageType>HourlyRegular</WageType><ExpenseAccountRef>"
       "<FullName>Payroll Expenses</FullName></ExpenseAccountRef></PayrollItemWageAdd>"
       "</PayrollItemWageAddRq>"},
      {[](Company& c) { return c.CurrencyTypes()->Add("Euro", true, "ignored"); },
       "<CurrencyAddRq requestID = \"1\"><CurrencyAdd><Name>Euro</Name><IsActive>true</IsActive>"
       "</CurrencyAdd></CurrencyAddRq>"},
  };
  for (const Case& c : cases) {
    auto record = c.make(*company_);
    EXPECT_EQ(AddRequest(*record), c.body);
  }
  // The read-only lists write no Add fields at all.
  std::vector<std::shared_ptr<qcBase>> readOnly = {std::make_shared<TaxCode>(),
                                                   std::make_shared<PayrollItemNonWage>(),
                                                   std::make_shared<PriceLevel>()};
  for (const auto& record : readOnly) {
    xmlBldr builder;
    EXPECT_EQ(record->XMLInsert(builder), 0);
    EXPECT_EQ(builder.GetXML(), "");
  }
}

TEST_F(SimpleListsTest, ModifyIsRefusedWithEachRecordsTextAndSource) {
  struct Case {
    std::shared_ptr<qcBase> record;
    std::string source;
    std::string description;
  };
  const std::vector<Case> cases = {
      {std::make_shared<Class>(), "Brennock: Class", "XMLModify not allowed"},
      {std::make_shared<CustomerType>(), "Brennock: CustomerType", "XMLModify not allowed"},
      {std::make_shared<JobType>(), "Brennock: JobType", "XMLModify not allowed"},
      {std::make_shared<VendorType>(), "Brennock: VendorType", "XMLModify not allowed"},
      {std::make_shared<PayrollItemWage>(), "Brennock: PayrollItemWage", "XMLModify not allowed"},
      {std::make_shared<PayrollItemNonWage>(), "Brennock: PayrollItemNonWage",
       "XMLModify not allowed"},
      {std::make_shared<PriceLevel>(), "Brennock: PriceLevel", "XMLModify not allowed"},
      {std::make_shared<SalesRep>(), "Brennock: SalesRep", "XMLModify not supported"},
      {std::make_shared<SalesTaxCode>(), "Brennock: SalesTaxCode", "XMLModify not supported"},
      {std::make_shared<TaxCode>(), "Brennock: TaxCodes", "XMLModify not supported"},
      {std::make_shared<CurrencyType>(), "Brennock: Currency", "XMLModify not supported"},
      {std::make_shared<ShipMethod>(), "Brennock: ShipMethod", "Modify not allowed"},
      {std::make_shared<PaymentMethod>(), "Brennock: PaymentMethod", "Modify not allowed"},
      {std::make_shared<CustomerMessage>(), "Brennock: CustomerMsg", "Modify not allowed"},
  };
  for (const Case& c : cases) {
    xmlBldr builder;
    AutomationError error = RaisedBy([&] { c.record->XMLModify(builder); });
    EXPECT_EQ(error.Number(), ErrorNumber(1003));
    EXPECT_EQ(error.Source(), c.source);
    EXPECT_EQ(error.Description(), c.description);
  }
  xmlBldr builder;
  EXPECT_EQ(ToDo().XMLModify(builder), 0);
  EXPECT_EQ(builder.GetXML(), "");
}

// Validation errors as (number offset, field) pairs.
std::vector<std::pair<int32_t, std::string>> Errors(qcListObject& record) {
  std::vector<std::pair<int32_t, std::string>> found;
  record.Validate();
  for (const auto& error : *record.Errors())
    found.emplace_back(error->Number() - vbObjectError, error->Field());
  return found;
}

using Found = std::vector<std::pair<int32_t, std::string>>;

TEST_F(SimpleListsTest, NameRulesOfTheNamedLists) {
  auto classes = company_->Classes();
  EXPECT_EQ(Errors(*classes->Add(std::string(31, 'c'))), Found{});
  EXPECT_EQ(Errors(*classes->Add(std::string(32, 'c'))), (Found{{1013, "Name"}}));
  EXPECT_EQ(Errors(*company_->ShipMethods()->Add("")), (Found{{1012, "Name"}}));
  auto message = company_->CustomerMessages()->Add(std::string(101, 'm'));
  EXPECT_EQ(Errors(*message), Found{});
  message->SetName(std::string(102, 'm'));
  EXPECT_EQ(Errors(*message), (Found{{2400, "Name"}}));
  EXPECT_EQ(message->Errors()->Item(1)->Description(), "Message cannot exceed 101 characters");
  EXPECT_EQ(Errors(*company_->CurrencyTypes()->Add("")), (Found{{1012, "Name"}}));
  EXPECT_EQ(Errors(*company_->CurrencyTypes()->Add("Pound Sterling")), Found{});
}

TEST_F(SimpleListsTest, TaxCodeRules) {
  auto codes = company_->SalesTaxCodes();
  EXPECT_EQ(Errors(*codes->Add("Tax", std::string(31, 'd'))), Found{});
  EXPECT_EQ(Errors(*codes->Add("Taxe", std::string(32, 'd'))),
            (Found{{1400, "Name"}, {1401, "Description"}}));
  EXPECT_EQ(Errors(*codes->Add("")), (Found{{1012, "Name"}}));
}

TEST_F(SimpleListsTest, ToDoNotesRules) {
  auto list = company_->ToDoList();
  EXPECT_EQ(Errors(*list->Add(std::string(4095, 'n'))), Found{});
  auto tooLong = list->Add(std::string(4096, 'n'));
  EXPECT_EQ(Errors(*tooLong), (Found{{2501, "Notes"}}));
  EXPECT_EQ(tooLong->Errors()->Item(1)->Description(), "Notes cannot exceed 4095 characters");
  EXPECT_EQ(Errors(*list->Add("")), (Found{{2500, "Notes"}}));
}

TEST_F(SimpleListsTest, SalesRepRulesAskQuickBooksForTheEntity) {
  auto reps = company_->SalesReps();
  // Without an entity no lookup happens.
  EXPECT_EQ(Errors(*reps->Add("ABCDEF")), (Found{{2200, "Initial"}, {2202, "SalesRepEntity"}}));
  EXPECT_TRUE(processor_->Requests().empty());

  processor_->QueueResponse(Response(Status("EntityQueryRs", 1, 0, "Status OK",
                                            "<EmployeeRet><ListID>E1</ListID></EmployeeRet>")));
  EXPECT_EQ(Errors(*reps->Add("JD", true, "Jane Doe")), Found{});
  EXPECT_NE(processor_->LastRequestText().find(
                "<EntityQueryRq requestID = \"1\"><FullName>Jane Doe</FullName></EntityQueryRq>"),
            std::string::npos);

  processor_->QueueResponse(Response(Status("EntityQueryRs", 1, 0, "Status OK",
                                            "<CustomerRet><ListID>C1</ListID></CustomerRet>")));
  EXPECT_EQ(Errors(*reps->Add("CU", true, "A Customer")), (Found{{2203, "SalesRepEntity"}}));

  processor_->QueueResponse(
      Response(Status("EntityQueryRs", 1, 500, "The query request has not been fully completed.")));
  EXPECT_EQ(Errors(*reps->Add("NO", true, std::string(32, 'e'))),
            (Found{{2201, "SalesRepEntity:FullName"}, {2204, "SalesRepEntity"}}));
}

TEST_F(SimpleListsTest, AddOnlySettersRefuseSavedRecords) {
  auto todo = company_->ToDoList()->Add("First");
  todo->SetNotes("Second");  // still New: stored
  EXPECT_EQ(todo->Notes(), "Second");
  EXPECT_EQ(todo->ObjectState(), qoObjectStateNew);
  todo->SetObjectState(qoObjectStateClean);
  AutomationError error = RaisedBy([&] { todo->SetNotes("Third"); });
  EXPECT_EQ(error.Number(), ErrorNumber(1002));
  EXPECT_EQ(error.Source(), "ToDo");
  EXPECT_EQ(error.Description(), "Field cannot be modified");
  EXPECT_EQ(todo->Notes(), "Second");
  EXPECT_EQ(todo->ObjectState(), qoObjectStateClean);

  auto rep = company_->SalesReps()->Add("JD", true, "Jane");
  rep->SetObjectState(qoObjectStateClean);
  EXPECT_EQ(RaisedBy([&] { rep->SetEntity("Joe"); }).Source(), "SalesRep");
  EXPECT_EQ(rep->Entity(), "Jane");
  auto wage = company_->PayrollItemWages()->Add("Regular");
  wage->SetObjectState(qoObjectStateClean);
  EXPECT_EQ(RaisedBy([&] { wage->SetWageType(qbWageTypeBonus); }).Source(), "PayrollItemWage");

  // A customer message's text is simply replaced, whatever the state.
  auto message = company_->CustomerMessages()->Add("Hello");
  message->SetObjectState(qoObjectStateClean);
  message->SetName("Goodbye");
  EXPECT_EQ(message->Name(), "Goodbye");
  EXPECT_EQ(message->ObjectState(), qoObjectStateClean);
}

TEST_F(SimpleListsTest, FlatListsHaveNoHierarchy) {
  auto ship = company_->ShipMethods()->Add("UPS");
  EXPECT_FALSE(ship->SupportsChildren());
  EXPECT_EQ(ship->Parent(), "");
  EXPECT_EQ(ship->FullName(), "UPS");
  EXPECT_EQ(ship->CollectionKey(), "UPS");
  EXPECT_TRUE(company_->Classes()->Add("Top")->SupportsChildren());
  // A sales rep is filed under its initials.
  company_->SalesReps()->Add("JD");
  EXPECT_TRUE(company_->SalesReps()->ItemExists("jd"));
}

// Loads a record from one ...Ret element.
template <class Record>
std::shared_ptr<Record> Loaded(const std::string& ret) {
  XmlDocument document;
  EXPECT_TRUE(document.loadXML(ret));
  auto record = std::make_shared<Record>();
  record->FromDom(document.documentElement());
  return record;
}

TEST_F(SimpleListsTest, Windows1252ReferencesReadBackAsTheCharactersWritten) {
  // The query-result form writes the tilde as &#152;; read back from a document it is the tilde
  // again (not U+0098), and the form stays the same.
  auto ship = Loaded<ShipMethod>("<ShipMethodRet><Name>A&#152;&#128;</Name></ShipMethodRet>");
  EXPECT_EQ(ship->Name(), "A\u02DC\u20AC");
  xmlBldr written;
  ship->XMLQueryRs(written);
  auto again = Loaded<ShipMethod>("<ShipMethodRet>" + written.GetXML() + "</ShipMethodRet>");
  EXPECT_EQ(again->Name(), ship->Name());
}

TEST_F(SimpleListsTest, ResponsesFillEachRecordsOwnFields) {
  auto code = Loaded<SalesTaxCode>(
      "<SalesTaxCodeRet><ListID>S1</ListID><EditSequence>7</EditSequence><Name>Tax</Name>"
      "<IsActive>false</IsActive><IsTaxable>true</IsTaxable><Desc>Taxable</Desc>"
      "</SalesTaxCodeRet>");
  EXPECT_EQ(code->ListID(), "S1");
  EXPECT_EQ(code->EditSequence(), "7");
  EXPECT_FALSE(code->IsActive());
  EXPECT_TRUE(code->IsTaxable());
  EXPECT_EQ(code->Description(), "Taxable");

  auto tax = Loaded<TaxCode>(
      "<TaxCodesRet><Name>G</Name><Tax1Rate>7.5%</Tax1Rate><IsTax2Exempt>true</IsTax2Exempt>"
      "<IsPiggybackRate>1</IsPiggybackRate></TaxCodesRet>");
  EXPECT_FLOAT_EQ(tax->Tax1Rate(), 7.5f);
  EXPECT_TRUE(tax->Tax2Exempt());
  EXPECT_TRUE(tax->IsPiggybackRate());

  auto wage = Loaded<PayrollItemWage>(
      "<PayrollItemWageRet><Name>OT</Name><WageType>HourlyOvertime</WageType>"
      "<ExpenseAccountRef><ListID>A1</ListID><FullName>Wages</FullName></ExpenseAccountRef>"
      "</PayrollItemWageRet>");
  EXPECT_EQ(wage->WageType(), qbWageTypeHourlyOvertime);
  EXPECT_EQ(wage->ExpenseAccount(), "Wages");

  auto level = Loaded<PriceLevel>(
      "<PriceLevelRet><Name>Wholesale</Name><PriceLevelType>PerItem</PriceLevelType>"
      "<PriceLevelPerItemRet><ItemRef><FullName>Widget</FullName></ItemRef>"
      "<CustomPrice>12.50</CustomPrice></PriceLevelPerItemRet>"
      "<PriceLevelPerItemRet><ItemRef><FullName>Gadget</FullName></ItemRef>"
      "<CustomPricePercent>-10</CustomPricePercent></PriceLevelPerItemRet></PriceLevelRet>");
  ASSERT_EQ(level->PriceLevelsPerItem()->Count(), 2);
  EXPECT_EQ(level->PriceLevelsPerItem()->Item(1)->Item(), "Widget");
  EXPECT_EQ(level->PriceLevelsPerItem()->Item(1)->CustomPrice(), Currency::Parse("12.5"));
  EXPECT_FALSE(level->PriceLevelsPerItem()->Item(1)->CustomPriceIsPercent());
  EXPECT_TRUE(level->PriceLevelsPerItem()->Item(2)->CustomPriceIsPercent());
  EXPECT_EQ(level->PriceLevelsPerItem()->Item(2)->ObjectState(), qoObjectStateClean);

  auto currency = Loaded<CurrencyType>(
      "<CurrencyRet><Name>Euro</Name><Code>EUR</Code><Symbol>E</Symbol><DecimalPlaces>2"
      "</DecimalPlaces><IsEmu>true</IsEmu><ExchangeRate>1.25</ExchangeRate></CurrencyRet>");
  EXPECT_EQ(currency->Code(), "EUR");
  EXPECT_EQ(currency->DecimalPlaces(), 2);
  EXPECT_TRUE(currency->IsEmu());
  EXPECT_FLOAT_EQ(currency->ExchangeRate(), 1.25f);

  auto rep = Loaded<SalesRep>(
      "<SalesRepRet><Initial>JD</Initial><SalesRepEntityRef><FullName>Jane Doe</FullName>"
      "</SalesRepEntityRef></SalesRepRet>");
  EXPECT_EQ(rep->Initial(), "JD");
  EXPECT_EQ(rep->FullName(), "JD");
  EXPECT_EQ(rep->Entity(), "Jane Doe");
}

}  // namespace
}  // namespace brennock::testing
