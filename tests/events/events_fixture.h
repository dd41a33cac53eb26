#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace brennock::testing {

// A new simulated company file, a library connection to it under a registered subscriber ID,
// and what a listener of that subscriber received.
class SimulatorEventsTest : public ::testing::Test {
 protected:
  static constexpr const char* kSubscriber = "{0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D}";
  static constexpr const char* kProgID = "Tests.EventSink";

  void SetUp() override {
    Session() = SessionState{};
    folder_ = std::filesystem::temp_directory_path() /
              ("brennock_events_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "company.qbw").string();
    simulator::CreateCompanyFile(path_);
    connection_ = std::make_shared<QBConnection>();
    connection_->SetRequestProcessorProgId("Brennock.Simulator");
    connection_->RegisterEventGUID(kSubscriber);
    connection_->Connect("", "Event tests", qbOpenModeDontCare, path_);
    RegisterEventCallback(kProgID, [this](const std::string& xml) { received_.push_back(xml); });
  }

  void TearDown() override {
    UnregisterEventCallback(kProgID);
    listener_.Close();
    connection_->CloseConnection();
    connection_.reset();
    Session() = SessionState{};
    std::filesystem::remove_all(folder_);
  }

  // A data event subscription of kSubscriber for the descriptors given.
  std::shared_ptr<DataEventSubcription> SubscribeData(bool deliverAlways, bool trackLost = false) {
    auto subscriptions = connection_->DataEventSubscriptions();
    auto subscription = subscriptions->Add("Event tests", kProgID);
    subscription->SetDeliveryAlways(deliverAlways);
    subscription->SetTrackLostEvents(trackLost);
    return subscription;
  }

  std::string AddCustomer(const std::string& name) {
    auto customers = connection_->Company()->Customers();
    auto customer = customers->Add(name);
    customers->Commit(customer);
    return customer->ListID();
  }

  // Delivers until count events arrived or a few seconds passed; returns them parsed.
  std::vector<qbEvent> Receive(size_t count) {
    for (int round = 0; round < 200 && received_.size() < count; ++round) listener_.Deliver(20);
    std::vector<qbEvent> events(received_.size());
    for (size_t i = 0; i < received_.size(); ++i) events[i].ParseXML(received_[i]);
    return events;
  }

  // The response text of a raw request document sent through the connection's session.
  static std::string Send(const std::string& body, bool subscription = false) {
    xmlBldr builder;
    if (subscription)
      builder.NewClearSubscriptions();
    else
      builder.NewClear();
    builder.InsertRawXML(body);
    builder.InsertRawXML(subscription ? "</QBXMLSubscriptionMsgsRq></QBXML>"
                                      : "</QBXMLMsgsRq></QBXML>");
    return builder.XMLSendToQB();
  }

  std::filesystem::path folder_;
  std::string path_;
  std::shared_ptr<QBConnection> connection_;
  EventListener listener_;
  std::vector<std::string> received_;
};

}  // namespace brennock::testing
