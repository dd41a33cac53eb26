#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace brennock {

// Which binding rows of a record the client changed since QuickBooks last sent it: bit i for row
// i, of any width. The first 64 rows live in the record; a change to a later row (transactions
// have more fields than that) allocates the rest once.
class ChangeSet {
 public:
  ChangeSet() noexcept = default;
  ChangeSet(const ChangeSet& other) : low_(other.low_) {
    if (other.high_) high_ = std::make_unique<High>(*other.high_);
  }
  ChangeSet& operator=(const ChangeSet& other) {
    if (this != &other) *this = ChangeSet(other);
    return *this;
  }
  ChangeSet(ChangeSet&&) noexcept = default;
  ChangeSet& operator=(ChangeSet&&) noexcept = default;

  void Mark(size_t row) {
    if (row < 64) {
      low_ |= uint64_t{1} << row;
      return;
    }
    if (!high_) high_ = std::make_unique<High>();
    const size_t word = (row - 64) / 64;
    if (word >= kHighWords) return MarkBeyond();
    high_->words[word] |= uint64_t{1} << ((row - 64) % 64);
  }
  bool Has(size_t row) const noexcept {
    if (row < 64) return ((low_ >> row) & 1) != 0;
    if (!high_) return false;
    const size_t word = (row - 64) / 64;
    if (word >= kHighWords) return high_->beyond;
    return ((high_->words[word] >> ((row - 64) % 64)) & 1) != 0;
  }
  bool Empty() const noexcept { return low_ == 0 && !high_; }
  void Clear() noexcept {
    low_ = 0;
    high_.reset();
  }

 private:
  // Rows 64 to 511; a kind with still more rows marks every row beyond as changed together
  // (written again, never lost).
  static constexpr size_t kHighWords = 7;
  struct High {
    uint64_t words[kHighWords] = {};
    bool beyond = false;
  };
  void MarkBeyond() { high_->beyond = true; }

  uint64_t low_ = 0;
  std::unique_ptr<High> high_;
};

}  // namespace brennock
