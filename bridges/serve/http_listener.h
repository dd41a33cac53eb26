#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridges/serve/http_types.h"

namespace brennock::serve {

struct ListenerOptions {
  std::string host = "127.0.0.1";
  int port = 0;          // 0: a free port
  std::string certFile;  // HTTPS when both are given
  std::string keyFile;
  size_t maxHeaderBytes = 16u << 10;
  // From a request's first byte: its head must be in by headerTimeout, all of it by
  // requestTimeout, however slowly or quickly the bytes come.
  std::chrono::milliseconds headerTimeout{std::chrono::seconds(10)};
  std::chrono::milliseconds requestTimeout{std::chrono::seconds(30)};
  std::chrono::milliseconds writeTimeout{std::chrono::seconds(30)};
  // A kept-alive connection (or a new one) that sends nothing this long is closed.
  std::chrono::milliseconds idleTimeout{std::chrono::seconds(5)};
  size_t maxConnections = 1024;
  size_t maxConnectionsPerPeer = 64;
  // Bytes that request bodies in flight may hold, each charged its size times the factor its
  // admission names. A body that does not fit waits for room until its request's deadline.
  size_t memoryBudget = size_t{1} << 30;
  // Threads of each worker lane; an admission names the lane that runs its handler.
  std::vector<size_t> lanes{64};
};

// What the service decides from a request's head, before any of its body is read.
struct Admission {
  // Answered at once, body unread (a refusal, or an answer that needs no body).
  std::optional<HttpResponse> answer;
  size_t bodyLimit = 0;     // larger bodies, chunked or not, are refused with 413
  size_t memoryFactor = 1;  // the body is charged this many times its size against the budget
  size_t lane = 0;
};

struct HttpService {
  // Runs on the socket thread: must be quick and must not block.
  std::function<Admission(const HttpRequest& head)> admit;
  // Runs on a worker of the admitted lane with the whole request.
  std::function<void(HttpRequest& request, HttpResponse& response)> handle;
  // Every request, answered or not, once it is over (socket thread).
  std::function<void(const ExchangeRecord& record)> log;
  // Lines about the listener itself ("event=... key=value"), such as refused connections.
  std::function<void(std::string_view fields)> event;
  // Called about once a second on the socket thread; true when it knows that much memory was
  // freed since (a session ended), so that the listener returns it to the system.
  std::function<bool()> housekeeping;
};

// The HTTP/1.1 (and HTTPS) listener of `brennock serve`: one thread reads and writes every socket
// without blocking, so slow clients cost a socket, not a thread; whole-request deadlines, header
// and body limits (chunked bodies included) and connection caps (in total and per peer) hold
// before anything reaches a handler.
class HttpListener {
 public:
  HttpListener(ListenerOptions options, HttpService service);
  ~HttpListener();
  HttpListener(const HttpListener&) = delete;
  HttpListener& operator=(const HttpListener&) = delete;

  // Binds and starts the socket thread and the lanes; throws std::runtime_error when it cannot.
  void Start();
  int Port() const;
  // Stops accepting, closes idle and unfinished connections at once, lets handlers that are
  // running finish until the deadline, then closes everything. True when no handler was left
  // running. Safe to call more than once.
  bool Stop(std::chrono::steady_clock::time_point deadline);

  struct State;  // the listener's insides, shared with its connections in the .cpp

 private:
  std::unique_ptr<State> state_;
};

}  // namespace brennock::serve
