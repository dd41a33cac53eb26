#pragma once

#include <array>
#include <cstdint>
#include <pugixml.hpp>
#include <string>

#include "brennock/xml/xml_document.h"

namespace brennock::detail {

// Raises the automation error of a member call on Nothing (91).
[[noreturn]] void ThrowObjectNotSet();
// Raises the automation error of an operation a node kind does not support (445).
[[noreturn]] void ThrowNotSupported();

// One loaded document, shared by every node handle taken from it: the pugixml tree, the buffer it
// was parsed from in place, the load error, and the positions recently read by child lists.
class XmlTree {
 public:
  XmlTree() = default;
  XmlTree(const XmlTree&) = delete;
  XmlTree& operator=(const XmlTree&) = delete;

  // Replaces the content; on failure the tree is left empty and error says why.
  bool Load(std::string text);
  // Empties the tree and records why; returns false.
  bool Fail(std::string reason, int64_t filepos);

  pugi::xml_node Document() const { return document_; }
  const XmlParseError& Error() const { return error_; }

  // Child navigation that hides the holder of removed nodes (the document's last child, once a
  // removal has happened).
  pugi::xml_node FirstChild(pugi::xml_node parent) const;
  pugi::xml_node LastChild(pugi::xml_node parent) const;
  pugi::xml_node NextSibling(pugi::xml_node node) const;

  int32_t ChildCount(pugi::xml_node parent);
  pugi::xml_node ChildAt(pugi::xml_node parent, int32_t index);

  // Takes every child out of parent without freeing it, so handles to them stay valid.
  void RemoveChildren(pugi::xml_node parent);

 private:
  // Where a child list was last read: walking from here makes sequential access O(1).
  struct ChildCursor {
    pugi::xml_node_struct* parent = nullptr;
    pugi::xml_node_struct* node = nullptr;
    int32_t index = 0;
    int32_t length = -1;  // -1 until counted
    uint64_t last_use = 0;
  };

  ChildCursor& CursorFor(pugi::xml_node parent);
  void ForgetPositions() { cursors_ = {}; }

  pugi::xml_document document_;
  std::string buffer_;
  XmlParseError error_;
  pugi::xml_node removed_;
  std::array<ChildCursor, 8> cursors_{};
  uint64_t clock_ = 0;
};

}  // namespace brennock::detail
