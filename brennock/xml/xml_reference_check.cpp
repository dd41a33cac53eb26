#include "brennock/internal/xml/xml_reference_check.h"

#include <cstdint>
#include <cstring>

namespace brennock::detail {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Length of a valid reference starting at '&', or 0; beyondUnicode tells a character reference
// past U+10FFFF, which pugixml would write as bytes that are no UTF-8 and MSXML refuses.
std::size_t ReferenceLength(std::string_view text, std::size_t at, bool& beyondUnicode) {
  beyondUnicode = false;
  std::string_view rest = text.substr(at + 1);
  for (std::string_view name : {"amp;", "lt;", "gt;", "quot;", "apos;"}) {
    if (rest.starts_with(name)) return name.size() + 1;
  }
  if (!rest.starts_with('#')) return 0;
  std::size_t i = 1;
  const bool hex = rest.size() > 1 && rest[1] == 'x';
  if (hex) ++i;
  const std::size_t digits = i;
  uint32_t value = 0;
  while (i < rest.size() && (hex ? IsHexDigit(rest[i]) : IsDigit(rest[i]))) {
    const char c = rest[i++];
    const uint32_t digit = IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
    if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + digit;
  }
  if (i == digits || i >= rest.size() || rest[i] != ';') return 0;
  beyondUnicode = value > 0x10FFFF;
  return beyondUnicode ? 0 : i + 2;
}

// Position just past the construct opened at text[at] == '<' when it is one whose content is not
// parsed for references; at itself otherwise.
std::size_t SkipUnparsedSection(std::string_view text, std::size_t at) {
  struct Section {
    std::string_view open, close;
  };
  static constexpr Section kSections[] = {
      {"<![CDATA[", "]]>"}, {"<!--", "-->"}, {"<?", "?>"}, {"<!DOCTYPE", ">"}};
  for (const Section& section : kSections) {
    if (!text.substr(at).starts_with(section.open)) continue;
    std::size_t close = text.find(section.close, at + section.open.size());
    return close == std::string_view::npos ? text.size() : close + section.close.size();
  }
  return at;
}

// The end of the unparsed section that holds text[target], or npos when target is in markup.
// Markup before *from is known to hold no section; the scan resumes there.
std::size_t EndOfSectionHolding(std::string_view text, std::size_t target, std::size_t* from) {
  std::size_t at = *from;
  while (at < target) {
    const void* found = std::memchr(text.data() + at, '<', target - at);
    if (found == nullptr) break;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    std::size_t end = SkipUnparsedSection(text, at);
    if (end > target) {
      *from = end;
      return end;
    }
    at = end == at ? at + 1 : end;
  }
  *from = target;
  return std::string_view::npos;
}

}  // namespace

std::optional<ReferenceFault> FindBadReference(std::string_view text) {
  std::size_t scanned = 0;  // markup before this point has been classified
  std::size_t at = 0;
  while (true) {
    const void* found = std::memchr(text.data() + at, '&', text.size() - at);
    if (found == nullptr) return std::nullopt;
    at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    bool beyondUnicode = false;
    if (std::size_t length = ReferenceLength(text, at, beyondUnicode)) {
      at += length;
      continue;
    }
    // Rare: a bare '&'. Only now work out whether it sits in markup or in a section.
    if (std::size_t section_end = EndOfSectionHolding(text, at, &scanned);
        section_end != std::string_view::npos) {
      at = section_end;
      continue;
    }
    if (beyondUnicode)
      return ReferenceFault{static_cast<int64_t>(at), "Invalid unicode character."};
    std::size_t end = at + 1;
    while (end < text.size() && end - at < 64 && text[end] != ';' && text[end] != '<' &&
           text[end] != '&' && text[end] != ' ' && text[end] != '\n') {
      ++end;
    }
    if (end < text.size() && text[end] == ';' && end > at + 1 && text[at + 1] != '#') {
      std::string name(text.substr(at + 1, end - at - 1));
      return ReferenceFault{static_cast<int64_t>(at),
                            "Reference to undefined entity '" + name + "'."};
    }
    return ReferenceFault{static_cast<int64_t>(at), "A semi colon character was expected."};
  }
}

}  // namespace brennock::detail
