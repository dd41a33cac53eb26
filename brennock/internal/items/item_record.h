#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/items/item_protocol.h"
#include "brennock/values/currency.h"

namespace brennock {

class DataExtensions;

// How an item's setter guards its field before storing it.
enum class SetterCheck : uint8_t {
  kDirty,       // a saved item becomes Dirty
  kNewOnly,     // 1002 on a saved item
  kMinVersion,  // below the version a saved item refuses with 1002; else it becomes Dirty
  kGated,       // below the version a saved item refuses with 1005; else it becomes Dirty
};

// What every item kind shares: the list record, its custom and application fields, the qcItem
// face (empty answers by default: each kind answers what has meaning for it), the setter checks
// and the rules and binding rows every kind uses.
class ItemRecord : public ListRecordCore, public DataExtensionHolder, public qcItem {
 public:
  // The list-record members, not qcItem's forwarders.
  using ListRecordCore::Children;
  using ListRecordCore::CollectionKey;
  using ListRecordCore::Errors;
  using ListRecordCore::FromDom;
  using ListRecordCore::FullName;
  using ListRecordCore::ListID;
  using ListRecordCore::Name;
  using ListRecordCore::Parent;
  using ListRecordCore::SetName;
  using ListRecordCore::SetObjectState;
  using ListRecordCore::Sublevel;
  using ListRecordCore::SupportsChildren;
  using ListRecordCore::Validate;
  qoEnumObjectState ObjectState() const override { return ListRecordCore::ObjectState(); }

  std::shared_ptr<DataExtensions> CustomFields() { return CustomFieldsOf(ObjectType()); }
  std::shared_ptr<DataExtensions> ApplicationFields() { return ApplicationFieldsOf(ObjectType()); }
  int32_t SaveDataExtensions(const std::string& ListOrTxnId) {
    return SaveDataExtensionsOf(ListOrTxnId);
  }

  // qcItem
  qcListObject& ListObject() override { return *this; }
  const qcListObject& ListObject() const override { return *this; }
  qbEnumItemType ItemType() const override { return itemType_; }
  std::string SalesDescription() const override { return {}; }
  std::string PurchaseDescription() const override { return {}; }
  bool SalesCostIsPercent() const override { return false; }
  bool PurchaseCostIsPercent() const override { return false; }
  float SalesCost() const override { return 0; }
  float PurchaseCost() const override { return 0; }
  std::string SalesTaxCode() const override { return {}; }
  bool HasSalesAndPurchase() const override { return false; }
  bool ContainsExpenseAccount() const override { return false; }

  // Kinds that guard it otherwise have a setter of their own.
  void SetIsActive(bool value) { Set(isActive_, value, SetterCheck::kDirty); }

  // Library-internal: a new item's level, the number of segments of its parent's full name.
  void CountSublevel();

 protected:
  ItemRecord(const RecordKind& kind, qbEnumItemType type) noexcept
      : ListRecordCore(kind), itemType_(type) {}

  // The guard of a setter; kMinVersion and kGated compare the session's qbXML version with
  // version.
  void Guard(SetterCheck check, Currency version = {});
  // 1032 "only supported for non-US versions" (source "Brennock") on a US edition.
  static void RequireNonUS();
  template <class T, class V>
  void Set(T& member, V&& value, SetterCheck check, Currency version = {}) {
    Guard(check, version);
    member = std::forward<V>(value);
  }
  void SetRef(qcListObjectRef& ref, const std::string& fullName, SetterCheck check,
              Currency version = {}) {
    Guard(check, version);
    ref.SetFullName(fullName);
  }

  // 1104 on "Parent" when the parent is an item of another kind (an unknown parent passes).
  void CheckParentKind(qcErrors& errors) const;
  // code on field when the reference is set and names nothing QuickBooks knows.
  static void CheckSetRef(qcErrors& errors, const qcListObjectRef& ref, ErrorCode code,
                          std::string_view field);
  // code on field when the reference does not name a known record (set or not).
  static void CheckRequiredRef(qcErrors& errors, const qcListObjectRef& ref, ErrorCode code,
                               std::string_view field);

  // Rows shared by the kinds. The head of a kind with sub-items: identity, Name, FullName,
  // IsActive ("true"/"false" in requests), ParentRef, Sublevel; Name, IsActive and ParentRef in
  // the Mod as well.
  static constexpr std::array<Binding<qcBase>, 9> HierarchicalHeadRows() {
    constexpr auto kHead = ModHeadRows();
    constexpr auto kHierarchy = HierarchyRows();
    constexpr uint16_t kMod = kInMod;
    return {{kHead[0], kHead[1], kHead[2], kHead[3], With(kHierarchy[0], kMod), kHierarchy[1],
             With(kHierarchy[2], kMod | kWordsInRequests), With(kHierarchy[3], kMod),
             kHierarchy[4]}};
  }
  // The head of a kind without sub-items; nameFlags adds forms to Name and IsActive.
  static constexpr std::array<Binding<qcBase>, 6> FlatHeadRows(uint16_t nameFlags) {
    constexpr auto kHead = ModHeadRows();
    return {{kHead[0], kHead[1], kHead[2], kHead[3], With(NameRow()[0], nameFlags),
             With(ActiveRow()[0], nameFlags | kWordsInRequests)}};
  }
  // The tail every kind ends with: its data extensions and the client's UserData.
  static constexpr std::array<Binding<qcBase>, 2> TailRows() {
    return {{{"DataExtRet", kInRet, &ReadDataExt, nullptr}, UserDataRow()[0]}};
  }
  static constexpr Binding<qcBase> With(Binding<qcBase> row, uint16_t flags) {
    row.flags |= flags;
    return row;
  }

 private:
  static void ReadDataExt(qcBase& record, const FieldElement& element);

  qbEnumItemType itemType_;
};

// The conditions of edition-bound rows (SessionGated): US sessions take the sales tax code, the
// others the tax codes for sale and purchase.
bool UsEditionSession();
bool NonUsEditionSession();

// Tax rates and discount percentages: currency values written as amounts, read as percentages.
struct PercentCodec : codecs::Amount {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kPercent;
};
// Prices held as currency ("0000012.5000").
using PriceCodec = codecs::Price;
// Prices, costs and quantities held in single precision ("0000012.50000").
using SingleCodec = codecs::Single;

}  // namespace brennock
