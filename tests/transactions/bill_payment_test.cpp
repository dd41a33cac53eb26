// Bill payments by check and by card end to end against the simulated QuickBooks in strict-schema
// mode: prepared through the vendor, their request bodies as written, and every balance they move;
// then the setters' refusals and the queries of both kinds.
#include <functional>
#include <map>
#include <string>

#include "tests/lists/simulator_fixture.h"
#include "tests/transactions/txn_test_helpers.h"

namespace brennock::testing {
namespace bill_payment_test {
namespace {

// These tests expect the numbers less vbObjectError.
constexpr auto& RaisedBy = RaisedLessBaseBy;

// The body of the last request of that kind sent, from its opening tag to its closing one.
std::string Body(const std::string& request, const std::string& element) {
  const size_t from = request.find("<" + element + ">");
  const size_t to = request.find("</" + element + ">");
  if (from == std::string::npos || to == std::string::npos) return {};
  return request.substr(from, to + element.size() + 3 - from);
}

class BillPaymentTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};
    return options;
  }

  // Harbour Supply, owed 80.00 on one bill (10 widgets at 8.00).
  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto vendors = Session().company->Vendors();
    vendors->Add("Harbour Supply");
    ASSERT_EQ(vendors->Commit(), 0);
    auto bills = Session().company->Bills();
    auto bill = bills->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 5));
    bill->ItemLines()->Add("Widget", 10)->SetCost(8);
    ASSERT_EQ(bills->Commit(), 1);
    billId_ = bill->TxnId();
  }

  // Balances in cents, as QuickBooks answers them.
  std::map<std::string, int64_t> Books() {
    auto cents = [](Currency value) { return value.Scaled() / 100; };
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    auto balance = [&](const std::string& name) { return cents(accounts->Item(name)->Balance()); };
    return {
        // What the bill still asks for (the simulator's AmountDue follows the payments).
        {"bill due", cents(std::make_shared<Bills>()->GetByTxnID(billId_)->AmountDue())},
        {"vendor", cents(std::make_shared<Vendors>()->GetByFullName("Harbour Supply")->Balance())},
        {"A/P", balance("Accounts Payable")},
        {"Checking", balance("Checking")},
        {"Company Card", balance("Company Card")}};
  }

  std::map<std::string, int64_t> MovedSince(const std::map<std::string, int64_t>& before) {
    std::map<std::string, int64_t> moved;
    for (const auto& [name, value] : Books()) moved[name] = value - before.at(name);
    return moved;
  }

  std::string LastRequest(size_t back = 0) const {
    const auto& requests = recorder_->Requests();
    return requests[requests.size() - 1 - back].text;
  }

  std::string billId_;
};

