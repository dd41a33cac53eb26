#pragma once

#include <string>
#include <string_view>

#include "brennock/session/request_processor.h"

namespace brennock {

// The ProgID of the processor that reaches a QuickBooks on another machine (`brennock serve`).
inline constexpr std::string_view kRemoteProcessorProgId = "brennockRqP.RequestProcessor";
// What a connection passes as the third argument when it opens the remote processor.
inline constexpr std::string_view kRemoteProcessorGuid = "{6B8E2F4A-0C1D-4E57-9A3B-5D2C8F1E7A40}";

// The remote processor opens its connection with a third argument that identifies the library to
// the server. A processor registered under kRemoteProcessorProgId that does not derive from this
// class is opened with the plain two-argument OpenConnection.
class RemoteRequestProcessor : public RequestProcessor {
 public:
  using RequestProcessor::OpenConnection;
  virtual void OpenConnection(const std::string& AppID, const std::string& AppName,
                              const std::string& ClientGuid) = 0;
};

// OpenConnection as the library calls it: the remote processor gets kRemoteProcessorGuid however
// it was chosen (its ProgID, BRENNOCK_PROCESSOR, or standing in for an Intuit processor).
inline void OpenConnectionOf(RequestProcessor& processor, const std::string& AppID,
                             const std::string& AppName) {
  if (auto* remote = dynamic_cast<RemoteRequestProcessor*>(&processor)) {
    remote->OpenConnection(AppID, AppName, std::string(kRemoteProcessorGuid));
  } else {
    processor.OpenConnection(AppID, AppName);
  }
}

}  // namespace brennock
