#include "brennock/internal/reports/report_xml.h"

#include <charconv>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

std::string AttributeText(const XmlNode& element, std::string_view name) {
  XmlAttribute attribute = element.attributes().getNamedItem(name);
  return attribute ? attribute.text() : std::string();
}

int32_t AttributeNumber(const XmlNode& element, std::string_view name) {
  const std::string text = AttributeText(element, name);
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int32_t EnumCodeOrZero(std::string_view text, qoEnumerationType table) {
  if (text.empty()) return 0;
  auto entries = ThreadEnumerations()->Item(table);
  for (int32_t i = 1; i <= entries->Count(); ++i) {
    auto entry = entries->Item(i);
    const std::string tag = entry->XMLTag();
    if ((tag.empty() ? entry->CollectionKey() : tag) == text) return entry->Code();
  }
  return 0;
}

qbEnumReportFields ReportFieldOf(std::string_view text) {
  return static_cast<qbEnumReportFields>(EnumCodeOrZero(text, qoeReportField));
}

}  // namespace brennock

namespace brennock {
std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}
}  // namespace brennock
