#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// A general journal entry: debit and credit lines on any posting account, which must balance, as
// QuickBooks refuses an entry that does not. A line on accounts receivable names a customer and
// one on accounts payable a vendor (QuickBooks' rules), and stays open under the entry's TxnID
// like an invoice or bill. Entries are numbered unless told otherwise.
class JournalEntryRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
