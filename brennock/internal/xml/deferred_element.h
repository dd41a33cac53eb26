#pragma once

#include <cstddef>
#include <cstdint>

namespace brennock {

class ElementTree;
class FieldElement;

// A response element kept to be read later, when what reads it is first asked for: most records
// of a large load never have their addresses looked at, and a kept element costs one small block
// instead of an object with a text each.
//
// Only an aggregate of plain fields is kept: child elements holding text alone, and texts between
// them, without attributes anywhere. Rebuilding gives the reader the element as it was read: the
// same names (prefixes too), each child's text and the texts between children, in order.
class DeferredElement {
 public:
  DeferredElement() noexcept = default;
  ~DeferredElement() { Clear(); }
  DeferredElement(const DeferredElement&) = delete;
  DeferredElement& operator=(const DeferredElement&) = delete;

  // Keeps a copy of element, replacing what was kept; false, keeping nothing, for an element
  // that is not an aggregate of plain fields.
  bool Keep(const FieldElement& element);
  bool Empty() const noexcept { return block_ == nullptr; }
  void Clear() noexcept;
  // The kept element into tree (cleared first); its Root() is the element. The tree holds views
  // of this block: it is read before the block is cleared.
  void Rebuild(ElementTree& tree) const;

 private:
  // The block: its size (uint32), then the element's name and each piece of its content as
  // [kind byte][uint32 size][bytes], a child's name followed by its text.
  std::byte* block_ = nullptr;
};

}  // namespace brennock
