#include "brennock/items/items.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kItemsContext = "Items";

// The kinds in qbEnumItemType order (index = type - 1): query tag, ListDelType (empty: QuickBooks
// deletes it through another request), return element and class.
struct ItemKindRow {
  std::string_view tag;
  std::string_view listDelType;
  std::string_view ret;
  std::shared_ptr<ListRecordCore> (*create)();
};
constexpr ItemKindRow kItemKinds[] = {
    {"ItemService", "ItemService", "ItemServiceRet", &MakeListRecord<ItemService>},
    {"ItemInventory", "ItemInventory", "ItemInventoryRet", &MakeListRecord<ItemInventory>},
    {"ItemNonInventory", "ItemNonInventory", "ItemNonInventoryRet",
     &MakeListRecord<ItemNonInventory>},
    {"ItemOtherCharge", "ItemOtherCharge", "ItemOtherChargeRet", &MakeListRecord<ItemOtherCharge>},
    {"ItemSubtotal", "ItemSubtotal", "ItemSubtotalRet", &MakeListRecord<ItemSubtotal>},
    {"ItemGroup", "ItemGroup", "ItemGroupRet", &MakeListRecord<ItemGroup>},
    {"ItemDiscount", "ItemDiscount", "ItemDiscountRet", &MakeListRecord<ItemDiscount>},
    {"ItemPayment", "ItemPayment", "ItemPaymentRet", &MakeListRecord<ItemPayment>},
    {"ItemSalesTax", "ItemSalesTax", "ItemSalesTaxRet", &MakeListRecord<ItemSalesTax>},
    {"ItemSalesTaxGroup", "ItemSalesTaxGroup", "ItemSalesTaxGroupRet",
     &MakeListRecord<ItemSalesTaxGroup>},
    {"ItemInventoryAssembly", {}, "ItemInventoryAssemblyRet", &MakeListRecord<ItemAssembly>},
    {"ItemFixedAsset", {}, "ItemFixedAssetRet", &MakeListRecord<ItemFixedAsset>},
};

bool KnownType(qbEnumItemType type) { return type >= qbItemService && type <= qbItemFixedAsset; }

}  // namespace

Items::Items()
    : ListCollectionCore(RegisteredKind<qoObjectTypeItem>(), &MakeRecord<ItemService>, true) {}

std::shared_ptr<ListRecordCore> Items::NewListRecord(std::string_view element) {
  for (const ItemKindRow& kind : kItemKinds) {
    if (kind.ret == element) return kind.create();
  }
  RaiseGeneral(kItemsContext, "Unknown Item");
}

std::string Items::QueryName() const { return std::string(queryTag_) + "QueryRq"; }

void Items::FileRefusedSave(PersistentRecord& record, int32_t code, std::string_view message) {
  AddItemCommitStatusErrors(*Errors(), *record.Errors(), record.CollectionKey(), code, message);
}

template <class Query>
int32_t Items::OfType(qbEnumItemType type, Query&& query) {
  if (type != 0 && !KnownType(type)) RaiseGeneral(kItemsContext, "Bad type in GetByType");
  struct Restore {
    std::string_view& tag;
    ~Restore() { tag = "Item"; }
  } restore{queryTag_};
  queryTag_ = type == 0 ? std::string_view("Item") : kItemKinds[type - 1].tag;
  return query();
}

int32_t Items::GetAll(qbEnumItemType ItemType, int32_t MaxReturned, const std::string& sMDBPath) {
  return OfType(ItemType, [&] { return ListCollectionCore::GetAll(MaxReturned, sMDBPath); });
}

int32_t Items::GetActive(qbEnumItemType ItemType, int32_t MaxReturned,
                         const std::string& sMDBPath) {
  return OfType(ItemType, [&] { return ListCollectionCore::GetActive(MaxReturned, sMDBPath); });
}

int32_t Items::GetAll(int32_t MaxReturned, const std::string& sMDBPath) {
  return ListCollectionCore::GetAll(MaxReturned, sMDBPath);
}

int32_t Items::GetActive(int32_t MaxReturned, const std::string& sMDBPath) {
  return ListCollectionCore::GetActive(MaxReturned, sMDBPath);
}

int32_t Items::GetByNameRange(const std::string& FromName, const std::string& ToName,
                              int32_t MaxReturned, const std::string& sMDBPath,
                              qbEnumItemType ItemType) {
  return OfType(ItemType, [&] {
    return ListCollectionCore::GetByNameRange(FromName, ToName, MaxReturned, sMDBPath);
  });
}

