// `brennock add payment`: a customer payment, applied to invoices by hand (--apply) or as
// QuickBooks applies it (--auto-apply), or kept whole as the customer's credit.
#include <memory>
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

int RunPaymentAdd(const TxnWords& words, const TxnAddOptions& options,
                  const GlobalOptions& globals) {
  const std::string label(words.label);
  if (options.customer.empty()) throw UsageError("a payment needs --customer");
  if (!options.lines.empty())
    throw UsageError("a payment has no --line; it takes --apply or --auto-apply");
  if (options.autoApply && !options.apply.empty())
    throw UsageError("--apply and --auto-apply exclude each other");
  if (options.autoApply && options.amount.empty()) throw UsageError("--auto-apply needs --amount");
  if (options.apply.empty() && options.amount.empty())
    throw UsageError("a payment needs --amount, --apply INVOICE-REF:AMOUNT or both");
  CheckDate("--date", options.date);
  const std::string stem(words.stem);
  RecordBody body(*qbxml::FindAggregate(stem + "Add"), label);
  body.Set("CustomerRef", options.customer);
  if (!options.date.empty()) body.Set("TxnDate", options.date);
  if (!options.ref.empty()) body.Set("RefNumber", options.ref);
  if (!options.memo.empty()) body.Set("Memo", options.memo);
  if (!options.amount.empty()) body.Set("TotalAmount", options.amount);
  for (const std::string& setting : options.settings) body.SetAssignment(setting);
  // Without applications the whole payment stays unused, a credit for later.
  if (options.apply.empty()) body.Set("IsAutoApply", options.autoApply ? "true" : "false");

  CliSession session(globals);
  std::string request = "<" + stem + "AddRq requestID=\"1\"><" + stem + "Add>";
  body.AppendXml(request);
  const TxnWords& invoice = *FindTxnWords("invoice");
  for (const std::string& text : options.apply) {
    // INVOICE-REF:AMOUNT, from the right: a number may hold no colon, a reference may.
    size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size())
      throw UsageError("--apply wants INVOICE-REF:AMOUNT, not '" + text + "'");
    RecordBody applied(*qbxml::FindAggregate("AppliedToTxnAdd"), "--apply");
    applied.Set("PaymentAmount", text.substr(colon + 1));
    applied.Set("TxnID", ChildText(FindTxn(session, invoice, text.substr(0, colon)).ret, "TxnID"));
    request += "<AppliedToTxnAdd>";
    applied.AppendXml(request);
    request += "</AppliedToTxnAdd>";
  }
  request += "</" + stem + "Add></" + stem + "AddRq>";
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  XmlNode ret = FirstElement(status.element);
  if (globals.quiet) return kExitOk;
  std::string out = AddedLine(label, ret, options.customer);
  for (XmlNode applied : ret.childNodes()) {
    if (applied.nodeType() != NODE_ELEMENT || applied.nodeName() != "AppliedToTxnRet") continue;
    std::string ref = ChildText(applied, "RefNumber");
    out += "  applied " + ChildText(applied, "Amount") + " to " + ChildText(applied, "TxnType") +
           " " + (ref.empty() ? ChildText(applied, "TxnID") : ref) + ", balance now " +
           ChildText(applied, "BalanceRemaining") + "\n";
  }
  WriteOut(out);
  return kExitOk;
}

}  // namespace brennock::cli
