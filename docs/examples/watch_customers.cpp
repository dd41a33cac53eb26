// Prints the customers added, changed and deleted in a QuickBooks company file as QuickBooks
// reports them: subscribes the first time (events then wait in the company file while nobody
// listens) and prints what arrives until SECONDS pass without an event.
#include <brennock/brennock.h>

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: watch_customers COMPANY_FILE SECONDS\n";
    return 64;
  }
  const std::string subscriber = "{3F2504E0-4F89-41D3-9A0C-0305E82C3301}";
  try {
    auto connection = std::make_shared<brennock::QBConnection>();
    connection->RegisterEventGUID(subscriber);
    connection->Connect("", "Customer watcher", brennock::qbOpenModeDontCare, argv[1]);
    auto subscriptions = connection->DataEventSubscriptions();
    subscriptions->GetAll();
    if (!subscriptions->ItemExists(subscriber)) {
      auto subscription = subscriptions->Add("Customer watcher", "CustomerWatcher.Events");
      subscription->SetDeliveryAlways(true);
      subscription->EventDescriptors()->Add(brennock::qoObjectTypeCustomer, true, true, true);
      subscriptions->Commit();
    }
    // What QuickBooks calls for the subscription's ProgID.
    brennock::RegisterEventCallback("CustomerWatcher.Events", [](const std::string& xml) {
      brennock::qbEvent event;
      event.ParseXML(xml);
      const char* done[] = {"", "added", "changed", "deleted", "merged"};
      std::cout << "customer " << event.ListID() << " " << done[event.qbListEventOp()] << "\n";
    });
    brennock::EventListener listener;
    listener.Open(subscriber);  // the connection's company file
    while (listener.Deliver(std::stoi(argv[2]) * 1000) > 0) {
    }
    connection->CloseConnection();
  } catch (const brennock::AutomationError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return 0;
}
