#pragma once

#include <memory>
#include <string>

#include "brennock/session/request_processor.h"

namespace brennock {

inline constexpr const char* kRequestProcessor1ProgId = "QBXMLRP.RequestProcessor";
inline constexpr const char* kRequestProcessor2ProgId = "QBXMLRP2.RequestProcessor";

// The processor a connection works with. A non-empty progId names it. Otherwise the
// first-generation processor is created and, unless useRequestProcessor1, asked for its
// MajorVersion: from 3 on the second-generation processor is used when it can be created; in every
// other case a fresh first-generation processor is. Null when no processor could be created; a
// failing MajorVersion is passed on.
std::shared_ptr<RequestProcessor> CreateConnectionProcessor(const std::string& progId,
                                                            bool useRequestProcessor1);

}  // namespace brennock
