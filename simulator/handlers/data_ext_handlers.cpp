// Data extension definitions (DataExtDef...) and their values on records and the company
// (DataExt...). Values are written into a record's Ret when a query names their owner.
#include <algorithm>
#include <sstream>

#include "simulator/clock.h"
#include "simulator/events/data_events.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/lists/field_values.h"
#include "simulator/transactions/txn_store.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

struct DefinitionRow {
  std::string owner_id, name, data_type, assigned;
  std::optional<bool> list_require, txn_require;
  std::string format_string;
  int64_t ext_id = 0;
};

std::string Text(pugi::xml_node parent, const char* name) {
  return std::string(Trim(parent.child(name).text().get()));
}

std::optional<DefinitionRow> LoadDefinition(CompanyDb& company, std::string_view owner,
                                            std::string_view name) {
  auto& st = company.db().Prepare(
      "SELECT owner_id,name,data_type,assigned,list_require,txn_require,format_string,ext_id "
      "FROM data_ext_defs WHERE owner_id=? AND name=?");
  st.Bind(1, owner).Bind(2, name);
  if (!st.Step()) return std::nullopt;
  DefinitionRow d{std::string(st.Text(0)),
                  std::string(st.Text(1)),
                  std::string(st.Text(2)),
                  std::string(st.Text(3)),
                  std::nullopt,
                  std::nullopt,
                  std::string(st.Text(6)),
                  st.Int(7)};
  if (!st.IsNull(4)) d.list_require = st.Int(4) != 0;
  if (!st.IsNull(5)) d.txn_require = st.Int(5) != 0;
  return d;
}

void StoreDefinition(CompanyDb& company, const DefinitionRow& d, std::string_view old_name) {
  auto& st = company.db().Prepare(
      "INSERT OR REPLACE INTO data_ext_defs(owner_id,name,data_type,assigned,list_require,"
      "txn_require,format_string,ext_id) VALUES(?,?,?,?,?,?,?,?)");
  st.Bind(1, d.owner_id).Bind(2, d.name).Bind(3, d.data_type).Bind(4, d.assigned);
  if (d.list_require)
    st.Bind(5, int64_t{*d.list_require});
  else
    st.BindNull(5);
  if (d.txn_require)
    st.Bind(6, int64_t{*d.txn_require});
  else
    st.BindNull(6);
  st.Bind(7, d.format_string).Bind(8, d.ext_id);
  st.Run();
  if (!old_name.empty() && old_name != d.name) {
    company.db()
        .Prepare("DELETE FROM data_ext_defs WHERE owner_id=? AND name=?")
        .Bind(1, d.owner_id)
        .Bind(2, old_name)
        .Run();
    company.db()
        .Prepare("UPDATE data_ext_values SET name=? WHERE owner_id=? AND name=?")
        .Bind(1, d.name)
        .Bind(2, d.owner_id)
        .Bind(3, old_name)
        .Run();
  }
}

void WriteDefinition(std::string& out, const DefinitionRow& d) {
  XmlWriter w(out);
  w.Open("DataExtDefRet");
  w.Element("OwnerID", d.owner_id);
  w.Element("DataExtID", std::to_string(d.ext_id));
  w.Element("DataExtName", d.name);
  w.Element("DataExtType", d.data_type);
  std::istringstream assigned(d.assigned);
  for (std::string a; std::getline(assigned, a);) w.Element("AssignToObject", a);
  w.Element("DataExtListRequire", d.list_require.value_or(false) ? "true" : "false");
  w.Element("DataExtTxnRequire", d.txn_require.value_or(false) ? "true" : "false");
  w.Element("DataExtFormatString", d.format_string);
  w.Close("DataExtDefRet");
}

void ReadRequires(pugi::xml_node node, DefinitionRow& d) {
  if (auto v = node.child("DataExtListRequire"))
    d.list_require = NormalizeValue(qbxml::ValueType::kBool, v.text().get()) == "true";
  if (auto v = node.child("DataExtTxnRequire"))
    d.txn_require = NormalizeValue(qbxml::ValueType::kBool, v.text().get()) == "true";
  if (auto v = node.child("DataExtFormatString")) d.format_string = v.text().get();
}

