#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "brennock/session/processor_registry.h"
#include "tests/support/recording_processor.h"

namespace brennock {
namespace {

// Sets or removes BRENNOCK_PROCESSOR for one test and restores it afterwards.
class ScopedProcessorVariable {
 public:
  explicit ScopedProcessorVariable(const char* value) {
    if (const char* old = std::getenv("BRENNOCK_PROCESSOR")) saved_ = old;
    if (value != nullptr) {
      setenv("BRENNOCK_PROCESSOR", value, 1);
    } else {
      unsetenv("BRENNOCK_PROCESSOR");
    }
  }
  ~ScopedProcessorVariable() {
    if (saved_) {
      setenv("BRENNOCK_PROCESSOR", saved_->c_str(), 1);
    } else {
      unsetenv("BRENNOCK_PROCESSOR");
    }
  }

 private:
  std::optional<std::string> saved_;
};

std::shared_ptr<testing::RecordingProcessor> RegisterRecording(const std::string& progId) {
  auto processor = std::make_shared<testing::RecordingProcessor>();
  RegisterRequestProcessor(progId, [processor] { return processor; });
  return processor;
}

TEST(ProcessorRegistryTest, NamesIgnoreCaseAndLaterRegistrationsReplace) {
  auto first = RegisterRecording("Test.Registry.Case");
  EXPECT_EQ(CreateRequestProcessor("TEST.REGISTRY.CASE"), first);
  EXPECT_TRUE(IsRequestProcessorRegistered("test.registry.case"));

  auto second = RegisterRecording("test.REGISTRY.case");
  EXPECT_EQ(CreateRequestProcessor("Test.Registry.Case"), second);

  EXPECT_EQ(CreateRequestProcessor("Test.Registry.Unknown"), nullptr);
  EXPECT_FALSE(IsRequestProcessorRegistered("Test.Registry.Unknown"));
}

TEST(ProcessorRegistryTest, SimulatorIsBuiltInAndTheIntuitNamesLeadToIt) {
  ScopedProcessorVariable unset(nullptr);
  for (const char* name : {"Brennock.Simulator", "QBXMLRP2.RequestProcessor",
                           "qbxmlrp.requestprocessor", "QBXMLRP.RequestProcessor"}) {
    EXPECT_TRUE(IsRequestProcessorRegistered(name)) << name;
    EXPECT_NE(CreateRequestProcessor(name), nullptr) << name;
  }
  // Every creation is a processor of its own.
  EXPECT_NE(CreateRequestProcessor("Brennock.Simulator"),
            CreateRequestProcessor("Brennock.Simulator"));
}

TEST(ProcessorRegistryTest, EnvironmentChoosesTheProcessorBehindTheIntuitNames) {
  auto recording = RegisterRecording("Test.Registry.Redirect");
  ScopedProcessorVariable redirect("test.registry.REDIRECT");
  EXPECT_EQ(CreateRequestProcessor("QBXMLRP2.RequestProcessor"), recording);
  EXPECT_EQ(CreateRequestProcessor("qbxmlrp.requestprocessor"), recording);
  // Other names are not redirected.
  EXPECT_NE(CreateRequestProcessor("Brennock.Simulator"), recording);

  ScopedProcessorVariable missing("Test.Registry.Nobody");
  EXPECT_EQ(CreateRequestProcessor("QBXMLRP2.RequestProcessor"), nullptr);
  EXPECT_FALSE(IsRequestProcessorRegistered("QBXMLRP2.RequestProcessor"));
}

}  // namespace
}  // namespace brennock
