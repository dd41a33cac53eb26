#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "brennock/enums/database_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/session/auth_preferences.h"
#include "brennock/session/session_enums.h"
#include "brennock/values/variant.h"

namespace brennock {

class Company;
class LogFile;
class RequestProcessor;
class UIExtensionSubscriptions;
class UISubscriptions;
class DataEventSubcriptions;
using DataEventSubscriptions = DataEventSubcriptions;
class SqlConnection;
class XmlDocument;
struct HostInfo;

// Opens and closes the conversation with QuickBooks and keeps what every other object of the
// library needs to know about it (processor, ticket, qbXML version, edition, company) in this
// thread's session state. Any number of connections may exist on a thread: they all see the same
// session, and Connect on one of them replaces the processor and ticket for all. The last
// connection destroyed on a thread ends the session.
//
// Connect failures: when no request processor can be created the call raises vbObjectError + 0
// "QuickBooks is not installed." (source "brennock"); any other failure is passed on with its own
// number and description and source "Brennock" after the processor was closed and dropped.
// CompanyPath is cleared either way.
class QBConnection {
 public:
  QBConnection();
  ~QBConnection();
  QBConnection(const QBConnection&) = delete;
  QBConnection& operator=(const QBConnection&) = delete;

  // ---- events ----
  std::function<void()> OnConnectionOpened;
  std::function<void()> OnConnectionClosed;
  // Declared for clients that listen to it; never raised.
  std::function<void(int32_t CurrentRecord, int32_t TotalRecord, bool bCancel)> OnRecordProcessed;
  // Raised once per record by the database export; setting bCancel stops the export.
  std::function<void(int32_t CurrentRecord, int32_t TotalRecord, bool& bCancel)> OnRecordProcessed2;
  // Raises RecordProcessed2; returns whether the handler asked to cancel.
  bool RaiseRecordProcessed2(int32_t CurrentRecord, int32_t TotalRecord);

  // ---- processor choice ----
  bool UseRequestProcessor1() const { return useRequestProcessor1_; }
  void SetUseRequestProcessor1(bool value) { useRequestProcessor1_ = value; }
  // Empty: the Intuit processors (see CreateConnectionProcessor).
  const std::string& RequestProcessorProgId() const { return requestProcessorProgId_; }
  void SetRequestProcessorProgId(const std::string& value) { requestProcessorProgId_ = value; }
  // Stored for the client, never used.
  const Variant& MainForm() const { return mainForm_; }
  void SetMainForm(const Variant& value) { mainForm_ = value; }

  // ---- opening and closing ----
  // Opens the connection and a session on CompanyPath (empty: the company open in QuickBooks),
  // reads the host, company and preferences, raises ConnectionOpened. Returns 0.
  int32_t Connect(const std::string& AppID, const std::string& AppName, qbEnumFileOpenMode OpenMode,
                  const std::string& CompanyPath = {});
  // Connect with a connection preference: AuthPreferences are handed to the processor before the
  // session begins and read back after it.
  int32_t Connect2(const std::string& AppID, const std::string& AppName,
                   qbEnumFileOpenMode OpenMode, const std::string& CompanyPath,
                   qbConnectionType ConnectionPreference);
  int32_t ConnectForWeb(const std::string& AppID, const std::string& AppName,
                        qbEnumFileOpenMode OpenMode, const std::string& CompanyPath = {});
  // A connection without a company session, for subscriptions: no host or company query and no
  // event. The session's qbXML version becomes the processor's "major.minor". Returns Empty.
  Variant ConnectForSubscriptions(const std::string& AppID, const std::string& AppName);
  int32_t ConnectForSubscriptions2(const std::string& AppID, const std::string& AppName,
                                   qbConnectionType ConnectionPreference);
  // Connect for the database export: always the plain OpenConnection, no event, and the connected
  // flag stays clear.
  int32_t ConnectForDB(const std::string& AppID, const std::string& AppName,
                       qbEnumFileOpenMode OpenMode, const std::string& CompanyPath = {});
  // Ends the session (not after a subscription-only connect on this thread), closes and drops the
  // processor and the numbering session, clears CompanyPath and raises ConnectionClosed.
  // Processor failures are passed on after all of that is done.
  void CloseConnection();
  // CloseConnection when the session was opened with ConnectForDB rather than Connect.
  Variant CloseConnectionDB();

  // ---- what the session speaks ----
  // The host's qbXML version text (its last SupportedQBXMLVersion).
  const std::string& qbxmlVersion() const { return qbxmlVersion_; }
  float qbXMLVersionNumber() const;
  // Replaces the version written into request headers; the version number stays.
  void qbxmlVersionOverride(const std::string& vData);
  void SetqbxmlVersionOverride(const std::string& vData) { qbxmlVersionOverride(vData); }
  const std::string& ProductName() const { return productName_; }
  int16_t QBMajorVersion() const;
  int16_t QBMinorVersion() const;
  Variant Country() const;
  bool IsAutomaticLogin() const { return isAutomaticLogin_; }
  Variant QBFileMode() const { return Variant(qbFileMode_); }
  bool IsUSProduct() const;
  // The open company file; empty when not connected.
  const std::string& CompanyPath() const { return companyPath_; }
  // DataFile of [PREFS] in the QuickBooks INI file ($BRENNOCK_QB_INI, else the QuickBooks Pro
  // default location); empty when it cannot be read.
  std::string LastOpenCompanyFile() const;
  // The session's company; null before a connect or when the company query failed.
  std::shared_ptr<brennock::Company> Company() const;
  // The library's own version, "major.minor.revision".
  std::string BrennockVersion() const;
  std::string version() const { return BrennockVersion(); }