Status DataExtDefAdd(RequestContext& ctx) {
  auto add = ctx.request.child("DataExtDefAdd");
  DefinitionRow d;
  d.owner_id = Text(add, "OwnerID");
  d.name = Text(add, "DataExtName");
  d.data_type = Text(add, "DataExtType");
  if (LoadDefinition(ctx.company, d.owner_id, d.name))
    return ctx.Respond(MakeStatus(kNameInUse, {d.name}));
  for (auto a : add.children("AssignToObject"))
    d.assigned += std::string(Trim(a.text().get())) + "\n";
  ReadRequires(add, d);
  auto& next = ctx.company.db().Prepare("SELECT coalesce(max(ext_id),0)+1 FROM data_ext_defs");
  d.ext_id = next.Step() ? next.Int(0) : 1;
  StoreDefinition(ctx.company, d, "");
  ctx.OpenResponse({});
  WriteDefinition(ctx.out, d);
  ctx.CloseResponse();
  return {};
}

Status DataExtDefMod(RequestContext& ctx) {
  auto mod = ctx.request.child("DataExtDefMod");
  std::string name = Text(mod, "DataExtName");
  auto d = LoadDefinition(ctx.company, Text(mod, "OwnerID"), name);
  if (!d) return ctx.Respond(MakeStatus(kObjectNotFound, {name}));
  if (auto n = mod.child("DataExtNewName")) {
    std::string new_name(Trim(n.text().get()));
    if (new_name != name && LoadDefinition(ctx.company, d->owner_id, new_name))
      return ctx.Respond(MakeStatus(kNameInUse, {new_name}));
    d->name = new_name;
  }
  for (auto a : mod.children("AssignToObject")) {
    std::string line = std::string(Trim(a.text().get())) + "\n";
    if (("\n" + d->assigned).find("\n" + line) == std::string::npos) d->assigned += line;
  }
  for (auto r : mod.children("RemoveFromObject")) {
    std::string line = std::string(Trim(r.text().get())) + "\n";
    std::string all = "\n" + d->assigned;
    auto pos = all.find("\n" + line);
    if (pos != std::string::npos) d->assigned = all.erase(pos, line.size()).substr(1);
  }
  ReadRequires(mod, *d);
  StoreDefinition(ctx.company, *d, name);
  ctx.OpenResponse({});
  WriteDefinition(ctx.out, *d);
  ctx.CloseResponse();
  return {};
}

Status DataExtDefDel(RequestContext& ctx) {
  // The schema puts OwnerID and DataExtName straight in the request; an inner DataExtDefDel
  // wrapper, as some clients write by analogy with DataExtDel, is accepted too.
  auto del = ctx.request.child("DataExtDefDel") ? ctx.request.child("DataExtDefDel") : ctx.request;
  std::string owner = Text(del, "OwnerID"), name = Text(del, "DataExtName");
  auto d = LoadDefinition(ctx.company, owner, name);
  if (!d) return ctx.Respond(MakeStatus(kObjectNotFound, {name}));
  auto& db = ctx.company.db();
  db.Prepare("DELETE FROM data_ext_defs WHERE owner_id=? AND name=?")
      .Bind(1, owner)
      .Bind(2, name)
      .Run();
  db.Prepare("DELETE FROM data_ext_values WHERE owner_id=? AND name=?")
      .Bind(1, owner)
      .Bind(2, name)
      .Run();
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open("DataExtDefDelRet");
  w.Element("OwnerID", d->owner_id);
  w.Element("DataExtName", d->name);
  w.Element("TimeDeleted", FormatDateTime(Now()));
  w.Close("DataExtDefDelRet");
  ctx.CloseResponse();
  return {};
}

