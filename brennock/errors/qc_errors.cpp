#include "brennock/errors/qc_errors.h"

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"

namespace brennock {
namespace {

constexpr const char* kSource = "qcErrors";

[[noreturn]] void RaiseBadKey() { RaiseRuntime(kInvalidArgumentNumber, kSource); }

[[noreturn]] void RaiseBadPosition() { RaiseRuntime(kSubscriptOutOfRangeNumber, kSource); }

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
  return entry;
}

int32_t qcErrors::AddObject(std::shared_ptr<qcError> oNew) {
  if (!oNew) {
    RaiseRuntime(kObjectNotSetNumber, kSource);
  }
  if (!keys_) keys_ = std::make_unique<KeyIndex>();
  const auto [at, added] = keys_->try_emplace(FoldKey(oNew->CollectionKey()), entries_.size());
  if (!added) {
    RaiseRuntime(kDuplicateKeyNumber, kSource);
  }
  try {
    entries_.push_back(std::move(oNew));
  } catch (...) {
    keys_->erase(at);
    throw;
  }
  return Count();
}

size_t qcErrors::PositionOf(int32_t index) const {
  if (index < 1 || index > Count()) RaiseBadPosition();
  return static_cast<size_t>(index - 1);
}

size_t qcErrors::PositionOf(const std::string& key) const {
  if (keys_) {
    const auto found = keys_->find(FoldKey(key));
    if (found != keys_->end()) return found->second;
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
  // Removal is rare: one pass drops the entry's key and moves later entries up.
  for (auto it = keys_->begin(); it != keys_->end();) {
    if (it->second == position) {
      it = keys_->erase(it);
      continue;
    }
    if (it->second > position) --it->second;
    ++it;
  }
}

}  // namespace brennock
