// brennock deposit: banks the payments and sales receipts waiting in Undeposited Funds, all of
// them or those named, in one deposit (QuickBooks' Make Deposits).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/row_writer.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_body.h"
#include "cli/qbxml/record_fields.h"
#include "cli/qbxml/record_lookup.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

struct DepositOptions {
  std::string to;
  std::string date;
  std::string memo;
  std::string cashBack;               // ACCOUNT:AMOUNT
  std::vector<std::string> payments;  // numbers or TxnIDs; none: everything waiting
  bool dryRun = false;
  OutputFormat format = OutputFormat::kTable;
};

// What waits in Undeposited Funds (ReceivePaymentToDepositRet elements).
std::vector<XmlNode> Waiting(CliSession& session, std::shared_ptr<XmlDocument>& response) {
  session.NewRequest().InsertRawXML("<ReceivePaymentToDepositQueryRq requestID=\"1\"/>");
  response = session.Send();
  ResponseStatus status = RequireSuccess(*response);
  std::vector<XmlNode> out;
  if (status.NothingFound()) return out;
  for (XmlNode child : status.element.childNodes())
    if (child.nodeType() == NODE_ELEMENT) out.push_back(child);
  return out;
}

int RunDeposit(const DepositOptions& options, const GlobalOptions& globals) {
  CheckDate("--date", options.date);
  if (options.to.empty() && !options.dryRun)
    throw UsageError("a deposit needs --to, the bank account the money goes to");
  CliSession session(globals);
  std::shared_ptr<XmlDocument> waiting_response;
  std::vector<XmlNode> waiting = Waiting(session, waiting_response);
  std::vector<XmlNode> chosen = options.payments.empty() ? waiting : std::vector<XmlNode>{};
  for (const std::string& key : options.payments) {
    auto it = std::find_if(waiting.begin(), waiting.end(), [&](const XmlNode& r) {
      return ChildText(r, "RefNumber") == key || ChildText(r, "TxnID") == key;
    });
    if (it == waiting.end())
      throw CommandFailure("nothing numbered '" + key + "' waits in Undeposited Funds");
    chosen.push_back(*it);
  }
  if (options.dryRun) {
    static const FieldReader kColumns({"TxnType", "RefNumber", "TxnDate", "CustomerRef", "Amount"});
    std::unique_ptr<RowWriter> writer = MakeRowWriter(options.format);
    writer->Begin(kColumns.Fields());
    std::vector<std::string> values;
    for (const XmlNode& record : chosen) {
      kColumns.Read(record, values);
      writer->Row(values);
    }
    writer->End();
    WriteOut(writer->Take());
    return kExitOk;
  }
  if (chosen.empty()) {
    if (!globals.quiet) WriteOut("Nothing waits in Undeposited Funds\n");
    return kExitOk;
  }
  RecordBody body(*qbxml::FindAggregate("DepositAdd"), "deposit");
  body.Set("DepositToAccountRef", options.to);
  if (!options.date.empty()) body.Set("TxnDate", options.date);
  if (!options.memo.empty()) body.Set("Memo", options.memo);
  if (!options.cashBack.empty()) {
    size_t colon = options.cashBack.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == options.cashBack.size())
      throw UsageError("--cash-back wants ACCOUNT:AMOUNT, not '" + options.cashBack + "'");
    body.Set("CashBackInfoAdd.AccountRef", options.cashBack.substr(0, colon));
    body.Set("CashBackInfoAdd.Amount", options.cashBack.substr(colon + 1));
  }
  std::string request = "<DepositAddRq requestID=\"1\"><DepositAdd>";
  body.AppendXml(request);
  for (const XmlNode& record : chosen) {
    RecordBody line(*qbxml::FindAggregate("DepositLineAdd"), "deposit line");
    line.Set("PaymentTxnID", ChildText(record, "TxnID"));
    request += "<DepositLineAdd>";
    line.AppendXml(request);
    request += "</DepositLineAdd>";
  }
  request += "</DepositAdd></DepositAddRq>";
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  XmlNode ret = FirstElement(status.element);
  static const FieldReader kCashBack({"CashBackInfoRet.Amount"});
  std::vector<std::string> cash;
  kCashBack.Read(ret, cash);
  const std::string& cash_back = cash.front();
  if (!globals.quiet)
    WriteOut("Deposited " + std::to_string(chosen.size()) + " payment" +
             (chosen.size() == 1 ? "" : "s") + " into " + options.to +
             (cash_back.empty() ? "" : ", cash back " + cash_back) + ": deposit total " +
             ChildText(ret, "DepositTotal") + " (TxnID " + ChildText(ret, "TxnID") + ")\n");
  return kExitOk;
}

}  // namespace

CommandRun AttachDepositCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* deposit =
      app.add_subcommand("deposit", "Bank the payments waiting in Undeposited Funds");
  deposit->footer(R"(
Customer payments and sales receipts wait in Undeposited Funds until a deposit takes them to the
bank. Without --payment every one waiting goes into the deposit; --dry-run lists them instead.
Part of the money can stay out as cash (--cash-back ACCOUNT:AMOUNT), booked to that account.

Examples:
  brennock deposit --dry-run
  brennock deposit --to Checking
  brennock deposit --to Checking --payment 1001 --payment 16 --date 2024-03-08
  brennock deposit --to Checking --cash-back "Owner's Equity:Owner's Draw:50")");
  auto options = std::make_shared<DepositOptions>();
  deposit->add_option("--to", options->to, "The bank account")->type_name("ACCOUNT");
  deposit
      ->add_option("--payment", options->payments,
                   "Only this payment or sales receipt, by number or TxnID (repeatable)")
      ->type_name("KEY")
      ->allow_extra_args(false);
  deposit->add_option("--date", options->date, "The deposit's date")->type_name("DATE");
  deposit->add_option("--memo", options->memo, "A memo")->type_name("TEXT");
  deposit->add_option("--cash-back", options->cashBack, "Money kept out, ACCOUNT:AMOUNT")
      ->type_name("ACCOUNT:AMOUNT");
  deposit->add_flag("--dry-run", options->dryRun, "List what would be deposited");
  deposit->add_option("--format", options->format, "table, json or csv (with --dry-run)")
      ->transform(CLI::CheckedTransformer(OutputFormatNames(), CLI::ignore_case).description(""))
      ->type_name("FORMAT")
      ->default_str("table");
  return [options, &globals] { return RunDeposit(*options, globals); };
}

}  // namespace brennock::cli
