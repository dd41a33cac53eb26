// Add, Mod, Query, Del and Void of transactions, and the query of deleted transactions. Every
// kind the catalogue names is queried; Add and Mod are taken for the kinds that have a rule.
#include <algorithm>

#include "brennock/internal/util/text.h"
#include "simulator/clock.h"
#include "simulator/events/data_events.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/handlers/query_answer.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/date_macros.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

std::string_view StripSuffix(std::string_view name, std::string_view suffix) {
  return name.substr(0, name.size() - suffix.size());
}

std::string Text(pugi::xml_node node) { return std::string(Trim(node.text().get())); }

RetOptions AnswerOptions(pugi::xml_node rq) {
  RetOptions options;
  for (auto e : rq.children("IncludeRetElement")) options.include.insert(Text(e));
  return options;
}

// The Ret of a stored transaction, answering an Add or Mod, with the links it has.
Status AnswerWith(RequestContext& ctx, TxnStore& store, const TxnRecord& txn, Status status) {
  ctx.OpenResponse(status);
  RetOptions options = AnswerOptions(ctx.request);
  options.linked_txns = true;
  store.WriteRet(ctx.out, txn, options);
  ctx.CloseResponse();
  return status;
}

Status TxnAdd(RequestContext& ctx) {
  const TxnKind& kind = *FindTxnKind(StripSuffix(ctx.request.name(), "AddRq"));
  auto add = ctx.request.child((std::string(kind.stem) + "Add").c_str());
  if (!add)
    return ctx.Respond(
        MakeStatus(kTxnCannotSave, {kind.stem, "The request has no Add aggregate."}));
  TxnStore store(ctx.lists);
  TxnRecord txn;
  Status status = store.Add(kind, *FindTxnRule(kind.stem), add, txn);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, kind.stem, RecordOperation::kAdd, txn.txn_id, txn.ref_number);
  return AnswerWith(ctx, store, txn, status);
}

Status TxnMod(RequestContext& ctx) {
  const TxnKind& kind = *FindTxnKind(StripSuffix(ctx.request.name(), "ModRq"));
  auto mod = ctx.request.child((std::string(kind.stem) + "Mod").c_str());
  if (!mod)
    return ctx.Respond(
        MakeStatus(kTxnCannotModify, {kind.stem, "The request has no Mod aggregate."}));
  TxnStore store(ctx.lists);
  TxnRecord txn;
  Status status = store.Modify(kind, *FindTxnRule(kind.stem), mod, txn);
  if (!status.ok()) return ctx.Respond(status);
  // A Mod that changed nothing keeps its EditSequence and raises no event.
  if (txn.edit_sequence != Text(mod.child("EditSequence")))
    RecordChanged(ctx.company, kind.stem, RecordOperation::kModify, txn.txn_id, txn.ref_number);
  return AnswerWith(ctx, store, txn, status);
}

Status TxnDel(RequestContext& ctx) {
  std::string type = Text(ctx.request.child("TxnDelType"));
  const TxnKind* kind = FindTxnKind(type);
  if (!kind || !kind->can_delete) return ctx.Respond(MakeStatus(kFeatureNotEnabled));
  TxnStore store(ctx.lists);
  DeletedTxn deleted;
  Status status = store.Delete(*kind, Text(ctx.request.child("TxnID")), deleted);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, kind->stem, RecordOperation::kDelete, deleted.txn_id,
                deleted.ref_number);
  ctx.OpenResponse(status);
  XmlWriter w(ctx.out);
  w.Element("TxnDelType", deleted.txn_type);
  w.Element("TxnID", deleted.txn_id);
  w.Element("TimeDeleted", deleted.time_deleted);
  if (!deleted.ref_number.empty()) w.Element("RefNumber", deleted.ref_number);
  ctx.CloseResponse();
  return status;
}

Status TxnVoid(RequestContext& ctx) {
  std::string type = Text(ctx.request.child("TxnVoidType"));
  const TxnKind* kind = FindTxnKind(type);
  if (!kind || !kind->can_void) return ctx.Respond(MakeStatus(kFeatureNotEnabled));
  TxnStore store(ctx.lists);
  TxnRecord txn;
  Status status = store.Void(*kind, Text(ctx.request.child("TxnID")), txn);
  if (!status.ok()) return ctx.Respond(status);
  RecordChanged(ctx.company, kind->stem, RecordOperation::kVoid, txn.txn_id, txn.ref_number);
  ctx.OpenResponse(status);
  XmlWriter w(ctx.out);
  w.Element("TxnVoidType", kind->stem);
  w.Element("TxnID", txn.txn_id);
  w.Element("TimeCreated", txn.time_created);
  w.Element("TimeModified", txn.time_modified);
  if (!txn.ref_number.empty()) w.Element("RefNumber", txn.ref_number);
  ctx.CloseResponse();
  return status;
}

