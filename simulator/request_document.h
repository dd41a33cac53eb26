#pragma once

#include <string>
#include <string_view>

#include "simulator/session.h"

namespace brennock::simulator {

// Answers one qbXML request document within a session: parses it leniently (both DOCTYPE forms,
// the qbxml processing instruction, ISO-8859-1), checks it against the schema in strict mode,
// runs each request in order under one SQLite transaction and returns the response document.
// Raises the processor's parse error when the text is not a qbXML request.
std::string AnswerRequestDocument(Session& session, std::string_view text);

// Answers a subscription message set from the subscriptions kept in company.
std::string AnswerSubscriptionDocument(CompanyDb& company, std::string_view text);

}  // namespace brennock::simulator
