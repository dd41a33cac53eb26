#include "brennock/transactions/deposit_line.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/transactions/amount_text.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/lists/account.h"
#include "brennock/transactions/txn_references.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kClass = "DepositLine";

}  // namespace

// The rows of DepositLineRet, and of the account form of DepositLineAdd and DepositLineMod in
// the schema's order; WriteLine chooses between the payment and the account form.
const BindingTable<DepositLine>& DepositLine::Bindings() {
  using L = DepositLine;
  using R = codecs::Ref;
  using T = codecs::Text;
  constexpr uint16_t kRet = kInRet;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  BRENNOCK_BINDINGS(
      L,
      std::array{Bind<&L::txnType_, codecs::EnumTag<qoeObjectType>, L>("TxnType", kRet),
                 Bind<&L::txnID_, T, L>("TxnID", kRet), Bind<&L::lineID_, T, L>("TxnLineID", kRet),
                 Bind<&L::paymentTxnLineID_, T, L>("PaymentTxnLineID", kRet | kSkipEmpty),
                 Bind<&L::entity_, R, L>("EntityRef", kAll),
                 Bind<&L::account_, R, L>("AccountRef", kAll), Bind<&L::memo_, T, L>("Memo", kText),
                 Bind<&L::checkNumber_, T, L>("CheckNumber", kText),
                 Bind<&L::paymentMethod_, R, L>("PaymentMethodRef", kAll),
                 Bind<&L::class_, R, L>("ClassRef", kAll),
                 Bind<&L::amount_, codecs::Amount, L>("Amount", kRet)});
}

void DepositLine::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void DepositLine::WriteLine(RequestWriter& builder, BodyForm form) {
  const std::string_view element = form == BodyForm::kAdd   ? "DepositLineAdd"
                                   : form == BodyForm::kMod ? "DepositLineMod"
                                                            : "DepositLineRet";
  builder.OpenAggregateOnly(element);
  if (form == BodyForm::kRet) {
    Bindings().Write(*this, builder, BodyForm::kRet);
    builder.EndAggregate(element);
    return;
  }
  if (form == BodyForm::kMod) {
    if (lineID_.empty()) lineID_ = "-1";  // a line added since the deposit was read
    builder.CreateElement("TxnLineID", lineID_);
  }
  if (!txnID_.empty()) {
    builder.CreateElement("PaymentTxnID", txnID_);
    if (!paymentTxnLineID_.empty()) builder.CreateElement("PaymentTxnLineID", paymentTxnLineID_);
  } else {
    Bindings().Write(*this, builder, form);
    if (amount_ != Currency() || !amountText_.empty())
      codecs::Amount::Write(amount_, builder, "Amount", 0, form);
  }
  builder.EndAggregate(element);
}

void DepositLine::SetEntity(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListEntities, value))
    RaiseFromClass(kClass, errEntityNotFound);
  entity_.SetFullName(value);
  Touch();
}

void DepositLine::SetAccount(const std::string& value) {
  if (!value.empty()) {
    auto account =
        std::dynamic_pointer_cast<brennock::Account>(ResolveListObject(qoListAccounts, value));
    if (!account) RaiseFromClass(kClass, errInvalidAccount);
    if (account->AccountType() == qbNonPosting) RaiseFromClass(kClass, errNonPostingAccount);
  }
  account_.SetFullName(value);
  Touch();
}

void DepositLine::SetPaymentMethod(const std::string& value) {
  RequirePaymentMethod(kClass, value);
  paymentMethod_.SetFullName(value);
  Touch();
}

void DepositLine::SetClass(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListClasses, value))
    RaiseFromClass(kClass, errClassNotFound);
  class_.SetFullName(value);
  Touch();
}

void DepositLine::SetAmount(Currency value) {
  if (value == amount_) return;
  Change(amount_, value);
  amountText_.clear();
}

std::string DepositLine::AmountAsString() const { return AmountText(amount_, amountText_); }

void DepositLine::SetAmountAsString(const std::string& value) {
  Change(amount_, AmountOfText(value, kClass));
  amountText_ = value;
}

bool DepositLine::Validate() {
  ClearErrorList();
  if (txnID_.empty() && account_.IsEmpty())
    AddTableError(*ErrorList(), errDepositLineIncomplete, "");
  return ErrorListEmpty();
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<DepositLine> DepositLines::Add(const std::string& TxnId,
                                               const std::string& TxnLineId,
                                               const std::string& Account, Currency Amount,
                                               const std::string& Entity, const std::string& Memo) {
  ClearErrors();
  auto line = MakeSlabShared<DepositLine>();
  if (!TxnId.empty()) line->SetTxnId(TxnId);
  if (!TxnLineId.empty()) line->SetTxnLineId(TxnLineId);
  if (!Account.empty()) line->SetAccount(Account);
  if (Amount != Currency()) line->SetAmount(Amount);
  if (!Entity.empty()) line->SetEntity(Entity);
  if (!Memo.empty()) line->SetMemo(Memo);
  return Insert(std::move(line), std::nullopt);
}

Currency DepositLines::Total() const noexcept {
  Currency total;
  for (const auto& line : items_) total = total + line->Amount();
  return total;
}

}  // namespace brennock
