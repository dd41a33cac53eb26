#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/session/request_processor.h"

namespace brennock::testing {

// A request processor for tests: answers ProcessRequest and ProcessSubscription with canned
// responses (a queue first, then the responder) and records every request text exactly as sent,
// so tests can compare requests byte for byte. It can be told to fail its next call.
class RecordingProcessor : public RequestProcessor {
 public:
  struct Request {
    bool subscription = false;  // sent with ProcessSubscription (no ticket)
    std::string ticket;
    std::string text;
  };
  using Responder = std::function<std::string(const std::string& requestText)>;

  static constexpr const char* kDefaultTicket = "recording-ticket";

  // Answers are taken from the queue in order; when it is empty the responder answers; without
  // one the call fails with std::logic_error.
  void QueueResponse(std::string response) { responses_.push_back(std::move(response)); }
  void SetResponder(Responder responder) { responder_ = std::move(responder); }
  // The next call of any operation throws `error` (after being recorded) instead of answering.
  void FailNextCall(AutomationError error) { failure_ = std::move(error); }

  const std::vector<Request>& Requests() const { return requests_; }
  const std::string& LastRequestText() const;
  // Names of the operations called, in order ("OpenConnection", "BeginSession", ...).
  const std::vector<std::string>& Operations() const { return operations_; }

  // What the session operations answer.
  void SetTicket(std::string ticket) { ticket_ = std::move(ticket); }
  void SetVersions(std::vector<std::string> versions) { versions_ = std::move(versions); }
  void SetCompanyFileName(std::string path) { companyFileName_ = std::move(path); }
  void SetVersion(int16_t major, int16_t minor) {
    major_ = major;
    minor_ = minor;
  }

  // Arguments of the last OpenConnection/OpenConnection2 and BeginSession.
  std::string openedAppID, openedAppName, beganFileName;
  qbConnectionType openedPreference = unknown;
  qbEnumFileOpenMode beganMode = qbOpenModeDontCare;

  void OpenConnection(const std::string& AppID, const std::string& AppName) override;
  void OpenConnection2(const std::string& AppID, const std::string& AppName,
                       qbConnectionType ConnectionPreference) override;
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences() override;
  std::string BeginSession(const std::string& qbFileName, qbEnumFileOpenMode reqFileMode) override;
  std::string GetCurrentCompanyFileName(const std::string& ticket) override;
  std::vector<std::string> QBXMLVersionsForSession(const std::string& ticket) override;
  std::string ProcessRequest(const std::string& ticket, const std::string& inputRequest) override;
  std::string ProcessSubscription(const std::string& inputRequest) override;
  int16_t MajorVersion() override;
  int16_t MinorVersion() override;
  void EndSession(const std::string& ticket) override;
  void CloseConnection() override;

 private:
  void Enter(const char* operation);
  std::string Answer(Request request);

  std::deque<std::string> responses_;
  Responder responder_;
  std::optional<AutomationError> failure_;
  std::vector<Request> requests_;
  std::vector<std::string> operations_;
  std::shared_ptr<brennock::AuthPreferences> preferences_;
  std::string ticket_ = kDefaultTicket;
  std::vector<std::string> versions_ = {"1.0", "2.0"};
  std::string companyFileName_;
  int16_t major_ = 2;
  int16_t minor_ = 0;
};

}  // namespace brennock::testing
