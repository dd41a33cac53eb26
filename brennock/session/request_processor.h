#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/session/auth_preferences.h"
#include "brennock/session/session_enums.h"

namespace brennock {

// The component that carries qbXML between the library and QuickBooks. Operations are listed in
// the order a session calls them. A failing operation throws AutomationError with the number and
// description the processor chose; the library passes those on unchanged. The status of a request
// is read from the response text, never from the call.
class RequestProcessor {
 public:
  virtual ~RequestProcessor() = default;

  virtual void OpenConnection(const std::string& AppID, const std::string& AppName) = 0;
  virtual void OpenConnection2(const std::string& AppID, const std::string& AppName,
                               qbConnectionType ConnectionPreference) = 0;
  // Preferences are written after opening the connection and before BeginSession, and read back
  // after it.
  virtual std::shared_ptr<brennock::AuthPreferences> AuthPreferences() = 0;
  // An empty path means the company file QuickBooks has open. Returns the session ticket.
  virtual std::string BeginSession(const std::string& qbFileName,
                                   qbEnumFileOpenMode reqFileMode) = 0;
  virtual std::string GetCurrentCompanyFileName(const std::string& ticket) = 0;
  // The last element is the highest version the session speaks.
  virtual std::vector<std::string> QBXMLVersionsForSession(const std::string& ticket) = 0;
  virtual std::string ProcessRequest(const std::string& ticket,
                                     const std::string& inputRequest) = 0;
  virtual std::string ProcessSubscription(const std::string& inputRequest) = 0;
  virtual int16_t MajorVersion() = 0;
  virtual int16_t MinorVersion() = 0;
  virtual void EndSession(const std::string& ticket) = 0;
  virtual void CloseConnection() = 0;
};

}  // namespace brennock
