// The pattern every vendor-side form follows: vendor, A/P account and terms setters, the lines
// with the purchase-owner rules, links to what a form takes over, and validation.
#include "brennock/internal/transactions/purchase_txn_core.h"

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/lists/account.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/vendor.h"

namespace brennock {
namespace {

PurchaseTxnCore& Purchase(qcBase& record) { return static_cast<PurchaseTxnCore&>(record); }
const PurchaseTxnCore& Purchase(const qcBase& record) {
  return static_cast<const PurchaseTxnCore&>(record);
}

// QuickBooks' words for what the library's error table does not name.
constexpr auto kVendorNotFound = static_cast<ErrorCode>(2003);
constexpr auto kNeedAPAccount = static_cast<ErrorCode>(2033);

}  // namespace

PurchaseTxnCore::PurchaseTxnCore(const RecordKind& kind)
    : TxnRecordCore(kind),
      itemLines_(std::make_shared<txnItemLines>()),
      expenseLines_(std::make_shared<txnExpenseLines>()),
      linkedTxns_(std::make_shared<txnLinkedTransactions>()),
      sink_(std::make_shared<qcEventSink>()) {
  itemLines_->SetOwnerType(kind.objectType);
  itemLines_->SetEventSink(sink_);
  expenseLines_->SetEventSink(sink_);
  sink_->OnqoEvent = [this](qoEnumEventTypes id, std::string& param) { OnLineEvent(id, param); };
  txnDate_ = dueDate_ = Date::Today();
  ClearChanges();
}

PurchaseTxnCore::~PurchaseTxnCore() {
  // Lines a client still holds may raise after the transaction is gone: nobody listens then.
  sink_->OnqoEvent = nullptr;
}

std::shared_ptr<brennock::Vendor> PurchaseTxnCore::VendorObject() const {
  if (vendor_.IsEmpty()) return nullptr;
  return std::dynamic_pointer_cast<brennock::Vendor>(
      ResolveListObject(qoListVendors, vendor_.FullName()));
}

void PurchaseTxnCore::SetVendor(const std::string& value) {
  std::shared_ptr<brennock::Vendor> vendor;
  if (!value.empty()) {
    vendor = std::dynamic_pointer_cast<brennock::Vendor>(ResolveListObject(qoListVendors, value));
    if (!vendor) RaiseFromClass(ClassName(), kVendorNotFound, "Vendor does not exist");
  }
  ChangeRef(vendor_, value, "VendorRef");
  // The vendor's terms, where the form has terms.
  if (vendor && !vendor->Terms().empty() && Kind().bindings && Kind().bindings().Find("TermsRef"))
    SetTerms(vendor->Terms());
}

void PurchaseTxnCore::SetAPAccount(const std::string& value) {
  auto account = std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, value));
  if (!account) RaiseFromClass(ClassName(), errInvalidAccount);
  if (account->AccountType() != qbAccountsPayable)
    RaiseFromClass(ClassName(), kNeedAPAccount, "Account type must be Accounts Payable");
  ChangeRef(apAccount_, value, "APAccountRef");
}

void PurchaseTxnCore::SetTerms(const std::string& value) {
  if (value.empty()) return;  // an empty name changes nothing
  if (!ResolveListObject(qoListTerms, value)) RaiseFromClass(ClassName(), errTermsNotFound);
  ChangeRef(terms_, value, "TermsRef");
  RecalculateTerms();
}

Currency PurchaseTxnCore::LinesTotal() const {
  return itemLines_->Total() + expenseLines_->Total();
}

void PurchaseTxnCore::RecalculateTerms() {
  auto term = std::dynamic_pointer_cast<qcTerm>(ResolveListObject(qoListTerms, terms_.FullName()));
  if (!term) return;
  dueDate_ = term->CalculateDueDate(txnDate_);
  discountDate_ = term->CalculateDiscountDate(txnDate_);
  discountAmount_ = Currency(term->DiscountPercent().ToDouble() * LinesTotal().ToDouble() / 100);
}

