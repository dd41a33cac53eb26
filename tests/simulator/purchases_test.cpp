// Buying, end to end in raw qbXML: ordered, received, billed and paid, with every figure it moves
// computed by hand; stock built into assemblies and adjusted; journal entries that must balance.
#include <map>
#include <string>

#include "brennock/brennock.h"
#include "tests/simulator/books_fixture.h"

namespace brennock::testing {
namespace {

class PurchasesTest : public BooksTest {
 protected:
  void SetUp() override {
    BooksTest::SetUp();
    Ok("<VendorAddRq><VendorAdd><Name>Hand Supply Co</Name>" + Ref("TermsRef", "Net 30") +
       "</VendorAdd></VendorAddRq>");
    // Parts of their own, so that every average cost is known: 10 valves worth 50.00 (5.00).
    Part("Valve", "10", "50.00");
    Part("Gasket", "0", "0.00");
  }

  void Part(const std::string& name, const std::string& quantity, const std::string& value) {
    Ok("<ItemInventoryAddRq><ItemInventoryAdd><Name>" + name + "</Name>" +
       Ref("IncomeAccountRef", "Sales") + "<PurchaseCost>1.00</PurchaseCost>" +
       Ref("COGSAccountRef", "Cost of Goods Sold") + Ref("AssetAccountRef", "Inventory Asset") +
       "<QuantityOnHand>" + quantity + "</QuantityOnHand><TotalValue>" + value +
       "</TotalValue></ItemInventoryAdd></ItemInventoryAddRq>");
  }

  int64_t VendorBalance() {
    return Cents(One("<VendorQueryRq><FullName>Hand Supply Co</FullName></VendorQueryRq>",
                     "VendorRet", "Balance"));
  }

  // Every balance buying moves, in cents (an item's quantity in units).
  std::map<std::string, int64_t> Books() {
    return {{"vendor", VendorBalance()},
            {"A/P", AccountBalance("Accounts Payable")},
            {"Checking", AccountBalance("Checking")},
            {"Stock", AccountBalance("Inventory Asset")},
            {"Office", AccountBalance("Office Supplies")},
            {"Valves", std::stoll(ItemField("Valve", "QuantityOnHand"))}};
  }
  static std::map<std::string, int64_t> Moved(std::map<std::string, int64_t> after,
                                              const std::map<std::string, int64_t>& before) {
    for (auto& [k, v] : after) v -= before.at(k);
    return after;
  }

