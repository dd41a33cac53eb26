#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "bridges/serve/credentials.h"
#include "bridges/serve/login_throttle.h"
#include "bridges/serve/web_connector.h"

namespace brennock::serve {

// The backend that stands for "the Web Connector queue" instead of a local processor's ProgID.
inline constexpr std::string_view kWebConnectorBackend = "webconnector";

struct ServeOptions {
  std::string host = "127.0.0.1";
  int port = 0;  // 0: a free port, see Server::Port
  // HTTPS with this certificate chain and key; required to listen on anything but loopback.
  std::string certFile;
  std::string keyFile;
  // The bearer token the remote-processor endpoint requires of every request.
  std::string token;
  // The local processor (a ProgID) behind the remote-processor endpoint, or kWebConnectorBackend.
  std::string backend = "Brennock.Simulator";
  // The company file a session opens when the caller names none (local processors only).
  std::string company;
  // Sessions may open company files under this folder only; empty: the folder of `company`, and
  // with no company either, none but the processor's default.
  std::string companyRoot;
  // Remote connections (each holds a request processor) and the sessions begun on them.
  size_t maxSessions = 32;

  size_t maxBodyBytes = 16u << 20;
  // Bodies of Web Connector calls from a peer that holds no ticket (authenticate and the like).
  size_t maxAnonymousBodyBytes = 64u << 10;
  size_t maxHeaderBytes = 16u << 10;
  // Request bodies in flight, charged several times their size (see the README).
  size_t maxMemoryBytes = size_t{1} << 30;
  // From a request's first byte, the deadline for its head and for the whole of it.
  std::chrono::milliseconds headerTimeout{std::chrono::seconds(10)};
  std::chrono::milliseconds readTimeout{std::chrono::seconds(30)};
  // A kept-alive connection that sends nothing this long is closed.
  std::chrono::milliseconds idleTimeout{std::chrono::seconds(5)};
  // Remote connections unused this long are closed.
  std::chrono::seconds idleConnection{std::chrono::minutes(30)};
  size_t maxConnections = 1024;
  size_t maxConnectionsPerPeer = 64;
  // Handlers of remote-processor calls (which may wait minutes for QuickBooks) and of Web
  // Connector calls run on separate threads, so that waiting callers never hold up the Web
  // Connector that would answer them.
  size_t threads = 64;
  size_t webConnectorThreads = 16;
  WebConnectorTimes webConnector;
  ThrottleSettings logins;
  std::ostream* log = nullptr;  // one line per request; null: none
};

// Whether an Authorization header value ("Bearer " and the token) carries the server's token,
// compared in constant time. A server without a token accepts none, not even an empty one.
bool BearerTokenAccepted(std::string_view authorization, const std::string& token);

// `brennock serve`: the remote-processor endpoint (/rqp/1/...) and the Web Connector's SOAP
// endpoint (/wc) on one HTTP or HTTPS listener.
class Server {
 public:
  Server(ServeOptions options, Credentials credentials);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and starts serving on threads of its own; throws std::runtime_error when it cannot.
  void Start();
  int Port() const;
  // Fails every caller still waiting on the Web Connector, closes connections that are idle or
  // still sending, lets requests in progress finish for up to `grace` and stops listening. False
  // when a request was still running then (the process should exit without waiting for it). Safe
  // to call more than once.
  bool Stop(std::chrono::milliseconds grace = std::chrono::seconds(3));
  WebConnectorQueue& Queue();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// True for 127.0.0.0/8, ::1 and "localhost".
bool IsLoopback(const std::string& host);

}  // namespace brennock::serve
