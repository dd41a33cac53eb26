// The simulated company keeps subscriptions and delivers events as QuickBooks does.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "simulator/events/data_events.h"
#include "simulator/store/company_db.h"
#include "tests/events/events_fixture.h"

namespace brennock::testing {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The value of the first element so named in a response text.
std::string ElementText(const std::string& text, const std::string& name) {
  size_t open = text.find("<" + name + ">");
  if (open == std::string::npos) return {};
  open += name.size() + 2;
  return text.substr(open, text.find("</" + name + ">", open) - open);
}

TEST_F(SimulatorEventsTest, ChangesByAnotherProcessArriveOncePerChangeInOrder) {
  // An invoice made before the subscription: its Add raises nothing.
  AddCustomer("Bo Kelly");
  std::string made = Send(
      "<AccountAddRq><AccountAdd><Name>Sales</Name><AccountType>Income</AccountType></AccountAdd>"
      "</AccountAddRq><ItemServiceAddRq><ItemServiceAdd><Name>Survey</Name><SalesOrPurchase><Price>90.00</Price>"
      "<AccountRef><FullName>Sales</FullName></AccountRef></SalesOrPurchase></ItemServiceAdd>"
      "</ItemServiceAddRq><InvoiceAddRq><InvoiceAdd><CustomerRef><FullName>Bo Kelly</FullName>"
      "</CustomerRef><RefNumber>1001</RefNumber><InvoiceLineAdd><ItemRef><FullName>Survey"
      "</FullName></ItemRef><Quantity>2</Quantity></InvoiceLineAdd></InvoiceAdd></InvoiceAddRq>");
  const std::string txnId = ElementText(made, "TxnID");
  const std::string editSequence = ElementText(made, "EditSequence");
  ASSERT_FALSE(txnId.empty()) << made;

  auto subscription = SubscribeData(true);
  subscription->EventDescriptors()->Add(qoObjectTypeCustomer, true, true, true, false);
  subscription->EventDescriptors()->Add(qoObjectTypeInvoice, true, true, true, false);
  ASSERT_EQ(connection_->DataEventSubscriptions()->Commit(), 0);
  listener_.Open(kSubscriber, path_);

  // Another process writes the same company file through a simulator of its own: a customer
  // added, the invoice modified, a class (not subscribed) added.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto qb = simulator::CreateSimulatorProcessor();
    qb->OpenConnection("", "Other process");
    std::string ticket = qb->BeginSession(path_, qbOpenModeDontCare);
    const std::string head =
        "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
        "onError=\"stopOnError\">";
    std::string answer = qb->ProcessRequest(
        ticket, head + "<CustomerAddRq><CustomerAdd><Name>Ada Byrne</Name></CustomerAdd>"
                       "</CustomerAddRq><InvoiceModRq><InvoiceMod><TxnID>" + txnId +
                    "</TxnID><EditSequence>" + editSequence +
                    "</EditSequence><Memo>Second visit</Memo></InvoiceMod></InvoiceModRq>"
                    "<ClassAddRq><ClassAdd><Name>Retail</Name></ClassAdd></ClassAddRq>"
                    "</QBXMLMsgsRq></QBXML>");
    qb->EndSession(ticket);
    _exit(Contains(answer, "statusCode=\"0\"") && !Contains(answer, "statusCode=\"3") ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  std::vector<qbEvent> events = Receive(2);
  ASSERT_EQ(events.size(), 2u);  // the class is not subscribed
  auto customers = connection_->Company()->Customers();
  customers->GetAll();
  EXPECT_EQ(events[0].EventType(), qbEventData);
  EXPECT_EQ(events[0].DataEventObjectType(), qoObjectTypeCustomer);
  EXPECT_EQ(events[0].qbListEventOp(), qbEventAdd);
  EXPECT_EQ(events[0].ListID(), customers->Item(std::string("Ada Byrne"))->ListID());
  EXPECT_EQ(events[0].SubscriberID(), kSubscriber);
  EXPECT_EQ(events[0].CompanyPath(), std::filesystem::absolute(path_).string());
  EXPECT_EQ(events[1].DataEventObjectType(), qoObjectTypeInvoice);
  EXPECT_TRUE(events[1].IsTxnEvent());
  EXPECT_EQ(events[1].qbTxnEventOp(), qbTxnEventModify);
  EXPECT_EQ(events[1].TxnId(), txnId);
  EXPECT_EQ(events[1].RefNumber(), "1001");
  EXPECT_EQ(listener_.Deliver(50), 0);  // nothing twice
}

TEST_F(SimulatorEventsTest, DeliverAlwaysKeepsEventsUntilTheSubscriberComesBack) {
  SubscribeData(true)->EventDescriptors()->Add(qoObjectTypeCustomer);
  connection_->DataEventSubscriptions()->Commit();
  std::vector<std::string> ids = {AddCustomer("First"), AddCustomer("Second")};
  // A refused change raises nothing: the name is taken.
  EXPECT_TRUE(Contains(Send("<CustomerAddRq><CustomerAdd><Name>First</Name></CustomerAdd>"
                            "</CustomerAddRq>"),
                       "statusCode=\"3100\""));
  ids.push_back(AddCustomer("Third"));

  listener_.Open(kSubscriber, path_);
  std::vector<qbEvent> events = Receive(3);
  ASSERT_EQ(events.size(), 3u);
  for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(events[i].ListID(), ids[i]);
  listener_.Close();
  listener_.Open(kSubscriber, path_);
  EXPECT_EQ(listener_.Deliver(50), 0);
}

TEST_F(SimulatorEventsTest, EventsOfAnAbsentSubscriberAreLostAndTheGapReported) {
  SubscribeData(false, true)->EventDescriptors()->Add(qoObjectTypeCustomer);
  connection_->DataEventSubscriptions()->Commit();
  AddCustomer("While away");  // nobody listens: lost
  const std::string query = std::string("<DataEventRecoveryInfoQueryRq><SubscriberID>") +
                            kSubscriber + "</SubscriberID></DataEventRecoveryInfoQueryRq>";
  EXPECT_TRUE(Contains(Send(query), "<DataEventRecoveryTime>"));

  listener_.Open(kSubscriber, path_);
  EXPECT_EQ(listener_.Deliver(50), 0);
  const std::string id = AddCustomer("While listening");
  std::vector<qbEvent> events = Receive(1);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].ListID(), id);
  EXPECT_FALSE(events[0].DataEventRecoveryTime().IsNull());  // changes since then may be missing

