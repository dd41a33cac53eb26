#include "brennock/internal/transactions/amount_text.h"

#include "brennock/internal/errors/raise.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {

std::string AmountText(Currency amount, const std::string& text) {
  if (amount == Currency()) return text;
  return ModConvertDtypes::AmountToText(amount);
}

Currency AmountOfText(const std::string& text, std::string_view className) {
  if (text.empty()) return Currency();
  double number = 0;
  if (!ModConvertDtypes::TryReadNumber(text, number))
    RaiseFromClass(className, errInvalidCharacter);
  return ModConvertDtypes::TextToCurrency(text);
}

}  // namespace brennock
