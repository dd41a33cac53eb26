#include "simulator/transactions/sales_form.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <unordered_map>

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/form_templates.h"
#include "simulator/transactions/group_lines.h"
#include "simulator/transactions/item_facts.h"
#include "simulator/transactions/receivables.h"
#include "simulator/transactions/stock_moves.h"
#include "simulator/transactions/term_dates.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

// The figures one pass over the lines keeps (the order of lines matters: a percentage applies to
// the line before it, a subtotal adds the lines since the last subtotal).
struct Running {
  int64_t total = 0;    // every line but subtotals
  int64_t taxable = 0;  // lines whose tax code is taxable
  int64_t since_subtotal = 0;
  int64_t previous = 0;  // the amount of the line before
  bool previous_taxable = false;
};

// Everything one sales transaction is completed with.
class SalesForm {
 public:
  SalesForm(TxnStore& store, TxnRecord& txn) : store_(store), txn_(txn), items_(store.items()) {}

  Status Complete(std::vector<LineInput>& inputs);

 private:
  Status Header();
  Status Line(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input, Running& run);
  Status GroupLine(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input, Running& run);
  std::string Inherited(std::string_view field);
  bool Taxable(std::string_view code_ref);
  std::string LineTaxCode(const ItemFacts& item);
  Status Refuse(std::string why) {
    return MakeStatus(txn_.txn_id.empty() ? kTxnCannotSave : kTxnCannotModify,
                      {txn_.kind->stem, why});
  }

  TxnStore& store_;
  TxnRecord& txn_;
  ItemCatalog& items_;
  std::optional<ListRecord> customer_;
};

std::string SalesForm::Inherited(std::string_view field) {
  // A job without a value of its own takes its customer's.
  std::optional<ListRecord> at = customer_;
  for (int guard = 0; at && guard < 100; ++guard) {
    if (auto v = at->Field(field); !v.empty()) return std::string(v);
    if (at->parent_id.empty()) break;
    at = store_.lists().LoadById(at->parent_id);
  }
  return {};
}

bool SalesForm::Taxable(std::string_view code_ref) {
  std::string id(RefId(code_ref));
  if (id.empty()) return false;
  // Kept with the session's list facts: a few codes serve every line of every form.
  struct TaxableCodes : std::unordered_map<std::string, bool> {};
  auto& known = store_.company().facts().Get<TaxableCodes>();
  auto it = known.find(id);
  if (it != known.end()) return it->second;
  auto code = store_.lists().LoadById(id);
  bool taxable = code && code->Field("IsTaxable") == "true";
  store_.company().facts().Get<TaxableCodes>().emplace(id, taxable);
  return taxable;
}

// QuickBooks' choice of a line's tax code: the item's, unless the customer's says otherwise (a
// customer with a non-taxable code makes every line non-taxable; without one the item decides).
std::string SalesForm::LineTaxCode(const ItemFacts& item) {
  std::string customer(txn_.Field("CustomerSalesTaxCodeRef"));
  if (item.tax_code_ref.empty()) return customer;
  if (Taxable(item.tax_code_ref)) return customer.empty() ? item.tax_code_ref : customer;
  return !customer.empty() && !Taxable(customer) ? customer : item.tax_code_ref;
}

