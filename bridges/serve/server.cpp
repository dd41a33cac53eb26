#include "bridges/serve/server.h"

#include <httplib.h>
#include <sodium.h>

#include <charconv>
#include <ctime>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "brennock/session/processor_registry.h"
#include "brennock/version.h"
#include "bridges/remote/rqp_protocol.h"
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

int32_t IntParameter(const httplib::Request& request, const char* name) {
  std::string text = request.get_param_value(name);
  int32_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Tokens are compared through fixed-size digests, in constant time.
bool SameSecret(const std::string& given, const std::string& expected) {
  unsigned char a[crypto_generichash_BYTES], b[crypto_generichash_BYTES];
  crypto_generichash(a, sizeof a, reinterpret_cast<const unsigned char*>(given.data()),
                     given.size(), nullptr, 0);
  crypto_generichash(b, sizeof b, reinterpret_cast<const unsigned char*>(expected.data()),
                     expected.size(), nullptr, 0);
  return sodium_memcmp(a, b, sizeof a) == 0;
}

void AnswerError(httplib::Response& response, const AutomationError& error) {
  response.status = 500;
  response.set_header(rqp::kErrorNumberHeader, std::to_string(error.Number()));
  response.set_header(rqp::kErrorSourceHeader, error.Source());
  response.set_content(error.Description(), "text/plain; charset=utf-8");
  NoteOutcome(error.Description());
}

struct Connection {
  std::mutex mutex;  // one call at a time on a processor
  std::shared_ptr<RequestProcessor> processor;
  Clock::time_point lastUse = Clock::now();
};

}  // namespace

bool BearerTokenAccepted(const std::string& authorization, const std::string& token) {
  return !token.empty() && authorization.starts_with("Bearer ") &&
         SameSecret(authorization.substr(7), token);
}

struct Server::State {
  ServeOptions options;
  Credentials credentials;
  std::shared_ptr<WebConnectorQueue> queue;
  std::unique_ptr<httplib::Server> http;
  std::thread listener;
  int port = 0;
  std::mutex connectionsMutex;
  std::map<std::string, std::shared_ptr<Connection>> connections;
  RequestLog log;

  State(ServeOptions o, Credentials c)
      : options(std::move(o)),
        credentials(std::move(c)),
        queue(std::make_shared<WebConnectorQueue>(options.webConnector)),
        log(options.log) {}

  std::shared_ptr<RequestProcessor> NewProcessor() {
    if (options.backend == kWebConnectorBackend) return CreateWebConnectorProcessor(queue);
    std::shared_ptr<RequestProcessor> processor = CreateRequestProcessor(options.backend);
    if (!processor)
      RaiseServe(kCouldNotAccessNumber, std::string(kMsgNoProcessor) + options.backend);
    return processor;
  }

  // Drops connections whose client went away without closing them.
  void SweepIdle() {
    Clock::time_point limit = Clock::now() - options.idleConnection;
    std::lock_guard lock(connectionsMutex);
    std::erase_if(connections, [&](const auto& entry) {
      return entry.second.use_count() == 1 && entry.second->lastUse < limit;
    });
  }

  std::shared_ptr<Connection> FindConnection(const httplib::Request& request) {
    std::string id = request.get_header_value(rqp::kConnectionHeader);
    std::lock_guard lock(connectionsMutex);
    auto found = connections.find(id);
    if (found == connections.end()) RaiseServe(kCouldNotAccessNumber, kMsgUnknownConnection);
    return found->second;
  }

  std::string Open(const httplib::Request& request, const std::string& operation) {
    SweepIdle();
    auto connection = std::make_shared<Connection>();
    connection->processor = NewProcessor();
    std::string appId = request.get_param_value(rqp::kAppId);
    std::string appName = request.get_param_value(rqp::kAppName);
    if (operation == "OpenConnection2")
      connection->processor->OpenConnection2(
          appId, appName, static_cast<qbConnectionType>(IntParameter(request, rqp::kPreference)));
    else
      connection->processor->OpenConnection(appId, appName);
    std::string id = RandomToken();
    std::lock_guard lock(connectionsMutex);
    connections.emplace(id, std::move(connection));
    return id;
  }

