#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/xml/xml_node.h"

namespace pugi {
struct xml_attribute_struct;
}

namespace brennock {

// One attribute of an element (an MSXML attribute node). A default-constructed attribute is
// Nothing and raises AutomationError 91 from every member, like XmlNode.
class XmlAttribute {
 public:
  XmlAttribute() = default;

  explicit operator bool() const noexcept { return attribute_ != nullptr; }

  DOMNodeType nodeType() const;
  std::string nodeName() const;
  std::string baseName() const;
  // The attribute value as written (entities decoded), never trimmed.
  std::string text() const;
  std::string nodeValue() const { return text(); }
  // Untyped attributes have their string value as typed value.
  std::string nodeTypedValue() const { return text(); }
  void setText(const std::string& value);
  // name="value", escaped as in XmlNode::xml().
  std::string xml() const;

 private:
  friend class XmlAttributes;
  XmlAttribute(std::shared_ptr<detail::XmlTree> tree,
               pugi::xml_attribute_struct* attribute) noexcept
      : tree_(std::move(tree)), attribute_(attribute) {}

  std::shared_ptr<detail::XmlTree> tree_;
  pugi::xml_attribute_struct* attribute_ = nullptr;
};

// The attributes of a node in document order (MSXML's named node map).
class XmlAttributes {
 public:
  int32_t length() const;
  // The attribute at a 0-based position; Nothing when the position is outside the list.
  XmlAttribute item(int32_t index) const;
  // The attribute with this exact (qualified) name; Nothing when the node has none.
  XmlAttribute getNamedItem(std::string_view name) const;

 private:
  friend class XmlNode;
  XmlAttributes(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node_struct* owner) noexcept
      : tree_(std::move(tree)), owner_(owner) {}

  std::shared_ptr<detail::XmlTree> tree_;
  pugi::xml_node_struct* owner_;
};

}  // namespace brennock