  // ---- registration and settings ----
  int32_t RegisterEventGUID(const std::string& sGUID);
  int32_t RegisterDataExtensionsGUID(const std::string& sGUID);
  // Starts, moves or ends this thread's request trace (header from this connection's values).
  void SetDebugLogPath(const std::string& value);
  bool ErrorMode() const;
  void SetErrorMode(bool value);
  std::shared_ptr<brennock::AuthPreferences> AuthPreferences();
  // The database export's log and detail switch (per thread).
  std::shared_ptr<LogFile> DBLog() const;
  bool DBLogDetail() const;
  void SetDBLogDetail(bool value);
  // Database export settings (per thread). DBExcludeJobs and IsRemote are only kept.
  bool DBUseTxns() const;
  void SetDBUseTxns(bool value);
  bool DBExcludeJobs() const;
  void SetDBExcludeJobs(bool value);
  bool IsRemote() const;
  void SetIsRemote(bool value);
  qoEnumDatabaseMode DatabaseMode() const;
  void SetDatabaseMode(qoEnumDatabaseMode value);
  // Keeps exported text exactly as received (no blanking of '?', no cutting); off by default.
  bool DBKeepExactText() const;
  void SetDBKeepExactText(bool value);
  // The connection used for the database path "ADOCON" (opened by the client, or from adoConnStr).
  std::shared_ptr<SqlConnection> adoConnection() const;
  void SetadoConnection(std::shared_ptr<SqlConnection> value);
  const std::string& adoConnStr() const;
  void SetadoConnStr(const std::string& value);
  // Exports the first response of XmlDom into TableName of DatabasePath. Returns Empty.
  Variant UpdateDatabase(const XmlDocument& XmlDom, const std::string& DatabasePath,
                         const std::string& TableName);

  // ---- enumeration tables of this thread ----
  std::shared_ptr<QCEnum> MatchTypes() const;
  std::shared_ptr<QCEnum> Operators() const;
  std::shared_ptr<QCEnum> FieldNames() const;
  std::shared_ptr<QCEnum> ItemTypes() const;
  std::shared_ptr<QCEnum> AccountTypes() const;
  std::shared_ptr<QCEnum> Months() const;
  std::shared_ptr<QCEnum> ListTypes() const;
  std::shared_ptr<QCEnum> DateMacros() const;
  std::shared_ptr<QCEnum> AvailableFields() const;
  std::shared_ptr<QCEnum> AvailableReports() const;
  std::shared_ptr<QCEnum> ReportGroups() const;
  std::shared_ptr<QCEnum> ReportDateMacros() const;
  std::shared_ptr<QCEnum> ReportColumnSortFields() const;
  std::shared_ptr<QCEnum> EmployeeTypes() const;
  std::shared_ptr<QCEnum> GenderTypes() const;
  std::shared_ptr<QCEnum> EntityTypes() const;
  std::shared_ptr<QCEnum> DataExtensionDataTypes() const;
  std::shared_ptr<QCEnum> ObjectTypes() const;
  std::shared_ptr<QCEnum> ReportAccountFilters() const;
  // The transaction-type table, in a Variant.
  Variant TxnTypes() const;

  // ---- QuickBooks forms and subscriptions ----
  // Asks QuickBooks (qbXML 3.0 and later) to show the add form of FormType, or the form of the
  // record ListOrTxnId. Lists: customer, vendor, other name, employee; most transaction kinds.
  void DisplayQBForm(qoEnumListObjectType FormType, const std::string& ListOrTxnId = {});
  // Subscription collections, created on first use (brennock/events/); the data event collection
  // is the master one, which adds and commits.
  std::shared_ptr<brennock::UIExtensionSubscriptions> UIExtensionSubscriptions();
  std::shared_ptr<brennock::UISubscriptions> UISubscriptions();
  std::shared_ptr<brennock::DataEventSubscriptions> DataEventSubscriptions();

 private:
  enum class SessionKind { Connect, Database };

  void OpenCompanySession(const std::string& appID, const std::string& appName,
                          qbEnumFileOpenMode openMode, const std::string& companyPath,
                          SessionKind kind);
  std::shared_ptr<RequestProcessor> CreateProcessor() const;
  void OpenProcessorConnection(RequestProcessor& processor, const std::string& appID,
                               const std::string& appName);
  void ReadBackAuthPreferences(RequestProcessor& processor);
  void LoadHost();
  void KeepHost(const HostInfo& host);
  static void LoadCompany();
  [[noreturn]] void FailConnect(int32_t number, std::string description);

  bool useRequestProcessor1_ = false;
  std::string requestProcessorProgId_;
  Variant mainForm_;
  qbConnectionType connectionPreference_ = unknown;
  bool usePreferences_ = false;
  std::shared_ptr<brennock::AuthPreferences> authPreferences_;
  std::string companyPath_;
  std::string productName_;
  std::string majorVersion_;
  std::string minorVersion_;
  std::string qbxmlVersion_;
  bool isAutomaticLogin_ = false;
  std::string qbFileMode_;
  std::shared_ptr<brennock::UIExtensionSubscriptions> uiExtensionSubscriptions_;
  std::shared_ptr<brennock::UISubscriptions> uiSubscriptions_;
  std::shared_ptr<brennock::DataEventSubscriptions> dataEventSubscriptions_;
};

}  // namespace brennock
