#include "bridges/serve/soap.h"

#include <cstdint>
#include <vector>

#include "brennock/internal/util/text.h"

namespace brennock::serve {
namespace {

constexpr std::string_view kEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

std::string_view LocalName(std::string_view name) {
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void AppendUtf8(uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Reads a SOAP call in one pass over the body without building a document: it keeps the names of
// the open elements (views into the body) and copies only the texts of the operation's
// parameters, so a call costs little more than its body whatever it holds.
class SoapReader {
 public:
  // Deeper nesting than this is refused; a SOAP call needs four levels.
  static constexpr size_t kMaxDepth = 64;

  SoapReader(std::string_view body, SoapCall& call) : text_(body), call_(call) {}

  // Empty when the body is a SOAP call; else why not.
  std::string Read() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    std::string problem = ReadDocument();
    if (!problem.empty()) return "the body is not XML: " + problem;
    if (LocalName(root_) != "Envelope") return "the body is not a SOAP envelope";
    if (call_.operation.empty()) return "the SOAP body names no operation";
    return {};
  }

 private:
  std::string ReadDocument() {
    while (at_ < text_.size()) {
      size_t lt = text_.find('<', at_);
      std::string_view between = text_.substr(at_, lt == std::string_view::npos ? lt : lt - at_);
      if (std::string problem = Text(between); !problem.empty()) return problem;
      if (lt == std::string_view::npos) break;
      at_ = lt;
      std::string problem = Markup();
      if (!problem.empty()) return problem;
    }
    if (root_.empty()) return "no element found";
    if (!open_.empty()) return "the element <" + QuotedPrefix(open_.back()) + "> is not closed";
    return {};
  }

  std::string Markup() {
    std::string_view rest = text_.substr(at_);
    if (rest.starts_with("<?")) return Skip("?>", "a processing instruction is not closed");
    if (rest.starts_with("<!--")) return Skip("-->", "a comment is not closed");
    if (rest.starts_with("<![CDATA[")) {
      size_t end = text_.find("]]>", at_ + 9);
      if (end == std::string_view::npos) return "a CDATA section is not closed";
      if (open_.empty()) return "text outside the root element";
      if (Collecting()) parameter_.append(text_.substr(at_ + 9, end - at_ - 9));
      at_ = end + 3;
      return {};
    }
    if (rest.starts_with("<!")) return "a document type is not accepted";
    if (rest.starts_with("</")) return EndTag();
    return StartTag();
  }

  std::string Skip(std::string_view closer, const char* problem) {
    size_t end = text_.find(closer, at_ + 2);
    if (end == std::string_view::npos) return problem;
    at_ = end + closer.size();
    return {};
  }

  std::string_view Name() {
    size_t start = at_;
    while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '>' && text_[at_] != '/' &&
           text_[at_] != '=' && text_[at_] != '<')
      ++at_;
    return text_.substr(start, at_ - start);
  }

  void SkipSpace() {
    while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
  }

  std::string StartTag() {
    ++at_;
    std::string_view name = Name();
    if (name.empty()) return "an element has no name";
    for (;;) {
      SkipSpace();
      if (at_ >= text_.size()) return "the tag <" + QuotedPrefix(name) + "> is not closed";
      if (text_[at_] == '>' || text_.substr(at_, 2) == "/>") break;
      if (Name().empty()) return "a malformed attribute in <" + QuotedPrefix(name) + ">";
      SkipSpace();
      if (at_ >= text_.size() || text_[at_] != '=')
        return "an attribute without a value in <" + QuotedPrefix(name) + ">";
      ++at_;
      SkipSpace();
      if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\''))
        return "an attribute value without quotes in <" + QuotedPrefix(name) + ">";
      size_t end = text_.find(text_[at_], at_ + 1);
      if (end == std::string_view::npos) return "an attribute value is not closed";
      at_ = end + 1;
    }
    bool empty = text_[at_] == '/';
    at_ += empty ? 2 : 1;
    if (open_.empty()) {
      if (!root_.empty()) return "a second root element";
      root_ = name;
    }
    Opened(name);
    if (!empty) {
      if (open_.size() == kMaxDepth)
        return "elements nest deeper than " + std::to_string(kMaxDepth);
      open_.push_back(name);
    } else {
      Closed();
    }
    return {};
  }

  std::string EndTag() {
    at_ += 2;
    std::string_view name = Name();
    SkipSpace();
    if (at_ >= text_.size() || text_[at_] != '>') return "an end tag is not closed";
    ++at_;
    if (open_.empty() || open_.back() != name)
      return "the end tag </" + QuotedPrefix(name) + "> does not match";
    open_.pop_back();
    Closed();
    return {};
  }

  // Envelope (1), Body (2), the operation (3), its parameters (4).
  void Opened(std::string_view name) {
    size_t depth = open_.size() + 1;
    if (depth == 2 && LocalName(name) == "Body" && !bodySeen_) {
      bodySeen_ = true;
      inBody_ = true;
    } else if (depth == 3 && inBody_ && call_.operation.empty()) {
      call_.operation = LocalName(name);
      inOperation_ = true;
    } else if (depth == 4 && inOperation_) {
      parameterName_ = LocalName(name);
      parameter_.clear();
    }
  }

