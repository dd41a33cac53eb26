#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace brennock::simulator {

// The simulator's notion of "now": the system clock and the local time-zone offset, unless a test
// fixed both. Process-wide, because a company file's times must agree across its sessions.
struct SimulatorTime {
  int64_t unix_seconds;
  int32_t utc_offset_minutes;  // east of UTC, e.g. -480 for Pacific standard time
};

SimulatorTime Now();

// Fixes the clock (tests); std::nullopt returns to the system clock.
void FixClock(std::optional<SimulatorTime> fixed);
// Moves a fixed clock forward; does nothing on the system clock.
void AdvanceClock(int64_t seconds);

// "2024-03-05T14:07:00-08:00", as QuickBooks writes TimeCreated and TimeModified.
std::string FormatDateTime(const SimulatorTime& t);
// "2024-03-05" in the local time of t.
std::string FormatDate(const SimulatorTime& t);
// Parses a qbXML date or date-time ("2024-03-05", "2024-03-05T14:07:00", with or without offset;
// without offset the time is local to default_offset). Returns Unix seconds.
std::optional<int64_t> ParseDateTime(std::string_view text, int32_t default_offset_minutes,
                                     bool end_of_day_for_dates = false);

}  // namespace brennock::simulator
