// The rules of payments, deposits, statement charges and the read-only transactions, on a
// simulated company's lists (strict-schema mode), and their request bodies byte for byte.
#include <functional>
#include <string>
#include <vector>

#include "tests/lists/simulator_fixture.h"
#include "tests/transactions/txn_test_helpers.h"

namespace brennock::testing {
namespace payment_rules_test {
namespace {

class PaymentRulesTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};
    return options;
  }
  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto customers = Session().company->Customers();
    customers->Add("Ledger Lane Ltd");
    ASSERT_EQ(customers->Commit(), 0);
  }
  std::shared_ptr<ReceivePayment> Payment(Currency total) {
    auto payment = Session().company->ReceivePayments()->Add("Ledger Lane Ltd", "77",
                                                             Date::FromDate(2023, 11, 2));
    payment->SetTotal(total);
    return payment;
  }
};

const std::string kExceeds = "Total AppliedTos payment amount cannot exceed ReceivePayment.Total";

TEST_F(PaymentRulesTest, AppliedAmountsNeverExceedThePaymentsTotal) {
  auto payment = Payment(C("100"));
  auto applied = payment->AppliedToTxns();
  applied->Add("INV-A", C("60"));
  const Raised exceeds{vbObjectError + 2031, "Brennock:ReceivePayment", kExceeds};
  // 60 + 50 = 110 > 100: refused, and nothing added.
  EXPECT_EQ(RaisedBy([&] { applied->Add("INV-B", C("50")); }), exceeds);
  EXPECT_EQ(applied->Count(), 1);
  // A total below what is applied, or an entry grown beyond it, is refused the same way and
  // leaves the values as they were.
  EXPECT_EQ(RaisedBy([&] { payment->SetTotal(C("50")); }), exceeds);
  EXPECT_EQ(payment->Total(), C("100"));
  EXPECT_EQ(RaisedBy([&] { applied->Item(1)->SetAmount(C("100.01")); }), exceeds);
  EXPECT_EQ(applied->Item(1)->Amount(), C("60"));
  // Unused: 100 - (60 + 40 + 10 discount + 5 credit) = -15.
  applied->Add("INV-B", C("40"), C("10"), "Discounts Given");
  applied->Item(2)->Credits()->AddCredit("CM-1", C("5"));
  EXPECT_EQ(applied->Total(), C("100"));
  EXPECT_EQ(applied->TotalDiscounts(), C("10"));
  EXPECT_EQ(applied->TotalCredits(), C("5"));
  EXPECT_EQ(payment->UnusedPayment(), C("-15"));
  applied->Remove(2);
  EXPECT_EQ(payment->UnusedPayment(), C("40"));
}

TEST_F(PaymentRulesTest, DiscountAccountsAndReferencesAreChecked) {
  auto payment = Payment(C("10"));
  const std::string discountType =
      "Invalid DiscountAccount specified. DiscountAccount should be of type Expense, Income, "
      "OtherExpense or OtherIncome.";
  struct Case {
    std::string account;
    int32_t number;
  };
  for (const Case& c : std::vector<Case>{{"Discounts Given", 0},  // expense
                                         {"Services", 0},         // income
                                         {"Checking", 2029},      // bank
                                         {"Accounts Receivable", 2029},
                                         {"No Such Account", 2019}}) {
    SCOPED_TRACE(c.account);
    Raised raised =
        RaisedBy([&] { payment->AppliedToTxns()->Add("T", C("1"), C("1"), c.account); });
    EXPECT_EQ(raised.number, c.number == 0 ? 0 : vbObjectError + c.number);
    if (c.number == 2029) {
      EXPECT_EQ(raised.description, discountType);
    }
    if (c.number != 0) {
      EXPECT_EQ(raised.source, "Brennock:txnAppliedTo");
    }
  }
  EXPECT_EQ(RaisedBy([&] { payment->SetPaymentMethod("Barter"); }),
            (Raised{vbObjectError + 2028, "Brennock:ReceivePayment",
                    "Invalid payment method specified"}));
  EXPECT_EQ(RaisedBy([&] { payment->SetDepositToAccount("Nowhere"); }).number,
            vbObjectError + 2019);
  EXPECT_EQ(RaisedBy([&] { payment->SetCustomer("Nobody"); }).number, vbObjectError + 2018);
}

