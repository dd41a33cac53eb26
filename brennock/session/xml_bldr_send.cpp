// Sending a request document through the thread's request processor and reading the status of
// the first response.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/session/parser_missing_prompt.h"
#include "brennock/internal/session/request_trace.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/environment.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/response_limits.h"
#include "brennock/session/request_processor.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

constexpr int32_t kCannotCreateObject = 429;  // the XML parser component could not be created
constexpr int32_t kAutomationFailure = 440;   // a failure that carried no automation error
constexpr uint64_t kDefaultMaxResponseBytes = uint64_t{1} << 30;

// The name of the tag nearest before `at`: the element whose text (or attribute) holds it.
std::string_view TagBefore(std::string_view request, std::size_t at) {
  std::size_t open = request.rfind('<', at);
  if (open == std::string_view::npos) return {};
  std::size_t start = open + 1;
  if (start < request.size() && request[start] == '/') ++start;
  std::size_t end = request.find_first_of(" \t\r\n/>", start);
  return request.substr(start, (end == std::string_view::npos ? request.size() : end) - start);
}

// A parser refuses the whole document for one such character, so it is refused before sending,
// naming the character and the element it is in.
void RefuseNonXmlCharacters(std::string_view request) {
  char32_t cp = 0;
  std::size_t at = FindNonXmlCharacter(request, cp);
  if (at == std::string_view::npos) return;
  RaiseError(errNonXmlCharacter, FindError(errNonXmlCharacter)->source,
             Concat({ErrorMessage(errNonXmlCharacter), CodePointName(cp), " in <",
                     TagBefore(request, at), ">"}));
}

[[noreturn]] void RefuseOverLimit(ErrorCode code, uint64_t limit) {
  RaiseError(code, FindError(code)->source,
             Concat({ErrorMessage(code), std::to_string(limit), "."}));
}

// What a response may hold before anything reads it: a huge one, or one whose document type
// declares entities, would cost the parser far more than the text itself. A document type can only
// stand before the document's element, so only that prolog is looked at.
void RefuseUnsafeResponse(std::string_view response) {
  const uint64_t maxBytes =
      EnvironmentCount("BRENNOCK_MAX_RESPONSE_BYTES", kDefaultMaxResponseBytes);
  if (response.size() > maxBytes) RefuseOverLimit(errResponseTooLarge, maxBytes);
  for (std::size_t at = response.find('<');
       at != std::string_view::npos && at + 1 < response.size(); at = response.find('<', at + 1)) {
    const char next = response[at + 1];
    if (next == '?') continue;
    if (next != '!') return;  // the document's element: the prolog is over
    if (response.compare(at, 4, "<!--") == 0) {
      at = response.find("-->", at);
      if (at == std::string_view::npos) return;
      continue;
    }
    // QuickBooks' own "<!DOCTYPE QBXML PUBLIC ...>" has no internal subset.
    char quote = 0;
    for (at += 2; at < response.size() && (quote || response[at] != '>'); ++at) {
      if (quote) {
        if (response[at] == quote) quote = 0;
      } else if (response[at] == '"' || response[at] == '\'') {
        quote = response[at];
      } else if (response[at] == '[') {
        RaiseTableError(errResponseDoctype);
      }
    }
  }
}

// How deeply a response that is loaded as a document nests; the direct reader declines deeper
// ones itself (MaxResponseDepth), so this walk is paid only on the document path.
void RefuseTooDeep(std::string_view response) {
  const uint64_t maxDepth = MaxResponseDepth();
  const char* p = response.data();
  const char* const end = p + response.size();
  auto skipPast = [&](const char* from, std::string_view mark) {
    std::size_t at = response.find(mark, static_cast<std::size_t>(from - response.data()));
    return at == std::string_view::npos ? end : response.data() + at + mark.size();
  };
  uint64_t depth = 0;
  while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)))) &&
         end - p > 1) {
    const char next = p[1];
    if (next == '/') {
      if (depth > 0) --depth;
      p += 2;
    } else if (next == '?') {
      p = skipPast(p, "?>");
    } else if (next == '!') {
      std::string_view rest(p, static_cast<std::size_t>(end - p));
      p = rest.starts_with("<!--")        ? skipPast(p, "-->")
          : rest.starts_with("<![CDATA[") ? skipPast(p, "]]>")
                                          : skipPast(p, ">");
    } else {
      // A start tag; a '>' inside an attribute value can only end it early, which leaves the
      // count of open elements as it is.
      const char* close =
          static_cast<const char*>(std::memchr(p, '>', static_cast<std::size_t>(end - p)));
      if (close == nullptr) break;
      if (close[-1] != '/' && ++depth > maxDepth) RefuseOverLimit(errResponseTooDeep, maxDepth);
      p = close + 1;
    }
  }
}

}  // namespace