void WriteTxnRow(RequestContext& ctx, int64_t row, const RetOptions& options) {
  TxnStore store(ctx.lists);
  if (auto txn = store.LoadByRow(row)) store.WriteRet(ctx.out, *txn, options);
}

// The ListIDs an entity or account filter names, with every record below them when asked.
// False (status answered) when a name or ListID names nothing.
bool FilterIds(RequestContext& ctx, pugi::xml_node filter, std::string_view space,
               std::string_view owner, std::vector<std::string>& ids, Status& status) {
  for (auto child : filter.children()) {
    std::string_view name = child.name();
    std::string text = Text(child);
    bool children = name.ends_with("WithChildren");
    std::optional<ListRecord> found;
    if (name.starts_with("ListID")) {
      found = ctx.lists.LoadById(text);
      if (found && found->type->name_space != space) found.reset();
    } else {
      for (const auto& t : AllListTypes())
        if (t.name_space == space && (found = ctx.lists.LoadByFullName(t, text))) break;
    }
    if (!found) {
      status = ctx.Respond(MakeStatus(kInvalidReference, {space, text, owner}));
      return false;
    }
    ids.push_back(found->list_id);
    if (!children) continue;
    std::string pattern;
    for (char c : found->full_name + ":") {
      if (c == '%' || c == '_' || c == '\\') pattern += '\\';
      pattern += c;
    }
    auto& st = ctx.company.db().Prepare(
        "SELECT list_id FROM list_records WHERE name_space=? AND list_type=? AND "
        "full_name LIKE ? ESCAPE '\\'");
    st.Bind(1, found->type->name_space).Bind(2, found->type->name).Bind(3, pattern + "%");
    while (st.Step()) ids.emplace_back(st.Text(0));
  }
  return true;
}

Status TxnQuery(RequestContext& ctx) {
  pugi::xml_node rq = ctx.request;
  if (Status status; AnswerIteratorRequest(ctx, status)) return status;
  const TxnKind& kind = *FindTxnKind(StripSuffix(rq.name(), "QueryRq"));
  const std::string owner = std::string(kind.stem) + " query";
  TxnFilter filter;
  filter.kind = &kind;
  RetOptions options = AnswerOptions(rq);
  options.line_items = false;
  options.linked_txns = false;
  Status status;
  std::optional<size_t> max_returned;
  if (!ReadMaxReturned(ctx, max_returned, status)) return status;
  const int32_t offset = Now().utc_offset_minutes;
  for (auto child : rq.children()) {
    std::string_view name = child.name();
    if (name == "TxnID") {
      filter.txn_ids.push_back(Text(child));
    } else if (name == "RefNumber") {
      filter.ref_numbers.push_back(Text(child));
    } else if (name == "RefNumberCaseSensitive") {
      filter.ref_numbers_exact.push_back(Text(child));
    } else if (name == "ModifiedDateRangeFilter" || name == "TxnDateRangeFilter") {
      bool modified = name == "ModifiedDateRangeFilter";
      if (auto macro = child.child("DateMacro")) {
        int fiscal = MonthNumber(ctx.company.SettingOr("company.FirstMonthFiscalYear", "January"));
        if (auto range = DateMacroRange(Text(macro), Now(), fiscal)) {
          filter.from_date = range->first;
          filter.to_date = range->second;
        }
        continue;
      }
      for (auto bound : child.children()) {
        std::string text = Text(bound);
        bool to = std::string_view(bound.name()).starts_with("To");
        if (modified) {
          auto t = ParseDateTime(text, offset, to);
          if (!t) return ctx.Respond(MakeStatus(kConversionError, {"date", text, bound.name()}));
          (to ? filter.to_modified : filter.from_modified) = *t;
        } else {
          if (!NormalizeValue(qbxml::ValueType::kDate, text))
            return ctx.Respond(MakeStatus(kConversionError, {"date", text, bound.name()}));
          (to ? filter.to_date : filter.from_date) = text;
        }
      }
    } else if (name == "EntityFilter") {
      // A journal entry names its customers and vendors on its lines.
      bool on_lines = kind.field_index("EntityRef") < 0 && kind.field_index("CustomerRef") < 0 &&
                      kind.field_index("VendorRef") < 0 && kind.field_index("PayeeEntityRef") < 0;
      if (!FilterIds(ctx, child, "Entity", owner, on_lines ? filter.named_ids : filter.entity_ids,
                     status))
        return status;
    } else if (name == "TimeTrackingEntityFilter") {
      // The person whose time it is (EntityRef), not the customer it is billed to.
      if (!FilterIds(ctx, child, "Entity", owner, filter.named_ids, status)) return status;
    } else if (name == "ItemFilter") {
      if (!FilterIds(ctx, child, "Item", owner, filter.named_ids, status)) return status;
    } else if (name == "PendingStatus") {
      std::string pending = Text(child);
      if (pending != "All") filter.pending = pending == "PendingOnly";
    } else if (name == "AccountFilter") {
      if (!FilterIds(ctx, child, "Account", owner, filter.account_ids, status)) return status;
    } else if (name == "ItemFilter") {
      if (!FilterIds(ctx, child, "Item", owner, filter.item_ids, status)) return status;
    } else if (name == "CurrencyFilter") {
      if (!FilterIds(ctx, child, "Currency", owner, filter.currency_ids, status)) return status;
    } else if (name == "RefNumberFilter") {
      std::string criterion = Text(child.child("MatchCriterion"));
      std::string pattern = criterion == "StartsWith" ? "" : "%";
      for (char c : Text(child.child("RefNumber"))) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
      }
      if (criterion != "EndsWith") pattern += '%';
      filter.ref_like = pattern;
    } else if (name == "RefNumberRangeFilter") {
      if (auto from = child.child("FromRefNumber")) filter.ref_from = Text(from);
      if (auto to = child.child("ToRefNumber")) filter.ref_to = Text(to);
    } else if (name == "PaidStatus") {
      std::string paid = Text(child);
      filter.paid = paid == "PaidOnly"      ? TxnFilter::Paid::kPaidOnly
                    : paid == "NotPaidOnly" ? TxnFilter::Paid::kNotPaidOnly
                                            : TxnFilter::Paid::kAll;
    } else if (name == "IncludeLineItems" || name == "IncludeComponentLineItems") {
      options.line_items = NormalizeValue(qbxml::ValueType::kBool, Text(child)) == "true";
    } else if (name == "IncludeLinkedTxns") {
      options.linked_txns = NormalizeValue(qbxml::ValueType::kBool, Text(child)) == "true";
    } else if (name == "OwnerID") {
      options.owner_ids.push_back(Text(child));
    }
  }
  TxnStore store(ctx.lists);
  std::vector<int64_t> rows = store.Select(filter);
  // Asked for by TxnID or RefNumber: the first one not found makes the answer partial.
  std::string missing;
  if (!filter.txn_ids.empty() || !filter.ref_numbers.empty() || !filter.ref_numbers_exact.empty()) {
    std::vector<std::string> found;
    for (int64_t row : rows)
      if (auto t = store.LoadByRow(row)) {
        found.push_back(t->txn_id);
        found.push_back(AsciiLowered(t->ref_number));
        found.push_back("=" + t->ref_number);
      }
    auto has = [&](const std::string& key) {
      return std::find(found.begin(), found.end(), key) != found.end();
    };
    for (const auto& id : filter.txn_ids)
      if (missing.empty() && !has(id)) missing = id;
    for (const auto& ref : filter.ref_numbers)
      if (missing.empty() && !has(AsciiLowered(ref))) missing = ref;
    for (const auto& ref : filter.ref_numbers_exact)
      if (missing.empty() && !has("=" + ref)) missing = ref;
  }
  return AnswerQuery(ctx, std::move(rows), options, max_returned, missing, WriteTxnRow);
}

