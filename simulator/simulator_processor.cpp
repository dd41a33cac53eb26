#include "simulator/simulator_processor.h"

#include "simulator/processor.h"

namespace brennock::simulator {

std::shared_ptr<brennock::RequestProcessor> CreateSimulatorProcessor() {
  return std::make_shared<SimulatorProcessor>();
}

}  // namespace brennock::simulator