void PurchaseTxnCore::OnLineEvent(qoEnumEventTypes id, std::string& param) {
  switch (id) {
    case qoEventAmountChange:
      if (!terms_.IsEmpty()) RecalculateTerms();
      break;
    case qoEventWarning: {
      const auto code = static_cast<qoEnumWarning>(ModConvertDtypes::TextToInt32(param));
      if (OnWarning) OnWarning(code, EnumCodeToText(qoeWarnings, static_cast<int16_t>(code)));
      break;
    }
    default:
      break;
  }
}

void PurchaseTxnCore::CheckPurchaseRules(qcErrors& errors, bool requireVendor, bool linksCount) {
  if (requireVendor && vendor_.FullNameView().empty() && vendor_.ListIDView().empty())
    AddTableError(errors, errVendorRequired, "Vendor");
  int32_t position = 0;
  for (const auto& line : *itemLines_) {
    ++position;
    if (!line->ValidateLine()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
  position = 0;
  for (const auto& line : *expenseLines_) {
    ++position;
    if (!line->ValidateLine()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
  itemLines_->TrimTrailingEmpty();
  expenseLines_->TrimTrailingEmpty();
  if (itemLines_->Count() == 0 && expenseLines_->Count() == 0 &&
      !(linksCount && linkedTxns_->Count() != 0))
    AddTableError(errors, errNoLines, "");
}

int32_t PurchaseTxnCore::SavePendingExtensions() {
  int32_t errors = TxnRecordCore::SavePendingExtensions();
  for (const auto& line : *itemLines_) errors += line->SaveLineExtensions(TxnId());
  return errors;
}

void PurchaseTxnCore::BeforeRead() {
  TxnRecordCore::BeforeRead();
  itemLines_->Reset();
  expenseLines_->Reset();
  linkedTxns_->Reset();
}

void PurchaseTxnCore::AfterRead() {
  TxnRecordCore::AfterRead();
  // The answer to a save replaced the lines: custom fields set on them are saved next.
  itemLines_->HandOverPendingExtensions();
}

// ---- rows ---------------------------------------------------------------------------------------

void PurchaseTxnCore::WriteLinkToTxn(const qcBase& record, RequestWriter& builder,
                                     std::string_view element, uint16_t, BodyForm) {
  for (const auto& link : *Purchase(record).linkedTxns_)
    if (!link->TxnId().empty()) builder.CreateElement(element, link->TxnId());
}

void PurchaseTxnCore::ReadLinkedTxn(qcBase& record, const FieldElement& element) {
  auto link = std::make_shared<txnLinkedTransaction>();
  link->FromDom(element);
  Purchase(record).linkedTxns_->Append(std::move(link));
}

void PurchaseTxnCore::WriteLinkedTxn(const qcBase& record, RequestWriter& builder, std::string_view,
                                     uint16_t, BodyForm) {
  for (const auto& link : *Purchase(record).linkedTxns_) link->WriteRet(builder);
}

void PurchaseTxnCore::ReadLine(qcBase& record, const FieldElement& element) {
  Purchase(record).itemLines_->AppendLoaded().LineFromDom(element);
}

void PurchaseTxnCore::WriteLines(const qcBase& record, RequestWriter& builder, std::string_view,
                                 uint16_t, BodyForm form) {
  Purchase(record).itemLines_->Write(builder, form == BodyForm::kRet, form == BodyForm::kMod);
}

bool PurchaseTxnCore::LinesPending(const qcBase& record) {
  return Purchase(record).itemLines_->HasChanges();
}

void PurchaseTxnCore::ReadExpenseLine(qcBase& record, const FieldElement& element) {
  Purchase(record).expenseLines_->AppendLoaded().LineFromDom(element);
}

void PurchaseTxnCore::WriteExpenseLines(const qcBase& record, RequestWriter& builder,
                                        std::string_view, uint16_t, BodyForm form) {
  Purchase(record).expenseLines_->Write(builder, form == BodyForm::kRet, form == BodyForm::kMod);
}

bool PurchaseTxnCore::ExpenseLinesPending(const qcBase& record) {
  return Purchase(record).expenseLines_->HasChanges();
}

}  // namespace brennock
