// Journal entries on a simulated company (strict-schema mode): the rules of lines and entries,
// the Add and Mod bodies byte for byte, and what a balanced entry moves in the books, while one
// that does not balance is stopped by the library and, sent all the same, by QuickBooks.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/lists/simulator_fixture.h"
#include "tests/transactions/txn_test_helpers.h"

namespace brennock::testing {
namespace journal_entry_test {
namespace {

// These tests expect the numbers less vbObjectError.
constexpr auto& RaisedBy = RaisedLessBaseBy;

class JournalEntryTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};
    return options;
  }
  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto vendors = Session().company->Vendors();
    vendors->Add("Harbour Supply");
    ASSERT_EQ(vendors->Commit(), 0);
    auto customers = Session().company->Customers();
    customers->Add("Ledger Lane Ltd");
    ASSERT_EQ(customers->Commit(), 0);
  }

  std::shared_ptr<JournalEntry> Entry() { return Session().company->JournalEntries()->Add(); }

  std::map<std::string, int64_t> Balances() {
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    std::map<std::string, int64_t> out;
    for (const char* name : {"Checking", "Prepaid Insurance"})
      out[name] = accounts->Item(name)->Balance().Scaled() / 100;
    return out;
  }

  std::string LastRequest() const { return recorder_->Requests().back().text; }
};

TEST_F(JournalEntryTest, LineSettersRefuseWhatDoesNotExist) {
  auto line = Entry()->Lines()->Add();
  const std::string source = "Brennock:JournalEntryLine";
  EXPECT_EQ(RaisedBy([&] { line->SetAccount("Nowhere"); }),
            (Raised{1014, source, "Invalid account specified"}));
  EXPECT_EQ(RaisedBy([&] { line->SetClass("Nowhere"); }),
            (Raised{2013, source, "Class code does not exist"}));
  EXPECT_EQ(RaisedBy([&] { line->SetEntity("Nobody"); }),
            (Raised{2010, source, "Entity does not exist"}));
  EXPECT_EQ(RaisedBy([&] { line->SetAmountAsString("12x"); }),
            (Raised{1028, source, "This field cantains an invalid character."}));
  line->SetAmountAsString("12.5");
  EXPECT_EQ(line->Amount(), Currency::Parse("12.5"));
  EXPECT_EQ(line->AmountAsString(), "12.50");
}

TEST_F(JournalEntryTest, ValidationFindsEveryBrokenRule) {
  auto entry = Entry();
  entry->SetRefNumber("ABCDEFGHIJKL");  // 12 characters
  auto lines = entry->Lines();
  lines->Add("Checking", Currency(100), true);
  lines->Add("Savings", Currency(90), false);
  lines->Add("Accounts Receivable", Currency(-5), false, {}, "Harbour Supply");
  lines->Add("Accounts Payable", {}, true, {}, "Ledger Lane Ltd");
  lines->Add("Purchase Orders", {}, true, {}, {}, "memo only");
  lines->Add();
  lines->Add();
  // 100 debited, 90 + (-5) credited: 15 remains.
  EXPECT_EQ(entry->RemainingAmount(), Currency(15));
  EXPECT_FALSE(entry->Validate());
  EXPECT_EQ(ErrorsOf(*entry->Errors()),
            (std::vector<std::string>{
                "1800 RefNumber: EntryNumber cannot exceed 11 characters",
                "1011 3: Indicated object failed validation.  Check object's errors for details.",
                "1011 4: Indicated object failed validation.  Check object's errors for details.",
                "1011 5: Indicated object failed validation.  Check object's errors for details.",
                "1801 TotalBalance: Journal lines do not balance"}));
  EXPECT_EQ(ErrorsOf(*lines->Item(3)->Errors()),
            (std::vector<std::string>{
                "1803 Amount: Journal lines can only contain positive amounts",
                "1805 Entity: Transactions to accounts receivable must include a customer"}));
  EXPECT_EQ(ErrorsOf(*lines->Item(4)->Errors()),
            (std::vector<std::string>{
                "1806 Entity: Transactions to accounts payable must include a vendor"}));
  EXPECT_EQ(ErrorsOf(*lines->Item(5)->Errors()),
            (std::vector<std::string>{"1807 Account: Non-posting accounts cannot be used"}));
  EXPECT_EQ(lines->Count(), 5);  // the two empty lines after the last used one are gone

  auto bare = Entry();
  bare->Lines()->Add()->SetMemo("");
  EXPECT_FALSE(bare->Validate());
  EXPECT_EQ(ErrorsOf(*bare->Errors()),
            (std::vector<std::string>{
                "2022 JournalEntryLines: Transactions must have at least one line item"}));
  auto noAccount = Entry();
  noAccount->Lines()->Add({}, Currency(5));
  noAccount->Lines()->Add("Checking", Currency(5), false);
  EXPECT_FALSE(noAccount->Validate());
  EXPECT_EQ(ErrorsOf(*noAccount->Lines()->Item(1)->Errors()),
            (std::vector<std::string>{
                "1804 Account: Journal entries require an account on each line with an amount"}));
}

