#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/query_enums.h"
#include "brennock/internal/items/item_priced.h"
#include "brennock/internal/items/item_stock.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/items/item_kinds.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// Every item of the company file, of all twelve kinds; each member is a record of its own class,
// handed out as qcItem. Queries take an item type (0: every kind, one ItemQueryRq); a type
// outside qbEnumItemType raises 1003 "Bad type in GetByType" (source "Brennock: Items"). Commit
// writes each member's own Add or Mod.
class Items final : public ListCollectionCore {
 public:
  Items();

  // The names of the custom fields assigned to items.
  std::vector<std::string> CustomFieldNames() const { return CustomFieldNamesOf(qoObjectTypeItem); }

  std::shared_ptr<qcItem> Item(int32_t index) const { return AsItem(ItemObject(index)); }
  std::shared_ptr<qcItem> Item(const std::string& key) const { return AsItem(ItemObject(key)); }
  std::shared_ptr<qcItem> GetByFullName(const std::string& sFullName,
                                        const std::string& sMDBPath = {}) {
    return AsItem(LookupByFullName(sFullName, sMDBPath));
  }
  // A member already held is returned without a query.
  std::shared_ptr<qcItem> GetByListID(const std::string& sListID, const std::string& sMDBPath = {});
  // The member as its own class (ItemService, ItemInventory ...); null for another class.
  template <class Record>
  static std::shared_ptr<Record> CastObject(const std::shared_ptr<qcItem>& item) {
    return std::dynamic_pointer_cast<Record>(item);
  }

  int32_t GetAll(qbEnumItemType ItemType, int32_t MaxReturned = 0,
                 const std::string& sMDBPath = {});
  int32_t GetActive(qbEnumItemType ItemType, int32_t MaxReturned = 0,
                    const std::string& sMDBPath = {});
  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetActive(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) override;
  int32_t GetByNameRange(const std::string& FromName, const std::string& ToName,
                         int32_t MaxReturned = 0, const std::string& sMDBPath = {},
                         qbEnumItemType ItemType = static_cast<qbEnumItemType>(0));
  int32_t GetByNameMatch(const std::string& MatchString,
                         qbEnumMatchType MatchType = qbMatchStartsWith, int32_t MaxReturned = 0,
                         const std::string& sMDBPath = {},
                         qbEnumItemType ItemType = static_cast<qbEnumItemType>(0));
  int32_t GetByDateSpan(Date FromDate, Date ToDate, int32_t MaxReturned = 0,
                        const std::string& sMDBPath = {},
                        qbEnumItemType ItemType = static_cast<qbEnumItemType>(0));

