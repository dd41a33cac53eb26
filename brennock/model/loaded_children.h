#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/model/object_enums.h"

namespace brennock {

class qcListObjectRefs;

// The parent links of one loaded query response, kept as the children's full names until a
// parent's Children is first asked for. Linking a long hierarchical list then costs a name copy
// per child rather than a reference object each, and most parents' Children are never read.
//
// Filled while linking (Add, in member order), then Finish groups the names by parent; after that
// the object is only read, shared by every parent of the load.
class LoadedChildren {
 public:
  // Files childFullName as the next child of the member at parent.
  void Add(uint32_t parent, std::string_view childFullName);
  // Groups the names by parent, keeping each parent's children in the order they were added.
  // memberCount bounds the parent positions.
  void Finish(size_t memberCount);

  bool HasChildren(uint32_t parent) const noexcept {
    return parent + 1 < start_.size() && start_[parent] != start_[parent + 1];
  }
  // Appends the children of parent to refs, as references into list.
  void AppendTo(uint32_t parent, qcListObjectRefs& refs, qoEnumListType list) const;

 private:
  struct Name {
    uint32_t offset;  // into text_
    uint32_t length;
  };

  std::string text_;
  std::vector<Name> names_;        // grouped by parent once finished
  std::vector<uint32_t> parents_;  // parent of each name while filling
  std::vector<uint32_t> start_;    // names_ of parent p: [start_[p], start_[p + 1])
};

}  // namespace brennock
