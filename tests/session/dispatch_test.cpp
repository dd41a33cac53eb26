#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "tests/support/qbxml_samples.h"
#include "tests/support/recording_processor.h"
#include "tests/support/schema_validator.h"

namespace brennock {
namespace {

std::string Response(const std::string& attributes) {
  return "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><CustomerQueryRs requestID=\"1\" " +
         attributes +
         "/><CustomerQueryRs requestID=\"2\" statusCode=\"3200\"/></QBXMLMsgsRs></QBXML>";
}

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    Session().qbxmlVersion = "2.0";
    Session().qbxmlVersionNumber = Currency(2);
    Session().processor = processor_;
    Session().ticket = "T-9";
  }
  void TearDown() override {
    Session() = SessionState{};
    // Every request a test sent must be valid qbXML.
    if (HasFailure() || !testing::QbxmlDir()) return;
    for (const auto& request : processor_->Requests()) {
      BRENNOCK_EXPECT_VALID_QBXML(request.text);
    }
  }

  // A customer query whose name carries `value`.
  void WriteQuery(const std::string& value) {
    b_.NewClear();
    b_.OpenAggregate("CustomerQueryRq", "requestID", "1");
    b_.CreateElement("FullName", value);
    b_.EndAggregate();
  }

  std::shared_ptr<testing::RecordingProcessor> processor_ =
      std::make_shared<testing::RecordingProcessor>();
  xmlBldr b_;
};

TEST_F(DispatchTest, FirstResponseStatusIsReadWithNothingFoundAsSuccess) {
  processor_->QueueResponse(Response(
      "statusCode=\"1\" statusSeverity=\"Info\" statusMessage=\"A query request did not find a "
      "matching object in QuickBooks\""));
  WriteQuery("Nobody");
  auto document = b_.NewSendRequest();
  ASSERT_TRUE(document);
  EXPECT_EQ(b_.ErrNumber(), 0);
  EXPECT_EQ(b_.ErrMsg(), "A query request did not find a matching object in QuickBooks");

  processor_->QueueResponse(
      Response("statusCode=\"3100\" statusMessage=\"The name &quot;X&quot; "
               "of the list element is already in use.\""));
  WriteQuery("X");
  document = b_.NewSendRequest();
  EXPECT_EQ(b_.ErrNumber(), 3100);
  EXPECT_EQ(b_.ErrMsg(), "The name \"X\" of the list element is already in use.");
  EXPECT_EQ(document->documentElement().baseName(), "QBXML");

  // No status attributes, or a reply that is not qbXML: each send starts from a cleared status,
  // so nothing of the earlier one remains.
  processor_->QueueResponse(Response("requestID2=\"x\""));
  WriteQuery("A");
  b_.NewSendRequest();
  EXPECT_EQ(b_.ErrNumber(), 0);
  EXPECT_EQ(b_.ErrMsg(), "");
  processor_->QueueResponse(Response("statusCode=\"3100\" statusMessage=\"In use\""));
  processor_->QueueResponse("not xml");
  WriteQuery("X");
  b_.NewSendRequest();
  WriteQuery("B");
  b_.NewSendRequest();
  EXPECT_EQ(b_.ErrNumber(), 0);
  EXPECT_EQ(b_.ErrMsg(), "");
}

TEST_F(DispatchTest, SubscriptionRequestsAreRecognisedAnywhereInTheText) {
  processor_->SetResponder([](const std::string&) { return Response("statusCode=\"0\""); });
  WriteQuery("QBXMLSubscriptionMsgsRq");
  b_.NewSendRequest();
  ASSERT_EQ(processor_->Requests().size(), 1u);
  EXPECT_TRUE(processor_->Requests()[0].subscription);
  EXPECT_EQ(processor_->Requests()[0].ticket, "");

  b_.NewClearSubscriptions();
  b_.NewSendSubscriptionRequest();
  EXPECT_TRUE(processor_->Requests()[1].subscription);
  EXPECT_EQ(processor_->Requests()[1].text,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC "
            "'-//INTUIT//DTD QBXML QBD 2.0//EN' ><QBXML><QBXMLSubscriptionMsgsRq>"
            "</QBXMLSubscriptionMsgsRq></QBXML>");

  // The raw-text send always goes through ProcessRequest and keeps the document.
  b_.NewClearSubscriptions();
  b_.OpenAggregate("UIEventSubscriptionQueryRq", "requestID", "1");
  b_.CreateElement("SubscriberID", "{6B063959-81B0-4F1B-9B0F-2B4D1A5E9C01}");
  b_.EndAggregate();
  b_.InsertRawXML("</QBXMLSubscriptionMsgsRq></QBXML>");
  std::string answer = b_.XMLSendToQB();
  EXPECT_EQ(answer, Response("statusCode=\"0\""));
  EXPECT_FALSE(processor_->Requests()[2].subscription);
  EXPECT_EQ(processor_->Requests()[2].ticket, "T-9");
  EXPECT_EQ(b_.GetXML(), processor_->Requests()[2].text);
}

