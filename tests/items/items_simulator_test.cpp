// Items end to end against the simulated QuickBooks in strict-schema mode, on the sample company
// (its chart of accounts, vendors, tax codes and payment methods).
#include <string>

#include "simulator/company_file.h"
#include "tests/lists/simulator_fixture.h"

namespace brennock::testing {
namespace {

class ItemsSimulatorTest : public SimulatorListsTest {
 protected:
  simulator::CompanyFileOptions Options() const override {
    simulator::CompanyFileOptions options;
    options.sample = simulator::SampleBusiness{7, 4, 0, 3, 1, 1};
    return options;
  }

  // One item of every kind, added to the master collection (not yet committed).
  static void AddOneOfEach(Items& items) {
    items.AddServiceWithSalesOrPurchase("Design", "", "Design work, per hour", 80.5f, "Services",
                                        "Non");
    items.AddServiceWithSalesOrPurchase("Logo", "Design", "Logo design", 300, "Services", "Non");
    items.AddNonInventoryWithSalesAndPurchase("Paint", "", "Tax", "Office Supplies", "Sales",
                                              11.25f, "Paint, bought", 19.99f, "Paint, sold",
                                              "State Board of Equalization");
    items.AddOtherChargeWithSalesOrPurchase("Handling", "", "Handling fee", 5, true, "Sales",
                                            "Non");
    auto bolt = items.AddInventory("Bolt", "Sales", "Cost of Goods Sold", "Inventory Asset", "",
                                   0.4f, "Bolt, bought", 0.9f, "Bolt, sold", 500, "Tax");
    bolt->SetQuantityOnHand(1000);
    bolt->SetTotalValue(Currency(400));
    items.AddSubTotal("Running Total", "Total so far");
    items.AddDiscount("Trade Discount", "", "Discounts Given", "Trade price", Currency(15), true,
                      "Non");
    auto pack = items.AddGroup("Bolt Pack", "Bolts with fitting", true);
    pack->GroupLines()->Add(50, "Bolt");
    pack->GroupLines()->Add(0, "Trade Discount");
    items.AddPayment("Card Payment", "Paid by card", "Visa", "Undeposited Funds");
    items.AddSalesTax("City Tax", "City sales tax", Currency::Parse("0.5"),
                      "State Board of Equalization");
    auto taxes = items.AddSalesTaxGroup("City and State", "City and state taxes");
    taxes->GroupLines()->Add(1, "City Tax");
    taxes->GroupLines()->Add(1, "State Tax");
    auto frame = items.AddAssembly("Frame", "Sales", "Cost of Goods Sold", "Inventory Asset", "", 0,
                                   "", 60, "Assembled frame", 5, "Tax");
    frame->Components()->Add(4, "Bolt");
    items.AddFixedAsset("Forklift", false, "Vehicles:Original Cost", "Yard forklift", "FA-7",
                        Currency(9000), "Yard", "Serviced yearly", "PO-12", Currency(9500),
                        Date::FromDate(2022, 3, 1), "Used forklift", {}, {}, {}, {}, "SN-1",
                        "Lift Sales Ltd");
  }
};

TEST_F(ItemsSimulatorTest, EveryKindAddsInOneCommitAndReadsBackAsItsOwnClass) {
  auto items = Session().company->Items();
  EXPECT_EQ(Session().company->Lists()->Item("Item"), items);
  EXPECT_TRUE(items->IsMaster());
  AddOneOfEach(*items);
  ASSERT_EQ(items->Commit(), 0);
  for (const auto& member : *items) EXPECT_EQ(member->ObjectState(), qoObjectStateClean);

  ASSERT_GT(items->GetAll(), 13);
  auto design = Items::CastObject<ItemService>(items->Item("Design"));
  ASSERT_NE(design, nullptr);
  EXPECT_EQ(design->SalesOrPurchase()->Description(), "Design work, per hour");
  EXPECT_FLOAT_EQ(design->SalesOrPurchase()->Amount(), 80.5f);
  EXPECT_EQ(design->SalesOrPurchase()->Account(), "Services");
  EXPECT_EQ(design->SalesTaxCode(), "Non");
  EXPECT_EQ(design->Children()->Count(), 1);
  auto logo = Items::CastObject<ItemService>(items->Item("Design:Logo"));
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->Sublevel(), 1);
  EXPECT_EQ(logo->Parent(), "Design");