  pugi::xml_node Query(const std::string& stem, const std::string& id,
                       const std::string& extra = "<IncludeLineItems>true</IncludeLineItems>") {
    return Ok("<" + stem + "QueryRq><TxnID>" + id + "</TxnID>" + extra + "</" + stem + "QueryRq>")
        .child((stem + "Ret").c_str());
  }
};

TEST_F(PurchasesTest, AnOrderReceivedBilledAndPaidByCheckMovesEveryBalance) {
  auto before = Books();
  // 20 valves at 6.50 = 130.00 and 100 gaskets at 0.25 = 25.00: 155.00 on order, nothing posted.
  pugi::xml_node order =
      Ok("<PurchaseOrderAddRq><PurchaseOrderAdd>" + Ref("VendorRef", "Hand Supply Co") +
         "<TxnDate>2024-03-01</TxnDate><PurchaseOrderLineAdd>" + Ref("ItemRef", "Valve") +
         "<Quantity>20</Quantity><Rate>6.50</Rate></PurchaseOrderLineAdd><PurchaseOrderLineAdd>" +
         Ref("ItemRef", "Gasket") +
         "<Quantity>100</Quantity><Rate>0.25</Rate></PurchaseOrderLineAdd></PurchaseOrderAdd>"
         "</PurchaseOrderAddRq>")
          .child("PurchaseOrderRet");
  const std::string po = order.child_value("TxnID");
  const std::string valve_line = order.child("PurchaseOrderLineRet").child_value("TxnLineID");
  EXPECT_STREQ(order.child_value("TotalAmount"), "155.00");
  EXPECT_STREQ(order.child_value("DueDate"), "2024-03-31");  // Net 30
  EXPECT_STREQ(order.child_value("IsFullyReceived"), "false");
  EXPECT_EQ(ItemField("Valve", "QuantityOnOrder"), "20");
  EXPECT_EQ(
      Moved(Books(), before),
      (std::map<std::string, int64_t>{
          {"vendor", 0}, {"A/P", 0}, {"Checking", 0}, {"Stock", 0}, {"Office", 0}, {"Valves", 0}}));

  // 12 of the valves come: 12 x 6.50 = 78.00. On hand 10 + 12 = 22 worth 50.00 + 78.00 = 128.00,
  // an average of 128.00 / 22 = 5.818181..., 5.81818 to five decimals.
  pugi::xml_node receipt =
      Ok("<ItemReceiptAddRq><ItemReceiptAdd>" + Ref("VendorRef", "Hand Supply Co") +
         "<TxnDate>2024-03-05</TxnDate><ItemLineAdd><Quantity>12</Quantity><LinkToTxn><TxnID>" +
         po + "</TxnID><TxnLineID>" + valve_line +
         "</TxnLineID></LinkToTxn></ItemLineAdd></ItemReceiptAdd></ItemReceiptAddRq>")
          .child("ItemReceiptRet");
  const std::string receipt_id = receipt.child_value("TxnID");
  EXPECT_STREQ(receipt.child_value("TotalAmount"), "78.00");
  EXPECT_STREQ(receipt.child("ItemLineRet").child("ItemRef").child_value("FullName"), "Valve");
  EXPECT_STREQ(receipt.child("ItemLineRet").child_value("Cost"), "6.50");
  EXPECT_STREQ(receipt.child("LinkedTxn").child_value("TxnID"), po.c_str());
  EXPECT_EQ(ItemField("Valve", "QuantityOnHand"), "22");
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "5.81818");
  EXPECT_EQ(ItemField("Valve", "QuantityOnOrder"), "8");  // 20 ordered, 12 received
  order = Query("PurchaseOrder", po);
  EXPECT_STREQ(order.child("PurchaseOrderLineRet").child_value("ReceivedQuantity"), "12");
  EXPECT_STREQ(order.child_value("IsFullyReceived"), "false");

  // The bill takes the receipt over (78.00) and adds 12.00 of office supplies: 90.00 due by
  // Net 30. The receipt's payable moves to the bill; nothing is received twice.
  pugi::xml_node bill =
      Ok("<BillAddRq><BillAdd>" + Ref("VendorRef", "Hand Supply Co") +
         "<TxnDate>2024-03-10</TxnDate><RefNumber>HS-881</RefNumber><LinkToTxnID>" + receipt_id +
         "</LinkToTxnID><ExpenseLineAdd>" + Ref("AccountRef", "Office Supplies") +
         "<Amount>12.00</Amount></ExpenseLineAdd></BillAdd></BillAddRq>")
          .child("BillRet");
  const std::string bill_id = bill.child_value("TxnID");
  EXPECT_STREQ(bill.child_value("AmountDue"), "90.00");
  EXPECT_STREQ(bill.child_value("OpenAmount"), "90.00");
  EXPECT_STREQ(bill.child_value("IsPaid"), "false");
  EXPECT_STREQ(bill.child_value("DueDate"), "2024-04-09");
  EXPECT_STREQ(bill.child("ItemLineRet").child_value("Amount"), "78.00");
  EXPECT_EQ(Moved(Books(), before), (std::map<std::string, int64_t>{{"vendor", 9000},
                                                                    {"A/P", 9000},
                                                                    {"Checking", 0},
                                                                    {"Stock", 7800},
                                                                    {"Office", 1200},
                                                                    {"Valves", 12}}));
  pugi::xml_node to_pay =
      Ok("<BillToPayQueryRq>" + Ref("PayeeEntityRef", "Hand Supply Co") + "</BillToPayQueryRq>");
  EXPECT_STREQ(to_pay.child("BillToPayRet").child("BillToPay").child_value("TxnID"),
               bill_id.c_str());
  EXPECT_STREQ(to_pay.child("BillToPayRet").child("BillToPay").child_value("AmountDue"), "90.00");
  EXPECT_FALSE(to_pay.child("BillToPayRet").next_sibling("BillToPayRet"));  // the receipt is billed

