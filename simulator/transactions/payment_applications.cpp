#include "simulator/transactions/payment_applications.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

#include "simulator/lists/field_values.h"
#include "simulator/transactions/receivables.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

// The fields of one stored application.
enum : uint16_t { kTxn, kAmount, kDiscount, kDiscountAccount, kDiscountClass, kCredit };

constexpr std::array<std::string_view, 2> kReceivables = {"Invoice", "Charge"};
constexpr std::array<std::string_view, 2> kCredits = {"CreditMemo", "ReceivePayment"};

bool Among(std::span<const std::string_view> kinds, std::string_view stem) {
  return std::find(kinds.begin(), kinds.end(), stem) != kinds.end();
}

std::string Money(int64_t cents) { return FormatCents(cents); }

// The name a message gives a transaction: its number, else its TxnID.
std::string Named(const TxnRecord& txn) {
  return txn.ref_number.empty() ? txn.txn_id : txn.ref_number;
}

std::optional<int64_t> Amount(pugi::xml_node parent, const char* name, Status& status) {
  pugi::xml_node node = parent.child(name);
  if (!node) return 0;
  auto cents = ParseCents(Trim(node.text().get()));
  if (!cents) status = MakeStatus(kConversionError, {"amount", node.text().get(), name});
  return cents;
}

}  // namespace

int64_t Application::Settled() const {
  int64_t sum = amount + discount;
  for (const auto& c : credits) sum += c.amount;
  return sum;
}

std::vector<Application> StoredApplications(const TxnRecord& payment) {
  std::vector<Application> out;
  int index = payment.Index("AppliedToTxnRet");
  if (index < 0) return out;
  FieldList fields;
  for (const auto& [i, value] : payment.fields) {
    if (i != index || !DecodeFields(value, fields)) continue;
    Application& a = out.emplace_back();
    for (const auto& [key, v] : fields) {
      if (key == kTxn) a.txn_id = v;
      if (key == kAmount) a.amount = ParseCents(v).value_or(0);
      if (key == kDiscount) a.discount = ParseCents(v).value_or(0);
      if (key == kDiscountAccount) a.discount_account = v;
      if (key == kDiscountClass) a.discount_class = v;
      if (key == kCredit)
        a.credits.push_back({std::string(RefId(v)), ParseCents(RefName(v)).value_or(0)});
    }
  }
  return out;
}

void StoreApplications(TxnRecord& payment, const std::vector<Application>& applications) {
  int index = payment.Index("AppliedToTxnRet");
  if (index < 0) return;
  ClearFieldAt(payment.fields, static_cast<uint16_t>(index));
  for (const auto& a : applications) {
    FieldList fields{{kTxn, a.txn_id}, {kAmount, Money(a.amount)}};
    if (a.discount != 0) fields.emplace_back(kDiscount, Money(a.discount));
    if (!a.discount_account.empty()) fields.emplace_back(kDiscountAccount, a.discount_account);
    if (!a.discount_class.empty()) fields.emplace_back(kDiscountClass, a.discount_class);
    for (const auto& c : a.credits)
      fields.emplace_back(kCredit, c.txn_id + kRefSeparator + Money(c.amount));
    AddFieldAt(payment.fields, static_cast<uint16_t>(index), EncodeFields(fields));
  }
}