  auto paint = Items::CastObject<ItemNonInventory>(items->Item("Paint"));
  ASSERT_NE(paint, nullptr);
  ASSERT_TRUE(paint->HasSalesAndPurchase());
  EXPECT_EQ(paint->SalesAndPurchase()->SalesDescription(), "Paint, sold");
  EXPECT_FLOAT_EQ(paint->SalesAndPurchase()->SalesPrice(), 19.99f);
  EXPECT_EQ(paint->SalesAndPurchase()->PurchaseDescription(), "Paint, bought");
  EXPECT_FLOAT_EQ(paint->SalesAndPurchase()->PurchaseCost(), 11.25f);
  EXPECT_EQ(paint->SalesAndPurchase()->IncomeAccount(), "Sales");
  EXPECT_EQ(paint->SalesAndPurchase()->ExpenseAccount(), "Office Supplies");
  EXPECT_EQ(paint->SalesAndPurchase()->Vendor(), "State Board of Equalization");

  auto handling = Items::CastObject<ItemOtherCharge>(items->Item("Handling"));
  ASSERT_NE(handling, nullptr);
  EXPECT_TRUE(handling->SalesCostIsPercent());
  EXPECT_FLOAT_EQ(handling->SalesCost(), 5);

  auto bolt = Items::CastObject<ItemInventory>(items->Item("Bolt"));
  ASSERT_NE(bolt, nullptr);
  EXPECT_EQ(bolt->SalesDescription(), "Bolt, sold");
  EXPECT_FLOAT_EQ(bolt->SalesPrice(), 0.9f);
  EXPECT_FLOAT_EQ(bolt->PurchaseCost(), 0.4f);
  EXPECT_EQ(bolt->IncomeAccount(), "Sales");
  EXPECT_EQ(bolt->COGSAccount(), "Cost of Goods Sold");
  EXPECT_EQ(bolt->AssetAccount(), "Inventory Asset");
  EXPECT_FLOAT_EQ(bolt->ReOrderPoint(), 500);
  EXPECT_FLOAT_EQ(bolt->QuantityOnHand(), 1000);
  EXPECT_FLOAT_EQ(bolt->AverageCost(), 0.4f);

  auto total = Items::CastObject<ItemSubtotal>(items->Item("Running Total"));
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->Description(), "Total so far");

  auto discount = Items::CastObject<ItemDiscount>(items->Item("Trade Discount"));
  ASSERT_NE(discount, nullptr);
  EXPECT_EQ(discount->Amount(), Currency(15));
  EXPECT_TRUE(discount->AmountIsPercent());
  EXPECT_EQ(discount->Account(), "Discounts Given");
  EXPECT_EQ(discount->SalesTaxCode(), "Non");

  auto pack = Items::CastObject<ItemGroup>(items->Item("Bolt Pack"));
  ASSERT_NE(pack, nullptr);
  EXPECT_TRUE(pack->PrintItemsInGroup());
  ASSERT_EQ(pack->GroupLines()->Count(), 2);
  EXPECT_EQ(pack->GroupLines()->Item(1)->Item(), "Bolt");
  EXPECT_FLOAT_EQ(pack->GroupLines()->Item(1)->Quantity(), 50);
  EXPECT_EQ(pack->GroupLines()->Item(2)->Item(), "Trade Discount");
  EXPECT_THROW(pack->GroupLines()->Item(1)->SetQuantity(2), AutomationError);

  auto card = Items::CastObject<ItemPayment>(items->Item("Card Payment"));
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(card->PaymentMethod(), "Visa");
  EXPECT_EQ(card->DepositToAccount(), "Undeposited Funds");

  auto city = Items::CastObject<ItemSalesTax>(items->Item("City Tax"));
  ASSERT_NE(city, nullptr);
  EXPECT_EQ(city->TaxRate(), Currency::Parse("0.5"));
  EXPECT_EQ(city->Vendor(), "State Board of Equalization");

