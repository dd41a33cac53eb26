// Transactions for `list`, `show`, `add`, `delete` and `void`: each one request written from the
// catalogue's shapes, sent as it is, and the answer shown as QuickBooks gave it.
#include <algorithm>
#include <charconv>
#include <ctime>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/qb_connection.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"
#include "cli/app/cli_errors.h"
#include "cli/app/cli_session.h"
#include "cli/app/exit_codes.h"
#include "cli/commands/txn_commands.h"
#include "cli/output/stdout_text.h"
#include "cli/qbxml/record_body.h"
#include "cli/qbxml/record_fields.h"
#include "cli/qbxml/record_lookup.h"
#include "cli/qbxml/response_status.h"

namespace brennock::cli {
namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  AppendXmlEscaped(out, text, XmlEscaping::kText);
  return out;
}

std::string Element(std::string_view tag, std::string_view text) {
  std::string out;
  out.append(1, '<').append(tag).append(1, '>');
  AppendXmlEscaped(out, text, XmlEscaping::kText);
  out.append("</").append(tag).append(1, '>');
  return out;
}

std::string AttributeOf(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

// The records of one answer (...Ret elements).
std::vector<XmlNode> Records(const ResponseStatus& status) {
  std::vector<XmlNode> out;
  for (XmlNode child : status.element.childNodes())
    if (child.nodeType() == NODE_ELEMENT) out.push_back(child);
  return out;
}

}  // namespace

void CheckDate(const std::string& option, const std::string& text) {
  static const std::regex kDate(R"(\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]))");
  if (!text.empty() && !std::regex_match(text, kDate))
    throw UsageError(option + " wants a date like 2024-03-01, not '" + text + "'");
}

// The transaction with this RefNumber, else this TxnID, with its lines and its links, where its
// query takes them (deposits and time have no number, statement charges no separate lines).
FoundTxn FindTxn(CliSession& session, const TxnWords& words, const std::string& key) {
  std::string query = std::string(words.stem) + "QueryRq";
  const qbxml::Aggregate* shape = qbxml::FindAggregate(query);
  std::string asks;
  for (const char* extra : {"IncludeLineItems", "IncludeComponentLineItems", "IncludeLinkedTxns"})
    if (shape && qbxml::FindElement(*shape, extra)) asks += Element(extra, "true");
  for (const char* by : {"RefNumber", "TxnID"}) {
    if (!shape || !qbxml::FindElement(*shape, by)) continue;
    session.NewRequest().InsertRawXML("<" + query + " requestID=\"1\">" + Element(by, key) + asks +
                                      "</" + query + ">");
    FoundTxn found{session.Send(), {}};
    ResponseStatus status = RequireSuccess(*found.response);
    // 1 and 500: nothing has it; 3000: not a TxnID at all.
    if (status.code != "0") continue;
    std::vector<XmlNode> records = Records(status);
    if (records.size() > 1) {
      std::string ids;
      for (const XmlNode& r : records) ids += (ids.empty() ? "" : ", ") + ChildText(r, "TxnID");
      throw CommandFailure("several " + std::string(words.label) + "s are numbered '" + key +
                           "'; name one by its TxnID: " + ids);
    }
    if (!records.empty()) {
      found.ret = records.front();
      return found;
    }
  }
  throw CommandFailure("no " + std::string(words.label) + " '" + key + "'");
}