  Send(std::string("<DataEventRecoveryInfoDelRq><SubscriberID>") + kSubscriber +
       "</SubscriberID></DataEventRecoveryInfoDelRq>");
  EXPECT_FALSE(Contains(Send(query), "<DataEventRecoveryTime>"));
}

TEST_F(SimulatorEventsTest, AFullQueueLosesWhatComesBeyondItsLimit) {
  setenv("BRENNOCK_SIMULATOR_EVENT_QUEUE_LIMIT", "2", 1);
  SubscribeData(true)->EventDescriptors()->Add(qoObjectTypeCustomer);
  connection_->DataEventSubscriptions()->Commit();
  AddCustomer("One");
  AddCustomer("Two");
  AddCustomer("Three");
  unsetenv("BRENNOCK_SIMULATOR_EVENT_QUEUE_LIMIT");
  listener_.Open(kSubscriber, path_);
  EXPECT_EQ(Receive(2).size(), 2u);
  EXPECT_EQ(listener_.Deliver(50), 0);
  EXPECT_TRUE(Contains(Send(std::string("<DataEventRecoveryInfoQueryRq><SubscriberID>") +
                            kSubscriber + "</SubscriberID></DataEventRecoveryInfoQueryRq>"),
                       "<DataEventRecoveryTime>"));
}

TEST_F(SimulatorEventsTest, SubscriptionsAreKeptPerSubscriberWithQuickBooksStatuses) {
  SubscribeData(true)->EventDescriptors()->Add(qoObjectTypeCustomer);
  connection_->DataEventSubscriptions()->Commit();
  // A second data subscription of the same subscriber is refused as a name in use.
  auto again = SubscribeData(true);
  Session().errorMode = false;
  EXPECT_EQ(connection_->DataEventSubscriptions()->Commit(again), 1);
  EXPECT_EQ(again->Errors()->Item(1)->Number(), ErrorNumber(errNameExists));

  auto listed = std::make_shared<DataEventSubcriptions>();
  EXPECT_EQ(listed->GetAll(), 1);
  EXPECT_EQ(listed->Item(1)->SubscriberId(), kSubscriber);

  const std::string bad = Send(
      "<DataEventSubscriptionAddRq><DataEventSubscriptionAdd><SubscriberID>not-a-guid"
      "</SubscriberID><COMCallbackInfo><AppName>A</AppName><ProgID>P</ProgID></COMCallbackInfo>"
      "<DeliveryPolicy>DeliverAlways</DeliveryPolicy></DataEventSubscriptionAdd>"
      "</DataEventSubscriptionAddRq>",
      true);
  EXPECT_TRUE(Contains(bad, "statusCode=\"3000\"")) << bad;
  const std::string unknownType = Send(
      std::string("<DataEventSubscriptionAddRq><DataEventSubscriptionAdd><SubscriberID>"
                  "{99999999-9999-9999-9999-999999999999}</SubscriberID><COMCallbackInfo><AppName>"
                  "A</AppName><ProgID>P</ProgID></COMCallbackInfo><DeliveryPolicy>DeliverAlways"
                  "</DeliveryPolicy><ListEventSubscription><ListEventType>Invoice</ListEventType>"
                  "<ListEventOperation>Add</ListEventOperation></ListEventSubscription>"
                  "</DataEventSubscriptionAdd></DataEventSubscriptionAddRq>"),
      true);
  EXPECT_TRUE(Contains(unknownType, "statusCode=\"3020\"")) << unknownType;

  EXPECT_EQ(connection_->DataEventSubscriptions()->Delete(), 0);
  EXPECT_EQ(connection_->DataEventSubscriptions()->Delete(), 3120);  // nothing left to delete
  EXPECT_EQ(listed->GetAll(), 0);
  AddCustomer("After the subscription went");
  listener_.Open(kSubscriber, path_);
  EXPECT_EQ(listener_.Deliver(50), 0);
}

