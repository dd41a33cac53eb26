#include "simulator/transactions/purchase_form.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/transactions/form_templates.h"
#include "simulator/transactions/group_lines.h"
#include "simulator/transactions/item_facts.h"
#include "simulator/transactions/linked_txns.h"
#include "simulator/transactions/term_dates.h"
#include "simulator/transactions/txn_store.h"

namespace brennock::simulator {
namespace {

// The items a vendor-side line may buy.
bool Purchasable(std::string_view kind) {
  return kind == "ItemInventory" || kind == "ItemInventoryAssembly" || kind == "ItemNonInventory" ||
         kind == "ItemService" || kind == "ItemOtherCharge" || kind == "ItemFixedAsset";
}

// The address QuickBooks fills in from a name: a vendor's, a customer's bill-to, an employee's or
// other name's.
std::string AddressOf(const ListRecord& r) {
  for (auto field : {"VendorAddress", "BillAddress", "EmployeeAddress", "OtherNameAddress"})
    if (auto v = r.Field(field); !v.empty()) return std::string(v);
  return {};
}

std::string Text(pugi::xml_node node) { return std::string(Trim(node.text().get())); }

// A line of a stored transaction by TxnLineID, among its lines and group members, with its shape.
struct FoundLine {
  const TxnLine* line = nullptr;
  const qbxml::Aggregate* shape = nullptr;
};
FoundLine FindLine(const TxnRecord& txn, std::string_view line_id) {
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    if (line.line_id == line_id) return {&line, &shape};
    for (const auto& m : line.members)
      if (m.line_id == line_id) return {&m, qbxml::Nested(shape.elements[m.element])};
  }
  return {};
}

class Form {
 public:
  Form(TxnStore& store, TxnRecord& txn, const PurchaseBook& book)
      : store_(store), txn_(txn), book_(book), items_(store.items()) {}

  Status Complete(std::vector<LineInput>& inputs);

 private:
  Status Header();
  Status LinkWhole(std::vector<LineInput>& inputs);
  Status CopyOrderLines(const TxnRecord& order, std::vector<TxnLine>& lines,
                        std::vector<LineInput>& inputs);
  Status CopyReceiptLines(const TxnRecord& receipt, std::vector<TxnLine>& lines,
                          std::vector<LineInput>& inputs);
  Status LinkLine(TxnLine& line, const qbxml::Aggregate& shape, pugi::xml_node link,
                  LineInput& input);
  Status Line(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input, int64_t& total);
  Status GroupLine(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input, int64_t& total);
  Status CheckLinkable(const TxnRecord& other);
  Status KeepReceivedLines();
  const TxnRecord* Linked(const std::string& txn_id);
  // What an order line still has to receive, less what this form receives already.
  int64_t Remaining(const TxnRecord& order, const TxnLine& line, const qbxml::Aggregate& shape);
  Status Refuse(std::string why) { return RefuseTxn(txn_, std::move(why)); }

