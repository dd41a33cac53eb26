#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/transactions/journal_entry_line.h"
#include "brennock/values/currency.h"

namespace brennock {

// A general-journal entry: dated debits and credits against accounts that must balance. The
// library checks the balance and each line before anything is sent. A new entry sends its debit
// lines first, then its credit lines; the memo of the entry itself is kept, not sent.
class JournalEntry final : public TxnRecordCore, public DataExtensionCarrier<JournalEntry> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeJournalEntry;
  JournalEntry();

  const std::string& Memo() const noexcept { return memo_; }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  std::shared_ptr<JournalEntryLines> Lines() const { return lines_; }
  // The debit lines' amounts less the credit lines': 0 when the entry balances.
  Currency RemainingAmount() const noexcept;
  // As QuickBooks answered.
  float ExchangeRate() const noexcept { return exchangeRate_; }

  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;
  void BeforeRead() override;

 private:
  static void ReadDebit(qcBase& record, const FieldElement& element);
  static void ReadCredit(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static bool LinesPending(const qcBase& record);

  std::string memo_;
  std::shared_ptr<JournalEntryLines> lines_;
  float exchangeRate_ = 0;
};

// The company's journal entries, and any set of them a client queries.
class JournalEntries final : public TypedTxnCollection<JournalEntry> {
 public:
  JournalEntries() = default;

  // A new entry taking each value given through its setter. Master collection only.
  std::shared_ptr<JournalEntry> Add(Date TxnDate = {}, const std::string& RefNumber = {},
                                    const std::string& Memo = {});

  // The entries with a line on Account (and its subaccounts) naming Entity (and its jobs).
  int32_t GetByAccountAndEntity(const std::string& Account, bool AccountWithChildren,
                                const std::string& Entity, bool EntityWithChildren,
                                bool IncludeLineItems = true, int32_t MaxReturned = 0,
                                const std::string& sMDBPath = {});
  // Commits every member, as Commit without a member.
  int32_t CommitAll() { return Commit(nullptr); }

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
  using TxnCollectionCore::Void;
};

}  // namespace brennock