TEST_F(BillPaymentTest, ACheckPreparedByTheVendorPaysPartOfTheBill) {
  auto before = Books();
  auto vendor = Session().company->Vendors()->GetByFullName("Harbour Supply");
  EXPECT_EQ(vendor->Payment(), nullptr);  // nothing prepared before the bills are read
  ASSERT_EQ(vendor->GetBillsAndCredits(), 0);
  ASSERT_EQ(vendor->OpenBills()->Count(), 1);
  EXPECT_EQ(vendor->OpenBills()->Item(1)->TxnId(), billId_);

  std::shared_ptr<BillPayment> payment = vendor->Payment();
  ASSERT_NE(payment, nullptr);
  EXPECT_EQ(vendor->Payment(), payment);  // the same one until the bills are read again
  EXPECT_EQ(payment->Payee(), "Harbour Supply");
  EXPECT_EQ(payment->PaymentMethod(), qbBillPaymentMethodCheck);
  payment->SetTxnDate(Date::FromDate(2024, 3, 20));
  payment->SetBankAccount("Checking");
  payment->SetRefNumber("501");
  payment->SetMemo("Part payment");
  payment->AppliedToTxns()->Add(billId_, Currency(30));
  vendor->AddPaymentForPosting();
  vendor->AddPaymentForPosting();  // filed once
  auto payments = Session().company->BillPayments();
  ASSERT_EQ(payments->Count(), 1);
  ASSERT_EQ(payments->Commit(), 1);

  EXPECT_EQ(Body(LastRequest(), "BillPaymentCheckAdd"),
            "<BillPaymentCheckAdd><PayeeEntityRef><FullName>Harbour Supply</FullName>"
            "</PayeeEntityRef><TxnDate>2024-03-20</TxnDate><BankAccountRef><FullName>Checking"
            "</FullName></BankAccountRef><RefNumber>501</RefNumber><Memo>Part payment</Memo>"
            "<AppliedToTxnAdd><TxnID>" +
                billId_ +
                "</TxnID><PaymentAmount>30.00</PaymentAmount></AppliedToTxnAdd>"
                "</BillPaymentCheckAdd>");
  EXPECT_EQ(payment->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(payment->TxnId().empty());
  EXPECT_EQ(payment->Amount(), Currency(30));
  EXPECT_EQ(payment->APAccount(), "Accounts Payable");  // QuickBooks' default
  ASSERT_EQ(payment->AppliedToTxns()->Count(), 1);
  EXPECT_EQ(payment->AppliedToTxns()->Item(1)->TxnId(), billId_);
  // 30.00 paid of 80.00: 50.00 stays open; the vendor, A/P and the bank all fall by 30.00.
  EXPECT_EQ(MovedSince(before), (std::map<std::string, int64_t>{{"bill due", -3000},
                                                                {"vendor", -3000},
                                                                {"A/P", -3000},
                                                                {"Checking", -3000},
                                                                {"Company Card", 0}}));

  // A payment by check is changed in place: its number and entries go out again.
  simulator::AdvanceClock(60);
  payment->SetMemo("Paid in part");
  ASSERT_EQ(payments->Commit(), 1);
  const std::string mod = Body(LastRequest(), "BillPaymentCheckMod");
  EXPECT_NE(mod.find("</BankAccountRef><RefNumber>501</RefNumber><Memo>Paid in part</Memo>"
                     "<AppliedToTxnMod><TxnID>" +
                     billId_ + "</TxnID><PaymentAmount>30.00</PaymentAmount></AppliedToTxnMod>"),
            std::string::npos)
      << mod;
  EXPECT_EQ(payment->Memo(), "Paid in part");
}

TEST_F(BillPaymentTest, ACardPaymentIsAddedAsOneAndMovesTheCard) {
  auto before = Books();
  auto payments = Session().company->BillPayments();
  auto payment =
      payments->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 21), {}, {}, "Company Card",
                    std::nullopt, {}, qbBillPaymentMethodCreditCard, "C-7");
  payment->AppliedToTxns()->Add(billId_, Currency(20));
  ASSERT_EQ(payments->Commit(), 1);
  EXPECT_EQ(Body(LastRequest(), "BillPaymentCreditCardAdd"),
            "<BillPaymentCreditCardAdd><PayeeEntityRef><FullName>Harbour Supply</FullName>"
            "</PayeeEntityRef><TxnDate>2024-03-21</TxnDate><CreditCardAccountRef><FullName>"
            "Company Card</FullName></CreditCardAccountRef><RefNumber>C-7</RefNumber>"
            "<AppliedToTxnAdd><TxnID>" +
                billId_ +
                "</TxnID><PaymentAmount>20.00</PaymentAmount></AppliedToTxnAdd>"
                "</BillPaymentCreditCardAdd>");
  EXPECT_EQ(payment->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(payment->CreditCardAccount(), "Company Card");
  // 80.00 - 20.00 = 60.00 open; the card's balance owed rises by what it paid.
  EXPECT_EQ(MovedSince(before), (std::map<std::string, int64_t>{{"bill due", -2000},
                                                                {"vendor", -2000},
                                                                {"A/P", -2000},
                                                                {"Checking", 0},
                                                                {"Company Card", 2000}}));

  // QuickBooks changes no card payment: refused before anything is sent.
  payment->SetMemo("late");
  const size_t sent = Sent();
  const Raised refused{1003, "Brennock: BillPayment", "ModRq not supported"};
  EXPECT_EQ(RaisedBy([&] { payments->Commit(); }), refused);
  EXPECT_EQ(Sent(), sent);
}

