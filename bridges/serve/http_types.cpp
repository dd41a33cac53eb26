#include "bridges/serve/http_types.h"

#include "brennock/internal/util/text.h"

namespace brennock::serve {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Decoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string_view HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (AsciiEqualsIgnoreCase(key, name)) return value;
  return {};
}

bool HttpRequest::HasHeader(std::string_view name) const {
  for (const auto& entry : headers)
    if (AsciiEqualsIgnoreCase(entry.first, name)) return true;
  return false;
}

const std::string& HttpRequest::Param(std::string_view name) const {
  static const std::string kNone;
  auto found = params.find(name);
  return found == params.end() ? kNone : found->second;
}

void SplitTarget(HttpRequest& request) {
  std::string_view target = request.target;
  size_t question = target.find('?');
  request.path = std::string(target.substr(0, question));
  request.params.clear();
  if (question == std::string_view::npos) return;
  std::string_view query = target.substr(question + 1);
  while (!query.empty()) {
    size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    size_t equals = pair.find('=');
    std::string key = Decoded(pair.substr(0, equals));
    std::string value =
        equals == std::string_view::npos ? std::string() : Decoded(pair.substr(equals + 1));
    request.params.emplace(std::move(key), std::move(value));
  }
}

}  // namespace brennock::serve
