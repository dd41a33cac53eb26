// The item line's rules against a simulated company's items: which owners take which property,
// what each kind of item does to a line, the recompute and the total pass, with figures worked by
// hand from the item list of the sample business.
#include <functional>
#include <string>
#include <vector>

#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/xml/element_tree.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace item_line_rules_test {
namespace {

constexpr qoEnumListObjectType kOwners[] = {qoObjectTypeBill,
                                            qoObjectTypeCheck,
                                            qoObjectTypePurchaseOrder,
                                            qoObjectTypeVendorCredit,
                                            qoObjectTypeCreditCardCharge,
                                            qoObjectTypeCreditCardCredit,
                                            qoObjectTypeInvoice,
                                            qoObjectTypeSalesReceipt,
                                            qoObjectTypeCreditMemo,
                                            qoObjectTypeEstimate,
                                            qoObjectTypeSalesOrder,
                                            qoObjectTypeItemReceipt};

// The library error number a call raises, 0 when it raises nothing.
int Raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e.Number() - vbObjectError;
  }
  return 0;
}

class ItemLineRulesTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 2, 0, 1, 0, 0, 0};
    return options;
  }

  std::shared_ptr<txnItemLines> Lines(qoEnumListObjectType owner) {
    auto lines = std::make_shared<txnItemLines>();
    lines->SetOwnerType(owner);
    lines->SetEventSink(sink_);
    return lines;
  }
  std::shared_ptr<txnItemLine> Line(qoEnumListObjectType owner) { return Lines(owner)->Add(); }

  std::shared_ptr<qcEventSink> sink_ = std::make_shared<qcEventSink>();
};

TEST_F(ItemLineRulesTest, EachPropertyTakesOnlyItsOwners) {
  using Owners = std::vector<qoEnumListObjectType>;
  const struct {
    const char* property;
    Owners allowed;
    int refused;  // the error of any other owner
    std::function<void(txnItemLine&)> set;
  } rules[] = {
      {"OverrideAccount",
       {qoObjectTypeInvoice, qoObjectTypeSalesReceipt},
       2008,
       [](txnItemLine& l) { l.SetOverrideAccount("Services"); }},
      {"SalesTaxCode",
       {qoObjectTypeInvoice, qoObjectTypeSalesReceipt, qoObjectTypeCreditMemo, qoObjectTypeEstimate,
        qoObjectTypeSalesOrder},
       2008,
       [](txnItemLine& l) { l.SetSalesTaxCode("Tax"); }},
      {"BillableStatus",
       {qoObjectTypeBill, qoObjectTypeCheck, qoObjectTypeVendorCredit, qoObjectTypeCreditCardCharge,
        qoObjectTypeCreditCardCredit, qoObjectTypeItemReceipt},
       2008,
       [](txnItemLine& l) { l.SetBillableStatus(qbBillableStatusBillable); }},
      {"Customer",
       {qoObjectTypeBill, qoObjectTypeCheck, qoObjectTypePurchaseOrder, qoObjectTypeVendorCredit,
        qoObjectTypeCreditCardCharge, qoObjectTypeCreditCardCredit, qoObjectTypeItemReceipt},
       2008,
       [](txnItemLine& l) { l.SetCustomer(""); }},
      {"CostIsPercent",
       {qoObjectTypeEstimate, qoObjectTypeCreditMemo, qoObjectTypeSalesReceipt, qoObjectTypeInvoice,
        qoObjectTypePurchaseOrder},
       2008,
       [](txnItemLine& l) { l.SetCostIsPercent(true); }},
      {"ServiceDate",
       {qoObjectTypeCreditMemo, qoObjectTypeSalesReceipt, qoObjectTypeInvoice,
        qoObjectTypePurchaseOrder},
       2008,
       [](txnItemLine& l) { l.SetServiceDate(Date::FromDate(2024, 5, 1)); }},
      {"Markup", {qoObjectTypeEstimate}, 2023, [](txnItemLine& l) { l.SetMarkup(5); }},
      {"MarkupIsPercent",
       {qoObjectTypeEstimate},
       2023,
       [](txnItemLine& l) { l.SetMarkupIsPercent(true); }},
      {"Invoiced",
       {qoObjectTypeSalesOrder},
       2008,
       [](txnItemLine& l) { l.SetInvoiced(Currency(1)); }},
      {"IsManuallyClosed",
       {qoObjectTypeSalesOrder},
       2008,
       [](txnItemLine& l) { l.SetIsManuallyClosed(Currency(1)); }},
  };
  for (const auto& rule : rules) {
    for (qoEnumListObjectType owner : kOwners) {
      SCOPED_TRACE(std::string(rule.property) + " on owner " + std::to_string(owner));
      auto line = Line(owner);
      const bool allowed =
          std::find(rule.allowed.begin(), rule.allowed.end(), owner) != rule.allowed.end();
      EXPECT_EQ(Raised([&] { rule.set(*line); }), allowed ? 0 : rule.refused);
    }
  }
  // Clearing the percentage is always allowed; an owner of no kind is refused by text.
  EXPECT_EQ(Raised([&] { Line(qoObjectTypeBill)->SetCostIsPercent(false); }), 0);
  txnItemLine orphan;
  try {
    orphan.SetInvoiced(Currency(1));
    ADD_FAILURE() << "no owner, no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.Description(), "Unknown owner transaction type");
  }
}

