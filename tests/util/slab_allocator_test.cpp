#include "brennock/internal/util/slab_allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace brennock {
namespace {

// A record-sized object that notices when its bytes were overwritten by a neighbour.
struct Filled {
  explicit Filled(uint32_t seed) : seed(seed) { bytes.fill(static_cast<uint8_t>(seed)); }
  bool Intact() const {
    return std::all_of(bytes.begin(), bytes.end(),
                       [&](uint8_t b) { return b == static_cast<uint8_t>(seed); });
  }
  uint32_t seed;
  std::array<uint8_t, 1000> bytes;
};

std::shared_ptr<Filled> Make(uint32_t seed) {
  return std::allocate_shared<Filled>(SlabAllocator<Filled>(), seed);
}

TEST(SlabAllocatorTest, ObjectsAcrossManyBlocksStayIntactWhateverOrderTheyGoIn) {
  std::vector<std::shared_ptr<Filled>> kept;
  for (uint32_t i = 0; i < 1000; ++i) kept.push_back(Make(i));  // about 16 blocks
  for (const auto& object : kept) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(object.get()) % alignof(std::max_align_t), 0u);
  }
  std::shuffle(kept.begin(), kept.end(), std::mt19937(7));
  // Free half, allocate again into fresh blocks, and check every survivor's bytes.
  kept.resize(kept.size() / 2);
  for (uint32_t i = 1000; i < 1500; ++i) kept.push_back(Make(i));
  for (const auto& object : kept) EXPECT_TRUE(object->Intact()) << object->seed;
  // Leak checking under the sanitizers sees any block left behind when these go.
}

TEST(SlabAllocatorTest, ObjectsOutliveTheThreadThatMadeThemAndFreeElsewhere) {
  std::vector<std::shared_ptr<Filled>> made;
  std::thread maker([&] {
    for (uint32_t i = 0; i < 100; ++i) made.push_back(Make(i));
  });
  maker.join();  // its partly cut block is handed back at thread exit
  std::thread freer([&] { made.erase(made.begin(), made.begin() + 50); });
  freer.join();
  for (const auto& object : made) EXPECT_TRUE(object->Intact());
  made.clear();
}

// More sizes at once than a thread cuts blocks for (small ones by size, the first larger ones
// besides): the rest get blocks of their own.
template <size_t N>
std::shared_ptr<void> MakeSized() {
  return std::allocate_shared<std::array<char, N>>(SlabAllocator<std::array<char, N>>());
}

TEST(SlabAllocatorTest, ManySizesAtOnceStillAllocateAndFree) {
  std::vector<std::shared_ptr<void>> objects;
  [&]<size_t... I>(std::index_sequence<I...>) {
    (objects.push_back(MakeSized<(I + 1) * 128>()), ...);
  }
  (std::make_index_sequence<48>());
  EXPECT_EQ(objects.size(), 48u);
  for (const auto& object : objects) EXPECT_NE(object, nullptr);
}

}  // namespace
}  // namespace brennock
