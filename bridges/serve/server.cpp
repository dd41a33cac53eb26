#include "bridges/serve/server.h"

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "brennock/internal/util/text.h"
#include "brennock/session/processor_registry.h"
#include "brennock/version.h"
#include "bridges/remote/rqp_protocol.h"
#include "bridges/serve/company_folder.h"
#include "bridges/serve/http_listener.h"
#include "bridges/serve/request_log.h"
#include "bridges/serve/serve_errors.h"
#include "bridges/serve/soap.h"

namespace brennock::serve {

bool IsLoopback(const std::string& host) {
  return host == "localhost" || host == "::1" || host.starts_with("127.");
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kUnexpectedNumber = static_cast<int32_t>(0x80040402u);
constexpr int32_t kCouldNotOpenFileNumber = static_cast<int32_t>(0x80040403u);

// Lanes of worker threads.
constexpr size_t kProcessorLane = 0;
constexpr size_t kWebConnectorLane = 1;
// Bodies of remote-processor calls that carry no request text.
constexpr size_t kSmallBody = 64u << 10;
// What a body costs while it is handled, as a multiple of its size: a local processor keeps the
// text, reads a large document one request at a time and writes its answer (measured: about 1.1
// times a 16 MB body of empty elements or of queries padded with comments; answers of queries come
// on top); the Web Connector queue keeps the text and its answer; a SOAP call keeps the body and
// the texts of its parameters.
constexpr size_t kLocalProcessorCharge = 4;
constexpr size_t kQueuedRequestCharge = 2;
constexpr size_t kSoapCharge = 3;

int32_t IntParameter(const HttpRequest& request, const char* name) {
  const std::string& text = request.Param(name);
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Tokens are compared through fixed-size digests, in constant time.
bool SameSecret(std::string_view given, const std::string& expected) {
  unsigned char a[crypto_generichash_BYTES], b[crypto_generichash_BYTES];
  crypto_generichash(a, sizeof a, reinterpret_cast<const unsigned char*>(given.data()),
                     given.size(), nullptr, 0);
  crypto_generichash(b, sizeof b, reinterpret_cast<const unsigned char*>(expected.data()),
                     expected.size(), nullptr, 0);
  return sodium_memcmp(a, b, sizeof a) == 0;
}

void AnswerError(HttpResponse& response, const AutomationError& error) {
  response.status = 500;
  response.headers.emplace_back(rqp::kErrorNumberHeader, std::to_string(error.Number()));
  response.headers.emplace_back(rqp::kErrorSourceHeader, error.Source());
  response.SetContent(error.Description(), "text/plain; charset=utf-8");
  response.outcome = error.Description();
}

HttpResponse Plain(int status, std::string text) {
  HttpResponse response;
  response.status = status;
  response.SetContent(std::move(text), "text/plain; charset=utf-8");
  return response;
}

// "/rqp/1/ProcessRequest" -> "ProcessRequest"; empty when the path is no processor operation.
std::string_view ProcessorOperation(std::string_view path) {
  if (!path.starts_with(rqp::kPathPrefix)) return {};
  std::string_view operation = path.substr(rqp::kPathPrefix.size());
  if (operation.empty()) return {};
  for (char c : operation)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
      return {};
  return operation;
}

bool CarriesRequestText(std::string_view operation) {
  return operation == "ProcessRequest" || operation == "ProcessSubscription";
}

struct Connection {
  std::mutex mutex;  // one call at a time on a processor
  std::shared_ptr<RequestProcessor> processor;
  Clock::time_point lastUse = Clock::now();
  size_t sessions = 0;  // begun and not ended
};

}  // namespace

bool BearerTokenAccepted(std::string_view authorization, const std::string& token) {
  return !token.empty() && authorization.starts_with("Bearer ") &&
         SameSecret(authorization.substr(7), token);
}

struct Server::State {
  ServeOptions options;
  Credentials credentials;
  std::shared_ptr<WebConnectorQueue> queue;
  RequestLog log;
  LoginThrottle logins;
  CompanyFolder companies;
  int port = 0;

  std::mutex connectionsMutex;
  std::map<std::string, std::shared_ptr<Connection>> connections;
  size_t sessions = 0;
  // A session or connection ended since the last housekeeping: its memory is worth returning.
  std::atomic<bool> released{false};

  // Peers that hold a Web Connector ticket, until when: only they may send large SOAP bodies.
  std::mutex ticketPeersMutex;
  std::map<std::string, Clock::time_point> ticketPeers;

  // Last: destroyed first, so no handler runs once the rest is gone.
  std::unique_ptr<HttpListener> listener;

  State(ServeOptions o, Credentials c)
      : options(std::move(o)),
        credentials(std::move(c)),
        queue(std::make_shared<WebConnectorQueue>(options.webConnector)),
        log(options.log),
        logins(options.logins),
        companies(options.companyRoot, options.company) {
    logins.onLock = [this](std::string_view fields) { log.Event(fields); };
  }

  std::shared_ptr<RequestProcessor> NewProcessor() {
    if (options.backend == kWebConnectorBackend) return CreateWebConnectorProcessor(queue);
    std::shared_ptr<RequestProcessor> processor = CreateRequestProcessor(options.backend);
    if (!processor)
      RaiseServe(kCouldNotAccessNumber, std::string(kMsgNoProcessor) + options.backend);
    return processor;
  }

  // ---- before the body: admission ----

  Admission Admit(const HttpRequest& head) {
    Admission admission;
    if (head.method == "GET" && head.path == "/health") {
      admission.answer = Plain(200, "ok\n");
    } else if (head.method == "GET" && head.path == "/support") {
      // The .qwc file's AppSupport page, which the Web Connector requires to exist.
      admission.answer = Plain(200,
                               "Brennock serve: qbXML for programs on other machines, through the "
                               "QuickBooks Web Connector.\n");
    } else if (std::string_view operation = ProcessorOperation(head.path); !operation.empty()) {
      if (head.method != "POST") return Refuse(405, "Use POST.");
      std::string_view authorization = head.Header("Authorization");
      if (!BearerTokenAccepted(authorization, options.token)) {
        HttpResponse refused = Plain(401, "");
        refused.headers.emplace_back("WWW-Authenticate", "Bearer");
        refused.face = "rqp";
        refused.operation = operation;
        refused.outcome = "token refused";
        refused.close = true;
        admission.answer = std::move(refused);
        return admission;
      }
      admission.bodyLimit = CarriesRequestText(operation) ? options.maxBodyBytes : kSmallBody;
      admission.memoryFactor =
          options.backend == kWebConnectorBackend ? kQueuedRequestCharge : kLocalProcessorCharge;
      admission.lane = kProcessorLane;
    } else if (head.path == "/wc") {
      if (head.method != "POST") return Refuse(405, "Use POST.");
      admission.bodyLimit = HoldsTicket(head.peer)
                                ? options.maxBodyBytes
                                : std::min(options.maxAnonymousBodyBytes, options.maxBodyBytes);
      admission.memoryFactor = kSoapCharge;
      admission.lane = kWebConnectorLane;
    } else {
      return Refuse(404, "Not found.");
    }
    return admission;
  }

  static Admission Refuse(int status, std::string text) {
    Admission admission;
    admission.answer = Plain(status, std::move(text));
    return admission;
  }

  bool HoldsTicket(const std::string& peer) {
    std::lock_guard lock(ticketPeersMutex);
    auto found = ticketPeers.find(peer);
    return found != ticketPeers.end() && found->second > Clock::now();
  }

  void NoteTicketPeer(const std::string& peer) {
    std::lock_guard lock(ticketPeersMutex);
    Clock::time_point now = Clock::now();
    std::erase_if(ticketPeers, [&](const auto& entry) { return entry.second <= now; });
    ticketPeers[peer] = now + options.webConnector.ticketLifetime;
  }

  void Handle(HttpRequest& request, HttpResponse& response) {
    std::string_view operation = ProcessorOperation(request.path);
    if (!operation.empty())
      HandleProcessor(std::string(operation), request, response);
    else
      HandleWebConnector(request, response);
  }

  // ---- the remote processor ----

  // Drops connections whose client went away without closing them.
  void SweepIdle() {
    Clock::time_point limit = Clock::now() - options.idleConnection;
    std::vector<std::shared_ptr<Connection>> dropped;
    std::lock_guard lock(connectionsMutex);
    std::erase_if(connections, [&](const auto& entry) {
      if (entry.second.use_count() != 1 || entry.second->lastUse >= limit) return false;
      sessions -= entry.second->sessions;
      dropped.push_back(entry.second);
      released = true;
      return true;
    });
  }

  std::shared_ptr<Connection> FindConnection(const HttpRequest& request) {
    std::string_view id = request.Header(rqp::kConnectionHeader);
    std::lock_guard lock(connectionsMutex);
    auto found = connections.find(std::string(id));
    if (found == connections.end()) RaiseServe(kCouldNotAccessNumber, kMsgUnknownConnection);
    return found->second;
  }

  std::string Open(const HttpRequest& request, const std::string& operation) {
    SweepIdle();
    {
      std::lock_guard lock(connectionsMutex);
      if (connections.size() >= options.maxSessions)
        RaiseServe(kCouldNotAccessNumber, TooMany("connections"));
    }
    auto connection = std::make_shared<Connection>();
    connection->processor = NewProcessor();
    const std::string& appId = request.Param(rqp::kAppId);
    const std::string& appName = request.Param(rqp::kAppName);
    if (operation == "OpenConnection2")
      connection->processor->OpenConnection2(
          appId, appName, static_cast<qbConnectionType>(IntParameter(request, rqp::kPreference)));
    else
      connection->processor->OpenConnection(appId, appName);
    std::string id = RandomToken();
    std::lock_guard lock(connectionsMutex);
    if (connections.size() >= options.maxSessions)
      RaiseServe(kCouldNotAccessNumber, TooMany("connections"));
    connections.emplace(id, std::move(connection));
    return id;
  }

  std::string TooMany(std::string_view what) const {
    return "brennock serve has as many " + std::string(what) + " open as it allows (" +
           std::to_string(options.maxSessions) + "); close one and try again.";
  }

  std::string BeginSession(Connection& connection, const HttpRequest& request,
                           HttpResponse& response) {
    RequestProcessor& processor = *connection.processor;
    std::shared_ptr<AuthPreferences> prefs = processor.AuthPreferences();
    prefs->PutAuthFlags(IntParameter(request, rqp::kAuthFlags));
    prefs->PutPersonalDataPref(IntParameter(request, rqp::kPersonalData));
    prefs->PutIsReadOnly(IntParameter(request, rqp::kReadOnly) != 0);
    prefs->PutUnattendedModePref(IntParameter(request, rqp::kUnattended));
    std::string file = request.Param(rqp::kFile);
    // The Web Connector's QuickBooks opens the file it has open, whatever is asked.
    if (options.backend != kWebConnectorBackend) {
      std::optional<std::string> allowed = companies.Resolve(file);
      if (!allowed) RaiseServe(kCouldNotOpenFileNumber, kMsgOutsideCompanyFolder);
      file = *allowed;
    }
    {
      std::lock_guard lock(connectionsMutex);
      if (sessions >= options.maxSessions) RaiseServe(kCouldNotAccessNumber, TooMany("sessions"));
      ++sessions;  // held while the file opens, so that racing callers cannot pass the cap
    }
    std::string ticket;
    try {
      ticket = processor.BeginSession(
          file, static_cast<qbEnumFileOpenMode>(IntParameter(request, rqp::kMode)));
    } catch (...) {
      std::lock_guard lock(connectionsMutex);
      --sessions;
      throw;
    }
    ++connection.sessions;
    response.headers.emplace_back(rqp::kPersonalData, std::to_string(prefs->GetPersonalDataPref()));
    response.headers.emplace_back(rqp::kUnattended, std::to_string(prefs->GetUnattendedModePref()));
    response.headers.emplace_back(rqp::kReadOnly, prefs->GetIsReadOnly() ? "1" : "0");
    response.headers.emplace_back(rqp::kObeyed, prefs->WasAuthPreferencesObeyed() ? "1" : "0");
    return ticket;
  }

  void EndedSessions(Connection& connection, size_t count) {
    released = true;
    count = std::min(count, connection.sessions);
    connection.sessions -= count;
    std::lock_guard lock(connectionsMutex);
    sessions -= count;
  }

  std::string Dispatch(const std::string& operation, const HttpRequest& request,
                       HttpResponse& response) {
    if (operation == "OpenConnection" || operation == "OpenConnection2")
      return Open(request, operation);
    if ((operation == "MajorVersion" || operation == "MinorVersion") &&
        !request.HasHeader(rqp::kConnectionHeader)) {
      std::shared_ptr<RequestProcessor> probe = NewProcessor();
      return std::to_string(operation == "MajorVersion" ? probe->MajorVersion()
                                                        : probe->MinorVersion());
    }
    std::shared_ptr<Connection> connection = FindConnection(request);
    std::lock_guard lock(connection->mutex);
    connection->lastUse = Clock::now();
    RequestProcessor& processor = *connection->processor;
    const std::string ticket(request.Header(rqp::kTicketHeader));
    if (operation == "ProcessRequest") return processor.ProcessRequest(ticket, request.body);
    if (operation == "BeginSession") return BeginSession(*connection, request, response);
    if (operation == "QBXMLVersionsForSession") {
      std::string lines;
      for (const std::string& version : processor.QBXMLVersionsForSession(ticket)) {
        if (!lines.empty()) lines += '\n';
        lines += version;
      }
      return lines;
    }
    if (operation == "GetCurrentCompanyFileName")
      return processor.GetCurrentCompanyFileName(ticket);
    if (operation == "ProcessSubscription") return processor.ProcessSubscription(request.body);
    if (operation == "MajorVersion") return std::to_string(processor.MajorVersion());
    if (operation == "MinorVersion") return std::to_string(processor.MinorVersion());
    if (operation == "EndSession") {
      processor.EndSession(ticket);
      EndedSessions(*connection, 1);
      return {};
    }
    if (operation == "CloseConnection") {
      processor.CloseConnection();
      EndedSessions(*connection, connection->sessions);
      std::lock_guard mapLock(connectionsMutex);
      connections.erase(std::string(request.Header(rqp::kConnectionHeader)));
      return {};
    }
    response.status = 404;
    response.outcome = "unknown operation";
    return {};
  }

  void HandleProcessor(const std::string& operation, const HttpRequest& request,
                       HttpResponse& response) {
    response.face = "rqp";
    response.operation = operation;
    try {
      std::string result = Dispatch(operation, request, response);
      if (response.status == 404) return;
      response.SetContent(std::move(result), "application/xml; charset=utf-8");
    } catch (const AutomationError& error) {
      AnswerError(response, error);
    } catch (const std::exception& error) {
      AnswerError(response, AutomationError(kUnexpectedNumber, std::string(kServeSource),
                                            std::string("Unexpected error: ") + error.what()));
    }
  }

  // ---- the Web Connector ----

  std::string Authenticate(const SoapCall& call, const std::string& peer, HttpResponse& response) {
    static constexpr std::string_view op = "authenticate";
    const std::string& user = call.Parameter("strUserName");
    LoginThrottle::Verdict verdict = logins.Begin(user, peer, Clock::now());
    bool accepted = false;
    if (verdict == LoginThrottle::Verdict::kCheck) {
      accepted = credentials.Verify(user, call.Parameter("strPassword"));
      logins.Finish(user, peer, accepted, Clock::now());
    }
    if (!accepted) {
      // Refused without a check, the answer is the same as for a wrong password.
      response.outcome = verdict == LoginThrottle::Verdict::kCheck    ? "nvu"
                         : verdict == LoginThrottle::Verdict::kLocked ? "nvu-locked"
                         : verdict == LoginThrottle::Verdict::kBusy   ? "nvu-busy"
                                                                      : "nvu-delayed";
      return SoapResult(op, std::vector<std::string>{RandomToken(), "nvu"});
    }
    NoteTicketPeer(peer);
    auto [issued, work] = queue->Authenticate();
    response.outcome = work ? "session" : "none";
    // With work, the second string names the company file QuickBooks should open; empty means
    // the one it has open.
    return SoapResult(op, std::vector<std::string>{issued, work ? options.company : "none"});
  }

  std::string WebConnectorCall(SoapCall& call, const std::string& peer, HttpResponse& response) {
    const std::string& op = call.operation;
    const std::string& ticket = call.Parameter("ticket");
    if (op == "serverVersion") return SoapResult(op, std::string("Brennock ") + kBrennockVersion);
    if (op == "clientVersion") return SoapResult(op, std::string_view());
    if (op == "authenticate") return Authenticate(call, peer, response);
    if (op == "sendRequestXML") {
      auto number = [&](const char* name) {
        const std::string& text = call.Parameter(name);
        int value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
      };
      std::optional<std::string> request = queue->SendRequestXml(
          ticket, call.Parameter("strHCPResponse"), call.Parameter("strCompanyFileName"),
          call.Parameter("qbXMLCountry"), number("qbXMLMajorVers"), number("qbXMLMinorVers"));
      if (!request) response.outcome = "invalid ticket";
      return SoapResult(op, request.value_or(std::string()));
    }
    if (op == "receiveResponseXML") {
      // The answer's text is handed on, not copied: it may be as large as the body.
      int percent = queue->ReceiveResponseXml(ticket, std::move(call.parameters["response"]),
                                              call.Parameter("hresult"), call.Parameter("message"));
      if (percent < 0) response.outcome = "invalid ticket";
      return SoapResult(op, percent);
    }
    if (op == "connectionError") {
      if (!queue->ConnectionError(ticket, call.Parameter("hresult"), call.Parameter("message")))
        response.outcome = "invalid ticket";
      return SoapResult(op, std::string_view("done"));
    }
    if (op == "getLastError") return SoapResult(op, queue->GetLastError(ticket));
    if (op == "closeConnection") {
      bool known = queue->CloseConnection(ticket);
      if (!known) response.outcome = "invalid ticket";
      return SoapResult(op, std::string_view(known ? "OK" : "The ticket parameter is invalid."));
    }
    // Interactive mode is not offered: no URL, and a done or rejected session just ends.
    if (op == "getInteractiveURL") return SoapResult(op, std::string_view());
    if (op == "interactiveDone") return SoapResult(op, std::string_view("Done"));
    if (op == "interactiveRejected") return SoapResult(op, std::string_view());
    return {};
  }

  void HandleWebConnector(HttpRequest& request, HttpResponse& response) {
    response.face = "wc";
    SoapCall call;
    std::string problem;
    bool parsed = ParseSoapCall(request.body, call, problem);
    std::string().swap(request.body);  // the call holds what is needed
    if (!parsed) {
      response.status = 500;
      response.SetContent(SoapFault("soap:Client", problem), "text/xml; charset=utf-8");
      response.outcome = problem;
      return;
    }
    response.operation = call.operation;
    std::string answer;
    try {
      answer = WebConnectorCall(call, request.peer, response);
    } catch (const std::exception& error) {
      response.status = 500;
      response.SetContent(SoapFault("soap:Server", error.what()), "text/xml; charset=utf-8");
      response.outcome = error.what();
      return;
    }
    if (answer.empty()) {
      response.status = 500;
      response.SetContent(
          SoapFault("soap:Client", "unknown operation " + QuotedPrefix(call.operation)),
          "text/xml; charset=utf-8");
      response.outcome = "unknown operation";
      return;
    }
    response.SetContent(std::move(answer), "text/xml; charset=utf-8");
  }
};

Server::Server(ServeOptions options, Credentials credentials)
    : state_(std::make_unique<State>(std::move(options), std::move(credentials))) {}

Server::~Server() {
  Stop();
  state_->listener.reset();  // waits for handlers still running
}

WebConnectorQueue& Server::Queue() { return *state_->queue; }

int Server::Port() const { return state_->port; }

void Server::Start() {
  State& s = *state_;
  const ServeOptions& o = s.options;
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
  if (o.certFile.empty() != o.keyFile.empty())
    throw std::runtime_error("HTTPS needs both a certificate and a key");
  if (o.certFile.empty() && !IsLoopback(o.host))
    throw std::runtime_error("listening on " + o.host +
                             " needs HTTPS: give a certificate and a key");
  ListenerOptions listen;
  listen.host = o.host;
  listen.port = o.port;
  listen.certFile = o.certFile;
  listen.keyFile = o.keyFile;
  listen.maxHeaderBytes = o.maxHeaderBytes;
  listen.headerTimeout = o.headerTimeout;
  listen.requestTimeout = o.readTimeout;
  listen.writeTimeout = o.readTimeout;
  listen.idleTimeout = o.idleTimeout;
  listen.maxConnections = o.maxConnections;
  listen.maxConnectionsPerPeer = o.maxConnectionsPerPeer;
  listen.memoryBudget = o.maxMemoryBytes;
  listen.lanes = {o.threads, o.webConnectorThreads};
  HttpService service;
  service.admit = [&s](const HttpRequest& head) { return s.Admit(head); };
  service.handle = [&s](HttpRequest& request, HttpResponse& response) {
    s.Handle(request, response);
  };
  service.log = [&s](const ExchangeRecord& record) { s.log.Write(record); };
  service.event = [&s](std::string_view fields) { s.log.Event(fields); };
  service.housekeeping = [&s] {
    s.SweepIdle();
    return s.released.exchange(false);
  };
  s.listener = std::make_unique<HttpListener>(std::move(listen), std::move(service));
  s.listener->Start();
  s.port = s.listener->Port();
}

bool Server::Stop(std::chrono::milliseconds grace) {
  State& s = *state_;
  s.queue->Shutdown();
  if (!s.listener) return true;
  return s.listener->Stop(Clock::now() + grace);
}

}  // namespace brennock::serve
