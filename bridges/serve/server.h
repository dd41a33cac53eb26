#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>

#include "bridges/serve/credentials.h"
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
  size_t maxBodyBytes = 16u << 20;
  std::chrono::seconds readTimeout{30};
  // Remote connections unused this long are closed.
  std::chrono::seconds idleConnection{std::chrono::minutes(30)};
  size_t threads = 64;
  WebConnectorTimes webConnector;
  std::ostream* log = nullptr;  // one line per request; null: none
};

// Whether an Authorization header value ("Bearer " and the token) carries the server's token,
// compared in constant time. A server without a token accepts none, not even an empty one.
bool BearerTokenAccepted(const std::string& authorization, const std::string& token);

// `brennock serve`: the remote-processor endpoint (/rqp/1/...) and the Web Connector's SOAP
// endpoint (/wc) on one HTTP or HTTPS listener.
class Server {
 public:
  Server(ServeOptions options, Credentials credentials);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds and starts serving on a thread of its own; throws std::runtime_error when it cannot.
  void Start();
  int Port() const;
  // Fails every caller still waiting on the Web Connector, finishes the requests in progress and
  // stops listening. Safe to call more than once.
  void Stop();
  WebConnectorQueue& Queue();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// True for 127.0.0.0/8, ::1 and "localhost".
bool IsLoopback(const std::string& host);

}  // namespace brennock::serve
