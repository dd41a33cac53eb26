#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/address.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"

namespace brennock {

// One sales tax item paid by a sales tax payment check, and how much of it.
class salesTaxCheckLine : public RecordBase {
 public:
  const std::string& TxnLineId() const noexcept { return txnLineID_; }
  std::string SalesTaxItem() const { return salesTaxItem_.FullName(); }
  Currency Amount() const noexcept { return amount_; }
  qoEnumObjectState ObjectState() const noexcept { return state_; }
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }

  // Library-internal.
  void FromDom(const FieldElement& element);
  void WriteRet(RequestWriter& builder) const;
  static const BindingTable<salesTaxCheckLine>& Bindings();

 private:
  std::string txnLineID_;
  qcListObjectRef salesTaxItem_{qoListItems, {}};
  Currency amount_;
};

// The lines of a sales tax payment check, in order, numbered from 1. Read only: QuickBooks makes
// them when it pays the sales tax it owes.
class salesTaxCheckLines {
 public:
  using const_iterator = std::vector<std::shared_ptr<salesTaxCheckLine>>::const_iterator;

  bool ItemExists(int32_t index) const noexcept { return index >= 1 && index <= Count(); }
  // 9 "Subscript out of range" outside 1..Count.
  std::shared_ptr<salesTaxCheckLine> Item(int32_t index) const;
  int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
  Currency Total() const noexcept;
  const_iterator begin() const noexcept { return items_.begin(); }
  const_iterator end() const noexcept { return items_.end(); }

  // Library-internal.
  salesTaxCheckLine& AppendLoaded();
  void Reset() noexcept { items_.clear(); }

 private:
  std::vector<std::shared_ptr<salesTaxCheckLine>> items_;
};

// A check paying the sales tax collected to the tax agencies, one line per sales tax item, with
// its amount in words for printing. Read only in practice: a change is refused with "ModRq not
// supported", and lines cannot be written ("Insert not supported").
class SalesTaxPaymentCheck final : public TxnRecordCore,
                                   public DataExtensionCarrier<SalesTaxPaymentCheck> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeSalesTaxPaymentCheck;
  SalesTaxPaymentCheck();

  std::shared_ptr<salesTaxCheckLines> Lines() const { return lines_; }
  bool IsToBePrinted() const noexcept { return isToBePrinted_; }
  // The bank account the check is drawn on.
  std::string Account() const { return bankAccount_.FullName(); }
  // The tax agency paid.
  std::string PayeeEntity() const { return payee_.FullName(); }
  std::shared_ptr<brennock::Address> Address() const { return address_; }
  Currency Amount() const noexcept { return amount_; }
  // The amount as a check spells it: "One Hundred Twenty Five and 40/100".
  std::string AmountAsString() const;
  const std::string& Memo() const noexcept { return memo_; }

  static const RecordBindings& Bindings();

 protected:
  void BeforeRead() override;

 private:
  static void ReadLine(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);

  qcListObjectRef payee_{qoListVendors, {}};
  qcListObjectRef bankAccount_{qoListAccounts, {}};
  std::string memo_;
  std::shared_ptr<brennock::Address> address_;
  std::shared_ptr<salesTaxCheckLines> lines_;
  Currency amount_;
  bool isToBePrinted_ = false;
};

// The company's sales tax payment checks, and any set of them a client queries: no Delete, no
// Void.
class SalesTaxPaymentChecks final : public TypedTxnCollection<SalesTaxPaymentCheck> {
 public:
  SalesTaxPaymentChecks() = default;

  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
};

}  // namespace brennock
