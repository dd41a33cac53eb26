#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// Time worked (TimeTracking): posts nothing. The person is an employee, vendor or other name; the
// duration is kept as QuickBooks answers it, hours and minutes ("PT1H30M"); time for a customer
// is billable unless told otherwise.
class TimeTrackingRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

// "PT1H30M", "PT90M", "PT1H29M45S" and the like as whole minutes; nullopt for anything else.
std::optional<int64_t> DurationMinutes(std::string_view text);

}  // namespace brennock::simulator