  // Paid in full by check from Checking: 90.00 out of the bank, nothing owed.
  pugi::xml_node check =
      Ok("<BillPaymentCheckAddRq><BillPaymentCheckAdd>" + Ref("PayeeEntityRef", "Hand Supply Co") +
         "<TxnDate>2024-03-20</TxnDate>" + Ref("BankAccountRef", "Checking") +
         "<RefNumber>5001</RefNumber><AppliedToTxnAdd><TxnID>" + bill_id +
         "</TxnID><PaymentAmount>90.00</PaymentAmount></AppliedToTxnAdd>"
         "</BillPaymentCheckAdd></BillPaymentCheckAddRq>")
          .child("BillPaymentCheckRet");
  EXPECT_STREQ(check.child_value("Amount"), "90.00");
  EXPECT_STREQ(check.child("AppliedToTxnRet").child_value("BalanceRemaining"), "0.00");
  bill = Query("Bill", bill_id, "<IncludeLinkedTxns>true</IncludeLinkedTxns>");
  EXPECT_STREQ(bill.child_value("AmountDue"), "0.00");
  EXPECT_STREQ(bill.child_value("IsPaid"), "true");
  EXPECT_STREQ(bill.child("LinkedTxn").child_value("TxnType"), "BillPaymentCheck");
  EXPECT_STREQ(bill.child("LinkedTxn").child_value("Amount"), "-90.00");
  EXPECT_EQ(Moved(Books(), before), (std::map<std::string, int64_t>{{"vendor", 0},
                                                                    {"A/P", 0},
                                                                    {"Checking", -9000},
                                                                    {"Stock", 7800},
                                                                    {"Office", 1200},
                                                                    {"Valves", 12}}));

  // The other 8 valves: 8 x 6.50 = 52.00, received in full through the whole order. On hand 30
  // worth 128.00 + 52.00 = 180.00, an average of 6.00; nothing left on order.
  Ok("<ItemReceiptAddRq><ItemReceiptAdd>" + Ref("VendorRef", "Hand Supply Co") + "<LinkToTxnID>" +
     po + "</LinkToTxnID></ItemReceiptAdd></ItemReceiptAddRq>");
  EXPECT_EQ(ItemField("Valve", "QuantityOnHand"), "30");
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "6.00");
  EXPECT_EQ(ItemField("Valve", "QuantityOnOrder"), "0");
  EXPECT_EQ(ItemField("Gasket", "QuantityOnHand"), "100");
  EXPECT_STREQ(Query("PurchaseOrder", po).child_value("IsFullyReceived"), "true");
  EXPECT_EQ(AccountBalance("Inventory Asset") - before["Stock"], 7800 + 5200 + 2500);
  // The order has receipts against it: QuickBooks keeps it, and the lines received.
  pugi::xml_node refused =
      First("<TxnDelRq><TxnDelType>PurchaseOrder</TxnDelType><TxnID>" + po + "</TxnID></TxnDelRq>");
  EXPECT_EQ(Code(refused), 3170);
  // Named as a sales form names what stands on it.
  const std::string why = refused.attribute("statusMessage").value();
  EXPECT_EQ(
      why.rfind("There was an error when deleting a PurchaseOrder.  QuickBooks error message: "
                "Other transactions are linked to it (ItemReceipt ",
                0),
      0u)
      << why;
  order = Query("PurchaseOrder", po);
  const std::string gasket_line =
      order.child("PurchaseOrderLineRet").next_sibling().child_value("TxnLineID");
  EXPECT_EQ(Code(First("<PurchaseOrderModRq><PurchaseOrderMod><TxnID>" + po +
                       "</TxnID><EditSequence>" + order.child_value("EditSequence") +
                       "</EditSequence><PurchaseOrderLineMod><TxnLineID>" + gasket_line +
                       "</TxnLineID></PurchaseOrderLineMod></PurchaseOrderMod>"
                       "</PurchaseOrderModRq>")),
            3170);
}

