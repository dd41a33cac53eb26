// The subscription requests the library writes, byte for byte, and how a commit files
// QuickBooks' answers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "brennock/brennock.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {
namespace {

constexpr const char* kGuid = "{7C1A4E52-3B1D-4F6A-9E0B-2D54A1C0E9F3}";
constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML "
    "QBD 16.0//EN' ><QBXML><QBXMLSubscriptionMsgsRq>";
constexpr const char* kTail = "</QBXMLSubscriptionMsgsRq></QBXML>";

std::string Document(const std::string& body) { return kHead + body + kTail; }

std::string Answer(const std::string& responses) {
  return "<?xml version=\"1.0\" ?><QBXML><QBXMLSubscriptionMsgsRs>" + responses +
         "</QBXMLSubscriptionMsgsRs></QBXML>";
}

class SubscriptionRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    processor_ = std::make_shared<RecordingProcessor>();
    Session().processor = processor_;
    Session().ticket = "ticket";
    Session().qbxmlVersion = "16.0";
    Session().qbxmlVersionNumber = Currency(16);
    Session().eventSubscriberID = kGuid;
    processor_->SetResponder([](const std::string&) { return Answer(""); });
  }
  void TearDown() override { Session() = SessionState{}; }

  const std::string& Sent() const { return processor_->LastRequestText(); }

  QBConnection connection_;
  std::shared_ptr<RecordingProcessor> processor_;
};

TEST_F(SubscriptionRequestsTest, UIEventSubscriptionWritesCloseBeforeOpenAndPrefersTheProgID) {
  auto subscriptions = connection_.UISubscriptions();
  auto both = subscriptions->Add("Books Sync", "BooksSync.Events");
  both->SetCLSID("{00000000-0000-0000-0000-000000000001}");  // the ProgID wins
  both->SetDeliveryAlways(true);
  both->SetCompanyFileOpenEvent(true);
  both->SetCompanyFileCloseEvent(true);
  subscriptions->Commit();
  EXPECT_TRUE(processor_->Requests().back().subscription);
  EXPECT_EQ(
      Sent(),
      Document(std::string("<UIEventSubscriptionAddRq requestID = \"1\"><UIEventSubscriptionAdd>"
                           "<SubscriberID>") +
               kGuid +
               "</SubscriberID><COMCallbackInfo><AppName>Books Sync</AppName><ProgID>"
               "BooksSync.Events</ProgID></COMCallbackInfo><DeliveryPolicy>DeliverAlways"
               "</DeliveryPolicy><CompanyFileEventSubscription><CompanyFileEventOperation>"
               "Close</CompanyFileEventOperation><CompanyFileEventOperation>Open"
               "</CompanyFileEventOperation></CompanyFileEventSubscription>"
               "</UIEventSubscriptionAdd></UIEventSubscriptionAddRq>"));

  // Without a ProgID the CLSID names the callback; the second member is request 2.
  auto byClass = subscriptions->Add("Books Sync", "");
  byClass->SetCLSID("{00000000-0000-0000-0000-000000000002}");
  subscriptions->Commit(byClass);
  EXPECT_NE(Sent().find("<UIEventSubscriptionAddRq requestID = \"2\">"), std::string::npos);
  EXPECT_NE(Sent().find("<AppName>Books Sync</AppName><CLSID>{00000000-0000-0000-0000-"
                        "000000000002}</CLSID></COMCallbackInfo><DeliveryPolicy>"
                        "DeliverOnlyIfRunning</DeliveryPolicy><CompanyFileEventSubscription>"
                        "</CompanyFileEventSubscription>"),
            std::string::npos);
}

