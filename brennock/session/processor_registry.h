#pragma once

#include <functional>
#include <memory>
#include <string>

#include "brennock/session/request_processor.h"

namespace brennock {

// Request processors are created by ProgID, as a client names them ("QBXMLRP2.RequestProcessor",
// "Brennock.Simulator", a ProgID of its own). Names compare without regard to case. The two Intuit
// ProgIDs stand for the processor named by the environment variable BRENNOCK_PROCESSOR, by default
// "Brennock.Simulator", which is always registered. The table is shared by all threads.
using RequestProcessorFactory = std::function<std::shared_ptr<RequestProcessor>()>;

// Adds a factory under progId, replacing one already registered under that name.
void RegisterRequestProcessor(const std::string& progId, RequestProcessorFactory factory);

// A new processor for progId; nullptr when no factory answers to the name.
std::shared_ptr<RequestProcessor> CreateRequestProcessor(const std::string& progId);

bool IsRequestProcessorRegistered(const std::string& progId);

}  // namespace brennock
