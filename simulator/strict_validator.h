#pragma once

#include <string>
#include <string_view>

namespace brennock::simulator {

// Strict mode: when BRENNOCK_QBXML_SCHEMA names the official qbXML schema (the qbxmlops file),
// requests that do not validate against it are refused, as QuickBooks refuses them. The schema is
// compiled once per process. Returns an empty string when the text is valid or strict mode is
// off, else libxml2's first complaint.
std::string StrictModeProblem(std::string_view request_text);

// Validates text, read as UTF-8 whatever its declaration says, against the schema at schema_path
// (tests use it on responses too).
std::string SchemaProblem(const std::string& schema_path, std::string_view text);

}  // namespace brennock::simulator
