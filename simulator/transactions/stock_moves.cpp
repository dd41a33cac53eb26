#include "simulator/transactions/stock_moves.h"

#include <algorithm>

#include "simulator/ledger/stock_figures.h"

namespace brennock::simulator {

std::pair<int64_t, int64_t>& StockMoves::Stock(const ItemFacts& item) {
  auto it = stock_.find(item.list_id);
  if (it == stock_.end()) {
    Ledger::Totals t = ledger_.Of(item.list_id);
    it = stock_.emplace(item.list_id, std::pair{t.quantity, t.balance}).first;
  }
  return it->second;
}

std::pair<int64_t, int64_t> StockMoves::OnHand(const ItemFacts& item) { return Stock(item); }

int64_t StockMoves::Take(const ItemFacts& item, int64_t quantity) {
  auto& [on_hand, value] = Stock(item);
  int64_t cost = 0;
  if (on_hand > 0 && quantity == on_hand)
    cost = value;
  else if (on_hand > 0)  // bounded, so a hostile quantity cannot overflow the books
    cost = RoundedDivide(std::clamp(__int128{value} * quantity, -__int128{kMaxCents} * on_hand,
                                    __int128{kMaxCents} * on_hand),
                         on_hand);
  else
    cost = Amount(quantity, item.purchase_cost.empty() ? "0" : item.purchase_cost).value_or(0);
  on_hand -= quantity;
  value -= cost;
  return cost;
}

void StockMoves::Receive(const ItemFacts& item, int64_t quantity, int64_t value) {
  auto& stock = Stock(item);
  stock.first += quantity;
  stock.second += value;
}

}  // namespace brennock::simulator
