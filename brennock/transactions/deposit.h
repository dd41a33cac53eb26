#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/deposit_line.h"
#include "brennock/values/currency.h"

namespace brennock {

// A bank deposit: payments and cash sales taken out of Undeposited Funds and other money put
// into an account, less what was kept back as cash. QuickBooks changes deposits from qbXML 7.0
// on; in older sessions a changed deposit is refused with "ModRq not supported".
class Deposit final : public TxnRecordCore, public DataExtensionCarrier<Deposit> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeDeposit;
  Deposit();

  qoEnumTxnState TxnState() const noexcept { return txnState_; }
  std::string DepositToAccount() const { return depositToAccount_.FullName(); }
  // An unknown account raises 2019.
  void SetDepositToAccount(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  // The lines less the cash back, as QuickBooks answered.
  Currency Total() const noexcept { return total_; }
  std::string CashBackAccount() const { return cashBackAccount_.FullName(); }
  // An unknown account raises 2019.
  void SetCashBackAccount(const std::string& value);
  const std::string& CashBackMemo() const noexcept { return cashBackMemo_; }
  void SetCashBackMemo(const std::string& value) { Change(cashBackMemo_, value, kCashBack); }
  // Money kept out of the deposit; nothing is written for cash back while it is 0.
  Currency CashBackTotal() const noexcept { return cashBackTotal_; }
  void SetCashBackTotal(Currency value) { Change(cashBackTotal_, value, kCashBack); }
  std::shared_ptr<brennock::DepositLines> DepositLines() const { return lines_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  // Refuses below qbXML 7.0 ("ModRq not supported"); the Mod body from it on.
  int32_t XMLModify(xmlBldr& cxmlbldr) override;

  static const RecordBindings& Bindings();

  // Library-internal: the state QuickBooks gave the deposit.
  void SetTxnState(qoEnumTxnState value) noexcept { txnState_ = value; }

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  static constexpr std::string_view kCashBack = "CashBackInfoRet";
  static void ReadCashBack(qcBase& record, const FieldElement& element);
  static void WriteCashBack(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);
  static void ReadLine(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static bool LinesPending(const qcBase& record);

  qcListObjectRef depositToAccount_{qoListAccounts, {}};
  qcListObjectRef cashBackAccount_{qoListAccounts, {}};
  std::string memo_;
  std::string cashBackMemo_;
  std::string cashBackLineID_;
  std::shared_ptr<brennock::DepositLines> lines_;
  Currency total_;
  Currency cashBackTotal_;
  qoEnumTxnState txnState_ = qoTxnStateActive;
};

// The company's deposits, and any set of them a client queries.
class Deposits final : public TypedTxnCollection<Deposit> {
 public:
  Deposits() = default;

  // A new deposit taking each value given through its setter. Master collection only.
  std::shared_ptr<Deposit> Add(const std::string& DepositToAccount = {},
                               const std::string& Memo = {}, Date TxnDate = {},
                               const std::string& CashBackAccount = {},
                               const std::string& CashBackMemo = {}, Currency CashBackTotal = {});

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;
  using TxnCollectionCore::Void;
};

}  // namespace brennock