Status TxnDeletedQuery(RequestContext& ctx) {
  std::string sql =
      "SELECT txn_type,txn_id,time_created,time_deleted,ref_number FROM deleted_txns WHERE "
      "txn_type IN (";
  std::vector<std::string> types;
  for (auto t : ctx.request.children("TxnDelType")) {
    sql += types.empty() ? "?" : ",?";
    types.push_back(Text(t));
  }
  sql += ")";
  std::optional<int64_t> from, to;
  if (auto range = ctx.request.child("DeletedDateRangeFilter")) {
    int32_t offset = Now().utc_offset_minutes;
    if (auto f = range.child("FromDeletedDate")) from = ParseDateTime(Text(f), offset);
    if (auto t = range.child("ToDeletedDate")) to = ParseDateTime(Text(t), offset, true);
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
    w.Open("TxnDeletedRet");
    w.Element("TxnDelType", st.Text(0));
    w.Element("TxnID", st.Text(1));
    w.Element("TimeCreated", st.Text(2));
    w.Element("TimeDeleted", st.Text(3));
    if (!st.Text(4).empty()) w.Element("RefNumber", st.Text(4));
    w.Close("TxnDeletedRet");
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

void RegisterTxnHandlers(HandlerTable& table) {
  for (const auto& kind : AllTxnKinds()) {
    std::string stem(kind.stem);
    if (kind.can_query) table.Add(stem + "QueryRq", TxnQuery, false);
    if (!FindTxnRule(kind.stem)) continue;
    if (kind.add) table.Add(stem + "AddRq", TxnAdd, true);
    if (kind.mod) table.Add(stem + "ModRq", TxnMod, true);
  }
  table.Add("TxnDelRq", TxnDel, true);
  table.Add("TxnVoidRq", TxnVoid, true);
  table.Add("TxnDeletedQueryRq", TxnDeletedQuery, false);
}

}  // namespace brennock::simulator
