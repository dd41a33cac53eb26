#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "brennock/session/remote_processor.h"

namespace brennock::remote {

// Where the remote processor finds `brennock serve`.
struct RemoteSettings {
  std::string url;     // http://host:port or https://host:port, optionally with a path prefix
  std::string token;   // sent as a bearer token
  std::string caFile;  // certificates that sign the server's (https); empty: the system's
  std::chrono::seconds connectTimeout{5};
  // A request answered by QuickBooks through the Web Connector waits for its next poll.
  std::chrono::seconds readTimeout{300};
};

// The settings from the environment (BRENNOCK_REMOTE_URL, BRENNOCK_REMOTE_TOKEN,
// BRENNOCK_REMOTE_CA, BRENNOCK_REMOTE_TIMEOUT in seconds), each falling back to section [Remote]
// (keys URL, Token, CAFile, Timeout) of the library's INI file: $BRENNOCK_INI, else
// Hollisford/Brennock.ini in the common application-data folder.
RemoteSettings ReadRemoteSettings();

// A processor that speaks to `brennock serve`. Registered as "brennockRqP.RequestProcessor" with
// the settings read when it is created.
std::shared_ptr<RemoteRequestProcessor> CreateRemoteProcessor(RemoteSettings settings);

}  // namespace brennock::remote
