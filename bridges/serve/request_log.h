#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

#include "bridges/serve/http_types.h"

namespace brennock::serve {

// Structured request log: one line of key=value pairs per HTTP request, answered or not, written
// when it ends:
//   time=2026-12-06T07:40:01.123Z method=POST face=wc op=sendRequestXML status=200 ms=0.41
//   remote=127.0.0.1
// Requests no handler answered (a timeout, a malformed head, a body over the limit) name their
// path instead of a face, and say why in outcome=. Passwords, tickets and tokens are never handed
// to it; a value a client chose is quoted only as a short prefix.
class RequestLog {
 public:
  explicit RequestLog(std::ostream* out) : out_(out) {}
  void Write(const ExchangeRecord& record);
  // A line about the server rather than a request ("event=login-locked ...").
  void Event(std::string_view fields);

 private:
  std::ostream* out_;
  std::mutex mutex_;
};

// A line for something other than a request ("event=start listen=..."), stamped with the time.
void WriteLogEvent(std::ostream* out, std::string_view fields);

// The value as it goes into a line: bare when it is a plain word, else quoted and escaped; a long
// value is cut to a short prefix.
std::string LogValue(std::string_view value);

}  // namespace brennock::serve
