#include "brennock/model/field_table.h"

#include "brennock/xml/xml_markup.h"

namespace brennock {

void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table) {
  for (FieldElement child : element.Children()) {
    // Looked up by the qualified name first: table names have no prefix, so a match is the local
    // name, and the usual unprefixed element costs no search for a colon.
    std::string_view name = child.nodeName();
    FieldReader read = table.Find(name);
    if (read == nullptr && name.find(':') != std::string_view::npos) {
      read = table.Find(detail::LocalName(name));
    }
    if (read != nullptr) read(record, child);
  }
}

void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table) {
  ElementTree tree(element);
  ReadFields(record, tree.Root(), table);
}

}  // namespace brennock
