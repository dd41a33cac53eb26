#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

namespace brennock::serve {

// Structured request log: one line of key=value pairs per HTTP request, written when it ends:
//   time=2026-12-06T07:40:01.123Z face=wc op=sendRequestXML status=200 ms=0.41 remote=127.0.0.1
// Handlers name the operation and an outcome on their thread; passwords, tickets and tokens are
// never handed to it.
class RequestLog {
 public:
  explicit RequestLog(std::ostream* out) : out_(out) {}
  void Write(const std::string& method, const std::string& path, int status,
             const std::string& remote);

 private:
  std::ostream* out_;
  std::mutex mutex_;
};

// Called as a request starts, then by its handler.
void StartRequest();
void NoteOperation(std::string_view face, std::string_view operation);
void NoteOutcome(std::string_view detail);

// A line for something other than a request ("event=start listen=..."), stamped with the time.
void WriteLogEvent(std::ostream* out, std::string_view fields);

// The value as it goes into a line: bare when it is a plain word, else quoted and escaped.
std::string LogValue(std::string_view value);

}  // namespace brennock::serve
