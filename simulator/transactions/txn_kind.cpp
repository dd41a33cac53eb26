#include "simulator/transactions/txn_kind.h"

#include <algorithm>
#include <string>
#include <vector>

namespace brennock::simulator {
namespace {

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::span<const std::string_view> RequestEnum(std::string_view request, std::string_view element) {
  const qbxml::Aggregate* rq = qbxml::FindAggregate(request);
  const qbxml::Element* e = rq ? qbxml::FindElement(*rq, element) : nullptr;
  return e ? qbxml::EnumValues(*e) : std::span<const std::string_view>{};
}

const std::vector<TxnKind>& Kinds() {
  static const std::vector<TxnKind> kinds = [] {
    std::vector<std::string_view> stems;
    auto deletable = RequestEnum("TxnDelRq", "TxnDelType");
    auto voidable = RequestEnum("TxnVoidRq", "TxnVoidType");
    for (auto list : {deletable, voidable})
      for (auto stem : list)
        if (std::find(stems.begin(), stems.end(), stem) == stems.end()) stems.push_back(stem);
    std::vector<TxnKind> out;
    for (auto stem : stems) {
      const qbxml::Aggregate* ret = qbxml::FindAggregate(std::string(stem) + "Ret");
      if (!ret) continue;
      TxnKind k;
      k.stem = stem;
      k.ret = ret->name;
      k.shape = ret->elements;
      if (qbxml::FindAggregate(std::string(stem) + "AddRq"))
        k.add = qbxml::FindAggregate(std::string(stem) + "Add");
      if (qbxml::FindAggregate(std::string(stem) + "ModRq"))
        k.mod = qbxml::FindAggregate(std::string(stem) + "Mod");
      k.can_query = qbxml::FindAggregate(std::string(stem) + "QueryRq") != nullptr;
      k.can_delete = std::find(deletable.begin(), deletable.end(), stem) != deletable.end();
      k.can_void = std::find(voidable.begin(), voidable.end(), stem) != voidable.end();
      out.push_back(k);
    }
    return out;
  }();
  return kinds;
}

}  // namespace

int TxnKind::field_index(std::string_view field) const {
  for (size_t i = 0; i < shape.size(); ++i)
    if (shape[i].name == field) return static_cast<int>(i);
  return -1;
}

bool TxnKind::is_line(const qbxml::Element& e) const {
  if (e.type != qbxml::ValueType::kAggregate) return false;
  std::string_view n = e.name;
  return (n.starts_with(stem) && (EndsWith(n, "LineRet") || EndsWith(n, "LineGroupRet"))) ||
         n == "ItemLineRet" || n == "ItemGroupLineRet" || n == "ExpenseLineRet" ||
         n == "JournalDebitLine" || n == "JournalCreditLine";
}

bool IsGroupLine(std::string_view ret_name) {
  return EndsWith(ret_name, "LineGroupRet") || ret_name == "ItemGroupLineRet";
}

std::span<const TxnKind> AllTxnKinds() { return Kinds(); }

const TxnKind* FindTxnKind(std::string_view stem) {
  for (const auto& k : Kinds())
    if (k.stem == stem) return &k;
  return nullptr;
}

}  // namespace brennock::simulator
