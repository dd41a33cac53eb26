#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/vendor.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/txn_applied_to.h"
#include "brennock/values/currency.h"

namespace brennock {

// A payment of a vendor's bills, by check from a bank account or charged to a credit card, and
// the bills (and credits) it settles. QuickBooks keeps the two kinds apart (BillPaymentCheck,
// BillPaymentCreditCard); PaymentMethod chooses which one an Add creates. QuickBooks changes only
// payments by check; a changed card payment is refused with "ModRq not supported".
class BillPayment final : public TxnRecordCore, public DataExtensionCarrier<BillPayment> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeBillPayment;
  BillPayment();

  qoEnumTxnState TxnState() const noexcept { return txnState_; }
  std::string Payee() const { return payee_.FullName(); }
  // An unknown customer, vendor, employee or other name raises 2010. Sent with an Add only.
  void SetPayee(const std::string& value);
  std::string APAccount() const { return apAccount_.FullName(); }
  // An unknown account raises 2019. Sent with an Add only.
  void SetAPAccount(const std::string& value);
  qbEnumBillPaymentMethod PaymentMethod() const noexcept { return paymentMethod_; }
  // Check (1) or credit card (2); any other value raises 2700.
  void SetPaymentMethod(qbEnumBillPaymentMethod value);
  std::string BankAccount() const { return bankAccount_.FullName(); }
  // The account a check is drawn on; an unknown account raises 2019.
  void SetBankAccount(const std::string& value);
  // The bank account's ListID, as QuickBooks answered (empty for a new payment).
  std::string BankAccountListID() const { return bankAccount_.ListID(); }
  std::string CreditCardAccount() const { return creditCardAccount_.FullName(); }
  // The card a payment is charged to; an unknown account raises 2019.
  void SetCreditCardAccount(const std::string& value);
  // What the payment pays, as QuickBooks answered: the sum of the amounts applied.
  Currency Amount() const noexcept { return amount_; }
  void SetAmount(Currency value) { Assign(amount_, value, false); }
  // A check to print: QuickBooks numbers it when printed, so no RefNumber is sent with it.
  bool IsToBePrinted() const noexcept { return isToBePrinted_; }
  void SetIsToBePrinted(bool value) { Change(isToBePrinted_, value, "IsToBePrinted"); }
  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  // The bills paid and the credits used on them.
  std::shared_ptr<txnAppliedTos> AppliedToTxns() const { return appliedTos_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }
  // A card payment cannot be changed: "ModRq not supported" (source "BillPayment").
  int32_t XMLModify(xmlBldr& cxmlbldr) override;

  static const RecordBindings& Bindings();

  // Library-internal: the state QuickBooks gave the payment.
  void SetTxnState(qoEnumTxnState value) noexcept { txnState_ = value; }
  // The qbXML stem of the payment's own kind: "BillPaymentCheck" or "BillPaymentCreditCard".
  std::string_view FormStem() const noexcept;

 protected:
  void BeforeRead() override;

