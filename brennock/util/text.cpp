#include "brennock/internal/util/text.h"

#include <cstring>

namespace brennock {
namespace detail {

constexpr std::array<uint8_t, 256> MakeEscapeCandidates() {
  std::array<uint8_t, 256> candidates{};
  for (int b = 0x80; b < 0x100; ++b) candidates[b] = 1;
  for (char c : {'&', '>', '"', '\'', '<', '@'}) candidates[static_cast<unsigned char>(c)] = 1;
  return candidates;
}
const std::array<uint8_t, 256> kEscapeCandidate = MakeEscapeCandidates();

namespace {

// Windows-1252 code of a code point, or 0 when the character has none in 128..255.
int Windows1252Code(char32_t cp) {
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<int>(cp);
  switch (cp) {
    // Undefined in Windows-1252: these code points stand for themselves.
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
      return static_cast<int>(cp);
    case 0x20AC:
      return 128;
    case 0x201A:
      return 130;
    case 0x0192:
      return 131;
    case 0x201E:
      return 132;
    case 0x2026:
      return 133;
    case 0x2020:
      return 134;
    case 0x2021:
      return 135;
    case 0x02C6:
      return 136;
    case 0x2030:
      return 137;
    case 0x0160:
      return 138;
    case 0x2039:
      return 139;
    case 0x0152:
      return 140;
    case 0x017D:
      return 142;
    case 0x2018:
      return 145;
    case 0x2019:
      return 146;
    case 0x201C:
      return 147;
    case 0x201D:
      return 148;
    case 0x2022:
      return 149;
    case 0x2013:
      return 150;
    case 0x2014:
      return 151;
    case 0x02DC:
      return 152;
    case 0x2122:
      return 153;
    case 0x0161:
      return 154;
    case 0x203A:
      return 155;
    case 0x0153:
      return 156;
    case 0x017E:
      return 158;
    case 0x0178:
      return 159;
    default:
      return 0;
  }
}

// The characters of Windows-1252 codes 128..159; 0 where the code is undefined.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (cp & 0x3F));
}

std::size_t CharacterReference(int code, char (&out)[8]) {
  out[0] = '&';
  out[1] = '#';
  out[2] = static_cast<char>('0' + code / 100);
  out[3] = static_cast<char>('0' + code / 10 % 10);
  out[4] = static_cast<char>('0' + code % 10);
  out[5] = ';';
  return 6;
}

std::size_t Entity(std::string_view entity, char (&out)[8]) {
  std::memcpy(out, entity.data(), entity.size());
  return entity.size();
}

}  // namespace

std::size_t EscapeCharacterAt(std::string_view text, std::size_t at, char (&out)[8],
                              std::size_t& outLength) {
  switch (text[at]) {
    case '&':
      outLength = Entity("&amp;", out);
      return 1;
    case '>':
      outLength = Entity("&gt;", out);
      return 1;
    case '"':
      outLength = Entity("&quot;", out);
      return 1;
    case '\'':
      outLength = Entity("&apos;", out);
      return 1;
    case '<':
      outLength = Entity("&lt;", out);
      return 1;
    case '@':
      outLength = Entity("&#64;", out);
      return 1;
    default:
      break;
  }
  char32_t cp = 0;
  std::size_t length = DecodeUtf8(text, at, cp);
  if (length == 0) {
    outLength = CharacterReference(static_cast<unsigned char>(text[at]), out);
    return 1;
  }
  if (int code = Windows1252Code(cp); code != 0) {
    outLength = CharacterReference(code, out);
  } else {
    std::memcpy(out, text.data() + at, length);
    outLength = length;
  }
  return length;
}

}  // namespace detail

