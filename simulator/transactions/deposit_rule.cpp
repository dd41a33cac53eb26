#include "simulator/transactions/deposit_rule.h"

#include <algorithm>
#include <unordered_map>

#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/transactions/undeposited_funds.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

class DepositForm {
 public:
  DepositForm(TxnStore& store, TxnRecord& txn) : store_(store), txn_(txn) {}

  Status Complete(std::vector<LineInput>& inputs);

 private:
  Status PaymentLine(TxnLine& line, const qbxml::Aggregate& shape, pugi::xml_node source);
  Status CashBack(pugi::xml_node cash_back, int64_t lines);
  Status Refuse(std::string why) {
    return MakeStatus(txn_.txn_id.empty() ? kTxnCannotSave : kTxnCannotModify,
                      {txn_.kind->stem, why});
  }
  std::string Ref(const std::string& id) {
    return id + kRefSeparator + store_.refs().CurrentFullName(id, {});
  }

  TxnStore& store_;
  TxnRecord& txn_;
  std::vector<std::string> deposited_;
};

// A payment line: all the money the payment (or sales receipt) still has in Undeposited Funds,
// counting what this deposit took of it before a change as still there.
Status DepositForm::PaymentLine(TxnLine& line, const qbxml::Aggregate& shape,
                                pugi::xml_node source) {
  std::string id(Trim(source.child_value("PaymentTxnID")));
  if (std::find(deposited_.begin(), deposited_.end(), id) != deposited_.end())
    return Refuse("The payment \"" + id + "\" is deposited twice.");
  deposited_.push_back(id);
  auto payment = store_.LoadById(id);
  if (!payment) return MakeStatus(kObjectNotFound, {id});
  const std::string funds = store_.lists().SpecialAccount("UndepositedFunds");
  int64_t waiting = Undeposited(store_, id);
  if (!txn_.txn_id.empty())
    for (const Posting& p : store_.ledger().PostingsOf(txn_.txn_id))
      if (p.account_id == funds && p.open_id == id) waiting -= p.amount;
  std::string named = payment->ref_number.empty() ? id : payment->ref_number;
  if (waiting <= 0)
    return Refuse("The " + std::string(payment->kind->stem) + " \"" + named +
                  "\" has nothing in Undeposited Funds.");
  SetLineField(line, shape, "TxnType", std::string(payment->kind->stem));
  SetLineField(line, shape, "TxnID", id);
  if (!payment->entity_id.empty())
    SetLineField(line, shape, "EntityRef", std::string(payment->Field("CustomerRef")));
  SetLineField(line, shape, "AccountRef", Ref(funds));
  auto take = [&](const char* override, std::string_view from, const char* to) {
    pugi::xml_node given = source.child(override);
    std::string value = given ? std::string(Trim(given.text().get())) : std::string(from);
    if (value.empty())
      ClearLineField(line, shape, to);
    else
      SetLineField(line, shape, to, value);
  };
  std::string_view check = payment->Field("CheckNumber");
  take("OverrideMemo", payment->Field("Memo"), "Memo");
  take("OverrideCheckNumber", check.empty() ? std::string_view(payment->ref_number) : check,
       "CheckNumber");
  if (pugi::xml_node cls = source.child("OverrideClassRef")) {
    Status status;
    auto value = store_.refs().Resolve(cls, txn_.kind->stem, status);
    if (!value) return status;
    SetLineField(line, shape, "ClassRef", *value);
  }
  if (auto method = payment->Field("PaymentMethodRef"); !method.empty())
    SetLineField(line, shape, "PaymentMethodRef", std::string(method));
  SetLineField(line, shape, "Amount", FormatCents(waiting));
  return {};
}

Status DepositForm::CashBack(pugi::xml_node cash_back, int64_t lines) {
  const int index = txn_.Index("CashBackInfoRet");
  if (!cash_back) {
    // Kept as it was; its amount still has to fit the lines.
    std::string_view stored = txn_.Field("CashBackInfoRet");
    int64_t amount = 0;
    if (!stored.empty()) {
      pugi::xml_document doc;
      std::string text = "<C>" + std::string(stored) + "</C>";
      if (doc.load_buffer(text.data(), text.size()))
        amount = ParseCents(doc.first_child().child_value("Amount")).value_or(0);
    }
    if (amount > lines)
      return Refuse("The cash back (" + FormatCents(amount) + ") is more than the deposit (" +
                    FormatCents(lines) + ").");
    txn_.SetField("DepositTotal", FormatCents(lines - amount));
    return {};
  }
  Status status;
  auto account = store_.refs().Resolve(cash_back.child("AccountRef"), txn_.kind->stem, status);
  if (!account) return status;
  auto record = store_.lists().LoadById(RefId(*account));
  if (!record || record->account_type == "NonPosting" ||
      record->list_id == store_.lists().SpecialAccount("UndepositedFunds"))
    return MakeStatus(kInvalidReference, {"Account", RefName(*account), txn_.kind->stem});
  std::string amount_text(Trim(cash_back.child_value("Amount")));
  auto amount = ParseCents(amount_text.empty() ? "0" : amount_text);
  if (!amount) return MakeStatus(kConversionError, {"amount", amount_text, "Amount"});
  if (*amount < 0) return Refuse("The cash back cannot be negative.");
  if (*amount > lines)
    return Refuse("The cash back (" + FormatCents(*amount) + ") is more than the deposit (" +
                  FormatCents(lines) + ").");
  // TxnLineID first, as QuickBooks answers it; a change keeps the line's ID.
  std::string line_id;
  if (std::string_view stored = txn_.Field("CashBackInfoRet"); !stored.empty()) {
    auto start = stored.find("<TxnLineID>"), end = stored.find("</TxnLineID>");
    if (start != std::string_view::npos && end != std::string_view::npos)
      line_id = stored.substr(start + 11, end - start - 11);
  }
  if (line_id.empty()) line_id = store_.NextId();
  std::string text;
  XmlWriter w(text);
  w.Element("TxnLineID", line_id);
  store_.refs().Write(text, "AccountRef", *account);
  if (std::string memo(Trim(cash_back.child_value("Memo"))); !memo.empty()) w.Element("Memo", memo);
  w.Element("Amount", FormatCents(*amount));
  if (index >= 0) txn_.SetField("CashBackInfoRet", text);
  txn_.SetField("DepositTotal", FormatCents(lines - *amount));
  return {};
}

