#include "brennock/xml/xml_escape.h"

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

// Decodes the UTF-8 sequence at text[at]; returns its length, or 0 when it is not valid UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  cp = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
  bool outOfRange = cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF);
  return overlong || outOfRange ? 0 : length;
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

void AppendEscapedText(std::string& out, std::string_view text) {
  EscapeXmlTextTo([&out](std::string_view part) { out.append(part); }, text);
}

std::string EscapeXmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedText(escaped, text);
  return escaped;
}

}  // namespace brennock
