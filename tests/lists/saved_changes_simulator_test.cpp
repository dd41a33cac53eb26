// A change to a saved record reaches QuickBooks whatever part of the record it touches: a field
// emptied, an address line, the credit card, an assembly's components. End to end against the
// simulated QuickBooks in strict-schema mode.
#include <string>

#include "simulator/company_file.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class SavedChangesTest : public SimulatorListsTest {
 protected:
  // The text of the request sent last.
  std::string LastRequest() const { return recorder_->Requests().back().text; }

  std::shared_ptr<Customer> SavedCustomer() {
    auto customers = Session().company->Customers();
    auto ada = customers->Add("Ada");
    ada->SetPhone("021 555 0100");
    ada->SetFax("021 555 0101");
    ada->SetTerms("Net 30");
    ada->BillTo()->SetLine1("1 Quay Street");
    ada->BillTo()->SetLine2("Floor 2");
    ada->BillTo()->SetCity("Cork");
    EXPECT_EQ(customers->Commit(), 0);
    EXPECT_EQ(ada->ObjectState(), qoObjectStateClean);
    return ada;
  }

  std::shared_ptr<Customer> ReadBack(const std::string& name) {
    auto fresh = std::make_shared<Customers>();
    return fresh->GetByFullName(name);
  }
};

TEST_F(SavedChangesTest, ACustomersAddressOrCardAloneMakesItDirtyAndIsSaved) {
  Session().company->Terms()->AddStandard("Net 30", 30);
  ASSERT_EQ(Session().company->Terms()->Commit(), 0);
  auto ada = SavedCustomer();
  auto customers = Session().company->Customers();

  ada->BillTo()->SetCity("New Town");
  EXPECT_EQ(ada->ObjectState(), qoObjectStateDirty);
  size_t sent = Sent();
  ASSERT_EQ(customers->Commit(), 0);
  ASSERT_EQ(Sent(), sent + 1);
  EXPECT_NE(
      LastRequest().find("<BillAddress><Addr1>1 Quay Street</Addr1><Addr2>Floor 2</Addr2>"
                         "<Addr3></Addr3><Addr4></Addr4><Addr5></Addr5><City>New Town</City>"),
      std::string::npos)
      << LastRequest();
  EXPECT_EQ(ada->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(ReadBack("Ada")->BillTo()->City(), "New Town");

  ada->CreditCard()->SetCardNumber("4111111111111111");
  EXPECT_EQ(ada->ObjectState(), qoObjectStateDirty);
  ASSERT_EQ(customers->Commit(), 0);
  EXPECT_EQ(ReadBack("Ada")->CreditCard()->CardNumber(), "4111111111111111");

  // An address line the client empties is cleared; the rest stays.
  ada->BillTo()->SetLine2("");
  ASSERT_EQ(customers->Commit(), 0);
  auto read = ReadBack("Ada");
  EXPECT_EQ(read->BillTo()->Line2(), "");
  EXPECT_EQ(read->BillTo()->Line1(), "1 Quay Street");
  EXPECT_EQ(read->ObjectState(), qoObjectStateClean);
}

TEST_F(SavedChangesTest, EmptiedFieldsAreClearedInQuickBooks) {
  Session().company->Terms()->AddStandard("Net 30", 30);
  ASSERT_EQ(Session().company->Terms()->Commit(), 0);
  auto ada = SavedCustomer();
  ada->SetPhone("");
  ada->SetTerms("");
  ASSERT_EQ(Session().company->Customers()->Commit(), 0);
  EXPECT_NE(LastRequest().find("<Phone></Phone>"), std::string::npos) << LastRequest();
  EXPECT_NE(LastRequest().find("<TermsRef><FullName></FullName></TermsRef>"), std::string::npos);
  auto read = ReadBack("Ada");
  EXPECT_EQ(read->Phone(), "");
  EXPECT_EQ(read->Terms(), "");
  EXPECT_EQ(read->Fax(), "021 555 0101");

  // A vendor's Mod carries every field that holds a value, and those the client emptied.
  auto vendors = Session().company->Vendors();
  auto acme = vendors->Add("Acme");
  acme->SetFax("555 0102");
  acme->SetNotes("Pays late");
  acme->Address()->SetLine1("2 Mill Road");
  acme->Address()->SetCity("Kinsale");
  ASSERT_EQ(vendors->Commit(), 0);
  acme->SetFax("");
  acme->SetNotes("");
  acme->Address()->SetCity("");
  ASSERT_EQ(vendors->Commit(), 0);
  EXPECT_NE(LastRequest().find("<VendorAddress><Addr1>2 Mill Road</Addr1><City></City>"
                               "</VendorAddress>"),
            std::string::npos)
      << LastRequest();
  auto readVendor = std::make_shared<Vendors>()->GetByFullName("Acme");
  ASSERT_NE(readVendor, nullptr);
  EXPECT_EQ(readVendor->Fax(), "");
  EXPECT_EQ(readVendor->Notes(), "");
  EXPECT_EQ(readVendor->Address()->City(), "");
  EXPECT_EQ(readVendor->Address()->Line1(), "2 Mill Road");
}

class SavedItemChangesTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1};
    return options;
  }
};

