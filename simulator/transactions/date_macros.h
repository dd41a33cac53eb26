#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "simulator/clock.h"

namespace brennock::simulator {

// The dates a qbXML DateMacro stands for ("ThisMonth", "LastFiscalQuarterToDate" ...), first and
// last inclusive as "2024-03-05", on the day `now` is in its own time zone. Weeks start on
// Sunday; fiscal years and quarters start in fiscal_first_month (1-12). "All" and unknown macros
// give nullopt.
std::optional<std::pair<std::string, std::string>> DateMacroRange(std::string_view macro,
                                                                  const SimulatorTime& now,
                                                                  int fiscal_first_month);

// "January" -> 1; 1 for anything else.
int MonthNumber(std::string_view name);

}  // namespace brennock::simulator
