#include "brennock/internal/session/processor_choice.h"

#include "brennock/session/processor_registry.h"

namespace brennock {

std::shared_ptr<RequestProcessor> CreateConnectionProcessor(const std::string& progId,
                                                            bool useRequestProcessor1) {
  if (!progId.empty()) return CreateRequestProcessor(progId);
  std::shared_ptr<RequestProcessor> probe = CreateRequestProcessor(kRequestProcessor1ProgId);
  if (!probe) return nullptr;
  if (!useRequestProcessor1 && probe->MajorVersion() >= 3) {
    if (auto second = CreateRequestProcessor(kRequestProcessor2ProgId)) return second;
  }
  return CreateRequestProcessor(kRequestProcessor1ProgId);
}

}  // namespace brennock