TEST_F(PurchasesTest, PaymentsTakeDiscountsAndCreditsAndVoidsGiveThemBack) {
  // Bill 200.00; a vendor credit of 30.00; the check pays 166.00 with a 4.00 discount:
  // 166.00 + 4.00 + 30.00 = 200.00 settles it.
  std::string bill_id = Ok("<BillAddRq><BillAdd>" + Ref("VendorRef", "Hand Supply Co") +
                           "<ExpenseLineAdd>" + Ref("AccountRef", "Office Supplies") +
                           "<Amount>200.00</Amount></ExpenseLineAdd></BillAdd></BillAddRq>")
                            .child("BillRet")
                            .child_value("TxnID");
  std::string credit_id =
      Ok("<VendorCreditAddRq><VendorCreditAdd>" + Ref("VendorRef", "Hand Supply Co") +
         "<ExpenseLineAdd>" + Ref("AccountRef", "Office Supplies") +
         "<Amount>30.00</Amount></ExpenseLineAdd></VendorCreditAdd></VendorCreditAddRq>")
          .child("VendorCreditRet")
          .child_value("TxnID");
  EXPECT_EQ(VendorBalance(), 17000);  // 200.00 owed less 30.00 owed back
  const int64_t checking = AccountBalance("Checking"),
                discounts = AccountBalance("Discounts Given");
  auto pay = [&](const std::string& amount) {
    return "<BillPaymentCheckAddRq><BillPaymentCheckAdd>" +
           Ref("PayeeEntityRef", "Hand Supply Co") + Ref("BankAccountRef", "Checking") +
           "<IsToBePrinted>true</IsToBePrinted>"
           "<AppliedToTxnAdd><TxnID>" +
           bill_id + "</TxnID><PaymentAmount>" + amount +
           "</PaymentAmount><SetCredit><CreditTxnID>" + credit_id +
           "</CreditTxnID><AppliedAmount>30.00</AppliedAmount></SetCredit><DiscountAmount>4.00"
           "</DiscountAmount></AppliedToTxnAdd></BillPaymentCheckAdd></BillPaymentCheckAddRq>";
  };
  // One cent more than is open is refused, and changes nothing.
  pugi::xml_node over = First(pay("166.01"));
  EXPECT_EQ(Code(over), 3180);
  pugi::xml_node payment = Ok(pay("166.00")).child("BillPaymentCheckRet");
  const std::string payment_id = payment.child_value("TxnID");
  EXPECT_FALSE(payment.child("RefNumber"));  // to be printed: numbered when printed
  EXPECT_STREQ(payment.child("AppliedToTxnRet").child_value("DiscountAmount"), "4.00");
  EXPECT_STREQ(payment.child("AppliedToTxnRet").child("LinkedTxn").child_value("Amount"), "-30.00");
  EXPECT_EQ(VendorBalance(), 0);
  EXPECT_EQ(AccountBalance("Checking") - checking, -16600);
  EXPECT_EQ(AccountBalance("Discounts Given") - discounts, -400);  // the company's default
  EXPECT_STREQ(Query("VendorCredit", credit_id).child_value("OpenAmount"), "0.00");
  EXPECT_FALSE(
      Ok("<BillToPayQueryRq>" + Ref("PayeeEntityRef", "Hand Supply Co") + "</BillToPayQueryRq>")
          .first_child());
  // Paid bills and used credits stay: the payment stands on them.
  EXPECT_EQ(Code(First("<TxnVoidRq><TxnVoidType>Bill</TxnVoidType><TxnID>" + bill_id +
                       "</TxnID></TxnVoidRq>")),
            3170);
  // Voiding the payment opens the bill and the credit again.
  Ok("<TxnVoidRq><TxnVoidType>BillPaymentCheck</TxnVoidType><TxnID>" + payment_id +
     "</TxnID></TxnVoidRq>");
  EXPECT_EQ(VendorBalance(), 17000);
  EXPECT_EQ(AccountBalance("Checking"), checking);
  pugi::xml_node open =
      Ok("<BillToPayQueryRq>" + Ref("PayeeEntityRef", "Hand Supply Co") + "</BillToPayQueryRq>");
  EXPECT_STREQ(open.child("BillToPayRet").child("BillToPay").child_value("AmountDue"), "200.00");
  EXPECT_STREQ(open.child("BillToPayRet")
                   .next_sibling()
                   .child("CreditToApply")
                   .child_value("CreditRemaining"),
               "30.00");
}

