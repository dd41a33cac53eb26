#pragma once

#include <string>

namespace brennock::serve {

// What the Web Connector needs to know about this service (its .qwc file).
struct QwcOptions {
  std::string appName = "Brennock";
  std::string appUrl;  // the SOAP endpoint, https:// unless on localhost
  std::string description = "Brennock: QuickBooks data for programs on other machines";
  std::string userName = "brennock";
  std::string qbType = "QBFS";  // QuickBooks Financial Software (QBPOS for Point of Sale)
  int runEveryMinutes = 1;      // 0: no scheduler, the user runs it by hand
  bool readOnly = false;
};

// The .qwc document. AppID, OwnerID and FileID are GUIDs derived from the application name and
// URL, so writing the file again gives the Web Connector the same application.
std::string QwcDocument(const QwcOptions& options);

// A GUID ("{8-4-4-4-12}", upper case) that depends only on the text.
std::string StableGuid(const std::string& text);

}  // namespace brennock::serve
