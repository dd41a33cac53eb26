#include "brennock/session/qb_connection.h"

#include <cstdlib>
#include <exception>
#include <limits>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/session/host_info.h"
#include "brennock/internal/session/ini_file.h"
#include "brennock/internal/session/numbering_session.h"
#include "brennock/internal/session/processor_choice.h"
#include "brennock/internal/session/processor_shutdown.h"
#include "brennock/internal/session/request_trace.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/log_file.h"
#include "brennock/session/remote_processor.h"
#include "brennock/version.h"

namespace brennock {
namespace {

constexpr int32_t kAutomationFailure = 440;  // a failure that carried no automation error
constexpr const char* kDefaultQuickBooksIni = "c:\\Program Files\\Intuit\\QuickBooks Pro\\qbw.ini";

bool SameProgId(std::string_view a, std::string_view b) { return AsciiEqualsIgnoreCase(a, b); }

template <typename T>
T& Required(const std::shared_ptr<T>& object) {
  if (!object) RaiseRuntime(kObjectNotSetNumber);
  return *object;
}

int16_t WholeNumber(const std::string& text) {
  int64_t value = LeadingNumber(text).ToInteger();
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    RaiseRuntime(kOverflowNumber);
  }
  return static_cast<int16_t>(value);
}

// Ends the session and closes the processor, forgetting both even when the processor fails.
void EndProcessorSession(SessionState& session, bool endSession) {
  std::shared_ptr<RequestProcessor> processor = std::move(session.processor);
  std::string ticket = std::move(session.ticket);
  session.processor.reset();
  session.ticket.clear();
  ShutDownProcessor(processor, endSession ? ticket : std::string());
}

}  // namespace

QBConnection::QBConnection() {
  ThreadEnumerations();  // the thread's start-up: its tables exist before anything needs them
  ++Session().instanceCount;
}

QBConnection::~QBConnection() {
  SessionState& session = Session();
  if (--session.instanceCount >= 1) return;
  // The thread's last connection: nothing may stop the clean-up.
  try {
    EndProcessorSession(session, true);
  } catch (...) {
  }
  try {
    CloseNumberingSession();
  } catch (...) {
  }
  CloseRequestTrace();
  session.company.reset();
}

bool QBConnection::RaiseRecordProcessed2(int32_t CurrentRecord, int32_t TotalRecord) {
  bool cancel = false;
  if (OnRecordProcessed2) OnRecordProcessed2(CurrentRecord, TotalRecord, cancel);
  return cancel;
}

std::shared_ptr<RequestProcessor> QBConnection::CreateProcessor() const {
  std::shared_ptr<RequestProcessor> processor =
      CreateConnectionProcessor(requestProcessorProgId_, useRequestProcessor1_);
  if (!processor) RaiseRuntime(kObjectNotSetNumber);
  return processor;
}

int32_t QBConnection::Connect(const std::string& AppID, const std::string& AppName,
                              qbEnumFileOpenMode OpenMode, const std::string& CompanyPath) {
  try {
    OpenCompanySession(AppID, AppName, OpenMode, CompanyPath, SessionKind::Connect);
    if (OnConnectionOpened) OnConnectionOpened();
    Session().connected = true;
  } catch (const AutomationError& error) {
    FailConnect(error.Number(), error.Description());
  } catch (const std::exception& error) {
    FailConnect(kAutomationFailure, error.what());
  }
  return 0;
}

int32_t QBConnection::Connect2(const std::string& AppID, const std::string& AppName,
                               qbEnumFileOpenMode OpenMode, const std::string& CompanyPath,
                               qbConnectionType ConnectionPreference) {
  connectionPreference_ = ConnectionPreference;
  usePreferences_ = true;
  return Connect(AppID, AppName, OpenMode, CompanyPath);
}

int32_t QBConnection::ConnectForWeb(const std::string& AppID, const std::string& AppName,
                                    qbEnumFileOpenMode OpenMode, const std::string& CompanyPath) {
  return Connect(AppID, AppName, OpenMode, CompanyPath);
}

