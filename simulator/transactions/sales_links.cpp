#include "simulator/transactions/sales_links.h"

#include <algorithm>
#include <unordered_map>

#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

bool Billable(const TxnKind& kind) { return kind.stem == "Estimate" || kind.stem == "SalesOrder"; }

class Linker {
 public:
  Linker(TxnStore& store, TxnRecord& txn) : store_(store), txn_(txn) {}

  Status LinkLine(TxnLine& line, LineInput& input);
  Status LinkWhole(std::string_view txn_id, std::vector<LineInput>& inputs);

 private:
  // The linked transaction, checked once: the same customer's estimate or open sales order.
  Status Source(std::string_view txn_id, const TxnRecord*& out);
  // Copies what the billing line leaves out from the billed line.
  void Fill(TxnLine& line, LineInput& input, const TxnRecord& source, const TxnLine& billed,
            const qbxml::Aggregate& billed_shape);
  Status Refuse(std::string why) { return MakeStatus(kTxnCannotSave, {txn_.kind->stem, why}); }

  TxnStore& store_;
  TxnRecord& txn_;
  std::unordered_map<std::string, TxnRecord> sources_;
};

Status Linker::Source(std::string_view txn_id, const TxnRecord*& out) {
  std::string id(Trim(txn_id));
  if (auto it = sources_.find(id); it != sources_.end()) {
    out = &it->second;
    return {};
  }
  auto found = store_.LoadById(id);
  if (!found) return MakeStatus(kObjectNotFound, {id});
  std::string ref = found->ref_number.empty() ? id : found->ref_number;
  if (!Billable(*found->kind))
    return Refuse("The " + std::string(found->kind->stem) + " \"" + ref +
                  "\" is neither an estimate nor a sales order.");
  if (found->entity_id != RefId(txn_.Field("CustomerRef")))
    return Refuse("The " + std::string(found->kind->stem) + " \"" + ref +
                  "\" is for another customer.");
  if (found->Field("IsManuallyClosed") == "true" || found->Field("IsActive") == "false")
    return Refuse("The " + std::string(found->kind->stem) + " \"" + ref + "\" is closed.");
  out = &sources_.emplace(id, std::move(*found)).first->second;
  return {};
}

void Linker::Fill(TxnLine& line, LineInput& input, const TxnRecord& source, const TxnLine& billed,
                  const qbxml::Aggregate& billed_shape) {
  const qbxml::Aggregate& shape = line.Shape(*txn_.kind);
  auto copy = [&](std::string_view name) {
    std::string_view value = LineField(billed, billed_shape, name);
    if (!value.empty() && LineField(line, shape, name).empty())
      SetLineField(line, shape, name, std::string(value));
  };
  const bool priced = !LineField(line, shape, "Rate").empty() ||
                      !LineField(line, shape, "RatePercent").empty() || input.amount_given;
  for (auto name : {"ItemRef", "Desc", "ClassRef", "SalesTaxCodeRef", "ServiceDate"}) copy(name);
  if (!priced) {
    copy("Rate");
    copy("RatePercent");
    // A line priced by its amount alone is billed at that amount.
    if (LineField(billed, billed_shape, "Rate").empty() &&
        LineField(billed, billed_shape, "RatePercent").empty()) {
      copy("Amount");
      input.amount_given = !LineField(line, shape, "Amount").empty();
    }
  }
  std::string_view ordered = LineField(billed, billed_shape, "Quantity");
  if (LineField(line, shape, "Quantity").empty() && !ordered.empty()) {
    // What is left to bill: the quantity less what other lines have billed of it.
    auto it = store_.links().Billed(source.txn_id).find(billed.line_id);
    int64_t done = it == store_.links().Billed(source.txn_id).end() ? 0 : it->second;
    int64_t left = std::max<int64_t>(ParseQuantity(ordered).value_or(0) - done, 0);
    SetLineField(line, shape, "Quantity", FormatQuantity(left));
  }
  SetFieldAt(line.fields, kLineLinkField, source.txn_id + kRefSeparator + billed.line_id);
  input.pricing_changed = true;
}

Status Linker::LinkLine(TxnLine& line, LineInput& input) {
  pugi::xml_node link = input.source.child("LinkToTxn");
  if (!link) return {};
  const TxnRecord* source = nullptr;
  Status status = Source(link.child_value("TxnID"), source);
  if (!status.ok()) return status;
  std::string line_id(Trim(link.child_value("TxnLineID")));
  for (const auto& billed : source->lines) {
    const qbxml::Aggregate& shape = billed.Shape(*source->kind);
    if (billed.line_id == line_id && billed.members.empty()) {
      Fill(line, input, *source, billed, shape);
      return {};
    }
    for (const auto& m : billed.members)
      if (m.line_id == line_id) {
        Fill(line, input, *source, m, *qbxml::Nested(shape.elements[m.element]));
        return {};
      }
  }
  return MakeStatus(kObjectNotFound, {line_id});
}

Status Linker::LinkWhole(std::string_view txn_id, std::vector<LineInput>& inputs) {
  const TxnRecord* source = nullptr;
  Status status = Source(txn_id, source);
  if (!status.ok()) return status;
  const int element = txn_.Index(std::string(txn_.kind->stem) + "LineRet");
  if (element < 0) return Refuse("This form takes no linked lines.");
  auto bill = [&](const TxnLine& billed, const qbxml::Aggregate& shape) {
    if (LineField(billed, shape, "ItemRef").empty()) return;
    if (LineField(billed, shape, "IsManuallyClosed") == "true") return;
    std::string_view ordered = LineField(billed, shape, "Quantity");
    auto done = store_.links().Billed(source->txn_id).find(billed.line_id);
    if (!ordered.empty() && done != store_.links().Billed(source->txn_id).end() &&
        done->second >= ParseQuantity(ordered).value_or(0))
      return;  // billed in full already
    TxnLine line;
    line.element = static_cast<uint16_t>(element);
    LineInput input;
    Fill(line, input, *source, billed, shape);
    txn_.lines.push_back(std::move(line));
    inputs.push_back(std::move(input));
  };
  for (const auto& billed : source->lines) {
    const qbxml::Aggregate& shape = billed.Shape(*source->kind);
    if (billed.members.empty()) {
      bill(billed, shape);
      continue;
    }
    for (const auto& m : billed.members) bill(m, *qbxml::Nested(shape.elements[m.element]));
  }
  return {};
}

}  // namespace

Status LinkSalesLines(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) {
  Linker linker(store, txn);
  for (size_t i = 0; i < txn.lines.size() && i < inputs.size(); ++i) {
    if (!inputs[i].source) continue;
    Status status = linker.LinkLine(txn.lines[i], inputs[i]);
    if (!status.ok()) return status;
  }
  if (pugi::xml_node request = store.request())
    for (auto id : request.children("LinkToTxnID")) {
      Status status = linker.LinkWhole(id.text().get(), inputs);
      if (!status.ok()) return status;
    }
  return {};
}

}  // namespace brennock::simulator
