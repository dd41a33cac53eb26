// Bills and checks end to end against the simulated QuickBooks in strict-schema mode: built through
// the library with the vendor's terms, their request bodies as written, QuickBooks' answer read
// back, and every balance a bill moves; then the rules a bill is refused or checked by.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "simulator/clock.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class PurchaseSimulatorTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1, 0};  // no year of trade
    return options;
  }

  void SetUp() override {
    SimulatorListsTest::SetUp();
    if (::testing::Test::IsSkipped()) return;
    auto vendors = Session().company->Vendors();
    auto vendor = vendors->Add("Harbour Supply");
    vendor->SetTerms("Net 30");
    ASSERT_EQ(vendors->Commit(), 0);
  }

  // The balances a bill moves, in cents or units, as QuickBooks answers them.
  std::map<std::string, int64_t> Books() {
    auto cents = [](Currency value) { return value.Scaled() / 100; };
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    auto balance = [&](const std::string& name) { return cents(accounts->Item(name)->Balance()); };
    auto items = std::make_shared<Items>();
    auto widget = Items::CastObject<ItemInventory>(items->GetByFullName("Widget"));
    return {
        {"vendor", cents(std::make_shared<Vendors>()->GetByFullName("Harbour Supply")->Balance())},
        {"A/P", balance("Accounts Payable")},
        {"Stock", balance("Inventory Asset")},
        {"Rent", balance("Rent")},
        {"Widgets", static_cast<int64_t>(widget->QuantityOnHand())},
        {"Widget cost x100000", std::llround(widget->AverageCost() * 100000.0)}};
  }

  static std::map<std::string, int64_t> Moved(const std::map<std::string, int64_t>& after,
                                              const std::map<std::string, int64_t>& before) {
    std::map<std::string, int64_t> moved;
    for (const auto& [name, value] : after) moved[name] = value - before.at(name);
    return moved;
  }

  std::string LastRequest() const { return recorder_->Requests().back().text; }
};

TEST_F(PurchaseSimulatorTest, ABillTakesTheVendorsTermsAndMovesPayablesAndStock) {
  auto before = Books();
  auto bills = Session().company->Bills();
  auto bill = bills->Add();
  bill->SetTxnDate(Date::FromDate(2024, 3, 5));
  bill->SetVendor("Harbour Supply");
  EXPECT_EQ(bill->Terms(), "Net 30");
  EXPECT_EQ(ModConvertDtypes::DateToText(bill->DueDate()), "2024-04-04");  // 5 March + 30 days
  bill->SetMemo("Spring stock");
  bill->ItemLines()->Add("Widget", 10)->SetCost(8);
  ASSERT_TRUE(bill->Validate());
  ASSERT_EQ(bills->Commit(), 1);
  const std::string& add = LastRequest();
  const std::string body = add.substr(add.find("<BillAdd>"));
  EXPECT_EQ(body.substr(0, body.find("<ItemLineAdd>")),
            "<BillAdd><VendorRef><FullName>Harbour Supply</FullName></VendorRef><TxnDate>"
            "2024-03-05</TxnDate><DueDate>2024-04-04</DueDate><TermsRef><FullName>Net 30"
            "</FullName></TermsRef><Memo>Spring stock</Memo>");
  EXPECT_EQ(add.find("<RefNumber>"), std::string::npos);  // not set: QuickBooks leaves it empty

  EXPECT_EQ(bill->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(bill->TxnId().empty());
  EXPECT_EQ(bill->AmountDue(), Currency(80));  // 10 x 8.00
  EXPECT_EQ(bill->OpenAmount(), Currency(80));
  EXPECT_FALSE(bill->IsPaid());
  EXPECT_EQ(bill->APAccount(), "Accounts Payable");
  ASSERT_EQ(bill->ItemLines()->Count(), 1);
  EXPECT_NE(bill->ItemLines()->Item(1)->TxnLineId(), "-1");
  // 140 widgets worth 980.00 (7.00 each) and 10 at 8.00: 150 worth 1060.00, 7.06667 each
  // (1060 / 150 = 7.066666..., five decimals).
  EXPECT_EQ(Moved(Books(), before),
            (std::map<std::string, int64_t>{{"vendor", 8000},
                                            {"A/P", 8000},
                                            {"Stock", 8000},
                                            {"Rent", 0},
                                            {"Widgets", 10},
                                            {"Widget cost x100000", 6667}}));

  // Read by another client, it is the same bill; its number set now goes out in the Mod.
  auto read = std::make_shared<Bills>()->GetByTxnID(bill->TxnId());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Vendor(), "Harbour Supply");
  EXPECT_EQ(read->AmountDue(), Currency(80));
  EXPECT_EQ(read->ItemLines()->Item(1)->Item(), "Widget");
  simulator::AdvanceClock(60);
  bill->SetRefNumber("HS-1");
  ASSERT_EQ(bills->Commit(), 1);
  EXPECT_NE(LastRequest().find("<RefNumber>HS-1</RefNumber>"), std::string::npos);
}

