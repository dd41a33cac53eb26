#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::cli {

// The body of an Add or Mod aggregate built from Field=Value settings. Fields are dotted paths
// below the aggregate (BillAddress.City), matched without regard to letter case; a reference
// (TermsRef) takes the full name of the record it names. Values are checked against the
// catalogue's element types and written in the schema's order whatever order they came in.
class RecordBody {
 public:
  // shape: the catalogue's aggregate, e.g. CustomerAdd; label names the record in messages.
  RecordBody(const qbxml::Aggregate& shape, std::string label);

  // One setting; an unknown field or a value the element does not take raises UsageError.
  void Set(std::string_view path, std::string_view value);
  // "Field=Value" as typed on the command line.
  void SetAssignment(std::string_view assignment);
  // Whether a top-level element was set.
  bool Has(std::string_view name) const;
  // The elements, escaped, in schema order.
  void AppendXml(std::string& out) const;

 private:
  struct Node {
    size_t index = 0;  // position in the parent's shape
    const qbxml::Element* element = nullptr;
    std::string value;
    std::vector<Node> children;
  };
  static void AppendChildren(std::string& out, const Node& node);

  const qbxml::Aggregate& shape_;
  std::string label_;
  Node root_;
};

// The text a value of the element's type is written as, or an explanation of why it is not one
// ("is not a whole number"). Booleans and enumeration values come back in qbXML's spelling.
bool CheckedValue(const qbxml::Element& element, std::string_view text, std::string& value,
                  std::string& why);

}  // namespace brennock::cli
