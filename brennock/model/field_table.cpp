#include "brennock/model/field_table.h"

#include <pugixml.hpp>

#include "brennock/model/xml_markup.h"
#include "brennock/model/xml_tree.h"

namespace brennock {
namespace {

// The loaded tree behind a node handle. Field readers walk a record's children straight through
// the tree: a handle per field would cost a shared ownership count and a name copy each.
struct NodeAccess : XmlNode {
  NodeAccess(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node_struct* node)
      : XmlNode(std::move(tree), node) {}
  static pugi::xml_node_struct* Raw(const XmlNode& node) { return node.*(&NodeAccess::node_); }
  static const std::shared_ptr<detail::XmlTree>& Tree(const XmlNode& node) {
    return node.*(&NodeAccess::tree_);
  }
};

// The first element from node on (node itself or a later sibling); null at the end. A null node's
// type is node_null, which ends the walk without a separate test.
pugi::xml_node_struct* ElementFrom(pugi::xml_node node) {
  for (;;) {
    pugi::xml_node_type type = node.type();
    if (type == pugi::node_element) return node.internal_object();
    if (type == pugi::node_null) return nullptr;
    node = node.next_sibling();
  }
}

constexpr bool IsBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without leading and trailing blanks, as XmlNode::text() trims it. Field texts rarely
// have blanks, so each end costs one test.
std::string_view TrimmedText(const char* text) noexcept {
  while (IsBlank(*text)) ++text;
  std::string_view value(text);
  size_t end = value.size();
  while (end > 0 && IsBlank(value[end - 1])) --end;
  return value.substr(0, end);
}

}  // namespace

FieldElement::FieldElement(const XmlNode& owner) : owner_(&owner), node_(NodeAccess::Raw(owner)) {
  if (node_ == nullptr) detail::ThrowObjectNotSet();
}

FieldElement::iterator& FieldElement::iterator::operator++() {
  node_ = ElementFrom(pugi::xml_node(node_).next_sibling());
  return *this;
}

std::string_view FieldElement::baseName() const {
  return detail::LocalName(pugi::xml_node(node_).name());
}

std::string_view FieldElement::nodeName() const { return pugi::xml_node(node_).name(); }

std::string FieldElement::text() const { return detail::NodeText(pugi::xml_node(node_)); }

std::string_view FieldElement::TextView(std::string& scratch) const {
  pugi::xml_node first = pugi::xml_node(node_).first_child();
  pugi::xml_node_type type = first.type();  // node_null when there is no content
  if (type == pugi::node_null) return {};
  if ((type == pugi::node_pcdata || type == pugi::node_cdata) &&
      first.next_sibling().type() == pugi::node_null) {
    return TrimmedText(first.value());
  }
  scratch = text();
  return scratch;
}

FieldElement::Range FieldElement::Children() const {
  return Range{iterator(owner_, ElementFrom(pugi::xml_node(node_).first_child()))};
}

XmlNode FieldElement::Node() const { return NodeAccess(NodeAccess::Tree(*owner_), node_); }

void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table) {
  // One tree handle walks the children: this runs for every child of every record loaded, and
  // each step through a FieldElement would cost more calls into the tree.
  for (pugi::xml_node child = pugi::xml_node(element.node_).first_child();;
       child = child.next_sibling()) {
    const pugi::xml_node_type type = child.type();
    if (type == pugi::node_null) break;
    if (type != pugi::node_element) continue;
    // Looked up by the qualified name first: table names have no prefix, so a match is the local
    // name, and the usual unprefixed element costs no search for a colon.
    std::string_view name = child.name();
    FieldReader read = table.Find(name);
    if (read == nullptr && name.find(':') != std::string_view::npos) {
      read = table.Find(detail::LocalName(name));
    }
    if (read != nullptr) read(record, FieldElement(*element.owner_, child.internal_object()));
  }
}

void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table) {
  ReadFields(record, FieldElement(element), table);
}

}  // namespace brennock
