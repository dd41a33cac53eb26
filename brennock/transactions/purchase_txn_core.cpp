// The pattern every vendor-side form follows: vendor, A/P account and terms setters, the lines
// with the purchase-owner rules, links to what a form takes over, and validation.
#include "brennock/internal/transactions/purchase_txn_core.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/lists/account.h"
#include "brennock/lists/address.h"
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

PurchaseTxnCore::PurchaseTxnCore(const RecordKind& kind) : LinedTxnCore(kind) {
  txnDate_ = dueDate_ = Date::Today();
  ClearChanges();
}

PurchaseTxnCore::~PurchaseTxnCore() = default;

std::shared_ptr<txnExpenseLines> PurchaseTxnCore::ExpenseLines() const {
  if (!expenseLines_) {
    expenseLines_ = std::make_shared<txnExpenseLines>();
    expenseLines_->SetEventSink(sink_);
  }
  return expenseLines_;
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
  return expenseLines_ ? itemLines_->Total() + expenseLines_->Total() : itemLines_->Total();
}

void PurchaseTxnCore::RecalculateTerms() {
  auto term = std::dynamic_pointer_cast<qcTerm>(ResolveListObject(qoListTerms, terms_.FullName()));
  if (!term) return;
  dueDate_ = term->CalculateDueDate(txnDate_);
  discountDate_ = term->CalculateDiscountDate(txnDate_);
  discountAmount_ = Currency(term->DiscountPercent().ToDouble() * LinesTotal().ToDouble() / 100);
}

void PurchaseTxnCore::OnLineEvent(qoEnumEventTypes id, std::string& param) {
  if (id != qoEventAmountChange) return LinedTxnCore::OnLineEvent(id, param);
  if (!terms_.IsEmpty()) RecalculateTerms();
}

void PurchaseTxnCore::CheckPurchaseRules(qcErrors& errors, bool requireVendor, bool linksCount) {
  if (requireVendor && vendor_.FullNameView().empty() && vendor_.ListIDView().empty())
    AddTableError(errors, errVendorRequired, "Vendor");
  CheckItemLines(errors);
  if (!expenseLines_) return RequireLines(errors, linksCount, 0);
  int32_t position = 0;
  for (const auto& line : *expenseLines_) {
    ++position;
    if (!line->ValidateLine()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
  expenseLines_->TrimTrailingEmpty();
  RequireLines(errors, linksCount, expenseLines_->Count());
}

void PurchaseTxnCore::BeforeRead() {
  LinedTxnCore::BeforeRead();
  if (expenseLines_) expenseLines_->Reset();
}

// ---- rows ---------------------------------------------------------------------------------------

void PurchaseTxnCore::WriteFormAddress(const Address& address, RequestWriter& builder,
                                       std::string_view element, BodyForm form) {
  if (form == BodyForm::kMod ? address.ObjectState() == qoObjectStateClean : address.IsEmpty())
    return;
  builder.OpenAggregateOnly(element);
  address.WriteElements(builder);
  builder.EndAggregate(element);
}

void PurchaseTxnCore::ReadExpenseLine(qcBase& record, const FieldElement& element) {
  Purchase(record).ExpenseLines()->AppendLoaded().LineFromDom(element);
}

void PurchaseTxnCore::WriteExpenseLines(const qcBase& record, RequestWriter& builder,
                                        std::string_view, uint16_t, BodyForm form) {
  const auto& lines = Purchase(record).expenseLines_;
  if (lines) lines->Write(builder, form == BodyForm::kRet, form == BodyForm::kMod);
}

bool PurchaseTxnCore::ExpenseLinesPending(const qcBase& record) {
  const auto& lines = Purchase(record).expenseLines_;
  return lines && lines->HasChanges();
}

}  // namespace brennock