// A bill for stock and for the yard's rent: the expense line goes out before the item line, the
// rent account and the stock move by their own lines, payables and the vendor by both.
TEST_F(PurchaseSimulatorTest, ABillWithAnExpenseLineMovesTheExpenseAccountToo) {
  auto before = Books();
  auto bills = Session().company->Bills();
  auto bill = bills->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 5));
  bill->ItemLines()->Add("Widget", 10)->SetCost(8);
  bill->ExpenseLines()->Add("Rent", Currency(250), "March", {}, {});
  ASSERT_EQ(bills->Commit(), 1);
  const std::string& add = LastRequest();
  const std::string addLines = add.substr(add.find("<ExpenseLineAdd>"));
  EXPECT_EQ(addLines.substr(0, addLines.find("</BillAdd>")),
            "<ExpenseLineAdd><AccountRef><FullName>Rent</FullName></AccountRef><Amount>250.00"
            "</Amount><Memo>March</Memo></ExpenseLineAdd><ItemLineAdd><ItemRef><FullName>Widget"
            "</FullName></ItemRef><Desc>Standard widget</Desc><Quantity>0000010.00000</Quantity>"
            "<Cost>0000008.00000</Cost>"
            "<Amount>80.00</Amount></ItemLineAdd>");
  // 10 x 8.00 = 80.00 of stock and 250.00 of rent: 330.00 owed.
  EXPECT_EQ(bill->AmountDue(), Currency(330));
  auto moved = Moved(Books(), before);
  EXPECT_EQ(moved["vendor"], 33000);
  EXPECT_EQ(moved["A/P"], 33000);
  EXPECT_EQ(moved["Rent"], 25000);
  EXPECT_EQ(moved["Stock"], 8000);

  // Read back by another client, the rent line is there as sent.
  auto read = std::make_shared<Bills>()->GetByTxnID(bill->TxnId());
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->ExpenseLines()->Count(), 1);
  auto rent = read->ExpenseLines()->Item(1);
  EXPECT_EQ(rent->Account(), "Rent");
  EXPECT_EQ(rent->Amount(), Currency(250));
  EXPECT_EQ(rent->Memo(), "March");
  EXPECT_FALSE(rent->TxnLineId().empty());

  // A Mod sends every line under its ID, and the one added since as "-1".
  simulator::AdvanceClock(60);
  bill->ExpenseLines()->Add("Utilities", Currency(45.5), "Power");
  EXPECT_EQ(bill->ObjectState(), qoObjectStateDirty);  // a new line makes the bill changed
  const std::string txnId = bill->TxnId(), editSequence = bill->EditSequence();
  const std::string rentLine = bill->ExpenseLines()->Item(1)->TxnLineId();
  const std::string widgetLine = bill->ItemLines()->Item(1)->TxnLineId();
  ASSERT_EQ(bills->Commit(), 1);
  const std::string& mod = LastRequest();
  const std::string body = mod.substr(mod.find("<BillMod>"));
  EXPECT_EQ(body.substr(0, body.find("</BillMod>")),
            "<BillMod><TxnID>" + txnId + "</TxnID><EditSequence>" + editSequence +
                "</EditSequence><VendorRef><FullName>Harbour Supply</FullName></VendorRef>"
                "<APAccountRef><FullName>Accounts Payable</FullName></APAccountRef><TxnDate>"
                "2024-03-05</TxnDate><DueDate>2024-04-04</DueDate><TermsRef><FullName>Net 30"
                "</FullName></TermsRef><ExpenseLineMod><TxnLineID>" +
                rentLine +
                "</TxnLineID><AccountRef><FullName>Rent</FullName></AccountRef><Amount>250.00"
                "</Amount><Memo>March</Memo></ExpenseLineMod><ExpenseLineMod><TxnLineID>-1"
                "</TxnLineID><AccountRef><FullName>Utilities</FullName></AccountRef><Amount>45.50"
                "</Amount><Memo>Power</Memo></ExpenseLineMod><ItemLineMod><TxnLineID>" +
                widgetLine +
                "</TxnLineID><ItemRef><FullName>Widget</FullName></ItemRef><Desc>Standard widget"
                "</Desc><Quantity>0000010.00000</Quantity><Cost>0000008.00000</Cost><Amount>80.00"
                "</Amount></ItemLineMod>");
  EXPECT_EQ(bill->AmountDue(), Currency(375.5));  // 330.00 + 45.50
  ASSERT_EQ(bill->ExpenseLines()->Count(), 2);
  EXPECT_NE(bill->ExpenseLines()->Item(2)->TxnLineId(), "-1");  // QuickBooks' own ID now
}

