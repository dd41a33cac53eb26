#include "simulator/transactions/payables.h"

#include <algorithm>
#include <charconv>

#include "simulator/lists/field_values.h"
#include "simulator/records/field_list.h"
#include "simulator/transactions/purchase_form.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// Keys of an application's stored fields.
constexpr uint16_t kBill = 0, kAmount = 1, kDiscount = 2, kDiscountAccount = 3, kCredit = 4;

std::string Text(pugi::xml_node node) { return std::string(Trim(node.text().get())); }

int64_t ToCents(std::string_view text) {
  int64_t v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

// An amount of the request, 0 when absent; nullopt when it is no amount.
std::optional<int64_t> AmountOf(pugi::xml_node node) {
  if (!node) return 0;
  return ParseCents(Text(node));
}

// What one payment itself posted to an open transaction (a Mod makes it available again).
int64_t OwnPostings(TxnStore& store, const std::string& payment_id, const std::string& open_id) {
  int64_t sum = 0;
  if (payment_id.empty()) return sum;
  for (const Posting& p : store.ledger().PostingsOf(payment_id))
    if (p.open_id == open_id) sum += p.amount;
  return sum;
}

}  // namespace

int64_t BillApplication::Settles() const {
  int64_t sum = amount + discount;
  for (const auto& c : credits) sum += c.second;
  return sum;
}

std::string BillApplication::Encode() const {
  FieldList fields = {{kBill, bill_id},
                      {kAmount, std::to_string(amount)},
                      {kDiscount, std::to_string(discount)},
                      {kDiscountAccount, discount_account}};
  for (const auto& [id, cents] : credits)
    fields.emplace_back(kCredit, id + kRefSeparator + std::to_string(cents));
  return EncodeFields(fields);
}

std::optional<BillApplication> BillApplication::Decode(std::string_view stored) {
  FieldList fields;
  if (!DecodeFields(stored, fields)) return std::nullopt;
  BillApplication a;
  for (const auto& [key, value] : fields) {
    if (key == kBill) a.bill_id = value;
    if (key == kAmount) a.amount = ToCents(value);
    if (key == kDiscount) a.discount = ToCents(value);
    if (key == kDiscountAccount) a.discount_account = value;
    if (key == kCredit) a.credits.emplace_back(RefId(value), ToCents(RefName(value)));
  }
  return a;
}

std::vector<BillApplication> StoredBillApplications(const TxnRecord& payment) {
  std::vector<BillApplication> out;
  int index = payment.Index("AppliedToTxnRet");
  for (const auto& [i, value] : payment.fields)
    if (static_cast<int>(i) == index)
      if (auto a = BillApplication::Decode(value)) out.push_back(std::move(*a));
  return out;
}

int64_t OpenToSettle(TxnStore& store, const TxnRecord& txn) {
  // Asked of the ledger each time: a payment changes it between completing and answering.
  int64_t open = store.ledger().OpenBalance(txn.txn_id);
  return txn.kind->stem == "VendorCredit" ? open : -open;
}

