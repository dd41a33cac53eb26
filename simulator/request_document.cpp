#include "simulator/request_document.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <pugixml.hpp>

#include "brennock/internal/util/environment.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/xml_text_encoding.h"
#include "simulator/events/subscription_requests.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/processor_errors.h"
#include "simulator/strict_validator.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

constexpr std::string_view kResponseHead = "<?xml version=\"1.0\" ?>\n<QBXML>\n";

// BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES (default 1 GiB): a larger request is refused before it is
// parsed, as one QuickBooks cannot parse.
uint64_t MaxRequestBytes() {
  return EnvironmentCount("BRENNOCK_SIMULATOR_MAX_REQUEST_BYTES", uint64_t{1} << 30);
}

// A character reference's code point; false when it is not one ("&#;", "&#x12G;", too large).
bool ReadCharacterReference(std::string_view digits, char32_t& cp) {
  int base = 10;
  if (!digits.empty() && digits[0] == 'x') {
    base = 16;
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.size() > 8) return false;
  uint32_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return false;
  cp = value;
  return true;
}

// What one pass over the request text finds before it is parsed.
struct TextScan {
  // A reference QuickBooks' parser refuses: an entity of the request's own, a reference that is
  // no reference, or one to a character XML does not allow (&#0; &#x1B; &#xD800; &#x110000;).
  bool refused = false;
  // Comments, CDATA sections or processing instructions after the root element starts: a value
  // may then come in several pieces, which are joined after parsing.
  bool pieces = false;
  bool character_references = false;
};

// QuickBooks' parser knows the five predefined entities and character references to the
// characters XML allows, nothing else. (pugixml would keep an unknown reference as literal text,
// store a reference to U+0000 as the end of the text, and others as bytes that are no UTF-8.)
TextScan ScanText(std::string_view text) {
  TextScan scan;
  const size_t body = text.find("<QBXML");
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '<') {
      std::string_view closer = text.compare(at, 9, "<![CDATA[") == 0 ? "]]>"
                                : text.compare(at, 4, "<!--") == 0    ? "-->"
                                : text.compare(at, 2, "<?") == 0      ? "?>"
                                                                      : "";
      if (closer.empty()) continue;
      if (body != std::string_view::npos && at > body) scan.pieces = true;
      at = text.find(closer, at);
      if (at == std::string_view::npos) return scan;  // unterminated: the parser refuses it
      continue;
    }
    if (text[at] != '&') continue;
    // A reference is short; a bare '&' is no reference at all.
    size_t end = text.substr(at, 40).find(';');
    if (end == std::string_view::npos) {
      scan.refused = true;
      return scan;
    }
    std::string_view name = text.substr(at + 1, end - 1);
    if (!name.empty() && name[0] == '#') {
      char32_t cp = 0;
      if (!ReadCharacterReference(name.substr(1), cp) || !IsXmlCharacter(cp)) {
        scan.refused = true;
        return scan;
      }
      scan.character_references = true;
      continue;
    }
    if (name != "amp" && name != "lt" && name != "gt" && name != "quot" && name != "apos") {
      scan.refused = true;
      return scan;
    }
  }
  return scan;
}

bool DeclaresOwnEntities(const pugi::xml_document& doc) {
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_doctype &&
        std::string_view(node.value()).find('[') != std::string_view::npos)
      return true;
  }
  return false;
}

