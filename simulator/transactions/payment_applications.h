#pragma once

#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "simulator/ledger/ledger.h"
#include "simulator/status_codes.h"
#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

class TxnStore;

// A credit (a credit memo, or a payment's unused part) applied to a receivable through SetCredit.
struct AppliedCredit {
  std::string txn_id;
  int64_t amount = 0;  // cents
};

// Part of a customer payment applied to one receivable (an invoice or statement charge): the
// payment amount, a discount booked to its account, and credits applied along with it.
struct Application {
  std::string txn_id;
  int64_t amount = 0;  // cents
  int64_t discount = 0;
  std::string discount_account;  // stored references, "ListID<US>FullName"
  std::string discount_class;
  std::vector<AppliedCredit> credits;

  int64_t Settled() const;  // what it takes off the receivable's open balance
};

// A payment's applications as it keeps them (in its AppliedToTxnRet field), and back.
std::vector<Application> StoredApplications(const TxnRecord& payment);
void StoreApplications(TxnRecord& payment, const std::vector<Application>& applications);

// The AppliedToTxnAdd (or AppliedToTxnMod) aggregates of a request; false when there are none.
// A bad amount or reference is refused with its status.
bool ReadApplications(TxnStore& store, const TxnRecord& payment, pugi::xml_node request,
                      std::vector<Application>& out, Status& status);

// QuickBooks' automatic application of a payment: to the customer's open receivable whose
// balance is the payment's amount, else to the oldest ones first until the money runs out.
std::vector<Application> AutoApply(TxnStore& store, const TxnRecord& payment, int64_t total);

// Checks applications against the books as QuickBooks does: each names an open receivable of the
// customer (or a job of it) in the payment's accounts receivable (3120 otherwise), once; pays no
// more than it has open and uses no more credit than is left (what the payment itself applied
// before a change counts as open again); a discount has an income or expense account; and all
// of it together is no more than the payment's total.
Status CheckApplications(TxnStore& store, const TxnRecord& payment,
                         const std::vector<Application>& applications, int64_t total);

// The applications' postings in accounts receivable (each receivable credited for what it
// settles, each credit debited for what it gives) and discounts (debited to their account).
// Returns the payment amounts applied.
int64_t PostApplications(TxnStore& store, const TxnRecord& payment,
                         const std::vector<Application>& applications, std::vector<Posting>& out);

// The AppliedToTxnRet elements: each receivable with its balance as the books have it now.
void WriteApplications(TxnStore& store, const TxnRecord& payment, std::string& out);

}  // namespace brennock::simulator
