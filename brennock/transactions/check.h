#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/purchase_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/lists/address.h"

namespace brennock {

class xmlBldr;

// A check written from a bank account to a payee, for what its item lines bought: the account
// must be a bank account (2301) and a check to be printed takes no number yet (2300). QuickBooks
// takes a CheckMod from qbXML 6.0; below it the Mod raises "ModRq not supported".
class Check final : public PurchaseTxnCore, public DataExtensionCarrier<Check> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCheck;
  Check();

  std::string Account() const { return account_.FullName(); }
  std::string PayeeEntity() const { return payee_.FullName(); }
  std::shared_ptr<brennock::Address> Address() const { return address_; }
  bool IsToBePrinted() const noexcept { return isToBePrinted_; }
  Currency Amount() const noexcept { return amount_; }
  // The amount in words, as printed on the check.
  std::string AmountAsString() const;
  using PurchaseTxnCore::ExchangeRate;
  using PurchaseTxnCore::ExpenseLines;
  using PurchaseTxnCore::LinkedTxns;
  using PurchaseTxnCore::Memo;

  void SetAccount(const std::string& value) { ChangeRef(account_, value, "AccountRef"); }
  void SetPayeeEntity(const std::string& value) { ChangeRef(payee_, value, "PayeeEntityRef"); }
  void SetIsToBePrinted(bool value) { Change(isToBePrinted_, value, "IsToBePrinted"); }
  using PurchaseTxnCore::SetMemo;

  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  static void ReadAddress(qcBase& record, const FieldElement& element);
  static void WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static bool AddressPending(const qcBase& record);

  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef payee_{qoListEntities, {}};
  std::shared_ptr<brennock::Address> address_;
  Currency amount_;
  bool isToBePrinted_ = false;
};

// The company's checks, and any set of checks a client queries.
class Checks final : public TypedTxnCollection<Check> {
 public:
  Checks() = default;

  // A new check taking each value given through its setter. Master collection only.
  std::shared_ptr<Check> Add(const std::string& Account = {}, const std::string& PayeeEntity = {},
                             const std::string& RefNumber = {}, Date TxnDate = {},
                             const std::string& Memo = {},
                             std::optional<bool> IsToBePrinted = std::nullopt);

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByEntityV;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;
  using TxnCollectionCore::Void;
};

}  // namespace brennock
