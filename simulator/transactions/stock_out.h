#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

#include "simulator/ledger/ledger.h"
#include "simulator/transactions/item_facts.h"

namespace brennock::simulator {

// The average cost of what a transaction takes out of stock (or, with a negative quantity,
// brings back), item by item, as its lines go.
class StockOut {
 public:
  explicit StockOut(Ledger& ledger) : ledger_(ledger) {}
  // The cost of quantity units: the stock's value over its quantity (all of the value for the
  // last units), rounded to the cent half away from zero; at the purchase cost when nothing is
  // on hand.
  int64_t Take(const ItemFacts& item, int64_t quantity);

 private:
  Ledger& ledger_;
  std::unordered_map<std::string, std::pair<int64_t, int64_t>> stock_;  // quantity, value
};

}  // namespace brennock::simulator