  void Closed() {
    size_t depth = open_.size() + 1;  // of the element just closed
    if (depth == 4 && inOperation_ && !parameterName_.empty()) {
      // A text of blanks alone is no value.
      bool blank = true;
      for (char c : parameter_) blank = blank && IsSpace(c);
      call_.parameters.emplace(std::string(parameterName_),
                               blank ? std::string() : std::move(parameter_));
      parameter_ = std::string();
      parameterName_ = {};
    } else if (depth == 3) {
      inOperation_ = false;
    } else if (depth == 2) {
      inBody_ = false;
    }
  }

  // Text directly inside a parameter is kept; anywhere else it is only checked.
  bool Collecting() const { return inOperation_ && open_.size() == 4 && !parameterName_.empty(); }

  std::string Text(std::string_view text) {
    if (text.empty()) return {};
    if (open_.empty()) {
      for (char c : text)
        if (!IsSpace(c)) return "text outside the root element";
      return {};
    }
    bool keep = Collecting();
    for (size_t i = 0; i < text.size();) {
      size_t amp = text.find('&', i);
      if (keep) parameter_.append(text.substr(i, amp == std::string_view::npos ? amp : amp - i));
      if (amp == std::string_view::npos) break;
      size_t semi = text.find(';', amp);
      if (semi == std::string_view::npos || semi - amp > 12) return "a bare '&' in text";
      std::string_view entity = text.substr(amp + 1, semi - amp - 1);
      uint32_t cp = 0;
      if (entity == "lt")
        cp = '<';
      else if (entity == "gt")
        cp = '>';
      else if (entity == "amp")
        cp = '&';
      else if (entity == "quot")
        cp = '"';
      else if (entity == "apos")
        cp = '\'';
      else if (!CharacterReference(entity, cp))
        return "the reference &" + QuotedPrefix(entity) + "; is not known";
      if (keep) AppendUtf8(cp, parameter_);
      i = semi + 1;
    }
    return {};
  }

  static bool CharacterReference(std::string_view entity, uint32_t& cp) {
    if (entity.size() < 2 || entity[0] != '#') return false;
    bool hex = entity[1] == 'x';
    std::string_view digits = entity.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    cp = 0;
    for (char c : digits) {
      int value = c >= '0' && c <= '9'          ? c - '0'
                  : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                : -1;
      if (value < 0) return false;
      cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(value);
      if (cp > 0x10FFFF) return false;
    }
    return cp != 0 && !(cp >= 0xD800 && cp <= 0xDFFF);
  }

  std::string_view text_;
  SoapCall& call_;
  size_t at_ = 0;
  std::vector<std::string_view> open_;
  std::string_view root_;
  bool bodySeen_ = false;
  bool inBody_ = false;
  bool inOperation_ = false;
  std::string_view parameterName_;
  std::string parameter_;
};

void Open(std::string& out, std::string_view operation) {
  out += R"(<?xml version="1.0" encoding="utf-8"?>)";
  out += R"(<soap:Envelope xmlns:soap=")";
  out += kEnvelopeNamespace;
  out += R"("><soap:Body><)";
  out += operation;
  out += R"(Response xmlns=")";
  out += kIntuitNamespace;
  out += R"("><)";
  out += operation;
  out += "Result>";
}

void Close(std::string& out, std::string_view operation) {
  out += "</";
  out += operation;
  out += "Result></";
  out += operation;
  out += "Response></soap:Body></soap:Envelope>";
}

}  // namespace

const std::string& SoapCall::Parameter(std::string_view name) const {
  static const std::string kNone;
  auto found = parameters.find(name);
  return found == parameters.end() ? kNone : found->second;
}

bool ParseSoapCall(std::string_view body, SoapCall& call, std::string& problem) {
  problem = SoapReader(body, call).Read();
  return problem.empty();
}

std::string SoapResult(std::string_view operation, std::string_view result) {
  std::string out;
  out.reserve(result.size() + 300);
  Open(out, operation);
  AppendXmlEscaped(out, result, XmlEscaping::kText);
  Close(out, operation);
  return out;
}

std::string SoapResult(std::string_view operation, const std::vector<std::string>& strings) {
  std::string out;
  Open(out, operation);
  for (const std::string& text : strings) {
    out += "<string>";
    AppendXmlEscaped(out, text, XmlEscaping::kText);
    out += "</string>";
  }
  Close(out, operation);
  return out;
}

std::string SoapResult(std::string_view operation, int result) {
  return SoapResult(operation, std::string_view(std::to_string(result)));
}

std::string SoapFault(std::string_view faultCode, std::string_view faultString) {
  std::string out = R"(<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap=")";
  out += kEnvelopeNamespace;
  out += R"("><soap:Body><soap:Fault><faultcode>)";
  out += faultCode;
  out += "</faultcode><faultstring>";
  AppendXmlEscaped(out, faultString, XmlEscaping::kText);
  out += "</faultstring></soap:Fault></soap:Body></soap:Envelope>";
  return out;
}

}  // namespace brennock::serve
