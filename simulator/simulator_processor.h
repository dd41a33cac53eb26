#pragma once

#include <memory>

#include "brennock/session/request_processor.h"

namespace brennock::simulator {

// The simulated QuickBooks: a request processor whose company files are SQLite databases. Each
// call returns a new, independent processor (its own connection and sessions); company files may
// be shared between processors and processes.
std::shared_ptr<brennock::RequestProcessor> CreateSimulatorProcessor();

}  // namespace brennock::simulator