int32_t QBConnection::ConnectForDB(const std::string& AppID, const std::string& AppName,
                                   qbEnumFileOpenMode OpenMode, const std::string& CompanyPath) {
  // Unlike Connect, failures reach the caller as the processor raised them.
  OpenCompanySession(AppID, AppName, OpenMode, CompanyPath, SessionKind::Database);
  return 0;
}

void QBConnection::FailConnect(int32_t number, std::string description) {
  companyPath_.clear();
  SessionState& session = Session();
  // A session whose processor is gone is no session: later requests must see "not connected".
  try {
    EndProcessorSession(session, false);
  } catch (...) {
  }
  session.connected = false;
  if (number == kObjectNotSetNumber) {
    RaiseTableError(errQuickBooksNotInstalled);
  }
  throw AutomationError(number, "Brennock", std::move(description));
}

void QBConnection::OpenCompanySession(const std::string& appID, const std::string& appName,
                                      qbEnumFileOpenMode openMode, const std::string& companyPath,
                                      SessionKind kind) {
  SessionState& session = Session();
  session.appID = appID;
  session.appName = appName;
  std::shared_ptr<RequestProcessor> processor = CreateProcessor();
  session.processor = processor;
  session.ticket.clear();
  bool withPreferences = kind == SessionKind::Connect && usePreferences_;
  if (kind == SessionKind::Connect) {
    OpenProcessorConnection(*processor, appID, appName);
  } else {
    OpenConnectionOf(*processor, appID, appName);
    companyPath_ = companyPath;
    session.companyPath = companyPath;
  }
  if (!companyPath.empty()) {
    session.ticket = processor->BeginSession(companyPath, openMode);
    if (withPreferences) ReadBackAuthPreferences(*processor);
    companyPath_ = companyPath;
  } else {
    session.ticket = processor->BeginSession("", openMode);
    companyPath_ = processor->GetCurrentCompanyFileName(session.ticket);
  }
  session.companyPath = companyPath_;
  std::vector<std::string> versions = processor->QBXMLVersionsForSession(session.ticket);
  session.qbxmlVersion = versions.empty() ? std::string() : versions.back();
  LoadHost();
  LoadCompany();
}

void QBConnection::OpenProcessorConnection(RequestProcessor& processor, const std::string& appID,
                                           const std::string& appName) {
  // The remote processor takes no preferences: its server's processor has its own.
  if (!usePreferences_ || dynamic_cast<RemoteRequestProcessor*>(&processor) != nullptr ||
      SameProgId(requestProcessorProgId_, kRemoteProcessorProgId)) {
    OpenConnectionOf(processor, appID, appName);
    return;
  }
  processor.OpenConnection2(appID, appName, connectionPreference_);
  const brennock::AuthPreferences& mine = *AuthPreferences();
  brennock::AuthPreferences& theirs = Required(processor.AuthPreferences());
  theirs.PutAuthFlags(mine.GetAuthFlags());
  theirs.PutPersonalDataPref(mine.GetPersonalDataPref());
  theirs.PutIsReadOnly(mine.GetIsReadOnly());
  theirs.PutUnattendedModePref(mine.GetUnattendedModePref());
}

void QBConnection::ReadBackAuthPreferences(RequestProcessor& processor) {
  const brennock::AuthPreferences& theirs = Required(processor.AuthPreferences());
  brennock::AuthPreferences& mine = *AuthPreferences();
  mine.PutIsReadOnly(theirs.GetIsReadOnly());
  mine.PutPersonalDataPref(theirs.GetPersonalDataPref());
  mine.PutUnattendedModePref(theirs.GetUnattendedModePref());
  mine.SetWasAuthPreferencesObeyed(theirs.WasAuthPreferencesObeyed());
}

Variant QBConnection::ConnectForSubscriptions(const std::string& AppID,
                                              const std::string& AppName) {
  SessionState& session = Session();
  std::shared_ptr<RequestProcessor> processor = CreateProcessor();
  session.appID = AppID;
  session.appName = AppName;
  OpenConnectionOf(*processor, AppID, AppName);
  session.processor = processor;
  session.ticket.clear();  // a ticket of the replaced processor means nothing to this one
  session.subscriptionOnly = true;
  qbxmlVersion_ =
      std::to_string(processor->MajorVersion()) + "." + std::to_string(processor->MinorVersion());
  session.qbxmlVersion = qbxmlVersion_;
  return {};
}

