// Values from qbXML text and back: the first byte chooses the kind (amount, price, quantity,
// percent, date, date-time, Boolean, whole number), the rest is the text. A text that reads as
// a value must write, and what is written reads as the same value (for amounts, which are written
// to the cent, once the value is whole cents; otherwise the written text is stable).
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "brennock/errors/automation_error.h"
#include "brennock/values/convert_dtypes.h"
#include "fuzz/fuzz_support.h"

namespace brennock::fuzz {
namespace {

namespace convert = ModConvertDtypes;

std::string Show(Currency value) { return std::to_string(value.Scaled()); }

// Reads a value; false when the text is refused as no value of the kind (13) or out of range (6).
// Anything after a successful read must not raise: the exception then ends the run.
template <class Read>
bool Reads(Read read) {
  try {
    read();
    return true;
  } catch (const AutomationError& error) {
    Require(error.Number() == 13 || error.Number() == 6, "an unexpected error",
            error.Description());
    return false;
  }
}

void Amount(std::string_view text) {
  Currency value;
  if (!Reads([&] { value = convert::TextToCurrency(text); })) return;
  const std::string written = convert::AmountToText(value);
  const Currency again = convert::TextToCurrency(written);
  if (value.Scaled() % 100 == 0) Require(again == value, "an amount in cents changes", written);
  Require(convert::AmountToText(again) == written, "an amount's text is not stable", written);
}

void Price(std::string_view text) {
  Currency value;
  if (!Reads([&] { value = convert::TextToCurrency(text); })) return;
  const std::string written = convert::PriceToText(value);
  Require(convert::TextToCurrency(written) == value, "a price changes",
          written + " " + Show(value));
}

void Quantity(std::string_view text) {
  Currency value;
  if (Reads([&] { value = convert::TextToCurrency(text); })) {
    const std::string written = convert::QuantityToText(value);
    Require(convert::TextToCurrency(written) == value, "a quantity changes", written);
  }
  // Single-precision quantities and rates: the written text is stable.
  float single = 0;
  if (!Reads([&] { single = convert::TextToSingle(text); })) return;
  const std::string singleText = convert::QuantityToText(single);
  Require(convert::QuantityToText(convert::TextToSingle(singleText)) == singleText,
          "a single quantity's text is not stable", singleText);
}

void Percent(std::string_view text) {
  float value = 0;
  if (!Reads([&] { value = convert::TextToSingleThroughCurrency(text); })) return;
  const std::string written = convert::QuantityToText(value);
  Require(convert::QuantityToText(convert::TextToSingle(written + "%")) == written,
          "a percent's text is not stable", written);
}

void DateValue(std::string_view text) {
  Date value;
  if (!Reads([&] { value = convert::TextToDate(text); })) return;
  const std::string written = convert::DateToText(value);
  const Date again = convert::TextToDate(written);
  // A time on 1899-12-30 writes that day, which reads as the zero date (day zero is "no date").
  if (!again.IsNull()) Require(convert::DateToText(again) == written, "a date changes", written);
  Require(again.DayNumber() == value.DayNumber(), "a date's day changes", written);
}

void DateTime(std::string_view text) {
  Date value;
  if (!Reads([&] { value = convert::TextToDate(text); })) return;
  const std::string written = convert::DateTimeToText(value);
  const Date again = convert::TextToDate(written);
  Require(again.Value() == value.Value(), "a date-time changes", written);
}

void Boolean(std::string_view text) {
  bool value = false;
  if (!Reads([&] { value = convert::TextToBool(text); })) return;
  Require(convert::TextToBool(convert::BoolToResponseText(value)) == value, "a response flag");
  Require(convert::TextToBool(convert::BoolToRequestText(value)) == value, "a request flag");
}

void Whole(std::string_view text) {
  int32_t value = 0;
  if (Reads([&] { value = convert::TextToInt32(text); }))
    Require(convert::TextToInt32(convert::IntegerToText(value)) == value, "a whole number changes");
  int16_t small = 0;
  if (Reads([&] { small = convert::TextToInt16(text); }))
    Require(convert::TextToInt16(convert::IntegerToText(small)) == small, "a short changes");
}

}  // namespace
}  // namespace brennock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brennock;
  if (size == 0) return 0;
  // Date-times are written with their time from qbXML 2.0 on.
  Session().qbxmlVersionNumber = Currency(2);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  using Check = void (*)(std::string_view);
  static constexpr Check kChecks[] = {fuzz::Amount,  fuzz::Price,     fuzz::Quantity,
                                      fuzz::Percent, fuzz::DateValue, fuzz::DateTime,
                                      fuzz::Boolean, fuzz::Whole};
  kChecks[data[0] % std::size(kChecks)](text);
  return 0;
}