bool ReadApplications(TxnStore& store, const TxnRecord& payment, pugi::xml_node request,
                      std::vector<Application>& out, Status& status) {
  bool any = false;
  std::string owner(payment.kind->stem);
  for (pugi::xml_node node : request.children()) {
    std::string_view name = node.name();
    if (name != "AppliedToTxnAdd" && name != "AppliedToTxnMod") continue;
    any = true;
    Application a;
    a.txn_id = Trim(node.child_value("TxnID"));
    auto amount = Amount(node, "PaymentAmount", status);
    auto discount = Amount(node, "DiscountAmount", status);
    if (!amount || !discount) return true;
    a.amount = *amount;
    a.discount = *discount;
    for (const char* ref : {"DiscountAccountRef", "DiscountClassRef"}) {
      pugi::xml_node r = node.child(ref);
      if (!r) continue;
      auto value = store.refs().Resolve(r, owner, status);
      if (!value) return true;
      (std::string_view(ref) == "DiscountAccountRef" ? a.discount_account : a.discount_class) =
          *value;
    }
    for (pugi::xml_node credit : node.children("SetCredit")) {
      auto applied = Amount(credit, "AppliedAmount", status);
      if (!applied) return true;
      a.credits.push_back({std::string(Trim(credit.child_value("CreditTxnID"))), *applied});
    }
    out.push_back(std::move(a));
  }
  return any;
}

std::vector<Application> AutoApply(TxnStore& store, const TxnRecord& payment, int64_t total) {
  std::vector<Application> out;
  if (total <= 0) return out;
  auto open = OpenReceivables(store, RefId(payment.Field("CustomerRef")), kReceivables, true);
  auto paying = [](const std::string& id, int64_t amount) {
    Application a;
    a.txn_id = id;
    a.amount = amount;
    return a;
  };
  for (const auto& [id, balance] : open)
    if (balance == total) return {paying(id, total)};
  int64_t left = total;
  for (const auto& [id, balance] : open) {
    if (left == 0) break;
    int64_t pay = std::min(left, balance);
    out.push_back(paying(id, pay));
    left -= pay;
  }
  return out;
}

Status CheckApplications(TxnStore& store, const TxnRecord& payment,
                         const std::vector<Application>& applications, int64_t total) {
  const bool fresh = payment.txn_id.empty();
  auto refuse = [&](std::string why) {
    return MakeStatus(fresh ? kTxnCannotSave : kTxnCannotModify, {payment.kind->stem, why});
  };
  const std::string ar(RefId(payment.Field("ARAccountRef")));
  std::vector<std::string> family = CustomerFamily(store, RefId(payment.Field("CustomerRef")));
  // What this payment moved before a change: open again for its new applications.
  std::unordered_map<std::string, int64_t> own;
  if (!fresh)
    for (const Posting& p : store.ledger().PostingsOf(payment.txn_id))
      if (p.account_id == ar && !p.open_id.empty()) own[p.open_id] += p.amount;
  auto open_of = [&](const std::string& id) {
    return store.ledger().OpenBalanceIn(id, ar) - own[id];
  };
  // A transaction the payment may name: the customer's or a job's, in the same receivables.
  auto load = [&](const std::string& id, std::span<const std::string_view> kinds,
                  std::optional<TxnRecord>& out) -> Status {
    out = id.empty() || id == payment.txn_id ? std::nullopt : store.LoadById(id);
    if (!out || out->voided || !Among(kinds, out->kind->stem) ||
        std::find(family.begin(), family.end(), out->entity_id) == family.end())
      return MakeStatus(kObjectNotFound, {id});
    if (RefId(out->Field("ARAccountRef")) != ar)
      return refuse("The " + std::string(out->kind->stem) + " \"" + Named(*out) +
                    "\" is in another accounts receivable account.");
    return {};
  };
  std::map<std::string, int64_t> credit_used;
  std::vector<std::string> seen;
  int64_t paid = 0;
  for (const auto& a : applications) {
    if (a.amount < 0 || a.discount < 0 ||
        std::any_of(a.credits.begin(), a.credits.end(), [](auto& c) { return c.amount < 0; }))
      return refuse("Amounts applied to a transaction cannot be negative.");
    if (std::find(seen.begin(), seen.end(), a.txn_id) != seen.end())
      return refuse("The payment is applied to \"" + a.txn_id + "\" more than once.");
    seen.push_back(a.txn_id);
    std::optional<TxnRecord> target;
    if (Status s = load(a.txn_id, kReceivables, target); !s.ok()) return s;
    if (a.discount != 0) {
      if (a.discount_account.empty())
        return refuse("The discount on \"" + Named(*target) +
                      "\" needs an account (DiscountAccountRef).");
      auto account = store.lists().LoadById(RefId(a.discount_account));
      std::string_view type = account ? std::string_view(account->account_type) : "";
      if (type != "Income" && type != "OtherIncome" && type != "Expense" &&
          type != "OtherExpense" && type != "CostOfGoodsSold")
        return MakeStatus(kInvalidReference,
                          {"Account", RefName(a.discount_account), payment.kind->stem});
    }
    for (const auto& c : a.credits) {
      std::optional<TxnRecord> credit;
      if (Status s = load(c.txn_id, kCredits, credit); !s.ok()) return s;
      int64_t& used = credit_used[c.txn_id];
      used += c.amount;
      if (used > -open_of(c.txn_id))
        return refuse("The credit \"" + Named(*credit) + "\" has " + Money(-open_of(c.txn_id)) +
                      " left, less than the " + Money(used) + " applied.");
    }
    if (int64_t open = open_of(a.txn_id); a.Settled() > open)
      return refuse("The amount applied to \"" + Named(*target) + "\" (" + Money(a.Settled()) +
                    ") is more than its open balance (" + Money(open) + ").");
    paid += a.amount;
  }
  if (paid > total)
    return refuse("The payments applied (" + Money(paid) + ") are more than the payment's total (" +
                  Money(total) + ").");
  return {};
}