TEST_F(PurchasesTest, TheLibrarysVendorReadsWhatIsOpenToPay) {
  Ok("<BillAddRq><BillAdd>" + Ref("VendorRef", "Hand Supply Co") +
     "<RefNumber>HS-1</RefNumber><ExpenseLineAdd>" + Ref("AccountRef", "Rent") +
     "<Amount>120.00</Amount></ExpenseLineAdd></BillAdd></BillAddRq>");
  Ok("<VendorCreditAddRq><VendorCreditAdd>" + Ref("VendorRef", "Hand Supply Co") +
     "<ExpenseLineAdd>" + Ref("AccountRef", "Rent") +
     "<Amount>20.00</Amount></ExpenseLineAdd></VendorCreditAdd></VendorCreditAddRq>");
  auto connection = std::make_shared<QBConnection>();
  connection->Connect("", "Purchases test", qbOpenModeDontCare, path_);
  std::shared_ptr<Vendor> vendor =
      connection->Company()->Vendors()->GetByFullName("Hand Supply Co");
  ASSERT_TRUE(vendor);
  EXPECT_EQ(vendor->GetBillsAndCredits(), 0);
  ASSERT_EQ(vendor->OpenBills()->Count(), 1);
  EXPECT_EQ(vendor->OpenBills()->Item(1)->Amount(), Currency(120));
  ASSERT_EQ(vendor->OpenCredits()->Count(), 1);
  EXPECT_EQ(vendor->OpenCredits()->Item(1)->Amount(), Currency(20));
  connection->CloseConnection();
}

