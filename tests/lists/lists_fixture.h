#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "brennock/company/company.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/model/qc_base.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/currency.h"
#include "tests/support/recording_processor.h"

namespace brennock::testing {

// A qbXML 2.0 session on a recording processor, with a company whose master collections the
// records and references resolve through.
class ListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Session() = SessionState{};
    Session().qbxmlVersion = "2.0";
    Session().qbxmlVersionNumber = Currency(2);
    processor_ = std::make_shared<RecordingProcessor>();
    Session().processor = processor_;
    Session().ticket = "T-1";
    company_ = std::make_shared<Company>();
    Session().company = company_;
  }
  void TearDown() override { Session() = SessionState{}; }

  // A response document around the given response elements.
  static std::string Response(const std::string& body) {
    return "<?xml version=\"1.0\" ?><QBXML><QBXMLMsgsRs>" + body + "</QBXMLMsgsRs></QBXML>";
  }
  static std::string Status(const std::string& element, int id, int code,
                            const std::string& message, const std::string& content = {}) {
    return "<" + element + " requestID=\"" + std::to_string(id) + "\" statusCode=\"" +
           std::to_string(code) + "\" statusSeverity=\"" + (code == 0 ? "Info" : "Error") +
           "\" statusMessage=\"" + message + "\">" + content + "</" + element + ">";
  }

  std::shared_ptr<RecordingProcessor> processor_;
  std::shared_ptr<Company> company_;
};

// The request envelope the builder writes around a record's Add fields.
inline std::string AddRequest(qcBase& record) {
  xmlBldr builder;
  builder.InsertAddRq(record, 1);
  return builder.GetXML();
}

// The text before the message set of every 2.0 request.
inline constexpr const char* kOpen20 =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.0//EN' >"
    "<QBXML><QBXMLMsgsRq onError = \"continueOnError\">";
inline constexpr const char* kClose = "</QBXMLMsgsRq></QBXML>";

// Runs the call and answers the error it raised (failing when it raised none).
template <typename Call>
AutomationError RaisedBy(Call&& call) {
  try {
    call();
  } catch (const AutomationError& error) {
    return error;
  }
  ADD_FAILURE() << "no error raised";
  return AutomationError(0, "", "");
}

}  // namespace brennock::testing
