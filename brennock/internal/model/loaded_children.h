#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "brennock/enums/object_enums.h"

namespace brennock {

class qcListObjectRefs;

// The parent links of one loaded query response, kept as the children's full names until a
// parent's Children is first asked for. Linking a long hierarchical list then costs a name copy
// per child rather than a reference object each, and most parents' Children are never read.
//
// Filled while the response is read (Add, in member order, while each record is at hand), then
// Finish finds the parents and groups the names by parent; after that the object is only read,
// shared by every parent of the load.
class LoadedChildren {
 public:
  // The member position filed under a full name, or npos.
  using ParentLookup = std::function<size_t(std::string_view parentFullName)>;
  static constexpr size_t npos = static_cast<size_t>(-1);

  // Makes room for this many children.
  void Reserve(size_t children);
  // Files childFullName as the next child of the member named parentFullName. findNow gives the
  // parent's position if it is already filed (npos if not): the parent was mostly read just
  // before its children, so its key is still in the cache, where Finish would look it up cold.
  // Siblings that follow one another share one lookup.
  template <class FindNow>
  void Add(std::string_view parentFullName, std::string_view childFullName, FindNow&& findNow) {
    if (parents_.empty() || LastParent() != parentFullName) {
      parents_.push_back(Append(parentText_, parentFullName));
      const size_t found = findNow(parentFullName);
      parentAt_.push_back(found < kNotFound ? static_cast<uint32_t>(found) : kNotFound);
    } else {
      parents_.push_back(parents_.back());
      parentAt_.push_back(parentAt_.back());
    }
    names_.push_back(Append(text_, childFullName));
  }
  // Finds every parent among memberCount members and groups the names by parent, keeping each
  // parent's children in the order they were added; children whose parent is not a member are
  // dropped.
  void Finish(size_t memberCount, const ParentLookup& findParent);

  bool HasChildren(size_t parent) const noexcept {
    return parent + 1 < start_.size() && start_[parent] != start_[parent + 1];
  }
  // Appends the children of parent to refs, as references into list.
  void AppendTo(size_t parent, qcListObjectRefs& refs, qoEnumListType list) const;

 private:
  struct Name {
    uint32_t offset;  // into text_ (or parentText_ for parents while filling)
    uint32_t length;
  };
  static constexpr uint32_t kNotFound = UINT32_MAX;
  static Name Append(std::string& text, std::string_view name);
  std::string_view LastParent() const noexcept {
    return std::string_view(parentText_).substr(parents_.back().offset, parents_.back().length);
  }

  std::string text_;                // the children's names
  std::vector<Name> names_;         // grouped by parent once finished
  std::string parentText_;          // while filling: the parents' names
  std::vector<Name> parents_;       // while filling: the parent of each name
  std::vector<uint32_t> parentAt_;  // while filling: its position when found then, or kNotFound
  std::vector<uint32_t> start_;     // names_ of parent p: [start_[p], start_[p + 1])
};

}  // namespace brennock
