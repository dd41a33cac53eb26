// Item records on a recording processor: request bodies byte for byte, the price-block switch,
// edition-bound fields, setter checks, validation by kind and the sales-tax computation.
#include <regex>
#include <string>

#include "brennock/brennock.h"
#include "tests/lists/lists_fixture.h"

namespace brennock::testing {
namespace {

// QuickBooks as these tests need it: a name starting "Good" exists (an account named "...Expense"
// is an expense account; an item named "GoodDiscount..." a discount, "GoodTax<rate>" a sales tax
// item, "GoodService..." a service item); any other name is not found.
std::string Answer(const std::string& request) {
  std::smatch query, name;
  std::regex_search(request, query, std::regex("<(\\w+)QueryRq"));
  bool found = std::regex_search(request, name, std::regex("<FullName>(Good[^<]*)</FullName>"));
  std::string stem = query.empty() ? "Item" : query[1].str();
  std::string head = "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><" + stem +
                     "QueryRs requestID=\"1\" statusCode=\"";
  if (!found) {
    return head + "1\" statusSeverity=\"Info\" statusMessage=\"No match\"/></QBXMLMsgsRs></QBXML>";
  }
  std::string n = name[1].str();
  std::string ret = stem, extra;
  if (stem == "Account" && n.find("Expense") != std::string::npos)
    extra = "<AccountType>Expense</AccountType>";
  if (stem == "Item") {
    ret = n.starts_with("GoodDiscount") ? "ItemDiscount"
          : n.starts_with("GoodTax")    ? "ItemSalesTax"
                                        : "ItemService";
    if (ret == "ItemSalesTax") extra = "<TaxRate>" + n.substr(7) + "</TaxRate>";
  }
  return head + "0\" statusSeverity=\"Info\" statusMessage=\"Status OK\"><" + ret +
         "Ret><ListID>1-" + n + "</ListID><Name>" + n + "</Name><FullName>" + n + "</FullName>" +
         extra + "</" + ret + "Ret></" + stem + "QueryRs></QBXMLMsgsRs></QBXML>";
}

class ItemRecordsTest : public ListsTest {
 protected:
  void SetUp() override {
    ListsTest::SetUp();
    processor_->SetResponder(&Answer);
    items_ = company_->Items();
  }

  static std::string ModRequest(qcBase& record) {
    xmlBldr builder;
    builder.InsertModRq(record, 1);
    return builder.GetXML();
  }
  template <class Kind>
  static std::shared_ptr<Kind> Loaded(const std::string& ret) {
    auto item = std::make_shared<Kind>();
    XmlDocument document;
    document.loadXML(ret);
    item->FromDom(document.documentElement());
    return item;
  }
  static std::string ErrorsOf(qcItem& item) {
    std::string out;
    for (const auto& e : *item.Errors())
      out += std::to_string(e->Number() == 0 ? 0 : e->Number() - vbObjectError) + " " + e->Field() +
             ": " + e->Description() + "\n";
    return out;
  }

