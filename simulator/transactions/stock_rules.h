#pragma once

#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// An inventory adjustment: each line changes an inventory part's or assembly's quantity (at its
// average cost) or value (QuantityAdjustment, ValueAdjustment; a Mod's QuantityDifference and
// ValueDifference) against the adjustment account (AccountRef). The differences are figured
// when it is saved and kept with its lines.
class InventoryAdjustmentRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

// An assembly build: the components leave stock at their average cost and the assembly's
// quantity and value rise by as much. A build the components on hand do not cover is pending
// (IsPending, when MarkPendingIfRequired asks for it; refused otherwise) and posts nothing until
// a Mod with RemovePending builds it.
class BuildAssemblyRule final : public TxnRule {
 public:
  Status Complete(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) const override;
  std::vector<Posting> Postings(TxnStore& store, const TxnRecord& txn) const override;
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

}  // namespace brennock::simulator
