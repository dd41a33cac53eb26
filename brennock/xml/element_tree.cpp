#include "brennock/internal/xml/element_tree.h"

#include <algorithm>
#include <new>
#include <pugixml.hpp>
#include <stdexcept>

#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/xml_markup.h"
#include "brennock/internal/xml/xml_tree.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

// The pugixml node behind a handle.
struct NodeAccess : XmlNode {
  static pugi::xml_node_struct* Raw(const XmlNode& node) { return node.*(&NodeAccess::node_); }
};

}  // namespace

// ---- FieldElement -------------------------------------------------------------------------------

std::string_view FieldElement::baseName() const { return detail::LocalName(nodeName()); }

std::string FieldElement::text() const { return tree_->Text(node_); }

uint32_t FieldElement::RunLength() const {
  const std::string_view name = nodeName();
  const uint32_t limit = tree_->size_;
  uint32_t count = 0;
  for (uint32_t node = node_; node < limit && tree_->View(node) == name;
       node = tree_->ElementFrom(tree_->nodes_[node].end, limit)) {
    ++count;
  }
  return count;
}

std::pair<std::string_view, bool> FieldElement::Attribute(std::string_view name) const {
  const uint32_t content = tree_->ContentStart(node_);
  for (uint32_t at = node_ + 1; at < content; at += 2) {
    if (tree_->View(at) == name) return {tree_->View(at + 1), true};
  }
  return {{}, false};
}

// ---- ElementTree --------------------------------------------------------------------------------

ElementTree::ElementTree(const XmlNode& element) { CopyFrom(element); }

void ElementTree::Assign(const XmlNode& element) {
  Clear();
  CopyFrom(element);
}

void ElementTree::Clear() {
  size_ = 0;
  depth_ = 0;
  decoded_.clear();
}

void ElementTree::Grow() {
  if (capacity_ > UINT32_MAX / 2) throw std::bad_alloc();
  capacity_ = capacity_ == 0 ? 64 : capacity_ * 2;
  std::unique_ptr<Node[]> grown(new Node[capacity_]);  // left uninitialised: filled as used
  std::copy(nodes_.get(), nodes_.get() + size_, grown.get());
  nodes_ = std::move(grown);
}

void ElementTree::TooLong() { throw std::length_error("an XML name or text exceeds 4 GiB"); }

void ElementTree::AddDecodedText(std::string_view text) {
  // The store may move as it grows: the node holds an offset until Finish.
  const auto offset = reinterpret_cast<const char*>(static_cast<uintptr_t>(decoded_.size()));
  std::string replaced;
  if (ReplaceWindows1252Controls(text, replaced)) text = replaced;
  decoded_ += text;
  Append(offset, text.size(), Kind::kDecodedText);
}

void ElementTree::AddDecodedAttribute(std::string_view name, std::string_view value) {
  const auto offset = reinterpret_cast<const char*>(static_cast<uintptr_t>(decoded_.size()));
  decoded_ += value;
  Append(name.data(), name.size(), Kind::kAttribute);
  Append(offset, value.size(), Kind::kDecodedValue);
}

void ElementTree::Finish() {
  if (decoded_.empty()) return;
  for (uint32_t i = 0; i < size_; ++i) {
    Node& node = nodes_[i];
    if (node.kind == Kind::kDecodedText || node.kind == Kind::kDecodedValue) {
      node.data = decoded_.data() + reinterpret_cast<uintptr_t>(node.data);
      node.kind = node.kind == Kind::kDecodedText ? Kind::kText : Kind::kValue;
    }
  }
}

void ElementTree::CopyFrom(const XmlNode& element) {
  pugi::xml_node root(NodeAccess::Raw(element));
  if (root.type() != pugi::node_element) detail::ThrowObjectNotSet();
  // A walk in document order without recursion (deep documents cannot exhaust the stack), asking
  // the tree for each step once.
  pugi::xml_node at = root;
  for (;;) {
    switch (at.type()) {
      case pugi::node_element:
        OpenElement(at.name());
        for (pugi::xml_attribute attribute : at.attributes())
          AddAttribute(attribute.name(), attribute.value());
        if (pugi::xml_node child = at.first_child()) {
          at = child;
          continue;
        }
        CloseElement();
        break;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        AddText(at.value());
        break;
      default:
        break;
    }
    // On to the next sibling, closing each element left on the way up.
    for (;;) {
      if (at == root) {
        Finish();
        return;
      }
      if (pugi::xml_node next = at.next_sibling()) {
        at = next;
        break;
      }
      at = at.parent();
      CloseElement();
    }
  }
}

std::string ElementTree::Text(uint32_t element) const {
  // Every text inside the element, in document order, then trimmed as one.
  std::string text;
  for (uint32_t i = element + 1; i < nodes_[element].end; ++i) {
    if (nodes_[i].kind == Kind::kText) text += View(i);
  }
  std::string_view kept = detail::TrimBlanks(text);
  if (kept.size() == text.size()) return text;
  return std::string(kept);
}

}  // namespace brennock