TEST_F(ItemLineRulesTest, ReferencesThatDoNotResolveAreRefusedBeforeAnythingChanges) {
  auto sale = Line(qoObjectTypeInvoice);
  EXPECT_EQ(Raised([&] { sale->SetItem("No Such Item"); }), 2001);
  EXPECT_EQ(Raised([&] { sale->SetSalesTaxCode("Nope"); }), 2015);
  EXPECT_EQ(Raised([&] { sale->SetOverrideAccount("No Account"); }), 1014);
  EXPECT_EQ(sale->Item(), "");
  EXPECT_EQ(sale->SalesTaxCode(), "");
  auto bill = Line(qoObjectTypeBill);
  EXPECT_EQ(Raised([&] { bill->SetCustomer("Nobody At All"); }), 2012);
  EXPECT_EQ(bill->Customer(), "");
}

// What each kind of item does on each class of owner.
TEST_F(ItemLineRulesTest, TheItemSetterFollowsTheKindOfItem) {
  const struct {
    const char* item;
    qoEnumListObjectType owner;
    int raised;
    const char* description;
    float cost;
    float quantity;
  } cases[] = {
      {"Consulting", qoObjectTypeInvoice, 0, "Consulting, per hour", 95, 1},
      {"Repairs", qoObjectTypeInvoice, 0, "Repair work, subcontracted", 85, 1},
      {"Repairs", qoObjectTypeBill, 0, "Repair work, subcontracted", 55, 1},  // purchase side
      {"Widget", qoObjectTypeSalesOrder, 0, "Standard widget", 12, 1},
      {"Widget", qoObjectTypeCheck, 0, "Standard widget", 7, 1},
      {"Subtotal", qoObjectTypeInvoice, 0, "Subtotal", 0, 1},  // 0 becomes 1 afterwards
      {"Loyalty Discount", qoObjectTypeInvoice, 0, "10% off", 10, 1},
      {"Loyalty Discount", qoObjectTypeBill, 2002, "", 0, 0},
      {"Deposit", qoObjectTypeInvoice, 0, "", 0, 1},
      {"Deposit", qoObjectTypeEstimate, 2002, "", 0, 0},
      {"State Tax", qoObjectTypeInvoice, 0, "State sales tax", 7.25f, 1},
      {"State Tax", qoObjectTypeVendorCredit, 2002, "", 0, 0},
      {"Combined Tax", qoObjectTypeItemReceipt, 2002, "", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.item) + " on owner " + std::to_string(c.owner));
    auto line = Line(c.owner);
    EXPECT_EQ(Raised([&] { line->SetItem(c.item); }), c.raised);
    if (c.raised != 0) continue;
    EXPECT_EQ(line->Item(), c.item);
    EXPECT_EQ(line->Description(), c.description);
    EXPECT_FLOAT_EQ(line->Cost(), c.cost);
    EXPECT_FLOAT_EQ(line->Quantity(), c.quantity);
  }
}

