#pragma once

// Text helpers every layer shares: ASCII case folding, UTF-8 length and validity, the characters
// XML 1.0 allows, and XML escaping. Strings are UTF-8 throughout the library.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brennock {

// ---- ASCII case
// ---------------------------------------------------------------------------------- Keys, ProgIDs,
// element and type names compare without regard to ASCII letter case only; other characters compare
// as they are.

constexpr char AsciiLower(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowered(std::string_view text);

constexpr bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// Negative, zero or positive as a sorts before, with or after b once both are lower-cased.
int AsciiCompareIgnoreCase(std::string_view a, std::string_view b) noexcept;

// ---- UTF-8
// ---------------------------------------------------------------------------------------

// Decodes the well-formed UTF-8 sequence at text[at] into cp and returns its length; 0 when the
// bytes there are not one (overlong forms, surrogates and values above U+10FFFF included).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp) noexcept;

// Offset of the first byte that is not part of a well-formed UTF-8 sequence; npos when the whole
// text is valid UTF-8.
std::size_t FindInvalidUtf8(std::string_view text) noexcept;

inline bool IsValidUtf8(std::string_view text) noexcept {
  return FindInvalidUtf8(text) == std::string_view::npos;
}

// The number of characters (code points) in text: what every length limit counts. A byte that
// does not belong to a well-formed sequence counts as one character, as it is sent as one.
std::size_t Utf8Length(std::string_view text) noexcept;

// ---- XML characters
// ------------------------------------------------------------------------------

// True for the code points XML 1.0 allows in a document: tab, line feed, carriage return,
// U+0020..U+D7FF, U+E000..U+FFFD and U+10000..U+10FFFF.
constexpr bool IsXmlCharacter(char32_t cp) noexcept {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
         (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

// Offset of the first character of text that XML 1.0 does not allow, with its code point in cp;
// npos when there is none. Bytes outside well-formed UTF-8 are not reported: the escaper sends
// them as Windows-1252 characters.
std::size_t FindNonXmlCharacter(std::string_view text, char32_t& cp) noexcept;

// QuickBooks text is Windows-1252, and requests write its codes 128 to 159 as "&#128;" .. "&#159;",
// which XML reads as the C1 controls U+0080..U+009F. Text read back therefore takes each such
// control as the Windows-1252 character of its code (U+0080 is the euro sign); the five codes
// Windows-1252 leaves undefined stay as they are. Returns false, leaving out alone, when text holds
// none to replace.
bool ReplaceWindows1252Controls(std::string_view text, std::string& out);

// "U+0007": how messages name a code point.
std::string CodePointName(char32_t cp);

// ---- building text
// -------------------------------------------------------------------------------

// The parts joined into one string, sized once.
std::string Concat(std::initializer_list<std::string_view> parts);

// A value as a message quotes it: whole when it has at most maxCharacters characters, else its
// first maxCharacters characters followed by "...", so that no message grows with what a client
// sent.
inline constexpr std::size_t kQuotedPrefixCharacters = 100;
std::string QuotedPrefix(std::string_view text,
                         std::size_t maxCharacters = kQuotedPrefixCharacters);

// ---- XML escaping
// --------------------------------------------------------------------------------

namespace detail {
// Non-zero for the bytes that may need escaping: & > " ' < @ and every byte from 0x80.
extern const std::array<uint8_t, 256> kEscapeCandidate;
#if defined(__SSE2__)
// Bit i is set when byte i of `bytes` is a candidate.
inline unsigned CandidateMask(__m128i bytes) {
  __m128i hits = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('&'));
  hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('<')));
  hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('>')));
  hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')));
  hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\'')));
  hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('@')));
  // The sign bit of each byte marks 0x80 and above.
  return static_cast<unsigned>(_mm_movemask_epi8(hits) | _mm_movemask_epi8(bytes));
}

// Clean prefix of [p, p + n) for width <= n < 2 * width, from two possibly overlapping loads of
// `width` bytes at its start and end. A candidate in the overlap shows in the first load, so the
// lowest set bit always names the first candidate.
template <int width>
inline std::size_t CleanPrefixOfShort(const char* p, std::size_t n) {
  __m128i first;
  __m128i last;
  if constexpr (width == 8) {
    first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    last = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + n - 8));
  } else {
    int32_t head;
    int32_t tail;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    first = _mm_cvtsi32_si128(head);
    last = _mm_cvtsi32_si128(tail);
  }
  // Lanes 0.. hold the start, lanes 8.. the end; unused lanes are zero, which is no candidate.
  unsigned mask = CandidateMask(_mm_unpacklo_epi64(first, last));
  if (mask == 0) return n;
  unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
  return bit < 8 ? bit : n - width + (bit - 8);
}
#endif

// Length of the start of `text` that holds no candidate byte (all of it when there is none).
// Most element values need no escaping at all, so they are checked many bytes at a time.
inline std::size_t CleanPrefixLength(std::string_view text) {
  const char* p = text.data();
  std::size_t n = text.size();
#if defined(__SSE2__)
  if (n >= 16) {
    std::size_t at = 0;
    for (; at + 16 <= n; at += 16) {
      unsigned mask = CandidateMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)));
      if (mask != 0) return at + static_cast<unsigned>(__builtin_ctz(mask));
    }
    if (at == n) return n;
    // The last 16 bytes; those before `at` are known to be clean.
    unsigned mask = CandidateMask(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16)));
    return mask == 0 ? n : n - 16 + static_cast<unsigned>(__builtin_ctz(mask));
  }
  if (n >= 8) return CleanPrefixOfShort<8>(p, n);
  if (n >= 4) return CleanPrefixOfShort<4>(p, n);
#endif
  std::size_t at = 0;
  while (at < n && kEscapeCandidate[static_cast<unsigned char>(p[at])] == 0) ++at;
  return at;
}

// The replacement of the character starting at text[at] (a candidate byte): its entity, or the
// character's own bytes when it needs none. Returns the number of input bytes it covers.
std::size_t EscapeCharacterAt(std::string_view text, std::size_t at, char (&out)[8],
                              std::size_t& outLength);
}  // namespace detail

// qbXML request escaping. Hands `text`, escaped for qbXML element text, to `sink` (called with
// string_views in order). & > " ' < @ become &amp; &gt; &quot; &apos; &lt; &#64;, and every
// character that Windows-1252 codes 128 to 255 becomes &#code; (the euro sign is &#128;, e acute
// &#233;; the five codes Windows-1252 leaves undefined stand for U+0081, U+008D, U+008F, U+0090 and
// U+009D). Other characters are passed on as they are. The input is UTF-8; a byte that does not
// start a valid UTF-8 sequence is taken as a Windows-1252 character, so Latin-1 text given by
// mistake is still escaped and nothing is lost.
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

// Markup escaping, as an XML serialiser writes it: kText replaces & < >; kAttribute (for a value
// in double quotes) also " and the tab, line feed and carriage return a parser would otherwise
// turn into blanks. Everything else is copied as it is.
enum class XmlEscaping { kText, kAttribute };
void AppendXmlEscaped(std::string& out, std::string_view text, XmlEscaping escaping);

}  // namespace brennock
