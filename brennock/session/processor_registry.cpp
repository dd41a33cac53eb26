#include "brennock/session/processor_registry.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "brennock/internal/util/text.h"

namespace brennock {
namespace {

constexpr const char* kSimulatorProgId = "Brennock.Simulator";

std::string Folded(const std::string& name) { return AsciiLowered(name); }

bool IsIntuitProgId(const std::string& folded) {
  return folded == "qbxmlrp2.requestprocessor" || folded == "qbxmlrp.requestprocessor";
}

// The Intuit ProgIDs have no processor of their own on this platform: they lead to the one the
// environment names. A redirect that names an Intuit ProgID again is looked up as it stands.
std::string ResolvedKey(const std::string& progId) {
  std::string folded = Folded(progId);
  if (!IsIntuitProgId(folded)) return folded;
  const char* chosen = std::getenv("BRENNOCK_PROCESSOR");
  return Folded(chosen != nullptr && *chosen != '\0' ? chosen : kSimulatorProgId);
}

class Registry {
 public:
  static Registry& Instance() {
    // Built on first use: processors register themselves while the program starts.
    static Registry registry;
    return registry;
  }

  void Add(const std::string& progId, RequestProcessorFactory factory) {
    std::lock_guard lock(mutex_);
    factories_[Folded(progId)] = std::move(factory);
  }

  RequestProcessorFactory Find(const std::string& progId) {
    std::string key = ResolvedKey(progId);
    std::lock_guard lock(mutex_);
    auto found = factories_.find(key);
    return found == factories_.end() ? RequestProcessorFactory() : found->second;
  }

 private:
  Registry() = default;

  std::mutex mutex_;
  std::unordered_map<std::string, RequestProcessorFactory> factories_;
};

}  // namespace

void RegisterRequestProcessor(const std::string& progId, RequestProcessorFactory factory) {
  Registry::Instance().Add(progId, std::move(factory));
}

std::shared_ptr<RequestProcessor> CreateRequestProcessor(const std::string& progId) {
  RequestProcessorFactory factory = Registry::Instance().Find(progId);
  return factory ? factory() : nullptr;
}

bool IsRequestProcessorRegistered(const std::string& progId) {
  return static_cast<bool>(Registry::Instance().Find(progId));
}

}  // namespace brennock