Status SalesForm::Header() {
  const bool fresh = txn_.txn_id.empty();
  const TxnKind& kind = *txn_.kind;
  std::string_view stem = kind.stem;
  Status status;
  // A sales receipt may be a cash sale to nobody in particular; every other form names its
  // customer.
  const qbxml::Element* customer_field =
      kind.add ? qbxml::FindElement(*kind.add, "CustomerRef") : nullptr;
  const bool customer_optional = customer_field && (customer_field->flags & qbxml::kOptional);
  std::string_view customer_ref = txn_.Field("CustomerRef");
  if (!customer_ref.empty() || !customer_optional) {
    customer_ = store_.lists().LoadById(RefId(customer_ref));
    if (!customer_) return MakeStatus(kInvalidReference, {"Customer:Job", "", stem});
  }
  ListStore& lists = store_.lists();
  if (txn_.Field("TxnDate").empty()) txn_.SetField("TxnDate", FormatDate(Now()));
  if (txn_.Index("ARAccountRef") >= 0) {
    status = SettleReceivableAccount(store_, txn_);
    if (!status.ok()) return status;
  }
  if (!fresh) return status;
  if (txn_.Index("TemplateRef") >= 0 && txn_.Field("TemplateRef").empty()) {
    if (std::string form = DefaultTemplateRef(store_.company(), stem); !form.empty())
      txn_.SetField("TemplateRef", form);
  }
  if (customer_) {
    for (auto [field, from] :
         {std::pair{"BillAddress", "BillAddress"}, std::pair{"ShipAddress", "ShipAddress"},
          std::pair{"TermsRef", "TermsRef"}, std::pair{"SalesRepRef", "SalesRepRef"},
          std::pair{"ItemSalesTaxRef", "ItemSalesTaxRef"},
          std::pair{"CustomerSalesTaxCodeRef", "SalesTaxCodeRef"}}) {
      if (txn_.Index(field) < 0 || !txn_.Field(field).empty()) continue;
      if (std::string value = Inherited(from); !value.empty()) txn_.SetField(field, value);
    }
  }
  if (txn_.Index("ItemSalesTaxRef") >= 0 && txn_.Field("ItemSalesTaxRef").empty()) {
    // The company's default sales tax item.
    std::string name =
        store_.company().SettingOr("pref.SalesTaxPreferences.DefaultItemSalesTaxRef", "");
    for (auto kind_name : {"ItemSalesTax", "ItemSalesTaxGroup"})
      if (auto tax =
              name.empty() ? std::nullopt : lists.LoadByFullName(*FindListType(kind_name), name)) {
        txn_.SetField("ItemSalesTaxRef", tax->list_id + kRefSeparator + tax->full_name);
        break;
      }
  }
  for (auto flag :
       {"IsPending", "IsFinanceCharge", "IsToBePrinted", "IsToBeEmailed", "IsManuallyClosed"})
    if (txn_.Index(flag) >= 0 && txn_.Field(flag).empty()) txn_.SetField(flag, "false");
  if (txn_.Index("IsActive") >= 0 && txn_.Field("IsActive").empty())
    txn_.SetField("IsActive", "true");
  std::string date(txn_.Field("TxnDate"));
  // The due date follows the terms (QuickBooks' rules of standard and date-driven terms); without
  // terms the form is due on its date. It ships on its date unless told otherwise.
  TermDates terms = DatesOfTerms(lists, txn_.Field("TermsRef"), date);
  if (txn_.Index("DueDate") >= 0 && txn_.Field("DueDate").empty())
    txn_.SetField("DueDate", terms.due);
  if (txn_.Index("ShipDate") >= 0 && txn_.Field("ShipDate").empty())
    txn_.SetField("ShipDate", date);
  if (!terms.discount_percent.empty() && txn_.Index("SuggestedDiscountDate") >= 0) {
    if (!terms.discount_date.empty()) txn_.SetField("SuggestedDiscountDate", terms.discount_date);
    // The percent, until the totals are known.
    txn_.SetField("SuggestedDiscountAmount", terms.discount_percent);
  }
  if (txn_.Index("RefNumber") >= 0 && txn_.Field("RefNumber").empty()) {
    txn_.SetField("RefNumber", store_.NextRefNumber());
  }
  return status;
}

Status SalesForm::Line(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input,
                       Running& run) {
  std::string_view item_ref = LineField(line, shape, "ItemRef");
  const ItemFacts* item = item_ref.empty() ? nullptr : items_.Find(RefId(item_ref));
  if (!item_ref.empty() && !item)
    return MakeStatus(kInvalidReference, {"Item", RefName(item_ref), txn_.kind->stem});
  std::string_view kind = item ? std::string_view(item->kind) : std::string_view();
  if (kind == "ItemGroup")
    return Refuse("The item group \"" + std::string(RefName(item_ref)) +
                  "\" goes in a group line.");
  const bool discount = kind == "ItemDiscount", subtotal = kind == "ItemSubtotal",
             payment = kind == "ItemPayment",
             tax = kind == "ItemSalesTax" || kind == "ItemSalesTaxGroup";
  if (item && input.new_line) {
    if (LineField(line, shape, "Desc").empty() && !item->sales_desc.empty())
      SetLineField(line, shape, "Desc", item->sales_desc);
    bool priced =
        !LineField(line, shape, "Rate").empty() || !LineField(line, shape, "RatePercent").empty();
    if (!priced && !input.amount_given && !subtotal) {
      if (kind == "ItemSalesTaxGroup")
        SetLineField(line, shape, "RatePercent", items_.TaxRate(*item));
      else if (!item->percent.empty())
        SetLineField(line, shape, "RatePercent", item->percent);
      else if (!item->price.empty())
        SetLineField(line, shape, "Rate", item->price);
    }
    if (LineField(line, shape, "SalesTaxCodeRef").empty() && !subtotal && !tax && !payment &&
        kind != "ItemFixedAsset") {
      std::string code = LineTaxCode(*item);
      if (!code.empty()) SetLineField(line, shape, "SalesTaxCodeRef", code);
    }
  }
  if (input.new_line && LineIndex(shape, "IsManuallyClosed") >= 0 &&
      LineField(line, shape, "IsManuallyClosed").empty())
    SetLineField(line, shape, "IsManuallyClosed", "false");
  std::optional<int64_t> computed = 0;
  std::string_view rate = LineField(line, shape, "Rate");
  std::string_view percent = LineField(line, shape, "RatePercent");
  // A subtotal or percentage follows the lines before it; a line the request leaves alone keeps
  // its amount; otherwise quantity times rate.
  if (input.amount_given) {
    computed = ParseCents(LineField(line, shape, "Amount"));
  } else if (subtotal) {
    computed = run.since_subtotal;
  } else if (!percent.empty()) {
    int64_t base = tax ? (run.previous_taxable ? run.previous : 0) : run.previous;
    computed = PercentOf(base, percent);
    if (computed && discount && *computed > 0) computed = -*computed;
  } else if (!input.new_line && !input.pricing_changed) {
    computed = ParseCents(LineField(line, shape, "Amount"));
  } else if (!rate.empty()) {
    std::string_view quantity = LineField(line, shape, "Quantity");
    auto units = ParseQuantity(quantity.empty() ? "1" : quantity);
    computed = units ? Amount(*units, rate) : std::nullopt;
    if (computed && (discount || payment) && *computed > 0) computed = -*computed;
  }
  const int64_t amount = computed.value_or(0);
  if (!computed || amount > kMaxCents - run.total || amount < -kMaxCents - run.total)
    return Refuse("The amount of a line is more than QuickBooks can keep.");
  if (amount != 0 && !item) return Refuse("Transaction lines with amounts must have items.");
  if (item || input.amount_given || LineIndex(shape, "Amount") >= 0)
    SetLineField(line, shape, "Amount", FormatCents(amount));
  if (subtotal) {
    run.since_subtotal = 0;
    run.previous = amount;
    run.previous_taxable = run.taxable != 0;
    return {};
  }
  bool taxable = !tax && Taxable(LineField(line, shape, "SalesTaxCodeRef"));
  run.total += amount;
  run.since_subtotal += amount;
  if (taxable) run.taxable += amount;
  run.previous = amount;
  run.previous_taxable = taxable;
  return {};
}

