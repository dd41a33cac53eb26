#include "brennock/internal/model/record_kind.h"

#include <atomic>

namespace brennock {
namespace {

// Written once at start-up by the registry's registration, read by every thread afterwards.
std::atomic<const RecordKind*> gKinds{nullptr};
std::atomic<size_t> gKindCount{0};

}  // namespace

void RegisterRecordKinds(std::span<const RecordKind> kinds) noexcept {
  gKindCount.store(kinds.size(), std::memory_order_relaxed);
  gKinds.store(kinds.data(), std::memory_order_release);
}

const RecordKind* FindRecordKindByObject(qoEnumListObjectType object) {
  const RecordKind* kinds = gKinds.load(std::memory_order_acquire);
  const size_t count = gKindCount.load(std::memory_order_relaxed);
  for (size_t i = 0; kinds != nullptr && i < count; ++i)
    if (kinds[i].objectType == object) return &kinds[i];
  return nullptr;
}

}  // namespace brennock
