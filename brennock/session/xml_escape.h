#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace brennock {

namespace detail {
// Non-zero for the bytes that may need escaping: & > " ' < @ and every byte from 0x80.
extern const std::array<uint8_t, 256> kEscapeCandidate;
// Length of the start of `text` that holds no candidate byte (all of it when there is none).
// Eight bytes are checked at a time: most element values need no escaping at all.
inline std::size_t CleanPrefixLength(std::string_view text) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  auto holds = [](uint64_t word, unsigned char c) {
    uint64_t y = word ^ (kOnes * c);
    return (y - kOnes) & ~y & kHighs;
  };
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if ((word & kHighs) | holds(word, '&') | holds(word, '<') | holds(word, '>') |
        holds(word, '"') | holds(word, '\'') | holds(word, '@')) {
      break;
    }
  }
  while (at < text.size() && kEscapeCandidate[static_cast<unsigned char>(text[at])] == 0) ++at;
  return at;
}
// The replacement of the character starting at text[at] (a candidate byte): its entity, or the
// character's own bytes when it needs none. Returns the number of input bytes it covers.
std::size_t EscapeCharacterAt(std::string_view text, std::size_t at, char (&out)[8],
                              std::size_t& outLength);
}  // namespace detail

// Hands `text`, escaped for qbXML element text, to `sink` (called with string_views in order).
// & > " ' < @ become &amp; &gt; &quot; &apos; &lt; &#64;, and every character that Windows-1252
// codes 128 to 255 becomes &#code; (the euro sign is &#128;, e acute &#233;; the five codes
// Windows-1252 leaves undefined stand for U+0081, U+008D, U+008F, U+0090 and U+009D). Other
// characters are passed on as they are. The input is UTF-8; a byte that does not start a valid
// UTF-8 sequence is taken as a Windows-1252 character, so Latin-1 text given by mistake is still
// escaped and nothing is lost.
template <typename Sink>
void EscapeXmlTextTo(Sink&& sink, std::string_view text) {
  std::size_t copied = 0;
  std::size_t at = detail::CleanPrefixLength(text);
  while (at < text.size()) {
    if (detail::kEscapeCandidate[static_cast<unsigned char>(text[at])] == 0) {
      ++at;
      continue;
    }
    if (at > copied) sink(text.substr(copied, at - copied));
    char replacement[8];
    std::size_t length = 0;
    at += detail::EscapeCharacterAt(text, at, replacement, length);
    sink(std::string_view(replacement, length));
    copied = at;
  }
  if (text.size() > copied) sink(text.substr(copied));
}

// Appends the escaped text to `out`.
void AppendEscapedText(std::string& out, std::string_view text);

// The escaped text as a new string.
std::string EscapeXmlText(std::string_view text);

}  // namespace brennock
