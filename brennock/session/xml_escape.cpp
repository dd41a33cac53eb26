#include "brennock/session/xml_escape.h"

#include <array>
#include <cstdint>

namespace brennock {
namespace {

// What a byte needs: nothing, an entity of its own, or a look at the UTF-8 sequence it starts.
enum ByteClass : uint8_t { kPlain, kEntity, kMultiByte };

constexpr std::array<ByteClass, 256> MakeByteClasses() {
  std::array<ByteClass, 256> classes{};
  for (int b = 0x80; b < 0x100; ++b) classes[b] = kMultiByte;
  for (char c : {'&', '>', '"', '\'', '<', '@'}) classes[static_cast<unsigned char>(c)] = kEntity;
  return classes;
}
constexpr std::array<ByteClass, 256> kByteClasses = MakeByteClasses();

std::string_view EntityOf(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&apos;";
    case '<':
      return "&lt;";
    default:
      return "&#64;";
  }
}

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

void AppendCharacterReference(std::string& out, int code) {
  char reference[7] = {'&',
                       '#',
                       static_cast<char>('0' + code / 100),
                       static_cast<char>('0' + code / 10 % 10),
                       static_cast<char>('0' + code % 10),
                       ';'};
  out.append(reference, 6);
}

}  // namespace

void AppendEscapedText(std::string& out, std::string_view text) {
  std::size_t copied = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    ByteClass kind = kByteClasses[static_cast<unsigned char>(text[at])];
    if (kind == kPlain) {
      ++at;
      continue;
    }
    out.append(text, copied, at - copied);
    if (kind == kEntity) {
      out.append(EntityOf(text[at]));
      copied = ++at;
      continue;
    }
    char32_t cp = 0;
    std::size_t length = DecodeUtf8(text, at, cp);
    if (length == 0) {
      AppendCharacterReference(out, static_cast<unsigned char>(text[at]));
      copied = ++at;
      continue;
    }
    if (int code = Windows1252Code(cp); code != 0) {
      AppendCharacterReference(out, code);
    } else {
      out.append(text, at, length);
    }
    at += length;
    copied = at;
  }
  out.append(text, copied);
}

std::string EscapeXmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedText(escaped, text);
  return escaped;
}

}  // namespace brennock