  auto taxes = Items::CastObject<ItemSalesTaxGroup>(items->Item("City and State"));
  ASSERT_NE(taxes, nullptr);
  ASSERT_EQ(taxes->GroupLines()->Count(), 2);
  EXPECT_EQ(taxes->GroupLines()->Item(2)->Item(), "State Tax");
  EXPECT_EQ(taxes->TaxRate(), Currency::Parse("7.75"));  // 0.5 and the sample's 7.25
  EXPECT_EQ(taxes->CalculateTax(Currency(200)), Currency::Parse("15.5"));

  auto frame = Items::CastObject<ItemAssembly>(items->Item("Frame"));
  ASSERT_NE(frame, nullptr);
  EXPECT_FLOAT_EQ(frame->BuildPoint(), 5);
  ASSERT_EQ(frame->Components()->Count(), 1);
  EXPECT_EQ(frame->Components()->Item(1)->Item(), "Bolt");
  EXPECT_FLOAT_EQ(frame->Components()->Item(1)->Quantity(), 4);

  auto lift = Items::CastObject<ItemFixedAsset>(items->Item("Forklift"));
  ASSERT_NE(lift, nullptr);
  EXPECT_FALSE(lift->AcquiredAsNew());
  EXPECT_EQ(lift->PurchaseDate(), Date::FromDate(2022, 3, 1));
  EXPECT_EQ(lift->PurchaseCostAmount(), Currency(9500));
  EXPECT_EQ(lift->AssetAccount(), "Vehicles:Original Cost");
  EXPECT_EQ(lift->SerialNumber(), "SN-1");
  EXPECT_EQ(lift->CostBasis(), Currency(9000));
  EXPECT_EQ(lift->VendorOrPayeeName(), "Lift Sales Ltd");
}

TEST_F(ItemsSimulatorTest, NewItemsJoinTheirParentsWhenReadAndDateSpansReadInactiveOnes) {
  auto items = Session().company->Items();
  auto design = items->AddServiceWithSalesOrPurchase("Design", "", "", 80, "Services", "Non");
  items->AddServiceWithSalesOrPurchase("Logo", "Design", "", 300, "Services", "Non");
  items->AddServiceWithSalesOrPurchase("Retired", "", "", 1, "Services", "Non", false);
  EXPECT_EQ(design->Children()->Count(), 0);  // only a query links items to their parents
  ASSERT_EQ(items->Commit(), 0);

  EXPECT_GE(items->GetByDateSpan(Date::FromDate(2023, 11, 1), Date::FromDate(2023, 12, 1), 0, "",
                                 qbItemService),
            3);
  EXPECT_NE(recorder_->LastRequestText().find("<ItemServiceQueryRq requestID = \"1\"><ActiveStatus>"
                                              "All</ActiveStatus><FromModifiedDate>"),
            std::string::npos)
      << recorder_->LastRequestText();
  EXPECT_TRUE(items->ItemExists("Retired"));
  EXPECT_EQ(Items::CastObject<ItemService>(items->Item("Design"))->Children()->Count(), 1);
}

TEST_F(ItemsSimulatorTest, KindsSayWhetherTheyTakeChildren) {
  auto items = Session().company->Items();
  EXPECT_TRUE(items->AddSubTotal("Running Total")->SupportsChildren());
  EXPECT_TRUE(items->AddFixedAsset("Forklift")->SupportsChildren());
  EXPECT_TRUE(items->AddDiscount("Trade")->SupportsChildren());
  EXPECT_FALSE(items->AddPayment("Card")->SupportsChildren());
  EXPECT_FALSE(items->AddGroup("Pack")->SupportsChildren());
  std::shared_ptr<qcItem> subtotal = items->Item("Running Total");
  EXPECT_TRUE(subtotal->SupportsChildren());
}

