// `brennock add` for the buying side, journal entries, time, adjustments and builds: one Add
// request written from the catalogue's shapes, sent as it is, and the figures QuickBooks answered
// with printed.
#include <cmath>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_body.h"
#include "cli/qbxml/record_lookup.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

const std::regex kAmount(R"(-?\d+(\.\d{1,2})?)");
const std::regex kQuantity(R"(-?\d+(\.\d+)?)");

// "Office Supplies:12.50", "Utilities:Telephone:60", "Accounts Payable:75.00:Hand Supply Co": a
// name that may hold colons, an amount, and (where allowed) a name after it.
struct NameAmount {
  std::string name, amount, after;
};
NameAmount SplitNameAmount(const std::string& text, const std::string& option, bool after) {
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  // The amount is the last part that is one (the first after the name, when a name follows).
  for (size_t i = parts.size(); i-- > 1;) {
    if (!std::regex_match(parts[i], kAmount)) continue;
    if (!after && i + 1 != parts.size()) break;
    NameAmount out;
    for (size_t k = 0; k < i; ++k) out.name += (k ? ":" : "") + parts[k];
    out.amount = parts[i];
    for (size_t k = i + 1; k < parts.size(); ++k) out.after += (k > i + 1 ? ":" : "") + parts[k];
    return out;
  }
  throw UsageError(option + " wants " + (after ? "ACCOUNT:AMOUNT[:NAME]" : "NAME:AMOUNT") +
                   ", not '" + text + "'");
}

// One line aggregate written from settings, in its schema's order.
std::string LineXml(std::string_view aggregate,
                    const std::vector<std::pair<std::string, std::string>>& settings) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  if (!shape) throw UsageError("this transaction has no " + std::string(aggregate));
  RecordBody body(*shape, "line");
  for (const auto& [field, value] : settings)
    if (!value.empty()) body.Set(field, value);
  std::string out = "<" + std::string(aggregate) + ">";
  body.AppendXml(out);
  return out + "</" + std::string(aggregate) + ">";
}

// "1:30", "1.5" (hours) or "PT1H30M" as QuickBooks' duration.
std::string Duration(const std::string& text) {
  static const std::regex kClock(R"((\d+):([0-5]\d))"), kHours(R"(\d+(\.\d+)?)"),
      kIso(R"(PT(\d+H)?(\d+M)?(\d+S)?)");
  std::smatch m;
  if (std::regex_match(text, m, kClock)) return "PT" + m[1].str() + "H" + m[2].str() + "M";
  if (std::regex_match(text, kHours)) {
    long minutes = std::lround(std::stod(text) * 60);
    return "PT" + std::to_string(minutes / 60) + "H" + std::to_string(minutes % 60) + "M";
  }
  if (text.size() > 2 && std::regex_match(text, kIso)) return text;
  throw UsageError("--duration wants hours and minutes like 1:30, 1.5 or PT1H30M, not '" + text +
                   "'");
}

void Require(bool given, const TxnWords& words, const std::string& what) {
  if (!given) throw UsageError("a " + std::string(words.label) + " needs " + what);
}

// What `add` prints: "Added bill HS-881 (TxnID 1F-1700000000) for Hand Supply Co: amount 90.00,
// due 90.00".
std::string Summary(const TxnWords& words, const XmlNode& ret, const std::string& party) {
  std::string out = "Added " + std::string(words.label);
  if (std::string ref = ChildText(ret, "RefNumber"); !ref.empty()) out += " " + ref;
  out += " (TxnID " + ChildText(ret, "TxnID") + ")";
  if (!party.empty()) out += " for " + party;
  std::string figures;
  std::string_view summary = words.summary;
  while (!summary.empty()) {
    size_t comma = std::min(summary.find(','), summary.size());
    std::string_view pair = summary.substr(0, comma);
    size_t equals = pair.find('=');
    std::string value = ChildText(ret, pair.substr(0, equals));
    if (!value.empty())
      figures += (figures.empty() ? "" : ", ") + std::string(pair.substr(equals + 1)) + " " + value;
    summary.remove_prefix(std::min(comma + 1, summary.size()));
  }
  return out + (figures.empty() ? "" : ": " + figures) + "\n";
}

}  // namespace

