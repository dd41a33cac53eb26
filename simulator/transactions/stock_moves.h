#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

#include "simulator/ledger/ledger.h"
#include "simulator/transactions/item_facts.h"

namespace brennock::simulator {

// The stock of items as one transaction's postings move it, line by line: the quantity on hand and
// value the ledger has, then each move of the lines before. Every transaction that moves stock
// (sales, receipts, adjustments, builds) costs its moves here, so an item's average cost, its
// value over its quantity, has one rule.
class StockMoves {
 public:
  explicit StockMoves(Ledger& ledger) : ledger_(ledger) {}

  // The cost of quantity units taken out (a negative quantity puts units back at the same
  // cost): the stock's value over its quantity (all of the value with the last units), rounded
  // to the cent half away from zero; at the purchase cost when nothing is on hand.
  int64_t Take(const ItemFacts& item, int64_t quantity);
  // Units coming in at a value (received, built, adjusted): the average cost follows.
  void Receive(const ItemFacts& item, int64_t quantity, int64_t value);
  // Quantity on hand and value as the moves so far leave them.
  std::pair<int64_t, int64_t> OnHand(const ItemFacts& item);

 private:
  std::pair<int64_t, int64_t>& Stock(const ItemFacts& item);

  Ledger& ledger_;
  std::unordered_map<std::string, std::pair<int64_t, int64_t>> stock_;
};

}  // namespace brennock::simulator
