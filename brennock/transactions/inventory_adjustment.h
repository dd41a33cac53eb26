#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/inv_adj_line.h"

namespace brennock {

// A change of the quantity on hand or the value of inventory parts and assemblies, booked
// against an adjustment account (shrinkage, write-downs). QuickBooks adds adjustments; the
// library sends no Mod of them ("ModRq not supported").
class InventoryAdjustment final : public TxnRecordCore,
                                  public DataExtensionCarrier<InventoryAdjustment> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeInventoryAdjustment;
  InventoryAdjustment();

  std::string Account() const { return account_.FullName(); }
  // An unknown account raises 2019.
  void SetAccount(const std::string& value);
  std::string Customer() const { return customer_.FullName(); }
  // An unknown customer raises 2018.
  void SetCustomer(const std::string& value);
  std::string Class() const { return class_.FullName(); }
  // An unknown class raises 2013.
  void SetClass(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  // QuickBooks numbers transactions itself; a number set here is kept, not sent.
  void SetTxnNumber(int32_t value) { Assign(txnNumber_, value, false); }
  std::shared_ptr<invAdjLines> Lines() const { return lines_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  static void ReadLine(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static bool LinesPending(const qcBase& record);

  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef class_{qoListClasses, {}};
  std::string memo_;
  std::shared_ptr<invAdjLines> lines_;
};

// The company's inventory adjustments, and any set of them a client queries.
class InventoryAdjustments final : public TypedTxnCollection<InventoryAdjustment> {
 public:
  InventoryAdjustments() = default;

  // A new adjustment taking each value given through its setter. Master collection only.
  std::shared_ptr<InventoryAdjustment> Add(const std::string& Account = {},
                                           const std::string& Class = {},
                                           const std::string& Customer = {},
                                           const std::string& Memo = {},
                                           const std::string& RefNumber = {}, Date TxnDate = {},
                                           int32_t TxnNumber = 0);

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;
};

}  // namespace brennock
