#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "simulator/lists/list_store.h"
#include "simulator/transactions/txn_record.h"

namespace brennock::simulator {

// Adds a transaction through the same path an AddRq takes (the text is the inside of the Add).
using SampleTxnAdder = std::function<TxnRecord(std::string_view stem, const std::string& inner)>;

// A year of buying for the sample business, up to the day the file is made, month by month: stock
// ordered from a supplier, received against the order (now and then in part) and billed from the
// receipt with its freight, the bills paid by check or on the company card (the last month's
// still open); a subcontractor's bill paid by check; rent by check and utilities on the card; a
// return to a supplier credited against the next payment; time worked for customers; assembly
// builds, a stock count's adjustment each quarter and month-end depreciation entries. below(n)
// draws from the sample's own random sequence, so a seed always gives the same year.
void AddSamplePurchasing(ListStore& lists, const SampleTxnAdder& add,
                         const std::function<size_t(size_t)>& below);

}  // namespace brennock::simulator