TEST_F(JournalEntryTest, AnEntryThatDoesNotBalanceIsStoppedTwice) {
  auto entries = Session().company->JournalEntries();
  auto entry = entries->Add(Date::FromDate(2024, 4, 1), "JE-1");
  entry->Lines()->Add("Prepaid Insurance", Currency(100), true);
  entry->Lines()->Add("Checking", Currency(90), false);
  const size_t sent = Sent();
  EXPECT_EQ(RaisedBy([&] { entries->Commit(); }).number, 1023);
  EXPECT_EQ(Sent(), sent);  // the library sent nothing
  EXPECT_EQ(ErrorsOf(*entry->Errors()),
            (std::vector<std::string>{"1801 TotalBalance: Journal lines do not balance"}));

  // The same body sent by hand: QuickBooks refuses it as well.
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregate("JournalEntryAddRq", "requestID", "1");
  builder.OpenAggregateOnly("JournalEntryAdd");
  entry->XMLInsert(builder);
  builder.EndAggregate("JournalEntryAdd");
  builder.EndAggregate("JournalEntryAddRq");
  builder.NewSendRequest();
  EXPECT_EQ(builder.ErrNumber(), 3180);
  EXPECT_NE(builder.ErrMsg().find("not in balance"), std::string::npos) << builder.ErrMsg();
}

TEST_F(JournalEntryTest, ABalancedEntryMovesBothAccountsAndIsChangedLineByLine) {
  auto before = Balances();
  auto entries = Session().company->JournalEntries();
  auto entry = entries->Add(Date::FromDate(2024, 4, 2), "JE-2", "Insurance for the year");
  entry->Lines()->Add("Checking", Currency(70), false, {}, {}, "first half");
  entry->Lines()->Add("Prepaid Insurance", Currency(120), true, "Retail", "Harbour Supply");
  entry->Lines()->Add("Checking", Currency(50), false);
  ASSERT_TRUE(entry->Validate());
  ASSERT_EQ(entries->Commit(), 1);
  // Debits first; the entry's memo, names and classes are not sent.
  const std::string add = LastRequest();
  EXPECT_EQ(add.substr(add.find("<JournalEntryAdd>"),
                       add.find("</JournalEntryAddRq>") - add.find("<JournalEntryAdd>")),
            "<JournalEntryAdd><TxnDate>2024-04-02</TxnDate><RefNumber>JE-2</RefNumber>"
            "<JournalDebitLine><AccountRef><FullName>Prepaid Insurance</FullName></AccountRef>"
            "<Amount>120.00</Amount></JournalDebitLine>"
            "<JournalCreditLine><AccountRef><FullName>Checking</FullName></AccountRef>"
            "<Amount>70.00</Amount><Memo>first half</Memo></JournalCreditLine>"
            "<JournalCreditLine><AccountRef><FullName>Checking</FullName></AccountRef>"
            "<Amount>50.00</Amount></JournalCreditLine></JournalEntryAdd>");
  EXPECT_EQ(entry->ObjectState(), qoObjectStateClean);
  ASSERT_EQ(entry->Lines()->Count(), 3);
  EXPECT_TRUE(entry->Lines()->Item(1)->IsDebit());
  // 70.00 + 50.00 leave the bank; 120.00 prepaid.
  EXPECT_EQ(Balances(), (std::map<std::string, int64_t>{
                            {"Checking", before["Checking"] - 12000},
                            {"Prepaid Insurance", before["Prepaid Insurance"] + 12000}}));

  // A change sends every line in the order held, each with its ID and kind.
  simulator::AdvanceClock(60);
  auto line2 = entry->Lines()->Item(2);
  line2->SetMemo("second half");
  ASSERT_EQ(entries->CommitAll(), 1);
  const std::string mod = LastRequest();
  std::string expected = "<JournalEntryMod><TxnID>" + entry->TxnId() + "</TxnID><EditSequence>";
  EXPECT_EQ(mod.substr(mod.find("<JournalEntryMod>"), expected.size()), expected);
  const auto& lines = *entry->Lines();
  EXPECT_NE(mod.find("<RefNumber>JE-2</RefNumber><JournalLineMod><TxnLineID>" +
                     lines.Item(1)->TxnLineId() +
                     "</TxnLineID><JournalLineType>Debit</JournalLineType><AccountRef><FullName>"
                     "Prepaid Insurance</FullName></AccountRef><Amount>120.00</Amount><Memo>"
                     "</Memo></JournalLineMod><JournalLineMod><TxnLineID>" +
                     lines.Item(2)->TxnLineId() +
                     "</TxnLineID><JournalLineType>Credit</JournalLineType><AccountRef>"
                     "<FullName>Checking</FullName></AccountRef><Amount>70.00</Amount><Memo>"
                     "second half</Memo></JournalLineMod>"),
            std::string::npos)
      << mod;
  EXPECT_EQ(entry->Lines()->Item(2)->Memo(), "second half");

  // Asked for by account and name: the lines' names stayed with the library, so none matches.
  auto found = std::make_shared<JournalEntries>();
  EXPECT_EQ(found->GetByAccountAndEntity("Checking", false, "Harbour Supply", true), 0);
  const std::string query = LastRequest();
  EXPECT_NE(query.find("<JournalEntryQueryRq><EntityFilter><FullNameWithChildren>Harbour Supply"
                       "</FullNameWithChildren></EntityFilter><AccountFilter><FullName>Checking"
                       "</FullName></AccountFilter><IncludeLineItems>true</IncludeLineItems>"
                       "</JournalEntryQueryRq>"),
            std::string::npos)
      << query;
}

}  // namespace
}  // namespace journal_entry_test
}  // namespace brennock::testing