std::string xmlBldr::Send(bool allowSubscription) {
  // Each send reports its own status: a response without status attributes reads as success.
  statusCode_.clear();
  statusMessage_.clear();
  int32_t number = 0;
  std::string description;
  try {
    std::string request = pieces_.Join();
    RefuseNonXmlCharacters(request);
    WriteRequestTrace("<OUTGOING>", request, "</OUTGOING>");
    SessionState& session = Session();
    if (!session.processor) {
      RaiseRuntime(kObjectNotSetNumber, "XMLBldr");  // the session was never opened
    }
    bool subscription =
        allowSubscription && request.find("QBXMLSubscriptionMsgsRq") != std::string::npos;
    std::string response = subscription
                               ? session.processor->ProcessSubscription(request)
                               : session.processor->ProcessRequest(session.ticket, request);
    if (allowSubscription) Clear();
    WriteRequestTrace("<RETURNS>", response, "</RETURNS>");
    RefuseUnsafeResponse(response);
    return response;
  } catch (const AutomationError& error) {
    number = error.Number();
    description = error.Description();
  } catch (const std::exception& error) {
    number = kAutomationFailure;
    description = error.what();
  }
  if (number == kCannotCreateObject) {
    ShowParserMissingPrompt();
    RaiseTableError(errParserMissing);
  }
  statusCode_ = std::to_string(number);
  statusMessage_ = description;
  throw AutomationError(number, "XMLBldr", std::move(description));
}

void xmlBldr::ReadFirstStatus(const XmlDocument& response) {
  try {
    // QBXML, the message-set response, then the response to the first request.
    XmlNode first = response.documentElement().childNodes().item(0).childNodes().item(0);
    XmlAttributes attributes = first.attributes();
    for (int32_t i = 0, count = attributes.length(); i < count; ++i) {
      XmlAttribute attribute = attributes.item(i);
      std::string name = attribute.nodeName();
      if (name == "statusCode") {
        TakeStatusCode(attribute.text());
      } else if (name == "statusMessage") {
        statusMessage_ = attribute.text();
      }
    }
  } catch (const std::exception&) {
    // A response without that shape has no status: the send's cleared one stands.
  }
}

void xmlBldr::TakeStatusCode(std::string_view code) {
  // 1 is "no object matched": an empty result, not an error.
  statusCode_ = code == "1" ? std::string_view("0") : code;
}

void xmlBldr::TakeFirstStatus(std::string_view statusCode, std::string_view statusMessage) {
  TakeStatusCode(statusCode);
  statusMessage_ = statusMessage;
}

std::shared_ptr<XmlDocument> xmlBldr::ParseResponse(std::string response) {
  try {
    RefuseTooDeep(response);
  } catch (const AutomationError& error) {
    statusCode_ = std::to_string(error.Number());
    statusMessage_ = error.Description();
    throw;
  }
  auto document = std::make_shared<XmlDocument>();
  document->loadXML(std::move(response));
  ReadFirstStatus(*document);
  return document;
}

std::shared_ptr<XmlDocument> xmlBldr::SendToQB() { return ParseResponse(Send(true)); }

std::shared_ptr<XmlDocument> xmlBldr::NewSendRequest() {
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</QBXML>");
  return SendToQB();
}

std::string xmlBldr::NewSendRequestText() {
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</QBXML>");
  return Send(true);
}

std::shared_ptr<XmlDocument> xmlBldr::NewSendSubscriptionRequest() {
  AppendPiece("</QBXMLSubscriptionMsgsRq>");
  AppendPiece("</QBXML>");
  return SendToQB();
}

std::string xmlBldr::XMLSendToQB() { return Send(false); }

std::string xmlBldr::XMLInsertBegin(std::string_view QueryType, std::string_view InsertCmd) {
  try {
    CreateTop();
    AppendPiece("<QBXML>");
    OpenMessageSet();
    OpenAggregate(QueryType, "requestID", "2");
    AppendPiece(Concat({"<", InsertCmd, ">"}));
  } catch (const AutomationError& error) {
    statusCode_ = std::to_string(error.Number());
    statusMessage_ = error.Description();
  }
  return {};
}

std::shared_ptr<XmlDocument> xmlBldr::XMLInsertFinish(std::string_view QueryType,
                                                      std::string_view InsertCmd) {
  try {
    AppendPiece(Concat({"</", InsertCmd, ">"}));
    AppendPiece(Concat({"</", QueryType, ">"}));
    AppendPiece("</QBXMLMsgsRq>");
    AppendPiece("</QBXML>");
    return SendToQB();
  } catch (const AutomationError& error) {
    statusCode_ = std::to_string(error.Number());
    statusMessage_ = error.Description();
  }
  return nullptr;
}

}  // namespace brennock
