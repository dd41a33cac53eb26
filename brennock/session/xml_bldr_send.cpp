// Sending a request document through the thread's request processor and reading the status of
// the first response.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "brennock/errors/automation_error.h"
#include "brennock/errors/error_table.h"
#include "brennock/errors/raise.h"
#include "brennock/errors/runtime_errors.h"
#include "brennock/session/parser_missing_prompt.h"
#include "brennock/session/request_processor.h"
#include "brennock/session/request_trace.h"
#include "brennock/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"

namespace brennock {
namespace {

constexpr int32_t kCannotCreateObject = 429;  // the XML parser component could not be created
constexpr int32_t kAutomationFailure = 440;   // a failure that carried no automation error
constexpr uint64_t kDefaultMaxResponseBytes = uint64_t{1} << 30;
constexpr uint64_t kDefaultMaxResponseDepth = 256;

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

// A positive whole number from the environment, else the default.
uint64_t EnvironmentLimit(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  std::string_view digits(text);
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return ec == std::errc() && end == digits.data() + digits.size() && value > 0 ? value : fallback;
}

// What a response may hold before it is parsed: a huge or deeply nested document, or one whose
// document type declares entities, would cost the parser far more than the text itself.
void RefuseUnsafeResponse(std::string_view response) {
  const uint64_t maxBytes =
      EnvironmentLimit("BRENNOCK_MAX_RESPONSE_BYTES", kDefaultMaxResponseBytes);
  const uint64_t maxDepth =
      EnvironmentLimit("BRENNOCK_MAX_RESPONSE_DEPTH", kDefaultMaxResponseDepth);
  auto refuse = [](ErrorCode code, uint64_t limit) {
    RaiseError(code, FindError(code)->source,
               Concat({ErrorMessage(code), std::to_string(limit), "."}));
  };
  if (response.size() > maxBytes) refuse(errResponseTooLarge, maxBytes);
  const std::size_t n = response.size();
  uint64_t depth = 0;
  auto skipPast = [&](std::size_t from, std::string_view end) {
    std::size_t at = response.find(end, from);
    return at == std::string_view::npos ? n : at + end.size();
  };
  for (std::size_t at = response.find('<'); at < n; at = response.find('<', at)) {
    std::string_view rest = response.substr(at);
    if (rest.starts_with("</")) {
      if (depth > 0) --depth;
      at = skipPast(at, ">");
    } else if (rest.starts_with("<?")) {
      at = skipPast(at, "?>");
    } else if (rest.starts_with("<!--")) {
      at = skipPast(at, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      at = skipPast(at, "]]>");
    } else if (rest.starts_with("<!")) {
      // QuickBooks' own "<!DOCTYPE QBXML PUBLIC ...>" has no internal subset.
      std::size_t end = at + 2;
      char quote = 0;
      for (; end < n && (quote || response[end] != '>'); ++end) {
        if (quote) {
          if (response[end] == quote) quote = 0;
        } else if (response[end] == '"' || response[end] == '\'') {
          quote = response[end];
        } else if (response[end] == '[') {
          RaiseTableError(errResponseDoctype);
        }
      }
      at = end;
    } else {
      // A start tag: its end is the first '>' outside quoted attribute values.
      std::size_t end = at + 1;
      char quote = 0;
      for (; end < n && (quote || response[end] != '>'); ++end) {
        if (quote) {
          if (response[end] == quote) quote = 0;
        } else if (response[end] == '"' || response[end] == '\'') {
          quote = response[end];
        }
      }
      if (end < n && response[end - 1] != '/' && ++depth > maxDepth)
        refuse(errResponseTooDeep, maxDepth);
      at = end;
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
