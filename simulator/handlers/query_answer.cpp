// The answer of a query once its records are selected, and the iterators that page it; shared by
// list and transaction queries.
#include "simulator/handlers/query_answer.h"

#include <algorithm>
#include <cstdio>

#include "brennock/internal/util/environment.h"
#include "simulator/clock.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

std::string NewIteratorId(Session& session) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "{%08llx-%04x-4000-8000-%012llx}",
                static_cast<unsigned long long>(session.next_iterator),
                static_cast<unsigned>(session.ticket.size()),
                static_cast<unsigned long long>(Now().unix_seconds));
  ++session.next_iterator;
  return buf;
}

// Writes the records of rows[begin, end); one deleted since it was selected is skipped.
void WriteRows(RequestContext& ctx, const std::vector<int64_t>& rows, size_t begin, size_t end,
               const RetOptions& options, RowWriter write) {
  ctx.out.reserve(ctx.out.size() + (end - begin) * 768);  // a typical record, to grow only once
  for (size_t i = begin; i < end; ++i) write(ctx, rows[i], options);
}

// How long an iterator lives from its Start, unless its session ends first.
int64_t IteratorLifetimeSeconds() {
  constexpr uint64_t kThirtyMinutes = 30 * 60;
  return static_cast<int64_t>(
      EnvironmentCount("BRENNOCK_SIMULATOR_ITERATOR_SECONDS", kThirtyMinutes));
}

}  // namespace

bool ReadMaxReturned(RequestContext& ctx, std::optional<size_t>& max_returned, Status& status) {
  auto max = ctx.request.child("MaxReturned");
  if (!max) return true;
  std::string text(Trim(max.text().get()));
  auto v = NormalizeValue(qbxml::ValueType::kInt, text);
  if (!v || std::stoll(*v) < 0) {
    status = ctx.Respond(MakeStatus(kConversionError, {"integer", text, "MaxReturned"}));
    return false;
  }
  max_returned = static_cast<size_t>(std::stoll(*v));
  return true;
}

Status ContinueIterator(RequestContext& ctx, std::string_view id) {
  auto it = ctx.session.iterators.find(std::string(id));
  if (it != ctx.session.iterators.end() && Now().unix_seconds >= it->second.expires_at) {
    ctx.session.iterators.erase(it);
    it = ctx.session.iterators.end();
  }
  if (it == ctx.session.iterators.end() || it->second.request_name != ctx.request.name())
    return ctx.Respond(MakeStatus(kIteratorInvalid, {id}));
  QueryIterator& iter = it->second;
  // Each Continue may ask for a different page size.
  if (auto max = ctx.request.child("MaxReturned")) {
    auto v = NormalizeValue(qbxml::ValueType::kInt, max.text().get());
    if (v && std::stoll(*v) > 0) iter.page_size = static_cast<size_t>(std::stoll(*v));
  }
  size_t end = std::min(iter.rows.size(), iter.position + iter.page_size);
  size_t begin = iter.position;
  iter.position = end;
  ResponseExtras extras;
  extras.iterator_remaining = iter.rows.size() - end;
  extras.iterator_id = std::string(id);
  Status status = begin == end ? MakeStatus(kNoMatch) : Status{};
  ctx.OpenResponse(status, extras, begin == end);
  if (begin != end) {
    WriteRows(ctx, iter.rows, begin, end, iter.options, iter.write);
    ctx.CloseResponse();
  }
  if (end == iter.rows.size()) ctx.session.iterators.erase(it);
  return status;
}

// Ends an iterator before its last page; an unknown one is refused as Continue refuses it.
Status StopIterator(RequestContext& ctx, std::string_view id) {
  auto it = ctx.session.iterators.find(std::string(id));
  if (it == ctx.session.iterators.end() || it->second.request_name != ctx.request.name())
    return ctx.Respond(MakeStatus(kIteratorInvalid, {id}));
  ctx.session.iterators.erase(it);
  ResponseExtras extras;
  extras.iterator_remaining = 0;
  extras.iterator_id = std::string(id);
  ctx.OpenResponse(Status{}, extras, true);
  return Status{};
}

bool AnswerIteratorRequest(RequestContext& ctx, Status& status) {
  pugi::xml_node rq = ctx.request;
  std::string_view iterator = rq.attribute("iterator").value();
  if (iterator == "Continue") {
    status = ContinueIterator(ctx, rq.attribute("iteratorID").value());
    return true;
  }
  if (iterator == "Stop") {
    status = StopIterator(ctx, rq.attribute("iteratorID").value());
    return true;
  }
  // Refused before the query runs: past the cap an iterator would cost its rows for nothing.
  if (iterator == "Start" && std::string_view(rq.attribute("metaData").value()) != "MetaDataOnly") {
    if (std::optional<Status> refusal = ctx.session.iterators.Refusal()) {
      status = ctx.Respond(*refusal);
      return true;
    }
  }
  return false;
}

Status AnswerQuery(RequestContext& ctx, std::vector<int64_t> rows, const RetOptions& options,
                   std::optional<size_t> max_returned, const std::string& missing,
                   RowWriter write) {
  pugi::xml_node rq = ctx.request;
  std::string_view iterator = rq.attribute("iterator").value();
  std::string_view meta = rq.attribute("metaData").value();
  ResponseExtras extras;
  if (meta == "MetaDataOnly" || meta == "MetaDataAndResponseData") extras.ret_count = rows.size();
  Status status;
  if (!missing.empty())
    status = MakeStatus(kPartialQuery, {missing});
  else if (rows.empty())
    status = MakeStatus(kNoMatch);
  if (meta == "MetaDataOnly") {
    ctx.OpenResponse(rows.empty() ? Status{} : status, extras, true);
    return status;
  }

  size_t end = rows.size();
  if (iterator == "Start") {
    QueryIterator iter;
    iter.request_name = rq.name();
    iter.page_size = max_returned.value_or(rows.size());
    if (iter.page_size == 0) iter.page_size = rows.size();
    end = std::min(rows.size(), iter.page_size);
    iter.position = end;
    extras.iterator_remaining = rows.size() - end;
    extras.iterator_id = NewIteratorId(ctx.session);
    iter.options = options;
    iter.write = write;
    iter.expires_at = Now().unix_seconds + IteratorLifetimeSeconds();
    if (end < rows.size()) {
      iter.rows = rows;
      ctx.session.iterators.emplace(extras.iterator_id, std::move(iter));
    }
  } else if (max_returned && *max_returned < end) {
    end = *max_returned;
  }
  ctx.OpenResponse(status, extras, end == 0);
  if (end > 0) {
    WriteRows(ctx, rows, 0, end, options, write);
    ctx.CloseResponse();
  }
  return status;
}

}  // namespace brennock::simulator