TEST_F(ItemLineRulesTest, ATaxItemIsRefusedWhenTheClientEmptiesTheQuestion) {
  std::vector<std::string> asked;
  sink_->OnqoEvent = [&](qoEnumEventTypes id, std::string& param) {
    if (id != qoEventItemTaxCodeQuery) return;
    asked.push_back(param);
    param.clear();
  };
  auto line = Line(qoObjectTypeInvoice);
  EXPECT_EQ(Raised([&] { line->SetItem("State Tax"); }), 2016);
  EXPECT_EQ(asked, std::vector<std::string>{"State Tax"});
}

TEST_F(ItemLineRulesTest, TheLineKeepsAmountRateAndQuantityConsistent) {
  auto line = [&](float quantity, float cost) {
    auto l = Line(qoObjectTypeInvoice);
    l->SetItem("Consulting");
    l->SetQuantity(quantity);
    l->SetCost(cost);
    return l;
  };
  EXPECT_EQ(line(3, 95)->Amount(), Currency::FromScaled(2850000));  // 3 x 95
  // Halves round to even at four decimals: 0.09375 -> 0.0938, 0.03125 -> 0.0312.
  EXPECT_EQ(line(1, 0.09375f)->Amount(), Currency::FromScaled(938));
  EXPECT_EQ(line(1, 0.03125f)->Amount(), Currency::FromScaled(312));
  auto four = line(4, 95);
  four->SetAmount(Currency(100));
  EXPECT_FLOAT_EQ(four->Cost(), 25);  // 100 / 4
  auto one = line(1, 95);
  one->SetAmount(Currency(100));
  EXPECT_FLOAT_EQ(one->Cost(), 100);

  // An estimate adds its markup: 10 x 3 + 20 % = 36; 10 x 3 + 20 = 50.
  auto estimate = Line(qoObjectTypeEstimate);
  estimate->SetItem("Consulting");
  estimate->SetQuantity(3);
  estimate->SetCost(10);
  estimate->SetMarkupIsPercent(true);
  estimate->SetMarkup(20);
  EXPECT_EQ(estimate->Amount(), Currency(36));
  estimate->SetMarkupIsPercent(false);
  EXPECT_EQ(estimate->Amount(), Currency(50));

  auto subtotal = Line(qoObjectTypeInvoice);
  subtotal->SetItem("Subtotal");
  EXPECT_EQ(Raised([&] { subtotal->SetAmount(Currency(5)); }), 2006);
}

// The total pass over one invoice's lines, figured by hand:
//   Consulting 2 x 95.00 = 190.00 (not taxable)   T 190.00  X 0       B 0
//   Widget 5 x 12.00     =  60.00 (taxable)       T 250.00  X 60.00   B 60.00
//   Subtotal             = 250.00                 B 250.00
//   Loyalty Discount 10 % of 250.00 = -25.00 (taxable on its own code)
//                                                 T 225.00  X 35.00
//   Deposit (a payment) 20.00                     T 205.00
TEST_F(ItemLineRulesTest, TheTotalPassKeepsTheRunningAndTaxableTotals) {
  auto lines = Lines(qoObjectTypeInvoice);
  lines->Add("Consulting", 2);
  lines->Add("Widget", 5);
  lines->Add("Subtotal");
  auto discount = lines->Add("Loyalty Discount");
  discount->SetSalesTaxCode("Tax");
  auto payment = lines->Add("Deposit");
  payment->SetAmount(Currency(20));
  EXPECT_EQ(lines->Total(), Currency(205));
  EXPECT_EQ(lines->TaxableTotal(), Currency(35));
  EXPECT_EQ(lines->Item(3)->Amount(), Currency(250));
  EXPECT_EQ(discount->Amount(), Currency(-25));
}

// Starter Pack: Widget x 1, Installation x 1, Loyalty Discount.
TEST_F(ItemLineRulesTest, AGroupLineExpandsAndScalesItsMembers) {
  auto lines = Lines(qoObjectTypeInvoice);
  auto group = lines->Add("Starter Pack");
  ASSERT_TRUE(group->IsGroup());
  auto members = group->GroupLines();
  ASSERT_EQ(members->Count(), 3);
  EXPECT_EQ(members->Item(1)->Item(), "Widget");
  EXPECT_EQ(members->Item(2)->Description(), "Installation labour");
  group->SetQuantity(3);
  EXPECT_FLOAT_EQ(members->Item(1)->Quantity(), 3);
  EXPECT_FLOAT_EQ(members->Item(2)->Quantity(), 3);
  // Members are the group's: the client cannot change them, nor ask a plain line for members.
  EXPECT_EQ(Raised([&] { members->Item(1)->SetQuantity(2); }), 2000);
  EXPECT_EQ(Raised([&] { members->Add("Widget"); }), 2000);
  EXPECT_EQ(Raised([&] { lines->Add("Widget")->GroupLines(); }), 2009);
}

