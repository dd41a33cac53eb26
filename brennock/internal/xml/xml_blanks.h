#pragma once

#include <string_view>

namespace brennock::detail {

// The blanks of XML: space, tab, carriage return, line feed.
constexpr bool IsXmlBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The text without leading and trailing blanks, as MSXML's text gives it. Field texts rarely have
// any, so each end usually costs one test.
constexpr std::string_view TrimBlanks(std::string_view text) noexcept {
  while (!text.empty() && IsXmlBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace brennock::detail