int32_t Items::GetByNameMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                              int32_t MaxReturned, const std::string& sMDBPath,
                              qbEnumItemType ItemType) {
  return OfType(ItemType, [&] {
    return ListCollectionCore::GetByNameMatch(MatchString, MatchType, MaxReturned, sMDBPath);
  });
}

int32_t Items::GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned,
                             const std::string& sMDBPath, qbEnumItemType ItemType) {
  // Inactive items too: ActiveStatus "All" before the dates.
  return OfType(ItemType, [&] {
    return RunListQuery(MaxReturned, sMDBPath, [&](xmlBldr& builder) {
      WriteActiveStatus(builder, qbStatusAny);
      builder.CreateElement("FromModifiedDate", ModConvertDtypes::DateTimeToText(FromDate));
      builder.CreateElement("ToModifiedDate", ModConvertDtypes::DateTimeToText(ToDate));
    });
  });
}

std::shared_ptr<qcItem> Items::GetByListID(const std::string& sListID,
                                           const std::string& sMDBPath) {
  for (const auto& member : *this) {
    if (!sListID.empty() && member->ListID() == sListID) return AsItem(member);
  }
  return AsItem(LookupByListID(sListID, sMDBPath));
}

// ---- typed adds -------------------------------------------------------------------------------

template <class Record>
std::shared_ptr<Record> Items::NewItem(const std::string& name, bool active,
                                       const std::string& parent) {
  RequireMaster();
  auto item = std::make_shared<Record>();
  Fill(*item, name, active, parent);
  item->CountSublevel();
  return item;
}

// A new item is not listed among its parent's Children: only a query links items to parents.
template <class Record>
std::shared_ptr<Record> Items::File(std::shared_ptr<Record> item) {
  FileNew(item, false);
  return item;
}

namespace {

void FillSalesOrPurchase(PricedItem& item, const std::string& description, float amount,
                         bool percent, const std::string& account,
                         const std::string& salesTaxCode) {
  auto block = item.SalesOrPurchase();
  block->SetDescription(description);
  block->SetAmount(amount);
  block->SetAmountIsPercent(percent);
  block->SetAccount(account);
  if (!salesTaxCode.empty()) item.SetSalesTaxCode(salesTaxCode);
}

void FillSalesAndPurchase(PricedItem& item, const std::string& salesTaxCode,
                          const std::string& expenseAccount, const std::string& incomeAccount,
                          float purchaseCost, const std::string& purchaseDescription,
                          float salesPrice, const std::string& salesDescription,
                          const std::string& vendor) {
  item.UseSalesAndPurchase(true);
  auto block = item.SalesAndPurchase();
  block->SetExpenseAccount(expenseAccount);
  block->SetIncomeAccount(incomeAccount);
  block->SetPurchaseCost(purchaseCost);
  block->SetPurchaseDescription(purchaseDescription);
  block->SetSalesPrice(salesPrice);
  block->SetSalesDescription(salesDescription);
  block->SetVendor(vendor);
  if (!salesTaxCode.empty()) item.SetSalesTaxCode(salesTaxCode);
}

// A percentage is an other-charge's alone.
void RequireAmountKind(qbEnumItemType type, bool percent) {
  constexpr std::string_view kContext = "Items:AddWithSalesOrPurchase";
  if (type != qbItemService && type != qbItemNonInventory && type != qbItemOtherCharge)
    RaiseGeneral(kContext, "Unknown ItemType");
  if (percent && type != qbItemOtherCharge) RaiseGeneral(kContext, "Percent not allowed");
}

void FillStock(StockItem& item, const std::string& income, const std::string& cogs,
               const std::string& asset, float purchaseCost, const std::string& purchaseDesc,
               float salesPrice, const std::string& salesDesc, const std::string& salesTaxCode,
               const std::string& vendor) {
  item.SetIncomeAccount(income);
  item.SetCOGSAccount(cogs);
  item.SetAssetAccount(asset);
  item.SetPurchaseCost(purchaseCost);
  item.SetPurchaseDescription(purchaseDesc);
  item.SetSalesPrice(salesPrice);
  item.SetSalesDescription(salesDesc);
  item.SetSalesTaxCode(salesTaxCode);
  item.SetVendor(vendor);
}

}  // namespace

std::shared_ptr<ItemService> Items::AddServiceWithSalesOrPurchase(
    const std::string& Name, const std::string& Parent, const std::string& Description,
    float Amount, const std::string& Account, const std::string& SalesTaxCode, bool IsActive) {
  auto item = NewItem<ItemService>(Name, IsActive, Parent);
  RequireAmountKind(qbItemService, false);
  FillSalesOrPurchase(*item, Description, Amount, false, Account, SalesTaxCode);
  return File(item);
}

