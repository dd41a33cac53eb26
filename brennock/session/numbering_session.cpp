#include "brennock/internal/session/numbering_session.h"

#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/session/processor_shutdown.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/processor_registry.h"
#include "brennock/session/remote_processor.h"

namespace brennock {
namespace {

constexpr const char* kNumberingProgId = "qbxmlrp.requestprocessor";

// QuickBooks takes an empty path as the company it has open, which is the main session's. A
// simulated company has no such notion, so the main session's file is named when it is known.
std::string MainCompanyFile(SessionState& session) {
  if (!session.processor || session.ticket.empty()) return {};
  try {
    return session.processor->GetCurrentCompanyFileName(session.ticket);
  } catch (...) {
    return {};
  }
}

}  // namespace

RequestProcessor& OpenNumberingSession() {
  SessionState& session = Session();
  if (session.numberingProcessor && !session.numberingTicket.empty()) {
    return *session.numberingProcessor;
  }
  std::shared_ptr<RequestProcessor> processor = CreateRequestProcessor(kNumberingProgId);
  if (!processor) {
    RaiseRuntime(kObjectNotSetNumber);
  }
  OpenConnectionOf(*processor, "", session.appName);
  std::string ticket = processor->BeginSession(MainCompanyFile(session), qbOpenModeDontCare);
  session.numberingProcessor = std::move(processor);
  session.numberingTicket = std::move(ticket);
  return *session.numberingProcessor;
}

void CloseNumberingSession() {
  SessionState& session = Session();
  if (session.numberingTicket.empty()) return;
  std::shared_ptr<RequestProcessor> processor = std::move(session.numberingProcessor);
  std::string ticket = std::move(session.numberingTicket);
  session.numberingProcessor.reset();
  session.numberingTicket.clear();
  ShutDownProcessor(processor, ticket);
}

}  // namespace brennock
