#include "simulator/request_document.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <pugixml.hpp>

#include "brennock/util/environment.h"
#include "brennock/util/text.h"
#include "simulator/events/subscription_requests.h"
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

// BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES (default 1 GiB): a larger request is refused before it is
// parsed, as one QuickBooks cannot parse.
uint64_t MaxRequestBytes() {
  return EnvironmentCount("BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES", uint64_t{1} << 30);
}

// QuickBooks' parser knows the five predefined entities and character references, nothing else:
// a document type with declarations of its own, and a reference to any other entity, are parse
// errors. (pugixml would keep an unknown reference as literal text.)
bool DeclaresOrUsesOtherEntities(const pugi::xml_document& doc, std::string_view text) {
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_doctype &&
        std::string_view(node.value()).find('[') != std::string_view::npos)
      return true;
  }
  // One pass; '&' is plain text inside CDATA sections and comments.
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '<') {
      std::string_view closer = text.compare(at, 9, "<![CDATA[") == 0 ? "]]>"
                                : text.compare(at, 4, "<!--") == 0    ? "-->"
                                                                      : "";
      if (closer.empty()) continue;
      at = text.find(closer, at);
      if (at == std::string_view::npos) return false;  // unterminated: the parser refused it
      continue;
    }
    if (text[at] != '&') continue;
    // A reference is short; a bare '&' is no reference at all.
    size_t end = text.substr(at, 40).find(';');
    if (end == std::string_view::npos) return true;
    std::string_view name = text.substr(at + 1, end - 1);
    if (!name.empty() && name[0] == '#') continue;
    if (name != "amp" && name != "lt" && name != "gt" && name != "quot" && name != "apos")
      return true;
  }
  return false;
}

// Requests write Windows-1252 codes 128..159 as "&#128;" ..; QuickBooks takes them as those
// Windows-1252 characters (the euro sign, curly quotes), not as C1 controls.
void ReadWindows1252Controls(pugi::xml_node root) {
  std::string replaced;
  for (pugi::xml_node node = root.first_child(); node;) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
      if (ReplaceWindows1252Controls(node.value(), replaced)) node.set_value(replaced.c_str());
    }
    for (pugi::xml_attribute attribute : node.attributes()) {
      if (ReplaceWindows1252Controls(attribute.value(), replaced))
        attribute.set_value(replaced.c_str());
    }
    // Document order without recursion.
    if (pugi::xml_node child = node.first_child()) {
      node = child;
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
}

void Parse(pugi::xml_document& doc, std::string_view text) {
  if (text.size() > MaxRequestBytes()) Raise(kParseError);
  unsigned flags =
      pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_pi;
  auto encoding = DeclaresLatin1(text) ? pugi::encoding_latin1 : pugi::encoding_utf8;
  if (!doc.load_buffer(text.data(), text.size(), flags, encoding)) Raise(kParseError);
  if (DeclaresOrUsesOtherEntities(doc, text)) Raise(kParseError);
  if (!StrictModeProblem(text).empty()) Raise(kParseError);
  if (text.find('\xC2') != std::string_view::npos || text.find("&#") != std::string_view::npos ||
      encoding == pugi::encoding_latin1)
    ReadWindows1252Controls(doc);
}

bool EndsWithRq(std::string_view name) {
  return name.size() > 2 && name.substr(name.size() - 2) == "Rq";
}

// Runs one request inside a savepoint, so a failed request leaves nothing behind. SQLite may give
// up the whole transaction instead (a full disk can do that): then the document's earlier changes
// are gone too, so their answers are dropped, this request answers for the document, and
// transaction_lost tells the caller to stop.
Status RunRequest(const HandlerEntry& entry, RequestContext& ctx, size_t document_mark,
                  bool& transaction_lost) {
  Database& db = ctx.company.db();
  size_t mark = ctx.out.size();
  db.Exec("SAVEPOINT request");
  const ListStore::CounterMark counter = ctx.lists.Mark();
  Status status;
  try {
    status = entry.handler(ctx);
  } catch (const SqliteError& e) {
    transaction_lost = sqlite3_get_autocommit(db.Handle()) != 0;
    ctx.out.resize(transaction_lost ? document_mark : mark);
    if (e.code() == SQLITE_CORRUPT || e.code() == SQLITE_NOTADB) ctx.company.MarkDamaged();
    if (e.code() == SQLITE_FULL)
      status = ctx.Respond(MakeStatus(kDiskFull));
    else if (e.code() == SQLITE_READONLY)
      status = ctx.Respond(MakeStatus(kFileReadOnly));
    else if (e.code() == SQLITE_CORRUPT || e.code() == SQLITE_NOTADB)
      status = ctx.Respond(MakeStatus(kFileDamaged));
    else if (e.code() == SQLITE_BUSY || e.code() == SQLITE_LOCKED)
      status = ctx.Respond(MakeStatus(kFileInUse));
    else
      status = ctx.Respond(MakeStatus(kCannotSave, {ctx.request.name(), "", e.what()}));
  }
  if (transaction_lost) return status;
  if (status.severity == "Error") {
    db.Exec("ROLLBACK TO request");
    ctx.lists.Rewind(counter);
  }
  db.Exec("RELEASE request");
  return status;
}

