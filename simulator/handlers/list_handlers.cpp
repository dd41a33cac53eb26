// Add, Mod, Query and Del of every list, the mixed entity/item/terms queries and the query of
// deleted list records. All of them are driven by the list descriptors.
#include <algorithm>

#include "simulator/clock.h"
#include "simulator/events/data_events.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/handlers/query_answer.h"
#include "simulator/lists/field_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

std::string_view StripSuffix(std::string_view name, std::string_view suffix) {
  return name.substr(0, name.size() - suffix.size());
}

Status ListAdd(RequestContext& ctx) {
  const ListType* type = FindListType(StripSuffix(ctx.request.name(), "AddRq"));
  auto add = ctx.request.child((std::string(type->name) + "Add").c_str());
  if (!add)
    return ctx.Respond(
        MakeStatus(kCannotSave, {type->name, "", "The request has no Add aggregate."}));
  ListRecord record;
  Status status = ctx.lists.Add(*type, add, record);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, type->name, RecordOperation::kAdd, record.list_id);
  ctx.OpenResponse(status);
  ctx.lists.WriteRet(ctx.out, record, {});
  ctx.CloseResponse();
  return status;
}

Status ListMod(RequestContext& ctx) {
  const ListType* type = FindListType(StripSuffix(ctx.request.name(), "ModRq"));
  auto mod = ctx.request.child((std::string(type->name) + "Mod").c_str());
  if (!mod)
    return ctx.Respond(
        MakeStatus(kCannotModify, {type->name, "", "The request has no Mod aggregate."}));
  ListRecord record;
  Status status = ctx.lists.Modify(*type, mod, record);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, type->name, RecordOperation::kModify, record.list_id);
  ctx.OpenResponse(status);
  ctx.lists.WriteRet(ctx.out, record, {});
  ctx.CloseResponse();
  return status;
}

void WriteListRow(RequestContext& ctx, int64_t row, const RetOptions& options) {
  if (auto record = ctx.lists.LoadByRow(row)) ctx.lists.WriteRet(ctx.out, *record, options);
}

Status RunListQuery(RequestContext& ctx, const std::vector<const ListType*>& types) {
  pugi::xml_node rq = ctx.request;
  if (Status status; AnswerIteratorRequest(ctx, status)) return status;
  RetOptions options;
  ListFilter filter;
  for (auto t : types) filter.types.push_back(t->name);
  std::vector<std::string> ids, names;
  std::optional<size_t> max_returned;
  for (auto child : rq.children()) {
    std::string_view name = child.name();
    std::string text(Trim(child.text().get()));
    if (name == "ListID")
      ids.push_back(text);
    else if (name == "FullName")
      names.push_back(text);
    else if (name == "MaxReturned") {
      auto v = NormalizeValue(qbxml::ValueType::kInt, text);
      if (!v || std::stoll(*v) < 0)
        return ctx.Respond(MakeStatus(kConversionError, {"integer", text, "MaxReturned"}));
      max_returned = static_cast<size_t>(std::stoll(*v));
    } else if (name == "ActiveStatus") {
      filter.active = text == "All"            ? ListFilter::Active::kAll
                      : text == "InactiveOnly" ? ListFilter::Active::kInactiveOnly
                                               : ListFilter::Active::kActiveOnly;
    } else if (name == "FromModifiedDate" || name == "ToModifiedDate") {
      bool to = name == "ToModifiedDate";
      auto t = ParseDateTime(text, Now().utc_offset_minutes, to);
      if (!t) return ctx.Respond(MakeStatus(kConversionError, {"date", text, name}));
      (to ? filter.to_modified : filter.from_modified) = *t;
    } else if (name == "NameFilter") {
      std::string_view criterion = Trim(child.child("MatchCriterion").text().get());
      std::string pattern;
      if (criterion != "StartsWith") pattern += '%';
      std::string value(Trim(child.child("Name").text().get()));
      for (char c : value) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
      }
      if (criterion != "EndsWith") pattern += '%';
      filter.name_like = pattern;
    } else if (name == "NameRangeFilter") {
      if (auto from = child.child("FromName")) filter.name_from = Trim(from.text().get());
      if (auto to = child.child("ToName"))
        filter.name_to = std::string(Trim(to.text().get())) + "\xff";
    } else if (name == "TotalBalanceFilter") {
      std::string_view op = Trim(child.child("Operator").text().get());
      filter.balance_operator = op == "LessThan"           ? "<"
                                : op == "LessThanEqual"    ? "<="
                                : op == "Equal"            ? "="
                                : op == "GreaterThan"      ? ">"
                                : op == "GreaterThanEqual" ? ">="
                                                           : "";
      auto cents = ParseCents(child.child("Amount").text().get());
      if (filter.balance_operator.empty() || !cents)
        return ctx.Respond(
            MakeStatus(kConversionError, {"amount", child.child("Amount").text().get(), "Amount"}));
      filter.balance_cents = *cents;
    } else if (name == "AccountType") {
      filter.account_types.push_back(text);
    } else if (name == "IncludeRetElement") {
      options.include.insert(text);
    } else if (name == "OwnerID") {
      options.owner_ids.push_back(text);
    }
  }

  std::vector<int64_t> rows;
  std::string missing;
  if (!ids.empty() || !names.empty()) {
    auto in_types = [&](const ListRecord& r) {
      return std::find(types.begin(), types.end(), r.type) != types.end();
    };
    for (const auto& id : ids) {
      auto r = ctx.lists.LoadById(id);
      if (r && in_types(*r))
        rows.push_back(r->row);
      else if (missing.empty())
        missing = id;
    }
    for (const auto& full_name : names) {
      std::optional<ListRecord> r;
      for (auto t : types)
        if ((r = ctx.lists.LoadByFullName(*t, full_name))) break;
      if (r)
        rows.push_back(r->row);
      else if (missing.empty())
        missing = full_name;
    }
  } else {
    rows = ctx.lists.Select(filter);
  }

  return AnswerQuery(ctx, std::move(rows), options, max_returned, missing, WriteListRow);
}

