#include "brennock/internal/model/loaded_children.h"

#include <limits>
#include <stdexcept>

#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

LoadedChildren::Name LoadedChildren::Append(std::string& text, std::string_view name) {
  if (text.size() + name.size() > std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("loaded children names exceed 4 GiB");
  }
  Name placed{static_cast<uint32_t>(text.size()), static_cast<uint32_t>(name.size())};
  text.append(name);
  return placed;
}

void LoadedChildren::Reserve(size_t children) {
  names_.reserve(children);
  parents_.reserve(children);
  parentAt_.reserve(children);
}

void LoadedChildren::Finish(size_t memberCount, const ParentLookup& findParent) {
  // The parent of each name not found while filling (filed after its children); siblings mostly
  // follow one another, so the previous child's parent is tried before the lookup (the same name
  // always finds the same member).
  std::vector<size_t> parentOf(names_.size());
  std::string_view lastName;
  size_t lastPosition = npos;
  for (size_t i = 0; i < names_.size(); ++i) {
    size_t position = parentAt_[i];
    if (parentAt_[i] == kNotFound) {
      std::string_view name =
          std::string_view(parentText_).substr(parents_[i].offset, parents_[i].length);
      if (name != lastName) {  // parent names are never empty
        lastName = name;
        lastPosition = findParent(name);
      }
      position = lastPosition;
    }
    parentOf[i] = position < memberCount ? position : npos;
  }

  // A counting sort on the parent position: stable, so siblings keep their order.
  start_.assign(memberCount + 1, 0);
  for (size_t parent : parentOf) {
    if (parent != npos) ++start_[parent + 1];
  }
  for (size_t p = 0; p < memberCount; ++p) start_[p + 1] += start_[p];
  std::vector<Name> grouped(start_[memberCount]);
  std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < names_.size(); ++i) {
    if (parentOf[i] != npos) grouped[next[parentOf[i]]++] = names_[i];
  }
  names_ = std::move(grouped);
  parents_ = {};
  parentAt_ = {};
  parentText_ = {};
}

void LoadedChildren::AppendTo(size_t parent, qcListObjectRefs& refs, qoEnumListType list) const {
  if (!HasChildren(parent)) return;
  for (uint32_t i = start_[parent]; i < start_[parent + 1]; ++i) {
    refs.AppendUnique(text_.substr(names_[i].offset, names_[i].length), list);
  }
}

}  // namespace brennock
