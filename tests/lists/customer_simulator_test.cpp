// Customers end to end against the simulated QuickBooks in strict-schema mode.
#include <set>
#include <string>
#include <vector>

#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

using CustomerSimulatorTest = SimulatorListsTest;

TEST_F(CustomerSimulatorTest, AddReadModifyAndRefuseAStaleModify) {
  Session().errorMode = false;
  auto customers = Session().company->Customers();
  auto ada = customers->Add("Ada Lovelace Ltd");
  ada->SetCompanyName("Ada Lovelace Ltd");
  ada->SetFirstName("Ada");
  ada->SetPhone("021 555 0100");
  ada->BillTo()->SetLine1("1 Quay Street");
  ada->BillTo()->SetCity("Cork");
  ada->BillTo()->SetPostalCode("T12");
  ada->ShipTo()->SetLine1("Unit 4, Harbour Park");
  ada->ShipTo()->SetCity("Cobh");
  ada->CreditCard()->SetCardNumber("4111111111111111");
  ada->CreditCard()->SetExpirationMonth(7);
  ada->CreditCard()->SetExpirationYear(2030);
  ada->SetCreditLimit(Currency(2500));
  ada->SetJobStatus(qbJobStatusAwarded);
  customers->Add("Roof Repair", true, "Ada Lovelace Ltd");
  customers->Add("New Deck", true, "Ada Lovelace Ltd");
  ASSERT_EQ(customers->Commit(), 0);
  ASSERT_EQ(ada->ObjectState(), qoObjectStateClean);

  ASSERT_EQ(customers->GetAll(), 3);
  auto read = customers->Item("Ada Lovelace Ltd");
  EXPECT_EQ(read->FirstName(), "Ada");
  EXPECT_EQ(read->Phone(), "021 555 0100");
  EXPECT_EQ(read->BillTo()->Line1(), "1 Quay Street");
  EXPECT_EQ(read->BillTo()->PostalCode(), "T12");
  EXPECT_EQ(read->ShipTo()->City(), "Cobh");
  EXPECT_EQ(read->CreditCard()->CardNumber(), "4111111111111111");
  EXPECT_EQ(read->CreditCard()->ExpirationYear(), 2030);
  EXPECT_EQ(read->CreditLimit(), Currency(2500));
  EXPECT_EQ(read->JobStatus(), qbJobStatusAwarded);
  ASSERT_EQ(read->Jobs()->Count(), 2);
  EXPECT_EQ(customers->Item("Ada Lovelace Ltd:New Deck")->Parent(), "Ada Lovelace Ltd");

  // A second client reads the same customer before it changes.
  auto other = std::make_shared<Customers>();
  ASSERT_NE(other->GetByFullName("Ada Lovelace Ltd"), nullptr);
  std::string before = read->EditSequence();
  read->SetPhone("021 555 0199");
  size_t sent = Sent();
  ASSERT_EQ(customers->Commit(read), 0);
  const std::string& mod = recorder_->Requests()[sent].text;
  EXPECT_NE(mod.find("<EditSequence>" + before +
                     "</EditSequence><Phone>021 555 0199</Phone>"
                     "</CustomerMod>"),
            std::string::npos)
      << mod;
  EXPECT_NE(read->EditSequence(), before);

  // The old copy, saved through the master collection, is refused and changes nothing.
  auto stale = other->Item(1);
  customers->Clear();
  customers->AddObject(stale);
  stale->SetNotes("Written on an old copy");
  EXPECT_EQ(customers->Commit(stale), 1);
  ASSERT_EQ(stale->Errors()->Count(), 1);
  EXPECT_NE(stale->Errors()->Item(1)->Description().find(before), std::string::npos)
      << stale->Errors()->Item(1)->Description();
  EXPECT_EQ(stale->ObjectState(), qoObjectStateDirty);
  ASSERT_EQ(customers->GetAll(), 3);
  EXPECT_TRUE(customers->Item("Ada Lovelace Ltd")->Notes().empty());
  EXPECT_EQ(customers->Item("Ada Lovelace Ltd")->Phone(), "021 555 0199");
}

TEST_F(CustomerSimulatorTest, TextOutsideAsciiComesBackAsItWent) {
  const std::vector<std::string> names = {"Zo\u00EB", "\u65E5\u672C\u8A9E \u5546\u4F1A",
                                          "Caf\u00E9 \U0001F600 \u20AC"};
  auto customers = Session().company->Customers();
  for (const std::string& name : names) customers->Add(name)->SetNotes(name + " \u2014 notes");
  ASSERT_EQ(customers->Commit(), 0);
  // Windows-1252 characters go as references, the others as they are.
  EXPECT_NE(recorder_->LastRequestText().find("<Name>Zo&#235;</Name>"), std::string::npos);
  customers->Clear();
  ASSERT_EQ(customers->GetAll(), 3);
  for (const std::string& name : names) {
    ASSERT_TRUE(customers->ItemExists(name)) << name;
    EXPECT_EQ(customers->Item(name)->Notes(), name + " \u2014 notes");
  }
}

TEST_F(CustomerSimulatorTest, IteratorWalksEveryCustomerOnce) {
  auto customers = Session().company->Customers();
  for (int i = 0; i < 250; ++i) customers->Add("Customer " + std::to_string(1000 + i));
  ASSERT_EQ(customers->Commit(), 0);
  customers->Clear();
  EXPECT_EQ(customers->GetCount(), 250);
  std::set<std::string> seen;
  int pages = 0;
  for (int32_t n = customers->GetFirst(100); n > 0; n = customers->GetNext()) {
    ++pages;
    for (const auto& customer : *customers) EXPECT_TRUE(seen.insert(customer->Name()).second);
  }
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(seen.size(), 250u);
  EXPECT_EQ(customers->IteratorRemainingCount(), 0);
  EXPECT_EQ(customers->Errors()->Count(), 0);
}

}  // namespace
}  // namespace brennock::testing