TEST_F(PaymentRulesTest, ValidationOfPayments) {
  const std::string failed =
      "Indicated object failed validation.  Check object's errors for details.";
  struct Case {
    const char* name;
    std::function<void(ReceivePayment&)> make;
    std::vector<std::string> errors;
  };
  const std::vector<Case> cases = {
      {"auto apply with an entry",
       [](ReceivePayment& p) {
         p.SetIsAutoApply(true);
         p.AppliedToTxns()->Add("T1", C("5"));
       },
       {"2027 IsAutoApply: Cannot specify transactions to apply ReceivePayments to when "
        "IsAutoApply is True"}},
      {"the same transaction twice",
       [](ReceivePayment& p) {
         p.AppliedToTxns()->Add("T1", C("5"));
         p.AppliedToTxns()->Add("T1", C("5"));
       },
       {"2030 : Cannot apply more than one payment to the same TxnID in a ReceivePayment.Add "
        "call"}},
      {"no customer",
       [](ReceivePayment& p) { p.SetCustomer(""); },
       {"2025 Customer: Customer is required for this type of transaction"}},
      {"a bank account as receivable",
       [](ReceivePayment& p) { p.SetARAccount("Checking"); },
       {"2020 ARAccount: Account type must be Accounts Receivable"}},
      {"auto apply alone", [](ReceivePayment& p) { p.SetIsAutoApply(true); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto payment = Payment(C("20"));
    c.make(*payment);
    EXPECT_EQ(payment->Validate(), c.errors.empty());
    EXPECT_EQ(ErrorsOf(*payment->Errors()), c.errors);
  }
}

TEST_F(PaymentRulesTest, PaymentBodies) {
  auto payment = Payment(C("400"));
  payment->SetPaymentMethod("Check");
  payment->SetMemo("October");
  auto applied = payment->AppliedToTxns()->Add("1A-1", C("380"), C("5"), "Discounts Given");
  applied->Credits()->AddCredit("2B-2", C("25.74"));
  payment->AppliedToTxns()->Add("3C-3", C("20"));
  EXPECT_EQ(
      AddBody(*payment),
      "<CustomerRef><FullName>Ledger Lane Ltd</FullName></CustomerRef>"
      "<TxnDate>2023-11-02</TxnDate><RefNumber>77</RefNumber><TotalAmount>400.00</TotalAmount>"
      "<PaymentMethodRef><FullName>Check</FullName></PaymentMethodRef><Memo>October</Memo>"
      "<AppliedToTxnAdd><TxnID>1A-1</TxnID><PaymentAmount>380.00</PaymentAmount>"
      "<SetCredit><CreditTxnID>2B-2</CreditTxnID><AppliedAmount>25.74</AppliedAmount>"
      "</SetCredit><DiscountAmount>5.00</DiscountAmount>"
      "<DiscountAccountRef><FullName>Discounts Given</FullName></DiscountAccountRef>"
      "</AppliedToTxnAdd>"
      "<AppliedToTxnAdd><TxnID>3C-3</TxnID><PaymentAmount>20.00</PaymentAmount>"
      "</AppliedToTxnAdd>");
  // QuickBooks applies it: the entries stay with the client and are not sent.
  payment->SetIsAutoApply(true);
  EXPECT_EQ(
      AddBody(*payment),
      "<CustomerRef><FullName>Ledger Lane Ltd</FullName></CustomerRef>"
      "<TxnDate>2023-11-02</TxnDate><RefNumber>77</RefNumber><TotalAmount>400.00</TotalAmount>"
      "<PaymentMethodRef><FullName>Check</FullName></PaymentMethodRef><Memo>October</Memo>"
      "<IsAutoApply>true</IsAutoApply>");
}

TEST_F(PaymentRulesTest, QueriesCanLeaveOutCreditCardData) {
  auto payments = std::make_shared<ReceivePayments>();
  payments->SetExcludeCCRetFields(true);
  payments->GetAll(true, 5);
  EXPECT_NE(recorder_->Requests().back().text.find(
                "<ReceivePaymentQueryRq><MaxReturned>5</MaxReturned>"
                "<IncludeLineItems>true</IncludeLineItems><IncludeRetElement>TxnID"
                "</IncludeRetElement><IncludeRetElement>TimeCreated</IncludeRetElement>"
                "<IncludeRetElement>TimeModified</IncludeRetElement><IncludeRetElement>EditSequence"
                "</IncludeRetElement><IncludeRetElement>CustomerRef</IncludeRetElement>"
                "<IncludeRetElement>ARAccountRef</IncludeRetElement><IncludeRetElement>TxnDate"
                "</IncludeRetElement><IncludeRetElement>RefNumber</IncludeRetElement>"
                "<IncludeRetElement>TotalAmount</IncludeRetElement><IncludeRetElement>"
                "PaymentMethodRef</IncludeRetElement><IncludeRetElement>Memo</IncludeRetElement>"
                "<IncludeRetElement>DepositToAccountRef</IncludeRetElement><IncludeRetElement>"
                "UnusedPayment</IncludeRetElement><IncludeRetElement>UnusedCredits"
                "</IncludeRetElement><IncludeRetElement>AppliedToTxnRet</IncludeRetElement>"
                "</ReceivePaymentQueryRq>"),
            std::string::npos)
      << recorder_->Requests().back().text;
  payments->SetExcludeCCRetFields(false);
  payments->GetAll();
  EXPECT_EQ(recorder_->Requests().back().text.find("IncludeRetElement"), std::string::npos);
}

TEST_F(PaymentRulesTest, DepositLinesNeedAPaymentOrAnAccount) {
  auto deposit = Session().company->Deposits()->Add("Checking", {}, Date::FromDate(2023, 11, 3));
  EXPECT_FALSE(deposit->Validate());
  EXPECT_EQ(
      ErrorsOf(*deposit->Errors()),
      std::vector<std::string>{"2022 DepositLines: Transactions must have at least one line item"});
  auto lines = deposit->DepositLines();
  lines->Add();                            // neither
  lines->Add("5E-5");                      // a payment
  lines->Add({}, {}, "Sales", C("12.5"));  // money from an account
  EXPECT_FALSE(deposit->Validate());
  EXPECT_EQ(ErrorsOf(*deposit->Errors()),
            std::vector<std::string>{"1011 1: Indicated object failed validation.  Check "
                                     "object's errors for details."});
  EXPECT_EQ(
      ErrorsOf(*lines->Item(1)->Errors()),
      std::vector<std::string>{"2890 : Deposit lines must include either a TxnId or an Account."});
  lines->Remove(1);
  EXPECT_TRUE(deposit->Validate());
  // Without cash back there is no CashBackInfoAdd.
  EXPECT_EQ(AddBody(*deposit),
            "<TxnDate>2023-11-03</TxnDate><DepositToAccountRef><FullName>Checking</FullName>"
            "</DepositToAccountRef><DepositLineAdd><PaymentTxnID>5E-5</PaymentTxnID>"
            "</DepositLineAdd><DepositLineAdd><AccountRef><FullName>Sales</FullName></AccountRef>"
            "<Amount>12.50</Amount></DepositLineAdd>");
  deposit->SetCashBackAccount("Owner's Equity:Owner's Draw");
  deposit->SetCashBackMemo("Float");
  deposit->SetCashBackTotal(C("20"));
  deposit->SetMemo("Week 44");
  EXPECT_EQ(AddBody(*deposit),
            "<TxnDate>2023-11-03</TxnDate><DepositToAccountRef><FullName>Checking</FullName>"
            "</DepositToAccountRef><Memo>Week 44</Memo><CashBackInfoAdd><AccountRef><FullName>"
            "Owner&apos;s Equity:Owner&apos;s Draw</FullName></AccountRef><Memo>Float</Memo>"
            "<Amount>20.00</Amount></CashBackInfoAdd><DepositLineAdd><PaymentTxnID>5E-5"
            "</PaymentTxnID></DepositLineAdd><DepositLineAdd><AccountRef><FullName>Sales"
            "</FullName></AccountRef><Amount>12.50</Amount></DepositLineAdd>");
}

TEST_F(PaymentRulesTest, DepositLineSetters) {
  DepositLine line;
  struct Case {
    const char* name;
    std::function<void()> set;
    int32_t number;
  };
  for (const Case& c : std::vector<Case>{
           {"entity", [&] { line.SetEntity("Nobody"); }, 2010},
           {"account", [&] { line.SetAccount("Nowhere"); }, 1014},
           {"payment method", [&] { line.SetPaymentMethod("Barter"); }, 2028},
           {"class", [&] { line.SetClass("No Class"); }, 2013},
           {"amount text", [&] { line.SetAmountAsString("12,5x"); }, 1028},
           {"known entity", [&] { line.SetEntity("Ledger Lane Ltd"); }, 0},
       }) {
    SCOPED_TRACE(c.name);
    Raised raised = RaisedBy(c.set);
    EXPECT_EQ(raised.number, c.number == 0 ? 0 : vbObjectError + c.number);
    if (c.number != 0) {
      EXPECT_EQ(raised.source, "Brennock:DepositLine");
    }
  }
  line.SetAmountAsString("");
  EXPECT_EQ(line.Amount(), Currency());
  line.SetAmountAsString("42.125");
  EXPECT_EQ(line.Amount(), C("42.125"));
  EXPECT_EQ(line.AmountAsString(), "42.13");
}

TEST_F(PaymentRulesTest, KindsQuickBooksDoesNotModify) {
  const std::string refusal = "ModRq not supported";
  auto modify = [](qcBase& record) {
    return RaisedBy([&] {
      xmlBldr builder;
      record.XMLModify(builder);
    });
  };
  SalesReceipt receipt;
  ReceivePayment payment;
  UndepositedFund fund;
  SalesTaxPaymentCheck check;
  EXPECT_EQ(modify(receipt), (Raised{vbObjectError + 1003, "Brennock: SalesReceipt", refusal}));
  EXPECT_EQ(modify(payment), (Raised{vbObjectError + 1003, "Brennock: ReceivePayment", refusal}));
  EXPECT_EQ(modify(fund),
            (Raised{vbObjectError + 1003, "Brennock: ReceivePaymentToDeposit", refusal}));
  EXPECT_EQ(modify(check),
            (Raised{vbObjectError + 1003, "Brennock: SalesTaxPaymentCheck", refusal}));
  // Deposits from qbXML 7.0 on.
  Deposit deposit;
  Session().qbxmlVersion = "6.0";
  Session().qbxmlVersionNumber = Currency(6);
  EXPECT_EQ(modify(deposit), (Raised{vbObjectError + 1003, "Brennock: Deposit", refusal}));
  Session().qbxmlVersion = "7.0";
  Session().qbxmlVersionNumber = Currency(7);
  EXPECT_EQ(modify(deposit), Raised{});
}

TEST_F(PaymentRulesTest, SalesTaxPaymentChecksReadAndSpellTheirAmount) {
  auto check = std::make_shared<SalesTaxPaymentCheck>();
  auto read = [&](const std::string& amount) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXML(
        "<SalesTaxPaymentCheckRet><TxnID>9-1</TxnID><PayeeEntityRef><FullName>State Board"
        "</FullName></PayeeEntityRef><TxnDate>2023-10-31</TxnDate><BankAccountRef><FullName>"
        "Checking</FullName></BankAccountRef><Amount>" +
        amount +
        "</Amount><RefNumber>5001</RefNumber><Address><Addr1>1 Capitol Way</Addr1></Address>"
        "<IsToBePrinted>true</IsToBePrinted><SalesTaxPaymentCheckLineRet><TxnLineID>9-2"
        "</TxnLineID><ItemSalesTaxRef><FullName>State Tax</FullName></ItemSalesTaxRef>"
        "<Amount>" +
        amount + "</Amount></SalesTaxPaymentCheckLineRet></SalesTaxPaymentCheckRet>"));
    check->FromDom(doc.documentElement());
  };
  struct Case {
    const char* amount;
    const char* words;
  };
  for (const Case& c : std::vector<Case>{
           {"100.00", "One Hundred  and 0/100"},  // the group's blank and the separating one
           {"1234.56", "One thousand Two Hundred Thirty Four and 56/100"},
           {"0.05", "Zero and 5/100"},
           {"2017.40", "Two thousand Seventeen and 40/100"},
           {"3000000.00", "Three million and 0/100"},
       }) {
    SCOPED_TRACE(c.amount);
    read(c.amount);
    EXPECT_EQ(check->AmountAsString(), c.words);
  }
  EXPECT_EQ(check->PayeeEntity(), "State Board");
  EXPECT_EQ(check->Account(), "Checking");
  EXPECT_EQ(check->Address()->Addr1(), "1 Capitol Way");
  EXPECT_TRUE(check->IsToBePrinted());
  ASSERT_EQ(check->Lines()->Count(), 1);  // read again: the lines are replaced, not added to
  EXPECT_EQ(check->Lines()->Item(1)->SalesTaxItem(), "State Tax");
  EXPECT_EQ(check->Lines()->Item(1)->Amount(), C("3000000"));
  // QuickBooks writes the lines of such a check itself.
  EXPECT_EQ(
      RaisedBy([&] { AddBody(*check); }),
      (Raised{vbObjectError + 1003, "Brennock: SalesTaxPaymentCheckLine", "Insert not supported"}));
}