Status SalesForm::GroupLine(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input,
                            Running& run) {
  std::string_view group_ref = LineField(line, shape, "ItemGroupRef");
  const ItemFacts* group = items_.Find(RefId(group_ref));
  if (!group || group->kind != "ItemGroup")
    return MakeStatus(kInvalidReference, {"ItemGroup", RefName(group_ref), txn_.kind->stem});
  int member_element = MemberElement(shape);
  if (member_element < 0) return Refuse("A group line of this form has no member lines.");
  const qbxml::Aggregate& member_shape = *qbxml::Nested(shape.elements[member_element]);
  if (input.new_line && LineField(line, shape, "Desc").empty() && !group->sales_desc.empty())
    SetLineField(line, shape, "Desc", group->sales_desc);
  SetLineField(line, shape, "IsPrintItemsInGroup", group->print_items_in_group ? "true" : "false");
  if (input.expand) ExpandGroup(*group, shape, line, input);
  Running inner;
  for (size_t i = 0; i < line.members.size(); ++i) {
    if (input.members.size() <= i) input.members.push_back(LineInput::Kept());
    Status s = Line(line.members[i], member_shape, input.members[i], inner);
    if (!s.ok()) return s;
  }
  SetLineField(line, shape, "TotalAmount", FormatCents(inner.total));
  run.total += inner.total;
  run.since_subtotal += inner.total;
  run.taxable += inner.taxable;
  run.previous = inner.total;
  run.previous_taxable = inner.taxable != 0;
  return {};
}

Status SalesForm::Complete(std::vector<LineInput>& inputs) {
  Status status = Header();
  if (!status.ok()) return status;
  Running run;
  for (size_t i = 0; i < txn_.lines.size(); ++i) {
    TxnLine& line = txn_.lines[i];
    const qbxml::Aggregate& shape = line.Shape(*txn_.kind);
    status = IsGroupLine(shape.name) ? GroupLine(line, shape, inputs[i], run)
                                     : Line(line, shape, inputs[i], run);
    if (!status.ok()) return status;
  }
  txn_.SetField("Subtotal", FormatCents(run.total));
  // Sales tax: the tax item's (or group's summed) rate on the taxable lines, rounded to the cent
  // half away from zero; nothing for a customer whose tax code is not taxable.
  std::string rate = "0.00";
  int64_t tax = 0;
  if (auto ref = txn_.Field("ItemSalesTaxRef"); !ref.empty()) {
    if (const ItemFacts* item = items_.Find(RefId(ref))) rate = items_.TaxRate(*item);
    std::string_view code = txn_.Field("CustomerSalesTaxCodeRef");
    if (code.empty() || Taxable(code)) tax = PercentOf(run.taxable, rate).value_or(0);
  }
  txn_.SetField("SalesTaxPercentage", rate);
  txn_.SetField("SalesTaxTotal", FormatCents(tax));
  txn_.SetField("TotalAmount", FormatCents(run.total + tax));
  if (auto percent = txn_.Field("SuggestedDiscountAmount"); !percent.empty() && txn_.txn_id.empty())
    txn_.SetField("SuggestedDiscountAmount",
                  FormatCents(PercentOf(run.total, percent).value_or(0)));
  return status;
}