// The fields few lines carry are kept apart from the line, in a block made when one is first
// set: each is read from an answer, changed by the client and written back.
TEST_F(ItemLineRulesTest, RarelyUsedFieldsSurviveReadingChangingAndWriting) {
  const std::string item = "<ItemRef><FullName>Widget</FullName></ItemRef>";
  const struct {
    const char* name;
    qoEnumListObjectType owner;
    std::string ret;  // the line as QuickBooks answers it
    std::function<void(txnItemLine&)> checkAndChange;
    BodyForm form;
    std::string written;
  } cases[] = {
      {"links, others and override account", qoObjectTypeInvoice,
       "<InvoiceLineRet><TxnLineID>1</TxnLineID>" + item +
           "<Other1>first</Other1><Other2>second</Other2></InvoiceLineRet>",
       [](txnItemLine& l) {
         EXPECT_EQ(l.Other1() + "/" + l.Other2(), "first/second");
         l.SetOther1("one");
         l.SetLinkedTxnId("T-9");
         l.SetLinkedTxnLineId("L-9");
         l.SetOverrideAccount("Services");
         EXPECT_EQ(l.LinkedTxnId() + "/" + l.LinkedTxnLineId(), "T-9/L-9");
       },
       BodyForm::kAdd,
       "<InvoiceLineAdd><Desc></Desc><Rate>0000000.00000</Rate><Amount>0.00</Amount>"
       "<OverrideItemAccountRef><FullName>Services</FullName></OverrideItemAccountRef>"
       "<Other1>one</Other1><Other2>second</Other2>"
       "<LinkToTxn><TxnID>T-9</TxnID><TxnLineID>L-9</TxnLineID></LinkToTxn></InvoiceLineAdd>"},
      {"invoiced and closed by hand", qoObjectTypeSalesOrder,
       "<SalesOrderLineRet><TxnLineID>2</TxnLineID>" + item +
           "<Invoiced>3.00</Invoiced><IsManuallyClosed>true</IsManuallyClosed></SalesOrderLineRet>",
       [](txnItemLine& l) {
         EXPECT_EQ(l.Invoiced(), Currency(3));
         EXPECT_EQ(l.IsManuallyClosed(), Currency(1));
         l.SetInvoiced(Currency(5));
         EXPECT_EQ(l.Invoiced(), Currency(5));
         l.SetIsManuallyClosed(Currency());
       },
       BodyForm::kMod,
       "<SalesOrderLineMod><TxnLineID>2</TxnLineID>" + item +
           "<Desc></Desc><Rate>0000000.00000</Rate><Amount>0.00</Amount>"
           "<IsManuallyClosed>0</IsManuallyClosed><Other1></Other1><Other2></Other2>"
           "</SalesOrderLineMod>"},
      {"markup", qoObjectTypeEstimate,
       "<EstimateLineRet><TxnLineID>3</TxnLineID>" + item +
           "<Quantity>2</Quantity><Rate>10</Rate><MarkupRatePercent>15</MarkupRatePercent>"
           "</EstimateLineRet>",
       [](txnItemLine& l) {
         EXPECT_FLOAT_EQ(l.Markup(), 15);
         EXPECT_TRUE(l.MarkupIsPercent());
         l.SetMarkup(20);  // 2 x 10 + 20 %
         EXPECT_EQ(l.Amount(), Currency(24));
       },
       BodyForm::kMod,
       "<EstimateLineMod><TxnLineID>3</TxnLineID>" + item +
           "<Desc></Desc><Quantity>0000002.00000</Quantity><Rate>0000010.00000</Rate>"
           "<Amount>24.00</Amount><MarkupRatePercent>0000020.00000</MarkupRatePercent>"
           "<Other1></Other1><Other2></Other2></EstimateLineMod>"},
      {"customer and received quantity", qoObjectTypePurchaseOrder,
       "<PurchaseOrderLineRet><TxnLineID>4</TxnLineID>" + item +
           "<CustomerRef><FullName>Kelly</FullName></CustomerRef>"
           "<ReceivedQuantity>4</ReceivedQuantity></PurchaseOrderLineRet>",
       [](txnItemLine& l) {
         EXPECT_EQ(l.Customer(), "Kelly");
         EXPECT_FLOAT_EQ(l.ReceivedQuantity(), 4);
         l.SetCustomer("");
       },
       BodyForm::kRet,
       "<PurchaseOrderLineRet>" + item +
           "<Desc></Desc><Rate>0000000.00000</Rate><Amount>0.00</Amount>"
           "<Other1></Other1><Other2></Other2>"
           "<ReceivedQuantity>0000004.00000</ReceivedQuantity></PurchaseOrderLineRet>"},
      {"members of a group", qoObjectTypeInvoice,
       "<InvoiceLineGroupRet><TxnLineID>5</TxnLineID>"
       "<ItemGroupRef><FullName>Starter Pack</FullName></ItemGroupRef><Quantity>2</Quantity>"
       "<InvoiceLineRet><TxnLineID>6</TxnLineID>" +
           item + "</InvoiceLineRet></InvoiceLineGroupRet>",
       [](txnItemLine& l) {
         ASSERT_EQ(l.GroupLines()->Count(), 1);
         EXPECT_EQ(l.GroupLines()->Item(1)->Item(), "Widget");
       },
       BodyForm::kRet,
       "<InvoiceLineGroupRet><ItemGroupRef><FullName>Starter Pack</FullName></ItemGroupRef>"
       "<Quantity>0000002.00000</Quantity><InvoiceLineRet>" +
           item +
           "<Desc></Desc><Rate>0000000.00000</Rate><Amount>0.00</Amount>"
           "<Other1></Other1><Other2></Other2></InvoiceLineRet></InvoiceLineGroupRet>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    XmlDocument document;
    ASSERT_TRUE(document.loadXML(c.ret));
    ElementTree tree(document.documentElement());
    auto lines = Lines(c.owner);
    txnItemLine& line = lines->AppendLoaded();
    line.LineFromDom(tree.Root());
    c.checkAndChange(line);
    RequestWriter writer([] { return Currency(16); });
    line.WriteLine(writer, c.form == BodyForm::kRet, c.form == BodyForm::kMod);
    EXPECT_EQ(writer.GetXML(), c.written);
  }
  // The tax code of non-US editions.
  Session().nonUSEdition = true;
  auto bill = Line(qoObjectTypeBill);
  bill->SetTaxCode("S");
  RequestWriter writer([] { return Currency(16); });
  bill->WriteLine(writer, false, false);
  EXPECT_EQ(writer.GetXML(),
            "<ItemLineAdd><Desc></Desc><Quantity>0000000.00000</Quantity><Cost>0000000.00000</Cost>"
            "<Amount>0.00</Amount><TaxCodeRef><FullName>S</FullName></TaxCodeRef></ItemLineAdd>");
}

// A line reports through the sink of the collection holding it, and keeps the sink and the
// customer's tax code once the collection lets it go (removed, or gone) while the client holds it.
TEST_F(ItemLineRulesTest, ALineLetGoStillReportsToItsTransaction) {
  int changes = 0;
  sink_->OnqoEvent = [&](qoEnumEventTypes id, std::string&) {
    if (id == qoEventAmountChange) ++changes;
  };
  auto lines = Lines(qoObjectTypeInvoice);
  lines->SetCustomerTaxCode("Non");
  auto kept = lines->Add("Consulting");
  auto removed = lines->Add("Consulting");
  lines->Remove(2);
  changes = 0;
  kept->SetQuantity(2);
  removed->SetQuantity(2);
  EXPECT_EQ(changes, 2);
  lines.reset();
  kept->SetQuantity(3);
  EXPECT_EQ(changes, 3);
  // Widget is taxable: the line takes the customer's code, still known after the collection.
  kept->SetItem("Widget");
  EXPECT_EQ(kept->SalesTaxCode(), "Non");
  removed->SetItem("Widget");
  EXPECT_EQ(removed->SalesTaxCode(), "Non");
}

}  // namespace
}  // namespace item_line_rules_test
}  // namespace brennock::testing
