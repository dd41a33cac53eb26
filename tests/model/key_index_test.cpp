// The collection key index: keys found in any ASCII letter case whatever their length, other
// bytes compared as they are, positions kept through removals.
#include "brennock/internal/model/key_index.h"

#include <gtest/gtest.h>

#include <string>

namespace brennock {
namespace {

// A key of the given length whose bytes sit at and beside the edges of the capital letters.
std::string EdgeKey(size_t length) {
  static const std::string kBytes = "A@Z[a`z{\xC3\x89m0:";
  std::string key;
  for (size_t i = 0; i < length; ++i) key += kBytes[(i * 7 + length) % kBytes.size()];
  return key;
}

std::string SwappedCase(std::string key) {
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return key;
}

TEST(KeyIndexTest, FindsKeysOfEveryLengthInEitherCase) {
  KeyIndex index;
  for (size_t length = 1; length <= 40; ++length) {
    ASSERT_TRUE(index.Insert(EdgeKey(length), length)) << length;
  }
  for (size_t length = 1; length <= 40; ++length) {
    EXPECT_EQ(index.Find(SwappedCase(EdgeKey(length))), length) << length;
    EXPECT_FALSE(index.Insert(SwappedCase(EdgeKey(length)), 99)) << length;
  }
}

TEST(KeyIndexTest, FoldsOnlyAsciiLetters) {
  KeyIndex index;
  ASSERT_TRUE(index.Insert("Class@[1]", 0));
  EXPECT_EQ(index.Find("class@[1]"), 0u);
  // '@' / '`' and '[' / '{' differ by the letter-case bit but are not letters.
  EXPECT_EQ(index.Find("class`{1]"), KeyIndex::npos);
  ASSERT_TRUE(index.Insert("\xC3\x89t\xC3\xA9", 1));  // "Été"
  EXPECT_EQ(index.Find("\xC3\xA9T\xC3\xA9"), KeyIndex::npos);
  EXPECT_EQ(index.Find("\xC3\x89T\xC3\xA9"), 1u);
}

TEST(KeyIndexTest, RemovalMovesLaterPositionsDown) {
  KeyIndex index;
  index.Reserve(3);
  for (size_t i = 0; i < 3; ++i) ASSERT_TRUE(index.Insert("Key " + std::to_string(i), i));
  index.ErasePosition(1);
  EXPECT_EQ(index.Find("KEY 0"), 0u);
  EXPECT_EQ(index.Find("key 1"), KeyIndex::npos);
  EXPECT_EQ(index.Find("key 2"), 1u);
}

}  // namespace
}  // namespace brennock