void PostLine(TxnStore& store, const TxnRecord& txn, const TxnLine& line,
              const qbxml::Aggregate& shape, int sign, StockMoves& stock,
              std::vector<Posting>& out) {
  if (!line.members.empty()) {
    for (const auto& m : line.members)
      PostLine(store, txn, m, *qbxml::Nested(shape.elements[m.element]), sign, stock, out);
    return;
  }
  ItemCatalog& items = store.items();
  const ItemFacts* item = items.Find(RefId(LineField(line, shape, "ItemRef")));
  if (!item || item->kind == "ItemSubtotal") return;
  int64_t amount = sign * ParseCents(LineField(line, shape, "Amount")).value_or(0);
  std::string customer = txn.entity_id;
  if (item->kind == "ItemSalesTax" || item->kind == "ItemSalesTaxGroup") {
    // A tax line is owed to the tax agency (a group's to its first item's).
    const ItemFacts* agency = item;
    if (!item->tax_members.empty()) agency = items.Find(item->tax_members.front());
    out.push_back(Posting::To(store.lists().SpecialAccount("SalesTaxPayable"), -amount)
                      .Against(agency ? agency->tax_vendor : std::string()));
    return;
  }
  std::string account = item->income_account;
  if (account.empty()) account = store.lists().SpecialAccount("UndepositedFunds");
  // Income is credited, a discount debited (its amount is negative), a payment item debits the
  // account the payment went to.
  if (amount != 0) out.push_back(Posting::To(account, -amount).Against(customer));
  if (!item->stocked()) return;
  std::string_view q = LineField(line, shape, "Quantity");
  int64_t quantity = sign * ParseQuantity(q.empty() ? "1" : q).value_or(0);
  if (quantity == 0) return;
  int64_t cost = stock.Take(*item, quantity);
  std::string cogs = item->cogs_account.empty() ? store.lists().SpecialAccount("CostOfGoodsSold")
                                                : item->cogs_account;
  std::string asset = item->asset_account.empty() ? store.lists().SpecialAccount("InventoryAssets")
                                                  : item->asset_account;
  out.push_back(Posting::To(cogs, cost));
  out.push_back(Posting::To(asset, -cost).Stock(item->list_id, -quantity));
}

}  // namespace

Status CompleteSalesForm(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs) {
  return SalesForm(store, txn).Complete(inputs);
}

int64_t SalesFormTotal(const TxnRecord& txn) {
  if (txn.voided) return 0;
  return ParseCents(txn.Field("Subtotal")).value_or(0) +
         ParseCents(txn.Field("SalesTaxTotal")).value_or(0);
}

void PostSalesForm(TxnStore& store, const TxnRecord& txn, int sign, std::vector<Posting>& out) {
  ItemCatalog& items = store.items();
  StockMoves stock(store.ledger());
  for (const auto& line : txn.lines)
    PostLine(store, txn, line, line.Shape(*txn.kind), sign, stock, out);
  const int64_t tax = sign * ParseCents(txn.Field("SalesTaxTotal")).value_or(0);
  if (tax != 0) {
    // The header's tax, to each agency of a group in proportion to its rate; the last takes
    // what rounding leaves, so the parts add up to the total.
    const ItemFacts* item = items.Find(RefId(txn.Field("ItemSalesTaxRef")));
    std::vector<const ItemFacts*> parts;
    if (item && item->kind == "ItemSalesTaxGroup")
      for (const auto& m : item->tax_members)
        if (const ItemFacts* f = items.Find(m)) parts.push_back(f);
    if (parts.empty()) parts.push_back(item);
    std::string payable = store.lists().SpecialAccount("SalesTaxPayable");
    int64_t rate_sum = ParseQuantity(item ? items.TaxRate(*item) : "0").value_or(0);
    int64_t left = tax;
    for (size_t i = 0; i < parts.size(); ++i) {
      int64_t share = left;
      if (i + 1 < parts.size() && rate_sum != 0)
        share =
            RoundedDivide(__int128{tax} * ParseQuantity(parts[i]->percent).value_or(0), rate_sum);
      left -= share;
      out.push_back(
          Posting::To(payable, -share).Against(parts[i] ? parts[i]->tax_vendor : std::string()));
    }
  }
  std::erase_if(
      out, [](const Posting& p) { return p.amount == 0 && p.quantity == 0 && p.open_id.empty(); });
}

}  // namespace brennock::simulator