TEST_F(SavedItemChangesTest, AComponentAddedToASavedAssemblyIsSent) {
  auto items = Session().company->Items();
  auto frame = items->AddAssembly("Frame", "Sales", "Cost of Goods Sold", "Inventory Asset", "", 0,
                                  "", 60, "Assembled frame", 5, "Tax");
  frame->Components()->Add(4, "Bracket");
  ASSERT_EQ(items->Commit(), 0);
  ASSERT_EQ(frame->ObjectState(), qoObjectStateClean);

  frame->Components()->Add(2, "Hinge");
  EXPECT_EQ(frame->ObjectState(), qoObjectStateDirty);
  ASSERT_EQ(items->Commit(), 0);
  EXPECT_EQ(frame->ObjectState(), qoObjectStateClean);
  items->Clear();
  auto read = Items::CastObject<ItemAssembly>(items->GetByFullName("Frame"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->Components()->Count(), 2);
  EXPECT_EQ(read->Components()->Item(2)->Item(), "Hinge");

  // QuickBooks does not modify group items: a line added to a saved group is refused aloud.
  auto pack = items->AddGroup("Pack", "Brackets in a pack", true);
  pack->GroupLines()->Add(10, "Bracket");
  ASSERT_EQ(items->Commit(pack), 0);
  pack->GroupLines()->Add(1, "Hinge");
  EXPECT_EQ(pack->ObjectState(), qoObjectStateDirty);
  EXPECT_THROW(items->Commit(pack), AutomationError);
}

TEST_F(SavedItemChangesTest, CustomFieldsOfSavedItemsAreKeptWhenAnotherItemFails) {
  auto company = Session().company;
  company->CustomFields()->Add("Bin")->AddAssignedTo(qoObjectTypeItem);
  ASSERT_EQ(company->CustomFields()->Commit(), 0);
  auto items = company->Items();
  auto hook = items->AddNonInventoryWithSalesOrPurchase("Hook", "", "", 2, "Sales");
  hook->CustomFields()->Item(std::string("Bin"))->SetValue(Variant("C-2"));
  // A second item named like an existing one: QuickBooks refuses it (3100).
  items->AddNonInventoryWithSalesOrPurchase("Bracket", "", "", 2, "Sales");
  EXPECT_THROW(items->Commit(), AutomationError);
  EXPECT_EQ(hook->ObjectState(), qoObjectStateClean);

  auto fresh = std::make_shared<Items>();
  fresh->SetIncludeDataExtensions(true);
  auto read = Items::CastObject<ItemNonInventory>(fresh->GetByFullName("Hook"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->CustomFields()->Item(std::string("Bin"))->Value(), Variant("C-2"));
}

}  // namespace
}  // namespace brennock::testing
