#include "brennock/session/xml_bldr.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include "brennock/errors/automation_error.h"
#include "brennock/errors/runtime_errors.h"
#include "brennock/session/session_state.h"
#include "brennock/xml/xml_escape.h"

namespace brennock {
namespace {

constexpr std::string_view kBareDeclaration = R"(<?xml version="1.0" ?>)";
constexpr std::string_view kEncodedDeclaration = R"(<?xml version="1.0" encoding="ISO-8859-1"?>)";
constexpr std::string_view kDoctypeStart = "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD ";
constexpr std::string_view kDoctypeEnd = "//EN' >";

bool BelowSessionVersion(Currency minVersion) { return Session().qbxmlVersionNumber < minVersion; }

void AppendEscaped(PieceBuffer& text, std::string_view value) {
  EscapeXmlTextTo([&text](std::string_view part) { text.Append(part); }, value);
}

}  // namespace

void xmlBldr::AppendPiece(std::string_view piece) {
  Append([piece](PieceBuffer& text) { text += piece; });
}

void xmlBldr::AppendElement(std::string_view tag, std::string_view value) {
  // Most values need no escaping: such an element is copied into place in one go.
  if (detail::CleanPrefixLength(value) == value.size()) {
    if (char* out = pieces_.Claim(2 * tag.size() + value.size() + 5)) {
      *out++ = '<';
      CopyText(out, tag.data(), tag.size());
      out += tag.size();
      *out++ = '>';
      CopyText(out, value.data(), value.size());
      out += value.size();
      *out++ = '<';
      *out++ = '/';
      CopyText(out, tag.data(), tag.size());
      out[tag.size()] = '>';
      ++pieceCount_;
      return;
    }
  }
  Append([&](PieceBuffer& text) {
    text += '<';
    text += tag;
    text += '>';
    AppendEscaped(text, value);
    text += "</";
    text += tag;
    text += '>';
  });
}

std::string xmlBldr::InsertRawXML(std::string_view XMLString) {
  AppendPiece(XMLString);
  return {};
}

int32_t xmlBldr::ErrNumber() const {
  // The leading number of the status text: blanks, an optional sign, digits; anything else ends it.
  std::string_view text = statusCode_;
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) RaiseRuntime(kOverflowNumber, "XMLBldr");
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    RaiseRuntime(kOverflowNumber, "XMLBldr");
  }
  return static_cast<int32_t>(value);
}

std::string xmlBldr::GetXML() const { return pieces_.Join(); }

void xmlBldr::Clear() {
  pieces_.Clear();
  pieceCount_ = 0;
}

void xmlBldr::CreateRptTop() { AppendPiece(kBareDeclaration); }

void xmlBldr::CreateTop() {
  Clear();
  const std::string& version = Session().qbxmlVersion;
  Append([&](PieceBuffer& text) {
    bool plain = version.empty() || version == "1.0";
    text += plain ? kBareDeclaration : kEncodedDeclaration;
    text += kDoctypeStart;
    text += plain ? std::string_view("1.0") : std::string_view(version);
    text += kDoctypeEnd;
  });
}

void xmlBldr::CreateElement(std::string_view TagName, std::string_view Value, Currency MinVersion) {
  if (BelowSessionVersion(MinVersion)) return;
  AppendElement(TagName, Value);
}

void xmlBldr::CreateElement(std::string_view TagName, std::string_view Value, double MinVersion) {
  CreateElement(TagName, Value, Currency(MinVersion));
}

void xmlBldr::CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                             Currency MinVersion) {
  if (BelowSessionVersion(MinVersion)) return;
  if (Value.empty() && !ForceNull) return;
  AppendElement(TagName, Value);
}

void xmlBldr::CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                             double MinVersion) {
  CreateElement2(TagName, Value, ForceNull, Currency(MinVersion));
}

void xmlBldr::CreateBlankTag(std::string_view TagName) {
  Append([&](PieceBuffer& text) {
    text += '<';
    text += TagName;
    text += "/>";
  });
}

void xmlBldr::OpenAggregate(std::string_view TagName, std::string_view Attrib,
                            std::string_view Value) {
  lastTag_.assign(TagName);
  Append([&](PieceBuffer& text) {
    text += '<';
    text += TagName;
    text += ' ';
    text += Attrib;
    text += " = \"";
    AppendEscaped(text, Value);
    text += "\">";
  });
}

void xmlBldr::OpenAggregateOnly(std::string_view TagName, std::string_view MetaData,
                                std::string_view Iterator, std::string_view IteratorId) {
  lastTag_.assign(TagName);
  Append([&](PieceBuffer& text) {
    text += '<';
    text += TagName;
    if (!MetaData.empty()) {
      text += " metaData=\"";
      text += MetaData;
      text += "\" iterator=\"";
      text += Iterator;
      if (!IteratorId.empty()) {
        text += "\" iteratorID=\"";
        text += IteratorId;
      }
      text += "\" ";
    }
    text += '>';
  });
}

void xmlBldr::EndAggregate(std::string_view TagName) {
  std::string_view tag = TagName.empty() ? std::string_view(lastTag_) : TagName;
  Append([tag](PieceBuffer& text) {
    text += "</";
    text += tag;
    text += '>';
  });
}

void xmlBldr::EnterValueOnly(std::string_view TagName) {
  Append([TagName](PieceBuffer& text) { AppendEscaped(text, TagName); });
}

void xmlBldr::OpenMessageSet() { OpenAggregate("QBXMLMsgsRq", "onError", "continueOnError"); }

void xmlBldr::NewClearSubscriptions() {
  Clear();
  CreateTop();
  AppendPiece("<QBXML>");
  AppendPiece("<QBXMLSubscriptionMsgsRq>");
}

void xmlBldr::NewClear() {
  Clear();
  CreateTop();
  AppendPiece("<QBXML>");
  OpenMessageSet();
}

void xmlBldr::IOClear() {
  Clear();
  AppendPiece("<Brennock>");
  OpenMessageSet();
}

int32_t xmlBldr::SaveToFile(const std::string& Path) {
  AppendPiece("</QBXMLMsgsRq>");
  AppendPiece("</Brennock>");
  std::string text = pieces_.Join();
  std::FILE* file = std::fopen(Path.c_str(), "wb");
  if (file == nullptr) {
    RaiseRuntime(kPathFileAccessNumber, "XMLBldr");
  }
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                 std::fwrite("\r\n", 1, 2, file) == 2;
  if (std::fclose(file) != 0 || !written) {
    RaiseRuntime(kDeviceIoNumber, "XMLBldr");
  }
  return 0;
}

}  // namespace brennock
