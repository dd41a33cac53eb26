#include "simulator/xml_writer.h"

#include "brennock/internal/util/text.h"

namespace brennock::simulator {

void XmlWriter::AppendEscaped(std::string& out, std::string_view text, bool attribute) {
  AppendXmlEscaped(out, text, attribute ? XmlEscaping::kAttribute : XmlEscaping::kText);
}

void XmlWriter::Open(std::string_view tag) {
  out_.push_back('<');
  out_.append(tag);
  out_.append(">\n");
}

void XmlWriter::OpenWithAttributes(std::string_view tag) {
  out_.push_back('<');
  out_.append(tag);
}

void XmlWriter::Attribute(std::string_view name, std::string_view value) {
  out_.push_back(' ');
  out_.append(name);
  out_.append("=\"");
  AppendEscaped(out_, value, true);
  out_.push_back('"');
}

void XmlWriter::EndAttributes() { out_.append(">\n"); }

void XmlWriter::Close(std::string_view tag) {
  out_.append("</");
  out_.append(tag);
  out_.append(">\n");
}

void XmlWriter::Element(std::string_view tag, std::string_view text) {
  out_.push_back('<');
  out_.append(tag);
  out_.push_back('>');
  AppendEscaped(out_, text, false);
  out_.append("</");
  out_.append(tag);
  out_.append(">\n");
}

}  // namespace brennock::simulator
