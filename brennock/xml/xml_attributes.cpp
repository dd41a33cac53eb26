#include "brennock/xml/xml_attributes.h"

#include <new>

#include "brennock/internal/xml/xml_markup.h"
#include "brennock/internal/xml/xml_tree.h"

namespace brennock {

namespace {

pugi::xml_attribute Require(pugi::xml_attribute_struct* attribute) {
  if (attribute == nullptr) detail::ThrowObjectNotSet();
  return pugi::xml_attribute(attribute);
}

}  // namespace

DOMNodeType XmlAttribute::nodeType() const {
  Require(attribute_);
  return NODE_ATTRIBUTE;
}

std::string XmlAttribute::nodeName() const { return Require(attribute_).name(); }

std::string XmlAttribute::baseName() const {
  return std::string(detail::LocalName(Require(attribute_).name()));
}

std::string XmlAttribute::text() const { return Require(attribute_).value(); }

void XmlAttribute::setText(const std::string& value) {
  if (!Require(attribute_).set_value(value.c_str(), value.size())) throw std::bad_alloc();
}

std::string XmlAttribute::xml() const {
  pugi::xml_attribute attribute = Require(attribute_);
  std::string out = attribute.name();
  out += "=\"";
  detail::AppendEscapedAttribute(attribute.value(), out);
  out += '"';
  return out;
}

int32_t XmlAttributes::length() const {
  int32_t count = 0;
  for (pugi::xml_attribute attribute = pugi::xml_node(owner_).first_attribute(); attribute;
       attribute = attribute.next_attribute()) {
    ++count;
  }
  return count;
}

XmlAttribute XmlAttributes::item(int32_t index) const {
  if (index < 0) return {};
  pugi::xml_attribute attribute = pugi::xml_node(owner_).first_attribute();
  for (; attribute && index > 0; --index) attribute = attribute.next_attribute();
  if (!attribute) return {};
  return XmlAttribute(tree_, attribute.internal_object());
}

XmlAttribute XmlAttributes::getNamedItem(std::string_view name) const {
  for (pugi::xml_attribute attribute = pugi::xml_node(owner_).first_attribute(); attribute;
       attribute = attribute.next_attribute()) {
    if (name == attribute.name()) return XmlAttribute(tree_, attribute.internal_object());
  }
  return {};
}

}  // namespace brennock
