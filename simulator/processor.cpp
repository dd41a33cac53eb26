#include "simulator/processor.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "brennock/errors/automation_error.h"
#include "simulator/clock.h"
#include "simulator/events/data_events.h"
#include "simulator/processor_errors.h"
#include "simulator/request_document.h"

namespace brennock::simulator {

void Raise(const ProcessorError& error) {
  throw AutomationError(error.number, std::string(kProcessorSource),
                        std::string(error.description));
}

namespace {

// Subscribers learn that a session opened or closed the company file. The session's own work
// does not depend on it: a file that cannot take the event (locked, full) still opens and closes.
void RaiseFileEvent(CompanyDb& company, void (*raise)(CompanyDb&)) {
  try {
    raise(company);
  } catch (const SqliteError&) {
  }
}

}  // namespace

SimulatorProcessor::SimulatorProcessor()
    : preferences_(std::make_shared<brennock::AuthPreferences>()) {}

SimulatorProcessor::~SimulatorProcessor() = default;

void SimulatorProcessor::OpenConnection(const std::string& AppID, const std::string& AppName) {
  OpenConnection2(AppID, AppName, localQBD);
}

void SimulatorProcessor::OpenConnection2(const std::string& AppID, const std::string& AppName,
                                         qbConnectionType) {
  app_id_ = AppID;
  app_name_ = AppName;
  connected_ = true;
}

std::shared_ptr<brennock::AuthPreferences> SimulatorProcessor::AuthPreferences() {
  return preferences_;
}

std::string SimulatorProcessor::BeginSession(const std::string& qbFileName,
                                             qbEnumFileOpenMode reqFileMode) {
  if (!connected_) Raise(kCouldNotAccess);
  std::string path = qbFileName;
  if (path.empty()) {
    const char* open_company = std::getenv("BRENNOCK_COMPANY");
    if (!open_company || !*open_company) Raise(kNoCompanyFile);
    path = open_company;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Raise(kCouldNotOpenFile);
  auto session = std::make_unique<Session>();
  try {
    session->company = std::make_unique<CompanyDb>(std::filesystem::absolute(path).string());
  } catch (const SqliteError&) {
    Raise(kCouldNotStart);  // a file QuickBooks cannot read as a company
  }
  session->iterators.BindCompany(session->company->path());
  session->open_mode = reqFileMode;
  session->read_only = preferences_->GetIsReadOnly();
  preferences_->SetWasAuthPreferencesObeyed(true);
  char ticket[64];
  std::snprintf(ticket, sizeof ticket, "{%08llx-5349-4d55-4c41-%012llx}",
                static_cast<unsigned long long>(next_ticket_++),
                static_cast<unsigned long long>(Now().unix_seconds) & 0xffffffffffffull);
  session->ticket = ticket;
  RaiseFileEvent(*session->company, CompanyFileOpened);
  sessions_[ticket] = std::move(session);
  latest_ticket_ = ticket;
  return ticket;
}

Session& SimulatorProcessor::FindSession(const std::string& ticket) {
  auto it = sessions_.find(ticket);
  if (it == sessions_.end()) Raise(kInvalidTicket);
  return *it->second;
}

std::string SimulatorProcessor::GetCurrentCompanyFileName(const std::string& ticket) {
  return FindSession(ticket).company->path();
}

std::vector<std::string> SimulatorProcessor::QBXMLVersionsForSession(const std::string& ticket) {
  Session& session = FindSession(ticket);
  std::vector<std::string> versions;
  std::istringstream list(session.company->SettingOr("host.SupportedQBXMLVersion", ""));
  for (std::string v; std::getline(list, v);) versions.push_back(v);
  return versions;
}

std::string SimulatorProcessor::ProcessRequest(const std::string& ticket,
                                               const std::string& inputRequest) {
  Session& session = FindSession(ticket);
  session.iterators.Sweep(Now().unix_seconds);
  try {
    return AnswerRequestDocument(session, inputRequest);
  } catch (const SqliteError&) {
    Raise(kUnexpected);  // the company file is locked or damaged
  }
}

std::string SimulatorProcessor::ProcessSubscription(const std::string& inputRequest) {
  if (!connected_) Raise(kCouldNotAccess);
  try {
    return AnswerSubscriptions(inputRequest);
  } catch (const SqliteError&) {
    Raise(kUnexpected);  // the company file is locked or damaged
  }
}

std::string SimulatorProcessor::AnswerSubscriptions(const std::string& request) {
  auto latest = sessions_.find(latest_ticket_);
  if (latest != sessions_.end())
    return AnswerSubscriptionDocument(*latest->second->company, request);
  const char* open_company = std::getenv("BRENNOCK_COMPANY");
  if (!open_company || !*open_company) Raise(kNoCompanyFile);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(open_company, ec)) Raise(kCouldNotOpenFile);
  std::unique_ptr<CompanyDb> company;
  try {
    company = std::make_unique<CompanyDb>(std::filesystem::absolute(open_company).string());
  } catch (const SqliteError&) {
    Raise(kCouldNotStart);
  }
  return AnswerSubscriptionDocument(*company, request);
}

int16_t SimulatorProcessor::MajorVersion() { return 16; }
int16_t SimulatorProcessor::MinorVersion() { return 0; }

void SimulatorProcessor::EndSession(const std::string& ticket) {
  RaiseFileEvent(*FindSession(ticket).company, CompanyFileClosed);
  sessions_.erase(ticket);
}

void SimulatorProcessor::CloseConnection() {
  for (auto& [ticket, session] : sessions_) RaiseFileEvent(*session->company, CompanyFileClosed);
  sessions_.clear();
  connected_ = false;
}

}  // namespace brennock::simulator
