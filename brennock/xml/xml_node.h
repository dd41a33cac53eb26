#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

namespace pugi {
struct xml_node_struct;
}

namespace brennock {

namespace detail {
class XmlTree;
}

class XmlAttributes;
class XmlNodeList;

// The node kinds of the MSXML DOM, with its numbering.
enum DOMNodeType {
  NODE_INVALID = 0,
  NODE_ELEMENT = 1,
  NODE_ATTRIBUTE = 2,
  NODE_TEXT = 3,
  NODE_CDATA_SECTION = 4,
  NODE_PROCESSING_INSTRUCTION = 7,
  NODE_COMMENT = 8,
  NODE_DOCUMENT = 9,
  NODE_DOCUMENT_TYPE = 10,
};

// A node of a loaded XML document, seen the way MSXML shows qbXML responses: the XML declaration,
// DOCTYPE, processing instructions, comments, CDATA sections and text with real content are nodes;
// whitespace-only text is not. A node is a small handle that shares ownership of its document, so
// it stays valid as long as it is held, also after its document object was reloaded.
//
// A default-constructed node is "Nothing": every member then raises AutomationError 91 ("Object
// variable or With block variable not set", source "Brennock"), as an automation call on Nothing
// does. Positional access past the end of a list gives Nothing rather than raising, as MSXML's
// item() does, so a walk into a missing element raises at its next step.
//
// Records that take nodes late-bound by the member names "ChildNodes", "length", "Item", "Text" and
// "baseName" use the typed members childNodes(), XmlNodeList::length(), XmlNodeList::item(), text()
// and baseName(); C++ needs no name lookup for them.
//
// Nodes of one document belong to one thread: reading positions updates a cache in the document.
class XmlNode {
 public:
  XmlNode() = default;

  explicit operator bool() const noexcept { return node_ != nullptr; }

  DOMNodeType nodeType() const;
  // "#document", "#text", "#cdata-section", "#comment"; the tag, target or DOCTYPE name otherwise.
  std::string nodeName() const;
  // The name without its namespace prefix ("Envelope" for "soap:Envelope"); empty for text nodes.
  std::string baseName() const;
  // The value of text, CDATA, comment and processing-instruction nodes; empty for the others.
  std::string nodeValue() const;

  // Elements and the document: text and CDATA of all descendants in document order; other nodes:
  // their value (the pseudo-attributes for the XML declaration). Leading and trailing whitespace
  // is trimmed, as MSXML does when white space is not preserved; nodeValue() keeps it.
  std::string text() const;
  // The untyped value of the node: the same as text().
  std::string nodeTypedValue() const { return text(); }
  // Replaces an element's content by one text node (none for ""), or the value of a text, CDATA,
  // comment or processing-instruction node. Nodes taken out of the element stay valid while held.
  void setText(const std::string& value);

  // The node's own markup as MSXML writes it: attributes in document order in double quotes,
  // "&amp;", "&lt;", "&gt;" in text, "&quot;" in attribute values, "<Tag/>" for an element without
  // children, and no encoding in the XML declaration. A document writes each child and CRLF.
  std::string xml() const;

  XmlNodeList childNodes() const;
  bool hasChildNodes() const;
  // Elements and the XML declaration have attributes; other nodes give an empty list.
  XmlAttributes attributes() const;

 protected:
  XmlNode(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node_struct* node) noexcept
      : tree_(std::move(tree)), node_(node) {}

  std::shared_ptr<detail::XmlTree> tree_;
  pugi::xml_node_struct* node_ = nullptr;

  friend class XmlNodeList;
  friend class XmlDocument;
  friend bool operator==(const XmlNode& a, const XmlNode& b) noexcept { return a.node_ == b.node_; }
};

// The children of a node, by 0-based position. The list reads the live tree: walking it in order
// (forwards or backwards), even through a fresh list each step, costs O(1) per item.
class XmlNodeList {
 public:
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = XmlNode;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = XmlNode;

    iterator() = default;
    XmlNode operator*() const { return XmlNode(*tree_, node_); }
    iterator& operator++();
    iterator operator++(int) {
      iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const iterator& a, const iterator& b) noexcept {
      return a.node_ == b.node_;
    }

   private:
    friend class XmlNodeList;
    iterator(const std::shared_ptr<detail::XmlTree>* tree, pugi::xml_node_struct* node) noexcept
        : tree_(tree), node_(node) {}
    const std::shared_ptr<detail::XmlTree>* tree_ = nullptr;
    pugi::xml_node_struct* node_ = nullptr;
  };

  int32_t length() const;
  // The child at a 0-based position; Nothing when the position is outside the list.
  XmlNode item(int32_t index) const;

  iterator begin() const;
  iterator end() const { return iterator(&tree_, nullptr); }

 private:
  friend class XmlNode;
  XmlNodeList(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node_struct* parent) noexcept
      : tree_(std::move(tree)), parent_(parent) {}

  std::shared_ptr<detail::XmlTree> tree_;
  pugi::xml_node_struct* parent_;
};

}  // namespace brennock
