#include "simulator/clock.h"

#include <atomic>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace brennock::simulator {
namespace {

std::mutex clock_mutex;
std::optional<SimulatorTime> fixed_time;

int32_t LocalOffsetMinutes(int64_t unix_seconds) {
  time_t t = static_cast<time_t>(unix_seconds);
  struct tm local {};
  localtime_r(&t, &local);
  return static_cast<int32_t>(local.tm_gmtoff / 60);
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

bool ReadInt(std::string_view text, size_t pos, size_t len, int& out) {
  if (pos + len > text.size()) return false;
  auto r = std::from_chars(text.data() + pos, text.data() + pos + len, out);
  return r.ec == std::errc() && r.ptr == text.data() + pos + len;
}

}  // namespace

SimulatorTime Now() {
  std::lock_guard lock(clock_mutex);
  if (fixed_time) return *fixed_time;
  int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                    std::chrono::system_clock::now().time_since_epoch())
                    .count();
  return {now, LocalOffsetMinutes(now)};
}

void FixClock(std::optional<SimulatorTime> fixed) {
  std::lock_guard lock(clock_mutex);
  fixed_time = fixed;
}

void AdvanceClock(int64_t seconds) {
  std::lock_guard lock(clock_mutex);
  if (fixed_time) fixed_time->unix_seconds += seconds;
}

std::string FormatDateTime(const SimulatorTime& t) {
  int64_t local = t.unix_seconds + int64_t{t.utc_offset_minutes} * 60;
  int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  int64_t secs = local - days * 86400;
  int y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  int off = t.utc_offset_minutes;
  char sign = off < 0 ? '-' : '+';
  if (off < 0) off = -off;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d%c%02d:%02d", y, m, d,
                static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                static_cast<int>(secs % 60), sign, off / 60, off % 60);
  return buf;
}

std::string FormatDate(const SimulatorTime& t) { return FormatDateTime(t).substr(0, 10); }

std::optional<int64_t> ParseDateTime(std::string_view text, int32_t default_offset_minutes,
                                     bool end_of_day_for_dates) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (!ReadInt(text, 0, 4, y) || !ReadInt(text, 5, 2, mo) || !ReadInt(text, 8, 2, d))
    return std::nullopt;
  if (mo < 1 || mo > 12 || d < 1 || d > 31) return std::nullopt;
  int32_t offset = default_offset_minutes;
  if (text.size() == 10) {
    if (end_of_day_for_dates) h = 23, mi = 59, s = 59;
  } else {
    if (text.size() < 19 || text[10] != 'T' || !ReadInt(text, 11, 2, h) ||
        !ReadInt(text, 14, 2, mi) || !ReadInt(text, 17, 2, s))
      return std::nullopt;
    std::string_view rest = text.substr(19);
    if (rest == "Z") {
      offset = 0;
    } else if (rest.size() == 6 && (rest[0] == '+' || rest[0] == '-') && rest[3] == ':') {
      int oh, om;
      if (!ReadInt(rest, 1, 2, oh) || !ReadInt(rest, 4, 2, om)) return std::nullopt;
      offset = (oh * 60 + om) * (rest[0] == '-' ? -1 : 1);
    } else if (!rest.empty()) {
      return std::nullopt;
    }
  }
  int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  return days * 86400 + h * 3600 + mi * 60 + s - int64_t{offset} * 60;
}

}  // namespace brennock::simulator