TEST_F(PurchaseSimulatorTest, SettersRaiseAndValidationRecords) {
  auto bill = Session().company->Bills()->Add();
  auto raised = [](auto&& call) {
    try {
      call();
    } catch (const AutomationError& e) {
      return std::pair{e.Number() - ErrorNumber(0), e.Description()};
    }
    return std::pair{0, std::string()};
  };
  EXPECT_EQ(raised([&] { bill->SetVendor("Nobody"); }),
            (std::pair{2003, std::string("Vendor does not exist")}));
  EXPECT_EQ(raised([&] { bill->SetAPAccount("Checking"); }),
            (std::pair{2033, std::string("Account type must be Accounts Payable")}));
  EXPECT_EQ(raised([&] { bill->SetAPAccount("No Such Account"); }).first, 1014);
  EXPECT_EQ(raised([&] { bill->SetTerms("Net 1000"); }).first, 2004);

  // Neither vendor nor lines: 2024 on "Vendor", then 2022.
  EXPECT_FALSE(bill->Validate());
  ASSERT_EQ(bill->Errors()->Count(), 2);
  EXPECT_EQ(bill->Errors()->Item(1)->Number(), ErrorNumber(2024));
  EXPECT_EQ(bill->Errors()->Item(1)->Field(), "Vendor");
  EXPECT_EQ(bill->Errors()->Item(2)->Number(), ErrorNumber(2022));
  // A bill with nothing but the receipt it takes over has what it needs.
  bill->SetVendor("Harbour Supply");
  bill->LinkedTxns()->Add("123-456");
  EXPECT_TRUE(bill->Validate());
}

TEST_F(PurchaseSimulatorTest, ChecksAreWrittenOnBankAccountsAndNumberedUnlessPrinted) {
  auto checks = Session().company->Checks();
  struct Case {
    const char* account;
    bool printed;
    const char* number;
    std::vector<int32_t> errors;
  };
  const Case kCases[] = {
      {"Checking", false, "1001", {}},
      {"Rent", false, "1002", {2301}},             // an expense account
      {"Checking", true, "1003", {2300}},          // to be printed: no number yet
      {"No Such Account", false, "1004", {1014}},  // unknown
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.account) + (c.printed ? ", printed" : ""));
    auto check = checks->Add(c.account, "Harbour Supply", c.number, Date::FromDate(2024, 3, 6));
    check->SetIsToBePrinted(c.printed);
    check->ItemLines()->Add("Widget", 2)->SetCost(7);
    check->Validate();
    std::vector<int32_t> found;
    for (int32_t i = 1; i <= check->Errors()->Count(); ++i)
      found.push_back(check->Errors()->Item(i)->Number() - ErrorNumber(0));
    EXPECT_EQ(found, c.errors);
    checks->Remove(check->CollectionKey());
  }

  auto before = Books();
  auto check = checks->Add("Checking", "Harbour Supply", "1001", Date::FromDate(2024, 3, 6));
  check->Address()->SetLine1("Harbour Supply");
  check->ItemLines()->Add("Widget", 2)->SetCost(7);
  ASSERT_EQ(checks->Commit(), 1);
  const std::string& add = LastRequest();
  const std::string body = add.substr(add.find("<CheckAdd>"));
  EXPECT_EQ(body.substr(0, body.find("<ItemLineAdd>")),
            "<CheckAdd><AccountRef><FullName>Checking</FullName></AccountRef><PayeeEntityRef>"
            "<FullName>Harbour Supply</FullName></PayeeEntityRef><RefNumber>1001</RefNumber>"
            "<TxnDate>2024-03-06</TxnDate><Address><Addr1>Harbour Supply</Addr1></Address>"
            "<IsToBePrinted>0</IsToBePrinted>");
  EXPECT_EQ(check->Amount(), Currency(14));  // 2 x 7.00, paid at once: nothing owed
  auto moved = Moved(Books(), before);
  EXPECT_EQ(moved["A/P"], 0);
  EXPECT_EQ(moved["Stock"], 1400);
  EXPECT_EQ(moved["Widgets"], 2);

  // QuickBooks takes a CheckMod from qbXML 6.0 only.
  Session().qbxmlVersion = "5.0";
  Session().qbxmlVersionNumber = Currency(5);
  check->SetMemo("Changed");
  xmlBldr builder;
  try {
    check->XMLModify(builder);
    ADD_FAILURE() << "a 5.0 session modified a check";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Description(), "ModRq not supported");
  }
}

