#include "brennock/internal/session/ini_file.h"

#include <fstream>

#include "brennock/internal/util/text.h"

namespace brennock {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  bool inSection = false;
  bool firstLine = true;
  for (std::string raw; std::getline(file, raw);) {
    std::string_view line = raw;
    if (firstLine && line.starts_with(kUtf8Bom)) line.remove_prefix(kUtf8Bom.size());
    firstLine = false;
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      std::size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      inSection = AsciiEqualsIgnoreCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (AsciiEqualsIgnoreCase(Trim(line.substr(0, equals)), key)) {
      return std::string(Unquoted(Trim(line.substr(equals + 1))));
    }
  }
  return {};
}

}  // namespace brennock
