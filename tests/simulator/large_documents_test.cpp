// Documents of a megabyte and more are answered one request at a time: the answers are those the
// same requests get in small documents, and the whole document is still checked before any of it
// runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "brennock/errors/automation_error.h"
#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

class LargeDocumentsTest : public SimulatorTest {
 protected:
  void TearDown() override {
    unsetenv("BRENNOCK_SIMULATOR_MAX_REQUEST_ELEMENTS");
    SimulatorTest::TearDown();
  }

  // The answers of a document, without the envelope around them.
  static std::string Answers(const std::string& response) {
    const size_t start = response.find("<QBXMLMsgsRs>\n") + 14;
    return response.substr(start, response.rfind("</QBXMLMsgsRs>") - start);
  }

  // Empty when both are the same, else what each has where they first differ (large texts are
  // not compared by the framework's line diff).
  static std::string Difference(const std::string& a, const std::string& b) {
    if (a == b) return {};
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t from = at > 80 ? at - 80 : 0;
    return "at " + std::to_string(at) + ":\n" + a.substr(from, 240) + "\n----\n" +
           b.substr(from, 240);
  }

  // Whether the document is refused as text QuickBooks cannot parse.
  bool RefusedAsUnparsable(const std::string& document) {
    try {
      processor_->ProcessRequest(ticket_, document);
    } catch (const AutomationError&) {
      return true;
    }
    return false;
  }

  // Adds of classes Big1..BigN, more than a megabyte of them.
  static std::string ManyAdds() {
    std::string body;
    for (int i = 1; body.size() < (1u << 20) + 1000; ++i)
      body += "<ClassAddRq><ClassAdd><Name>Big" + std::to_string(i) +
              "</Name></ClassAdd></ClassAddRq><!-- padding padding padding padding padding -->";
    return body;
  }

  std::string ClassCount() {
    return Answers(Send("<ClassQueryRq><NameFilter><MatchCriterion>StartsWith</MatchCriterion>"
                        "<Name>Big</Name></NameFilter><IncludeRetElement>Name"
                        "</IncludeRetElement></ClassQueryRq>"))
        .substr(0, 60);
  }
};

TEST_F(LargeDocumentsTest, AnswersAreThoseOfTheSameRequestsInSmallDocuments) {
  Send(
      "<ClassAddRq><ClassAdd><Name>North</Name></ClassAdd></ClassAddRq>"
      "<ClassAddRq><ClassAdd><Name>South</Name></ClassAdd></ClassAddRq>");
  const std::string requests[] = {
      "<ClassQueryRq requestID=\"n\"><FullName>North</FullName></ClassQueryRq>",
      "<ClassQueryRq requestID=\"s\"><FullName>South</FullName></ClassQueryRq>",
      "<ClassQueryRq requestID=\"x\"><FullName>Nowhere</FullName></ClassQueryRq>",
      "<ClassAddRq requestID=\"d\"><ClassAdd><Name>North</Name></ClassAdd></ClassAddRq>",
      "<ClassQueryRq requestID=\"c\"><FullName><![CDATA[No]]><!-- a comment -->rth</FullName>"
      "</ClassQueryRq>"};
  std::string small, large_body, expected;
  for (const std::string& request : requests) small += Answers(Send(request, "continueOnError"));
  while (large_body.size() < (1u << 20) + 1000) {
    for (const std::string& request : requests) large_body += request;
    expected += small;
  }
  EXPECT_EQ(Difference(Answers(Send(large_body, "continueOnError")), expected), "");
  // Stopping at the first error stops there in a large document too: after the first "d" (the
  // name is taken).
  const std::string stopped = Answers(Send(large_body));
  EXPECT_EQ(Difference(stopped, small.substr(0, small.find("<ClassQueryRs requestID=\"c\""))), "");
}

TEST_F(LargeDocumentsTest, TheWholeDocumentIsCheckedBeforeAnyRequestRuns) {
  const std::string adds = ManyAdds();
  const std::string before = ClassCount();
  // Text that is no XML at the end, an element that is no request, and a message set left open:
  // nothing of the adds before them is run.
  EXPECT_TRUE(RefusedAsUnparsable(Envelope(adds + "<ClassAddRq><ClassAdd></ClassAddRq>")));
  EXPECT_TRUE(RefusedAsUnparsable(Envelope(adds + "<Oops/>")));
  std::string open = Envelope(adds);
  open.resize(open.size() - std::string("</QBXMLMsgsRq></QBXML>").size());
  EXPECT_TRUE(RefusedAsUnparsable(open));
  EXPECT_EQ(ClassCount(), before);
  // One request holding more elements than the simulator reads in one request.
  setenv("BRENNOCK_SIMULATOR_MAX_REQUEST_ELEMENTS", "1000", 1);
  std::string padded = "<ClassQueryRq>";
  while (padded.size() < (1u << 20) + 1000) padded += "<IncludeRetElement>Name</IncludeRetElement>";
  EXPECT_TRUE(RefusedAsUnparsable(Envelope(padded + "</ClassQueryRq>")));
  unsetenv("BRENNOCK_SIMULATOR_MAX_REQUEST_ELEMENTS");
  // The adds alone run, every one.
  const std::string done = Answers(Send(adds));
  EXPECT_EQ(done.find("statusSeverity=\"Error\""), std::string::npos);
  EXPECT_NE(ClassCount(), before);
}

}  // namespace
}  // namespace brennock::testing