TEST_F(SubscriptionRequestsTest, OneMenuItemGoesIntoTheMenuAndSeveralIntoASubmenu) {
  auto extensions = connection_.UIExtensionSubscriptions();
  auto one = extensions->Add("Books Sync", qbMnuCustomers, "BooksSync.Menu");
  one->MenuItems()
      ->Add("Send to CRM", "crm")
      ->DisplayConditions()
      ->VisibleIfs()
      ->Add(qbMnuHasCustomers);
  extensions->Commit();
  EXPECT_EQ(Sent(), Document(std::string("<UIExtensionSubscriptionAddRq requestID = \"1\">"
                                         "<UIExtensionSubscriptionAdd><SubscriberID>") +
                             kGuid +
                             "</SubscriberID><COMCallbackInfo><AppName>Books Sync</AppName>"
                             "<ProgID>BooksSync.Menu</ProgID></COMCallbackInfo>"
                             "<MenuExtensionSubscription><AddToMenu>Customers</AddToMenu>"
                             "<MenuItem><MenuText>Send to CRM</MenuText><EventTag>crm</EventTag>"
                             "<DisplayCondition><VisibleIf>HasCustomers</VisibleIf>"
                             "</DisplayCondition></MenuItem></MenuExtensionSubscription>"
                             "</UIExtensionSubscriptionAdd></UIExtensionSubscriptionAddRq>"));

  extensions->Clear();
  auto three = extensions->Add("Books Sync", qbMnuBanking, "BooksSync.Menu");
  three->DisplayConditions()->EnabledIfNots()->Add(qbMnuIsAccountantCopy);
  three->DisplayConditions()->VisibleIfNots()->Add(qbMnuMultiUserMode);
  for (const char* text : {"A", "B", "C"}) three->MenuItems()->Add(text, std::string("t") + text);
  extensions->Commit();
  EXPECT_NE(Sent().find("<MenuExtensionSubscription><AddToMenu>Banking</AddToMenu><Submenu>"
                        "<DisplayCondition><VisibleIfNot>MultiUserMode</VisibleIfNot>"
                        "<EnabledIfNot>IsAccountantCopy</EnabledIfNot></DisplayCondition>"
                        "<MenuItem><MenuText>A</MenuText><EventTag>tA</EventTag>"
                        "<DisplayCondition></DisplayCondition></MenuItem><MenuItem><MenuText>B"
                        "</MenuText><EventTag>tB</EventTag><DisplayCondition></DisplayCondition>"
                        "</MenuItem><MenuItem><MenuText>C</MenuText><EventTag>tC</EventTag>"
                        "<DisplayCondition></DisplayCondition></MenuItem></Submenu>"
                        "</MenuExtensionSubscription>"),
            std::string::npos)
      << Sent();
}

TEST_F(SubscriptionRequestsTest, DataDescriptorsWriteOneAggregatePerOperationByFamily) {
  auto data = connection_.DataEventSubscriptions();
  auto subscription = data->Add("Books Sync", "BooksSync.Data");
  subscription->EventDescriptors()->Add(qoObjectTypeInvoice, true, true, false, false);
  subscription->EventDescriptors()->Add(qoObjectTypeCustomer, false, false, true, false);
  subscription->EventDescriptors()->Add(qoObjectTypeTimeTracking, true, false, false, false);
  data->Commit();
  EXPECT_EQ(Sent(),
            Document(std::string("<DataEventSubscriptionAddRq requestID = \"1\">"
                                 "<DataEventSubscriptionAdd><SubscriberID>") +
                     kGuid +
                     "</SubscriberID><COMCallbackInfo><AppName>Books Sync</AppName><ProgID>"
                     "BooksSync.Data</ProgID></COMCallbackInfo><DeliveryPolicy>"
                     "DeliverOnlyIfRunning</DeliveryPolicy><TxnEventSubscription><TxnEventType>"
                     "Invoice</TxnEventType><TxnEventOperation>Add</TxnEventOperation>"
                     "</TxnEventSubscription><TxnEventSubscription><TxnEventType>Invoice"
                     "</TxnEventType><TxnEventOperation>Modify</TxnEventOperation>"
                     "</TxnEventSubscription><ListEventSubscription><ListEventType>Customer"
                     "</ListEventType><ListEventOperation>Delete</ListEventOperation>"
                     "</ListEventSubscription><ListEventSubscription><ListEventType>"
                     "TimeTracking</ListEventType><ListEventOperation>Add</ListEventOperation>"
                     "</ListEventSubscription></DataEventSubscriptionAdd>"
                     "</DataEventSubscriptionAddRq>"));

  // Lost-event tracking and merges are written only when asked for; transactions never merge.
  data->Clear();
  auto tracking = data->Add("Books Sync", "BooksSync.Data");
  tracking->SetTrackLostEvents(true);
  tracking->SetDeliveryAlways(true);
  tracking->EventDescriptors()->Add(qoObjectTypeVendor, false, false, false, true);
  tracking->EventDescriptors()->Add(qoObjectTypeBillPayment, false, false, false, true);
  data->Commit();
  EXPECT_NE(Sent().find("<DeliveryPolicy>DeliverAlways</DeliveryPolicy><TrackLostEvents>All"
                        "</TrackLostEvents><ListEventSubscription><ListEventType>Vendor"
                        "</ListEventType><ListEventOperation>Merge</ListEventOperation>"
                        "</ListEventSubscription></DataEventSubscriptionAdd>"),
            std::string::npos)
      << Sent();
}