  TxnStore& store_;
  TxnRecord& txn_;
  const PurchaseBook& book_;
  ItemCatalog& items_;
  std::optional<ListRecord> party_;
  std::unordered_map<std::string, std::optional<TxnRecord>> linked_;
};

const TxnRecord* Form::Linked(const std::string& txn_id) {
  auto it = linked_.find(txn_id);
  if (it == linked_.end()) it = linked_.emplace(txn_id, store_.LoadById(txn_id)).first;
  return it->second ? &*it->second : nullptr;
}

Status Form::Header() {
  const bool fresh = txn_.txn_id.empty();
  std::string_view stem = txn_.kind->stem;
  ListStore& lists = store_.lists();
  std::string_view party = txn_.Field(book_.party);
  if (!party.empty()) party_ = lists.LoadById(RefId(party));
  if (book_.party == "VendorRef" && (!party_ || party_->type->name != "Vendor"))
    return MakeStatus(kInvalidReference, {"Vendor", RefName(party), stem});
  if (txn_.Field("TxnDate").empty()) txn_.SetField("TxnDate", FormatDate(Now()));
  if (!book_.account.empty()) {
    std::string_view account = txn_.Field(book_.account);
    if (account.empty() && book_.account_type == "AccountsPayable") {
      txn_.SetField(book_.account, RefTo(store_, lists.SpecialAccount("AccountsPayable")));
    } else if (auto a = lists.LoadById(RefId(account));
               !a || a->account_type != book_.account_type) {
      return MakeStatus(kInvalidReference, {"Account", RefName(account), stem});
    }
  }
  if (!fresh) {
    // A receipt that was billed lives on in its bill.
    if (stem == "ItemReceipt" && !TxnLinkIndex(store_.company()).LinkedTo(txn_.txn_id).empty())
      return Refuse("The item receipt has been billed: change the bill instead.");
    return {};
  }
  if (party_) {
    if (txn_.Index("TermsRef") >= 0 && txn_.Field("TermsRef").empty())
      if (auto terms = party_->Field("TermsRef"); !terms.empty())
        txn_.SetField("TermsRef", std::string(terms));
    for (auto field : {"VendorAddress", "Address"})
      if (txn_.Index(field) >= 0 && txn_.Field(field).empty())
        if (std::string address = AddressOf(*party_); !address.empty())
          txn_.SetField(field, address);
  }
  if (txn_.Index("TemplateRef") >= 0 && txn_.Field("TemplateRef").empty())
    if (std::string form = DefaultTemplateRef(store_.company(), stem); !form.empty())
      txn_.SetField("TemplateRef", form);
  std::string date(txn_.Field("TxnDate"));
  if (txn_.Index("DueDate") >= 0 && txn_.Field("DueDate").empty())
    txn_.SetField("DueDate", DatesOfTerms(lists, txn_.Field("TermsRef"), date).due);
  if (txn_.Index("ExpectedDate") >= 0 && txn_.Field("ExpectedDate").empty())
    txn_.SetField("ExpectedDate", date);
  for (auto flag : {"IsToBePrinted", "IsToBeEmailed", "IsManuallyClosed"})
    if (txn_.Index(flag) >= 0 && txn_.Field(flag).empty()) txn_.SetField(flag, "false");
  // A check to be printed gets its number when it is printed.
  if (book_.numbered && txn_.Field("RefNumber").empty() && txn_.Field("IsToBePrinted") != "true")
    txn_.SetField("RefNumber", store_.NextRefNumber());
  return {};
}

Status Form::CheckLinkable(const TxnRecord& other) {
  std::string_view kind = other.kind->stem;
  bool order = kind == "PurchaseOrder" && book_.receives_orders;
  bool receipt = kind == "ItemReceipt" && book_.bills_receipts;
  if (!order && !receipt)
    return Refuse("A " + std::string(kind) + " cannot be linked to this transaction.");
  if (other.voided) return Refuse("The transaction " + other.txn_id + " is void.");
  if (other.entity_id != RefId(txn_.Field(book_.party)))
    return Refuse("The transaction " + other.txn_id + " is with another vendor.");
  if (order && other.Field("IsManuallyClosed") == "true")
    return Refuse("The purchase order " + other.ref_number + " is closed.");
  return {};
}

int64_t Form::Remaining(const TxnRecord& order, const TxnLine& line,
                        const qbxml::Aggregate& shape) {
  std::string_view ordered = LineField(line, shape, "Quantity");
  int64_t left = ParseQuantity(ordered.empty() ? "1" : ordered).value_or(0) -
                 TxnLinkIndex(store_.company()).Received(order.txn_id, line.line_id);
  for (const auto& mine : txn_.lines)
    if (mine.link_txn == order.txn_id && mine.link_line == line.line_id) {
      std::string_view q = LineField(mine, mine.Shape(*txn_.kind), "Quantity");
      left -= ParseQuantity(q.empty() ? "1" : q).value_or(0);
    }
  return std::max<int64_t>(left, 0);
}

Status Form::CopyOrderLines(const TxnRecord& order, std::vector<TxnLine>& lines,
                            std::vector<LineInput>& inputs) {
  // Every line still open is received in full: its item, description, the quantity still to
  // come and the order's rate as the cost.
  const int element = txn_.Index("ItemLineRet");
  if (element < 0) return Refuse("This transaction has no item lines.");
  const qbxml::Aggregate& shape = *qbxml::Nested(txn_.kind->shape[element]);
  auto copy = [&](const TxnLine& from, const qbxml::Aggregate& from_shape) {
    if (LineField(from, from_shape, "ItemRef").empty() ||
        LineField(from, from_shape, "IsManuallyClosed") == "true")
      return;
    int64_t left = Remaining(order, from, from_shape);
    if (left == 0) return;
    TxnLine line;
    line.element = static_cast<uint16_t>(element);
    for (auto field : {"ItemRef", "Desc", "ClassRef", "CustomerRef"})
      if (auto v = LineField(from, from_shape, field); !v.empty())
        SetLineField(line, shape, field, std::string(v));
    SetLineField(line, shape, "Quantity", FormatQuantity(left));
    if (auto rate = LineField(from, from_shape, "Rate"); !rate.empty())
      SetLineField(line, shape, "Cost", std::string(rate));
    line.link_txn = order.txn_id;
    line.link_line = from.line_id;
    lines.push_back(std::move(line));
    inputs.emplace_back();
  };
  for (const auto& from : order.lines) {
    const qbxml::Aggregate& from_shape = from.Shape(*order.kind);
    if (from.members.empty()) copy(from, from_shape);
    for (const auto& m : from.members) copy(m, *qbxml::Nested(from_shape.elements[m.element]));
  }
  return {};
}

Status Form::CopyReceiptLines(const TxnRecord& receipt, std::vector<TxnLine>& lines,
                              std::vector<LineInput>& inputs) {
  // QuickBooks turns the receipt into the bill: its lines, as received, become the bill's.
  if (!TxnLinkIndex(store_.company()).LinkedTo(receipt.txn_id).empty())
    return Refuse("The item receipt " + receipt.txn_id + " has been billed already.");
  auto copy = [&](const TxnLine& from, std::string_view element_name) {
    int element = txn_.Index(element_name);
    if (element < 0) return;
    TxnLine line;
    line.element = static_cast<uint16_t>(element);
    line.fields = from.fields;  // the same line aggregate on both forms
    line.link_txn = receipt.txn_id;
    line.link_line = from.line_id;
    lines.push_back(std::move(line));
    LineInput input;
    input.amount_given = true;
    inputs.push_back(std::move(input));
  };
  for (const auto& from : receipt.lines) {
    std::string_view name = receipt.kind->shape[from.element].name;
    if (from.members.empty()) copy(from, name == "ItemGroupLineRet" ? "ItemLineRet" : name);
    for (const auto& m : from.members) copy(m, "ItemLineRet");
  }
  return {};
}

Status Form::LinkWhole(std::vector<LineInput>& inputs) {
  std::vector<TxnLine> copied;
  std::vector<LineInput> copied_inputs;
  std::vector<std::string> seen;
  for (auto node : store_.request().children("LinkToTxnID")) {
    std::string id = Text(node);
    if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
    seen.push_back(id);
    const TxnRecord* other = Linked(id);
    if (!other) return MakeStatus(kObjectNotFound, {id});
    Status s = CheckLinkable(*other);
    if (!s.ok()) return s;
    s = other->kind->stem == "PurchaseOrder" ? CopyOrderLines(*other, copied, copied_inputs)
                                             : CopyReceiptLines(*other, copied, copied_inputs);
    if (!s.ok()) return s;
  }
  txn_.lines.insert(txn_.lines.begin(), std::make_move_iterator(copied.begin()),
                    std::make_move_iterator(copied.end()));
  inputs.insert(inputs.begin(), std::make_move_iterator(copied_inputs.begin()),
                std::make_move_iterator(copied_inputs.end()));
  return {};
}

Status Form::LinkLine(TxnLine& line, const qbxml::Aggregate& shape, pugi::xml_node link,
                      LineInput& input) {
  std::string id = Text(link.child("TxnID")), line_id = Text(link.child("TxnLineID"));
  const TxnRecord* other = Linked(id);
  if (!other) return MakeStatus(kObjectNotFound, {id});
  Status s = CheckLinkable(*other);
  if (!s.ok()) return s;
  FoundLine from = FindLine(*other, line_id);
  if (!from.line) return MakeStatus(kObjectNotFound, {line_id});
  const bool order = other->kind->stem == "PurchaseOrder";
  if (order && LineField(*from.line, *from.shape, "IsManuallyClosed") == "true")
    return Refuse("The line " + line_id + " of the purchase order is closed.");
  if (!order && !TxnLinkIndex(store_.company()).LinkedTo(id).empty())
    return Refuse("The item receipt " + id + " has been billed already.");
  std::string_view item = LineField(*from.line, *from.shape, "ItemRef");
  std::string_view mine = LineField(line, shape, "ItemRef");
  if (!mine.empty() && RefId(mine) != RefId(item))
    return Refuse("The line linked to " + line_id + " names another item than it.");
  if (mine.empty() && !item.empty()) SetLineField(line, shape, "ItemRef", std::string(item));
  if (LineField(line, shape, "Desc").empty())
    if (auto desc = LineField(*from.line, *from.shape, "Desc"); !desc.empty())
      SetLineField(line, shape, "Desc", std::string(desc));
  if (LineField(line, shape, "Quantity").empty()) {
    std::string_view q = LineField(*from.line, *from.shape, "Quantity");
    SetLineField(line, shape, "Quantity",
                 order ? FormatQuantity(Remaining(*other, *from.line, *from.shape))
                       : std::string(q.empty() ? "1" : q));
  }
  if (LineField(line, shape, "Cost").empty() && !input.amount_given)
    if (auto cost = LineField(*from.line, *from.shape, order ? "Rate" : "Cost"); !cost.empty())
      SetLineField(line, shape, "Cost", std::string(cost));
  if (!order && !input.amount_given) {
    // A received line is billed at what it was received at.
    SetLineField(line, shape, "Amount", std::string(LineField(*from.line, *from.shape, "Amount")));
    input.amount_given = true;
  }
  line.link_txn = id;
  line.link_line = line_id;
  return {};
}

Status Form::Line(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input, int64_t& total) {
  std::string_view stem = txn_.kind->stem;
  if (input.source && input.new_line)
    if (auto link = input.source.child("LinkToTxn")) {
      Status s = LinkLine(line, shape, link, input);
      if (!s.ok()) return s;
    }
  std::optional<int64_t> amount = 0;
  const bool expense = LineIndex(shape, "ItemRef") < 0;
  if (expense) {
    std::string_view given = LineField(line, shape, "Amount");
    amount = given.empty() ? 0 : ParseCents(given);
    if (amount && *amount != 0 && LineField(line, shape, "AccountRef").empty() &&
        line.link_txn.empty())
      return Refuse("Expense lines with amounts must have accounts.");
  } else {
    std::string_view item_ref = LineField(line, shape, "ItemRef");
    const ItemFacts* item = item_ref.empty() ? nullptr : items_.Find(RefId(item_ref));
    if (!item_ref.empty() && !item)
      return MakeStatus(kInvalidReference, {"Item", RefName(item_ref), stem});
    if (item && item->kind == "ItemGroup")
      return Refuse("The item group \"" + std::string(RefName(item_ref)) +
                    "\" goes in a group line.");
    if (item && !Purchasable(item->kind))
      return Refuse("The item \"" + std::string(RefName(item_ref)) + "\" cannot be bought.");
    const char* price = LineIndex(shape, "Cost") >= 0 ? "Cost" : "Rate";
    const bool price_given = input.source && input.source.child(price);
    if (item && input.new_line) {
      if (LineField(line, shape, "Desc").empty() && !item->purchase_desc.empty())
        SetLineField(line, shape, "Desc", item->purchase_desc);
      if (LineField(line, shape, price).empty() && !input.amount_given &&
          !item->purchase_cost.empty())
        SetLineField(line, shape, price, item->purchase_cost);
    }
    if (input.amount_given) {
      amount = ParseCents(LineField(line, shape, "Amount"));
    } else if (!input.new_line && !input.pricing_changed && !price_given) {
      amount = ParseCents(LineField(line, shape, "Amount"));  // left as it was
    } else if (std::string_view cost = LineField(line, shape, price); !cost.empty()) {
      std::string_view quantity = LineField(line, shape, "Quantity");
      auto units = ParseQuantity(quantity.empty() ? "1" : quantity);
      amount = units ? Amount(*units, cost) : std::nullopt;
    }
    if (amount && *amount != 0 && !item)
      return Refuse("Transaction lines with amounts must have items.");
  }
  if (!amount || *amount > kMaxCents - total || *amount < -kMaxCents - total)
    return Refuse("The amount of a line is more than QuickBooks can keep.");
  SetLineField(line, shape, "Amount", FormatCents(*amount));
  total += *amount;
  return {};
}

Status Form::GroupLine(TxnLine& line, const qbxml::Aggregate& shape, LineInput& input,
                       int64_t& total) {
  std::string_view group_ref = LineField(line, shape, "ItemGroupRef");
  const ItemFacts* group = items_.Find(RefId(group_ref));
  if (!group || group->kind != "ItemGroup")
    return MakeStatus(kInvalidReference, {"ItemGroup", RefName(group_ref), txn_.kind->stem});
  const int member_element = MemberElement(shape);
  if (member_element < 0) return Refuse("A group line of this form has no member lines.");
  if (input.new_line && LineField(line, shape, "Desc").empty() && !group->sales_desc.empty())
    SetLineField(line, shape, "Desc", group->sales_desc);
  if (LineIndex(shape, "IsPrintItemsInGroup") >= 0)
    SetLineField(line, shape, "IsPrintItemsInGroup",
                 group->print_items_in_group ? "true" : "false");
  if (input.expand) ExpandGroup(*group, shape, line, input);
  const qbxml::Aggregate& member_shape = *qbxml::Nested(shape.elements[member_element]);
  int64_t inner = 0;
  for (size_t i = 0; i < line.members.size(); ++i) {
    if (input.members.size() <= i) input.members.push_back(LineInput::Kept());
    Status s = Line(line.members[i], member_shape, input.members[i], inner);
    if (!s.ok()) return s;
  }
  if (inner > kMaxCents - total || inner < -kMaxCents - total)
    return Refuse("The amount of a line is more than QuickBooks can keep.");
  SetLineField(line, shape, "TotalAmount", FormatCents(inner));
  total += inner;
  return {};
}

// The lines a bill took over from an item receipt stay as they were received: the receipt's
// payable became the bill's through them. Lines others were received or billed against stay too.
Status Form::KeepReceivedLines() {
  auto before = store_.LoadById(txn_.txn_id);
  if (!before) return {};
  for (const LinkedLine& link : TxnLinkIndex(store_.company()).LinkedTo(txn_.txn_id))
    if (!FindLine(txn_, link.line_id).line)
      return Refuse("The line " + link.line_id + " was received or billed on " + link.txn_id +
                    ": it stays.");
  for (const auto& old : before->lines) {
    if (old.link_txn.empty()) continue;
    const TxnRecord* from = Linked(old.link_txn);
    if (!from || from->kind->stem != "ItemReceipt") continue;
    const qbxml::Aggregate& shape = old.Shape(*before->kind);
    auto now = std::find_if(txn_.lines.begin(), txn_.lines.end(),
                            [&](const TxnLine& l) { return l.line_id == old.line_id; });
    if (now == txn_.lines.end() ||
        LineField(*now, shape, "Amount") != LineField(old, shape, "Amount"))
      return Refuse("The line " + old.line_id + " was received on the item receipt " +
                    old.link_txn + ": it stays as it was received.");
  }
  return {};
}

Status Form::Complete(std::vector<LineInput>& inputs) {
  Status status = Header();
  if (!status.ok()) return status;
  const bool fresh = txn_.txn_id.empty();
  if (fresh) {
    status = LinkWhole(inputs);
    if (!status.ok()) return status;
  }
  int64_t total = 0;
  for (size_t i = 0; i < txn_.lines.size(); ++i) {
    TxnLine& line = txn_.lines[i];
    const qbxml::Aggregate& shape = line.Shape(*txn_.kind);
    status = IsGroupLine(shape.name) ? GroupLine(line, shape, inputs[i], total)
                                     : Line(line, shape, inputs[i], total);
    if (!status.ok()) return status;
  }
  if (!fresh) {
    status = KeepReceivedLines();
    if (!status.ok()) return status;
  }
  if (!fresh && book_.account_type == "AccountsPayable") {
    // Payments and credits applied to a bill (credits used on a vendor credit) stay covered.
    int64_t own = 0;
    for (const Posting& p : store_.ledger().PostingsOf(txn_.txn_id))
      if (p.open_id == txn_.txn_id) own += p.amount;
    int64_t others = store_.ledger().OpenBalance(txn_.txn_id) - own;
    if (total - book_.sign * others < 0)
      return Refuse("Payments and credits of " + FormatCents(book_.sign * others) +
                    " are applied to it, more than its new amount.");
  }
  if (!book_.total.empty()) txn_.SetField(book_.total, FormatCents(total));
  return {};
}

}  // namespace

