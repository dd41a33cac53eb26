#include "brennock/internal/qbxml/piece_buffer.h"

#include <algorithm>

namespace brennock {
namespace {

// Blocks double from 1 KiB to 64 KiB; the first four (15 KiB) survive Clear.
constexpr std::size_t kFirstBlock = 1024;
constexpr std::size_t kLargestBlock = 64 * 1024;
constexpr std::size_t kKeptBlocks = 4;

std::size_t CapacityOfBlock(std::size_t index) {
  return index >= 6 ? kLargestBlock : kFirstBlock << index;
}

}  // namespace

PieceBuffer::PieceBuffer(const PieceBuffer& other) { Append(other.Join()); }

PieceBuffer& PieceBuffer::operator=(const PieceBuffer& other) {
  if (this != &other) {
    std::string text = other.Join();
    Clear();
    Append(text);
  }
  return *this;
}

PieceBuffer& PieceBuffer::operator=(PieceBuffer&& other) noexcept {
  if (this != &other) {
    blocks_ = std::move(other.blocks_);
    current_ = std::exchange(other.current_, 0);
    cursor_ = std::exchange(other.cursor_, nullptr);
    room_ = std::exchange(other.room_, 0);
    size_ = std::exchange(other.size_, 0);
    other.blocks_.clear();
  }
  return *this;
}

void PieceBuffer::StartBlock(std::size_t index) {
  if (index == blocks_.size()) {
    std::size_t capacity = CapacityOfBlock(index);
    blocks_.push_back({std::make_unique_for_overwrite<char[]>(capacity), capacity});
  }
  current_ = index;
  cursor_ = blocks_[index].data.get();
  room_ = blocks_[index].capacity;
}

void PieceBuffer::AppendSpilling(std::string_view text) {
  while (!text.empty()) {
    if (room_ == 0) StartBlock(blocks_.empty() || cursor_ == nullptr ? 0 : current_ + 1);
    std::size_t part = std::min(room_, text.size());
    std::memcpy(cursor_, text.data(), part);
    cursor_ += part;
    room_ -= part;
    size_ += part;
    text.remove_prefix(part);
  }
}

void PieceBuffer::Clear() noexcept {
  if (blocks_.size() > kKeptBlocks) blocks_.resize(kKeptBlocks);
  current_ = 0;
  cursor_ = nullptr;
  room_ = 0;
  size_ = 0;
}

std::string PieceBuffer::Join() const {
  std::string text;
  text.reserve(size_);
  std::size_t left = size_;
  // Every block before the one being filled is full.
  for (const Block& block : blocks_) {
    if (left == 0) break;
    std::size_t part = std::min(left, block.capacity);
    text.append(block.data.get(), part);
    left -= part;
  }
  return text;
}

}  // namespace brennock