  std::string BeginSession(RequestProcessor& processor, const httplib::Request& request,
                           httplib::Response& response) {
    std::shared_ptr<AuthPreferences> prefs = processor.AuthPreferences();
    prefs->PutAuthFlags(IntParameter(request, rqp::kAuthFlags));
    prefs->PutPersonalDataPref(IntParameter(request, rqp::kPersonalData));
    prefs->PutIsReadOnly(IntParameter(request, rqp::kReadOnly) != 0);
    prefs->PutUnattendedModePref(IntParameter(request, rqp::kUnattended));
    std::string file = request.get_param_value(rqp::kFile);
    if (file.empty()) file = options.company;
    std::string ticket = processor.BeginSession(
        file, static_cast<qbEnumFileOpenMode>(IntParameter(request, rqp::kMode)));
    response.set_header(rqp::kPersonalData, std::to_string(prefs->GetPersonalDataPref()));
    response.set_header(rqp::kUnattended, std::to_string(prefs->GetUnattendedModePref()));
    response.set_header(rqp::kReadOnly, prefs->GetIsReadOnly() ? "1" : "0");
    response.set_header(rqp::kObeyed, prefs->WasAuthPreferencesObeyed() ? "1" : "0");
    return ticket;
  }

  std::string Dispatch(const std::string& operation, const httplib::Request& request,
                       httplib::Response& response) {
    if (operation == "OpenConnection" || operation == "OpenConnection2")
      return Open(request, operation);
    if ((operation == "MajorVersion" || operation == "MinorVersion") &&
        !request.has_header(rqp::kConnectionHeader)) {
      std::shared_ptr<RequestProcessor> probe = NewProcessor();
      return std::to_string(operation == "MajorVersion" ? probe->MajorVersion()
                                                        : probe->MinorVersion());
    }
    std::shared_ptr<Connection> connection = FindConnection(request);
    std::lock_guard lock(connection->mutex);
    connection->lastUse = Clock::now();
    RequestProcessor& processor = *connection->processor;
    const std::string ticket = request.get_header_value(rqp::kTicketHeader);
    if (operation == "ProcessRequest") return processor.ProcessRequest(ticket, request.body);
    if (operation == "BeginSession") return BeginSession(processor, request, response);
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
      return {};
    }
    if (operation == "CloseConnection") {
      processor.CloseConnection();
      std::lock_guard mapLock(connectionsMutex);
      connections.erase(request.get_header_value(rqp::kConnectionHeader));
      return {};
    }
    response.status = 404;
    return {};
  }

  void HandleProcessor(const std::string& operation, const httplib::Request& request,
                       httplib::Response& response) {
    NoteOperation("rqp", operation);
    std::string authorization = request.get_header_value("Authorization");
    if (!BearerTokenAccepted(authorization, options.token)) {
      response.status = 401;
      response.set_header("WWW-Authenticate", "Bearer");
      NoteOutcome("token refused");
      return;
    }
    try {
      std::string result = Dispatch(operation, request, response);
      if (response.status == 404) return;
      response.set_content(std::move(result), "application/xml; charset=utf-8");
    } catch (const AutomationError& error) {
      AnswerError(response, error);
    } catch (const std::exception& error) {
      AnswerError(response, AutomationError(kUnexpectedNumber, std::string(kServeSource),
                                            std::string("Unexpected error: ") + error.what()));
    }
  }

  std::string WebConnectorCall(const SoapCall& call) {
    const std::string& op = call.operation;
    const std::string& ticket = call.Parameter("ticket");
    if (op == "serverVersion") return SoapResult(op, std::string("Brennock ") + kBrennockVersion);
    if (op == "clientVersion") return SoapResult(op, std::string_view());
    if (op == "authenticate") {
      const std::string& user = call.Parameter("strUserName");
      if (!credentials.Verify(user, call.Parameter("strPassword"))) {
        NoteOutcome("nvu");
        return SoapResult(op, std::vector<std::string>{RandomToken(), "nvu"});
      }
      auto [issued, work] = queue->Authenticate();
      NoteOutcome(work ? "session" : "none");
      // With work, the second string names the company file QuickBooks should open; empty means
      // the one it has open.
      return SoapResult(op, std::vector<std::string>{issued, work ? options.company : "none"});
    }
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
      if (!request) NoteOutcome("invalid ticket");
      return SoapResult(op, request.value_or(std::string()));
    }
    if (op == "receiveResponseXML") {
      int percent = queue->ReceiveResponseXml(ticket, call.Parameter("response"),
                                              call.Parameter("hresult"), call.Parameter("message"));
      if (percent < 0) NoteOutcome("invalid ticket");
      return SoapResult(op, percent);
    }
    if (op == "connectionError") {
      if (!queue->ConnectionError(ticket, call.Parameter("hresult"), call.Parameter("message")))
        NoteOutcome("invalid ticket");
      return SoapResult(op, std::string_view("done"));
    }
    if (op == "getLastError") return SoapResult(op, queue->GetLastError(ticket));
    if (op == "closeConnection") {
      bool known = queue->CloseConnection(ticket);
      if (!known) NoteOutcome("invalid ticket");
      return SoapResult(op, std::string_view(known ? "OK" : "The ticket parameter is invalid."));
    }
    // Interactive mode is not offered: no URL, and a done or rejected session just ends.
    if (op == "getInteractiveURL") return SoapResult(op, std::string_view());
    if (op == "interactiveDone") return SoapResult(op, std::string_view("Done"));
    if (op == "interactiveRejected") return SoapResult(op, std::string_view());
    return {};
  }

  void HandleWebConnector(const httplib::Request& request, httplib::Response& response) {
    SoapCall call;
    std::string problem;
    NoteOperation("wc", "");
    if (!ParseSoapCall(request.body, call, problem)) {
      response.status = 500;
      response.set_content(SoapFault("soap:Client", problem), "text/xml; charset=utf-8");
      NoteOutcome(problem);
      return;
    }
    NoteOperation("wc", call.operation);
    std::string answer;
    try {
      answer = WebConnectorCall(call);
    } catch (const std::exception& error) {
      response.status = 500;
      response.set_content(SoapFault("soap:Server", error.what()), "text/xml; charset=utf-8");
      NoteOutcome(error.what());
      return;
    }
    if (answer.empty()) {
      response.status = 500;
      response.set_content(SoapFault("soap:Client", "unknown operation " + call.operation),
                           "text/xml; charset=utf-8");
      NoteOutcome("unknown operation");
      return;
    }
    response.set_content(std::move(answer), "text/xml; charset=utf-8");
  }
};