 private:
  static void ReadBankAccount(qcBase& record, const FieldElement& element);
  static void ReadCardAccount(qcBase& record, const FieldElement& element);
  static void WriteAccount(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static void ReadApplied(qcBase& record, const FieldElement& element);
  static void WriteApplied(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static bool AppliedPending(const qcBase& record);

  qcListObjectRef payee_{qoListEntities, {}};
  qcListObjectRef apAccount_{qoListAccounts, {}};
  qcListObjectRef bankAccount_{qoListAccounts, {}};
  qcListObjectRef creditCardAccount_{qoListAccounts, {}};
  std::string memo_;
  std::shared_ptr<txnAppliedTos> appliedTos_;
  Currency amount_;
  qbEnumBillPaymentMethod paymentMethod_ = qbBillPaymentMethodCheck;
  qoEnumTxnState txnState_ = qoTxnStateActive;
  bool isToBePrinted_ = false;
};

// The company's bill payments of both kinds, and any set of them a client queries: every query
// asks for payments by check and by card with the same filters and holds both answers.
class BillPayments final : public TypedTxnCollection<BillPayment> {
 public:
  BillPayments() = default;
  ~BillPayments() override;

  // A new payment taking each value given through its setter. Master collection only.
  std::shared_ptr<BillPayment> Add(const std::string& Payee = {}, Currency Amount = {},
                                   Date TxnDate = {}, const std::string& APAccount = {},
                                   const std::string& BankAccount = {},
                                   const std::string& CreditCardAccount = {},
                                   std::optional<bool> IsToBePrinted = std::nullopt,
                                   const std::string& Memo = {},
                                   std::optional<qbEnumBillPaymentMethod> PaymentMethod = {},
                                   const std::string& RefNumber = {});

  // TxnDelRq of the payment's own kind (by card when a held member of that TxnID is one).
  int32_t Delete(const std::string& TxnId, bool bRemove = true);

  int32_t GetByDateMacro(qbEnumDateMacro DateMacro, bool IncludeLineItems = true,
                         int32_t MaxReturned = 0, qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                         const std::string& sMDBPath = {}, const std::string& Entity = {},
                         bool WithChildren = false);
  int32_t GetByDateSpan(Date FromDate, Date ToDate, bool UseModifiedDate = false,
                        bool IncludeLineItems = true, int32_t MaxReturned = 0,
                        qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                        const std::string& sMDBPath = {}, const std::string& Entity = {},
                        bool WithChildren = false);
  int32_t GetByEntity(const std::vector<std::string>& EntityList, bool WithChildren = false,
                      bool IncludeLineItems = true, int32_t MaxReturned = 0,
                      qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                      const std::string& sMDBPath = {});
  int32_t GetByAccount(const std::vector<std::string>& AccountList, bool WithChildren = false,
                       bool IncludeLineItems = true, int32_t MaxReturned = 0,
                       qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                       const std::string& sMDBPath = {});
  int32_t GetByRefNumber(const std::string& FromRefNumber, const std::string& ToRefNumber,
                         bool IncludeLineItems = true, int32_t MaxReturned = 0,
                         qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                         const std::string& sMDBPath = {});
  int32_t GetByRefNumberMatch(const std::string& MatchString,
                              qbEnumMatchType MatchType = qbMatchStartsWith,
                              bool IncludeLineItems = true, int32_t MaxReturned = 0,
                              qbEnumPaidStatus PaidStatus = qbPaidStatusAll,
                              const std::string& sMDBPath = {});
  int32_t GetAll(bool IncludeLineItems = true, int32_t MaxReturned = 0,
                 qbEnumPaidStatus PaidStatus = qbPaidStatusAll, const std::string& sMDBPath = {});
  int32_t GetBySingleEntity(const std::string& Entity, bool WithChildren = false,
                            bool IncludeLineItems = true, const std::string& sMDBPath = {});
  int32_t GetBySingleAccount(const std::string& Account, bool WithChildren = false,
                             bool IncludeLineItems = true, const std::string& sMDBPath = {});
  // The held member, else the payment of that TxnID of either kind; null when neither has it.
  std::shared_ptr<BillPayment> GetByTxnID(const std::string& TxnId, bool IncludeLineItems = true,
                                          const std::string& sMDBPath = {});

  // Library-internal: files a payment prepared elsewhere (a vendor's) as a new member. Master
  // collection only (1021).
  void AddPrepared(const std::shared_ptr<BillPayment>& payment);
  // A card payment is added with BillPaymentCreditCardAddRq; the rest as the kind's row says.
  bool AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                        int32_t requestId) override;

 protected:
  std::string QueryName() const override;

 private:
  // Runs one query on this collection (checks) and the same on the card side, then takes the
  // card payments in after the checks.
  template <class Run>
  int32_t Both(Run query);
  BillPayments& Cards();

  std::unique_ptr<BillPayments> cards_;  // asks for the payments by card
  bool cardSide_ = false;
};

// The payment a vendor's GetBillsAndCredits prepared (to that vendor, from the A/P account asked
// for), made on first use; null before GetBillsAndCredits.
std::shared_ptr<BillPayment> PreparedBillPayment(const Vendor& vendor);
// Files the prepared payment, when there is one, as new in the company's BillPayments.
void PostPreparedBillPayment(const Vendor& vendor);

}  // namespace brennock