std::shared_ptr<ItemNonInventory> Items::AddNonInventoryWithSalesOrPurchase(
    const std::string& Name, const std::string& Parent, const std::string& Description, float Price,
    const std::string& Account, const std::string& SalesTaxCode, bool IsActive) {
  auto item = NewItem<ItemNonInventory>(Name, IsActive, Parent);
  RequireAmountKind(qbItemNonInventory, false);
  FillSalesOrPurchase(*item, Description, Price, false, Account, SalesTaxCode);
  return File(item);
}

std::shared_ptr<ItemOtherCharge> Items::AddOtherChargeWithSalesOrPurchase(
    const std::string& Name, const std::string& Parent, const std::string& Description,
    float Amount, bool AmountIsPercent, const std::string& Account, const std::string& SalesTaxCode,
    bool IsActive) {
  auto item = NewItem<ItemOtherCharge>(Name, IsActive, Parent);
  RequireAmountKind(qbItemOtherCharge, AmountIsPercent);
  FillSalesOrPurchase(*item, Description, Amount, AmountIsPercent, Account, SalesTaxCode);
  return File(item);
}

#define BRENNOCK_ADD_SALES_AND_PURCHASE(Method, Kind)                                          \
  std::shared_ptr<Kind> Items::Method(                                                         \
      const std::string& Name, const std::string& Parent, const std::string& SalesTaxCode,     \
      const std::string& ExpenseAccount, const std::string& IncomeAccount, float PurchaseCost, \
      const std::string& PurchaseDescription, float SalesPrice,                                \
      const std::string& SalesDescription, const std::string& Vendor, bool IsActive) {         \
    auto item = NewItem<Kind>(Name, IsActive, Parent);                                         \
    FillSalesAndPurchase(*item, SalesTaxCode, ExpenseAccount, IncomeAccount, PurchaseCost,     \
                         PurchaseDescription, SalesPrice, SalesDescription, Vendor);           \
    return File(item);                                                                         \
  }
BRENNOCK_ADD_SALES_AND_PURCHASE(AddServiceWithSalesAndPurchase, ItemService)
BRENNOCK_ADD_SALES_AND_PURCHASE(AddNonInventoryWithSalesAndPurchase, ItemNonInventory)
BRENNOCK_ADD_SALES_AND_PURCHASE(AddOtherChargeWithSalesAndPurchase, ItemOtherCharge)
#undef BRENNOCK_ADD_SALES_AND_PURCHASE

std::shared_ptr<ItemInventory> Items::AddInventory(
    const std::string& Name, const std::string& IncomeAccount, const std::string& COGSAccount,
    const std::string& AssetAccount, const std::string& Parent, float PurchaseCost,
    const std::string& PurchaseDescription, float SalesPrice, const std::string& SalesDescription,
    float ReOrderPoint, const std::string& SalesTaxCode, const std::string& Vendor, bool IsActive) {
  auto item = NewItem<ItemInventory>(Name, IsActive, Parent);
  FillStock(*item, IncomeAccount, COGSAccount, AssetAccount, PurchaseCost, PurchaseDescription,
            SalesPrice, SalesDescription, SalesTaxCode, Vendor);
  if (ReOrderPoint != 0) item->SetReOrderPoint(ReOrderPoint);
  return File(item);
}

std::shared_ptr<ItemAssembly> Items::AddAssembly(
    const std::string& Name, const std::string& IncomeAccount, const std::string& COGSAccount,
    const std::string& AssetAccount, const std::string& Parent, float PurchaseCost,
    const std::string& PurchaseDescription, float SalesPrice, const std::string& SalesDescription,
    float BuildPoint, const std::string& SalesTaxCode, const std::string& Vendor, bool IsActive) {
  auto item = NewItem<ItemAssembly>(Name, IsActive, Parent);
  FillStock(*item, IncomeAccount, COGSAccount, AssetAccount, PurchaseCost, PurchaseDescription,
            SalesPrice, SalesDescription, SalesTaxCode, Vendor);
  if (BuildPoint != 0) item->SetBuildPoint(BuildPoint);
  return File(item);
}

std::shared_ptr<ItemSubtotal> Items::AddSubTotal(const std::string& Name,
                                                 const std::string& Description, bool IsActive) {
  auto item = NewItem<ItemSubtotal>(Name, IsActive);
  item->SetDescription(Description);
  return File(item);
}

std::shared_ptr<ItemGroup> Items::AddGroup(const std::string& Name, const std::string& Description,
                                           bool PrintItemsInGroup, bool IsActive) {
  auto item = NewItem<ItemGroup>(Name, IsActive);
  item->SetDescription(Description);
  item->SetPrintItemsInGroup(PrintItemsInGroup);
  return File(item);
}