TEST_F(PurchasesTest, BuildsConsumeComponentsAtAverageCostOrWaitPending) {
  // 10 axles worth 40.00 (4.00 each); 30 wheels worth 100.00 (3.33333 each). A cart is an axle
  // and four wheels.
  Part("Axle", "10", "40.00");
  Part("Wheel", "30", "100.00");
  Ok("<ItemInventoryAssemblyAddRq><ItemInventoryAssemblyAdd><Name>Cart</Name>" +
     Ref("IncomeAccountRef", "Sales") + Ref("COGSAccountRef", "Cost of Goods Sold") +
     Ref("AssetAccountRef", "Inventory Asset") + "<ItemInventoryAssemblyLine>" +
     Ref("ItemInventoryRef", "Axle") +
     "<Quantity>1</Quantity></ItemInventoryAssemblyLine>"
     "<ItemInventoryAssemblyLine>" +
     Ref("ItemInventoryRef", "Wheel") +
     "<Quantity>4</Quantity></ItemInventoryAssemblyLine></ItemInventoryAssemblyAdd>"
     "</ItemInventoryAssemblyAddRq>");
  const int64_t stock = AccountBalance("Inventory Asset");
  // Five carts: 5 axles cost 5 x 4.00 = 20.00; 20 wheels cost 100.00 x 20 / 30 = 66.666...,
  // 66.67. The carts are worth 86.67, 17.334 each; 10 wheels stay worth 33.33.
  pugi::xml_node build =
      Ok("<BuildAssemblyAddRq><BuildAssemblyAdd>" + Ref("ItemInventoryAssemblyRef", "Cart") +
         "<QuantityToBuild>5</QuantityToBuild></BuildAssemblyAdd></BuildAssemblyAddRq>")
          .child("BuildAssemblyRet");
  EXPECT_STREQ(build.child_value("IsPending"), "false");
  EXPECT_STREQ(build.child_value("QuantityOnHand"), "5");
  EXPECT_STREQ(build.child_value("QuantityCanBuild"), "2");  // 5 axles, 10 wheels: 2 more carts
  EXPECT_STREQ(build.child("ComponentItemLineRet").next_sibling().child_value("QuantityNeeded"),
               "20");
  auto assembly = [&](const char* field) {
    return One(
        "<ItemInventoryAssemblyQueryRq><FullName>Cart</FullName>"
        "</ItemInventoryAssemblyQueryRq>",
        "ItemInventoryAssemblyRet", field);
  };
  EXPECT_EQ(assembly("QuantityOnHand"), "5");
  EXPECT_EQ(assembly("AverageCost"), "17.334");
  EXPECT_EQ(ItemField("Axle", "QuantityOnHand"), "5");
  EXPECT_EQ(ItemField("Axle", "AverageCost"), "4.00");
  EXPECT_EQ(ItemField("Wheel", "QuantityOnHand"), "10");
  EXPECT_EQ(ItemField("Wheel", "AverageCost"), "3.333");  // 33.33 / 10
  EXPECT_EQ(AccountBalance("Inventory Asset"), stock);    // value moved, none made

  // Ten more need 10 axles with 5 on hand: refused, unless marked pending; pending posts nothing.
  std::string more = "<BuildAssemblyAddRq><BuildAssemblyAdd>" +
                     Ref("ItemInventoryAssemblyRef", "Cart") +
                     "<QuantityToBuild>10</QuantityToBuild>";
  EXPECT_EQ(Code(First(more + "</BuildAssemblyAdd></BuildAssemblyAddRq>")), 3180);
  pugi::xml_node pending =
      Ok(more +
         "<MarkPendingIfRequired>true</MarkPendingIfRequired></BuildAssemblyAdd>"
         "</BuildAssemblyAddRq>")
          .child("BuildAssemblyRet");
  EXPECT_STREQ(pending.child_value("IsPending"), "true");
  const std::string pending_id = pending.child_value("TxnID");
  const std::string pending_sequence = pending.child_value("EditSequence");
  EXPECT_EQ(assembly("QuantityOnHand"), "5");
  EXPECT_EQ(ItemField("Axle", "QuantityOnHand"), "5");
  pugi::xml_node listed =
      Ok("<BuildAssemblyQueryRq><PendingStatus>PendingOnly</PendingStatus>"
         "</BuildAssemblyQueryRq>");
  EXPECT_EQ(listed.child("BuildAssemblyRet").child_value("TxnID"), pending_id);
  EXPECT_FALSE(listed.child("BuildAssemblyRet").next_sibling());
  // Still short: it stays pending when asked to be built.
  EXPECT_EQ(Code(First("<BuildAssemblyModRq><BuildAssemblyMod><TxnID>" + pending_id +
                       "</TxnID><EditSequence>" + pending_sequence +
                       "</EditSequence><RemovePending>true</RemovePending></BuildAssemblyMod>"
                       "</BuildAssemblyModRq>")),
            3170);
}

