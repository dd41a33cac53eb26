#include "brennock/model/field_table.h"

#include "brennock/model/xml_node.h"

namespace brennock {

void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table) {
  for (XmlNode child : element.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    if (FieldReader read = table.Find(child.baseName())) read(record, child);
  }
}

}  // namespace brennock