bool ReplaceWindows1252Controls(std::string_view text, std::string& out) {
  // A C1 control in UTF-8 is 0xC2 followed by 0x80..0x9F.
  auto control = [&](std::size_t at) {
    if (at + 1 >= text.size()) return false;
    const auto next = static_cast<unsigned char>(text[at + 1]);
    return next >= 0x80 && next < 0xA0 && detail::kWindows1252High[next & 0x1F] != 0;
  };
  std::size_t at = text.find('\xC2');
  while (at != std::string_view::npos && !control(at)) at = text.find('\xC2', at + 1);
  if (at == std::string_view::npos) return false;
  out.assign(text.substr(0, at));
  while (at < text.size()) {
    if (text[at] == '\xC2' && control(at)) {
      detail::AppendUtf8(detail::kWindows1252High[static_cast<unsigned char>(text[at + 1]) & 0x1F],
                         out);
      at += 2;
      continue;
    }
    const std::size_t next = text.find('\xC2', at + 1);
    const std::size_t stop = next == std::string_view::npos ? text.size() : next;
    out.append(text.substr(at, stop - at));
    at = stop;
  }
  return true;
}

std::string AsciiLowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = AsciiLower(c);
  return lowered;
}

int AsciiCompareIgnoreCase(std::string_view a, std::string_view b) noexcept {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp) noexcept {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  char32_t value = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  bool outOfRange = value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF);
  if (overlong || outOfRange) return 0;
  cp = value;
  return length;
}

std::size_t FindInvalidUtf8(std::string_view text) noexcept {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    // Responses are mostly ASCII: skip eight plain bytes at a time.
    if (i + 8 <= size) {
      uint64_t word;
      std::memcpy(&word, bytes + i, sizeof word);
      if ((word & 0x8080808080808080ull) == 0) {
        i += 8;
        continue;
      }
    }
    unsigned char lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return i;
    }
    if (i + length > size || bytes[i + 1] < low || bytes[i + 1] > high) return i;
    for (std::size_t k = 2; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return i;
    }
    i += length;
  }
  return std::string_view::npos;
}

std::size_t Utf8Length(std::string_view text) noexcept {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) {
    char32_t cp;
    std::size_t length = DecodeUtf8(text, at, cp);
    at += length == 0 ? 1 : length;
  }
  return count;
}

std::string QuotedPrefix(std::string_view text, std::size_t maxCharacters) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size(); ++count) {
    if (count == maxCharacters) return Concat({text.substr(0, at), "..."});
    char32_t cp;
    std::size_t length = DecodeUtf8(text, at, cp);
    at += length == 0 ? 1 : length;
  }
  return std::string(text);
}

std::size_t FindNonXmlCharacter(std::string_view text, char32_t& cp) noexcept {
  // Byte by byte is exact: neither a control byte nor the lead 0xEF occurs inside a multi-byte
  // sequence, and EF BF BE / EF BF BF are always U+FFFE / U+FFFF. Surrogates are not valid UTF-8.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  for (std::size_t at = 0; at < size; ++at) {
    const unsigned char byte = bytes[at];
    if (byte < 0x20) {
      if (byte == 0x9 || byte == 0xA || byte == 0xD) continue;
      cp = byte;
      return at;
    }
    if (byte == 0xEF && at + 2 < size && bytes[at + 1] == 0xBF &&
        (bytes[at + 2] == 0xBE || bytes[at + 2] == 0xBF)) {
      cp = 0xFFFE + (bytes[at + 2] - 0xBE);
      return at;
    }
  }
  return std::string_view::npos;
}

std::string CodePointName(char32_t cp) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string name = "U+";
  int digits = cp > 0xFFFFF ? 6 : cp > 0xFFFF ? 5 : 4;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) name += kHex[(cp >> shift) & 0xF];
  return name;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string joined;
  joined.reserve(size);
  for (std::string_view part : parts) joined.append(part);
  return joined;
}

void AppendEscapedText(std::string& out, std::string_view text) {
  EscapeXmlTextTo([&out](std::string_view part) { out.append(part); }, text);
}

std::string EscapeXmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedText(escaped, text);
  return escaped;
}

void AppendXmlEscaped(std::string& out, std::string_view text, XmlEscaping escaping) {
  const bool attribute = escaping == XmlEscaping::kAttribute;
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        if (attribute) entity = "&quot;";
        break;
      case '\t':
        if (attribute) entity = "&#9;";
        break;
      case '\n':
        if (attribute) entity = "&#10;";
        break;
      case '\r':
        if (attribute) entity = "&#13;";
        break;
      default:
        break;
    }
    if (entity.empty()) continue;
    out.append(text, run, i - run);
    out.append(entity);
    run = i + 1;
  }
  out.append(text, run, text.size() - run);
}

}  // namespace brennock