  std::shared_ptr<Items> items_;
};

TEST_F(ItemRecordsTest, ServiceWritesTheBlockItUsesAndSwitchesBetweenThem) {
  auto service = items_->AddServiceWithSalesOrPurchase("Labour");
  EXPECT_EQ(AddRequest(*service),
            "<ItemServiceAddRq requestID = \"1\"><ItemServiceAdd><Name>Labour</Name>"
            "<IsActive>true</IsActive><SalesOrPurchase><Price>0000000.00000</Price>"
            "</SalesOrPurchase></ItemServiceAdd></ItemServiceAddRq>");
  service->UseSalesAndPurchase(true);
  EXPECT_TRUE(service->HasSalesAndPurchase());
  EXPECT_EQ(service->SalesOrPurchase(), nullptr);
  auto block = service->SalesAndPurchase();
  block->SetIncomeAccount("Services");
  block->SetExpenseAccount("Subcontractors");
  block->SetSalesPrice(60);
  block->SetPurchaseCost(42.5f);
  block->SetVendor("Ace Labour");
  EXPECT_EQ(AddRequest(*service),
            "<ItemServiceAddRq requestID = \"1\"><ItemServiceAdd><Name>Labour</Name>"
            "<IsActive>true</IsActive><SalesAndPurchase><SalesPrice>0000060.00000</SalesPrice>"
            "<IncomeAccountRef><FullName>Services</FullName></IncomeAccountRef>"
            "<PurchaseCost>0000042.50000</PurchaseCost><ExpenseAccountRef><FullName>"
            "Subcontractors</FullName></ExpenseAccountRef><PrefVendorRef><FullName>Ace Labour"
            "</FullName></PrefVendorRef></SalesAndPurchase></ItemServiceAdd></ItemServiceAddRq>");
  service->UseSalesAndPurchase(false);
  service->SalesOrPurchase()->SetAmount(12.5f);
  service->SalesOrPurchase()->SetAmountIsPercent(true);
  EXPECT_NE(AddRequest(*service).find(
                "<SalesOrPurchase><PricePercent>0000012.50000</PricePercent></SalesOrPurchase>"),
            std::string::npos);
}

TEST_F(ItemRecordsTest, LoadedBlocksModifyOnlyWhatQuickBooksTakes) {
  auto both = Loaded<ItemService>(
      "<ItemServiceRet><ListID>8-1</ListID><EditSequence>5</EditSequence><Name>Fit</Name>"
      "<FullName>Fit</FullName><IsActive>true</IsActive><SalesAndPurchase><SalesPrice>9.50"
      "</SalesPrice><IncomeAccountRef><ListID>A-1</ListID><FullName>Sales</FullName>"
      "</IncomeAccountRef><PrefVendorRef><ListID>V-1</ListID><FullName>Ace</FullName>"
      "</PrefVendorRef></SalesAndPurchase></ItemServiceRet>");
  EXPECT_EQ(both->ObjectState(), qoObjectStateClean);
  EXPECT_FALSE(both->SalesCostIsPercent());
  EXPECT_FALSE(both->ContainsExpenseAccount());
  both->SalesAndPurchase()->SetSalesPrice(10);
  EXPECT_EQ(both->ObjectState(), qoObjectStateDirty);
  EXPECT_EQ(ModRequest(*both),
            "<ItemServiceModRq requestID = \"1\"><ItemServiceMod><ListID>8-1</ListID>"
            "<EditSequence>5</EditSequence><Name>Fit</Name><IsActive>true</IsActive>"
            "<SalesAndPurchaseMod><SalesPrice>0000010.00000</SalesPrice><PurchaseDesc>"
            "</PurchaseDesc><PurchaseCost>0000000.00000</PurchaseCost><PrefVendorRef><ListID>V-1"
            "</ListID></PrefVendorRef></SalesAndPurchaseMod></ItemServiceMod></ItemServiceModRq>");
  try {
    both->SalesAndPurchase()->SetIncomeAccount("Other");
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errFieldNotModifiable));
    EXPECT_EQ(error.Source(), "itemSalesAndPurchase");
    EXPECT_EQ(error.Description(), "Field cannot be modified");
  }

  // The last of Price and PricePercent decides; the account never goes with a Mod.
  auto one = Loaded<ItemOtherCharge>(
      "<ItemOtherChargeRet><ListID>8-2</ListID><EditSequence>6</EditSequence><Name>Fee</Name>"
      "<SalesOrPurchase><Desc>Fee charged on each late payment, per invoice</Desc>"
      "<PricePercent>10.0</PricePercent><Price>3</Price>"
      "<AccountRef><FullName>Sales</FullName></AccountRef></SalesOrPurchase>"
      "</ItemOtherChargeRet>");
  EXPECT_FALSE(one->SalesOrPurchase()->AmountIsPercent());
  // Longer than a description held in the block itself.
  EXPECT_EQ(one->SalesOrPurchase()->Description(), "Fee charged on each late payment, per invoice");
  one->SalesOrPurchase()->SetDescription("Handling fee");
  EXPECT_EQ(ModRequest(*one),
            "<ItemOtherChargeModRq requestID = \"1\"><ItemOtherChargeMod><ListID>8-2</ListID>"
            "<EditSequence>6</EditSequence><Name>Fee</Name><IsActive>true</IsActive>"
            "<SalesOrPurchaseMod><Desc>Handling fee</Desc><Price>0000003.00000</Price>"
            "</SalesOrPurchaseMod></ItemOtherChargeMod></ItemOtherChargeModRq>");
}