TEST_F(DispatchTest, ProcessorFailureIsRaisedAgainAndTheRequestCanBeRetried) {
  const int32_t refused = vbObjectError + 0x220;
  processor_->FailNextCall(AutomationError(refused, "QBXMLRP2", "The ticket is not valid."));
  WriteQuery("Smith");
  try {
    b_.NewSendRequest();
    FAIL() << "no error raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), refused);
    EXPECT_EQ(error.Source(), "XMLBldr");
    EXPECT_EQ(error.Description(), "The ticket is not valid.");
  }
  EXPECT_EQ(b_.ErrNumber(), refused);
  EXPECT_EQ(b_.ErrMsg(), "The ticket is not valid.");

  processor_->QueueResponse(Response("statusCode=\"0\" statusMessage=\"Status OK\""));
  b_.SendToQB();
  ASSERT_EQ(processor_->Requests().size(), 2u);
  EXPECT_EQ(processor_->Requests()[1].text, processor_->Requests()[0].text);
  EXPECT_EQ(b_.ErrNumber(), 0);
  EXPECT_EQ(b_.PieceCount(), 0);
}

TEST_F(DispatchTest, CharactersXmlDoesNotAllowAreRefusedBeforeSending) {
  const std::pair<std::string, std::string> cases[] = {
      {"Bell\x07", "U+0007 in <FullName>"},
      {"Caf\xC3\xA9 \xEF\xBF\xBF", "U+FFFF in <FullName>"},
  };
  for (const auto& [value, where] : cases) {
    WriteQuery(value);
    try {
      b_.NewSendRequest();
      ADD_FAILURE() << "no error raised for " << where;
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Number(), vbObjectError + 1033);
      EXPECT_EQ(error.Source(), "XMLBldr");
      EXPECT_EQ(error.Description(), "The request holds a character XML does not allow: " + where);
    }
    EXPECT_EQ(b_.ErrNumber(), vbObjectError + 1033);
  }
  EXPECT_TRUE(processor_->Requests().empty());
  // Tabs and line breaks are XML characters.
  processor_->QueueResponse(Response("statusCode=\"0\" statusMessage=\"Status OK\""));
  WriteQuery("A\tB\r\nC");
  b_.NewSendRequest();
  EXPECT_EQ(processor_->Requests().size(), 1u);
}

TEST_F(DispatchTest, FirstStatusIsFoundBehindADoctype) {
  processor_->QueueResponse(
      "<?xml version=\"1.0\" ?><!DOCTYPE QBXML><QBXML><QBXMLMsgsRs><CustomerQueryRs "
      "requestID=\"1\" statusCode=\"3120\" statusMessage=\"Not found\"/></QBXMLMsgsRs></QBXML>");
  WriteQuery("Smith");
  b_.NewSendRequest();
  EXPECT_EQ(b_.ErrNumber(), 3120);
  EXPECT_EQ(b_.ErrMsg(), "Not found");
}

TEST_F(DispatchTest, LargeDeepOrDeclaringResponsesAreRefusedUnread) {
  auto refusal = [&](const std::string& response) {
    processor_->QueueResponse(response);
    WriteQuery("Smith");
    try {
      b_.NewSendRequest();
    } catch (const AutomationError& error) {
      EXPECT_EQ(error.Source(), "XMLBldr");
      EXPECT_EQ(b_.ErrNumber(), error.Number());
      return std::to_string(error.Number() - vbObjectError) + " " + error.Description();
    }
    return std::string("taken");
  };
  const std::string ok = Response("statusCode=\"0\" statusMessage=\"Status OK\"");
  setenv("BRENNOCK_MAX_RESPONSE_BYTES", std::to_string(ok.size()).c_str(), 1);
  EXPECT_EQ(refusal(ok), "taken");
  setenv("BRENNOCK_MAX_RESPONSE_BYTES", std::to_string(ok.size() - 1).c_str(), 1);
  EXPECT_EQ(refusal(ok), "1034 The response from QuickBooks is larger than the limit in bytes of " +
                             std::to_string(ok.size() - 1) + ".");
  unsetenv("BRENNOCK_MAX_RESPONSE_BYTES");

  // QBXML, the message set, the response, a record and its fields: five levels; empty elements,
  // markup in comments, CDATA and attribute values add none.
  const std::string record =
      "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs><CustomerQueryRs requestID=\"1\" "
      "statusCode=\"0\" statusMessage=\"a > b\"><CustomerRet><Name>a</Name><IsActive/>"
      "<!-- <x><y><z> --><![CDATA[<p><q>]]></CustomerRet></CustomerQueryRs></QBXMLMsgsRs></QBXML>";
  setenv("BRENNOCK_MAX_RESPONSE_DEPTH", "5", 1);
  EXPECT_EQ(refusal(record), "taken");
  setenv("BRENNOCK_MAX_RESPONSE_DEPTH", "4", 1);
  EXPECT_EQ(refusal(record),
            "1035 The response from QuickBooks nests elements deeper than the limit of 4.");
  unsetenv("BRENNOCK_MAX_RESPONSE_DEPTH");
  std::string deep = record;
  deep.insert(deep.find("<Name>"), std::string(300 * 3, ' '));
  for (int i = 0; i < 300; ++i) deep.replace(deep.find("   "), 3, "<a>");
  EXPECT_EQ(refusal(deep),
            "1035 The response from QuickBooks nests elements deeper than the limit of 256.");

  EXPECT_EQ(refusal("<?xml version=\"1.0\" ?><!DOCTYPE QBXML [<!ENTITY a \"aaaa\">]>" +
                    ok.substr(ok.find("<QBXML>"))),
            "1036 The response from QuickBooks declares a document type with declarations of "
            "its own.");
}

