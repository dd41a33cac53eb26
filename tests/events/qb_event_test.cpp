// Incoming event documents read by qbEvent: QuickBooks' own samples, and each kind of event.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brennock/brennock.h"
#include "tests/support/qbxml_samples.h"

namespace brennock::testing {
namespace {

constexpr const char* kHost =
    "<HostInfo><ProductName>QuickBooks Enterprise 16</ProductName><MajorVersion>26</MajorVersion>"
    "<MinorVersion>1</MinorVersion><Country>US</Country></HostInfo>";

std::string EventText(const std::string& event) {
  return "<?xml version=\"1.0\" ?>\n<?qbxml version=\"16.0\" ?>\n<QBXML><QBXMLEvents>" + event +
         "</QBXMLEvents></QBXML>";
}

int32_t ErrorOf(qbEvent& event, const std::string& text) {
  try {
    event.ParseXML(text);
  } catch (const AutomationError& error) {
    return error.Number();
  }
  return 0;
}

TEST(QbEventTest, QuickBooksMenuEventSamplesReadToTheirValues) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  std::vector<std::string> documents = {
      ReadQbxmlFile("samples/intuit/events/UIExtensionEvent_1.xml"),
      ReadQbxmlFile("samples/intuit/events/UIExtensionEvent_2.xml")};
  // EventXML.txt holds two events, divided by a line of dashes.
  const std::string both = ReadQbxmlFile("samples/intuit/events/EventXML.txt");
  const size_t divider = both.find("----");
  documents.push_back(both.substr(0, divider));
  documents.push_back(both.substr(both.find('\n', divider) + 1));
  const std::vector<int> seconds = {35, 51, 35, 51};
  for (size_t i = 0; i < documents.size(); ++i) {
    SCOPED_TRACE(i);
    qbEvent event;
    event.ParseXML(documents[i]);
    EXPECT_EQ(event.EventType(), qbEventUIExtension);
    EXPECT_EQ(event.EventTag(), "ID-short");
    EXPECT_EQ(event.CompanyPath(), "E:\\qb2004_ThunderDev\\data\\test.QBW");
    EXPECT_EQ(event.ProductName(), "QuickBooks Pro 2004");
    EXPECT_EQ(event.MajorVersion(), "13");
    EXPECT_EQ(event.MinorVersion(), "0");
    EXPECT_EQ(event.SubscriberID(), "{70DC83AB-2EC1-478F-9204-C37485AD8E3C}");
    EXPECT_EQ(event.EventTime(), Date::FromDateTime(2003, 9, 5, 17, 14, seconds[i]));
    ASSERT_NE(event.EventDocument(), nullptr);
  }
}

TEST(QbEventTest, CompanyFileEventsReadTheOperationInAnyCase) {
  qbEvent event;
  event.ParseXML(EventText(
      std::string("<UIEvent><CompanyFilePath>C:\\Books\\a.qbw</CompanyFilePath>") + kHost +
      "<CompanyFileEvent><CompanyFileEventOperation>oPeN"
      "</CompanyFileEventOperation><IsNewCompany>true</IsNewCompany>"
      "<IsAutomaticLogin>false</IsAutomaticLogin></CompanyFileEvent>"
      "</UIEvent>"));
  EXPECT_EQ(event.EventType(), qbEventUI);
  EXPECT_TRUE(event.CompanyfileOpened());
  EXPECT_TRUE(event.NewCompany());
  EXPECT_FALSE(event.AutomaticLogin());
  EXPECT_EQ(event.CompanyPath(), "C:\\Books\\a.qbw");
  EXPECT_EQ(event.ProductName(), "QuickBooks Enterprise 16");
  EXPECT_EQ(event.MinorVersion(), "1");

  event.ParseXML(EventText(std::string("<UIEvent><CompanyFilePath>b.qbw</CompanyFilePath>") +
                           kHost +
                           "<CompanyFileEvent><CompanyFileEventOperation>Close"
                           "</CompanyFileEventOperation></CompanyFileEvent></UIEvent>"));
  EXPECT_FALSE(event.CompanyfileOpened());
  EXPECT_TRUE(event.NewCompany());  // not in this event: kept
}

TEST(QbEventTest, DataEventsTellTheTypeOperationAndIds) {
  qbEvent event;
  event.ParseXML(EventText(
      std::string("<DataEvent><CompanyFilePath>c.qbw</CompanyFilePath>") + kHost +
      "<ListEvent><ListEventType>Customer</ListEventType><ListEventOperation>Merge"
      "</ListEventOperation><ListID>80000001-1700000000</ListID><AfterMergeListID>"
      "80000002-1700000000</AfterMergeListID></ListEvent><LastRestoreTime>2024-01-02T03:04:05"
      "</LastRestoreTime><DataEventRecoveryTime>2024-02-03T04:05:06-08:00"
      "</DataEventRecoveryTime></DataEvent>"));
  EXPECT_EQ(event.EventType(), qbEventData);
  EXPECT_FALSE(event.IsTxnEvent());
  EXPECT_EQ(event.DataEventType(), "Customer");
  EXPECT_EQ(event.DataEventObjectType(), qoObjectTypeCustomer);
  EXPECT_EQ(event.qbListEventOp(), qbEventMerge);
  EXPECT_EQ(event.ListID(), "80000001-1700000000");
  EXPECT_EQ(event.AfterMergeListID(), "80000002-1700000000");
  EXPECT_EQ(event.LastRestoreTime(), Date::FromDateTime(2024, 1, 2, 3, 4, 5));
  // The clock time QuickBooks wrote; the offset is not applied.
  EXPECT_EQ(event.DataEventRecoveryTime(), Date::FromDateTime(2024, 2, 3, 4, 5, 6));
  EXPECT_EQ(event.CompanyPath(), "c.qbw");

  event.ParseXML(EventText(std::string("<DataEvent><CompanyFilePath>c.qbw</CompanyFilePath>") +
                           kHost +
                           "<TxnEvent><TxnEventType>BillPaymentCheck</TxnEventType>"
                           "<TxnEventOperation>Delete</TxnEventOperation><TxnID>12-1700000000"
                           "</TxnID><RefNumber>1001</RefNumber></TxnEvent></DataEvent>"));
  EXPECT_TRUE(event.IsTxnEvent());
  EXPECT_EQ(event.DataEventObjectType(), qoObjectTypeBillPayment);
  EXPECT_EQ(event.qbTxnEventOp(), qbTxnEventDelete);
  EXPECT_EQ(event.TxnId(), "12-1700000000");
  EXPECT_EQ(event.RefNumber(), "1001");
  EXPECT_EQ(event.ListID(), "80000001-1700000000");  // a transaction event carries none: kept
}

TEST(QbEventTest, DocumentsWithoutTheNodesRaiseAfterWhatWasRead) {
  qbEvent event;
  // Without a DOCTYPE or processing instruction QBXML is the second node: nothing at the third.
  EXPECT_EQ(ErrorOf(event,
                    "<?xml version=\"1.0\" ?><QBXML><QBXMLEvents><UIEvent/></QBXMLEvents>"
                    "</QBXML>"),
            91);
  EXPECT_EQ(event.EventType(), 0);
  EXPECT_EQ(ErrorOf(event, "<QBXML><unclosed>"), 91);
  // A menu event without its tag: the kind was read before the walk failed.
  EXPECT_EQ(ErrorOf(event, EventText("<UIExtensionEvent><CompanyFilePath>x</CompanyFilePath>"
                                     "</UIExtensionEvent>")),
            91);
  EXPECT_EQ(event.EventType(), qbEventUIExtension);
  EXPECT_EQ(event.CompanyPath(), "");
}

}  // namespace
}  // namespace brennock::testing