TEST_F(SimulatorEventsTest, SessionsOpeningAndClosingTheFileRaiseUIEvents) {
  auto ui = connection_->UISubscriptions()->Add("Event tests", kProgID);
  ui->SetCompanyFileOpenEvent(true);
  ui->SetCompanyFileCloseEvent(true);
  ui->SetDeliveryAlways(true);
  connection_->UISubscriptions()->Commit();
  auto qb = simulator::CreateSimulatorProcessor();
  qb->OpenConnection("", "Another application");
  qb->EndSession(qb->BeginSession(path_, qbOpenModeDontCare));
  listener_.Open(kSubscriber, path_);
  std::vector<qbEvent> events = Receive(2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].EventType(), qbEventUI);
  EXPECT_TRUE(events[0].CompanyfileOpened());
  EXPECT_FALSE(events[1].CompanyfileOpened());
  EXPECT_EQ(events[1].ProductName(), connection_->ProductName());
}

TEST_F(SimulatorEventsTest, AChosenMenuItemSendsItsEventTag) {
  auto menu = connection_->UIExtensionSubscriptions()->Add("Event tests", qbMnuCustomers, kProgID);
  menu->MenuItems()->Add("Send to CRM", "crm-send");
  auto banking = connection_->UIExtensionSubscriptions()->Add("Event tests", qbMnuBanking, kProgID);
  banking->MenuItems()->Add("Match", "match");
  banking->MenuItems()->Add("Import", "import");
  ASSERT_EQ(connection_->UIExtensionSubscriptions()->Commit(), 0);

  EXPECT_EQ(simulator::ChooseMenuItem(path_, "Customers:Send to CRM"), 1);
  EXPECT_EQ(simulator::ChooseMenuItem(path_, "Banking:Event tests:Import"), 1);
  EXPECT_EQ(simulator::ChooseMenuItem(path_, "Vendors:Send to CRM"), 0);
  listener_.Open(kSubscriber, path_);
  std::vector<qbEvent> events = Receive(2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].EventType(), qbEventUIExtension);
  EXPECT_EQ(events[0].EventTag(), "crm-send");
  EXPECT_EQ(events[1].EventTag(), "import");
}

TEST_F(SimulatorEventsTest, OneListenerPerSubscriberAndCallbacksThatFailGetTheEventAgain) {
  SubscribeData(true)->EventDescriptors()->Add(qoObjectTypeCustomer);
  connection_->DataEventSubscriptions()->Commit();
  listener_.Open(kSubscriber, path_);
  EventListener second;
  EXPECT_THROW(second.Open(kSubscriber, path_), AutomationError);

  AddCustomer("Retried");
  // Nobody takes the subscription's ProgID: the event stays, and the listener says why.
  UnregisterEventCallback(kProgID);
  try {
    listener_.Deliver(200);
    FAIL() << "an event without a callback";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errGeneral));
    EXPECT_EQ(error.Description(), "No callback takes the events of ProgID \"Tests.EventSink\".");
  }
  int calls = 0;
  RegisterEventCallback(kProgID, [&](const std::string&) {
    if (++calls == 1) throw std::runtime_error("subscriber busy");
  });
  EXPECT_THROW(listener_.Deliver(200), std::runtime_error);
  EXPECT_EQ(listener_.Deliver(200), 1);
  EXPECT_EQ(calls, 2);
}

TEST_F(SimulatorEventsTest, TheHookReportsTransactionsVoidsAndMerges) {
  SubscribeData(true)->EventDescriptors()->Add(qoObjectTypeInvoice);
  auto lists = connection_->DataEventSubscriptions()->Item(1)->EventDescriptors();
  lists->Add(qoObjectTypeCustomer, false, false, false, true);
  connection_->DataEventSubscriptions()->Commit();
  {
    simulator::CompanyDb company(path_);
    simulator::Transaction txn(company.db(), true);
    using simulator::RecordOperation;
    simulator::RecordChanged(company, "Invoice", RecordOperation::kVoid, "1A-1700000000", "1001");
    simulator::RecordChanged(company, "Customer", RecordOperation::kMerge, "8-1", "", "9-1");
    simulator::RecordChanged(company, "Invoice", RecordOperation::kMerge, "1A-1700000000");
    simulator::RecordChanged(company, "BuildAssembly", RecordOperation::kAdd, "2B-1700000000");
    txn.Commit();
  }
  listener_.Open(kSubscriber, path_);
  std::vector<qbEvent> events = Receive(2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].IsTxnEvent());
  EXPECT_EQ(events[0].qbTxnEventOp(), qbTxnEventModify);  // a void changes the transaction
  EXPECT_EQ(events[0].RefNumber(), "1001");
  EXPECT_EQ(events[1].qbListEventOp(), qbEventMerge);
  EXPECT_EQ(events[1].AfterMergeListID(), "9-1");
  EXPECT_EQ(listener_.Deliver(50), 0);
}

}  // namespace
}  // namespace brennock::testing
