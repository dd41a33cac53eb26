#include "brennock/xml/xml_node.h"

#include <new>

#include "brennock/internal/xml/xml_markup.h"
#include "brennock/internal/xml/xml_tree.h"
#include "brennock/xml/xml_attributes.h"

namespace brennock {

namespace {

pugi::xml_node Require(pugi::xml_node_struct* node) {
  if (node == nullptr) detail::ThrowObjectNotSet();
  return pugi::xml_node(node);
}

void SetValue(pugi::xml_node node, const std::string& value) {
  if (!node.set_value(value.c_str(), value.size())) throw std::bad_alloc();
}

}  // namespace

DOMNodeType XmlNode::nodeType() const {
  switch (Require(node_).type()) {
    case pugi::node_document:
      return NODE_DOCUMENT;
    case pugi::node_element:
      return NODE_ELEMENT;
    case pugi::node_pcdata:
      return NODE_TEXT;
    case pugi::node_cdata:
      return NODE_CDATA_SECTION;
    case pugi::node_comment:
      return NODE_COMMENT;
    case pugi::node_pi:
    case pugi::node_declaration:
      return NODE_PROCESSING_INSTRUCTION;
    case pugi::node_doctype:
      return NODE_DOCUMENT_TYPE;
    default:
      return NODE_INVALID;
  }
}

std::string XmlNode::nodeName() const { return std::string(detail::DomNodeName(Require(node_))); }

std::string XmlNode::baseName() const {
  pugi::xml_node node = Require(node_);
  switch (node.type()) {
    case pugi::node_element:
    case pugi::node_pi:
    case pugi::node_declaration:
    case pugi::node_doctype:
      return std::string(detail::LocalName(detail::DomNodeName(node)));
    default:
      return {};
  }
}

std::string XmlNode::nodeValue() const {
  pugi::xml_node node = Require(node_);
  switch (node.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
      return node.value();
    case pugi::node_declaration:
      return detail::DeclarationData(node);
    default:
      return {};
  }
}

std::string XmlNode::text() const {
  pugi::xml_node node = Require(node_);
  if (node.type() != pugi::node_document) return detail::NodeText(node);
  // Only the root element holds text at the top level; removed nodes are parked beside it.
  for (pugi::xml_node child = tree_->FirstChild(node); child; child = tree_->NextSibling(child)) {
    if (child.type() == pugi::node_element) return detail::NodeText(child);
  }
  return {};
}

void XmlNode::setText(const std::string& value) {
  pugi::xml_node node = Require(node_);
  switch (node.type()) {
    case pugi::node_element: {
      pugi::xml_node first = node.first_child();
      if (!value.empty() && first && !first.next_sibling() && first.type() == pugi::node_pcdata) {
        SetValue(first, value);  // same structure: child positions stay known
        return;
      }
      if (first) tree_->RemoveChildren(node);
      if (!value.empty()) {
        pugi::xml_node text = node.append_child(pugi::node_pcdata);
        if (!text) throw std::bad_alloc();
        SetValue(text, value);
      }
      return;
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
      SetValue(node, value);
      return;
    default:
      detail::ThrowNotSupported();
  }
}

std::string XmlNode::xml() const {
  pugi::xml_node node = Require(node_);
  std::string out;
  if (node.type() != pugi::node_document) {
    detail::AppendMarkup(node, out);
    return out;
  }
  for (pugi::xml_node child = tree_->FirstChild(node); child; child = tree_->NextSibling(child)) {
    detail::AppendMarkup(child, out);
    out += "\r\n";
  }
  return out;
}

XmlNodeList XmlNode::childNodes() const {
  Require(node_);
  return XmlNodeList(tree_, node_);
}

bool XmlNode::hasChildNodes() const { return static_cast<bool>(tree_->FirstChild(Require(node_))); }

XmlAttributes XmlNode::attributes() const {
  Require(node_);
  return XmlAttributes(tree_, node_);
}

int32_t XmlNodeList::length() const { return tree_->ChildCount(pugi::xml_node(parent_)); }

XmlNode XmlNodeList::item(int32_t index) const {
  pugi::xml_node child = tree_->ChildAt(pugi::xml_node(parent_), index);
  if (!child) return XmlNode();
  return XmlNode(tree_, child.internal_object());
}

XmlNodeList::iterator XmlNodeList::begin() const {
  return iterator(&tree_, tree_->FirstChild(pugi::xml_node(parent_)).internal_object());
}

XmlNodeList::iterator& XmlNodeList::iterator::operator++() {
  node_ = (*tree_)->NextSibling(pugi::xml_node(node_)).internal_object();
  return *this;
}

}  // namespace brennock