Status DataExtDefQuery(RequestContext& ctx) {
  std::vector<std::string> owners, assigned;
  for (auto o : ctx.request.children("OwnerID")) owners.emplace_back(Trim(o.text().get()));
  for (auto a : ctx.request.children("AssignToObject")) assigned.emplace_back(Trim(a.text().get()));
  auto& st = ctx.company.db().Prepare("SELECT owner_id,name FROM data_ext_defs ORDER BY ext_id");
  std::vector<DefinitionRow> found;
  std::vector<std::pair<std::string, std::string>> keys;
  while (st.Step()) keys.emplace_back(st.Text(0), st.Text(1));
  for (const auto& [owner, name] : keys) {
    auto d = LoadDefinition(ctx.company, owner, name);
    if (!owners.empty() && std::find(owners.begin(), owners.end(), owner) == owners.end()) continue;
    if (!assigned.empty() && std::none_of(assigned.begin(), assigned.end(), [&](auto& a) {
          return ("\n" + d->assigned).find("\n" + a + "\n") != std::string::npos;
        }))
      continue;
    found.push_back(*d);
  }
  Status status = found.empty() ? MakeStatus(kNoMatch) : Status{};
  ctx.OpenResponse(status, {}, found.empty());
  if (found.empty()) return status;
  for (const auto& d : found) WriteDefinition(ctx.out, d);
  ctx.CloseResponse();
  return status;
}

// The object a value belongs to: a list record's ListID, a transaction's TxnID or one of its
// lines' TxnLineID, or "Company".
struct ValueTarget {
  std::string object_id;
  std::string list_type;         // ListDataExtType as given, empty for the company
  std::string_view record_type;  // the record's own list ("Customer", "ItemService")
  std::string ref_id, ref_name;
  std::string txn_type, txn_id, txn_line_id;  // a transaction's value
};

bool HasLine(const std::vector<TxnLine>& lines, std::string_view id) {
  for (const auto& l : lines)
    if (l.line_id == id || HasLine(l.members, id)) return true;
  return false;
}

// A transaction (or one of its lines) named by TxnDataExtType, TxnID and TxnLineID.
std::optional<ValueTarget> FindTxnTarget(RequestContext& ctx, pugi::xml_node node, Status& status) {
  ValueTarget target;
  target.txn_type = Text(node, "TxnDataExtType");
  target.txn_id = Text(node, "TxnID");
  target.txn_line_id = Text(node, "TxnLineID");
  TxnStore store(ctx.lists);
  auto txn = store.LoadById(target.txn_id);
  if (!txn || txn->kind->stem != target.txn_type ||
      (!target.txn_line_id.empty() && !HasLine(txn->lines, target.txn_line_id))) {
    std::string named = target.txn_line_id.empty() ? target.txn_id : target.txn_line_id;
    status = MakeStatus(kObjectNotFound, {named});
    return std::nullopt;
  }
  target.object_id = target.txn_line_id.empty() ? target.txn_id : target.txn_line_id;
  return target;
}

std::optional<ValueTarget> FindTarget(RequestContext& ctx, pugi::xml_node node, Status& status) {
  ValueTarget target;
  if (auto other = node.child("OtherDataExtType")) {
    target.object_id = "Company";
    return target;
  }
  if (node.child("TxnDataExtType")) return FindTxnTarget(ctx, node, status);
  target.list_type = Text(node, "ListDataExtType");
  auto ref = node.child("ListObjRef");
  std::string id = Text(ref, "ListID"), name = Text(ref, "FullName");
  std::optional<ListRecord> record;
  if (!id.empty())
    record = ctx.lists.LoadById(id);
  else
    for (const auto& t : AllListTypes())
      if ((t.name == target.list_type || (target.list_type == "Item" && t.name_space == "Item")) &&
          (record = ctx.lists.LoadByFullName(t, name)))
        break;
  if (!record) {
    status =
        MakeStatus(kInvalidReference, {target.list_type.empty() ? "transaction" : target.list_type,
                                       id.empty() ? name : id, "DataExt"});
    return std::nullopt;
  }
  target.object_id = record->list_id;
  target.record_type = record->type->name;
  target.ref_id = record->list_id;
  target.ref_name = record->full_name;
  return target;
}

