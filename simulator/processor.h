#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "brennock/session/request_processor.h"
#include "simulator/session.h"

namespace brennock::simulator {

// The simulated QuickBooks request processor. A connection is opened once; any number of
// sessions may then be begun, each on its own company file connection and ticket.
class SimulatorProcessor : public brennock::RequestProcessor {
 public:
  SimulatorProcessor();
  ~SimulatorProcessor() override;

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
  Session& FindSession(const std::string& ticket);
  // The company file subscriptions are kept in: the latest session's, else BRENNOCK_COMPANY's.
  std::string AnswerSubscriptions(const std::string& request);

  bool connected_ = false;
  std::string app_id_;
  std::string app_name_;
  std::shared_ptr<brennock::AuthPreferences> preferences_;
  std::map<std::string, std::unique_ptr<Session>> sessions_;
  uint64_t next_ticket_ = 1;
  std::string latest_ticket_;
};

}  // namespace brennock::simulator
