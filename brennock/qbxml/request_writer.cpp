#include "brennock/internal/qbxml/request_writer.h"

#include "brennock/internal/util/text.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kBareDeclaration = R"(<?xml version="1.0" ?>)";

void AppendEscaped(PieceBuffer& text, std::string_view value) {
  EscapeXmlTextTo([&text](std::string_view part) { text.Append(part); }, value);
}

}  // namespace

void RequestWriter::AppendPiece(std::string_view piece) {
  Append([piece](PieceBuffer& text) { text += piece; });
}

void RequestWriter::AppendElement(std::string_view tag, std::string_view value) {
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

std::string RequestWriter::InsertRawXML(std::string_view XMLString) {
  AppendPiece(XMLString);
  return {};
}

std::string RequestWriter::GetXML() const { return pieces_.Join(); }

void RequestWriter::Clear() {
  pieces_.Clear();
  pieceCount_ = 0;
}

void RequestWriter::CreateRptTop() { AppendPiece(kBareDeclaration); }

void RequestWriter::CreateElement(std::string_view TagName, std::string_view Value,
                                  Currency MinVersion) {
  if (Below(MinVersion)) return;
  AppendElement(TagName, Value);
}

void RequestWriter::CreateElement(std::string_view TagName, std::string_view Value,
                                  double MinVersion) {
  CreateElement(TagName, Value, Currency(MinVersion));
}

void RequestWriter::CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                                   Currency MinVersion) {
  if (Below(MinVersion)) return;
  if (Value.empty() && !ForceNull) return;
  AppendElement(TagName, Value);
}

void RequestWriter::CreateElement2(std::string_view TagName, std::string_view Value, bool ForceNull,
                                   double MinVersion) {
  CreateElement2(TagName, Value, ForceNull, Currency(MinVersion));
}

void RequestWriter::CreateBlankTag(std::string_view TagName) {
  Append([&](PieceBuffer& text) {
    text += '<';
    text += TagName;
    text += "/>";
  });
}

void RequestWriter::OpenAggregate(std::string_view TagName, std::string_view Attrib,
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

void RequestWriter::OpenAggregateOnly(std::string_view TagName, std::string_view MetaData,
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

void RequestWriter::EndAggregate(std::string_view TagName) {
  std::string_view tag = TagName.empty() ? std::string_view(lastTag_) : TagName;
  Append([tag](PieceBuffer& text) {
    text += "</";
    text += tag;
    text += '>';
  });
}

void RequestWriter::EnterValueOnly(std::string_view TagName) {
  Append([TagName](PieceBuffer& text) { AppendEscaped(text, TagName); });
}

void RequestWriter::CreateDateElement(std::string_view Tag, Date d, Currency MinVersion) {
  if (d.IsNull()) return;
  CreateElement2(Tag, ModConvertDtypes::DateToText(d), true, MinVersion);
}

void RequestWriter::CreateDateElement(std::string_view Tag, Date d, double MinVersion) {
  CreateDateElement(Tag, d, Currency(MinVersion));
}

}  // namespace brennock