TEST_F(ItemsSimulatorTest, ModifiesWhereQuickBooksAllowsAndDeletesByKind) {
  auto items = Session().company->Items();
  AddOneOfEach(*items);
  ASSERT_EQ(items->Commit(), 0);

  auto design = Items::CastObject<ItemService>(items->Item("Design"));
  design->SalesOrPurchase()->SetAmount(85);
  EXPECT_THROW(design->SalesOrPurchase()->SetAccount("Sales"), AutomationError);
  auto city = Items::CastObject<ItemSalesTax>(items->Item("City Tax"));
  city->SetTaxRate(Currency::Parse("0.75"));
  auto lift = Items::CastObject<ItemFixedAsset>(items->Item("Forklift"));
  lift->SetLocation("Warehouse");
  auto bolt = Items::CastObject<ItemInventory>(items->Item("Bolt"));
  bolt->SetSalesPrice(0.95f);
  EXPECT_EQ(design->ObjectState(), qoObjectStateDirty);
  ASSERT_EQ(items->Commit(), 0);

  ASSERT_GT(items->GetAll(qbItemService), 0);
  EXPECT_FLOAT_EQ(Items::CastObject<ItemService>(items->Item("Design"))->SalesCost(), 85);
  ASSERT_EQ(items->GetAll(qbItemSalesTax), 3);
  EXPECT_EQ(Items::CastObject<ItemSalesTax>(items->Item("City Tax"))->TaxRate(),
            Currency::Parse("0.75"));
  ASSERT_EQ(items->GetAll(qbItemFixedAsset), 2);
  EXPECT_EQ(Items::CastObject<ItemFixedAsset>(items->Item("Forklift"))->Location(), "Warehouse");
  ASSERT_GT(items->GetAll(qbItemInventory), 0);
  EXPECT_FLOAT_EQ(Items::CastObject<ItemInventory>(items->Item("Bolt"))->SalesPrice(), 0.95f);

  // A group is taken on Add only.
  ASSERT_EQ(items->GetAll(qbItemGroup), 2);
  auto pack = Items::CastObject<ItemGroup>(items->Item("Bolt Pack"));
  pack->SetName("Bolt Pack 2");
  pack->SetObjectState(qoObjectStateDirty);
  try {
    items->Commit(pack);
    FAIL() << "a group modify was written";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errGeneral));
    EXPECT_EQ(error.Source(), "Brennock: ItemGroup");
    EXPECT_EQ(error.Description(), "modify not supported");
  }

  ASSERT_GT(items->GetAll(), 13);
  int32_t before = items->Count();
  std::string id = items->Item("Running Total")->ListID();
  EXPECT_EQ(items->Delete(id, qbItemSubtotal), 0);
  EXPECT_EQ(items->Count(), before - 1);
  EXPECT_EQ(items->GetAll(), before - 1);
  try {
    items->Delete(items->Item("Frame")->ListID(), qbItemAssembly);
    FAIL() << "an assembly delete was sent";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errInvalidItemType));
    EXPECT_EQ(error.Description(), "Invalid item type specified");
    EXPECT_EQ(error.Source(), "Item");
  }
}

TEST_F(ItemsSimulatorTest, NamesAreSharedAcrossKindsAndLookupsSendOnlyWhenNeeded) {
  Session().errorMode = false;
  auto items = Session().company->Items();
  items->AddSubTotal("Widget");  // the sample's inventory part
  EXPECT_EQ(items->Commit(), 1);
  auto refused = items->Item("Widget");
  EXPECT_EQ(refused->ObjectState(), qoObjectStateNew);
  ASSERT_EQ(refused->Errors()->Count(), 1);
  EXPECT_EQ(refused->Errors()->Item(1)->Field(), "Name");
  EXPECT_EQ(refused->Errors()->Item(1)->Description(), "Name specified already exists on file");

  items->Clear();
  auto widget = items->GetByFullName("Widget");
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->ItemType(), qbItemInventory);
  size_t sent = Sent();
  EXPECT_EQ(items->GetByFullName("Widget"), widget);
  EXPECT_EQ(items->GetByListID(widget->ListID()), widget);
  EXPECT_EQ(Sent(), sent);

  std::vector<std::string> ids{widget->ListID(), items->GetByFullName("Consulting")->ListID()};
  EXPECT_EQ(items->GetByListIDs(ids), 2);
  EXPECT_EQ(items->GetByNameMatch("Tax", qbMatchContains, 0, {}, qbItemSalesTaxGroup), 1);
  EXPECT_EQ(items->Item(1)->Name(), "Combined Tax");
  try {
    items->GetAll(static_cast<qbEnumItemType>(13));
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Description(), "Bad type in GetByType");
    EXPECT_EQ(error.Source(), "Brennock: Items");
  }
  // Paging through every kind with the iterator.
  int32_t total = items->GetAll();
  int32_t paged = items->GetFirst(4);
  while (items->IteratorRemainingCount() > 0) paged += items->GetNext();
  EXPECT_EQ(paged, total);
}