TEST_F(ItemRecordsTest, ExpenseAccountsAreReportedForSalesOrPurchaseItemsOnly) {
  struct Case {
    std::shared_ptr<qcItem> item;
    bool expense;
  };
  auto group = items_->AddGroup("Pack");
  group->GroupLines()->Add(1, "GoodServiceFit");
  const Case cases[] = {
      {items_->AddServiceWithSalesOrPurchase("A", "", "", 0, "GoodExpense"), true},
      {items_->AddServiceWithSalesOrPurchase("B", "", "", 0, "GoodSales"), false},
      {items_->AddServiceWithSalesOrPurchase("C", "", "", 0, "Unknown"), false},
      {items_->AddServiceWithSalesAndPurchase("D", "", "", "GoodExpense", "GoodSales"), false},
      {group, false},  // its service's block names no account
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.item->ContainsExpenseAccount(), c.expense) << c.item->Name();
}

TEST_F(ItemRecordsTest, SavedOtherChargeSwitchesToSalesAndPurchase) {
  auto fee = Loaded<ItemOtherCharge>(
      "<ItemOtherChargeRet><ListID>8-3</ListID><EditSequence>2</EditSequence><Name>Fee</Name>"
      "<SalesOrPurchase><Price>3</Price><AccountRef><ListID>A-1</ListID></AccountRef>"
      "</SalesOrPurchase></ItemOtherChargeRet>");
  fee->SetHasSalesAndPurchase(true);
  EXPECT_EQ(fee->ObjectState(), qoObjectStateDirty);
  fee->SalesAndPurchase()->SetSalesDescription("Fee");
  fee->SalesAndPurchase()->SetSalesPrice(4);
  EXPECT_EQ(ModRequest(*fee),
            "<ItemOtherChargeModRq requestID = \"1\"><ItemOtherChargeMod><ListID>8-3</ListID>"
            "<EditSequence>2</EditSequence><Name>Fee</Name><IsActive>true</IsActive>"
            "<SalesAndPurchaseMod><SalesDesc>Fee</SalesDesc><SalesPrice>0000004.00000"
            "</SalesPrice><PurchaseDesc></PurchaseDesc><PurchaseCost>0000000.00000</PurchaseCost>"
            "</SalesAndPurchaseMod></ItemOtherChargeMod></ItemOtherChargeModRq>");
}

TEST_F(ItemRecordsTest, TaxCodesFollowTheEdition) {
  auto us = items_->AddServiceWithSalesOrPurchase("Us", "", "", 0, "", "Tax");
  EXPECT_NE(AddRequest(*us).find("<SalesTaxCodeRef><FullName>Tax</FullName></SalesTaxCodeRef>"),
            std::string::npos);
  try {
    us->SetTaxCodeForSale("S");
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errEditionOnly));
    EXPECT_EQ(error.Source(), "Brennock");
    EXPECT_EQ(error.Description(),
              "This property is only supported for non-US versions of QuickBooks.");
  }
  Session().nonUSEdition = true;
  Session().qbxmlVersionNumber = Currency(3);
  auto uk = items_->AddNonInventoryWithSalesOrPurchase("Uk", "", "", 0, "", "Tax");
  uk->SetTaxCodeForSale("S");
  uk->SetTaxCodeForPurchase("P");
  std::string add = AddRequest(*uk);
  EXPECT_EQ(add.find("SalesTaxCodeRef"), std::string::npos) << add;
  EXPECT_NE(add.find("<TaxCodeForPurchaseRef><FullName>P</FullName></TaxCodeForPurchaseRef>"
                     "<TaxCodeForSaleRef><FullName>S</FullName></TaxCodeForSaleRef>"),
            std::string::npos)
      << add;
}

