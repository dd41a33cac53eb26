#pragma once

#include <string>
#include <string_view>

#include "brennock/values/currency.h"

namespace brennock {

// A line amount a client may set as text: the text is kept as given while the amount is zero
// (an empty or unfinished entry in a grid), and the amount's own text is shown otherwise.
std::string AmountText(Currency amount, const std::string& text);
// The amount of such a text (zero for an empty one); raises errInvalidCharacter with className as
// source for a text that is not a number.
Currency AmountOfText(const std::string& text, std::string_view className);

}  // namespace brennock