// A query that runs into a broken page answers that the file is damaged, instead of failing the
// whole document; from then on the session writes nothing into the file.
Status RunRead(const HandlerEntry& entry, RequestContext& ctx) {
  size_t mark = ctx.out.size();
  try {
    return entry.handler(ctx);
  } catch (const SqliteError& e) {
    if (e.code() != SQLITE_CORRUPT && e.code() != SQLITE_NOTADB) throw;
    ctx.out.resize(mark);
    ctx.company.MarkDamaged();
    return ctx.Respond(MakeStatus(kFileDamaged));
  }
}

// The iterator attribute takes three values; QuickBooks' schema check refuses a document with any
// other before it runs a request of it.
bool KnownIterator(pugi::xml_node rq) {
  pugi::xml_attribute iterator = rq.attribute("iterator");
  if (!iterator) return true;
  std::string_view value = iterator.value();
  return value == "Start" || value == "Continue" || value == "Stop";
}

}  // namespace

std::string AnswerRequestDocument(Session& session, std::string_view text) {
  pugi::xml_document doc;
  Parse(doc, text);
  pugi::xml_node root = doc.child("QBXML");
  if (!root) Raise(kParseError);
  if (root.child("QBXMLSubscriptionMsgsRq"))
    return AnswerSubscriptionDocument(*session.company, text);
  pugi::xml_node msgs = root.child("QBXMLMsgsRq");
  if (!msgs) Raise(kParseError);

  const HandlerTable& handlers = DefaultHandlers();
  bool writes = false;
  for (auto rq : msgs.children()) {
    if (rq.type() != pugi::node_element) continue;
    if (!EndsWithRq(rq.name()) || !KnownIterator(rq)) Raise(kParseError);
    if (auto* entry = handlers.Find(rq.name())) writes |= entry->writes;
  }
  std::string_view on_error = msgs.attribute("onError").value();
  bool stop_on_error = on_error != "continueOnError";

  std::string out;
  out.reserve(4096);
  out += kResponseHead;
  out += "<QBXMLMsgsRs>\n";
  const size_t document_mark = out.size();
  bool transaction_lost = false;
  ListStore lists(*session.company);
  bool file_read_only = session.company->read_only();
  bool damaged = session.company->damaged();
  bool will_write = writes && !session.read_only && !file_read_only && !damaged;
  // Another program holding the write lock past the wait makes the file "in use": queries still
  // answer from what was committed, changes are refused.
  bool in_use = false;
  std::optional<Transaction> txn;
  try {
    txn.emplace(session.company->db(), will_write);
  } catch (const SqliteError& e) {
    if (!will_write || (e.code() != SQLITE_BUSY && e.code() != SQLITE_LOCKED)) throw;
    in_use = true;
    txn.emplace(session.company->db(), false);
  }
  for (auto rq : msgs.children()) {
    if (rq.type() != pugi::node_element) continue;
    RequestContext ctx{rq, session, *session.company, lists, out};
    const HandlerEntry* entry = handlers.Find(rq.name());
    Status status;
    if (!entry)
      status = ctx.Respond(MakeStatus(kFeatureNotEnabled));
    else if (entry->writes && session.read_only)
      status = ctx.Respond(MakeStatus(kPermissionDenied));
    else if (entry->writes && file_read_only)
      status = ctx.Respond(MakeStatus(kFileReadOnly));
    else if (entry->writes && session.company->damaged())
      status = ctx.Respond(MakeStatus(kFileDamaged));
    else if (entry->writes && in_use)
      status = ctx.Respond(MakeStatus(kFileInUse));
    else if (entry->writes)
      status = RunRequest(*entry, ctx, document_mark, transaction_lost);
    else
      status = RunRead(*entry, ctx);
    if (transaction_lost || (stop_on_error && status.severity == "Error")) break;
  }
  if (!transaction_lost && will_write && !in_use) {
    lists.Flush();
    txn->Commit();
  } else if (!transaction_lost) {
    // Nothing was written: ending the read may still fail on a damaged file, which changes no
    // answer.
    try {
      txn->Commit();
    } catch (const SqliteError&) {
    }
  }
  out += "</QBXMLMsgsRs>\n</QBXML>\n";
  return out;
}

std::string AnswerSubscriptionDocument(CompanyDb& company, std::string_view text) {
  pugi::xml_document doc;
  Parse(doc, text);
  pugi::xml_node msgs = doc.child("QBXML").child("QBXMLSubscriptionMsgsRq");
  if (!msgs) Raise(kParseError);
  for (auto rq : msgs.children()) {
    if (rq.type() == pugi::node_element && !EndsWithRq(rq.name())) Raise(kParseError);
  }
  std::string out(kResponseHead);
  out += "<QBXMLSubscriptionMsgsRs>\n";
  AnswerSubscriptionRequests(company, msgs, out);
  out += "</QBXMLSubscriptionMsgsRs>\n</QBXML>\n";
  return out;
}

}  // namespace brennock::simulator
