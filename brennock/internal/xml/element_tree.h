#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/internal/xml/xml_blanks.h"

namespace brennock {

class XmlNode;
class ElementTree;
class DeferredElement;

// One element of a response record as its reader sees it: the name and text MSXML would give.
// A handle into an ElementTree, valid while the tree is and cheap to copy.
class FieldElement {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = FieldElement;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = FieldElement;

    iterator() = default;
    FieldElement operator*() const { return FieldElement(tree_, node_); }
    iterator& operator++();
    // Iterators compare as at the end or not: only the end is ever compared with.
    friend bool operator==(const iterator& a, const iterator& b) {
      return (a.node_ >= a.limit_) == (b.node_ >= b.limit_);
    }

   private:
    friend class FieldElement;
    iterator(const ElementTree* tree, uint32_t node, uint32_t limit)
        : tree_(tree), node_(node), limit_(limit) {}
    const ElementTree* tree_ = nullptr;
    uint32_t node_ = 0;   // an element, or limit_ at the end
    uint32_t limit_ = 0;  // one past the parent's last node
  };
  struct Range {
    iterator first;
    iterator begin() const { return first; }
    iterator end() const { return {}; }
  };

  FieldElement(const ElementTree* tree, uint32_t node) : tree_(tree), node_(node) {}

  // The name without namespace prefix.
  std::string_view baseName() const;
  // The name as written, with any prefix.
  std::string_view nodeName() const;
  // The trimmed text of the element's content, as XmlNode::text().
  std::string text() const;
  // The same text without a copy when the element holds one piece of text; otherwise composed in
  // scratch.
  std::string_view TextView(std::string& scratch) const;
  // The child elements, in document order.
  Range Children() const;
  // How many elements named as this one follow one another from it on, itself included: for a
  // child of the tree's root, the run of its repeated siblings (a record's lines). Deeper down the
  // run may go on past the parent's end; it never counts more than the tree holds.
  uint32_t RunLength() const;
  // The value of the element's attribute of that name as written (references replaced), and
  // whether the element has it; the first of that name.
  std::pair<std::string_view, bool> Attribute(std::string_view name) const;
  // The same value, empty when the element has no such attribute.
  std::string_view AttributeText(std::string_view name) const { return Attribute(name).first; }
  // The attributes in document order: how many, and the name and value of one (0-based).
  size_t AttributeCount() const;
  std::pair<std::string_view, std::string_view> AttributeAt(size_t index) const;

 private:
  friend class DeferredElement;
  const ElementTree* tree_;
  uint32_t node_;
};

// A compact, read-only copy of one element and everything inside it: elements and their texts in
// document order, each a view of text held elsewhere (the response, or a loaded document) or of
// the tree's own store of decoded texts. Reading a record walks this array instead of calling
// into a DOM for every step. A tree is refilled for each record, keeping its memory.
class ElementTree {
 public:
  ElementTree() = default;
  // A copy of a loaded element (its element and text descendants; comments and processing
  // instructions are left out, as MSXML's text leaves them out). The loaded document must
  // outlive the tree. A node handle that is not an element raises 91.
  explicit ElementTree(const XmlNode& element);
  // The same into this tree, keeping its memory.
  void Assign(const XmlNode& element);
  ElementTree(const ElementTree&) = delete;
  ElementTree& operator=(const ElementTree&) = delete;

  FieldElement Root() const { return FieldElement(this, 0); }