Status ApplyToBills(TxnStore& store, TxnRecord& payment) {
  pugi::xml_node request = store.request();
  const bool fresh = payment.txn_id.empty();
  const char* element = fresh ? "AppliedToTxnAdd" : "AppliedToTxnMod";
  std::vector<BillApplication> applications;
  if (!fresh && !request.child(element)) {
    applications = StoredBillApplications(payment);
  } else {
    std::string_view stem = payment.kind->stem;
    const std::string vendor(RefId(payment.Field("PayeeEntityRef")));
    const std::string ap_account(RefId(payment.Field("APAccountRef")));
    std::string default_discount;
    std::vector<std::pair<std::string, int64_t>> credit_left;
    auto load = [&](const std::string& id, std::string_view kind,
                    std::optional<TxnRecord>& out) -> Status {
      out = store.LoadById(id);
      if (!out || out->kind->stem != kind) return MakeStatus(kObjectNotFound, {id});
      if (out->voided || out->entity_id != vendor || out->account_id != ap_account)
        return RefuseTxn(payment, "The " + std::string(kind) + " " + id +
                                      " is not open for this payee on this A/P account.");
      return {};
    };
    for (auto node : request.children(element)) {
      BillApplication a;
      a.bill_id = Text(node.child("TxnID"));
      for (const auto& other : applications)
        if (other.bill_id == a.bill_id)
          return RefuseTxn(payment, "The bill " + a.bill_id + " is paid twice in one payment.");
      std::optional<TxnRecord> bill;
      Status s = load(a.bill_id, "Bill", bill);
      if (!s.ok()) return s;
      auto amount = AmountOf(node.child("PaymentAmount"));
      auto discount = AmountOf(node.child("DiscountAmount"));
      if (!amount || !discount || *amount < 0 || *discount < 0)
        return RefuseTxn(payment, "The amounts applied to a bill must be amounts of 0 or more.");
      a.amount = *amount;
      a.discount = *discount;
      if (auto account = node.child("DiscountAccountRef")) {
        Status status;
        auto ref = store.refs().Resolve(account, stem, status);
        if (!ref) return status;
        a.discount_account = *ref;
      }
      if (a.discount != 0 && a.discount_account.empty()) {
        // The company's discount account for bills, else a discount needs one named.
        if (default_discount.empty()) {
          std::string name = store.company().SettingOr(
              "pref.PurchasesAndVendorsPreferences.DefaultDiscountAccountRef", "");
          if (auto r = name.empty() ? std::nullopt
                                    : store.lists().LoadByFullName(*FindListType("Account"), name))
            default_discount = RefTo(store, r->list_id);
        }
        if (default_discount.empty())
          return RefuseTxn(payment, "A discount needs the account it is booked to.");
        a.discount_account = default_discount;
      }
      for (auto set : node.children("SetCredit")) {
        std::string credit_id = Text(set.child("CreditTxnID"));
        std::optional<TxnRecord> credit;
        s = load(credit_id, "VendorCredit", credit);
        if (!s.ok()) return s;
        auto used = AmountOf(set.child("AppliedAmount"));
        if (!used || *used < 0)
          return RefuseTxn(payment, "The amount of a credit must be an amount of 0 or more.");
        auto left = std::find_if(credit_left.begin(), credit_left.end(),
                                 [&](const auto& c) { return c.first == credit_id; });
        if (left == credit_left.end())
          left = credit_left.insert(credit_left.end(),
                                    {credit_id, OpenToSettle(store, *credit) -
                                                    OwnPostings(store, payment.txn_id, credit_id)});
        if (*used > left->second)
          return RefuseTxn(payment, "The vendor credit " + credit_id + " has only " +
                                        FormatCents(left->second) + " left.");
        left->second -= *used;
        a.credits.emplace_back(credit_id, *used);
      }
      // What this payment paid on the bill before is open again while it is changed.
      int64_t open = OpenToSettle(store, *bill) + OwnPostings(store, payment.txn_id, a.bill_id);
      if (a.Settles() > open)
        return RefuseTxn(payment, "The bill " + a.bill_id + " has only " + FormatCents(open) +
                                      " open, less than is applied to it.");
      applications.push_back(std::move(a));
    }
  }
  int64_t paid = 0;
  for (const auto& a : applications) paid += a.amount;
  if (!fresh && request.child("Amount")) {
    auto asked = ParseCents(Text(request.child("Amount")));
    if (!asked || *asked != paid)
      return RefuseTxn(payment, "The amount of a bill payment is what it pays on its bills, " +
                                    FormatCents(paid) + ".");
  }
  payment.ClearField("AppliedToTxnRet");
  const int index = payment.Index("AppliedToTxnRet");
  for (const auto& a : applications)
    AddFieldAt(payment.fields, static_cast<uint16_t>(index), a.Encode());
  payment.SetField("Amount", FormatCents(paid));
  return {};
}