TEST_F(PurchasesTest, AdjustmentsChangeQuantityAtAverageCostOrValueAlone) {
  Ok("<AccountAddRq><AccountAdd><Name>Inventory Shrinkage</Name><AccountType>CostOfGoodsSold"
     "</AccountType></AccountAdd></AccountAddRq>");
  const int64_t stock = AccountBalance("Inventory Asset");
  // Two valves lost: 2 x 5.00 = 10.00 out of stock into shrinkage; 8 left worth 40.00.
  pugi::xml_node adjustment =
      Ok("<InventoryAdjustmentAddRq><InventoryAdjustmentAdd>" +
         Ref("AccountRef", "Inventory Shrinkage") + "<InventoryAdjustmentLineAdd>" +
         Ref("ItemRef", "Valve") +
         "<QuantityAdjustment><QuantityDifference>-2</QuantityDifference></QuantityAdjustment>"
         "</InventoryAdjustmentLineAdd></InventoryAdjustmentAdd></InventoryAdjustmentAddRq>")
          .child("InventoryAdjustmentRet");
  EXPECT_STREQ(adjustment.child("InventoryAdjustmentLineRet").child_value("ValueDifference"),
               "-10.00");
  const std::string adjustment_id = adjustment.child_value("TxnID");
  const std::string adjustment_sequence = adjustment.child_value("EditSequence");
  const std::string first_line =
      adjustment.child("InventoryAdjustmentLineRet").child_value("TxnLineID");
  EXPECT_EQ(ItemField("Valve", "QuantityOnHand"), "8");
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "5.00");
  EXPECT_EQ(AccountBalance("Inventory Shrinkage"), 1000);
  EXPECT_EQ(AccountBalance("Inventory Asset") - stock, -1000);

  // A value of its own: the official schema takes none in an Add (QuickBooks refuses it there),
  // so a line of a Mod writes the valves up by 6.00, the quantity untouched: 46.00 for 8, 5.75.
  std::string value_line =
      "<ValueAdjustment><QuantityDifference>0</QuantityDifference><ValueDifference>6.00"
      "</ValueDifference></ValueAdjustment>";
  std::string add_by_value = "<InventoryAdjustmentAddRq><InventoryAdjustmentAdd>" +
                             Ref("AccountRef", "Inventory Shrinkage") +
                             "<InventoryAdjustmentLineAdd>" + Ref("ItemRef", "Valve") + value_line +
                             "</InventoryAdjustmentLineAdd></InventoryAdjustmentAdd>"
                             "</InventoryAdjustmentAddRq>";
  if (strict_) {
    try {
      processor_->ProcessRequest(ticket_, Envelope(add_by_value));
      ADD_FAILURE() << "a value in an Add passed the official schema";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.Number(), static_cast<int32_t>(0x80040400u));
    }
  }
  Ok("<InventoryAdjustmentModRq><InventoryAdjustmentMod><TxnID>" + adjustment_id +
     "</TxnID><EditSequence>" + adjustment_sequence +
     "</EditSequence><InventoryAdjustmentLineMod><TxnLineID>" + first_line +
     "</TxnLineID></InventoryAdjustmentLineMod><InventoryAdjustmentLineMod><TxnLineID>-1"
     "</TxnLineID>" +
     Ref("ItemRef", "Valve") +
     "<QuantityDifference>0</QuantityDifference><ValueDifference>6.00</ValueDifference>"
     "</InventoryAdjustmentLineMod></InventoryAdjustmentMod></InventoryAdjustmentModRq>");
  EXPECT_EQ(ItemField("Valve", "QuantityOnHand"), "8");
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "5.75");
  EXPECT_EQ(AccountBalance("Inventory Shrinkage"), 400);  // 10.00 - 6.00
  EXPECT_EQ(AccountBalance("Inventory Asset") - stock, -400);

  // Outside strict mode the Add takes a new value itself: 8 valves worth 40.00 (5.00).
  unsetenv("BRENNOCK_QBXML_SCHEMA");
  strict_ = false;
  std::string to_value = add_by_value;
  to_value.replace(to_value.find(value_line), value_line.size(),
                   "<ValueAdjustment><NewValue>40.00</NewValue></ValueAdjustment>");
  Ok(to_value);
  EXPECT_EQ(ItemField("Valve", "AverageCost"), "5.00");
  EXPECT_EQ(AccountBalance("Inventory Shrinkage"), 1000);
}