bool IsText(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// A value written in pieces (text around CDATA sections, comments or processing instructions)
// becomes one text node holding all of it; between elements only the elements stay.
void JoinPieces(pugi::xml_node element) {
  bool has_elements = false, pieced = false, cdata = false;
  int texts = 0;
  for (pugi::xml_node child : element.children()) {
    if (child.type() == pugi::node_element) {
      has_elements = true;
    } else if (IsText(child)) {
      ++texts;
      cdata |= child.type() == pugi::node_cdata;
    } else {
      pieced = true;
    }
  }
  if (has_elements) {
    for (pugi::xml_node child = element.first_child(); child;) {
      pugi::xml_node next = child.next_sibling();
      bool drop = child.type() == pugi::node_comment || child.type() == pugi::node_pi ||
                  (child.type() == pugi::node_pcdata && IsBlank(child.value()));
      if (drop) element.remove_child(child);
      child = next;
    }
    return;
  }
  if (!pieced && texts <= 1 && !cdata) return;
  std::string joined;
  for (pugi::xml_node child : element.children())
    if (IsText(child)) joined += child.value();
  // Blanks alone are no value, as they are without the pieces; a CDATA section keeps them.
  if (!cdata && IsBlank(joined)) joined.clear();
  while (element.first_child()) element.remove_child(element.first_child());
  if (!joined.empty()) element.append_child(pugi::node_pcdata).set_value(joined.c_str());
}

// Requests write Windows-1252 codes 128..159 as "&#128;" ..; QuickBooks takes them as those
// Windows-1252 characters (the euro sign, curly quotes), not as C1 controls.
void ReadWindows1252Controls(pugi::xml_node node, std::string& replaced) {
  if (IsText(node)) {
    if (ReplaceWindows1252Controls(node.value(), replaced)) node.set_value(replaced.c_str());
  }
  for (pugi::xml_attribute attribute : node.attributes()) {
    if (ReplaceWindows1252Controls(attribute.value(), replaced))
      attribute.set_value(replaced.c_str());
  }
}

// One walk in document order, without recursion, joining pieces and reading Windows-1252 codes
// as each asks.
void Tidy(pugi::xml_node root, bool join_pieces, bool read_windows1252) {
  std::string replaced;
  for (pugi::xml_node node = root.first_child(); node;) {
    if (join_pieces && node.type() == pugi::node_element) JoinPieces(node);
    if (read_windows1252) ReadWindows1252Controls(node, replaced);
    if (pugi::xml_node child = node.first_child()) {
      node = child;
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
}

// The processor takes request text as characters, as QuickBooks' processor takes the characters
// of the string it is handed: text that is UTF-8 is read as UTF-8 whatever its declaration says.
// Only text that is not UTF-8 and declares a single-byte encoding (ISO-8859-1, windows-1252), as a
// file of that encoding read byte for byte is, is read in that encoding. Any other bytes, and
// characters XML does not allow, are a parse error.
// The request text made ready for the parser: decoded to UTF-8 and checked as QuickBooks' parser
// checks it before it reads anything.
struct CheckedText {
  std::string_view text;
  unsigned flags = 0;
  bool pieces = false;
  bool windows1252 = false;
};

CheckedText CheckText(std::string_view text, std::string& decoded) {
  if (text.size() > MaxRequestBytes()) Raise(kParseError);
  bool single_byte = false;
  if (!IsValidUtf8(text)) {
    detail::SingleByteEncoding encoding = detail::DeclaredSingleByteEncoding(text);
    if (encoding == detail::SingleByteEncoding::kNone) Raise(kParseError);
    decoded = detail::SingleByteToUtf8(text, encoding);
    text = decoded;
    single_byte = true;
  }
  char32_t cp = 0;
  if (FindNonXmlCharacter(text, cp) != std::string_view::npos) Raise(kParseError);
  const TextScan scan = ScanText(text);
  if (scan.refused) Raise(kParseError);
  if (!StrictModeProblem(text).empty()) Raise(kParseError);
  CheckedText checked;
  checked.text = text;
  checked.flags =
      pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype | pugi::parse_pi;
  // Blanks between the pieces of a value belong to it.
  if (scan.pieces) checked.flags |= pugi::parse_ws_pcdata;
  checked.pieces = scan.pieces;
  checked.windows1252 =
      single_byte || scan.character_references || text.find('\xC2') != std::string_view::npos;
  return checked;
}

// Parses checked text (the whole document, or one request of it); false when it is not
// well-formed.
bool Load(pugi::xml_document& doc, std::string_view text, const CheckedText& checked) {
  if (!doc.load_buffer(text.data(), text.size(), checked.flags, pugi::encoding_utf8)) return false;
  if (checked.pieces || checked.windows1252) Tidy(doc, checked.pieces, checked.windows1252);
  return true;
}

void Parse(pugi::xml_document& doc, std::string_view text) {
  std::string decoded;
  const CheckedText checked = CheckText(text, decoded);
  if (!Load(doc, checked.text, checked) || DeclaresOwnEntities(doc)) Raise(kParseError);
}

// BRENNOCK_SIMULATOR_MAX_REQUEST_ELEMENTS (default 250 000): one request of a large document
// with more elements is refused as a parse error, since its document alone would cost about a
// hundred bytes per element. 250 000 elements hold an invoice of some 25 000 lines.
uint64_t MaxRequestElements() {
  return EnvironmentCount("BRENNOCK_SIMULATOR_MAX_REQUEST_ELEMENTS", 250'000);
}

// The start tags in a request's text: '<' not opening an end tag, comment, CDATA or PI.
uint64_t ElementCount(std::string_view text) {
  uint64_t count = 0;
  for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    const char next = at + 1 < text.size() ? text[at + 1] : '/';
    count += next != '/' && next != '!' && next != '?';
  }
  return count;
}

// What a scan of a document's outline found.
enum class OutlineScan { kDone, kStopped, kNotPlain };

// The end of the markup that starts at `at` ('>' of a tag, outside quoted values); npos when
// it does not end.
size_t TagEnd(std::string_view text, size_t at) {
  char quote = 0;
  for (size_t i = at + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string_view TagName(std::string_view tag) {  // tag: from after '<' or "</" to '>'
  size_t end = tag.find_first_of(" \t\r\n/>");
  return tag.substr(0, end);
}

// The onError value of the message set's start tag; nullopt when it cannot be read plainly.
std::optional<std::string_view> OnErrorOf(std::string_view tag) {
  size_t at = tag.find("onError");
  if (at == std::string_view::npos) return std::string_view();
  at = tag.find_first_not_of(" \t\r\n", at + 7);
  if (at == std::string_view::npos || tag[at] != '=') return std::nullopt;
  at = tag.find_first_not_of(" \t\r\n", at + 1);
  if (at == std::string_view::npos || (tag[at] != '"' && tag[at] != '\'')) return std::nullopt;
  size_t end = tag.find(tag[at], at + 1);
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view value = tag.substr(at + 1, end - at - 1);
  if (value.find('&') != std::string_view::npos) return std::nullopt;
  return value;
}

// Scans the plain shape QBXML / QBXMLMsgsRq / requests without building the document: hands
// each request's text to `each` in order (until it returns false: kStopped) and the message
// set's onError to on_error. kNotPlain for anything else (a subscription, a DOCTYPE with
// declarations, a second message set, markup out of place): such a document is read whole, as
// before. Nesting inside a request is left to the parser.
template <class Each>
OutlineScan ScanOutline(std::string_view text, std::string_view& on_error, Each&& each) {
  constexpr size_t npos = std::string_view::npos;
  int depth = 0;
  bool closed = false, seen_msgs = false;
  size_t request_start = 0;
  for (size_t at = text.find('<'); at != npos; at = text.find('<', at)) {
    std::string_view rest = text.substr(at);
    size_t end = npos;
    if (rest.starts_with("<?")) {
      end = text.find("?>", at + 2);
      if (end == npos) return OutlineScan::kNotPlain;
      at = end + 2;
      continue;
    }
    if (rest.starts_with("<!--")) {
      end = text.find("-->", at + 4);
      if (end == npos) return OutlineScan::kNotPlain;
      at = end + 3;
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      end = text.find("]]>", at + 9);
      if (end == npos || depth < 3) return OutlineScan::kNotPlain;
      at = end + 3;
      continue;
    }
    end = TagEnd(text, at);
    if (end == npos) return OutlineScan::kNotPlain;
    std::string_view tag = text.substr(at + 1, end - at - 1);
    if (rest.starts_with("<!")) {  // the DOCTYPE: declarations of its own are read whole
      if (depth != 0 || tag.find('[') != npos) return OutlineScan::kNotPlain;
    } else if (rest.starts_with("</")) {
      std::string_view name = TagName(tag.substr(1));
      --depth;
      if (depth == 2) {
        if (!each(text.substr(request_start, end + 1 - request_start)))
          return OutlineScan::kStopped;
      } else if ((depth == 1 && name != "QBXMLMsgsRq") || (depth == 0 && name != "QBXML") ||
                 depth < 0) {
        return OutlineScan::kNotPlain;
      }
      closed = depth == 0;
    } else {
      const bool empty = tag.ends_with('/');
      std::string_view name = TagName(tag);
      if (closed) return OutlineScan::kNotPlain;
      if (depth == 0 && (name != "QBXML" || empty)) return OutlineScan::kNotPlain;
      if (depth == 1) {
        if (name != "QBXMLMsgsRq" || empty || seen_msgs) return OutlineScan::kNotPlain;
        seen_msgs = true;
        std::optional<std::string_view> value = OnErrorOf(tag);
        if (!value) return OutlineScan::kNotPlain;
        on_error = *value;
      }
      if (depth == 2) {
        request_start = at;
        if (empty && !each(text.substr(at, end + 1 - at))) return OutlineScan::kStopped;
      }
      if (!empty) ++depth;
    }
    at = end + 1;
  }
  if (!closed || !seen_msgs) return OutlineScan::kNotPlain;
  return OutlineScan::kDone;
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

// What QuickBooks checks of each request of a document before it runs any: a request's name and
// its iterator value (a parse error otherwise). Returns whether the request writes.
bool CheckedRequestWrites(const HandlerTable& handlers, pugi::xml_node rq) {
  if (!EndsWithRq(rq.name()) || !KnownIterator(rq)) Raise(kParseError);
  const HandlerEntry* entry = handlers.Find(rq.name());
  return entry != nullptr && entry->writes;
}

// Runs the requests of one message set in order under one SQLite transaction. each_request hands
// every request to its argument, in order, until that returns false.
template <class EachRequest>
std::string RunMessageSet(Session& session, bool writes, bool stop_on_error,
                          EachRequest&& each_request) {
  const HandlerTable& handlers = DefaultHandlers();
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
  each_request([&](pugi::xml_node rq) {
    RequestContext ctx{rq, session, *session.company, lists, out};
    // Another program may have changed list records since the last request.
    session.company->facts().Validate(session.company->db());
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
    return !transaction_lost && !(stop_on_error && status.severity == "Error");
  });
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

// The first element of a parsed request.
pugi::xml_node RequestOf(const pugi::xml_document& doc) {
  pugi::xml_node rq = doc.first_child();
  while (rq && rq.type() != pugi::node_element) rq = rq.next_sibling();
  return rq;
}

// A large document of the plain shape is answered one request at a time: each request is parsed
// on its own (once while the whole document is checked, then again to run it), so memory follows
// the largest request rather than the whole document. False when the document is to be read
// whole after all.
bool AnswerOutlined(Session& session, const CheckedText& checked, std::string& answer) {
  const HandlerTable& handlers = DefaultHandlers();
  const uint64_t max_elements = MaxRequestElements();
  bool writes = false, parsed = true;
  std::string_view on_error;
  auto check = [&](std::string_view text) {
    if (ElementCount(text) > max_elements) Raise(kParseError);
    pugi::xml_document doc;
    pugi::xml_node rq;
    if (!Load(doc, text, checked) || !(rq = RequestOf(doc))) return parsed = false;
    writes |= CheckedRequestWrites(handlers, rq);
    return true;
  };
  if (ScanOutline(checked.text, on_error, check) != OutlineScan::kDone || !parsed) return false;
  answer = RunMessageSet(session, writes, on_error != "continueOnError", [&](auto run) {
    std::string_view ignored;
    ScanOutline(checked.text, ignored, [&](std::string_view text) {
      pugi::xml_document doc;
      Load(doc, text, checked);
      return run(RequestOf(doc));
    });
  });
  return true;
}

// Documents up to this size are parsed whole; the outline is for the few that are larger.
constexpr size_t kOutlinedFrom = 1u << 20;

}  // namespace

std::string AnswerRequestDocument(Session& session, std::string_view text) {
  if (text.size() >= kOutlinedFrom) {
    std::string decoded;
    const CheckedText checked = CheckText(text, decoded);
    std::string answer;
    if (AnswerOutlined(session, checked, answer)) return answer;
  }
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
    if (rq.type() == pugi::node_element) writes |= CheckedRequestWrites(handlers, rq);
  }
  std::string_view on_error = msgs.attribute("onError").value();
  return RunMessageSet(session, writes, on_error != "continueOnError", [&](auto run) {
    for (auto rq : msgs.children()) {
      if (rq.type() == pugi::node_element && !run(rq)) return;
    }
  });
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