int64_t PostBillApplications(TxnStore& store, const TxnRecord& payment, std::vector<Posting>& out) {
  const std::string vendor(RefId(payment.Field("PayeeEntityRef")));
  int64_t paid = 0;
  for (const auto& a : StoredBillApplications(payment)) {
    out.push_back(Posting::To(payment.account_id, a.Settles()).Against(vendor).Opens(a.bill_id));
    if (a.discount != 0)
      out.push_back(Posting::To(std::string(RefId(a.discount_account)), -a.discount));
    for (const auto& [credit, cents] : a.credits)
      out.push_back(Posting::To(payment.account_id, -cents).Against(vendor).Opens(credit));
    paid += a.amount;
  }
  (void)store;
  return paid;
}

void WriteBillApplications(TxnStore& store, const TxnRecord& payment, std::string& out) {
  XmlWriter w(out);
  auto amount = [&](int64_t cents) { return FormatCents(payment.voided ? 0 : cents); };
  for (const auto& a : StoredBillApplications(payment)) {
    auto bill = store.LoadById(a.bill_id);
    if (!bill) continue;
    w.Open("AppliedToTxnRet");
    w.Element("TxnID", bill->txn_id);
    w.Element("TxnType", bill->kind->stem);
    w.Element("TxnDate", bill->txn_date);
    if (!bill->ref_number.empty()) w.Element("RefNumber", bill->ref_number);
    w.Element("BalanceRemaining", FormatCents(OpenToSettle(store, *bill)));
    w.Element("Amount", amount(a.amount));
    if (a.discount != 0) {
      w.Element("DiscountAmount", amount(a.discount));
      store.refs().Write(out, "DiscountAccountRef", a.discount_account);
    }
    for (const auto& [credit_id, cents] : a.credits) {
      auto credit = store.LoadById(credit_id);
      if (!credit) continue;
      w.Open("LinkedTxn");
      w.Element("TxnID", credit->txn_id);
      w.Element("TxnType", credit->kind->stem);
      w.Element("TxnDate", credit->txn_date);
      if (!credit->ref_number.empty()) w.Element("RefNumber", credit->ref_number);
      w.Element("LinkType", "AMTTYPE");
      w.Element("Amount", amount(-cents));
      w.Close("LinkedTxn");
    }
    w.Close("AppliedToTxnRet");
  }
}

size_t WriteBillsToPay(TxnStore& store, std::string_view vendor_id, std::string_view ap_account_id,
                       std::string_view due_by, std::string& out) {
  auto& st = store.company().db().Prepare(
      "SELECT id FROM txn_records WHERE entity_id=? AND txn_type IN ('Bill','VendorCredit') AND "
      "voided=0 ORDER BY txn_date,id");
  st.Bind(1, vendor_id);
  std::vector<int64_t> rows;
  while (st.Step()) rows.push_back(st.Int(0));
  XmlWriter w(out);
  size_t count = 0;
  for (int64_t row : rows) {
    auto txn = store.LoadByRow(row);
    if (!txn || (!ap_account_id.empty() && txn->account_id != ap_account_id)) continue;
    const bool bill = txn->kind->stem == "Bill";
    if (bill && !due_by.empty() && txn->Field("DueDate") > due_by) continue;
    int64_t open = OpenToSettle(store, *txn);
    if (open <= 0) continue;
    ++count;
    const char* entry = bill ? "BillToPay" : "CreditToApply";
    w.Open("BillToPayRet");
    w.Open(entry);
    w.Element("TxnID", txn->txn_id);
    w.Element("TxnType", txn->kind->stem);
    store.refs().Write(out, "APAccountRef", txn->Field("APAccountRef"));
    w.Element("TxnDate", txn->txn_date);
    if (!txn->ref_number.empty()) w.Element("RefNumber", txn->ref_number);
    if (bill && !txn->Field("DueDate").empty()) w.Element("DueDate", txn->Field("DueDate"));
    w.Element(bill ? "AmountDue" : "CreditRemaining", FormatCents(open));
    w.Close(entry);
    w.Close("BillToPayRet");
  }
  return count;
}

}  // namespace brennock::simulator
