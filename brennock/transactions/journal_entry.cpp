#include "brennock/transactions/journal_entry.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

using J = JournalEntry;

const JournalEntry& AsEntry(const qcBase& record) {
  return static_cast<const JournalEntry&>(record);
}

void WriteNameFilter(xmlBldr& builder, std::string_view filter, const std::string& name,
                     bool withChildren) {
  builder.OpenAggregateOnly(filter);
  builder.CreateElement(withChildren ? "FullNameWithChildren" : "FullName", name);
  builder.EndAggregate(filter);
}

}  // namespace

JournalEntry::JournalEntry()
    : TxnRecordCore(RegisteredKind<kObjectType>()), lines_(std::make_shared<JournalEntryLines>()) {}

// The rows of JournalEntryAdd, JournalEntryMod and JournalEntryRet, in the schema's order. The
// lines are read as JournalDebitLine and JournalCreditLine; an Add writes them under those names
// (debits first), a Mod as JournalLineMod.
const RecordBindings& JournalEntry::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 9>{{
                        Bind<&J::txnDate_, codecs::Date>("TxnDate", kAll | kSkipEmpty),
                        // The entry number goes out with every Add and Mod (QuickBooks numbers an
                        // entry sent without one).
                        Bind<&J::refNumber_, codecs::Text>("RefNumber", kAll | kSkipEmpty),
                        Bind<&J::memo_, codecs::Text>("Memo", kInRet | kSkipEmpty),
                        ReadOnly(Bind<&J::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
                        {"JournalDebitLine", kInAdd | kInRet | kLines, &ReadDebit, &WriteLines,
                         nullptr, qbxml::ValueType::kAggregate, &LinesPending},
                        {"JournalCreditLine", kInRet | kLines, &ReadCredit, nullptr},
                        {"JournalLineMod", kInMod | kLines, nullptr, &WriteLines},
                        DataExtRow(),
                        UserDataRow()[0],
                    }});
}

void JournalEntry::ReadDebit(qcBase& record, const FieldElement& element) {
  RecordAs<JournalEntry>(record).lines_->AppendLoaded().FromDom(element, true);
}

void JournalEntry::ReadCredit(qcBase& record, const FieldElement& element) {
  RecordAs<JournalEntry>(record).lines_->AppendLoaded().FromDom(element, false);
}

void JournalEntry::WriteLines(const qcBase& record, RequestWriter& builder, std::string_view,
                              uint16_t, BodyForm form) {
  const JournalEntry& self = AsEntry(record);
  // QuickBooks takes a new entry's debit lines before its credit lines.
  if (form == BodyForm::kAdd && self.ObjectState() == qoObjectStateNew) {
    for (bool debits : {true, false})
      for (const auto& line : *self.lines_)
        if (line->IsDebit() == debits) line->WriteLine(builder, form);
    return;
  }
  for (const auto& line : *self.lines_) line->WriteLine(builder, form);
}

bool JournalEntry::LinesPending(const qcBase& record) {
  return AsEntry(record).lines_->ObjectState() != qoObjectStateClean;
}

void JournalEntry::BeforeRead() {
  TxnRecordCore::BeforeRead();
  lines_->Reset();
  memo_.clear();
}

Currency JournalEntry::RemainingAmount() const noexcept {
  Currency remaining;
  for (const auto& line : *lines_)
    remaining = line->IsDebit() ? remaining + line->Amount() : remaining - line->Amount();
  return remaining;
}

void JournalEntry::CheckRules(qcErrors& errors) {
  if (Utf8Length(memo_) > 4095) AddTableError(errors, errMemoTooLong, "Memo");
  if (Utf8Length(refNumber_) > 11) AddTableError(errors, errEntryNumberTooLong, "RefNumber");
  // Credits raise the balance, debits lower it; only the lines that hold something count.
  Currency balance;
  int32_t index = 0, lastUsed = 0;
  for (const auto& line : *lines_) {
    ++index;
    balance = line->IsDebit() ? balance - line->Amount() : balance + line->Amount();
    if (!line->IsUsed()) continue;
    if (!line->Validate()) AddTableError(errors, errValidateFailed, std::to_string(index));
    lastUsed = index;
  }
  if (balance != Currency()) AddTableError(errors, errJournalNotBalanced, "TotalBalance");
  if (lastUsed != 0) {
    lines_->Truncate(lastUsed);
  } else {
    AddTableError(errors, errNoLines, "JournalEntryLines");
  }
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<JournalEntry> JournalEntries::Add(Date TxnDate, const std::string& RefNumber,
                                                  const std::string& Memo) {
  std::shared_ptr<JournalEntry> entry = NewMember();
  if (!TxnDate.IsNull()) entry->SetTxnDate(TxnDate);
  if (!RefNumber.empty()) entry->SetRefNumber(RefNumber);
  if (!Memo.empty()) entry->SetMemo(Memo);
  FileAdded(entry);
  return entry;
}

int32_t JournalEntries::GetByAccountAndEntity(const std::string& Account, bool AccountWithChildren,
                                              const std::string& Entity, bool EntityWithChildren,
                                              bool IncludeLineItems, int32_t MaxReturned,
                                              const std::string& sMDBPath) {
  return RunQuery(
      sMDBPath,
      [&](xmlBldr& builder) {
        if (MaxReturned != 0) builder.CreateElement("MaxReturned", std::to_string(MaxReturned));
        WriteNameFilter(builder, "EntityFilter", Entity, EntityWithChildren);
        WriteNameFilter(builder, "AccountFilter", Account, AccountWithChildren);
        if (IncludeLineItems) builder.CreateElement("IncludeLineItems", "true");
      },
      false);
}

}  // namespace brennock