  // Master collection only (else 1021, source "Item"); nothing is sent until Commit.
  std::shared_ptr<ItemService> AddServiceWithSalesOrPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& Description = {}, float Amount = 0, const std::string& Account = {},
      const std::string& SalesTaxCode = {}, bool IsActive = true);
  std::shared_ptr<ItemNonInventory> AddNonInventoryWithSalesOrPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& Description = {}, float Price = 0, const std::string& Account = {},
      const std::string& SalesTaxCode = {}, bool IsActive = true);
  std::shared_ptr<ItemOtherCharge> AddOtherChargeWithSalesOrPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& Description = {}, float Amount = 0, bool AmountIsPercent = false,
      const std::string& Account = {}, const std::string& SalesTaxCode = {}, bool IsActive = true);
  std::shared_ptr<ItemService> AddServiceWithSalesAndPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& SalesTaxCode = {}, const std::string& ExpenseAccount = {},
      const std::string& IncomeAccount = {}, float PurchaseCost = 0,
      const std::string& PurchaseDescription = {}, float SalesPrice = 0,
      const std::string& SalesDescription = {}, const std::string& Vendor = {},
      bool IsActive = true);
  std::shared_ptr<ItemNonInventory> AddNonInventoryWithSalesAndPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& SalesTaxCode = {}, const std::string& ExpenseAccount = {},
      const std::string& IncomeAccount = {}, float PurchaseCost = 0,
      const std::string& PurchaseDescription = {}, float SalesPrice = 0,
      const std::string& SalesDescription = {}, const std::string& Vendor = {},
      bool IsActive = true);
  std::shared_ptr<ItemOtherCharge> AddOtherChargeWithSalesAndPurchase(
      const std::string& Name = {}, const std::string& Parent = {},
      const std::string& SalesTaxCode = {}, const std::string& ExpenseAccount = {},
      const std::string& IncomeAccount = {}, float PurchaseCost = 0,
      const std::string& PurchaseDescription = {}, float SalesPrice = 0,
      const std::string& SalesDescription = {}, const std::string& Vendor = {},
      bool IsActive = true);
  std::shared_ptr<ItemInventory> AddInventory(
      const std::string& Name = {}, const std::string& IncomeAccount = {},
      const std::string& COGSAccount = {}, const std::string& AssetAccount = {},
      const std::string& Parent = {}, float PurchaseCost = 0,
      const std::string& PurchaseDescription = {}, float SalesPrice = 0,
      const std::string& SalesDescription = {}, float ReOrderPoint = 0,
      const std::string& SalesTaxCode = {}, const std::string& Vendor = {}, bool IsActive = true);
  std::shared_ptr<ItemAssembly> AddAssembly(
      const std::string& Name = {}, const std::string& IncomeAccount = {},
      const std::string& COGSAccount = {}, const std::string& AssetAccount = {},
      const std::string& Parent = {}, float PurchaseCost = 0,
      const std::string& PurchaseDescription = {}, float SalesPrice = 0,
      const std::string& SalesDescription = {}, float BuildPoint = 0,
      const std::string& SalesTaxCode = {}, const std::string& Vendor = {}, bool IsActive = true);
  std::shared_ptr<ItemSubtotal> AddSubTotal(const std::string& Name = {},
                                            const std::string& Description = {},
                                            bool IsActive = true);
  std::shared_ptr<ItemGroup> AddGroup(const std::string& Name = {},
                                      const std::string& Description = {},
                                      bool PrintItemsInGroup = false, bool IsActive = true);
  std::shared_ptr<ItemDiscount> AddDiscount(
      const std::string& Name = {}, const std::string& Parent = {}, const std::string& Account = {},
      const std::string& Description = {}, Currency Amount = {}, bool AmountIsPercent = false,
      const std::string& SalesTaxCode = {}, bool IsActive = true);
  std::shared_ptr<ItemPayment> AddPayment(const std::string& Name = {},
                                          const std::string& Description = {},
                                          const std::string& PaymentMethod = {},
                                          const std::string& DepositToAccount = {},
                                          bool IsActive = true);
  std::shared_ptr<ItemSalesTax> AddSalesTax(const std::string& Name = {},
                                            const std::string& Description = {},
                                            Currency TaxRate = {}, const std::string& Vendor = {},
                                            bool IsActive = true);
  std::shared_ptr<ItemSalesTaxGroup> AddSalesTaxGroup(const std::string& Name = {},
                                                      const std::string& Description = {},
                                                      bool IsActive = true);
  std::shared_ptr<ItemFixedAsset> AddFixedAsset(
      const std::string& Name = {}, bool AcquiredAsNew = true, const std::string& AssetAccount = {},
      const std::string& AssetDesc = {}, const std::string& AssetNumber = {},
      Currency CostBasis = {}, const std::string& Location = {}, const std::string& Notes = {},
      const std::string& PONumber = {}, Currency PurchaseCost = {}, Date PurchaseDate = {},
      const std::string& PurchaseDesc = {}, Date SalesDate = {}, const std::string& SalesDesc = {},
      Currency SalesExpense = {}, Currency SalesPrice = {}, const std::string& SerialNumber = {},
      const std::string& VendorOrPayeeName = {}, Date WarrantyExpDate = {},
      Currency YearEndAccumulatedDepreciation = {}, Currency YearEndBookValue = {});

  // ListDelRq of that kind; assemblies, fixed assets and any other type raise 1101 "Invalid item
  // type specified" (source "Item").
  int32_t Delete(const std::string& ListID, qbEnumItemType ItemType, bool bRemove = true);
  // False, changing nothing, when another member has that name. A saved item becomes Dirty: its
  // next Commit renames it in QuickBooks.
  bool Rename(const std::shared_ptr<qcItem>& Item, const std::string& NewName);

 protected:
  // The class of each ...Ret element; "Unknown Item" (source "Brennock: Items") for any other.
  std::shared_ptr<ListRecordCore> NewListRecord(std::string_view element) override;
  std::string QueryName() const override;
  // 3180 gives 1024 on "QuickBooks"; other refusals are labelled "QuickBooks response: ".
  void FileRefusedSave(PersistentRecord& record, int32_t code, std::string_view message) override;

 private:
  static std::shared_ptr<qcItem> AsItem(const std::shared_ptr<qcListObject>& record) {
    return std::dynamic_pointer_cast<qcItem>(record);
  }
  // Runs query with the request of that kind, then asks for every kind again.
  template <class Query>
  int32_t OfType(qbEnumItemType type, Query&& query);
  // A new record of that kind with its name, active flag and parent, ready for its setters.
  template <class Record>
  std::shared_ptr<Record> NewItem(const std::string& name, bool active,
                                  const std::string& parent = {});
  template <class Record>
  std::shared_ptr<Record> File(std::shared_ptr<Record> item);

  std::string_view queryTag_ = "Item";
};

}  // namespace brennock
