#pragma once

#include <cstdint>

#include "brennock/enums/object_enums.h"
#include "brennock/values/variant.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

class xmlBldr;

// Every record that can be read from or written to QuickBooks. The request builder writes the
// envelopes of a request (stem + "AddRq" around stem + "Add" ...) from ObjectType and asks the
// record for its inner fields; collections load records from response elements with FromDom.
class qcBase {
 public:
  virtual ~qcBase() = default;

  // The fields of an Add request, written into the open ...Add aggregate; returns a status.
  virtual int32_t XMLInsert(xmlBldr& cxmlbldr) = 0;
  // The record's whole current state as a ...Ret-shaped element; returns a status.
  virtual int32_t XMLQueryRs(xmlBldr& cxmlbldr) = 0;
  // The fields of a Mod request, written into the open ...Mod aggregate; returns a status.
  virtual int32_t XMLModify(xmlBldr& cxmlbldr) = 0;
  // The record's kind; its entry in the ObjectType table gives the qbXML element stem.
  virtual qoEnumListObjectType ObjectType() const = 0;
  // Loads the record from one ...Ret element; returns an empty value.
  virtual Variant FromDom(const XmlNode& obj) = 0;
};

}  // namespace brennock
