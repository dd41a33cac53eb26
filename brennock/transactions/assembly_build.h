#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

// Building an inventory assembly: its components leave stock at their average cost and the
// assembly's quantity on hand rises by QuantityToBuild. QuickBooks adds builds; the library sends
// no Mod of them ("Modify not allowed").
class AssemblyBuild final : public TxnRecordCore, public DataExtensionCarrier<AssemblyBuild> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeBuildAssembly;
  AssemblyBuild();

  // The assembly's full name. A name that is no inventory assembly files 2014 in Errors and
  // leaves the item as it was.
  std::string Item() const { return item_.FullName(); }
  void SetItem(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  // Whether QuickBooks keeps the build pending (components short).
  bool IsPending() const noexcept { return isPending_; }
  float QuantityToBuild() const noexcept { return quantityToBuild_; }
  void SetQuantityToBuild(float value) { Change(quantityToBuild_, value, "QuantityToBuild"); }
  // The assembly's figures as QuickBooks answered them with the build.
  float QuantityCanBuild() const noexcept { return quantityCanBuild_; }
  float QuantityOnHand() const noexcept { return quantityOnHand_; }
  float QuantityOnSalesOrder() const noexcept { return quantityOnSalesOrder_; }

  // No checks of its own: invalid while the last Item set was refused (its 2014 stays in Errors,
  // and errors of an earlier commit are cleared).
  bool Validate() override;

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 private:
  qcListObjectRef item_{qoListItems, {}};
  std::string memo_;
  float quantityToBuild_ = 0;
  float quantityCanBuild_ = 0;
  float quantityOnHand_ = 0;
  float quantityOnSalesOrder_ = 0;
  bool isPending_ = false;
  bool itemRefused_ = false;
};

// The company's assembly builds, and any set of them a client queries.
class AssemblyBuilds final : public TypedTxnCollection<AssemblyBuild> {
 public:
  AssemblyBuilds() = default;

  // A new build taking each value given through its setter. Master collection only.
  std::shared_ptr<AssemblyBuild> Add(const std::string& Item = {}, Date TxnDate = {},
                                     const std::string& RefNumber = {},
                                     const std::string& Memo = {}, float QuantityToBuild = 0);

  // Builds by transaction date, or by modification time when UseModifiedDate.
  int32_t GetByDateMacro(qbEnumDateMacro DateMacro, bool UseModifiedDate = false,
                         int32_t MaxReturned = 0, const std::string& sMDBPath = {}) {
    return GetByDates(UseModifiedDate, DateMacro, {}, {}, MaxReturned, sMDBPath);
  }
  int32_t GetByDateSpan(Date FromDate, Date ToDate, bool UseModifiedDate = false,
                        int32_t MaxReturned = 0, const std::string& sMDBPath = {}) {
    return GetByDates(UseModifiedDate, static_cast<qbEnumDateMacro>(0), FromDate, ToDate,
                      MaxReturned, sMDBPath);
  }
  int32_t GetAll(int32_t MaxReturned = 0, const std::string& sMDBPath = {}) {
    return TxnCollectionCore::GetAll(true, MaxReturned, qbPaidStatusAll, sMDBPath);
  }

  using TxnCollectionCore::Delete;
};

}  // namespace brennock