Status DepositForm::Complete(std::vector<LineInput>& inputs) {
  if (txn_.Field("TxnDate").empty()) txn_.SetField("TxnDate", FormatDate(Now()));
  std::string_view bank = txn_.Field("DepositToAccountRef");
  auto account = store_.lists().LoadById(RefId(bank));
  if (!account ||
      (account->account_type != "Bank" && account->account_type != "OtherCurrentAsset") ||
      account->list_id == store_.lists().SpecialAccount("UndepositedFunds"))
    return MakeStatus(kInvalidReference, {"Account", RefName(bank), txn_.kind->stem});
  if (txn_.lines.empty()) return Refuse("A deposit needs at least one line.");
  int64_t total = 0;
  for (size_t i = 0; i < txn_.lines.size(); ++i) {
    TxnLine& line = txn_.lines[i];
    const qbxml::Aggregate& shape = line.Shape(*txn_.kind);
    pugi::xml_node source = i < inputs.size() ? inputs[i].source : pugi::xml_node();
    if (source && source.child("PaymentTxnID")) {
      Status status = PaymentLine(line, shape, source);
      if (!status.ok()) return status;
    } else if (!LineField(line, shape, "TxnID").empty()) {
      deposited_.emplace_back(LineField(line, shape, "TxnID"));  // kept from before a change
    } else {
      auto target = store_.lists().LoadById(RefId(LineField(line, shape, "AccountRef")));
      if (!target || target->account_type == "NonPosting")
        return MakeStatus(
            kInvalidReference,
            {"Account", RefName(LineField(line, shape, "AccountRef")), txn_.kind->stem});
      if (LineField(line, shape, "Amount").empty()) SetLineField(line, shape, "Amount", "0.00");
    }
    auto amount = ParseCents(LineField(line, shape, "Amount"));
    if (!amount || *amount > kMaxCents - total || *amount < -kMaxCents - total)
      return Refuse("The amount of a line is more than QuickBooks can keep.");
    total += *amount;
  }
  pugi::xml_node request = store_.request();
  pugi::xml_node cash_back = request.child("CashBackInfoAdd");
  if (!cash_back) cash_back = request.child("CashBackInfoMod");
  return CashBack(cash_back, total);
}

}  // namespace

Status DepositRule::Complete(TxnStore& store, TxnRecord& txn,
                             std::vector<LineInput>& inputs) const {
  return DepositForm(store, txn).Complete(inputs);
}

std::vector<Posting> DepositRule::Postings(TxnStore& store, const TxnRecord& txn) const {
  std::vector<Posting> out;
  out.push_back(Posting::To(std::string(RefId(txn.Field("DepositToAccountRef"))),
                            ParseCents(txn.Field("DepositTotal")).value_or(0)));
  const std::string funds = store.lists().SpecialAccount("UndepositedFunds");
  for (const auto& line : txn.lines) {
    const qbxml::Aggregate& shape = line.Shape(*txn.kind);
    int64_t amount = ParseCents(LineField(line, shape, "Amount")).value_or(0);
    std::string entity(RefId(LineField(line, shape, "EntityRef")));
    if (std::string_view paid = LineField(line, shape, "TxnID"); !paid.empty())
      out.push_back(Posting::To(funds, -amount).Against(entity).Opens(std::string(paid)));
    else
      out.push_back(Posting::To(std::string(RefId(LineField(line, shape, "AccountRef"))), -amount)
                        .Against(entity));
  }
  if (std::string_view stored = txn.Field("CashBackInfoRet"); !stored.empty()) {
    pugi::xml_document doc;
    std::string text = "<C>" + std::string(stored) + "</C>";
    if (doc.load_buffer(text.data(), text.size())) {
      pugi::xml_node c = doc.first_child();
      out.push_back(Posting::To(std::string(Trim(c.child("AccountRef").child_value("ListID"))),
                                ParseCents(c.child_value("Amount")).value_or(0)));
    }
  }
  std::erase_if(out, [](const Posting& p) { return p.amount == 0 && p.open_id.empty(); });
  return out;
}

bool DepositRule::WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                                  std::string& out) const {
  // A void keeps the cash back line with its amount zero, as it keeps the deposit's lines.
  if (element != "CashBackInfoRet" || !txn.voided) return false;
  std::string_view stored = txn.Field("CashBackInfoRet");
  pugi::xml_document doc;
  std::string text = "<C>" + std::string(stored) + "</C>";
  if (stored.empty() || !doc.load_buffer(text.data(), text.size())) return true;
  pugi::xml_node c = doc.first_child();
  XmlWriter w(out);
  w.Open(element);
  w.Element("TxnLineID", c.child_value("TxnLineID"));
  pugi::xml_node account = c.child("AccountRef");
  store.refs().Write(
      out, "AccountRef",
      std::string(account.child_value("ListID")) + kRefSeparator + account.child_value("FullName"));
  if (*c.child_value("Memo")) w.Element("Memo", c.child_value("Memo"));
  w.Element("Amount", "0.00");
  w.Close(element);
  return true;
}

}  // namespace brennock::simulator
