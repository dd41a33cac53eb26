#include "bridges/serve/web_connector.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <pugixml.hpp>
#include <utility>

#include "bridges/serve/serve_errors.h"

namespace brennock::serve {

void RaiseServe(int32_t number, std::string_view description) {
  throw AutomationError(number, std::string(kServeSource), std::string(description));
}

std::string RandomToken() {
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[sizeof bytes * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return hex;
}

namespace {

using Clock = std::chrono::steady_clock;

std::string Seconds(std::chrono::milliseconds wait) {
  if (wait.count() == 1000) return "1 second.";
  if (wait.count() % 1000 == 0) return std::to_string(wait.count() / 1000) + " seconds.";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f seconds.", static_cast<double>(wait.count()) / 1000);
  return text;
}

// "0x80040400" (as the Web Connector writes HRESULTs), or a decimal number.
int32_t HresultNumber(const std::string& hresult) {
  std::string_view text = hresult;
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || value == 0)
    return kCouldNotAccessNumber;
  return static_cast<int32_t>(value);
}

AutomationError WebConnectorError(const std::string& hresult, const std::string& message) {
  return AutomationError(HresultNumber(hresult), "QuickBooks Web Connector",
                         std::string(kMsgConnectionError) + message);
}

// The host answer QuickBooks sends with the first sendRequestXML: versions from HostRet.
void ReadHostAnswer(const std::string& hcpResponse, WebConnectorHost& host) {
  pugi::xml_document document;
  if (!document.load_buffer(hcpResponse.data(), hcpResponse.size())) return;
  pugi::xml_node hostRet = document.select_node("//HostRet").node();
  for (pugi::xml_node version : hostRet.children("SupportedQBXMLVersion"))
    host.versions.emplace_back(version.child_value());
  if (host.country.empty()) host.country = hostRet.child_value("Country");
}

class WebConnectorProcessor final : public RequestProcessor {
 public:
  explicit WebConnectorProcessor(std::shared_ptr<WebConnectorQueue> queue)
      : queue_(std::move(queue)) {}
  ~WebConnectorProcessor() override {
    if (!ticket_.empty()) queue_->EndSession();
  }

  void OpenConnection(const std::string&, const std::string&) override {}
  void OpenConnection2(const std::string&, const std::string&, qbConnectionType) override {}
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override {
    if (!preferences_) preferences_ = std::make_shared<brennock::AuthPreferences>();
    return preferences_;
  }
  std::string BeginSession(const std::string&, qbEnumFileOpenMode) override {
    // QuickBooks works on the company file its Web Connector has open, whatever the path asks.
    host_ = queue_->BeginSession();
    ticket_ = RandomToken();
    return ticket_;
  }
  std::string GetCurrentCompanyFileName(const std::string& ticket) override {
    Check(ticket);
    return host_.companyFile;
  }
  std::vector<std::string> QBXMLVersionsForSession(const std::string& ticket) override {
    Check(ticket);
    return host_.versions;
  }
  std::string ProcessRequest(const std::string& ticket, const std::string& inputRequest) override {
    Check(ticket);
    return queue_->Submit(inputRequest);
  }
  std::string ProcessSubscription(const std::string& inputRequest) override {
    return queue_->Submit(inputRequest);
  }
  int16_t MajorVersion() override { return KnownHost().majorVersion; }
  int16_t MinorVersion() override { return KnownHost().minorVersion; }
  void EndSession(const std::string& ticket) override {
    Check(ticket);
    ticket_.clear();
    queue_->EndSession();
  }
  void CloseConnection() override {}

 private:
  void Check(const std::string& ticket) const {
    if (ticket_.empty() || ticket != ticket_) RaiseServe(kInvalidTicketNumber, kMsgInvalidTicket);
  }
  WebConnectorHost KnownHost() const { return queue_->Host().value_or(WebConnectorHost()); }

  std::shared_ptr<WebConnectorQueue> queue_;
  std::shared_ptr<brennock::AuthPreferences> preferences_;
  WebConnectorHost host_;
  std::string ticket_;
};

}  // namespace

std::shared_ptr<RequestProcessor> CreateWebConnectorProcessor(
    std::shared_ptr<WebConnectorQueue> queue) {
  return std::make_shared<WebConnectorProcessor>(std::move(queue));
}

// ---- the library's side ----

WebConnectorHost WebConnectorQueue::BeginSession() {
  Lock lock(mutex_);
  ++waitingSessions_;
  changed_.wait_for(lock, times_.sessionWait, [&] { return host_ || shuttingDown_; });
  --waitingSessions_;
  if (shuttingDown_) RaiseServe(kCouldNotAccessNumber, kMsgShuttingDown);
  if (!host_)
    RaiseServe(kCouldNotAccessNumber,
               std::string(kMsgNoWebConnector) + Seconds(times_.sessionWait));
  ++openSessions_;
  return *host_;
}

void WebConnectorQueue::EndSession() {
  Lock lock(mutex_);
  if (openSessions_ > 0) --openSessions_;
  changed_.notify_all();
}

std::optional<WebConnectorHost> WebConnectorQueue::Host() const {
  Lock lock(mutex_);
  return host_;
}

std::string WebConnectorQueue::Submit(const std::string& request) {
  auto job = std::make_shared<Job>();
  job->request = request;
  Lock lock(mutex_);
  if (shuttingDown_) RaiseServe(kCouldNotAccessNumber, kMsgShuttingDown);
  queued_.push_back(job);
  changed_.notify_all();
  if (!changed_.wait_for(lock, times_.sessionWait, [&] { return job->state != Job::kQueued; })) {
    std::erase(queued_, job);
    RaiseServe(kCouldNotAccessNumber,
               std::string(kMsgNoWebConnector) + Seconds(times_.sessionWait));
  }
  if (!changed_.wait_for(lock, times_.answerWait, [&] { return job->state == Job::kDone; })) {
    // Sent and never answered: failed here, and an answer that comes later is dropped.
    job->state = Job::kDone;
    RaiseServe(kCouldNotAccessNumber, std::string(kMsgNoAnswer) + Seconds(times_.answerWait));
  }
  if (job->error) throw *job->error;
  return std::move(job->response);
}

// ---- the Web Connector's side ----

bool WebConnectorQueue::HasWork() const {
  return !queued_.empty() || openSessions_ > 0 || waitingSessions_ > 0;
}

WebConnectorQueue::Ticket* WebConnectorQueue::FindTicket(const std::string& ticket) {
  auto found = tickets_.find(ticket);
  if (found == tickets_.end()) return nullptr;
  Clock::time_point now = Clock::now();
  if (now - found->second.lastUse > times_.ticketLifetime) {
    if (found->second.inFlight)
      Finish(*found->second.inFlight,
             AutomationError(kCouldNotAccessNumber, std::string(kServeSource),
                             std::string(kMsgSessionClosed)));
    tickets_.erase(found);
    return nullptr;
  }
  found->second.lastUse = now;
  return &found->second;
}

void WebConnectorQueue::ExpireTickets() {
  for (auto it = tickets_.begin(); it != tickets_.end();) {
    auto next = std::next(it);
    FindTicket(it->first);  // erases it when expired
    it = next;
  }
}

void WebConnectorQueue::Finish(Job& job, std::optional<AutomationError> error,
                               std::string response) {
  if (job.state == Job::kDone) return;  // its caller already gave up
  job.error = std::move(error);
  job.response = std::move(response);
  job.state = Job::kDone;
  changed_.notify_all();
}

std::pair<std::string, bool> WebConnectorQueue::Authenticate() {
  Lock lock(mutex_);
  ExpireTickets();
  std::string ticket = RandomToken();
  Clock::time_point now = Clock::now();
  tickets_[ticket] = Ticket{now, now, nullptr, {}, 0};
  return {ticket, HasWork() && !shuttingDown_};
}

std::optional<std::string> WebConnectorQueue::SendRequestXml(const std::string& ticket,
                                                             const std::string& hcpResponse,
                                                             const std::string& companyFile,
                                                             const std::string& country, int major,
                                                             int minor) {
  Lock lock(mutex_);
  Ticket* session = FindTicket(ticket);
  if (session == nullptr) return std::nullopt;
  if (!hcpResponse.empty()) {
    WebConnectorHost host;
    host.companyFile = companyFile;
    host.country = country;
    host.majorVersion = static_cast<int16_t>(major);
    host.minorVersion = static_cast<int16_t>(minor);
    ReadHostAnswer(hcpResponse, host);
    if (host.versions.empty())
      host.versions.push_back(std::to_string(major) + "." + std::to_string(minor));
    host_ = std::move(host);
    changed_.notify_all();
  }
  changed_.wait_for(lock, times_.hold, [&] { return !queued_.empty() || shuttingDown_; });
  session = FindTicket(ticket);
  if (session == nullptr) return std::nullopt;
  if (queued_.empty() || shuttingDown_) {
    // Nothing to send: "NoOp" asks the Web Connector to call again shortly while callers still
    // hold sessions open; otherwise the session ends.
    bool keep =
        !shuttingDown_ && HasWork() && Clock::now() - session->lastWork < times_.idleSession;
    session->lastError = keep ? "NoOp" : "No more requests.";
    return std::string();
  }
  std::shared_ptr<Job> job = std::move(queued_.front());
  queued_.pop_front();
  job->state = Job::kSent;
  session->inFlight = job;
  session->lastWork = Clock::now();
  changed_.notify_all();
  return std::move(job->request);  // sent at most once: the queue keeps no copy
}

int WebConnectorQueue::ReceiveResponseXml(const std::string& ticket, std::string response,
                                          const std::string& hresult, const std::string& message) {
  Lock lock(mutex_);
  Ticket* session = FindTicket(ticket);
  if (session == nullptr) return -1;
  if (std::shared_ptr<Job> job = std::exchange(session->inFlight, nullptr)) {
    if (hresult.empty())
      Finish(*job, std::nullopt, std::move(response));
    else
      Finish(*job, WebConnectorError(hresult, message));
    ++session->answered;
  }
  session->lastWork = Clock::now();
  // Callers usually send their next request at once: wait a moment for it before letting the Web
  // Connector go.
  changed_.wait_for(lock, times_.hold, [&] {
    return !queued_.empty() || (openSessions_ == 0 && waitingSessions_ == 0) || shuttingDown_;
  });
  session = FindTicket(ticket);
  if (session == nullptr) return -1;
  if (shuttingDown_ || !HasWork()) return 100;
  int answered = session->answered;
  int total = answered + static_cast<int>(queued_.size()) + 1;
  return std::clamp(answered * 100 / total, 1, 99);
}

bool WebConnectorQueue::ConnectionError(const std::string& ticket, const std::string& hresult,
                                        const std::string& message) {
  Lock lock(mutex_);
  Ticket* session = FindTicket(ticket);
  if (session == nullptr) return false;
  if (std::shared_ptr<Job> job = std::exchange(session->inFlight, nullptr))
    Finish(*job, WebConnectorError(hresult, message));
  session->lastError = message;
  return true;
}

std::string WebConnectorQueue::GetLastError(const std::string& ticket) {
  Lock lock(mutex_);
  Ticket* session = FindTicket(ticket);
  if (session == nullptr) return std::string(kMsgInvalidTicket);
  return session->lastError;
}

bool WebConnectorQueue::CloseConnection(const std::string& ticket) {
  Lock lock(mutex_);
  Ticket* session = FindTicket(ticket);
  if (session == nullptr) return false;
  if (session->inFlight)
    Finish(*session->inFlight, AutomationError(kCouldNotAccessNumber, std::string(kServeSource),
                                               std::string(kMsgSessionClosed)));
  tickets_.erase(ticket);
  return true;
}

void WebConnectorQueue::Shutdown() {
  Lock lock(mutex_);
  shuttingDown_ = true;
  AutomationError stopping(kCouldNotAccessNumber, std::string(kServeSource),
                           std::string(kMsgShuttingDown));
  for (auto& job : queued_) Finish(*job, stopping);
  queued_.clear();
  for (auto& [key, session] : tickets_)
    if (session.inFlight) Finish(*std::exchange(session.inFlight, nullptr), stopping);
  changed_.notify_all();
}

size_t WebConnectorQueue::QueuedCount() const {
  Lock lock(mutex_);
  return queued_.size();
}

}  // namespace brennock::serve
