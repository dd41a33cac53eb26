#include "brennock/model/qc_errors.h"

#include "brennock/model/automation_error.h"

namespace brennock {
namespace {

constexpr const char* kSource = "qcErrors";

[[noreturn]] void RaiseBadKey() {
  throw AutomationError(5, kSource, "Invalid procedure call or argument");
}

[[noreturn]] void RaiseBadPosition() {
  throw AutomationError(9, kSource, "Subscript out of range");
}

// Collection keys ignore letter case; only ASCII letters are folded.
std::string FoldKey(const std::string& key) {
  std::string folded = key;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

}  // namespace

qcErrors::qcErrors() = default;
qcErrors::~qcErrors() = default;

void qcErrors::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  keys_.reset();
}

std::shared_ptr<qcError> qcErrors::Add(int32_t Code, const std::string& sField,
                                       const std::string& sMsg) {
  auto entry = std::make_shared<qcError>(Code, sField, sMsg);
  entries_.push_back(entry);
  if (keys_) {
    keys_->keyAt.emplace_back();
    keys_->keyed.push_back(false);
  }
  return entry;
}

int32_t qcErrors::AddObject(std::shared_ptr<qcError> oNew) {
  if (!oNew) {
    throw AutomationError(91, kSource, "Object variable or With block variable not set");
  }
  if (!keys_) {
    keys_ = std::make_unique<KeyIndex>();
    keys_->keyAt.resize(entries_.size());
    keys_->keyed.resize(entries_.size(), false);
  }
  std::string folded = FoldKey(oNew->CollectionKey());
  if (keys_->used.contains(folded)) {
    throw AutomationError(457, kSource,
                          "This key is already associated with an element of this collection");
  }
  keys_->used.insert(folded);
  keys_->keyAt.push_back(std::move(folded));
  keys_->keyed.push_back(true);
  entries_.push_back(std::move(oNew));
  return Count();
}

size_t qcErrors::PositionOf(int32_t index) const {
  if (index < 1 || index > Count()) RaiseBadPosition();
  return static_cast<size_t>(index - 1);
}

size_t qcErrors::PositionOf(const std::string& key) const {
  if (keys_) {
    const std::string folded = FoldKey(key);
    if (keys_->used.contains(folded)) {
      for (size_t i = 0; i < entries_.size(); ++i) {
        if (keys_->keyed[i] && keys_->keyAt[i] == folded) return i;
      }
    }
  }
  RaiseBadKey();
}

std::shared_ptr<qcError> qcErrors::Item(int32_t index) const { return entries_[PositionOf(index)]; }

std::shared_ptr<qcError> qcErrors::Item(const std::string& key) const {
  return entries_[PositionOf(key)];
}

void qcErrors::Remove(int32_t index) { RemoveAt(PositionOf(index)); }

void qcErrors::Remove(const std::string& key) { RemoveAt(PositionOf(key)); }

void qcErrors::RemoveAt(size_t position) {
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  if (!keys_) return;
  if (keys_->keyed[position]) keys_->used.erase(keys_->keyAt[position]);
  keys_->keyAt.erase(keys_->keyAt.begin() + static_cast<std::ptrdiff_t>(position));
  keys_->keyed.erase(keys_->keyed.begin() + static_cast<std::ptrdiff_t>(position));
}

}  // namespace brennock
