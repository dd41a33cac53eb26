#include "bridges/serve/request_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace brennock::serve {
namespace {

struct Current {
  std::chrono::steady_clock::time_point start;
  std::string face;
  std::string operation;
  std::string outcome;
};

thread_local Current current;

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

void StartRequest() { current = Current{std::chrono::steady_clock::now(), {}, {}, {}}; }

void NoteOperation(std::string_view face, std::string_view operation) {
  current.face = face;
  current.operation = operation;
}

void NoteOutcome(std::string_view detail) { current.outcome = detail; }

std::string LogValue(std::string_view value) {
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

void RequestLog::Write(const std::string& method, const std::string& path, int status,
                       const std::string& remote) {
  if (out_ == nullptr) {
    current = Current{std::chrono::steady_clock::now(), {}, {}, {}};
    return;
  }
  double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - current.start)
          .count();
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", ms);
  std::string line = "time=" + UtcNow() + " method=" + LogValue(method);
  line += current.face.empty() ? " path=" + LogValue(path) : " face=" + current.face;
  if (!current.operation.empty()) line += " op=" + LogValue(current.operation);
  line += " status=" + std::to_string(status) + " ms=" + elapsed + " remote=" + LogValue(remote);
  if (!current.outcome.empty()) line += " outcome=" + LogValue(current.outcome);
  line += '\n';
  // A request refused before routing (a body over the limit) starts from here.
  current = Current{std::chrono::steady_clock::now(), {}, {}, {}};
  std::lock_guard lock(mutex_);
  *out_ << line << std::flush;
}

}  // namespace brennock::serve
