#include "tests/support/recording_processor.h"

#include <stdexcept>
#include <utility>

namespace brennock::testing {

const std::string& RecordingProcessor::LastRequestText() const {
  if (requests_.empty()) throw std::logic_error("RecordingProcessor: no request was sent");
  return requests_.back().text;
}

void RecordingProcessor::Enter(const char* operation) {
  operations_.emplace_back(operation);
  if (failure_) {
    AutomationError error = std::move(*failure_);
    failure_.reset();
    throw error;
  }
}

std::string RecordingProcessor::Answer(Request request) {
  requests_.push_back(std::move(request));
  Enter(requests_.back().subscription ? "ProcessSubscription" : "ProcessRequest");
  if (!responses_.empty()) {
    std::string response = std::move(responses_.front());
    responses_.pop_front();
    return response;
  }
  if (responder_) return responder_(requests_.back().text);
  throw std::logic_error("RecordingProcessor: no response queued for the request");
}

void RecordingProcessor::OpenConnection(const std::string& AppID, const std::string& AppName) {
  Enter("OpenConnection");
  openedAppID = AppID;
  openedAppName = AppName;
}

void RecordingProcessor::OpenConnection2(const std::string& AppID, const std::string& AppName,
                                         qbConnectionType ConnectionPreference) {
  Enter("OpenConnection2");
  openedAppID = AppID;
  openedAppName = AppName;
  openedPreference = ConnectionPreference;
}

std::shared_ptr<brennock::AuthPreferences> RecordingProcessor::AuthPreferences() {
  Enter("AuthPreferences");
  if (!preferences_) preferences_ = std::make_shared<brennock::AuthPreferences>();
  return preferences_;
}

std::string RecordingProcessor::BeginSession(const std::string& qbFileName,
                                             qbEnumFileOpenMode reqFileMode) {
  Enter("BeginSession");
  beganFileName = qbFileName;
  beganMode = reqFileMode;
  return ticket_;
}

std::string RecordingProcessor::GetCurrentCompanyFileName(const std::string&) {
  Enter("GetCurrentCompanyFileName");
  return companyFileName_;
}

std::vector<std::string> RecordingProcessor::QBXMLVersionsForSession(const std::string&) {
  Enter("QBXMLVersionsForSession");
  return versions_;
}

std::string RecordingProcessor::ProcessRequest(const std::string& ticket,
                                               const std::string& inputRequest) {
  return Answer({false, ticket, inputRequest});
}

std::string RecordingProcessor::ProcessSubscription(const std::string& inputRequest) {
  return Answer({true, {}, inputRequest});
}

int16_t RecordingProcessor::MajorVersion() {
  Enter("MajorVersion");
  return major_;
}

int16_t RecordingProcessor::MinorVersion() {
  Enter("MinorVersion");
  return minor_;
}

void RecordingProcessor::EndSession(const std::string&) { Enter("EndSession"); }

void RecordingProcessor::CloseConnection() { Enter("CloseConnection"); }

}  // namespace brennock::testing