Server::Server(ServeOptions options, Credentials credentials)
    : state_(std::make_unique<State>(std::move(options), std::move(credentials))) {}

Server::~Server() { Stop(); }

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
  if (o.certFile.empty()) {
    s.http = std::make_unique<httplib::Server>();
  } else {
    auto secure = std::make_unique<httplib::SSLServer>(o.certFile.c_str(), o.keyFile.c_str());
    if (!secure->is_valid())
      throw std::runtime_error("cannot use the certificate " + o.certFile + " and key " +
                               o.keyFile);
    s.http = std::move(secure);
  }
  httplib::Server& http = *s.http;
  size_t threads = o.threads;
  http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  http.set_payload_max_length(o.maxBodyBytes);
  http.set_read_timeout(o.readTimeout);
  http.set_write_timeout(o.readTimeout);
  http.set_keep_alive_max_count(1u << 20);
  // Stopping waits for idle keep-alive connections to time out.
  http.set_keep_alive_timeout(2);
  http.set_tcp_nodelay(true);
  http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    StartRequest();
    return httplib::Server::HandlerResponse::Unhandled;
  });
  http.set_logger([&s](const httplib::Request& request, const httplib::Response& response) {
    s.log.Write(request.method, request.path, response.status, request.remote_addr);
  });
  http.Post(R"(/rqp/1/(\w+))", [&s](const httplib::Request& request, httplib::Response& response) {
    s.HandleProcessor(request.matches[1], request, response);
  });
  http.Post("/wc", [&s](const httplib::Request& request, httplib::Response& response) {
    s.HandleWebConnector(request, response);
  });
  http.Get("/health", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok\n", "text/plain");
  });
  // The .qwc file's AppSupport page, which the Web Connector requires to exist.
  http.Get("/support", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(
        "Brennock serve: qbXML for programs on other machines, through the "
        "QuickBooks Web Connector.\n",
        "text/plain; charset=utf-8");
  });
  if (o.port == 0) {
    s.port = http.bind_to_any_port(o.host.c_str());
  } else {
    s.port = http.bind_to_port(o.host.c_str(), o.port) ? o.port : -1;
  }
  if (s.port <= 0)
    throw std::runtime_error("cannot listen on " + o.host + ":" + std::to_string(o.port));
  s.listener = std::thread([&http] { http.listen_after_bind(); });
  // stop() only takes effect once the loop runs.
  for (int i = 0; i < 5000 && !http.is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void Server::Stop() {
  State& s = *state_;
  s.queue->Shutdown();
  if (s.http) s.http->stop();
  if (s.listener.joinable()) s.listener.join();
}

}  // namespace brennock::serve