TEST_F(PaymentRulesTest, UndepositedFundsAreOnlyPaymentsAndCashSales) {
  auto read = [](const std::string& type) {
    UndepositedFund fund;
    XmlDocument doc;
    EXPECT_TRUE(doc.loadXML("<ReceivePaymentToDepositRet><TxnID>4-1</TxnID><TxnType>" + type +
                            "</TxnType><CustomerRef><FullName>Ledger Lane Ltd</FullName>"
                            "</CustomerRef><TxnDate>2023-10-20</TxnDate><Amount>12.00</Amount>"
                            "</ReceivePaymentToDepositRet>"));
    fund.FromDom(doc.documentElement());
    return fund.TxnType();
  };
  EXPECT_EQ(read("ReceivePayment"), qoObjectTypeReceivePayment);
  EXPECT_EQ(read("SalesReceipt"), qoObjectTypeSalesReceipt);
  EXPECT_EQ(
      RaisedBy([&] { read("Check"); }),
      (Raised{vbObjectError + 1009, "Brennock", "Internal error.  Unknown transaction type."}));
}

TEST_F(PaymentRulesTest, StatementChargeRulesAndBody) {
  auto charges = Session().company->StatementCharges();
  auto charge =
      charges->Add({}, "Ledger Lane Ltd", "CH-7", {}, {}, {}, {}, 0, Date::FromDate(2023, 11, 6));
  struct Case {
    const char* name;
    std::function<void()> set;
    int32_t number;
  };
  for (const Case& c : std::vector<Case>{
           {"discount item", [&] { charge->SetItem("Loyalty Discount"); }, 2002},
           {"subtotal item", [&] { charge->SetItem("Subtotal"); }, 2002},
           {"unknown item", [&] { charge->SetItem("Nothing"); }, 2001},
           {"bank account as receivable", [&] { charge->SetARAccount("Checking"); }, 2020},
           {"unknown account", [&] { charge->SetARAccount("Nowhere"); }, 2019},
           {"unknown class", [&] { charge->SetClass("No Class"); }, 2013},
           {"unknown customer", [&] { charge->SetCustomer("Nobody"); }, 2018},
       }) {
    SCOPED_TRACE(c.name);
    Raised raised = RaisedBy(c.set);
    EXPECT_EQ(raised.number, vbObjectError + c.number);
    EXPECT_EQ(raised.source, "Brennock:StatementCharge");
  }
  // The item's description and price, then 2.5 hours at 95.00 = 237.50.
  charge->SetItem("Consulting");
  charge->SetQuantity(2.5f);
  charge->SetARAccount("Accounts Receivable");
  charge->SetDueDate(Date::FromDate(2023, 12, 6));
  EXPECT_EQ(AddBody(*charge),
            "<CustomerRef><FullName>Ledger Lane Ltd</FullName></CustomerRef>"
            "<TxnDate>2023-11-06</TxnDate><RefNumber>CH-7</RefNumber>"
            "<ItemRef><FullName>Consulting</FullName></ItemRef><Quantity>0000002.50000</Quantity>"
            "<Rate>0000095.0000</Rate><Amount>237.50</Amount><Desc>" +
                charge->Description() +
                "</Desc><ARAccountRef><FullName>Accounts Receivable</FullName></ARAccountRef>"
                "<DueDate>2023-12-06</DueDate>");
  EXPECT_FALSE(charge->Description().empty());
}