TEST_F(SubscriptionRequestsTest, QueriesAndDeletesNameTheKind) {
  connection_.UISubscriptions()->GetAll();
  EXPECT_EQ(Sent(), Document("<UISubscriptionQueryRq requestID = \"1\"></UISubscriptionQueryRq>"));
  connection_.DataEventSubscriptions()->GetAll();
  EXPECT_EQ(Sent(), Document("<DataEventSubscriptionQueryRq requestID = \"1\">"
                             "</DataEventSubscriptionQueryRq>"));
  connection_.UIExtensionSubscriptions()->GetAll();
  EXPECT_EQ(Sent(), Document(std::string("<UIExtensionSubscriptionQueryRq requestID = \"1\">"
                                         "<SubscriberID>") +
                             kGuid + "</SubscriberID></UIExtensionSubscriptionQueryRq>"));
  connection_.UIExtensionSubscriptions()->Delete(3);
  EXPECT_EQ(Sent(),
            Document(std::string("<SubscriptionDelRq requestID = \"1\"><SubscriberID>") + kGuid +
                     "</SubscriberID><SubscriptionType>UIExtension</SubscriptionType>"
                     "</SubscriptionDelRq>"));

  // Without a subscriber ID the UI extension query is refused before anything is sent.
  Session().eventSubscriberID.clear();
  const size_t sent = processor_->Requests().size();
  try {
    connection_.UIExtensionSubscriptions()->GetAll();
    FAIL() << "GetAll without RegisterEventGUID";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), static_cast<int32_t>(0x80040B36));
    EXPECT_EQ(error.Source(), "UIExtensionSubscription");
    EXPECT_EQ(error.Description(), "QBConnection.RegisterEventGUID has not been called");
  }
  EXPECT_EQ(processor_->Requests().size(), sent);
}

TEST_F(SubscriptionRequestsTest, CommitFilesRefusalsAndLoadsWhatQuickBooksKept) {
  auto data = connection_.DataEventSubscriptions();
  auto kept = data->Add("Books Sync", "BooksSync.Data");
  auto refused = data->Add("Books Sync", "BooksSync.Other");
  refused->SetCollectionKey("second");
  processor_->QueueResponse(Answer(
      "<DataEventSubscriptionAddRs requestID=\"1\" statusCode=\"0\" statusSeverity=\"Info\" "
      "statusMessage=\"Status OK\"><DataEventSubscriptionRet><SubscriberID>{11111111-1111-1111-"
      "1111-111111111111}</SubscriberID><DeliveryPolicy>DeliverAlways</DeliveryPolicy>"
      "</DataEventSubscriptionRet></DataEventSubscriptionAddRs><DataEventSubscriptionAddRs "
      "requestID=\"2\" statusCode=\"3180\" statusSeverity=\"Error\" statusMessage=\"Refused\"/>"));
  try {
    data->Commit2();
    FAIL() << "a refused member raises with ErrorMode";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errCommitErrors));
    EXPECT_EQ(error.Source(), "DataEventSubscription");
  }
  EXPECT_EQ(kept->ObjectState(), qoObjectStateClean);
  EXPECT_EQ(kept->SubscriberId(), "{11111111-1111-1111-1111-111111111111}");
  EXPECT_EQ(refused->ObjectState(), qoObjectStateNew);
  ASSERT_EQ(data->Errors()->Count(), 1);
  EXPECT_EQ(data->Errors()->Item(1)->Number(), ErrorNumber(errCommitFailed));
  EXPECT_EQ(data->Errors()->Item(1)->Field(), "second");
  ASSERT_EQ(refused->Errors()->Count(), 1);
  EXPECT_EQ(refused->Errors()->Item(1)->Field(), "QuickBooks: ");
  EXPECT_EQ(refused->Errors()->Item(1)->Description(), "Refused");

  // A saved subscription that is changed cannot be sent: QuickBooks never modifies one.
  kept->SetAppName("Renamed");
  EXPECT_EQ(kept->ObjectState(), qoObjectStateDirty);
  try {
    data->Commit(kept);
    FAIL() << "a changed subscription is not sent";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errGeneral));
    EXPECT_EQ(error.Source(), "Brennock: DataEventSubscription");
    EXPECT_EQ(error.Description(), "XMLModify not supported");
  }
}

TEST_F(SubscriptionRequestsTest, OnlyTheConnectionsDataCollectionAddsAndMembersAreKeyed) {
  DataEventSubcriptions own;
  try {
    own.Add("Books Sync", "BooksSync.Data");
    FAIL() << "a client's collection adds nothing";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), ErrorNumber(errMasterOnly));
    EXPECT_EQ(error.Source(), "DataEventSubscription");
  }
  EXPECT_EQ(connection_.DataEventSubscriptions(), connection_.DataEventSubscriptions());
  auto ui = BrennockGlobals().UISubscriptions();  // the global connection's; no session needed
  ui->Add("Books Sync", "BooksSync.Events");
  EXPECT_TRUE(ui->ItemExists(std::string(kGuid)));
  EXPECT_EQ(ui->Item(std::string("{7c1a4e52-3b1d-4f6a-9e0b-2d54a1c0e9f3}")), ui->Item(1));
  EXPECT_FALSE(ui->ItemExists(2));
  ui->Remove(1);
  EXPECT_EQ(ui->Count(), 0);

  // A member not in the collection is filed, not sent.
  auto elsewhere = std::make_shared<UISubscription>();
  Session().errorMode = false;
  EXPECT_EQ(ui->Commit(elsewhere), 1);
  EXPECT_EQ(ui->Errors()->Item(1)->Number(), ErrorNumber(errNotMember));
}

}  // namespace
}  // namespace brennock::testing
