#pragma once

#include <string_view>

// The wire form of the remote request processor, shared by the client in the library and by
// `brennock serve`. Each processor operation is one POST to kPathPrefix + the operation's name.
// Small arguments travel as query parameters, the request text of ProcessRequest and
// ProcessSubscription as the body; the result is the body of a 200 answer (a version list one
// entry a line). A failed operation answers 500 with the automation error's number and source in
// headers and its description as the body.
namespace brennock::rqp {

inline constexpr std::string_view kPathPrefix = "/rqp/1/";

inline constexpr const char* kConnectionHeader = "X-Brennock-Connection";
inline constexpr const char* kTicketHeader = "X-Brennock-Ticket";
inline constexpr const char* kErrorNumberHeader = "X-Brennock-Error-Number";
inline constexpr const char* kErrorSourceHeader = "X-Brennock-Error-Source";

// Query parameters.
inline constexpr const char* kAppId = "appId";
inline constexpr const char* kAppName = "appName";
inline constexpr const char* kClientGuid = "guid";
inline constexpr const char* kPreference = "preference";
inline constexpr const char* kFile = "file";
inline constexpr const char* kMode = "mode";
// AuthPreferences travel with BeginSession and come back in headers of the same names.
inline constexpr const char* kAuthFlags = "authFlags";
inline constexpr const char* kPersonalData = "personalData";
inline constexpr const char* kReadOnly = "readOnly";
inline constexpr const char* kUnattended = "unattended";
inline constexpr const char* kObeyed = "obeyed";

}  // namespace brennock::rqp