TEST_F(PurchasesTest, JournalEntriesBalanceAndNameWhoOwes) {
  auto entry = [](const std::string& lines) {
    return "<JournalEntryAddRq><JournalEntryAdd><TxnDate>2024-03-31</TxnDate>" + lines +
           "</JournalEntryAdd></JournalEntryAddRq>";
  };
  auto line = [](const std::string& side, const std::string& account, const std::string& amount,
                 const std::string& name = {}) {
    return "<Journal" + side + "Line>" + Ref("AccountRef", account) + "<Amount>" + amount +
           "</Amount>" + (name.empty() ? "" : Ref("EntityRef", name)) + "</Journal" + side +
           "Line>";
  };
  pugi::xml_node unbalanced =
      First(entry(line("Debit", "Rent", "100.00") + line("Credit", "Checking", "90.00")));
  EXPECT_EQ(Code(unbalanced), 3180);
  EXPECT_STREQ(unbalanced.attribute("statusMessage").value(),
               "There was an error when saving a JournalEntry.  QuickBooks error message: "
               "Transaction not in balance: the debits (100.00) and credits (90.00) must be "
               "equal.");
  pugi::xml_node no_vendor =
      First(entry(line("Debit", "Rent", "50.00") + line("Credit", "Accounts Payable", "50.00")));
  EXPECT_EQ(Code(no_vendor), 3180);
  EXPECT_STREQ(no_vendor.attribute("statusMessage").value(),
               "There was an error when saving a JournalEntry.  QuickBooks error message: When "
               "you use Accounts Payable, you must choose a vendor in the Name field.");
  EXPECT_EQ(Code(First(entry(line("Debit", "Accounts Receivable", "50.00", "Hand Supply Co") +
                             line("Credit", "Sales", "50.00")))),
            3180);

  const int64_t rent = AccountBalance("Rent"), owed = VendorBalance();
  pugi::xml_node ok = Ok(entry(line("Credit", "Accounts Payable", "75.00", "Hand Supply Co") +
                               line("Debit", "Rent", "75.00")))
                          .child("JournalEntryRet");
  EXPECT_FALSE(std::string(ok.child_value("RefNumber")).empty());  // numbered
  EXPECT_STREQ(ok.child("JournalCreditLine").child_value("Amount"), "75.00");
  const std::string id = ok.child_value("TxnID"), sequence = ok.child_value("EditSequence");
  const std::string credit = ok.child("JournalCreditLine").child_value("TxnLineID");
  const std::string debit = ok.child("JournalDebitLine").child_value("TxnLineID");
  EXPECT_EQ(AccountBalance("Rent") - rent, 7500);
  EXPECT_EQ(VendorBalance() - owed, 7500);

  // A Mod names its lines JournalLineMod: an entry it leaves unbalanced is refused (3170); the
  // credit becomes 80.00 against a new debit line of office supplies, the rent line left out.
  auto mod = [&](const std::string& lines) {
    return "<JournalEntryModRq><JournalEntryMod><TxnID>" + id + "</TxnID><EditSequence>" +
           sequence + "</EditSequence>" + lines + "</JournalEntryMod></JournalEntryModRq>";
  };
  auto line_mod = [](const std::string& line_id, const std::string& inner) {
    return "<JournalLineMod><TxnLineID>" + line_id + "</TxnLineID>" + inner + "</JournalLineMod>";
  };
  EXPECT_EQ(Code(First(mod(line_mod(credit, "<Amount>80.00</Amount>") + line_mod(debit, "")))),
            3170);
  pugi::xml_node changed =
      Ok(mod(line_mod(credit, "<Amount>80.00</Amount>") +
             line_mod("-1", "<JournalLineType>Debit</JournalLineType>" +
                                Ref("AccountRef", "Office Supplies") + "<Amount>80.00</Amount>")))
          .child("JournalEntryRet");
  EXPECT_EQ(std::distance(changed.children("JournalDebitLine").begin(),
                          changed.children("JournalDebitLine").end()),
            1);
  EXPECT_EQ(AccountBalance("Rent"), rent);
  EXPECT_EQ(VendorBalance() - owed, 8000);
}

}  // namespace
}  // namespace brennock::testing
