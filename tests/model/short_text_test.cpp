// Short field texts: held inline up to 31 bytes, on the heap beyond, and reassignable from any
// length to any other, also from a piece of their own text.
#include "brennock/internal/util/short_text.h"

#include <gtest/gtest.h>

#include <string>

namespace brennock {
namespace {

TEST(ShortTextTest, KeepsTextsOfEveryLengthAcrossReassignment) {
  ShortText text;
  EXPECT_TRUE(text.empty());
  for (size_t length : {0, 1, 19, 30, 31, 32, 200, 31, 5, 64, 0}) {
    std::string value;
    for (size_t i = 0; i < length; ++i) value += static_cast<char>('a' + i % 26);
    text.assign(value);
    EXPECT_EQ(text.view(), value) << length;
    EXPECT_EQ(text.str().size(), length);
  }
  std::string withNul("a\0b", 3);
  text = withNul;
  EXPECT_EQ(text.view(), withNul);
}

TEST(ShortTextTest, TakesAPieceOfItsOwnText) {
  ShortText text;
  const std::string longText(40, 'x');
  text.assign(longText + "Tail:Name");
  text.assign(text.view().substr(40));  // from the heap back inline
  EXPECT_EQ(text.view(), "Tail:Name");
  text.assign(text.view().substr(5));  // inline, overlapping
  EXPECT_EQ(text.view(), "Name");
}

}  // namespace
}  // namespace brennock
