#include "brennock/model/loaded_children.h"

#include <limits>
#include <stdexcept>

#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

void LoadedChildren::Add(uint32_t parent, std::string_view childFullName) {
  if (text_.size() + childFullName.size() > std::numeric_limits<uint32_t>::max()) {
    throw std::length_error("loaded children names exceed 4 GiB");
  }
  names_.push_back(
      Name{static_cast<uint32_t>(text_.size()), static_cast<uint32_t>(childFullName.size())});
  parents_.push_back(parent);
  text_.append(childFullName);
}

void LoadedChildren::Finish(size_t memberCount) {
  // A counting sort on the parent position: stable, so siblings keep their order.
  start_.assign(memberCount + 1, 0);
  for (uint32_t parent : parents_) ++start_[parent + 1];
  for (size_t p = 0; p < memberCount; ++p) start_[p + 1] += start_[p];
  std::vector<Name> grouped(names_.size());
  std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < names_.size(); ++i) grouped[next[parents_[i]]++] = names_[i];
  names_ = std::move(grouped);
  parents_ = {};
}

void LoadedChildren::AppendTo(uint32_t parent, qcListObjectRefs& refs, qoEnumListType list) const {
  if (!HasChildren(parent)) return;
  for (uint32_t i = start_[parent]; i < start_[parent + 1]; ++i) {
    refs.AppendUnique(text_.substr(names_[i].offset, names_[i].length), list);
  }
}

}  // namespace brennock
