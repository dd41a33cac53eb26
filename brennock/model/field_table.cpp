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

// Orders element names as string_view does, deciding on the first letter when it differs (most
// probes of a table do) without a library comparison call.
bool NameBefore(std::string_view a, std::string_view b) noexcept {
  if (!a.empty() && !b.empty() && a.front() != b.front()) {
    return static_cast<unsigned char>(a.front()) < static_cast<unsigned char>(b.front());
  }
  return a < b;
}

// FieldTable::Find with the cheaper comparison: this runs for every child of every record loaded.
FieldReader ReaderFor(const FieldTable& table, std::string_view name) noexcept {
  std::span<const FieldEntry> entries = table.Entries();
  auto it = std::lower_bound(
      entries.begin(), entries.end(), name,
      [](const FieldEntry& entry, std::string_view key) { return NameBefore(entry.element, key); });
  return it != entries.end() && it->element == name ? it->read : nullptr;
}

pugi::xml_node_struct* ElementFrom(pugi::xml_node node) {
  while (node && node.type() != pugi::node_element) node = node.next_sibling();
  return node.internal_object();
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

std::string FieldElement::text() const { return detail::NodeText(pugi::xml_node(node_)); }

std::string_view FieldElement::TextView(std::string& scratch) const {
  pugi::xml_node first = pugi::xml_node(node_).first_child();
  if (!first) return {};
  if (!first.next_sibling() &&
      (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata)) {
    std::string_view value = first.value();
    constexpr std::string_view kBlanks = " \t\r\n";
    size_t start = value.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    return value.substr(start, value.find_last_not_of(kBlanks) - start + 1);
  }
  scratch = text();
  return scratch;
}

FieldElement::Range FieldElement::Children() const {
  return Range{iterator(owner_, ElementFrom(pugi::xml_node(node_).first_child()))};
}

XmlNode FieldElement::Node() const { return NodeAccess(NodeAccess::Tree(*owner_), node_); }

void ReadFields(qcBase& record, const FieldElement& element, const FieldTable& table) {
  for (FieldElement child : element.Children()) {
    if (FieldReader read = ReaderFor(table, child.baseName())) read(record, child);
  }
}

void ReadFields(qcBase& record, const XmlNode& element, const FieldTable& table) {
  ReadFields(record, FieldElement(element), table);
}

}  // namespace brennock
