#include "cli/app/help_text.h"

namespace brennock::cli {

std::string Wrapped(std::string_view text, size_t width) {
  std::string out;
  size_t lineStart = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t space = text.find(' ', start);
    if (space == std::string_view::npos) space = text.size();
    std::string_view word = text.substr(start, space - start);
    if (out.size() > lineStart && out.size() - lineStart + 1 + word.size() > width) {
      out += '\n';
      lineStart = out.size();
    } else if (out.size() > lineStart) {
      out += ' ';
    }
    out += word;
    start = space + 1;
  }
  return out;
}

}  // namespace brennock::cli
