#include "bridges/serve/request_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "brennock/internal/util/text.h"

namespace brennock::serve {
namespace {

std::string UtcNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(millis.count()));
  return text;
}

}  // namespace

std::string LogValue(std::string_view whole) {
  std::string cut = QuotedPrefix(whole);
  std::string_view value = cut;
  bool plain = !value.empty();
  for (char c : value)
    if (c <= ' ' || c == '"' || c == '=' || c == '\\' || c == 0x7f) plain = false;
  if (plain) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n' || c == '\r' || c == '\t') {
      out += ' ';
      continue;
    }
    out += c;
  }
  out += '"';
  return out;
}

void WriteLogEvent(std::ostream* out, std::string_view fields) {
  if (out == nullptr) return;
  std::string line = "time=" + UtcNow() + " ";
  line += fields;
  line += '\n';
  *out << line << std::flush;
}

void RequestLog::Write(const ExchangeRecord& record) {
  if (out_ == nullptr) return;
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", record.milliseconds);
  std::string line = "time=" + UtcNow() + " method=" + LogValue(record.method);
  line += record.face.empty() ? " path=" + LogValue(record.path) : " face=" + record.face;
  if (!record.operation.empty()) line += " op=" + LogValue(record.operation);
  line += " status=" + std::to_string(record.status) + " ms=" + elapsed +
          " remote=" + LogValue(record.peer);
  if (!record.outcome.empty()) line += " outcome=" + LogValue(record.outcome);
  line += '\n';
  std::lock_guard lock(mutex_);
  *out_ << line << std::flush;
}

void RequestLog::Event(std::string_view fields) {
  std::lock_guard lock(mutex_);
  WriteLogEvent(out_, fields);
}

}  // namespace brennock::serve
