#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brennock {

// memcpy for the short texts a request is made of (tags, values): sizes up to 16 are copied with
// two overlapping fixed-size moves instead of a library call.
inline void CopyText(char* out, const char* text, std::size_t length) {
  if (length > 16) {
    std::memcpy(out, text, length);
  } else if (length >= 8) {
    uint64_t head;
    uint64_t tail;
    std::memcpy(&head, text, 8);
    std::memcpy(&tail, text + length - 8, 8);
    std::memcpy(out, &head, 8);
    std::memcpy(out + length - 8, &tail, 8);
  } else if (length >= 4) {
    uint32_t head;
    uint32_t tail;
    std::memcpy(&head, text, 4);
    std::memcpy(&tail, text + length - 4, 4);
    std::memcpy(out, &head, 4);
    std::memcpy(out + length - 4, &tail, 4);
  } else {
    for (std::size_t i = 0; i < length; ++i) out[i] = text[i];
  }
}

// The pieces of a document being written, stored back to back in a chain of blocks. Appending
// never moves what was written before (no regrowth copies of a large document), and Join builds
// the whole text with one allocation of the exact size. Clear keeps the first few small blocks,
// so a builder reused for ordinary requests allocates nothing, while one that once wrote a huge
// commit gives that memory back.
class PieceBuffer {
 public:
  PieceBuffer() = default;
  PieceBuffer(const PieceBuffer& other);
  PieceBuffer& operator=(const PieceBuffer& other);
  // A moved-from buffer is empty and usable.
  PieceBuffer(PieceBuffer&& other) noexcept { *this = std::move(other); }
  PieceBuffer& operator=(PieceBuffer&& other) noexcept;

  void Append(std::string_view text) {
    if (text.size() <= room_) {
      std::memcpy(cursor_, text.data(), text.size());
      cursor_ += text.size();
      room_ -= text.size();
      size_ += text.size();
    } else {
      AppendSpilling(text);
    }
  }
  void Append(char c) { Append(std::string_view(&c, 1)); }
  // `length` contiguous bytes for the caller to fill, or nullptr when the current block has no
  // room for them (the caller then appends in parts).
  char* Claim(std::size_t length) {
    if (length > room_) return nullptr;
    char* start = cursor_;
    cursor_ += length;
    room_ -= length;
    size_ += length;
    return start;
  }
  PieceBuffer& operator+=(std::string_view text) {
    Append(text);
    return *this;
  }
  PieceBuffer& operator+=(char c) {
    Append(c);
    return *this;
  }

  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  void Clear() noexcept;
  // The whole text, allocated once.
  std::string Join() const;

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t capacity;
  };

  void AppendSpilling(std::string_view text);
  void StartBlock(std::size_t index);

  std::vector<Block> blocks_;
  std::size_t current_ = 0;  // block being filled (meaningful when blocks_ is not empty)
  char* cursor_ = nullptr;
  std::size_t room_ = 0;
  std::size_t size_ = 0;
};

}  // namespace brennock