Status ListQuery(RequestContext& ctx) {
  const ListType* type = FindListType(StripSuffix(ctx.request.name(), "QueryRq"));
  return RunListQuery(ctx, {type});
}

std::vector<const ListType*> TypesInSpace(std::string_view space) {
  std::vector<const ListType*> types;
  for (const auto& t : AllListTypes())
    if (t.name_space == space) types.push_back(&t);
  return types;
}

Status EntityQuery(RequestContext& ctx) { return RunListQuery(ctx, TypesInSpace("Entity")); }
Status ItemQuery(RequestContext& ctx) { return RunListQuery(ctx, TypesInSpace("Item")); }
Status TermsQuery(RequestContext& ctx) { return RunListQuery(ctx, TypesInSpace("Terms")); }

Status ListDel(RequestContext& ctx) {
  std::string_view del_type = Trim(ctx.request.child("ListDelType").text().get());
  const ListType* type = FindListType(del_type);
  if (!type || !type->can_delete) return ctx.Respond(MakeStatus(kFeatureNotEnabled));
  DeletedRecord deleted;
  Status status = ctx.lists.Delete(*type, ctx.request.child("ListID").text().get(), deleted);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, type->name, RecordOperation::kDelete, deleted.list_id);
  ctx.OpenResponse(status);
  XmlWriter w(ctx.out);
  w.Element("ListDelType", deleted.list_type);
  w.Element("ListID", deleted.list_id);
  w.Element("TimeDeleted", deleted.time_deleted);
  w.Element("FullName", deleted.full_name);
  ctx.CloseResponse();
  return status;
}

Status ListDeletedQuery(RequestContext& ctx) {
  std::string sql =
      "SELECT list_type,list_id,time_created,time_deleted,full_name FROM deleted_lists WHERE "
      "list_type IN (";
  std::vector<std::string> types;
  for (auto t : ctx.request.children("ListDelType")) {
    sql += types.empty() ? "?" : ",?";
    types.emplace_back(Trim(t.text().get()));
  }
  sql += ")";
  std::optional<int64_t> from, to;
  if (auto range = ctx.request.child("DeletedDateRangeFilter")) {
    int32_t offset = Now().utc_offset_minutes;
    if (auto f = range.child("FromDeletedDate")) from = ParseDateTime(Trim(f.text().get()), offset);
    if (auto t = range.child("ToDeletedDate"))
      to = ParseDateTime(Trim(t.text().get()), offset, true);
    if (from) sql += " AND deleted_utc>=?";
    if (to) sql += " AND deleted_utc<=?";
  }
  sql += " ORDER BY rowid";
  auto& st = ctx.company.db().Prepare(sql);
  int n = 1;
  for (const auto& t : types) st.Bind(n++, t);
  if (from) st.Bind(n++, *from);
  if (to) st.Bind(n++, *to);
  std::string body;
  size_t count = 0;
  XmlWriter w(body);
  while (st.Step()) {
    ++count;
    w.Open("ListDeletedRet");
    w.Element("ListDelType", st.Text(0));
    w.Element("ListID", st.Text(1));
    w.Element("TimeCreated", st.Text(2));
    w.Element("TimeDeleted", st.Text(3));
    w.Element("FullName", st.Text(4));
    w.Close("ListDeletedRet");
  }
  Status status = count ? Status{} : MakeStatus(kNoMatch);
  ResponseExtras extras;
  if (ctx.request.attribute("metaData")) extras.ret_count = count;
  ctx.OpenResponse(status, extras, count == 0);
  if (count) {
    ctx.out += body;
    ctx.CloseResponse();
  }
  return status;
}

}  // namespace

void RegisterListHandlers(HandlerTable& table) {
  for (const auto& type : AllListTypes()) {
    std::string name(type.name);
    if (type.can_add) table.Add(name + "AddRq", ListAdd, true);
    if (type.can_modify) table.Add(name + "ModRq", ListMod, true);
    table.Add(name + "QueryRq", ListQuery, false);
  }
  table.Add("EntityQueryRq", EntityQuery, false);
  table.Add("ItemQueryRq", ItemQuery, false);
  table.Add("TermsQueryRq", TermsQuery, false);
  table.Add("ListDelRq", ListDel, true);
  table.Add("ListDeletedQueryRq", ListDeletedQuery, false);
}

}  // namespace brennock::simulator
