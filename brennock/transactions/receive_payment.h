#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/txn_applied_to.h"
#include "brennock/values/currency.h"

namespace brennock {

// A customer's payment: its total, where the money goes (Undeposited Funds unless another
// account is named), and the invoices and charges it pays, each with a discount and credits of
// its own, or IsAutoApply to let QuickBooks choose. What is not applied is UnusedPayment.
// QuickBooks takes no changes to a payment through this library: "ModRq not supported".
class ReceivePayment final : public TxnRecordCore, public DataExtensionCarrier<ReceivePayment> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeReceivePayment;
  ReceivePayment();
  ~ReceivePayment() override;

  qoEnumTxnState TxnState() const noexcept { return txnState_; }
  std::string Customer() const { return customer_.FullName(); }
  // An unknown customer raises 2018.
  void SetCustomer(const std::string& value);
  std::string ARAccount() const { return arAccount_.FullName(); }
  // An unknown account raises 2019 (one of another type is reported by Validate).
  void SetARAccount(const std::string& value);
  Currency Total() const noexcept { return total_; }
  // Raises 2031 when the payments applied already exceed the new total.
  void SetTotal(Currency value);
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  // An unknown payment method raises 2028.
  void SetPaymentMethod(const std::string& value);
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  std::string DepositToAccount() const { return depositToAccount_.FullName(); }
  // An unknown account raises 2019; empty: Undeposited Funds.
  void SetDepositToAccount(const std::string& value);
  // Total less what is applied, discounted and credited; QuickBooks' own figure once read.
  Currency UnusedPayment() const noexcept { return unusedPayment_; }
  // The customer's credits not yet applied, as QuickBooks answered.
  Currency UnusedCredit() const noexcept { return unusedCredits_; }
  // Let QuickBooks apply the payment to the customer's open invoices (sent instead of entries).
  void SetIsAutoApply(bool value) { Assign(isAutoApply_, value, false); }
  std::shared_ptr<txnAppliedTos> AppliedToTxns() const { return appliedTos_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

  // Library-internal: the state QuickBooks gave the payment.
  void SetTxnState(qoEnumTxnState value) noexcept { txnState_ = value; }

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  // The payment's answer to a change of its entries: 2031 beyond the total, else UnusedPayment.
  void Recompute();
  static void ReadApplied(qcBase& record, const FieldElement& element);
  static void WriteApplied(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static void WriteAutoApply(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);

  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef arAccount_{qoListAccounts, {}};
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
  qcListObjectRef depositToAccount_{qoListAccounts, {}};
  std::string memo_;
  std::shared_ptr<qcEventSink> sink_;
  std::shared_ptr<txnAppliedTos> appliedTos_;
  Currency total_;
  Currency unusedPayment_;
  Currency unusedCredits_;
  qoEnumTxnState txnState_ = qoTxnStateActive;
  bool isAutoApply_ = false;
};

// The company's customer payments, and any set of them a client queries.
class ReceivePayments final : public TypedTxnCollection<ReceivePayment> {
 public:
  ReceivePayments() = default;

  // Queries leave out the credit card transaction data (qbXML 4.0 and later): they name the
  // elements wanted instead.
  bool ExcludeCCRetFields() const noexcept { return excludeCC_; }
  void SetExcludeCCRetFields(bool value);

  // A new payment taking each value given through its setter. Master collection only.
  std::shared_ptr<ReceivePayment> Add(const std::string& Customer = {},
                                      const std::string& RefNumber = {}, Date TxnDate = {},
                                      const std::string& DepositToAccount = {},
                                      const std::string& PaymentMethod = {},
                                      const std::string& Memo = {}, Currency Total = {},
                                      std::optional<bool> IsAutoApply = std::nullopt);

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;

 private:
  bool excludeCC_ = false;
};

}  // namespace brennock
