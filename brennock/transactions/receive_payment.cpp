#include "brennock/transactions/receive_payment.h"

#include <set>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/lists/account.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using P = ReceivePayment;

// The elements a query names when it leaves out the credit card data, in the response's order.
const std::vector<std::string>& WithoutCreditCardFields() {
  static const std::vector<std::string> elements = {
      "TxnID",         "TimeCreated",      "TimeModified",   "EditSequence",
      "CustomerRef",   "ARAccountRef",     "TxnDate",        "RefNumber",
      "TotalAmount",   "PaymentMethodRef", "Memo",           "DepositToAccountRef",
      "UnusedPayment", "UnusedCredits",    "AppliedToTxnRet"};
  return elements;
}

}  // namespace

ReceivePayment::ReceivePayment()
    : TxnRecordCore(RegisteredKind<kObjectType>()),
      sink_(std::make_shared<qcEventSink>()),
      appliedTos_(std::make_shared<txnAppliedTos>()) {
  txnDate_ = Date::Today();
  appliedTos_->SetEventSink(sink_);
  sink_->OnqoEvent = [this](qoEnumEventTypes id, std::string&) {
    if (id == qoEventAmountChange) Recompute();
  };
}

ReceivePayment::~ReceivePayment() {
  // Entries a client still holds may change after the payment is gone: nobody listens then.
  sink_->OnqoEvent = nullptr;
}

// The rows of ReceivePaymentAdd and ReceivePaymentRet, in the schema's order.
const RecordBindings& ReceivePayment::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using R = codecs::Ref;
  using A = codecs::Amount;
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 14>{{
          Bind<&P::customer_, R>("CustomerRef", kAll),
          Bind<&P::arAccount_, R>("ARAccountRef", kAll),
          TxnDateRow(),
          RefNumberRow(),
          Bind<&P::total_, A>("TotalAmount", kAll),
          Bind<&P::paymentMethod_, R>("PaymentMethodRef", kAll),
          Bind<&P::memo_, codecs::Text>("Memo", kText),
          Bind<&P::depositToAccount_, R>("DepositToAccountRef", kAll),
          Bind<&P::unusedPayment_, A>("UnusedPayment", kInRet),
          Bind<&P::unusedCredits_, A>("UnusedCredits", kInRet),
          {"IsAutoApply", kInAdd, nullptr, &WriteAutoApply, nullptr, qbxml::ValueType::kBool},
          // Read as AppliedToTxnRet; written as AppliedToTxnAdd unless QuickBooks applies.
          {"AppliedToTxnRet", kAll | kLines, &ReadApplied, &WriteApplied},
          DataExtRow(),
          UserDataRow()[0],
      }});
}

void ReceivePayment::ReadApplied(qcBase& record, const FieldElement& element) {
  RecordAs<ReceivePayment>(record).appliedTos_->AppendLoaded().FromDom(element);
}

void ReceivePayment::WriteApplied(const qcBase& record, RequestWriter& builder, std::string_view,
                                  uint16_t, BodyForm form) {
  const auto& self = static_cast<const ReceivePayment&>(record);
  if (form != BodyForm::kRet && self.isAutoApply_) return;
  for (const auto& entry : *self.appliedTos_) entry->WriteLine(builder, form);
}

void ReceivePayment::WriteAutoApply(const qcBase& record, RequestWriter& builder,
                                    std::string_view element, uint16_t, BodyForm) {
  if (static_cast<const ReceivePayment&>(record).isAutoApply_)
    builder.CreateElement(element, "true");
}

void ReceivePayment::BeforeRead() {
  TxnRecordCore::BeforeRead();
  appliedTos_->Reset();
}

void ReceivePayment::Recompute() {
  const Currency applied = appliedTos_->Total();
  if (applied > total_) RaiseFromClass(Kind().className, errAppliedExceedsTotal);
  unusedPayment_ = total_ - (applied + appliedTos_->TotalDiscounts() + appliedTos_->TotalCredits());
  if (state_ == qoObjectStateClean) state_ = qoObjectStateDirty;
}

void ReceivePayment::SetCustomer(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListCustomers, value))
    RaiseFromClass(Kind().className, errInvalidCustomer);
  ChangeRef(customer_, value, "CustomerRef");
}

void ReceivePayment::SetARAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(arAccount_, value, "ARAccountRef");
}

void ReceivePayment::SetTotal(Currency value) {
  if (appliedTos_->Total() > value) RaiseFromClass(Kind().className, errAppliedExceedsTotal);
  Change(total_, value, "TotalAmount");
  Recompute();
}

void ReceivePayment::SetPaymentMethod(const std::string& value) {
  RequirePaymentMethod(Kind().className, value);
  ChangeRef(paymentMethod_, value, "PaymentMethodRef");
}

void ReceivePayment::SetDepositToAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(depositToAccount_, value, "DepositToAccountRef");
}

void ReceivePayment::CheckRules(qcErrors& errors) {
  if (customer_.IsEmpty()) AddTableError(errors, errCustomerRequired, "Customer");
  if (!arAccount_.IsEmpty()) {
    auto account = std::dynamic_pointer_cast<Account>(
        ResolveListObject(qoListAccounts, arAccount_.FullName()));
    if (account && account->AccountType() != qbAccountsReceivable)
      AddTableError(errors, errNeedARAccount, "ARAccount");
  }
  if (isAutoApply_) {
    if (appliedTos_->Count() != 0) AddTableError(errors, errAutoApplyWithApplied, "IsAutoApply");
    return;
  }
  std::set<std::string> seen;
  int32_t position = 0;
  for (const auto& entry : *appliedTos_) {
    ++position;
    if (!seen.insert(entry->TxnId()).second) AddTableError(errors, errDuplicatePaymentTxn, "");
    if (!entry->Validate()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
}

// ---- the collection -----------------------------------------------------------------------------

void ReceivePayments::SetExcludeCCRetFields(bool value) {
  excludeCC_ = value;
  SetIncludeRetElements(value ? WithoutCreditCardFields() : std::vector<std::string>{});
}

std::shared_ptr<ReceivePayment> ReceivePayments::Add(const std::string& Customer,
                                                     const std::string& RefNumber, Date TxnDate,
                                                     const std::string& DepositToAccount,
                                                     const std::string& PaymentMethod,
                                                     const std::string& Memo, Currency Total,
                                                     std::optional<bool> IsAutoApply) {
  std::shared_ptr<ReceivePayment> payment = NewMember();
  if (!Customer.empty()) payment->SetCustomer(Customer);
  if (!RefNumber.empty()) payment->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) payment->SetTxnDate(TxnDate);
  if (!DepositToAccount.empty()) payment->SetDepositToAccount(DepositToAccount);
  if (!PaymentMethod.empty()) payment->SetPaymentMethod(PaymentMethod);
  if (!Memo.empty()) payment->SetMemo(Memo);
  if (Total != Currency()) payment->SetTotal(Total);
  if (IsAutoApply) payment->SetIsAutoApply(*IsAutoApply);
  FileAdded(payment);
  return payment;
}

}  // namespace brennock
