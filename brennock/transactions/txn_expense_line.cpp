// The rules of an expense line and its rows: how it reads from an ExpenseLineRet and writes into
// its owner's Add or Mod.
#include "brennock/transactions/txn_expense_line.h"

#include <array>

#include "brennock/enums/enumeration_type.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_checks.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/transactions/amount_text.h"
#include "brennock/lists/account.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kClass = "txnExpenseLine";

}  // namespace

// The line's rows in the schema's order of ExpenseLineAdd, ExpenseLineMod and ExpenseLineRet;
// TaxCodeRef is the other editions' element, which the US schema does not list.
struct ExpenseLineRows {
  using L = txnExpenseLine;
  using Row = Binding<L>;
  static constexpr uint16_t kAll = kInAdd | kInMod | kInRet;

  static void WriteAmount(const L& l, RequestWriter& b, std::string_view name, uint16_t f,
                          BodyForm form) {
    if (l.amount_ != Currency()) codecs::Amount::Write(l.amount_, b, name, f, form);
  }
  static void WriteBillable(const L& l, RequestWriter& b, std::string_view name, uint16_t f,
                            BodyForm form) {
    if (l.billableStatus_ != 0)
      codecs::EnumTag<qoeBillableStatus>::Write(l.billableStatus_, b, name, f, form);
  }
  static void WriteTaxCode(const L& l, RequestWriter& b, std::string_view name, uint16_t f,
                           BodyForm form) {
    if (Session().nonUSEdition) codecs::Ref::Write(l.taxCode_, b, name, f, form);
  }

  static const BindingTable<L>& Table() {
    using R = codecs::Ref;
    BRENNOCK_BINDINGS(
        L, std::array<Row, 8>{{
               Bind<&L::txnLineID_, codecs::Text, L>("TxnLineID", kInMod | kInRet),
               Bind<&L::account_, R, L>("AccountRef", kAll),
               {"Amount", kAll, &detail::ReadMember<&L::amount_, codecs::Amount, L>, &WriteAmount,
                nullptr, qbxml::ValueType::kAmount},
               Bind<&L::memo_, codecs::Text, L>("Memo", kAll),
               Bind<&L::customer_, R, L>("CustomerRef", kAll),
               Bind<&L::class_, R, L>("ClassRef", kAll),
               {"BillableStatus", kAll,
                &detail::ReadMember<&L::billableStatus_, codecs::EnumTag<qoeBillableStatus>, L>,
                &WriteBillable, nullptr, qbxml::ValueType::kEnum},
               {"TaxCodeRef", kAll | kNotInSchema, &detail::ReadMember<&L::taxCode_, R, L>,
                &WriteTaxCode, nullptr, qbxml::ValueType::kRef},
           }});
  }
};

txnExpenseLine::txnExpenseLine() = default;
txnExpenseLine::~txnExpenseLine() = default;

const BindingTable<txnExpenseLine>& txnExpenseLine::Bindings() { return ExpenseLineRows::Table(); }

void txnExpenseLine::Guard() {
  if (!loading_) CheckModify(false, kClass);
}

void txnExpenseLine::SetAccount(const std::string& value) {
  auto account =
      std::dynamic_pointer_cast<brennock::Account>(ResolveListObject(qoListAccounts, value));
  if (!account) RaiseFromClass(kClass, errInvalidAccount);
  if (account->AccountType() == qbNonPosting) RaiseFromClass(kClass, errNonPostingAccount);
  Guard();
  account_.SetFullName(value);
}

void txnExpenseLine::SetAmount(Currency value) {
  if (value == amount_) return;
  Guard();
  amount_ = value;
  amountText_.clear();
  if (!loading_ && sink_) sink_->Raise(qoEventAmountChange, std::string());
}

std::string txnExpenseLine::AmountAsString() const { return AmountText(amount_, amountText_); }

void txnExpenseLine::SetAmountAsString(const std::string& value) {
  SetAmount(AmountOfText(value, kClass));
  amountText_ = value;
}

void txnExpenseLine::SetMemo(const std::string& value) {
  Guard();
  memo_ = value;
}

void txnExpenseLine::SetCustomer(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListCustomers, value))
    RaiseFromClass(kClass, errCustomerNotFound);
  Guard();
  customer_.SetFullName(value);
}

void txnExpenseLine::SetClass(const std::string& value) {
  Guard();
  class_.SetFullName(value);
}

void txnExpenseLine::SetBillableStatus(qbEnumBillableStatus value) {
  Guard();
  billableStatus_ = value;
}

void txnExpenseLine::SetTaxCode(const std::string& value) {
  RequireNonUSEdition();
  Guard();
  taxCode_.SetFullName(value);
}

bool txnExpenseLine::ValidateLine() {
  ClearErrorList();
  if (amount_ != Currency() && account_.IsEmpty())
    AddTableError(*ErrorList(), errInvalidAccount, "Account");
  return ErrorListEmpty();
}

void txnExpenseLine::LineFromDom(const FieldElement& element) {
  loading_ = true;
  Bindings().Read(*this, element);
  loading_ = false;
  state_ = qoObjectStateClean;
}

void txnExpenseLine::WriteLine(RequestWriter& builder, bool ret, bool mod) {
  const BodyForm form = ret ? BodyForm::kRet : mod ? BodyForm::kMod : BodyForm::kAdd;
  // A line added since the transaction was read is sent with the ID "-1", and keeps it.
  if (form == BodyForm::kMod && txnLineID_.empty()) txnLineID_.assign("-1");
  const std::string_view element = form == BodyForm::kAdd   ? "ExpenseLineAdd"
                                   : form == BodyForm::kMod ? "ExpenseLineMod"
                                                            : "ExpenseLineRet";
  builder.OpenAggregateOnly(element);
  Bindings().Write(*this, builder, form);
  builder.EndAggregate(element);
}

}  // namespace brennock
