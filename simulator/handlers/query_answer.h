#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/request_context.h"

namespace brennock::simulator {

// Answers a query of any record family once its records are selected (rows in answer order):
// metaData, MaxReturned and iterator="Start" as QuickBooks takes them; missing names the first
// object asked for by ID or name that was not found (status 500).
Status AnswerQuery(RequestContext& ctx, std::vector<int64_t> rows, const RetOptions& options,
                   std::optional<size_t> max_returned, const std::string& missing, RowWriter write);

// The next page of an iterator the session keeps (iterator="Continue").
Status ContinueIterator(RequestContext& ctx, std::string_view id);
// Ends an iterator before its last page (iterator="Stop").
Status StopIterator(RequestContext& ctx, std::string_view id);
// Continue and Stop of an iterator the session keeps, and the refusal of a Start past the
// iterator caps, answered here (true, with their status); false for a query still to run.
bool AnswerIteratorRequest(RequestContext& ctx, Status& status);

// MaxReturned of a query request: nullopt when absent; false when it is no whole number >= 0
// (status answered).
bool ReadMaxReturned(RequestContext& ctx, std::optional<size_t>& max_returned, Status& status);

}  // namespace brennock::simulator