// Stock received before its bill is owed at once; the bill that takes the receipt over owes the
// same and receives nothing again.
TEST_F(PurchaseSimulatorTest, AReceiptIsOwedUntilItsBillTakesItOver) {
  auto before = Books();
  auto receipts = Session().company->ItemReceipts();
  auto receipt = receipts->Add("Harbour Supply", "R-1", Date::FromDate(2024, 3, 4));
  receipt->ItemLines()->Add("Widget", 20)->SetCost(8);
  ASSERT_EQ(receipts->Commit(), 1);
  EXPECT_EQ(receipt->TotalAmount(), Currency(160));  // 20 x 8.00
  // 140 widgets worth 980.00 and 20 at 8.00: 160 worth 1140.00, 7.125 each.
  EXPECT_EQ(Moved(Books(), before),
            (std::map<std::string, int64_t>{{"vendor", 16000},
                                            {"A/P", 16000},
                                            {"Stock", 16000},
                                            {"Rent", 0},
                                            {"Widgets", 20},
                                            {"Widget cost x100000", 12500}}));

  auto bills = Session().company->Bills();
  auto bill = bills->Add("Harbour Supply", "B-1", Date::FromDate(2024, 3, 6));
  bill->LinkedTxns()->Add(receipt->TxnId());
  ASSERT_TRUE(bill->Validate());  // a link and no lines of its own
  ASSERT_EQ(bills->Commit(), 1);
  EXPECT_NE(LastRequest().find("<LinkToTxnID>" + receipt->TxnId() + "</LinkToTxnID>"),
            std::string::npos);
  EXPECT_EQ(bill->AmountDue(), Currency(160));
  ASSERT_EQ(bill->ItemLines()->Count(), 1);  // the receipt's line, now the bill's
  EXPECT_EQ(bill->ItemLines()->Item(1)->Item(), "Widget");
  // Nothing more owed, nothing received twice.
  EXPECT_EQ(Moved(Books(), before)["A/P"], 16000);
  EXPECT_EQ(Moved(Books(), before)["Widgets"], 20);

  // Credited 25.00 for a return of nothing in stock (an expense refunded): owed 135.00.
  auto credits = Session().company->VendorCredits();
  auto credit = credits->Add("Harbour Supply", "VC-1", Date::FromDate(2024, 3, 8));
  EXPECT_FALSE(credit->Validate());  // no lines
  EXPECT_EQ(credit->Errors()->Item(1)->Number(), ErrorNumber(2022));
  credit->ItemLines()->Add("Widget", 1)->SetCost(25);
  ASSERT_EQ(credits->Commit(), 1);
  EXPECT_EQ(credit->Amount(), Currency(25));
  EXPECT_EQ(credit->OpenAmount(), Currency(25));
  EXPECT_EQ(Moved(Books(), before)["vendor"], 13500);  // 160.00 - 25.00
}

