#include "simulator/simulator_processor.h"

#include "brennock/events/event_source.h"
#include "brennock/session/processor_registry.h"
#include "simulator/events/event_feed.h"
#include "simulator/processor.h"

namespace brennock::simulator {

std::shared_ptr<brennock::RequestProcessor> CreateSimulatorProcessor() {
  return std::make_shared<SimulatorProcessor>();
}

namespace {

// The simulator answers to "Brennock.Simulator" from the start of every program that links it,
// and keeps the event queues of its company files.
const bool kRegistered = [] {
  RegisterRequestProcessor("Brennock.Simulator", [] { return CreateSimulatorProcessor(); });
  RegisterEventSource([](const std::string& path) { return OpenCompanyEventSource(path); });
  return true;
}();

}  // namespace
}  // namespace brennock::simulator

// The umbrella target brennock::brennock names this symbol as undefined when a program links it,
// so the linker keeps this object, and with it the registration above, although nothing calls
// into it.
extern "C" const bool brennock_simulator_registered = brennock::simulator::kRegistered;