TEST_F(BillPaymentTest, EveryQueryAsksForBothKindsWithTheSameFilters) {
  auto payments = Session().company->BillPayments();
  payments->Add("Harbour Supply", Currency(10), Date::FromDate(2024, 3, 22), {}, "Checking")
      ->AppliedToTxns()
      ->Add(billId_, Currency(10));
  payments
      ->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 23), {}, {}, "Company Card", std::nullopt,
            {}, qbBillPaymentMethodCreditCard)
      ->AppliedToTxns()
      ->Add(billId_, Currency(15));
  ASSERT_EQ(payments->Commit(), 2);

  auto read = std::make_shared<BillPayments>();
  ASSERT_EQ(read->GetBySingleEntity("Harbour Supply"), 2);
  for (const char* kind : {"BillPaymentCheckQueryRq", "BillPaymentCreditCardQueryRq"}) {
    const std::string request = LastRequest(std::string(kind) == "BillPaymentCheckQueryRq");
    EXPECT_EQ(Body(request, kind), std::string("<") + kind +
                                       "><EntityFilter><FullName>Harbour Supply</FullName>"
                                       "</EntityFilter><IncludeLineItems>true</IncludeLineItems>"
                                       "</" +
                                       kind + ">");
  }
  EXPECT_EQ(read->Item(1)->PaymentMethod(), qbBillPaymentMethodCheck);
  EXPECT_EQ(read->Item(1)->BankAccount(), "Checking");
  EXPECT_EQ(read->Item(2)->PaymentMethod(), qbBillPaymentMethodCreditCard);
  EXPECT_EQ(read->Item(2)->Amount(), Currency(15));
  EXPECT_EQ(read->Item(2)->AppliedToTxns()->Item(1)->Amount(), Currency(15));

  // A card payment is found by its TxnID too, and its form told by its kind.
  const std::string cardId = read->Item(2)->TxnId();
  auto single = std::make_shared<BillPayments>()->GetByTxnID(cardId);
  ASSERT_NE(single, nullptr);
  EXPECT_EQ(single->FormStem(), "BillPaymentCreditCard");
  EXPECT_EQ(std::make_shared<BillPayments>()->GetByTxnID("no-such-id"), nullptr);

  // An empty name list sends neither query.
  const size_t sent = Sent();
  read->GetByEntity({});
  EXPECT_EQ(Sent(), sent);
  ASSERT_EQ(read->Errors()->Count(), 1);
  EXPECT_EQ(read->Errors()->Item(1)->Number(), ErrorNumber(1019));

  // Deleting the card payment names its own kind.
  read->Delete(cardId);
  EXPECT_NE(LastRequest().find("<TxnDelType>BillPaymentCreditCard</TxnDelType>"),
            std::string::npos);
  EXPECT_EQ(read->Count(), 1);
}

TEST_F(BillPaymentTest, SettersRefuseWhatDoesNotExist) {
  auto payment = Session().company->BillPayments()->Add();
  const std::string source = "Brennock:BillPayment";
  const Raised account{2019, source, "Invalid account specified"};
  EXPECT_EQ(RaisedBy([&] { payment->SetPayee("Nobody"); }),
            (Raised{2010, source, "Entity does not exist"}));
  EXPECT_EQ(RaisedBy([&] { payment->SetAPAccount("Nowhere"); }), account);
  EXPECT_EQ(RaisedBy([&] { payment->SetBankAccount("Nowhere"); }), account);
  EXPECT_EQ(RaisedBy([&] { payment->SetCreditCardAccount("Nowhere"); }), account);
  EXPECT_EQ(RaisedBy([&] { payment->SetPaymentMethod(static_cast<qbEnumBillPaymentMethod>(3)); }),
            (Raised{2700, source, "Invalid bill payment method specified."}));
  EXPECT_EQ(payment->PaymentMethod(), qbBillPaymentMethodCheck);

  // A check to be printed carries no number; the A/P account goes with an Add.
  payment->SetPayee("Harbour Supply");
  payment->SetAPAccount("Accounts Payable");
  payment->SetBankAccount("Checking");
  payment->SetIsToBePrinted(true);
  payment->SetRefNumber("77");
  xmlBldr builder;
  payment->XMLInsert(builder);
  const std::string body = builder.GetXML();
  EXPECT_NE(body.find("<APAccountRef><FullName>Accounts Payable</FullName></APAccountRef>"),
            std::string::npos);
  EXPECT_NE(body.find("</BankAccountRef><IsToBePrinted>1</IsToBePrinted>"), std::string::npos);
  EXPECT_EQ(body.find("<RefNumber>"), std::string::npos);
}

}  // namespace
}  // namespace bill_payment_test
}  // namespace brennock::testing