int32_t QBConnection::ConnectForSubscriptions2(const std::string& AppID, const std::string& AppName,
                                               qbConnectionType ConnectionPreference) {
  SessionState& session = Session();
  connectionPreference_ = ConnectionPreference;
  std::shared_ptr<RequestProcessor> processor = CreateProcessor();
  session.appID = AppID;
  session.appName = AppName;
  const brennock::AuthPreferences& mine = *AuthPreferences();
  brennock::AuthPreferences& theirs = Required(processor->AuthPreferences());
  theirs.PutPersonalDataPref(mine.GetPersonalDataPref());
  theirs.PutIsReadOnly(mine.GetIsReadOnly());
  theirs.PutUnattendedModePref(mine.GetUnattendedModePref());
  processor->OpenConnection2(AppID, AppName, ConnectionPreference);
  session.processor = processor;
  session.ticket.clear();
  session.subscriptionOnly = true;
  qbxmlVersion_ =
      std::to_string(processor->MajorVersion()) + "." + std::to_string(processor->MinorVersion());
  session.qbxmlVersion = qbxmlVersion_;
  return 0;
}

void QBConnection::CloseConnection() {
  SessionState& session = Session();
  std::exception_ptr failure;
  try {
    EndProcessorSession(session, !session.subscriptionOnly);
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    CloseNumberingSession();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  companyPath_.clear();
  session.companyPath.clear();
  if (OnConnectionClosed) OnConnectionClosed();
  session.connected = false;
  if (failure) std::rethrow_exception(failure);
}

Variant QBConnection::CloseConnectionDB() {
  if (!Session().connected) CloseConnection();
  return {};
}

float QBConnection::qbXMLVersionNumber() const {
  return static_cast<float>(Session().qbxmlVersionNumber.ToDouble());
}

void QBConnection::qbxmlVersionOverride(const std::string& vData) {
  Session().qbxmlVersion = vData;
}

int16_t QBConnection::QBMajorVersion() const { return WholeNumber(majorVersion_); }

int16_t QBConnection::QBMinorVersion() const { return WholeNumber(minorVersion_); }

Variant QBConnection::Country() const { return Variant(Session().country); }

bool QBConnection::IsUSProduct() const { return !Session().nonUSEdition; }

std::string QBConnection::LastOpenCompanyFile() const {
  const char* configured = std::getenv("BRENNOCK_QB_INI");
  std::string path =
      configured != nullptr && *configured != '\0' ? configured : kDefaultQuickBooksIni;
  return ReadIniString(path, "PREFS", "DataFile");
}

std::shared_ptr<brennock::Company> QBConnection::Company() const { return Session().company; }

std::string QBConnection::BrennockVersion() const { return kBrennockVersion; }

int32_t QBConnection::RegisterEventGUID(const std::string& sGUID) {
  Session().eventSubscriberID = sGUID;
  return 0;
}

int32_t QBConnection::RegisterDataExtensionsGUID(const std::string& sGUID) {
  Session().dataExtOwnerID = sGUID;
  return 0;
}

void QBConnection::SetDebugLogPath(const std::string& value) {
  RequestTraceHeader header;
  header.CompanyPath = companyPath_;
  header.qbxmlVersion = qbxmlVersion_;
  header.ProductName = productName_;
  header.MajorVersion = majorVersion_;
  header.MinorVersion = minorVersion_;
  brennock::SetDebugLogPath(value, header);
}

bool QBConnection::ErrorMode() const { return Session().errorMode; }

void QBConnection::SetErrorMode(bool value) { Session().errorMode = value; }

std::shared_ptr<brennock::AuthPreferences> QBConnection::AuthPreferences() {
  if (!authPreferences_) authPreferences_ = std::make_shared<brennock::AuthPreferences>();
  return authPreferences_;
}

std::shared_ptr<LogFile> QBConnection::DBLog() const { return DatabaseLog(); }

bool QBConnection::DBLogDetail() const { return Session().dbLogDetail; }

void QBConnection::SetDBLogDetail(bool value) { Session().dbLogDetail = value; }

}  // namespace brennock
