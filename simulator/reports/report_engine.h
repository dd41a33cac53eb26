#pragma once

#include <string>

#include "simulator/request_context.h"

namespace brennock::simulator {

// Answers one of the ten report queries (GeneralSummaryReportQueryRq ...) from the books.
Status AnswerReportQuery(RequestContext& ctx);

}  // namespace brennock::simulator