TEST_F(PurchaseSimulatorTest, CardChargesAndCreditsGoOnCreditCardAccountsOnly) {
  auto charges = Session().company->CreditCardCharges();
  auto wrong = charges->Add("Checking", "Harbour Supply", {}, Date::FromDate(2024, 3, 7));
  wrong->ItemLines()->Add("Widget", 1)->SetCost(7);
  EXPECT_FALSE(wrong->Validate());
  ASSERT_EQ(wrong->Errors()->Count(), 1);
  EXPECT_EQ(wrong->Errors()->Item(1)->Number(), ErrorNumber(2011));
  EXPECT_EQ(wrong->Errors()->Item(1)->Description(), "Account type must be Credit Card");
  charges->Remove(wrong->CollectionKey());

  auto charge = charges->Add("Company Card", "Harbour Supply", {}, Date::FromDate(2024, 3, 7));
  charge->ItemLines()->Add("Widget", 3)->SetCost(7);
  ASSERT_EQ(charges->Commit(), 1);
  const std::string& add = LastRequest();
  const std::string body = add.substr(add.find("<CreditCardChargeAdd>"));
  EXPECT_EQ(body.substr(0, body.find("<ItemLineAdd>")),
            "<CreditCardChargeAdd><AccountRef><FullName>Company Card</FullName></AccountRef>"
            "<PayeeEntityRef><FullName>Harbour Supply</FullName></PayeeEntityRef><TxnDate>"
            "2024-03-07</TxnDate>");
  EXPECT_EQ(charge->Amount(), Currency(21));  // 3 x 7.00

  // A card credit is never changed; a charge from qbXML 6.0 only.
  auto credit = std::make_shared<CreditCardCredit>();
  xmlBldr builder;
  auto refusal = [&](qcBase& record) {
    try {
      record.XMLModify(builder);
    } catch (const AutomationError& e) {
      return e.Description();
    }
    return std::string();
  };
  EXPECT_EQ(refusal(*credit), "ModRq not supported");
  EXPECT_EQ(refusal(*charge), "");
  Session().qbxmlVersionNumber = Currency(5);
  EXPECT_EQ(refusal(*charge), "ModRq not supported");
  Session().qbxmlVersionNumber = Currency(16);
}

