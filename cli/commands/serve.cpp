// brennock serve: the remote processor's server and the QuickBooks Web Connector's SOAP service.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "brennock/internal/util/text.h"
#include "brennock/session/remote_processor.h"
#include "bridges/serve/credentials.h"
#include "bridges/serve/event_delivery.h"
#include "bridges/serve/qwc.h"
#include "bridges/serve/request_log.h"
#include "bridges/serve/server.h"
#include "cli/app/cli_errors.h"
#include "cli/app/exit_codes.h"
#include "cli/app/global_options.h"
#include "cli/commands/commands.h"

namespace brennock::cli {
namespace {

struct ServeCommandOptions {
  std::string host = "127.0.0.1";
  int port = 8470;
  std::string cert, key, tokenFile, credentials, log, portFile;
  std::string backend = "Brennock.Simulator";
  std::string companyRoot;
  bool webConnector = false;
  bool noEvents = false;
  size_t maxBody = 16u << 20;
  size_t maxMemory = size_t{1} << 30;
  size_t maxConnections = 1024, maxConnectionsPerPeer = 64, maxSessions = 32;
  int headerTimeout = 10, requestTimeout = 30;
  int sessionWait = 60, answerWait = 300;
  // One-shot actions.
  std::string addUser, newToken, writeQwc;
  serve::QwcOptions qwc;
};

std::string ReadFirstLine(std::istream& in) {
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void WritePrivateFile(const std::string& path, const std::string& text) {
  mode_t previous = umask(077);
  std::ofstream out(path, std::ios::trunc);
  umask(previous);
  if (!(out << text) || !out.flush()) throw CommandFailure("cannot write " + path);
}

std::string Token(const ServeCommandOptions& o) {
  if (!o.tokenFile.empty()) {
    std::ifstream in(o.tokenFile);
    if (!in) throw CommandFailure("cannot read the token file " + o.tokenFile);
    return ReadFirstLine(in);
  }
  const char* token = std::getenv("BRENNOCK_SERVE_TOKEN");
  return token != nullptr ? token : "";
}

std::string PublicUrl(const ServeCommandOptions& o) {
  bool secure = !o.cert.empty();
  std::string host = o.host == "0.0.0.0" || o.host == "::" ? "localhost" : o.host;
  return std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(o.port) + "/wc";
}

// Posts the events of the company file's URL subscribers while serving; a company file without
// event queues is served all the same.
std::unique_ptr<serve::EventDelivery> StartEventDelivery(const std::string& company,
                                                         std::ostream* log) {
  if (company.empty()) return nullptr;
  serve::EventDeliveryOptions options;
  options.companyPath = company;
  options.log = log;
  auto events = std::make_unique<serve::EventDelivery>(options);
  try {
    events->Start();
  } catch (const std::exception& error) {
    serve::WriteLogEvent(log, "event=events-off reason=" + serve::LogValue(error.what()));
    return nullptr;
  }
  serve::WriteLogEvent(log, "event=events company=" + serve::LogValue(company));
  return events;
}

int RunServe(ServeCommandOptions& o, const GlobalOptions& globals) {
  if (!o.newToken.empty()) {
    WritePrivateFile(o.newToken, serve::RandomToken() + "\n");
    return kExitOk;
  }
  if (!o.addUser.empty()) {
    if (o.credentials.empty()) throw UsageError("--add-user needs --credentials FILE");
    std::string password = ReadFirstLine(std::cin);
    try {
      serve::Credentials::AddUser(o.credentials, o.addUser, password);
    } catch (const std::runtime_error& e) {
      throw CommandFailure(e.what());
    }
    if (!globals.quiet) std::cerr << "brennock: user " << o.addUser << " saved\n";
    return kExitOk;
  }
  if (!o.writeQwc.empty()) {
    if (o.qwc.appUrl.empty()) o.qwc.appUrl = PublicUrl(o);
    std::ofstream out(o.writeQwc, std::ios::trunc);
    if (!(out << serve::QwcDocument(o.qwc)) || !out.flush())
      throw CommandFailure("cannot write " + o.writeQwc);
    return kExitOk;
  }

  serve::ServeOptions options;
  options.host = o.host;
  options.port = o.port;
  options.certFile = o.cert;
  options.keyFile = o.key;
  options.token = Token(o);
  if (options.token.empty())
    throw UsageError("a token is needed: --token-file FILE or $BRENNOCK_SERVE_TOKEN");
  options.backend = o.webConnector ? std::string(serve::kWebConnectorBackend) : o.backend;
  if (AsciiEqualsIgnoreCase(options.backend, kRemoteProcessorProgId))
    throw UsageError("brennock serve cannot serve through the remote processor itself");
  options.company = globals.company;
  options.companyRoot = o.companyRoot;
  options.maxBodyBytes = o.maxBody;
  options.maxMemoryBytes = o.maxMemory;
  options.maxConnections = o.maxConnections;
  options.maxConnectionsPerPeer = o.maxConnectionsPerPeer;
  options.maxSessions = o.maxSessions;
  options.headerTimeout = std::chrono::seconds(o.headerTimeout);
  options.readTimeout = std::chrono::seconds(o.requestTimeout);
  options.webConnector.sessionWait = std::chrono::seconds(o.sessionWait);
  options.webConnector.answerWait = std::chrono::seconds(o.answerWait);
  std::ofstream logFile;
  options.log = &std::cerr;
  if (!o.log.empty()) {
    logFile.open(o.log, std::ios::app);
    if (!logFile) throw CommandFailure("cannot open the log " + o.log);
    options.log = &logFile;
  }
  serve::Credentials credentials;
  if (!o.credentials.empty()) {
    try {
      credentials = serve::Credentials::Load(o.credentials);
    } catch (const std::runtime_error& e) {
      throw CommandFailure(e.what());
    }
  } else if (o.webConnector) {
    throw UsageError("--web-connector needs --credentials FILE (see --add-user)");
  }

  // Signals are taken by this thread alone: block them before any server thread starts.
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGTERM);
  sigaddset(&stopping, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

  std::ostream* log = options.log;
  serve::Server server(std::move(options), std::move(credentials));
  try {
    server.Start();
  } catch (const std::runtime_error& e) {
    throw CommandFailure(e.what());
  }
  o.port = server.Port();
  serve::WriteLogEvent(
      log, "event=start listen=" + serve::LogValue(o.host + ":" + std::to_string(o.port)) +
               " tls=" + (o.cert.empty() ? "off" : "on") +
               " backend=" + serve::LogValue(o.webConnector ? "webconnector" : o.backend));
  if (!o.portFile.empty()) WritePrivateFile(o.portFile, std::to_string(o.port) + "\n");
  std::unique_ptr<serve::EventDelivery> events =
      o.noEvents || o.webConnector ? nullptr : StartEventDelivery(globals.company, log);
  int signal = 0;
  sigwait(&stopping, &signal);
  serve::WriteLogEvent(
      log, std::string("event=stopping signal=") + (signal == SIGTERM ? "TERM" : "INT"));
  if (events) events->Stop();
  if (!server.Stop()) {
    // A request still runs (a processor does not return): it is not waited for.
    serve::WriteLogEvent(log, "event=stopped unfinished=1");
    std::_Exit(kExitOk);
  }
  serve::WriteLogEvent(log, "event=stopped");
  return kExitOk;
}

}  // namespace

CommandRun AttachServeCommand(CLI::App& app, const GlobalOptions& globals) {
  CLI::App* serve = app.add_subcommand(
      "serve", "Serve the remote request processor and the QuickBooks Web Connector over HTTP(S)");
  serve->footer(R"(Examples:
  brennock serve --new-token /etc/brennock/token
  brennock serve --token-file /etc/brennock/token --company /srv/books.qbw
  echo 'secret' | brennock serve --add-user qbwc --credentials /etc/brennock/users
  brennock serve --web-connector --credentials /etc/brennock/users --token-file /etc/brennock/token \
      --host 0.0.0.0 --port 8443 --cert server.pem --key server.key
  brennock serve --write-qwc brennock.qwc --url https://books.example.com:8443/wc --user qbwc

Clients choose brennockRqP.RequestProcessor with BRENNOCK_REMOTE_URL=http://127.0.0.1:8470
and BRENNOCK_REMOTE_TOKEN. With --company, events of subscriptions whose callback is a URL
(brennock subscribe data --url URL) are posted there. SIGTERM fails waiting callers cleanly and
stops.)");
  auto o = std::make_shared<ServeCommandOptions>();
  serve->add_option("--host", o->host, "Address to listen on (HTTPS needed beyond loopback)")
      ->capture_default_str();
  serve->add_option("--port", o->port, "Port to listen on; 0 picks a free one")
      ->capture_default_str();
  serve->add_option("--port-file", o->portFile, "Write the port listened on to this file");
  serve->add_option("--cert", o->cert, "Certificate chain (PEM) for HTTPS");
  serve->add_option("--key", o->key, "Private key (PEM) for HTTPS");
  serve->add_option("--token-file", o->tokenFile,
                    "File whose first line is the token clients must send "
                    "(default: $BRENNOCK_SERVE_TOKEN)");
  serve->add_option("--backend", o->backend, "Request processor ProgID that answers requests")
      ->capture_default_str();
  serve->add_flag("--web-connector", o->webConnector,
                  "Answer requests through the QuickBooks Web Connector instead");
  serve->add_flag("--no-events", o->noEvents,
                  "Do not post the company file's events to URL subscribers");
  serve->add_option("--credentials", o->credentials, "Web Connector users file");
  serve->add_option("--company-root", o->companyRoot,
                    "Folder whose company files sessions may open (default: that of --company)");
  serve
      ->add_option("--max-sessions", o->maxSessions, "Remote connections and sessions open at once")
      ->capture_default_str();
  serve->add_option("--max-body", o->maxBody, "Largest request body in bytes")
      ->capture_default_str();
  serve
      ->add_option("--max-memory", o->maxMemory,
                   "Bytes request bodies in flight may take, with their processing")
      ->capture_default_str();
  serve->add_option("--max-connections", o->maxConnections, "Connections open at once")
      ->capture_default_str();
  serve
      ->add_option("--max-connections-per-peer", o->maxConnectionsPerPeer,
                   "Connections open at once from one address")
      ->capture_default_str();
  serve
      ->add_option("--header-timeout", o->headerTimeout,
                   "Seconds a request's head may take from its first byte")
      ->capture_default_str();
  serve
      ->add_option("--request-timeout", o->requestTimeout,
                   "Seconds a whole request may take from its first byte")
      ->capture_default_str();
  serve
      ->add_option("--session-wait", o->sessionWait,
                   "Seconds a request waits for a Web Connector session")
      ->capture_default_str();
  serve->add_option("--answer-wait", o->answerWait, "Seconds a sent request waits for QuickBooks")
      ->capture_default_str();
  serve->add_option("--log", o->log, "Append the request log here (default: standard error)");
  serve->add_option("--add-user", o->addUser,
                    "Save a Web Connector user (password on standard input) and exit");
  serve->add_option("--new-token", o->newToken, "Write a new random token to FILE and exit");
  serve->add_option("--write-qwc", o->writeQwc, "Write the Web Connector's .qwc file and exit");
  serve->add_option("--url", o->qwc.appUrl, "AppURL of the .qwc file (default from --host/--port)");
  serve->add_option("--app-name", o->qwc.appName, "AppName of the .qwc file")
      ->capture_default_str();
  serve->add_option("--user", o->qwc.userName, "UserName of the .qwc file")->capture_default_str();
  serve
      ->add_option("--interval", o->qwc.runEveryMinutes,
                   "Minutes between Web Connector runs in the .qwc file (0: none)")
      ->capture_default_str();
  serve->add_option("--qb-type", o->qwc.qbType, "QBType of the .qwc file (QBFS or QBPOS)")
      ->capture_default_str();
  return [o, &globals] { return RunServe(*o, globals); };
}

}  // namespace brennock::cli