TEST_F(ItemRecordsTest, KindsWriteTheirOwnBodies) {
  struct Case {
    std::shared_ptr<qcItem> item;
    const char* body;
  };
  auto discount = items_->AddDiscount("Off", "", "Disc", "", Currency(0), false, "Non");
  auto group = items_->AddGroup("Kit", "", false);
  group->GroupLines()->Add(0, "Bolt");
  group->GroupLines()->Add(2, "Nut");
  auto taxes = items_->AddSalesTaxGroup("Taxes");
  taxes->GroupLines()->Add(1, "City");
  auto inventory = items_->AddInventory("Nut", "Sales", "COGS", "Stock");
  auto asset = items_->AddFixedAsset("Van", true, "Vans", "", "", {}, "", "", "", Currency(100),
                                     Date::FromDate(2024, 2, 1), "Van", {}, "Sold on");
  const Case cases[] = {
      {discount,
       "<Name>Off</Name><IsActive>true</IsActive><SalesTaxCodeRef><FullName>Non</FullName>"
       "</SalesTaxCodeRef><AccountRef><FullName>Disc</FullName></AccountRef>"},
      {group,
       "<Name>Kit</Name><IsActive>true</IsActive><IsPrintItemsInGroup>0</IsPrintItemsInGroup>"
       "<ItemGroupLine><ItemRef><FullName>Bolt</FullName></ItemRef></ItemGroupLine>"
       "<ItemGroupLine><ItemRef><FullName>Nut</FullName></ItemRef><Quantity>0000002.00000"
       "</Quantity></ItemGroupLine>"},
      {taxes,
       "<Name>Taxes</Name><IsActive>true</IsActive><ItemSalesTaxRef><FullName>City</FullName>"
       "</ItemSalesTaxRef>"},
      {inventory,
       "<Name>Nut</Name><IsActive>true</IsActive><SalesDesc></SalesDesc><SalesPrice>"
       "0000000.00000</SalesPrice><IncomeAccountRef><FullName>Sales</FullName>"
       "</IncomeAccountRef><PurchaseDesc></PurchaseDesc><PurchaseCost>0000000.00000"
       "</PurchaseCost><COGSAccountRef><FullName>COGS</FullName></COGSAccountRef>"
       "<AssetAccountRef><FullName>Stock</FullName></AssetAccountRef><QuantityOnHand>"
       "0000000.00000</QuantityOnHand><TotalValue>0.00</TotalValue>"},
      {asset,
       "<Name>Van</Name><IsActive>true</IsActive><AcquiredAs>New</AcquiredAs><PurchaseDesc>Van"
       "</PurchaseDesc><PurchaseDate>2024-02-01</PurchaseDate><PurchaseCost>0000100.0000"
       "</PurchaseCost><AssetAccountRef><FullName>Vans</FullName></AssetAccountRef>"
       "<FixedAssetSalesInfo><SalesDesc>Sold on</SalesDesc><SalesPrice>0000000.0000"
       "</SalesPrice><SalesExpense>0000000.0000</SalesExpense></FixedAssetSalesInfo>"
       "<CostBasis>0.00</CostBasis><YearEndAccumulatedDepreciation>0.00"
       "</YearEndAccumulatedDepreciation><YearEndBookValue>0.00</YearEndBookValue>"},
  };
  for (const Case& c : cases) {
    std::string add = AddRequest(c.item->ListObject());
    std::string stem = add.substr(1, add.find("AddRq") - 1);
    EXPECT_EQ(add, "<" + stem + "AddRq requestID = \"1\"><" + stem + "Add>" + c.body + "</" + stem +
                       "Add></" + stem + "AddRq>");
  }
}