std::shared_ptr<ItemDiscount> Items::AddDiscount(const std::string& Name, const std::string& Parent,
                                                 const std::string& Account,
                                                 const std::string& Description, Currency Amount,
                                                 bool AmountIsPercent,
                                                 const std::string& SalesTaxCode, bool IsActive) {
  auto item = NewItem<ItemDiscount>(Name, IsActive, Parent);
  item->SetAccount(Account);
  item->SetDescription(Description);
  item->SetAmount(Amount);
  item->SetAmountIsPercent(AmountIsPercent);
  item->SetSalesTaxCode(SalesTaxCode);
  return File(item);
}

std::shared_ptr<ItemPayment> Items::AddPayment(const std::string& Name,
                                               const std::string& Description,
                                               const std::string& PaymentMethod,
                                               const std::string& DepositToAccount, bool IsActive) {
  auto item = NewItem<ItemPayment>(Name, IsActive);
  item->SetDescription(Description);
  item->SetPaymentMethod(PaymentMethod);
  item->SetDepositToAccount(DepositToAccount);
  return File(item);
}

std::shared_ptr<ItemSalesTax> Items::AddSalesTax(const std::string& Name,
                                                 const std::string& Description, Currency TaxRate,
                                                 const std::string& Vendor, bool IsActive) {
  auto item = NewItem<ItemSalesTax>(Name, IsActive);
  item->SetDescription(Description);
  item->SetTaxRate(TaxRate);
  item->SetVendor(Vendor);
  return File(item);
}

std::shared_ptr<ItemSalesTaxGroup> Items::AddSalesTaxGroup(const std::string& Name,
                                                           const std::string& Description,
                                                           bool IsActive) {
  auto item = NewItem<ItemSalesTaxGroup>(Name, IsActive);
  item->SetDescription(Description);
  return File(item);
}

std::shared_ptr<ItemFixedAsset> Items::AddFixedAsset(
    const std::string& Name, bool AcquiredAsNew, const std::string& AssetAccount,
    const std::string& AssetDesc, const std::string& AssetNumber, Currency CostBasis,
    const std::string& Location, const std::string& Notes, const std::string& PONumber,
    Currency PurchaseCost, Date PurchaseDate, const std::string& PurchaseDesc, Date SalesDate,
    const std::string& SalesDesc, Currency SalesExpense, Currency SalesPrice,
    const std::string& SerialNumber, const std::string& VendorOrPayeeName, Date WarrantyExpDate,
    Currency YearEndAccumulatedDepreciation, Currency YearEndBookValue) {
  auto item = NewItem<ItemFixedAsset>(Name, true);
  item->SetAcquiredAsNew(AcquiredAsNew);
  item->SetAssetAccount(AssetAccount);
  item->SetAssetDesc(AssetDesc);
  item->SetAssetNumber(AssetNumber);
  item->SetCostBasis(CostBasis);
  item->SetLocation(Location);
  item->SetNotes(Notes);
  item->SetPONumber(PONumber);
  item->SetPurchaseCost(PurchaseCost);
  item->SetPurchaseDate(PurchaseDate);
  item->SetPurchaseDesc(PurchaseDesc);
  item->SetSalesDate(SalesDate);
  item->SetSalesDesc(SalesDesc);
  item->SetSalesExpense(SalesExpense);
  item->SetSalesPrice(SalesPrice);
  item->SetSerialNumber(SerialNumber);
  item->SetVendorOrPayeeName(VendorOrPayeeName);
  item->SetWarrantyExpDate(WarrantyExpDate);
  item->SetYearEndAccumulatedDepreciation(YearEndAccumulatedDepreciation);
  item->SetYearEndBookValue(YearEndBookValue);
  return File(item);
}

// ---- commit, delete and rename ---------------------------------------------------------------

int32_t Items::Delete(const std::string& ListID, qbEnumItemType ItemType, bool bRemove) {
  if (!KnownType(ItemType) || kItemKinds[ItemType - 1].listDelType.empty())
    RaiseError(errInvalidItemType, Stem());
  return DeleteOfType(kItemKinds[ItemType - 1].listDelType, ListID, bRemove);
}

bool Items::Rename(const std::shared_ptr<qcItem>& Item, const std::string& NewName) {
  if (!Item || ItemExists(NewName)) return false;
  qcListObject& record = Item->ListObject();
  std::string key = record.CollectionKey();
  std::shared_ptr<qcListObject> held = ItemExists(key) ? ItemObject(key) : nullptr;
  if (held) Remove(key);
  record.SetName(NewName);
  if (record.ObjectState() != qoObjectStateNew) record.SetObjectState(qoObjectStateDirty);
  if (held) AddObject(held);
  return true;
}

}  // namespace brennock
