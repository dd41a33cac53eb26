#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/values/currency.h"

namespace brennock {

class RequestProcessor;
class Company;
class LogFile;
class DataExtDefinitionSource;
class SqlConnection;

// What one thread knows about its QuickBooks session. Every object created on the thread reads and
// writes the same copy without holding the connection; another thread has its own.
struct SessionState {
  std::shared_ptr<RequestProcessor> processor;
  std::string ticket;  // empty when no session is open
  // Automatic numbering of invoices, sales orders and purchase orders uses a second session.
  std::shared_ptr<RequestProcessor> numberingProcessor;
  std::string numberingTicket;
  std::string appID;
  std::string appName;
  std::shared_ptr<brennock::Company> company;  // null when the company query failed
  std::string debugXmlLogPath;                 // empty: no request trace
  std::string qbxmlVersion;                    // written into request headers
  Currency qbxmlVersionNumber;                 // compared with minimum versions
  std::string dataExtOwnerID;                  // second OwnerID of queries
  // The company's application-field definitions, read by queries that ask for data extensions.
  std::shared_ptr<DataExtDefinitionSource> applicationFieldDefinitions;
  std::string eventSubscriberID;
  bool nonUSEdition = false;
  bool ukEdition = false;
  bool australianEdition = false;
  std::string country;
  bool subscriptionOnly = false;  // connected without a company session
  bool connected = false;         // a complete Connect has been made
  bool errorMode = true;          // a commit with collected errors also raises
  int16_t instanceCount = 0;      // live QBConnection objects
  // The database export's log (created on first use by DatabaseLog()) and its detail switch.
  std::shared_ptr<LogFile> dbLog;
  bool dbLogDetail = false;
  // The database export's settings (QBConnection's DB... members).
  int32_t databaseMode = 0;  // qoEnumDatabaseMode; 0: no mode set
  bool dbUseTxns = true;
  bool dbExcludeJobs = false;
  bool isRemote = false;
  bool dbKeepExactText = false;  // no blanking of '?', no cutting
  std::shared_ptr<SqlConnection> adoConnection;
  std::string adoConnStr;
  std::string companyPath;  // the open company file, kept for the export's history
};

// This thread's session state.
SessionState& Session();

}  // namespace brennock