// An order posts nothing; a receipt against one of its lines receives that line, and the order
// can be closed by hand with lines still waiting.
TEST_F(PurchaseSimulatorTest, APurchaseOrderIsReadBackWithItsLinesAndReceivedAgainst) {
  auto before = Books();
  auto orders = Session().company->PurchaseOrders();
  auto order = orders->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 1), "PO-7", {}, {}, {},
                           Date::FromDate(2024, 3, 15), "Deliver to the back gate", "Spring");
  order->ShipTo()->SetLine1("Yard 2");
  order->ItemLines()->Add("Widget", 20)->SetCost(8);
  order->ItemLines()->Add("Widget", 5)->SetCost(7.5);
  ASSERT_TRUE(order->Validate());
  ASSERT_EQ(orders->Commit(), 1);
  const std::string& add = LastRequest();
  const std::string body = add.substr(add.find("<PurchaseOrderAdd>"));
  EXPECT_EQ(
      body.substr(0, body.find("</PurchaseOrderAdd>")),
      "<PurchaseOrderAdd><VendorRef><FullName>Harbour Supply</FullName></VendorRef><TxnDate>"
      "2024-03-01</TxnDate><RefNumber>PO-7</RefNumber><ShipAddress><Addr1>Yard 2</Addr1>"
      "</ShipAddress><TermsRef><FullName>Net 30</FullName></TermsRef><DueDate>2024-03-31"
      "</DueDate><ExpectedDate>2024-03-15</ExpectedDate><Memo>Spring</Memo><VendorMsg>"
      "Deliver to the back gate</VendorMsg><IsToBePrinted>0</IsToBePrinted><IsToBeEmailed>0"
      "</IsToBeEmailed><PurchaseOrderLineAdd><ItemRef><FullName>Widget</FullName></ItemRef>"
      "<Desc>Standard widget</Desc><Quantity>0000020.00000</Quantity><Rate>0000008.00000"
      "</Rate><Amount>160.00</Amount><Other1></Other1><Other2></Other2></PurchaseOrderLineAdd>"
      "<PurchaseOrderLineAdd><ItemRef><FullName>Widget</FullName></ItemRef><Desc>Standard "
      "widget</Desc><Quantity>0000005.00000</Quantity><Rate>0000007.50000</Rate><Amount>"
      "37.50</Amount><Other1></Other1><Other2></Other2></PurchaseOrderLineAdd>");
  EXPECT_EQ(order->TotalAmount(), Currency(197.5));  // 20 x 8.00 + 5 x 7.50
  EXPECT_EQ(Moved(Books(), before)["A/P"], 0);       // an order posts nothing
  EXPECT_EQ(Moved(Books(), before)["Widgets"], 0);

  auto read = std::make_shared<PurchaseOrders>()->GetByTxnID(order->TxnId());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Vendor(), "Harbour Supply");
  EXPECT_EQ(read->RefNumber(), "PO-7");
  EXPECT_EQ(ModConvertDtypes::DateToText(read->ExpectedDate()), "2024-03-15");
  EXPECT_EQ(read->VendorMessage(), "Deliver to the back gate");
  EXPECT_EQ(read->ShipTo()->Line1(), "Yard 2");
  EXPECT_FALSE(read->IsFullyReceived());
  ASSERT_EQ(read->ItemLines()->Count(), 2);
  EXPECT_EQ(read->ItemLines()->Item(2)->Quantity(), 5);
  EXPECT_EQ(read->ItemLines()->Item(2)->Amount(), Currency(37.5));

  // A receipt against the first line receives its 20 widgets at the order's rate.
  auto receipts = Session().company->ItemReceipts();
  auto receipt = receipts->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 14));
  auto line = receipt->ItemLines()->Add("Widget", 20);  // a line with neither item nor amount
  line->SetCost(8);                                     // would be dropped as empty
  line->SetLinkedTxnId(order->TxnId());
  line->SetLinkedTxnLineId(order->ItemLines()->Item(1)->TxnLineId());
  ASSERT_EQ(receipts->Commit(), 1);
  EXPECT_EQ(receipt->TotalAmount(), Currency(160));
  read = std::make_shared<PurchaseOrders>()->GetByTxnID(order->TxnId());
  EXPECT_EQ(read->ItemLines()->Item(1)->ReceivedQuantity(), 20);
  EXPECT_EQ(read->ItemLines()->Item(2)->ReceivedQuantity(), 0);
  EXPECT_FALSE(read->IsFullyReceived());

  // Closed by hand: the Mod alone carries IsManuallyClosed.
  simulator::AdvanceClock(60);
  orders->Clear();  // read again: the receipt moved the order on
  order = orders->GetByTxnID(read->TxnId());
  ASSERT_NE(order, nullptr);
  order->SetIsManuallyClosed(true);
  ASSERT_EQ(orders->Commit(), 1);
  EXPECT_NE(LastRequest().find("</ExpectedDate><IsManuallyClosed>1</IsManuallyClosed><Memo>"),
            std::string::npos);
  EXPECT_TRUE(order->IsManuallyClosed());
  EXPECT_FALSE(order->IsFullyReceived());  // closed, not received: the 5 widgets never came
}

TEST_F(PurchaseSimulatorTest, APurchaseOrderNeedsAVendorLinesAndAShipToThatExists) {
  auto order = Session().company->PurchaseOrders()->Add();
  EXPECT_FALSE(order->Validate());
  ASSERT_EQ(order->Errors()->Count(), 2);
  EXPECT_EQ(order->Errors()->Item(1)->Number(), ErrorNumber(2024));
  EXPECT_EQ(order->Errors()->Item(2)->Number(), ErrorNumber(2022));
  try {
    order->SetShipToEntity("Nobody");
    ADD_FAILURE() << "an unknown ship-to was taken";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Number(), ErrorNumber(2010));
    EXPECT_EQ(e.Source(), "Brennock:PurchaseOrder");
    EXPECT_EQ(e.Description(), "Entity does not exist");
  }
  order->SetShipToEntity("Harbour Supply");
  EXPECT_EQ(order->ShipToEntity(), "Harbour Supply");
  Session().qbxmlVersionNumber = Currency(5);
  EXPECT_THROW(order->SetOther1("x"), AutomationError);  // qbXML 6.0
  Session().qbxmlVersionNumber = Currency(16);
}

