#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brennock::cli {

// Text broken into lines of at most width characters at spaces (help footers).
std::string Wrapped(std::string_view text, size_t width);

}  // namespace brennock::cli
