#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "brennock/internal/util/text.h"

namespace brennock::detail {

// The single-byte encodings an XML declaration may name that are decoded before parsing.
enum class SingleByteEncoding { kNone, kLatin1, kWindows1252 };

using ::brennock::FindInvalidUtf8;

// The encoding named by the XML declaration at the start of text, when it is a single-byte one.
SingleByteEncoding DeclaredSingleByteEncoding(std::string_view text);

// Re-encodes single-byte text as UTF-8.
std::string SingleByteToUtf8(std::string_view text, SingleByteEncoding encoding);

}  // namespace brennock::detail
