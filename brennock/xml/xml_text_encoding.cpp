#include "brennock/internal/xml/xml_text_encoding.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace brennock::detail {

namespace {

// Code points of windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their C1 value.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

SingleByteEncoding DeclaredSingleByteEncoding(std::string_view text) {
  if (!text.starts_with("<?xml")) return SingleByteEncoding::kNone;
  std::string_view declaration = text.substr(0, text.find("?>"));
  std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return SingleByteEncoding::kNone;
  at += 8;
  while (at < declaration.size() && IsSpace(declaration[at])) ++at;
  if (at >= declaration.size() || declaration[at] != '=') return SingleByteEncoding::kNone;
  ++at;
  while (at < declaration.size() && IsSpace(declaration[at])) ++at;
  if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) {
    return SingleByteEncoding::kNone;
  }
  const char quote = declaration[at++];
  std::size_t end = declaration.find(quote, at);
  if (end == std::string_view::npos) return SingleByteEncoding::kNone;
  std::string_view name = declaration.substr(at, end - at);
  if (AsciiEqualsIgnoreCase(name, "iso-8859-1") || AsciiEqualsIgnoreCase(name, "iso_8859-1") ||
      AsciiEqualsIgnoreCase(name, "latin1")) {
    return SingleByteEncoding::kLatin1;
  }
  if (AsciiEqualsIgnoreCase(name, "windows-1252") || AsciiEqualsIgnoreCase(name, "cp1252")) {
    return SingleByteEncoding::kWindows1252;
  }
  return SingleByteEncoding::kNone;
}

std::string SingleByteToUtf8(std::string_view text, SingleByteEncoding encoding) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else if (byte < 0xA0 && encoding == SingleByteEncoding::kWindows1252) {
      AppendUtf8(out, kWindows1252High[byte - 0x80]);
    } else {
      AppendUtf8(out, byte);
    }
  }
  return out;
}

}  // namespace brennock::detail
