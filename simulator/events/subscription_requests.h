#pragma once

#include <pugixml.hpp>
#include <string>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// Answers the requests of a subscription message set (QBXMLSubscriptionMsgsRq) from the company
// file's subscriptions, appending one response per request: the Add, Query and Del of UI event,
// UI extension and data event subscriptions, kept per subscriber ID. As QuickBooks answers:
// a second subscription of a kind for a subscriber (for UI extensions: on the same menu) is
// refused with 3100, deleting the subscriptions of a subscriber that has none of that kind with
// 3120, a query that finds none with status 1; a malformed subscriber ID gets 3000, an unknown
// event type or operation 3020, text over its length 3070. Changes are written in one
// transaction; on a read-only file they are refused with 3262.
void AnswerSubscriptionRequests(CompanyDb& company, pugi::xml_node message_set, std::string& out);

}  // namespace brennock::simulator
