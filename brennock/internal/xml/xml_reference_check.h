#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brennock::detail {

struct ReferenceFault {
  int64_t offset;
  std::string reason;
};

// pugixml keeps an unknown reference such as "&foo;" as literal text; MSXML refuses the document.
// Finds the first '&' in markup text that does not start one of the five predefined entity
// references or a character reference. '&' inside CDATA sections, comments, processing
// instructions and the DOCTYPE is ordinary text.
std::optional<ReferenceFault> FindBadReference(std::string_view text);

}  // namespace brennock::detail
