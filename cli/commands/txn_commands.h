#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/xml/xml_node.h"
#include "cli/app/global_options.h"
#include "cli/app/txn_kinds.h"
#include "cli/output/row_writer.h"

namespace brennock {
class XmlDocument;
}

namespace brennock::cli {

class CliSession;

// The transaction side of `list`, `show`, `add`, `delete` and `void`: raw qbXML requests built
// from the catalogue's shapes.

struct TxnListOptions {
  std::string from, to;  // TxnDate, inclusive
  std::string customer;  // the customer or vendor, with its jobs
  bool paid = false, unpaid = false;
  int32_t max = 0;
  int32_t pageSize = 500;
  std::vector<std::string> fields;
  OutputFormat format = OutputFormat::kTable;
};

struct TxnAddOptions {
  std::string customer;  // or the vendor a kind is made out to
  std::string date;
  std::string ref;
  std::string memo;
  std::vector<std::string> lines;     // ITEM:QTY[:RATE]
  std::vector<std::string> settings;  // Field=Value of the Add aggregate
  // The buying side, journal entries, time, adjustments and builds.
  std::string vendor;                        // a vendor, or a check's or charge's payee
  std::string account;                       // the bank, card or adjustment account
  std::vector<std::string> expenses;         // ACCOUNT:AMOUNT
  std::vector<std::string> links;            // a purchase order or item receipt received or billed
  std::vector<std::string> debits, credits;  // ACCOUNT:AMOUNT[:NAME]
  std::string name;                          // whose time it is
  std::string item;                          // the service worked, the assembly built
  std::string duration;                      // 1:30, 1.5 or PT1H30M
  std::string quantity;                      // assemblies to build
  bool pending = false;                      // a build short of parts waits
  // Payments, and bill payments (--apply only).
  std::string amount;              // TotalAmount
  std::vector<std::string> apply;  // INVOICE-REF:AMOUNT, or BILL-REF:AMOUNT
  bool autoApply = false;
};

int RunTxnList(const TxnWords& words, const TxnListOptions& options, const GlobalOptions& globals);
// key: the RefNumber, else the TxnID.
int RunTxnShow(const TxnWords& words, const std::string& key, OutputFormat format,
               const GlobalOptions& globals);
int RunTxnAdd(const TxnWords& words, const TxnAddOptions& options, const GlobalOptions& globals);
int RunTxnDelete(const TxnWords& words, const std::string& key, bool voidIt,
                 const GlobalOptions& globals);
// A customer payment: --amount, applied with --apply INVOICE-REF:AMOUNT (repeatable) or
// --auto-apply, else kept as a credit (cli/commands/payments.cpp).
int RunPaymentAdd(const TxnWords& words, const TxnAddOptions& options,
                  const GlobalOptions& globals);

// One transaction found by its RefNumber, else its TxnID, with its lines; raises
// CommandFailure when there is none or the number is not unique.
struct FoundTxn {
  std::shared_ptr<XmlDocument> response;
  XmlNode ret;
};
FoundTxn FindTxn(CliSession& session, const TxnWords& words, const std::string& key);
// A date option's text: empty, or like 2024-03-01 (UsageError otherwise).
void CheckDate(const std::string& option, const std::string& text);
// "Added invoice 1042 (TxnID ...) for NAME: subtotal ..., balance ...\n": the figures the
// answer has.
std::string AddedLine(const std::string& label, const XmlNode& ret, const std::string& name);
// `add` for every form but sales forms (purchase_add.cpp).
int RunOtherTxnAdd(const TxnWords& words, const TxnAddOptions& options,
                   const GlobalOptions& globals);
// The TxnID of the transaction with this RefNumber, else this TxnID; CommandFailure when none.
std::string TxnIdOf(CliSession& session, const TxnWords& words, const std::string& key);

// "Widget:3:12.50" -> item, quantity, rate; a colon inside an item's full name ("Parts:Widget")
// stays with the item. Raises UsageError for anything else.
struct LineArg {
  std::string item, quantity, rate;
};
LineArg ParseLineArg(const std::string& text);

}  // namespace brennock::cli