// The whole buying cycle through the library: ordered, received against the order, billed from
// the receipt and paid by check. Figures worked by hand from the sample's 140 widgets worth
// 980.00 (7.00 each).
TEST_F(PurchaseSimulatorTest, AnOrderReceivedBilledAndPaidLeavesTheBooksAsWorkedByHand) {
  auto checking = [] {
    auto accounts = std::make_shared<Accounts>();
    accounts->GetAll();
    return accounts->Item("Checking")->Balance().Scaled() / 100;
  };
  const auto before = Books();
  const int64_t bank_before = checking();

  // 10 widgets at 8.50 ordered: 85.00, nothing posted.
  auto orders = Session().company->PurchaseOrders();
  auto order = orders->Add("Harbour Supply", {}, Date::FromDate(2024, 3, 1), "PO-9");
  order->ItemLines()->Add("Widget", 10)->SetCost(8.5);
  ASSERT_EQ(orders->Commit(), 1);
  EXPECT_EQ(order->TotalAmount(), Currency(85));
  EXPECT_EQ(Moved(Books(), before)["A/P"], 0);

  // Received in full: 150 widgets worth 980.00 + 85.00 = 1065.00, 7.10 each (+0.10).
  auto receipts = Session().company->ItemReceipts();
  auto receipt = receipts->Add("Harbour Supply", "R-9", Date::FromDate(2024, 3, 10));
  auto line = receipt->ItemLines()->Add("Widget", 10);
  line->SetCost(8.5);
  line->SetLinkedTxnId(order->TxnId());
  line->SetLinkedTxnLineId(order->ItemLines()->Item(1)->TxnLineId());
  ASSERT_EQ(receipts->Commit(), 1);
  EXPECT_TRUE(std::make_shared<PurchaseOrders>()->GetByTxnID(order->TxnId())->IsFullyReceived());
  const std::map<std::string, int64_t> received{{"vendor", 8500}, {"A/P", 8500},
                                                {"Stock", 8500},  {"Rent", 0},
                                                {"Widgets", 10},  {"Widget cost x100000", 10000}};
  EXPECT_EQ(Moved(Books(), before), received);

  // The bill takes the receipt over: owed once, received once.
  auto bills = Session().company->Bills();
  auto bill = bills->Add("Harbour Supply", "B-9", Date::FromDate(2024, 3, 12));
  bill->LinkedTxns()->Add(receipt->TxnId());
  ASSERT_EQ(bills->Commit(), 1);
  EXPECT_EQ(bill->AmountDue(), Currency(85));
  EXPECT_EQ(bill->OpenAmount(), Currency(85));
  EXPECT_EQ(Moved(Books(), before), received);

  // Paid in full by check from Checking: nothing owed, the bank 85.00 lower, the stock kept.
  auto vendor = Session().company->Vendors()->GetByFullName("Harbour Supply");
  vendor->GetBillsAndCredits();
  std::shared_ptr<BillPayment> payment = vendor->Payment();
  ASSERT_NE(payment, nullptr);
  payment->SetTxnDate(Date::FromDate(2024, 3, 20));
  payment->SetBankAccount("Checking");
  payment->SetRefNumber("502");
  payment->AppliedToTxns()->Add(bill->TxnId(), Currency(85));
  vendor->AddPaymentForPosting();
  ASSERT_EQ(Session().company->BillPayments()->Commit(), 1);
  auto paid = std::make_shared<Bills>()->GetByTxnID(bill->TxnId());
  ASSERT_NE(paid, nullptr);
  // QuickBooks' bill answers keep the bill's total in OpenAmount and what is still owed in
  // AmountDue (its sample answers show an AmountDue below the OpenAmount of an unpaid bill).
  EXPECT_TRUE(paid->IsPaid());
  EXPECT_EQ(paid->AmountDue(), Currency(0));
  EXPECT_EQ(paid->OpenAmount(), Currency(85));
  EXPECT_EQ(Moved(Books(), before),
            (std::map<std::string, int64_t>{{"vendor", 0},
                                            {"A/P", 0},
                                            {"Stock", 8500},
                                            {"Rent", 0},
                                            {"Widgets", 10},
                                            {"Widget cost x100000", 10000}}));
  EXPECT_EQ(checking() - bank_before, -8500);
}

}  // namespace
}  // namespace brennock::testing