int RunOtherTxnAdd(const TxnWords& words, const TxnAddOptions& o, const GlobalOptions& globals) {
  const std::string stem(words.stem);
  const qbxml::Aggregate* shape = qbxml::FindAggregate(stem + "Add");
  if (!shape) throw UsageError("cannot add a " + std::string(words.label));
  if (o.autoApply || !o.amount.empty())
    throw UsageError("--auto-apply and --amount are for customer payments");
  if (!o.date.empty() && !std::regex_match(o.date, std::regex(R"(\d{4}-\d{2}-\d{2})")))
    throw UsageError("--date wants a date like 2024-03-01, not '" + o.date + "'");
  CliSession session(globals);
  RecordBody body(*shape, std::string(words.label));
  std::string lines, party;
  auto header = [&](std::string_view field, const std::string& value) {
    if (!value.empty()) body.Set(field, value);
  };
  switch (words.form) {
    case TxnForm::kPurchase: {
      Require(!o.vendor.empty(), words, words.entity == "VendorRef" ? "--vendor" : "--payee");
      party = o.vendor;
      header(words.entity, o.vendor);
      if (!words.account.empty()) {
        Require(!o.account.empty(), words, "--account");
        header(words.account, o.account);
      }
      Require(!o.lines.empty() || !o.expenses.empty() || !o.links.empty(), words,
              "a --line, --expense or --link");
      const bool order = stem == "PurchaseOrder";
      for (const std::string& link : o.links) {
        // A purchase order received or billed, else (for a bill) an item receipt billed.
        std::string id;
        try {
          id = TxnIdOf(session, *FindTxnWords("purchaseorder"), link);
        } catch (const CommandFailure&) {
          if (stem != "Bill") throw;
          id = TxnIdOf(session, *FindTxnWords("itemreceipt"), link);
        }
        body.Set("LinkToTxnID", id);
      }
      if (order && !o.expenses.empty()) throw UsageError("a purchase order has no expense lines");
      for (const std::string& text : o.expenses) {
        NameAmount e = SplitNameAmount(text, "--expense", false);
        lines += LineXml("ExpenseLineAdd", {{"AccountRef", e.name}, {"Amount", e.amount}});
      }
      for (const std::string& text : o.lines) {
        LineArg arg = ParseLineArg(text);
        lines += LineXml(order ? "PurchaseOrderLineAdd" : "ItemLineAdd",
                         {{"ItemRef", arg.item},
                          {"Quantity", arg.quantity},
                          {order ? "Rate" : "Cost", arg.rate}});
      }
      break;
    }
    case TxnForm::kBillPayment: {
      Require(!o.vendor.empty(), words, "--vendor");
      Require(!o.account.empty(), words, "--account");
      Require(!o.apply.empty(), words, "an --apply BILL:AMOUNT");
      party = o.vendor;
      header("PayeeEntityRef", o.vendor);
      header(words.account, o.account);
      // A check is numbered or to be printed: QuickBooks numbers it when neither is said.
      if (stem == "BillPaymentCheck" && o.ref.empty() && !body.Has("IsToBePrinted"))
        body.Set("IsToBePrinted", "false");
      for (const std::string& text : o.apply) {
        NameAmount a = SplitNameAmount(text, "--apply", false);
        lines +=
            LineXml("AppliedToTxnAdd", {{"TxnID", TxnIdOf(session, *FindTxnWords("bill"), a.name)},
                                        {"PaymentAmount", a.amount}});
      }
      break;
    }
    case TxnForm::kJournal: {
      Require(!o.debits.empty() && !o.credits.empty(), words, "a --debit and a --credit");
      for (const auto& [side, list] :
           {std::pair{"JournalDebitLine", &o.debits}, std::pair{"JournalCreditLine", &o.credits}})
        for (const std::string& text : *list) {
          bool debit = std::string_view(side) == "JournalDebitLine";
          NameAmount j = SplitNameAmount(text, debit ? "--debit" : "--credit", true);
          lines +=
              LineXml(side, {{"AccountRef", j.name}, {"Amount", j.amount}, {"EntityRef", j.after}});
        }
      break;
    }
    case TxnForm::kTime: {
      Require(!o.name.empty(), words, "--name (an employee, vendor or other name)");
      Require(!o.duration.empty(), words, "--duration");
      party = o.name;
      header("EntityRef", o.name);
      header("CustomerRef", o.customer);
      header("ItemServiceRef", o.item);
      header("Duration", Duration(o.duration));
      break;
    }
    case TxnForm::kAdjustment: {
      Require(!o.account.empty(), words, "--account");
      Require(!o.lines.empty(), words, "a --line ITEM:QUANTITY-DIFFERENCE");
      header("AccountRef", o.account);
      header("CustomerRef", o.customer);
      for (const std::string& text : o.lines) {
        NameAmount l = SplitNameAmount(text, "--line", false);
        if (!std::regex_match(l.amount, kQuantity))
          throw UsageError("--line wants ITEM:QUANTITY-DIFFERENCE, not '" + text + "'");
        lines +=
            LineXml("InventoryAdjustmentLineAdd",
                    {{"ItemRef", l.name}, {"QuantityAdjustment.QuantityDifference", l.amount}});
      }
      break;
    }
    case TxnForm::kBuild: {
      Require(!o.item.empty(), words, "--item (the assembly)");
      Require(!o.quantity.empty(), words, "--quantity");
      party = o.item;
      header("ItemInventoryAssemblyRef", o.item);
      header("QuantityToBuild", o.quantity);
      if (o.pending) body.Set("MarkPendingIfRequired", "true");
      break;
    }
    case TxnForm::kSale:
      return RunTxnAdd(words, o, globals);
  }
  header("TxnDate", o.date);
  header("RefNumber", o.ref);
  header("Memo", o.memo);
  for (const std::string& setting : o.settings) body.SetAssignment(setting);
  std::string request = "<" + stem + "AddRq requestID=\"1\"><" + stem + "Add>";
  body.AppendXml(request);
  request += lines + "</" + stem + "Add></" + stem + "AddRq>";
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  if (!globals.quiet) WriteOut(Summary(words, FirstElement(status.element), party));
  return kExitOk;
}

}  // namespace brennock::cli