TEST_F(ItemRecordsTest, ValidationTextsByKind) {
  struct Case {
    std::shared_ptr<qcItem> item;
    std::string errors;
  };
  const std::string longName(32, 'n');
  auto bare = items_->AddServiceWithSalesOrPurchase(std::string(31, 's'), "", "", 0, "GoodSales");
  auto badService =
      items_->AddServiceWithSalesOrPurchase(longName, "GoodServiceTop", "", 0, "Nowhere", "NoCode");
  auto child = items_->AddDiscount("Child", "GoodServiceTop", "GoodDisc", "", {}, false, "GoodNon");
  auto andBlock = items_->AddNonInventoryWithSalesAndPurchase("Both", "", "", "Nope", "GoodInc", 0,
                                                              "", 0, "", "NoVendor");
  auto stock = items_->AddInventory("", "GoodSales", "", "", "", 0, "", 0, "", 0, "", "NoVendor");
  auto total = items_->AddSubTotal(longName);
  auto untitled = items_->AddSubTotal("");
  auto group = items_->AddGroup("Pack");
  group->GroupLines()->Add(2, "GoodDiscountTen");
  group->GroupLines()->Add(2, "GoodServiceFit");
  auto discount = items_->AddDiscount("Off");
  auto tax = items_->AddSalesTax("City", "", Currency(1), "NoVendor");
  auto taxes = items_->AddSalesTaxGroup("Taxes");
  taxes->GroupLines()->Add(2, "GoodTax5");
  auto asset = items_->AddFixedAsset("Van");
  const Case cases[] = {
      {bare, ""},
      {badService,
       "1013 Name: Name cannot exceed 31 characters\n"
       "1015 SalesTaxCode: Invalid sales tax code specified\n"
       "1014 Account: Invalid account specified\n"},
      {child, "1104 Parent: Parent item type must be the same as the child's\n"},
      {andBlock,
       "1014 ExpenseAccount: Invalid account specified\n"
       "1016 Vendor: Invalid vendor specified\n"},
      {stock,
       "1012 Name: Name cannot be null\n1014 COGSAccount: Invalid account specified\n"
       "1014 AssetAccount: Invalid account specified\n1016 Vendor: Invalid vendor specified\n"},
      {total, "0 Name: Name length cannot exceed 31\n"},
      {untitled, "0 Name: Name must be entered\n"},
      {group, "1105 GroupLine: Cannot specify Quanity if Item is of type Discount.\n"},
      {discount,
       "1015 ItemDiscount.SalesTaxCode: Invalid sales tax code specified\n"
       "1014 Account: Invalid account specified\n"},
      {tax, "1016 Vendor: Invalid vendor specified\n"},
      {taxes, "1103 GroupLine: Quantity must be 1 for sales tax group lines\n"},
      {asset,
       "1014 AssetAccount: Invalid account specified\n"
       "1105 PurchaseDate: Fixed Assets require a purchase date\n"
       "1106 PurchaseDesc: Fixed Assets require a purchase description\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item->Name());
    EXPECT_EQ(c.item->Validate(), c.errors.empty());
    EXPECT_EQ(ErrorsOf(*c.item), c.errors);
  }
}

TEST_F(ItemRecordsTest, SettersOfSavedItemsFollowTheirChecks) {
  Session().qbxmlVersionNumber = Currency(3);
  auto group = Loaded<ItemGroup>(
      "<ItemGroupRet><ListID>9-1</ListID><Name>Kit</Name><ItemGroupLine><ItemRef><FullName>Bolt"
      "</FullName></ItemRef><Quantity>2</Quantity></ItemGroupLine></ItemGroupRet>");
  auto line = group->GroupLines()->Item(1);
  EXPECT_FLOAT_EQ(line->Quantity(), 2);
  struct Refusal {
    std::function<void()> set;
    int32_t number;
    std::string source;
  };
  auto assembly = Loaded<ItemAssembly>(
      "<ItemInventoryAssemblyRet><ListID>9-2</ListID><Name>A"
      "</Name></ItemInventoryAssemblyRet>");
  auto tax = Loaded<ItemSalesTax>(
      "<ItemSalesTaxRet><ListID>9-3</ListID><Name>T</Name>"
      "</ItemSalesTaxRet>");
  const Refusal refusals[] = {
      {[&] { line->SetQuantity(3); }, errFieldNotModifiable, "itemGroupLine"},
      {[&] { line->SetItem("Nut"); }, errFieldNotModifiable, "itemGroupLine"},
      {[&] { group->SetDescription("x"); }, errFieldNotModifiable, "ItemGroup"},
      {[&] { assembly->SetIncomeAccount("Sales"); }, errFieldNotModifiable, "ItemAssembly"},
  };
  for (const Refusal& r : refusals) {
    try {
      r.set();
      ADD_FAILURE() << "no refusal from " << r.source;
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber(r.number));
      EXPECT_EQ(error.Source(), r.source);
      EXPECT_EQ(error.Description(), "Field cannot be modified");
    }
  }
  EXPECT_FLOAT_EQ(line->Quantity(), 2);
  // A version-gated setter: allowed from 2.0, and the record becomes Dirty.
  assembly->SetSalesPrice(5);
  EXPECT_EQ(assembly->ObjectState(), qoObjectStateDirty);
  tax->SetTaxRate(Currency(2));
  EXPECT_EQ(tax->ObjectState(), qoObjectStateDirty);
  Session().qbxmlVersionNumber = Currency(1);
  auto clean = Loaded<ItemAssembly>(
      "<ItemInventoryAssemblyRet><ListID>9-4</ListID><Name>B"
      "</Name></ItemInventoryAssemblyRet>");
  try {
    clean->SetSalesPrice(5);
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errVersionNotSupported));
    EXPECT_EQ(error.Source(), "Brennock");
  }
}

