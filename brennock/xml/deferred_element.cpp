#include "brennock/internal/xml/deferred_element.h"

#include <cstring>
#include <limits>
#include <string_view>

#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

// What a piece of the block is.
enum class Piece : uint8_t { kName, kText, kChildName, kChildText };
constexpr size_t kPieceHead = 1 + sizeof(uint32_t);

std::byte* Allocate(size_t size) {
  if constexpr (kSlabUsesHeap) {
    return static_cast<std::byte*>(::operator new(size));
  } else {
    return static_cast<std::byte*>(detail::SlabAllocate(size));
  }
}

void Free(std::byte* block) noexcept {
  if constexpr (kSlabUsesHeap) {
    ::operator delete(block);
  } else {
    detail::SlabFree(block);
  }
}

std::byte* PutHead(std::byte* at, Piece piece, size_t size) {
  *at = static_cast<std::byte>(piece);
  const auto length = static_cast<uint32_t>(size);
  std::memcpy(at + 1, &length, sizeof length);
  return at + kPieceHead;
}

std::byte* Put(std::byte* at, Piece piece, std::string_view bytes) {
  at = PutHead(at, piece, bytes.size());
  if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
  return at + bytes.size();
}

}  // namespace

void DeferredElement::Clear() noexcept {
  if (block_ != nullptr) Free(block_);
  block_ = nullptr;
}

bool DeferredElement::Keep(const FieldElement& element) {
  Clear();
  using Kind = ElementTree::Kind;
  const ElementTree& tree = *element.tree_;
  const uint32_t root = element.node_;
  const uint32_t end = tree.nodes_[root].end;
  // Sized (and checked) first, so the block is one allocation.
  size_t size = sizeof(uint32_t) + kPieceHead + tree.nodes_[root].size;
  for (uint32_t at = root + 1; at < end;) {
    const ElementTree::Node& node = tree.nodes_[at];
    if (node.kind == Kind::kText) {
      size += kPieceHead + node.size;
      ++at;
      continue;
    }
    if (node.kind != Kind::kElement) return false;  // an attribute
    size += 2 * kPieceHead + node.size;
    for (uint32_t inside = at + 1; inside < node.end; ++inside) {
      if (tree.nodes_[inside].kind != Kind::kText) return false;
      size += tree.nodes_[inside].size;
    }
    at = node.end;
  }
  if (size > std::numeric_limits<uint32_t>::max()) return false;

  std::byte* block = Allocate(size);
  const auto total = static_cast<uint32_t>(size);
  std::memcpy(block, &total, sizeof total);
  std::byte* out = Put(block + sizeof total, Piece::kName, tree.View(root));
  for (uint32_t at = root + 1; at < end;) {
    const ElementTree::Node& node = tree.nodes_[at];
    if (node.kind == Kind::kText) {
      out = Put(out, Piece::kText, tree.View(at));
      ++at;
      continue;
    }
    out = Put(out, Piece::kChildName, tree.View(at));
    // A child's texts (several only where the document had several pieces) as one.
    size_t textSize = 0;
    for (uint32_t inside = at + 1; inside < node.end; ++inside)
      textSize += tree.nodes_[inside].size;
    out = PutHead(out, Piece::kChildText, textSize);
    for (uint32_t inside = at + 1; inside < node.end; ++inside) {
      const std::string_view text = tree.View(inside);
      if (!text.empty()) std::memcpy(out, text.data(), text.size());
      out += text.size();
    }
    at = node.end;
  }
  block_ = block;
  return true;
}

void DeferredElement::Rebuild(ElementTree& tree) const {
  tree.Clear();
  if (block_ == nullptr) return;
  uint32_t total;
  std::memcpy(&total, block_, sizeof total);
  const std::byte* at = block_ + sizeof total;
  const std::byte* const end = block_ + total;
  while (at < end) {
    const auto piece = static_cast<Piece>(*at);
    uint32_t size;
    std::memcpy(&size, at + 1, sizeof size);
    const std::string_view bytes(reinterpret_cast<const char*>(at + kPieceHead), size);
    at += kPieceHead + size;
    switch (piece) {
      case Piece::kName:
      case Piece::kChildName:
        tree.OpenElement(bytes);
        break;
      case Piece::kText:
        tree.AddAsciiText(bytes);  // already read: kept as it stands
        break;
      case Piece::kChildText:
        if (!bytes.empty()) tree.AddAsciiText(bytes);
        tree.CloseElement();
        break;
    }
  }
  tree.CloseElement();
  tree.Finish();
}

}  // namespace brennock
