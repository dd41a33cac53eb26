#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/session/request_processor.h"

namespace brennock::serve {

struct WebConnectorTimes {
  // How long a caller waits for a Web Connector session to take its request, and then for the
  // answer.
  std::chrono::milliseconds sessionWait{std::chrono::seconds(60)};
  std::chrono::milliseconds answerWait{std::chrono::seconds(300)};
  // How long sendRequestXML and receiveResponseXML hold the Web Connector for the next request.
  std::chrono::milliseconds hold{std::chrono::seconds(2)};
  // A session with nothing to do for this long is let go even while callers keep sessions open.
  std::chrono::milliseconds idleSession{std::chrono::seconds(60)};
  // Tickets expire this long after their last use.
  std::chrono::milliseconds ticketLifetime{std::chrono::minutes(15)};
};

// What QuickBooks told about itself at the start of the last Web Connector session.
struct WebConnectorHost {
  std::vector<std::string> versions;  // SupportedQBXMLVersion, in order
  std::string companyFile;
  std::string country;
  int16_t majorVersion = 13;
  int16_t minorVersion = 0;
};

// The queue between callers of the library (through WebConnectorProcessor) and the QuickBooks Web
// Connector (through the SOAP calls). A request waits until the Web Connector's next
// sendRequestXML takes it; the answer from receiveResponseXML goes back to the waiting caller. A
// request is sent at most once: one whose session fails before the answer fails its caller; one
// never sent stays queued for the next session.
class WebConnectorQueue {
 public:
  explicit WebConnectorQueue(WebConnectorTimes times) : times_(times) {}

  // ---- the library's side ----
  // Waits until the host of a Web Connector session is known; returns it.
  WebConnectorHost BeginSession();
  void EndSession();
  // Queues the request and waits for its answer; throws AutomationError on failure or timeout.
  std::string Submit(const std::string& request);
  std::optional<WebConnectorHost> Host() const;

  // ---- the Web Connector's side (tickets from authenticate) ----
  // A new ticket for an authenticated user, and whether there is work (false: answer "none").
  std::pair<std::string, bool> Authenticate();
  std::optional<std::string> SendRequestXml(const std::string& ticket,
                                            const std::string& hcpResponse,
                                            const std::string& companyFile,
                                            const std::string& country, int major, int minor);
  // The percentage done; -1 for an unknown ticket.
  int ReceiveResponseXml(const std::string& ticket, std::string response,
                         const std::string& hresult, const std::string& message);
  bool ConnectionError(const std::string& ticket, const std::string& hresult,
                       const std::string& message);
  std::string GetLastError(const std::string& ticket);
  bool CloseConnection(const std::string& ticket);

  // Fails every waiting caller and refuses new work.
  void Shutdown();
  size_t QueuedCount() const;

 private:
  struct Job {
    std::string request;
    std::string response;
    std::optional<AutomationError> error;
    enum { kQueued, kSent, kDone } state = kQueued;
  };
  struct Ticket {
    std::chrono::steady_clock::time_point lastUse;
    std::chrono::steady_clock::time_point lastWork;
    std::shared_ptr<Job> inFlight;
    std::string lastError;
    int answered = 0;
  };
  using Lock = std::unique_lock<std::mutex>;

  Ticket* FindTicket(const std::string& ticket);  // refreshes its lifetime; null when unknown
  void Finish(Job& job, std::optional<AutomationError> error, std::string response = {});
  void ExpireTickets();
  bool HasWork() const;

  WebConnectorTimes times_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Job>> queued_;
  std::map<std::string, Ticket> tickets_;
  std::optional<WebConnectorHost> host_;
  int openSessions_ = 0;
  int waitingSessions_ = 0;
  bool shuttingDown_ = false;
};

// A request processor whose QuickBooks is reached through the queue.
std::shared_ptr<RequestProcessor> CreateWebConnectorProcessor(
    std::shared_ptr<WebConnectorQueue> queue);

// A ticket, session identifier or token: 32 random bytes in hex.
std::string RandomToken();

}  // namespace brennock::serve
