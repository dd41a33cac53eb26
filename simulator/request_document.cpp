#include "simulator/request_document.h"

#include <pugixml.hpp>

#include "brennock/util/text.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/processor_errors.h"
#include "simulator/strict_validator.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

constexpr std::string_view kResponseHead = "<?xml version=\"1.0\" ?>\n<QBXML>\n";

bool DeclaresLatin1(std::string_view text) {
  auto end = text.find("?>");
  if (text.rfind("<?xml", 0) != 0 || end == std::string_view::npos) return false;
  std::string decl = AsciiLowered(text.substr(0, end));
  return decl.find("iso-8859-1") != std::string::npos || decl.find("latin1") != std::string::npos;
}

void Parse(pugi::xml_document& doc, std::string_view text) {
  unsigned flags =
      pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_pi;
  auto encoding = DeclaresLatin1(text) ? pugi::encoding_latin1 : pugi::encoding_utf8;
  if (!doc.load_buffer(text.data(), text.size(), flags, encoding)) Raise(kParseError);
  if (!StrictModeProblem(text).empty()) Raise(kParseError);
}

bool EndsWithRq(std::string_view name) {
  return name.size() > 2 && name.substr(name.size() - 2) == "Rq";
}

// Runs one request inside a savepoint, so a failed request leaves nothing behind.
Status RunRequest(const HandlerEntry& entry, RequestContext& ctx) {
  Database& db = ctx.company.db();
  size_t mark = ctx.out.size();
  db.Exec("SAVEPOINT request");
  Status status;
  try {
    status = entry.handler(ctx);
  } catch (const SqliteError& e) {
    ctx.out.resize(mark);
    status = ctx.Respond(MakeStatus(kCannotSave, {ctx.request.name(), "", e.what()}));
  }
  if (status.severity == "Error") db.Exec("ROLLBACK TO request");
  db.Exec("RELEASE request");
  return status;
}

}  // namespace

std::string AnswerRequestDocument(Session& session, std::string_view text) {
  pugi::xml_document doc;
  Parse(doc, text);
  pugi::xml_node root = doc.child("QBXML");
  if (!root) Raise(kParseError);
  if (root.child("QBXMLSubscriptionMsgsRq")) return AnswerSubscriptionDocument(text);
  pugi::xml_node msgs = root.child("QBXMLMsgsRq");
  if (!msgs) Raise(kParseError);

  const HandlerTable& handlers = DefaultHandlers();
  bool writes = false;
  for (auto rq : msgs.children()) {
    if (rq.type() != pugi::node_element) continue;
    if (!EndsWithRq(rq.name())) Raise(kParseError);
    if (auto* entry = handlers.Find(rq.name())) writes |= entry->writes;
  }
  std::string_view on_error = msgs.attribute("onError").value();
  bool stop_on_error = on_error != "continueOnError";

  std::string out;
  out.reserve(4096);
  out += kResponseHead;
  out += "<QBXMLMsgsRs>\n";
  ListStore lists(*session.company);
  Transaction txn(session.company->db(), writes && !session.read_only);
  for (auto rq : msgs.children()) {
    if (rq.type() != pugi::node_element) continue;
    RequestContext ctx{rq, session, *session.company, lists, out};
    const HandlerEntry* entry = handlers.Find(rq.name());
    Status status;
    if (!entry)
      status = ctx.Respond(MakeStatus(kFeatureNotEnabled));
    else if (entry->writes && session.read_only)
      status = ctx.Respond(MakeStatus(kPermissionDenied));
    else if (entry->writes)
      status = RunRequest(*entry, ctx);
    else
      status = entry->handler(ctx);
    if (stop_on_error && status.severity == "Error") break;
  }
  lists.Flush();
  txn.Commit();
  out += "</QBXMLMsgsRs>\n</QBXML>\n";
  return out;
}

std::string AnswerSubscriptionDocument(std::string_view text) {
  pugi::xml_document doc;
  Parse(doc, text);
  pugi::xml_node msgs = doc.child("QBXML").child("QBXMLSubscriptionMsgsRq");
  if (!msgs) Raise(kParseError);
  std::string out(kResponseHead);
  out += "<QBXMLSubscriptionMsgsRs>\n";
  XmlWriter w(out);
  for (auto rq : msgs.children()) {
    if (rq.type() != pugi::node_element) continue;
    std::string_view name = rq.name();
    if (!EndsWithRq(name)) Raise(kParseError);
    // No subscriptions are kept yet: queries find nothing, everything else is not available.
    bool query = name.find("QueryRq") != std::string_view::npos;
    Status status = query ? MakeStatus(kNoMatch) : MakeStatus(kFeatureNotEnabled);
    std::string rs(name);
    rs.back() = 's';
    w.OpenWithAttributes(rs);
    if (auto id = rq.attribute("requestID")) w.Attribute("requestID", id.value());
    w.Attribute("statusCode", std::to_string(status.code));
    w.Attribute("statusSeverity", status.severity);
    w.Attribute("statusMessage", status.message);
    w.Raw(" />\n");
  }
  out += "</QBXMLSubscriptionMsgsRs>\n</QBXML>\n";
  return out;
}

}  // namespace brennock::simulator
