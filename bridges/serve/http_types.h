#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The HTTP exchange as `brennock serve` sees it, free of the library that carries it: the
// listener fills a request, the server's handlers fill the response.
namespace brennock::serve {

struct HttpRequest {
  std::string method;                                      // "GET", "POST" ...
  std::string target;                                      // as the client sent it
  std::string path;                                        // the target before '?'
  std::map<std::string, std::string, std::less<>> params;  // the query, decoded
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string peer;  // the client's address, without the port
  std::optional<uint64_t> contentLength;
  bool chunked = false;

  // The first header of that name (compared without regard to case); empty when absent.
  std::string_view Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  // The query parameter's value; empty when absent.
  const std::string& Param(std::string_view name) const;
};

struct HttpResponse {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  bool close = false;  // end the connection after this answer
  // For the request log: the face and operation that answered, and how it ended.
  std::string face;
  std::string operation;
  std::string outcome;

  void SetContent(std::string text, std::string type) {
    body = std::move(text);
    contentType = std::move(type);
  }
};

// Fills path and params from target: the query is split at '&' and '=', %XX and '+' decoded.
void SplitTarget(HttpRequest& request);

// What the log keeps of each request, answered or not.
struct ExchangeRecord {
  std::string method;
  std::string path;
  int status = 0;  // 0: nothing was answered (the client left, or the connection was shed)
  std::string peer;
  double milliseconds = 0;  // from the request's first byte to the end of its answer
  std::string face;
  std::string operation;
  std::string outcome;
};

}  // namespace brennock::serve