TEST_F(PaymentRulesTest, NewEstimatesAreActiveAndShipNothing) {
  auto estimate =
      Session().company->Estimates()->Add("Ledger Lane Ltd", "EST-9", Date::FromDate(2023, 11, 7));
  auto line = estimate->ItemLines()->Add("Consulting", 3);
  // Percent first: the markup's own change is what brings the header's totals up to date.
  line->SetMarkupIsPercent(true);
  line->SetMarkup(20);
  // 3 x 95.00 marked up 20 % = 342.00.
  EXPECT_EQ(estimate->Subtotal(), C("342"));
  const std::string body = AddBody(*estimate);
  EXPECT_NE(body.find("<RefNumber>EST-9</RefNumber><IsActive>1</IsActive>"), std::string::npos)
      << body;
  EXPECT_EQ(body.find("Ship"), std::string::npos) << body;
  EXPECT_NE(body.find("<Amount>342.00</Amount><SalesTaxCodeRef><FullName>Non</FullName>"
                      "</SalesTaxCodeRef><MarkupRatePercent>"),
            std::string::npos)
      << body;
  // A sales receipt takes no customer necessarily; an estimate does.
  auto receipt = Session().company->SalesReceipts()->Add();
  receipt->ItemLines()->Add("Consulting", 1);
  EXPECT_TRUE(receipt->Validate());
  estimate->SetCustomer("");
  EXPECT_FALSE(estimate->Validate());
  EXPECT_EQ(ErrorsOf(*estimate->Errors()),
            std::vector<std::string>{"2018 Customer: Invalid customer specified"});
}

}  // namespace
}  // namespace payment_rules_test
}  // namespace brennock::testing