namespace {

std::vector<std::string> SplitFields(std::string_view list) {
  std::vector<std::string> fields;
  for (size_t start = 0; start < list.size();) {
    size_t comma = std::min(list.find(',', start), list.size());
    if (comma > start) fields.emplace_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

// A line's row in `show`: the item (a group's members indented below the group; a tax payment's
// tax item), the account of an expense or journal line, a deposit line's customer or account,
// then its figures; a journal line says whether it debits or credits.
void LineRows(const XmlNode& line, const std::string& indent, RowWriter& writer) {
  static const FieldReader kLine({"ItemRef", "ItemGroupRef", "AccountRef", "Desc", "Memo",
                                  "Quantity", "Rate", "RatePercent", "Cost", "Amount",
                                  "TotalAmount", "TxnLineID", "ItemSalesTaxRef", "EntityRef"});
  std::vector<std::string> v;
  kLine.Read(line, v);
  const std::string element = line.nodeName();
  const bool journal = element.starts_with("Journal");
  std::string name = !v[0].empty()                ? v[0]
                     : !v[1].empty()              ? v[1]
                     : !v[12].empty()             ? v[12]
                     : !journal && !v[13].empty() ? v[13]
                                                  : v[2];
  std::string desc = v[3].empty() ? v[4] : v[3];
  if (journal)
    desc = std::string(element == "JournalDebitLine" ? "debit" : "credit") +
           (desc.empty() ? "" : ": " + desc);
  std::string rate = !v[6].empty() ? v[6] : !v[7].empty() ? v[7] + "%" : v[8];
  writer.Row({indent + name, desc, v[5], rate, v[9].empty() ? v[10] : v[9], v[11]});
  for (XmlNode member : line.childNodes())
    if (member.nodeType() == NODE_ELEMENT &&
        std::string_view(member.nodeName()).ends_with("LineRet"))
      LineRows(member, indent + "  ", writer);
}

bool IsLine(std::string_view name) {
  return name.ends_with("LineRet") || name.ends_with("LineGroupRet") ||
         name == "JournalDebitLine" || name == "JournalCreditLine";
}

// Today on this computer's clock, for a date a request must carry.
std::string TodaysDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace

std::string TxnIdOf(CliSession& session, const TxnWords& words, const std::string& key) {
  return ChildText(FindTxn(session, words, key).ret, "TxnID");
}

std::string AddedLine(const std::string& label, const XmlNode& ret, const std::string& name) {
  // The figures QuickBooks answered with, those the record has, in this order.
  static constexpr std::pair<const char*, const char*> kFigures[] = {
      {"Subtotal", "subtotal"},
      {"SalesTaxTotal", "sales tax"},
      {"TotalAmount", "total"},
      {"Amount", "amount"},
      {"DepositTotal", "deposit total"},
      {"BalanceRemaining", "balance"},
      {"CreditRemaining", "credit remaining"},
      {"UnusedPayment", "unused"}};
  std::string figures;
  for (auto [element, word] : kFigures) {
    std::string value = ChildText(ret, element);
    if (value.empty()) continue;
    figures.append(figures.empty() ? ": " : ", ").append(word).append(" ").append(value);
  }
  std::string ref = ChildText(ret, "RefNumber");
  return "Added " + label + (ref.empty() ? "" : " " + ref) + " (TxnID " + ChildText(ret, "TxnID") +
         ")" + (name.empty() ? "" : " for " + name) + figures + "\n";
}

LineArg ParseLineArg(const std::string& text) {
  // From the right: ITEM:QTY or ITEM:QTY:RATE, where QTY and RATE are numbers.
  static const std::regex kNumber(R"(-?\d+(\.\d+)?)");
  LineArg arg;
  std::string rest = text;
  auto take = [&rest]() {
    size_t colon = rest.rfind(':');
    if (colon == std::string::npos) return std::string();
    std::string last = rest.substr(colon + 1);
    rest.resize(colon);
    return last;
  };
  std::string last = take();
  if (last.empty() || !std::regex_match(last, kNumber))
    throw UsageError("--line wants ITEM:QUANTITY[:RATE], not '" + text + "'");
  size_t colon = rest.rfind(':');
  std::string before = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
  if (!before.empty() && std::regex_match(before, kNumber)) {
    arg.quantity = before;
    arg.rate = last;
    rest.resize(colon);
  } else {
    arg.quantity = last;
  }
  if (rest.empty()) throw UsageError("--line names no item: '" + text + "'");
  arg.item = rest;
  return arg;
}

int RunTxnList(const TxnWords& words, const TxnListOptions& options, const GlobalOptions& globals) {
  CheckDate("--from", options.from);
  CheckDate("--to", options.to);
  if (options.paid && options.unpaid) throw UsageError("--paid and --unpaid exclude each other");
  if (!options.customer.empty() && words.entity.empty())
    throw UsageError("a " + std::string(words.label) + " names no customer");
  std::string query = std::string(words.stem) + "QueryRq";
  const qbxml::Aggregate* shape = qbxml::FindAggregate(query);
  if ((options.paid || options.unpaid) && !qbxml::FindElement(*shape, "PaidStatus"))
    throw UsageError("a " + std::string(words.label) + " is neither paid nor unpaid");
  std::string filters;
  if (!options.from.empty() || !options.to.empty()) {
    filters += "<TxnDateRangeFilter>";
    if (!options.from.empty()) filters += Element("FromTxnDate", options.from);
    if (!options.to.empty()) filters += Element("ToTxnDate", options.to);
    filters += "</TxnDateRangeFilter>";
  }
  if (!options.customer.empty()) {
    // Time is filtered by the person it is of, by name alone.
    if (qbxml::FindElement(*shape, "EntityFilter"))
      filters +=
          "<EntityFilter>" + Element("FullNameWithChildren", options.customer) + "</EntityFilter>";
    else if (qbxml::FindElement(*shape, "TimeTrackingEntityFilter"))
      filters += "<TimeTrackingEntityFilter>" + Element("FullName", options.customer) +
                 "</TimeTrackingEntityFilter>";
    else
      throw UsageError("a " + std::string(words.label) + " listing has no name to filter by");
  }
  if (options.paid || options.unpaid)
    filters += Element("PaidStatus", options.paid ? "PaidOnly" : "NotPaidOnly");

  std::vector<std::string> fields = options.fields;
  bool wholeRecords = options.format == OutputFormat::kJson && fields.empty();
  if (fields.empty()) fields = SplitFields(words.columns);
  FieldReader reader(fields);
  std::unique_ptr<RowWriter> writer = MakeRowWriter(options.format);
  writer->Begin(fields);
  CliSession session(globals);
  const bool iterate = session.Connection().qbXMLVersionNumber() >= 5.0f && options.pageSize > 0;
  std::string iterator;
  int32_t delivered = 0;
  std::vector<std::string> values;
  std::string json;
  for (bool more = true; more;) {
    int32_t page = iterate ? options.pageSize : 0;
    if (options.max > 0) page = iterate ? std::min(page, options.max - delivered) : options.max;
    std::string open = "<" + query + " requestID=\"1\"";
    if (iterate)
      open += iterator.empty() ? " iterator=\"Start\""
                               : " iterator=\"Continue\" iteratorID=\"" + Escaped(iterator) + "\"";
    session.NewRequest().InsertRawXML(
        open + ">" + (page > 0 ? Element("MaxReturned", std::to_string(page)) : "") + filters +
        "</" + query + ">");
    std::shared_ptr<XmlDocument> response = session.Send();
    ResponseStatus status = RequireSuccess(*response);
    more = false;
    if (status.NothingFound()) break;
    std::vector<XmlNode> records = Records(status);
    for (const XmlNode& record : records) {
      if (wholeRecords) {
        json.clear();
        AppendRecordJson(json, record);
        writer->RecordJson(json);
      } else {
        reader.Read(record, values);
        writer->Row(values);
      }
    }
    delivered += static_cast<int32_t>(records.size());
    WriteOut(writer->Take());
    if (iterate) {
      std::string remaining = AttributeOf(status.element, "iteratorRemainingCount");
      int64_t left = 0;
      std::from_chars(remaining.data(), remaining.data() + remaining.size(), left);
      iterator = AttributeOf(status.element, "iteratorID");
      more = left > 0 && !iterator.empty() && !records.empty() &&
             (options.max == 0 || delivered < options.max);
    }
  }
  writer->End();
  WriteOut(writer->Take());
  return kExitOk;
}

int RunTxnShow(const TxnWords& words, const std::string& key, OutputFormat format,
               const GlobalOptions& globals) {
  CliSession session(globals);
  FoundTxn found = FindTxn(session, words, key);
  if (format == OutputFormat::kJson) {
    std::string json;
    AppendRecordJson(json, found.ret);
    WriteOut(json + "\n");
    return kExitOk;
  }
  std::unique_ptr<RowWriter> header = MakeRowWriter(format);
  header->Begin({"Field", "Value"});
  for (auto& [field, value] : FlattenRecord(found.ret)) {
    std::string_view top = std::string_view(field).substr(0, field.find('.'));
    if (!IsLine(top)) header->Row({field, value});
  }
  header->End();
  // A kind without lines (payments, statement charges) shows its fields only.
  const qbxml::Aggregate* ret = qbxml::FindAggregate(std::string(words.stem) + "Ret");
  const bool has_lines = ret && std::any_of(ret->elements.begin(), ret->elements.end(),
                                            [](const qbxml::Element& e) { return IsLine(e.name); });
  if (!has_lines) {
    WriteOut(header->Take());
    return kExitOk;
  }
  std::unique_ptr<RowWriter> lines = MakeRowWriter(format);
  lines->Begin({"Item", "Description", "Quantity", "Rate", "Amount", "TxnLineID"});
  for (XmlNode line : found.ret.childNodes())
    if (line.nodeType() == NODE_ELEMENT && IsLine(line.nodeName())) LineRows(line, "", *lines);
  lines->End();
  WriteOut(header->Take() + "\n" + lines->Take());
  return kExitOk;
}

int RunTxnAdd(const TxnWords& words, const TxnAddOptions& options, const GlobalOptions& globals) {
  const std::string stem(words.stem), label(words.label);
  if (stem == "ReceivePayment") return RunPaymentAdd(words, options, globals);
  if (stem == "Deposit")
    throw UsageError(
        "a deposit banks what waits in Undeposited Funds: brennock deposit --to ACCOUNT");
  if (!options.apply.empty() || options.autoApply || !options.amount.empty())
    throw UsageError("--apply, --auto-apply and --amount are for payments");
  const qbxml::Aggregate* shape = qbxml::FindAggregate(stem + "Add");
  // Statement charges carry their one item in the header.
  const qbxml::Aggregate* line_shape = qbxml::FindAggregate(stem + "LineAdd");
  if (!shape) throw UsageError("cannot add a " + label);
  if (options.customer.empty()) throw UsageError("a " + label + " needs --customer");
  if (options.lines.empty()) throw UsageError("a " + label + " needs a --line");
  if (!line_shape && options.lines.size() > 1) throw UsageError("a " + label + " takes one --line");
  CheckDate("--date", options.date);
  RecordBody body(*shape, label);
  body.Set(words.entity, options.customer);
  const qbxml::Element* date = qbxml::FindElement(*shape, "TxnDate");
  if (!options.date.empty())
    body.Set("TxnDate", options.date);
  else if (date && !(date->flags & qbxml::kOptional))
    body.Set("TxnDate", TodaysDate());
  if (!options.ref.empty()) body.Set("RefNumber", options.ref);
  if (!options.memo.empty()) body.Set("Memo", options.memo);
  for (const std::string& setting : options.settings) body.SetAssignment(setting);
  // A check is numbered or to be printed (one of them, as its schema wants).
  const qbxml::Element* printed = qbxml::FindElement(*shape, "IsToBePrinted");
  if (printed && (printed->flags & qbxml::kInChoice) && !(printed->flags & qbxml::kOptional) &&
      !body.Has("RefNumber") && !body.Has("IsToBePrinted"))
    body.Set("IsToBePrinted", "false");
  if (!line_shape) {
    LineArg arg = ParseLineArg(options.lines.front());
    body.Set("ItemRef", arg.item);
    body.Set("Quantity", arg.quantity);
    if (!arg.rate.empty()) body.Set("Rate", arg.rate);
  }
  std::string request = "<" + stem + "AddRq requestID=\"1\"><" + stem + "Add>";
  body.AppendXml(request);
  // Lines come last in the Add aggregate, each checked against the line's shape. A line without a
  // quantity (a sales tax payment's) takes ITEM:AMOUNT.
  for (const std::string& text : line_shape ? options.lines : std::vector<std::string>{}) {
    LineArg arg = ParseLineArg(text);
    RecordBody line(*line_shape, "line");
    const bool counted = qbxml::FindElement(*line_shape, "Quantity") != nullptr;
    line.Set(qbxml::FindElement(*line_shape, "ItemRef") ? "ItemRef" : "ItemSalesTaxRef", arg.item);
    if (!counted && !arg.rate.empty())
      throw UsageError("a " + label + " line is ITEM:AMOUNT, not '" + text + "'");
    line.Set(counted ? "Quantity" : "Amount", arg.quantity);
    if (!arg.rate.empty()) line.Set("Rate", arg.rate);
    request += "<" + stem + "LineAdd>";
    line.AppendXml(request);
    request += "</" + stem + "LineAdd>";
  }
  request += "</" + stem + "Add></" + stem + "AddRq>";
  CliSession session(globals);
  session.NewRequest().InsertRawXML(request);
  std::shared_ptr<XmlDocument> response = session.Send();
  ResponseStatus status = RequireSuccess(*response);  // a refusal exits 2 with QuickBooks' reason
  XmlNode ret = FirstElement(status.element);
  if (!globals.quiet) WriteOut(AddedLine(label, ret, options.customer));
  return kExitOk;
}

int RunTxnDelete(const TxnWords& words, const std::string& key, bool voidIt,
                 const GlobalOptions& globals) {
  if (voidIt ? !CanVoidTxn(words) : !CanDeleteTxn(words))
    throw UsageError("QuickBooks does not " + std::string(voidIt ? "void" : "delete") + " a " +
                     std::string(words.label));
  CliSession session(globals);
  std::string id = ChildText(FindTxn(session, words, key).ret, "TxnID");
  std::string rq = voidIt ? "TxnVoidRq" : "TxnDelRq";
  std::string type = voidIt ? "TxnVoidType" : "TxnDelType";
  session.NewRequest().InsertRawXML("<" + rq + " requestID=\"1\">" + Element(type, words.stem) +
                                    Element("TxnID", id) + "</" + rq + ">");
  std::shared_ptr<XmlDocument> response = session.Send();
  RequireSuccess(*response);
  if (!globals.quiet)
    WriteOut(std::string(voidIt ? "Voided " : "Deleted ") + std::string(words.label) + " " + key +
             " (TxnID " + id + ")\n");
  return kExitOk;
}

}  // namespace brennock::cli