int64_t PostApplications(TxnStore& store, const TxnRecord& payment,
                         const std::vector<Application>& applications, std::vector<Posting>& out) {
  const std::string ar(RefId(payment.Field("ARAccountRef")));
  auto entity_of = [&](const std::string& id) {
    auto txn = store.LoadById(id);
    return txn ? txn->entity_id : payment.entity_id;
  };
  int64_t paid = 0;
  for (const auto& a : applications) {
    out.push_back(Posting::To(ar, -a.Settled()).Against(entity_of(a.txn_id)).Opens(a.txn_id));
    if (a.discount != 0)
      out.push_back(Posting::To(std::string(RefId(a.discount_account)), a.discount)
                        .Against(payment.entity_id));
    for (const auto& c : a.credits)
      out.push_back(Posting::To(ar, c.amount).Against(entity_of(c.txn_id)).Opens(c.txn_id));
    paid += a.amount;
  }
  return paid;
}

void WriteApplications(TxnStore& store, const TxnRecord& payment, std::string& out) {
  XmlWriter w(out);
  auto header = [&](const TxnRecord& txn) {
    w.Element("TxnID", txn.txn_id);
    w.Element("TxnType", txn.kind->stem);
    w.Element("TxnDate", txn.txn_date);
    if (!txn.ref_number.empty()) w.Element("RefNumber", txn.ref_number);
  };
  for (const auto& a : StoredApplications(payment)) {
    auto target = store.LoadById(a.txn_id);
    if (!target) continue;
    w.Open("AppliedToTxnRet");
    header(*target);
    w.Element("BalanceRemaining", Money(store.OpenBalance(target->txn_id)));
    w.Element("Amount", Money(a.amount));
    if (a.discount != 0) w.Element("DiscountAmount", Money(a.discount));
    if (!a.discount_account.empty())
      store.refs().Write(out, "DiscountAccountRef", a.discount_account);
    if (!a.discount_class.empty()) store.refs().Write(out, "DiscountClassRef", a.discount_class);
    for (const auto& c : a.credits) {
      auto credit = store.LoadById(c.txn_id);
      if (!credit) continue;
      w.Open("LinkedTxn");
      header(*credit);
      w.Element("LinkType", "AMTTYPE");
      w.Element("Amount", Money(-c.amount));
      w.Close("LinkedTxn");
    }
    w.Close("AppliedToTxnRet");
  }
}

}  // namespace brennock::simulator