TEST_F(DispatchTest, MissingParserAndMissingSessionAreReportedClearly) {
  processor_->FailNextCall(
      AutomationError(429, "QBXMLRP2", "ActiveX component can't create object"));
  WriteQuery("Smith");
  ::testing::internal::CaptureStderr();
  try {
    b_.NewSendRequest();
    FAIL() << "no error raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(static_cast<uint32_t>(error.Number()), 0x800407CFu);
    EXPECT_EQ(error.Source(), "brennock");
    EXPECT_EQ(error.Description(), "Microsoft XML 4.0 parser not installed.");
  }
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                "The installation of the Microsoft XML Parser version 4.0 is either missing or "
                "corrupted.  This application"),
            std::string::npos);

  Session().processor.reset();
  try {
    b_.SendToQB();
    FAIL() << "no error raised";
  } catch (const AutomationError& error) {
    EXPECT_EQ(error.Number(), 91);
    EXPECT_EQ(error.Source(), "XMLBldr");
  }
}

TEST_F(DispatchTest, InsertBeginAndFinishCaptureFailuresInsteadOfRaising) {
  processor_->FailNextCall(AutomationError(vbObjectError + 7, "QBXMLRP2", "Connection lost"));
  EXPECT_EQ(b_.XMLInsertBegin("ItemServiceAddRq", "ItemServiceAdd"), "");
  b_.CreateElement("Name", "Labor");
  b_.OpenAggregateOnly("SalesOrPurchase");
  b_.OpenAggregateOnly("AccountRef");
  b_.CreateElement("FullName", "Income");
  b_.EndAggregate();
  b_.EndAggregate("SalesOrPurchase");
  EXPECT_EQ(b_.XMLInsertFinish("ItemServiceAddRq", "ItemServiceAdd"), nullptr);
  EXPECT_EQ(b_.ErrNumber(), vbObjectError + 7);
  EXPECT_EQ(b_.ErrMsg(), "Connection lost");
  EXPECT_EQ(
      processor_->LastRequestText(),
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC "
      "'-//INTUIT//DTD QBXML QBD 2.0//EN' ><QBXML><QBXMLMsgsRq onError = \"continueOnError\">"
      "<ItemServiceAddRq requestID = \"2\"><ItemServiceAdd><Name>Labor</Name><SalesOrPurchase>"
      "<AccountRef><FullName>Income</FullName></AccountRef></SalesOrPurchase></ItemServiceAdd>"
      "</ItemServiceAddRq></QBXMLMsgsRq></QBXML>");
}

TEST_F(DispatchTest, EachSendWritesSixTraceLines) {
  auto path = std::filesystem::temp_directory_path() / "brennock_dispatch_trace.xml";
  std::filesystem::remove(path);
  Session().debugXmlLogPath = path.string();
  processor_->QueueResponse(Response("statusCode=\"0\""));
  WriteQuery("Smith");
  b_.NewSendRequest();
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  // The 2.0 DOCTYPE and the bare declaration of the answer are left out; the encoded
  // declaration stays.
  EXPECT_EQ(
      text.str(),
      "<OUTGOING>\r\n<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><QBXML><QBXMLMsgsRq "
      "onError = \"continueOnError\"><CustomerQueryRq requestID = \"1\"><FullName>Smith"
      "</FullName></CustomerQueryRq></QBXMLMsgsRq></QBXML>\r\n</OUTGOING>\r\n<RETURNS>\r\n"
      "<QBXML><QBXMLMsgsRs><CustomerQueryRs requestID=\"1\" statusCode=\"0\"/><CustomerQueryRs "
      "requestID=\"2\" statusCode=\"3200\"/></QBXMLMsgsRs></QBXML>\r\n</RETURNS>\r\n");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace brennock