TEST_F(ItemRecordsTest, SalesTaxComputesFromItsRateAndGroupsSumTheirLines) {
  auto tax = items_->AddSalesTax("Tax", "", Currency::Parse("8.25"));
  EXPECT_EQ(tax->CalculateTax(Currency::Parse("19.99")), Currency::Parse("1.6492"));
  EXPECT_TRUE(tax->ContainsTax("Tax"));
  EXPECT_FALSE(tax->ContainsTax("tax"));
  EXPECT_FALSE(tax->IsGroup());
  auto group = items_->AddSalesTaxGroup("Both");
  group->GroupLines()->Add(1, "GoodTax5");
  group->GroupLines()->Add(1, "GoodTax2.5");
  EXPECT_TRUE(group->IsGroup());
  EXPECT_EQ(group->TaxRate(), Currency::Parse("7.5"));
  EXPECT_EQ(group->CalculateTax(Currency(100)), Currency::Parse("7.5"));
  EXPECT_EQ(group->CalculateTax(Currency::Parse("12.34")), Currency::Parse("0.9255"));
  EXPECT_TRUE(group->ContainsTax("Both"));
  EXPECT_TRUE(group->ContainsTax("GoodTax5"));
  EXPECT_FALSE(group->ContainsTax("goodtax5"));
}

TEST_F(ItemRecordsTest, CollectionRefusesMisuseWithItsTexts) {
  try {
    items_->AddServiceWithSalesOrPurchase("x");
    items_->AddOtherChargeWithSalesOrPurchase("y", "", "", 5, true);
    auto plain = std::make_shared<Items>();
    plain->AddSubTotal("z");
    FAIL();
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errMasterOnly));
    EXPECT_EQ(error.Source(), "Item");
  }
  auto sub = items_->AddServiceWithSalesAndPurchase("Sub", "Top:Mid");
  EXPECT_TRUE(sub->HasSalesAndPurchase());
  EXPECT_EQ(sub->Sublevel(), 2);
  EXPECT_EQ(sub->CollectionKey(), "Top:Mid:Sub");
  EXPECT_FALSE(items_->Rename(sub, "x"));
  EXPECT_TRUE(items_->Rename(sub, "Sub2"));
  EXPECT_TRUE(items_->ItemExists("Top:Mid:Sub2"));
}

}  // namespace
}  // namespace brennock::testing
