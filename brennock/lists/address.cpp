#include "brennock/lists/address.h"

#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

const Address::Field Address::kFields[10] = {
    {"Addr1", &Address::addr1_, 41},     {"Addr2", &Address::addr2_, 41},
    {"Addr3", &Address::addr3_, 41},     {"Addr4", &Address::addr4_, 41},
    {"Addr5", &Address::addr5_, 41},     {"City", &Address::city_, 31},
    {"State", &Address::state_, 21},     {"PostalCode", &Address::postalCode_, 13},
    {"Country", &Address::country_, 31}, {"Note", &Address::note_, 41},
};

void Address::Clear() {
  for (const Field& field : kFields) (this->*field.member).clear();
}

void Address::FromDom(const XmlNode& aggregate) {
  Clear();
  for (const XmlNode& child : aggregate.childNodes()) {
    const std::string name = child.baseName();
    for (const Field& field : kFields) {
      if (name == field.element) {
        this->*field.member = child.text();
        break;
      }
    }
  }
}

void Address::WriteElements(xmlBldr& builder) const {
  for (const Field& field : kFields) {
    const std::string& value = this->*field.member;
    if (!value.empty()) builder.CreateElement(field.element, value);
  }
}

std::string_view Address::FirstTooLongField() const noexcept {
  for (const Field& field : kFields) {
    if (Utf8Length(this->*field.member) > field.limit) return field.element;
  }
  return {};
}

}  // namespace brennock
