#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brennock::detail {

// The single-byte encodings an XML declaration may name that are decoded before parsing.
enum class SingleByteEncoding { kNone, kLatin1, kWindows1252 };

// Offset of the first byte that is not part of a well-formed UTF-8 sequence; npos when the whole
// text is valid UTF-8.
std::size_t FindInvalidUtf8(std::string_view text);

// The encoding named by the XML declaration at the start of text, when it is a single-byte one.
SingleByteEncoding DeclaredSingleByteEncoding(std::string_view text);

// Re-encodes single-byte text as UTF-8.
std::string SingleByteToUtf8(std::string_view text, SingleByteEncoding encoding);

}  // namespace brennock::detail