// A custom field of a list record is part of the record: subscribers hear of a Modify.
void RaiseModified(RequestContext& ctx, const ValueTarget& target) {
  if (!target.record_type.empty())
    RecordChanged(ctx.company, target.record_type, RecordOperation::kModify, target.object_id);
}

Status SetValue(RequestContext& ctx, const char* aggregate) {
  auto node = ctx.request.child(aggregate);
  std::string owner = Text(node, "OwnerID"), name = Text(node, "DataExtName");
  auto d = LoadDefinition(ctx.company, owner, name);
  if (!d) return ctx.Respond(MakeStatus(kObjectNotFound, {name}));
  Status status;
  auto target = FindTarget(ctx, node, status);
  if (!target) return ctx.Respond(status);
  std::string value = node.child("DataExtValue").text().get();
  ctx.company.db()
      .Prepare(
          "INSERT OR REPLACE INTO data_ext_values(owner_id,name,object_id,value) "
          "VALUES(?,?,?,?)")
      .Bind(1, owner)
      .Bind(2, d->name)
      .Bind(3, target->object_id)
      .Bind(4, value)
      .Run();
  RaiseModified(ctx, *target);
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open("DataExtRet");
  w.Element("OwnerID", owner);
  w.Element("DataExtName", d->name);
  w.Element("DataExtType", d->data_type);
  w.Element("DataExtValue", value);
  w.Close("DataExtRet");
  ctx.CloseResponse();
  return {};
}

Status DataExtAdd(RequestContext& ctx) { return SetValue(ctx, "DataExtAdd"); }
Status DataExtMod(RequestContext& ctx) { return SetValue(ctx, "DataExtMod"); }

Status DataExtDel(RequestContext& ctx) {
  auto node = ctx.request.child("DataExtDel");
  std::string owner = Text(node, "OwnerID"), name = Text(node, "DataExtName");
  Status status;
  auto target = FindTarget(ctx, node, status);
  if (!target) return ctx.Respond(status);
  auto& st = ctx.company.db().Prepare(
      "DELETE FROM data_ext_values WHERE owner_id=? AND name=? AND object_id=?");
  st.Bind(1, owner).Bind(2, name).Bind(3, target->object_id).Run();
  if (ctx.company.db().Changes() == 0) return ctx.Respond(MakeStatus(kObjectNotFound, {name}));
  RaiseModified(ctx, *target);
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open("DataExtDelRet");
  w.Element("OwnerID", owner);
  w.Element("DataExtName", name);
  if (!target->txn_type.empty()) {
    w.Element("TxnDataExtType", target->txn_type);
    w.Element("TxnID", target->txn_id);
    if (!target->txn_line_id.empty()) w.Element("TxnLineID", target->txn_line_id);
  } else if (target->list_type.empty()) {
    w.Element("OtherDataExtType", "Company");
  } else {
    w.Element("ListDataExtType", target->list_type);
    ctx.lists.WriteRef(ctx.out, "ListObjRef", target->ref_id + kRefSeparator + target->ref_name);
  }
  w.Element("TimeDeleted", FormatDateTime(Now()));
  w.Close("DataExtDelRet");
  ctx.CloseResponse();
  return {};
}

}  // namespace

void RegisterDataExtHandlers(HandlerTable& table) {
  table.Add("DataExtDefAddRq", DataExtDefAdd, true);
  table.Add("DataExtDefModRq", DataExtDefMod, true);
  table.Add("DataExtDefDelRq", DataExtDefDel, true);
  table.Add("DataExtDefQueryRq", DataExtDefQuery, false);
  table.Add("DataExtAddRq", DataExtAdd, true);
  table.Add("DataExtModRq", DataExtMod, true);
  table.Add("DataExtDelRq", DataExtDel, true);
}

}  // namespace brennock::simulator
