#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/purchase_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"

namespace brennock {

class xmlBldr;

// What a card charge and a card credit share: a credit card account (2011 for another type), a
// payee, the lines bought or returned, and the amount QuickBooks totals.
class CardTxnCore : public PurchaseTxnCore {
 public:
  std::string Account() const { return account_.FullName(); }
  std::string PayeeEntity() const { return payee_.FullName(); }
  Currency Amount() const noexcept { return amount_; }
  using PurchaseTxnCore::ExchangeRate;
  using PurchaseTxnCore::ExpenseLines;
  using PurchaseTxnCore::Memo;

  void SetAccount(const std::string& value) { ChangeRef(account_, value, "AccountRef"); }
  void SetPayeeEntity(const std::string& value) { ChangeRef(payee_, value, "PayeeEntityRef"); }
  using PurchaseTxnCore::SetMemo;

 protected:
  using PurchaseTxnCore::PurchaseTxnCore;
  void CheckRules(qcErrors& errors) override;
  // The rows of both forms: AccountRef, PayeeEntityRef, TxnDate, Amount, RefNumber, Memo, lines.
  template <class Record>
  static const RecordBindings& CardBindings();

  qcListObjectRef account_{qoListAccounts, {}};
  qcListObjectRef payee_{qoListEntities, {}};
  Currency amount_;
};

// A purchase on the company's credit card. QuickBooks takes its Mod from qbXML 6.0.
class CreditCardCharge final : public CardTxnCore, public DataExtensionCarrier<CreditCardCharge> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCreditCardCharge;
  CreditCardCharge();
  int32_t XMLModify(xmlBldr& cxmlbldr) override;
  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  static const RecordBindings& Bindings();
};

// A refund to the company's credit card. QuickBooks never takes its Mod: the record kind's
// refusal raises "ModRq not supported".
class CreditCardCredit final : public CardTxnCore, public DataExtensionCarrier<CreditCardCredit> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCreditCardCredit;
  CreditCardCredit();
  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  static const RecordBindings& Bindings();
};

template <class Record>
class CardTxnCollection : public TypedTxnCollection<Record> {
 public:
  // A new charge (credit) taking each value given through its setter. Master collection only.
  std::shared_ptr<Record> Add(const std::string& Account = {}, const std::string& PayeeEntity = {},
                              const std::string& RefNumber = {}, Date TxnDate = {},
                              const std::string& Memo = {}) {
    std::shared_ptr<Record> record = this->NewMember();
    if (!Account.empty()) record->SetAccount(Account);
    if (!PayeeEntity.empty()) record->SetPayeeEntity(PayeeEntity);
    if (!RefNumber.empty()) record->SetRefNumber(RefNumber);
    if (!TxnDate.IsNull()) record->SetTxnDate(TxnDate);
    if (!Memo.empty()) record->SetMemo(Memo);
    this->FileAdded(record);
    return record;
  }

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

class CreditCardCharges final : public CardTxnCollection<CreditCardCharge> {};
class CreditCardCredits final : public CardTxnCollection<CreditCardCredit> {};

}  // namespace brennock
