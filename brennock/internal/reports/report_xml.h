#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/report_enums.h"

namespace brennock {

class XmlNode;

// Small readers shared by the report classes.

// An attribute's text; empty when the element has no such attribute.
std::string AttributeText(const XmlNode& element, std::string_view name);
// The leading number of an attribute's text; 0 when absent or not a number.
int32_t AttributeNumber(const XmlNode& element, std::string_view name);
// A ColType's field: the report-field table's entry for the text, 0 for "Unsupported" or a name
// the table does not know.
qbEnumReportFields ReportFieldOf(std::string_view text);
// A qbXML enumeration text back to its code in the table; 0 for a text the table does not know.
int32_t EnumCodeOrZero(std::string_view text, qoEnumerationType table);

}  // namespace brennock

namespace brennock {
// ASCII letters upper-cased, the rest as it is.
std::string AsciiUpper(std::string_view text);
}  // namespace brennock
