#include "brennock/transactions/journal_entry_line.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/transactions/amount_text.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/lists/account.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kClass = "JournalEntryLine";

std::shared_ptr<Account> FindAccount(const qcListObjectRef& ref) {
  return std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, ref.FullName()));
}

}  // namespace

// The rows of JournalDebitLine and JournalCreditLine as QuickBooks answers them, in the schema's
// order; the request forms are written by WriteLine.
const BindingTable<JournalEntryLine>& JournalEntryLine::Bindings() {
  using L = JournalEntryLine;
  using R = codecs::Ref;
  constexpr uint16_t kR = kInRet;
  BRENNOCK_BINDINGS(L, std::array{Bind<&L::txnLineID_, codecs::Text, L>("TxnLineID", kR),
                                  Bind<&L::account_, R, L>("AccountRef", kR),
                                  Bind<&L::amount_, codecs::Amount, L>("Amount", kR),
                                  Bind<&L::memo_, codecs::Text, L>("Memo", kR | kSkipEmpty),
                                  Bind<&L::entity_, R, L>("EntityRef", kR),
                                  Bind<&L::class_, R, L>("ClassRef", kR),
                                  Bind<&L::billableStatus_, codecs::EnumTag<qoeBillableStatus>, L>(
                                      "BillableStatus", kR | kSkipEmpty)});
}

void JournalEntryLine::FromDom(const FieldElement& element, bool debit) {
  Bindings().Read(*this, element);
  isDebit_ = debit;
  state_ = qoObjectStateClean;
}

void JournalEntryLine::WriteLine(RequestWriter& builder, BodyForm form) const {
  const std::string_view element = form == BodyForm::kMod ? "JournalLineMod"
                                   : isDebit_             ? "JournalDebitLine"
                                                          : "JournalCreditLine";
  builder.OpenAggregateOnly(element);
  if (form == BodyForm::kRet) {
    Bindings().Write(*this, builder, BodyForm::kRet);
    builder.EndAggregate(element);
    return;
  }
  if (form == BodyForm::kMod) {
    builder.CreateElement("TxnLineID", txnLineID_);
    builder.CreateElement("JournalLineType", isDebit_ ? "Debit" : "Credit");
  }
  codecs::Ref::Write(account_, builder, "AccountRef", 0, form);
  codecs::Amount::Write(amount_, builder, "Amount", 0, form);
  // A Mod sends the memo as it stands, so an emptied one is cleared.
  if (form == BodyForm::kMod || !memo_.empty()) builder.CreateElement("Memo", memo_);
  if (billableStatus_ != 0)
    codecs::EnumTag<qoeBillableStatus>::Write(billableStatus_, builder, "BillableStatus", 0, form);
  builder.EndAggregate(element);
}

void JournalEntryLine::SetAmount(Currency value) {
  Change(amount_, value);
  amountText_.clear();
}

std::string JournalEntryLine::AmountAsString() const { return AmountText(amount_, amountText_); }

void JournalEntryLine::SetAmountAsString(const std::string& value) {
  Change(amount_, AmountOfText(value, kClass));
  amountText_ = value;
}

void JournalEntryLine::SetAccount(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListAccounts, value))
    RaiseFromClass(kClass, errInvalidAccount);
  account_.SetFullName(value);
  Touch();
}

void JournalEntryLine::SetClass(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListClasses, value))
    RaiseFromClass(kClass, errClassNotFound);
  class_.SetFullName(value);
  Touch();
}

void JournalEntryLine::SetEntity(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListEntities, value))
    RaiseFromClass(kClass, errEntityNotFound);
  entity_.SetFullName(value);
  Touch();
}

bool JournalEntryLine::IsUsed() const noexcept {
  return !account_.IsEmpty() || !entity_.IsEmpty() || !class_.IsEmpty() || !memo_.empty() ||
         amount_ != Currency();
}

bool JournalEntryLine::Validate() {
  ClearErrorList();
  if (state_ == qoObjectStateClean) return true;
  qcErrors& errors = *ErrorList();
  if (amount_ < Currency()) AddTableError(errors, errJournalNegativeAmount, "Amount");
  if (!entity_.IsEmpty() && !ResolveListObject(qoListEntities, entity_.FullName()))
    AddTableError(errors, errEntityNotFound, "Entity");
  if (!class_.IsEmpty() && !ResolveListObject(qoListClasses, class_.FullName()))
    AddTableError(errors, errClassNotFound, "Class");
  if (account_.IsEmpty()) {
    AddTableError(errors, errAccountRequired, "Account");
    return ErrorListEmpty();
  }
  std::shared_ptr<brennock::Account> account = FindAccount(account_);
  if (!account) {
    AddTableError(errors, errInvalidAccount, "Account");
    return ErrorListEmpty();
  }
  // The accounts that keep what names owe need the name: a customer on A/R, a vendor on A/P.
  const std::string name = entity_.FullName();
  switch (account->AccountType()) {
    case qbAccountsReceivable:
      if (name.empty() || !ResolveListObject(qoListCustomers, name))
        AddTableError(errors, errNeedCustomer, "Entity");
      break;
    case qbAccountsPayable:
      if (name.empty() || !ResolveListObject(qoListVendors, name))
        AddTableError(errors, errNeedVendor, "Entity");
      break;
    case qbNonPosting:
      AddTableError(errors, errNonPostingAccount, "Account");
      break;
    default:
      break;
  }
  return ErrorListEmpty();
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<JournalEntryLine> JournalEntryLines::Add(
    const std::string& Account, Currency Amount, bool IsDebit, const std::string& Class,
    const std::string& Entity, const std::string& Memo, std::optional<int32_t> Before) {
  ClearErrors();
  if (Before && !ItemExists(*Before)) RaiseCollectionPositionOutOfRange(kJournalEntryLinesName);
  auto line = MakeSlabShared<JournalEntryLine>();
  if (!Account.empty()) line->SetAccount(Account);
  if (Amount != Currency()) line->SetAmount(Amount);
  line->SetIsDebit(IsDebit);
  if (!Class.empty()) line->SetClass(Class);
  if (!Entity.empty()) line->SetEntity(Entity);
  if (!Memo.empty()) line->SetMemo(Memo);
  return Insert(std::move(line), Before);
}

void JournalEntryLines::Truncate(int32_t count) {
  if (count >= Count()) return;
  items_.resize(static_cast<size_t>(count));
  changed_ = true;
}

}  // namespace brennock
