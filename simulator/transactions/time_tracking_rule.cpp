#include "simulator/transactions/time_tracking_rule.h"

#include "simulator/clock.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {

std::optional<int64_t> DurationMinutes(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (!text.starts_with("PT") || text.size() == 2) return std::nullopt;
  text.remove_prefix(2);
  int64_t seconds = 0, number = 0;
  bool digits = false;
  const char* units = "HMS";
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (number > 1'000'000'000) return std::nullopt;
      number = number * 10 + (c - '0');
      digits = true;
      continue;
    }
    // Each of H, M and S at most once and in that order, after a number.
    const char* at = units;
    while (*at && *at != c) ++at;
    if (!*at || !digits) return std::nullopt;
    units = at + 1;
    seconds += number * (c == 'H' ? 3600 : c == 'M' ? 60 : 1);
    number = 0;
    digits = false;
  }
  if (digits) return std::nullopt;
  return (seconds + 30) / 60;  // to the nearest minute
}

Status TimeTrackingRule::Complete(TxnStore& store, TxnRecord& txn,
                                  std::vector<LineInput>& inputs) const {
  (void)inputs;
  std::string_view stem = txn.kind->stem;
  std::string_view entity_ref = txn.Field("EntityRef");
  auto entity = store.lists().LoadById(RefId(entity_ref));
  if (!entity || entity->type->name == "Customer")
    return MakeStatus(kInvalidReference, {"Entity", RefName(entity_ref), stem});
  if (txn.Field("TxnDate").empty()) txn.SetField("TxnDate", FormatDate(Now()));
  std::string_view duration = txn.Field("Duration");
  auto minutes = duration.empty() ? std::optional<int64_t>(0) : DurationMinutes(duration);
  if (!minutes) return MakeStatus(kConversionError, {"time interval", duration, "Duration"});
  txn.SetField("Duration",
               "PT" + std::to_string(*minutes / 60) + "H" + std::to_string(*minutes % 60) + "M");
  if (txn.Field("BillableStatus").empty())
    txn.SetField("BillableStatus", txn.Field("CustomerRef").empty() ? "NotBillable" : "Billable");
  if (txn.Field("BillableStatus") != "NotBillable" && txn.Field("CustomerRef").empty())
    return RefuseTxn(txn, "Billable time needs the customer it is billed to.");
  return {};
}

std::vector<Posting> TimeTrackingRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  (void)store, (void)txn;
  return {};
}

bool TimeTrackingRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                       std::string_view element, std::string& out) const {
  (void)store, (void)txn, (void)element, (void)out;
  return false;
}

}  // namespace brennock::simulator
