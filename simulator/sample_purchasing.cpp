#include "simulator/sample_purchasing.h"

#include <algorithm>
#include <array>
#include <vector>

#include "simulator/clock.h"
#include "simulator/ledger/ledger.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// Request text, element by element.
class Xml {
 public:
  Xml& El(std::string_view tag, std::string_view text) {
    XmlWriter(out_).Element(tag, text);
    return *this;
  }
  Xml& Ref(std::string_view tag, std::string_view full_name) {
    XmlWriter w(out_);
    w.Open(tag);
    w.Element("FullName", full_name);
    w.Close(tag);
    return *this;
  }
  Xml& Open(std::string_view tag) {
    XmlWriter(out_).Open(tag);
    return *this;
  }
  Xml& Close(std::string_view tag) {
    XmlWriter(out_).Close(tag);
    return *this;
  }
  Xml& Raw(const std::string& text) {
    out_ += text;
    return *this;
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

struct Part {
  std::string_view name;
  int least, most;                        // units on one order
  std::array<std::string_view, 3> costs;  // what the supplier charges, month by month
};
// Widgets and hinges keep their price all year (their average cost stays 7.00 and 2.90).
constexpr std::array<Part, 4> kParts = {{{"Widget", 20, 40, {"7.00", "7.00", "7.00"}},
                                         {"Bracket", 100, 200, {"1.20", "1.25", "1.15"}},
                                         {"Hinge", 20, 50, {"2.90", "2.90", "2.90"}},
                                         {"Gadget", 5, 15, {"18.00", "18.50", "17.75"}}}};

// The records of one list, by full name, with a field's stored value.
std::vector<std::pair<std::string, std::string>> Names(ListStore& lists, std::string_view list,
                                                       std::string_view field = {}) {
  ListFilter filter;
  filter.types = {list};
  std::vector<std::pair<std::string, std::string>> out;
  for (int64_t row : lists.Select(filter))
    if (auto r = lists.LoadByRow(row))
      out.emplace_back(r->full_name, field.empty() ? std::string() : std::string(r->Field(field)));
  return out;
}

class Year {
 public:
  Year(ListStore& lists, const SampleTxnAdder& add, const std::function<size_t(size_t)>& below)
      : add_(add), below_(below) {
    for (auto& [name, type] : Names(lists, "Vendor", "VendorTypeRef")) {
      if (RefName(type) == "Supplies") suppliers_.push_back(name);
      if (RefName(type) == "Subcontractors") subcontractors_.push_back(name);
    }
    for (auto& [name, unused] : Names(lists, "Employee")) employees_.push_back(name);
    for (auto& [name, unused] : Names(lists, "Customer")) {
      if (customers_.size() == 12) break;
      customers_.push_back(name);
    }
    auto others = Names(lists, "OtherName", "Notes");
    for (auto& [name, notes] : others)
      if (notes == "Landlord" || landlord_.empty()) landlord_ = name;
    const SimulatorTime now = Now();
    today_ = (now.unix_seconds + int64_t{now.utc_offset_minutes} * 60) / 86400;
  }

  void Month(int m);

 private:
  std::string Day(int64_t offset) const {
    return FormatDate(SimulatorTime{(today_ - 364 + offset) * 86400, 0});
  }
  bool Past(int64_t offset) const { return offset <= 364; }
  std::string Cents(int64_t cents) const { return FormatCents(cents); }
  int64_t Between(int64_t least, int64_t most) {
    return least + static_cast<int64_t>(below_(static_cast<size_t>(most - least + 1)));
  }
  TxnRecord Add(std::string_view stem, const Xml& inner) { return add_(stem, inner.str()); }
  void Stock(int m, int64_t base);
  void PayBill(const std::string& vendor, const TxnRecord& bill, int64_t on, bool by_card,
               const std::string& credit);
  void Overheads(int m, int64_t base);

  const SampleTxnAdder& add_;
  const std::function<size_t(size_t)>& below_;
  std::vector<std::string> suppliers_, subcontractors_, employees_, customers_;
  std::string landlord_;
  std::pair<std::string, std::string> backorder_;  // (vendor, order) received in part
  int64_t today_ = 0;
};

void Year::PayBill(const std::string& vendor, const TxnRecord& bill, int64_t on, bool by_card,
                   const std::string& credit) {
  int64_t due = ParseCents(bill.Field("OpenAmount")).value_or(0);
  int64_t used = credit.empty() ? 0 : std::min<int64_t>(due, 580);  // the returned hinges
  Xml ordered;
  ordered.Open("AppliedToTxnAdd").El("TxnID", bill.txn_id).El("PaymentAmount", Cents(due - used));
  if (!credit.empty())
    ordered.Open("SetCredit")
        .El("CreditTxnID", credit)
        .El("AppliedAmount", Cents(used))
        .Close("SetCredit");
  ordered.Close("AppliedToTxnAdd");
  Xml payment;
  payment.Ref("PayeeEntityRef", vendor).El("TxnDate", Day(on));
  if (by_card) {
    payment.Ref("CreditCardAccountRef", "Company Card").Raw(ordered.str());
    Add("BillPaymentCreditCard", payment);
  } else {
    payment.Ref("BankAccountRef", "Checking").Raw(ordered.str());
    Add("BillPaymentCheck", payment);
  }
}

// Stock from a supplier: ordered, received (every fourth month the first line in part), billed
// with freight from the receipt and paid; a return now and then credited on the payment.
void Year::Stock(int m, int64_t base) {
  if (suppliers_.empty()) return;
  if (!backorder_.first.empty() && Past(base + 4)) {
    // Last month's back order comes; its bill is still to come.
    Xml rest;
    rest.Ref("VendorRef", backorder_.first)
        .El("TxnDate", Day(base + 4))
        .El("LinkToTxnID", backorder_.second);
    Add("ItemReceipt", rest);
    backorder_ = {};
  }
  const std::string& vendor = suppliers_[static_cast<size_t>(m) % suppliers_.size()];
  Xml order;
  order.Ref("VendorRef", vendor).El("TxnDate", Day(base + 1));
  size_t first = below_(kParts.size());
  for (size_t k = 0; k < 2 + below_(2); ++k) {
    const Part& part = kParts[(first + k) % kParts.size()];
    order.Open("PurchaseOrderLineAdd")
        .Ref("ItemRef", part.name)
        .El("Quantity", std::to_string(Between(part.least, part.most)))
        .El("Rate", part.costs[static_cast<size_t>(m) % 3])
        .Close("PurchaseOrderLineAdd");
  }
  TxnRecord po = Add("PurchaseOrder", order);
  if (!Past(base + 6)) return;  // still on order
  Xml receipt;
  receipt.Ref("VendorRef", vendor).El("TxnDate", Day(base + 6));
  if (m % 4 == 3 && !po.lines.empty()) {
    const TxnLine& line = po.lines.front();
    const qbxml::Aggregate& shape = line.Shape(*po.kind);
    int64_t half = ParseQuantity(LineField(line, shape, "Quantity")).value_or(0) / 2;
    receipt.Open("ItemLineAdd")
        .El("Quantity", FormatQuantity(half - half % kQuantityScale))
        .Open("LinkToTxn")
        .El("TxnID", po.txn_id)
        .El("TxnLineID", line.line_id)
        .Close("LinkToTxn")
        .Close("ItemLineAdd");
    backorder_ = {vendor, po.txn_id};
  } else {
    receipt.El("LinkToTxnID", po.txn_id);
  }
  TxnRecord received = Add("ItemReceipt", receipt);
  if (!Past(base + 8)) return;
  std::string credit;
  if (m == 4 || m == 9) {
    Xml returned;
    returned.Ref("VendorRef", vendor)
        .El("TxnDate", Day(base + 7))
        .El("Memo", "Two hinges returned, scratched")
        .Open("ItemLineAdd")
        .Ref("ItemRef", "Hinge")
        .El("Quantity", "2")
        .El("Cost", "2.90")
        .Close("ItemLineAdd");
    credit = Add("VendorCredit", returned).txn_id;
  }
  Xml bill;
  bill.Ref("VendorRef", vendor)
      .El("TxnDate", Day(base + 8))
      .El("RefNumber", "INV-" + std::to_string(4100 + m * 17))
      .El("LinkToTxnID", received.txn_id)
      .Open("ExpenseLineAdd")
      .Ref("AccountRef", "Job Materials")
      .El("Amount", Cents(Between(2500, 4500)))
      .El("Memo", "Freight")
      .Close("ExpenseLineAdd");
  TxnRecord billed = Add("Bill", bill);
  // The last month's bills are still to be paid.
  if (m < 11 && Past(base + 20)) PayBill(vendor, billed, base + 20, m % 3 == 0, credit);
}

// Rent, utilities, a subcontractor, time worked, builds, counts and depreciation.
void Year::Overheads(int m, int64_t base) {
  Xml rent;
  rent.Ref("AccountRef", "Checking");
  if (!landlord_.empty()) rent.Ref("PayeeEntityRef", landlord_);
  rent.El("TxnDate", Day(base + 1))
      .El("Memo", "Yard and office rent")
      .Open("ExpenseLineAdd")
      .Ref("AccountRef", "Rent")
      .El("Amount", "950.00")
      .Close("ExpenseLineAdd");
  Add("Check", rent);
  if (Past(base + 12)) {
    Xml utilities;
    utilities.Ref("AccountRef", "Company Card")
        .El("TxnDate", Day(base + 12))
        .Open("ExpenseLineAdd")
        .Ref("AccountRef", "Utilities:Gas and Electric")
        .El("Amount", Cents(Between(14000, 26000)))
        .Close("ExpenseLineAdd")
        .Open("ExpenseLineAdd")
        .Ref("AccountRef", "Utilities:Telephone")
        .El("Amount", Cents(Between(6000, 9000)))
        .Close("ExpenseLineAdd");
    Add("CreditCardCharge", utilities);
  }
  if (!subcontractors_.empty() && Past(base + 15)) {
    const std::string& sub = subcontractors_[static_cast<size_t>(m) % subcontractors_.size()];
    Xml work;
    work.Ref("VendorRef", sub)
        .El("TxnDate", Day(base + 15))
        .Open("ItemLineAdd")
        .Ref("ItemRef", "Repairs")
        .El("Quantity", std::to_string(Between(3, 8)))
        .Close("ItemLineAdd");
    TxnRecord bill = Add("Bill", work);
    if (m < 11 && Past(base + 25)) PayBill(sub, bill, base + 25, m % 2 == 1, {});
  }
  for (size_t e = 0; e < std::min<size_t>(employees_.size(), 2) && !customers_.empty(); ++e)
    for (int64_t day : {base + 3, base + 17}) {
      if (!Past(day)) continue;
      Xml time;
      time.El("TxnDate", Day(day))
          .Ref("EntityRef", employees_[e])
          .Ref("CustomerRef", customers_[below_(customers_.size())])
          .Ref("ItemServiceRef", "Installation")
          .El("Duration", "PT" + std::to_string(Between(1, 8)) + "H" +
                              std::to_string(15 * Between(0, 3)) + "M");
      Add("TimeTracking", time);
    }
  if (m % 2 == 1 && Past(base + 10)) {
    Xml build;
    build.Ref("ItemInventoryAssemblyRef", "Widget Kit")
        .El("TxnDate", Day(base + 10))
        .El("QuantityToBuild", std::to_string(Between(2, 4)))
        .El("MarkPendingIfRequired", "true");
    Add("BuildAssembly", build);
  }
  if (m % 3 == 2 && Past(base + 28)) {
    Xml count;
    count.Ref("AccountRef", "Cost of Goods Sold")
        .El("TxnDate", Day(base + 28))
        .El("Memo", "Quarterly stock count")
        .Open("InventoryAdjustmentLineAdd")
        .Ref("ItemRef", "Bracket")
        .Open("QuantityAdjustment")
        .El("QuantityDifference", std::to_string(-Between(1, 4)))
        .Close("QuantityAdjustment")
        .Close("InventoryAdjustmentLineAdd");
    Add("InventoryAdjustment", count);
  }
  if (Past(base + 29)) {
    // Month end: tools and office equipment depreciate over ten years; mid-year savings top up
    // the checking account.
    Xml entry;
    entry.El("TxnDate", Day(base + 29))
        .El("Memo", "Month-end entries")
        .Open("JournalDebitLine")
        .Ref("AccountRef", "Other Expenses")
        .El("Amount", "104.17")
        .El("Memo", "Depreciation of tools and equipment")
        .Close("JournalDebitLine")
        .Open("JournalCreditLine")
        .Ref("AccountRef", "Furniture and Equipment")
        .El("Amount", "104.17")
        .Close("JournalCreditLine");
    if (m == 5)
      entry.Open("JournalDebitLine")
          .Ref("AccountRef", "Checking")
          .El("Amount", "10000.00")
          .El("Memo", "Transfer from savings")
          .Close("JournalDebitLine")
          .Open("JournalCreditLine")
          .Ref("AccountRef", "Savings")
          .El("Amount", "10000.00")
          .Close("JournalCreditLine");
    Add("JournalEntry", entry);
  }
}

void Year::Month(int m) {
  const int64_t base = int64_t{m} * 30;
  Stock(m, base);
  Overheads(m, base);
}

}  // namespace

void AddSamplePurchasing(ListStore& lists, const SampleTxnAdder& add,
                         const std::function<size_t(size_t)>& below) {
  Year year(lists, add, below);
  for (int m = 0; m < 12; ++m) year.Month(m);
}

}  // namespace brennock::simulator