Status PurchaseFormRule::Complete(TxnStore& store, TxnRecord& txn,
                                  std::vector<LineInput>& inputs) const {
  return CompletePurchaseForm(store, txn, inputs, book_);
}

std::vector<Posting> PurchaseFormRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  return PostPurchaseForm(store, txn, book_);
}

bool PurchaseFormRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn,
                                       std::string_view element, std::string& out) const {
  if (element != "LinkedTxn") return false;
  WriteLinkedTxns(store, txn, out);
  return true;
}

Status PurchaseFormRule::CheckRemove(TxnStore& store, const TxnRecord& txn, bool void_it) const {
  return CheckNothingDependsOn(store, txn, void_it);
}

Status RefuseVoided(const TxnRecord& txn) {
  return MakeStatus(kTxnCannotModify, {txn.kind->stem, "The transaction is void: it stays so."});
}

Status RefuseTxn(const TxnRecord& txn, std::string why) {
  return MakeStatus(txn.txn_id.empty() ? kTxnCannotSave : kTxnCannotModify, {txn.kind->stem, why});
}

std::string RefTo(TxnStore& store, std::string_view list_id) {
  return std::string(list_id) + kRefSeparator + store.refs().CurrentFullName(list_id, {});
}

Status CompletePurchaseForm(TxnStore& store, TxnRecord& txn, std::vector<LineInput>& inputs,
                            const PurchaseBook& book) {
  if (txn.voided) return RefuseVoided(txn);
  return Form(store, txn, book).Complete(inputs);
}

}  // namespace brennock::simulator