TEST_F(ItemsSimulatorTest, QuickBooksChecksAccountsByTypeAndTaxGroupsByKind) {
  Session().errorMode = false;
  auto items = Session().company->Items();
  // Income to an expense account, stock in a bank account, a tax group inside a tax group.
  items->AddInventory("Misfiled", "Office Supplies", "Cost of Goods Sold", "Inventory Asset");
  items->AddInventory("Banked", "Sales", "Cost of Goods Sold", "Checking");
  auto nested = items->AddSalesTaxGroup("Nested");
  nested->GroupLines()->Add(1, "Combined Tax");
  items->AddInventory("Fine", "Sales", "Cost of Goods Sold", "Inventory Asset");
  auto unknown = items->AddGroup("Unknown Parts");
  unknown->GroupLines()->Add(0, "No Such Item");
  EXPECT_EQ(items->Commit(), 4);
  ASSERT_EQ(unknown->Errors()->Count(), 1);
  EXPECT_EQ(unknown->Errors()->Item(1)->Field(), "QuickBooks response: ");
  EXPECT_EQ(unknown->Errors()->Item(1)->Description(),
            "Invalid argument.  The specified record does not exist in the list.");
  for (const char* name : {"Misfiled", "Banked", "Nested"}) {
    SCOPED_TRACE(name);
    auto item = items->Item(name);
    EXPECT_EQ(item->ObjectState(), qoObjectStateNew);
    ASSERT_EQ(item->Errors()->Count(), 1);
    EXPECT_EQ(item->Errors()->Item(1)->Number(), ErrorNumber(errItemNameInUse));
    EXPECT_EQ(item->Errors()->Item(1)->Field(), "QuickBooks");
  }
  EXPECT_EQ(items->Item("Fine")->ObjectState(), qoObjectStateClean);
}

TEST_F(ItemsSimulatorTest, CustomFieldsOfItemsAreThoseAssignedToItems) {
  auto company = Session().company;
  company->CustomFields()->Add("Bin")->AddAssignedTo(qoObjectTypeItem);
  ASSERT_EQ(company->CustomFields()->Commit(), 0);
  auto items = company->Items();
  EXPECT_EQ(items->CustomFieldNames(), std::vector<std::string>{"Bin"});
  EXPECT_EQ(company->Customers()->CustomFieldNames(),
            (std::vector<std::string>{"Referred By", "Preferred Contact"}));
  auto bolt = Items::CastObject<ItemInventory>(items->GetByFullName("Bracket"));
  ASSERT_NE(bolt, nullptr);
  bolt->CustomFields()->Item(std::string("Bin"))->SetValue(Variant("A-7"));
  EXPECT_EQ(bolt->SaveDataExtensions(bolt->ListID()), 0);

  // A new item's values are saved by the commit that adds it.
  auto hook = items->AddNonInventoryWithSalesOrPurchase("Hook", "", "", 2, "Sales");
  hook->CustomFields()->Item(std::string("Bin"))->SetValue(Variant("C-2"));
  ASSERT_EQ(items->Commit(hook), 0);

  items->Clear();
  items->SetIncludeDataExtensions(true);
  auto read = Items::CastObject<ItemInventory>(items->GetByFullName("Bracket"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->CustomFields()->Item(std::string("bin"))->Value(), Variant("A-7"));
  EXPECT_EQ(read->CustomFields()->OwnerType(), qoObjectTypeItemInventory);
  auto hookRead = Items::CastObject<ItemNonInventory>(items->GetByFullName("Hook"));
  ASSERT_NE(hookRead, nullptr);
  EXPECT_EQ(hookRead->CustomFields()->Item(std::string("Bin"))->Value(), Variant("C-2"));
}

}  // namespace
}  // namespace brennock::testing
