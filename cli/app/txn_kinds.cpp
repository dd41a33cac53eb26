#include "cli/app/txn_kinds.h"

#include <algorithm>
#include <array>

#include "brennock/qbxml/catalogue.h"

namespace brennock::cli {
namespace {

constexpr std::array<TxnWords, 1> kTxnWords = {{
    {"invoice", "Invoice", "invoice", "CustomerRef",
     "RefNumber,TxnDate,CustomerRef,DueDate,Subtotal,SalesTaxTotal,BalanceRemaining,IsPaid"},
}};

bool InRequestEnum(std::string_view request, std::string_view element, std::string_view value) {
  const qbxml::Aggregate* rq = qbxml::FindAggregate(request);
  const qbxml::Element* e = rq ? qbxml::FindElement(*rq, element) : nullptr;
  if (!e) return false;
  auto values = qbxml::EnumValues(*e);
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

const TxnWords* FindTxnWords(std::string_view command) {
  for (const auto& words : kTxnWords)
    if (words.command == command) return &words;
  return nullptr;
}

std::string TxnCommandWords() {
  std::string out;
  for (const auto& words : kTxnWords) {
    if (!out.empty()) out += ", ";
    out += words.command;
  }
  return out;
}

bool CanDeleteTxn(const TxnWords& words) {
  return InRequestEnum("TxnDelRq", "TxnDelType", words.stem);
}

bool CanVoidTxn(const TxnWords& words) {
  return InRequestEnum("TxnVoidRq", "TxnVoidType", words.stem);
}

}  // namespace brennock::cli
