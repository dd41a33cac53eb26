#pragma once

#include <cstdint>
#include <string_view>

namespace brennock::simulator {

// Errors the simulated request processor raises from its calls (not statuses inside responses),
// with the numbers and texts of the QuickBooks request processor.
struct ProcessorError {
  int32_t number;
  std::string_view description;
};

inline constexpr std::string_view kProcessorSource = "Brennock.Simulator";

inline constexpr ProcessorError kParseError{static_cast<int32_t>(0x80040400u),
                                            "QuickBooks found an error when parsing the provided "
                                            "XML text stream."};
inline constexpr ProcessorError kCouldNotAccess{static_cast<int32_t>(0x80040401u),
                                                "Could not access QuickBooks."};
inline constexpr ProcessorError kUnexpected{static_cast<int32_t>(0x80040402u), "Unexpected error."};
inline constexpr ProcessorError kCouldNotOpenFile{
    static_cast<int32_t>(0x80040403u),
    "Could not open the specified QuickBooks company data file."};
inline constexpr ProcessorError kCouldNotStart{static_cast<int32_t>(0x80040408u),
                                               "Could not start QuickBooks."};
inline constexpr ProcessorError kInvalidTicket{static_cast<int32_t>(0x8004040Du),
                                               "The ticket parameter is invalid."};
inline constexpr ProcessorError kNoCompanyFile{
    static_cast<int32_t>(0x80040416u),
    "If the QuickBooks company data file is not open, a call to the \"BeginSession\" method must "
    "include the name of the data file."};

[[noreturn]] void Raise(const ProcessorError& error);

}  // namespace brennock::simulator