  // ---- building, in document order ----
  void Clear();
  // Opens an element under the innermost open one.
  void OpenElement(std::string_view name) {
    // While open, an element's end links to the element open around it.
    const uint32_t index = Append(name.data(), name.size(), Kind::kElement);
    nodes_[index].end = innermost_;
    innermost_ = index;
    ++depth_;
  }
  // An attribute of the element just opened, before any of its content: the value stays where it
  // is. Attributes keep their bytes as the document loader gives them (no Windows-1252 reading).
  void AddAttribute(std::string_view name, std::string_view value) {
    Append(name.data(), name.size(), Kind::kAttribute);
    Append(value.data(), value.size(), Kind::kValue);
  }
  // The same for a value that had to be decoded: it is kept in the tree.
  void AddDecodedAttribute(std::string_view name, std::string_view value);
  // A piece of text that stays where it is, unless it holds C1 controls: those read as the
  // Windows-1252 characters QuickBooks means by them, and the text is kept in the tree.
  void AddText(std::string_view text) {
    if (std::memchr(text.data(), 0xC2, text.size()) != nullptr) {
      AddDecodedText(text);
    } else {
      Append(text.data(), text.size(), Kind::kText);
    }
  }
  // The same for text known to be ASCII: it stays where it is.
  void AddAsciiText(std::string_view text) { Append(text.data(), text.size(), Kind::kText); }
  // A piece of text that had to be decoded: it is kept in the tree.
  void AddDecodedText(std::string_view text);
  // Closes the innermost open element.
  void CloseElement() {
    Node& closed = nodes_[innermost_];
    innermost_ = closed.end;
    closed.end = size_;
    --depth_;
  }
  // How many elements are open, and the name of the innermost.
  size_t OpenDepth() const { return depth_; }
  std::string_view InnermostName() const { return View(innermost_); }
  // Points the decoded texts at their final place; call once the root is closed.
  void Finish();

 private:
  friend class FieldElement;
  friend class DeferredElement;

  // An attribute is two nodes right after its element: its name, then its value.
  enum class Kind : uint8_t { kElement, kText, kDecodedText, kAttribute, kValue, kDecodedValue };
  // Nodes are kept in document order, so an element's content is the nodes up to its end, and a
  // node's next sibling starts at its end.
  struct Node {
    const char* data;  // the name of an element, a text's characters
    uint32_t size;
    uint32_t end;  // one past the last node inside this one
    Kind kind;
  };

  uint32_t Append(const char* data, size_t size, Kind kind) {
    if (size_ == capacity_) Grow();
    if (size > UINT32_MAX) TooLong();
    const uint32_t index = size_++;
    nodes_[index] = Node{data, static_cast<uint32_t>(size), size_, kind};
    return index;
  }
  void Grow();
  [[noreturn]] static void TooLong();
  void CopyFrom(const XmlNode& element);
  // The first element at node or among its later siblings, or limit.
  uint32_t ElementFrom(uint32_t node, uint32_t limit) const {
    while (node < limit && nodes_[node].kind != Kind::kElement) node = nodes_[node].end;
    return node < limit ? node : limit;
  }
  std::string_view View(uint32_t node) const { return {nodes_[node].data, nodes_[node].size}; }
  // The first node of an element's content, past its attributes.
  uint32_t ContentStart(uint32_t element) const {
    uint32_t node = element + 1;
    const uint32_t limit = nodes_[element].end;
    while (node < limit && nodes_[node].kind == Kind::kAttribute) node += 2;
    return node;
  }
  std::string Text(uint32_t element) const;

  std::unique_ptr<Node[]> nodes_;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;
  uint32_t innermost_ = 0;  // the innermost open element
  uint32_t depth_ = 0;      // how many elements are open
  std::string decoded_;     // decoded texts, back to back; nodes hold offsets until Finish
};

inline FieldElement::iterator& FieldElement::iterator::operator++() {
  node_ = tree_->ElementFrom(tree_->nodes_[node_].end, limit_);
  return *this;
}

inline std::string_view FieldElement::nodeName() const { return tree_->View(node_); }

inline size_t FieldElement::AttributeCount() const {
  return (tree_->ContentStart(node_) - node_ - 1) / 2;
}

inline std::pair<std::string_view, std::string_view> FieldElement::AttributeAt(size_t index) const {
  const auto at = static_cast<uint32_t>(node_ + 1 + 2 * index);
  return {tree_->View(at), tree_->View(at + 1)};
}

inline FieldElement::Range FieldElement::Children() const {
  const uint32_t limit = tree_->nodes_[node_].end;
  return Range{iterator(tree_, tree_->ElementFrom(node_ + 1, limit), limit)};
}

inline std::string_view FieldElement::TextView(std::string& scratch) const {
  const ElementTree::Node& node = tree_->nodes_[node_];
  if (node.end == node_ + 1) return {};
  // The usual field: one piece of text and nothing else.
  if (node.end == node_ + 2 && tree_->nodes_[node_ + 1].kind == ElementTree::Kind::kText) {
    return detail::TrimBlanks(tree_->View(node_ + 1));
  }
  scratch = text();
  return scratch;
}

}  // namespace brennock
