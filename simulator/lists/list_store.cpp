#include "simulator/lists/list_store.h"

#include <algorithm>
#include <cstdio>

#include "brennock/internal/util/text.h"
#include "simulator/clock.h"
#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/account_rules.h"
#include "simulator/lists/field_values.h"
#include "simulator/lists/item_rules.h"
#include "simulator/records/aggregates.h"
#include "simulator/records/data_ext_values.h"
#include "simulator/records/txn_link_index.h"
#include "simulator/records/txn_link_tables.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

using qbxml::ValueType;

// A record with its ledger figures; statements name the table r and join the ledger's totals.
const std::string kSelect =
    std::string(
        "SELECT r.id,r.list_id,r.list_type,r.name,r.full_name,r.parent_id,r.sublevel,"
        "r.is_active,r.time_created,r.time_modified,r.modified_utc,r.edit_sequence,") +
    Ledger::kTotalsColumns + ",r.account_type,r.body FROM list_records r" + Ledger::kTotalsJoin;

// Elements of a Ret aggregate that the store computes itself rather than keeping as fields.
bool IsComputed(std::string_view name) {
  return name == "ListID" || name == "TimeCreated" || name == "TimeModified" ||
         name == "EditSequence" || name == "Name" || name == "FullName" || name == "IsActive" ||
         name == "ParentRef" || name == "Sublevel" || name == "Balance" || name == "TotalBalance" ||
         name == "QuantityOnHand" || name == "AverageCost" || name == "QuantityOnOrder" ||
         name == "QuantityOnSalesOrder" || name == "DataExtRet";
}

// The Ret element an Add or Mod child fills ("Contacts" -> "ContactsRet").
std::string_view RetFieldName(const ListType& type, std::string_view name, bool modify) {
  if (name == "Contacts" || name == "ContactsMod") return "ContactsRet";
  if (name == "AdditionalNotes" || name == "AdditionalNotesMod") return "AdditionalNotesRet";
  if (modify && name.size() > 3 && name.substr(name.size() - 3) == "Mod") {
    auto base = name.substr(0, name.size() - 3);
    if (type.has_field(base)) return base;
  }
  return name;
}

std::string ChildText(pugi::xml_node node, const char* name) {
  return std::string(Trim(node.child(name).text().get()));
}

}  // namespace

Status ListStore::ApplyFields(const ListType& type, pugi::xml_node source, bool modify,
                              ListRecord& rec, std::optional<ListRecord>& parent,
                              bool& parent_given) {
  Status status;
  std::vector<uint16_t> replaced;  // repeated fields a modify has started to replace
  // What QuickBooks computes or sets itself (SpecialAccountType, Balance ...) is in the Ret shape
  // only; a request that names it is not taken at its word.
  const qbxml::Aggregate* request_shape =
      qbxml::FindAggregate(std::string(type.name) + (modify ? "Mod" : "Add"));
  for (auto child : source.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view raw = child.name();
    if (raw == "ListID" || raw == "EditSequence" || raw == "OpenBalanceDate") continue;
    if (request_shape && !qbxml::FindElement(*request_shape, raw)) continue;
    if (raw == "Name") {
      std::string name(Trim(child.text().get()));
      int index = type.field_index("Name");
      if (index >= 0 && type.shape[index].maxLength &&
          Utf8Length(name) > type.shape[index].maxLength)
        return MakeStatus(kStringTooLong, {name, "Name"});
      rec.name = name;
      continue;
    }
    if (raw == "IsActive") {
      auto v = NormalizeValue(ValueType::kBool, child.text().get());
      if (!v) return MakeStatus(kConversionError, {"boolean", child.text().get(), "IsActive"});
      rec.active = *v == "true";
      continue;
    }
    if (raw == "ParentRef") {
      parent_given = true;
      if (ChildText(child, "ListID").empty() && ChildText(child, "FullName").empty()) {
        parent.reset();  // an empty parent reference moves the record to the top level
        continue;
      }
      const ListType* self[] = {&type};
      auto value = refs_.Resolve(child, self, type.name, type.name, status);
      if (!value) return status;
      parent = LoadById(value->substr(0, value->find(kRefSeparator)));
      continue;
    }
    if (raw == "OpenBalance") {
      // Posted to the ledger once the record is stored (PostOpening).
      if (!ParseCents(child.text().get()))
        return MakeStatus(kConversionError, {"amount", child.text().get(), "OpenBalance"});
      continue;
    }
    std::string_view name = RetFieldName(type, raw, modify);
    int index = type.field_index(name);
    if (index < 0 || IsComputed(name)) continue;  // elements QuickBooks accepts but does not keep
    const qbxml::Element& field = type.shape[index];
    auto u = static_cast<uint16_t>(index);
    if (modify && Repeats(field) &&
        std::find(replaced.begin(), replaced.end(), u) == replaced.end()) {
      rec.ClearField(u);
      replaced.push_back(u);
    }
    std::string value;
    if (field.type == ValueType::kRef) {
      // An emptied reference (no ListID, no FullName) clears the field.
      if (modify && ChildText(child, "ListID").empty() && ChildText(child, "FullName").empty()) {
        rec.ClearField(u);
        continue;
      }
      auto ref = refs_.Resolve(child, type.name, status);
      if (!ref) return status;
      value = std::move(*ref);
    } else if (field.type == ValueType::kAggregate && modify && !Repeats(field)) {
      // A modify changes only the parts of an aggregate it names; the rest stays.
      std::string current(rec.Field(name));
      if (!MergeAggregate(current, child, *qbxml::Nested(field), type.name, refs_, value, status))
        return status;
    } else if (field.type == ValueType::kAggregate) {
      if (!RenderAggregate(child, *qbxml::Nested(field), type.name, refs_, value, status))
        return status;
    } else {
      auto v = NormalizeValue(field.type, child.text().get());
      if (!v) return MakeStatus(kConversionError, {KindWord(field.type), child.text().get(), name});
      if (field.maxLength && Utf8Length(*v) > field.maxLength)
        return MakeStatus(kStringTooLong, {*v, name});
      value = std::move(*v);
      if (name == "AccountType") rec.account_type = value;
    }
    if (modify && !Repeats(field) && value.empty()) {
      rec.ClearField(u);  // an empty element clears the field
    } else if (Repeats(field)) {
      rec.AddField(u, std::move(value));
    } else {
      rec.SetField(u, std::move(value));
    }
  }
  return status;
}

bool ListStore::NameTaken(const ListType& type, std::string_view full_name,
                          std::string_view except_id) {
  auto& st = company_.db().Prepare(
      "SELECT list_id FROM list_records WHERE name_space=? AND full_name=? COLLATE NOCASE");
  st.Bind(1, type.name_space).Bind(2, full_name);
  return st.Step() && st.Text(0) != except_id;
}

Status ListStore::Add(const ListType& type, pugi::xml_node add, ListRecord& out) {
  ListRecord rec;
  rec.type = &type;
  std::optional<ListRecord> parent;
  bool parent_given = false;
  Status status = ApplyFields(type, add, false, rec, parent, parent_given);
  if (!status.ok()) return status;
  if (type.name == "Employee" && rec.name.empty()) {
    for (auto part : {"FirstName", "MiddleName", "LastName"}) {
      auto v = rec.Field(part);
      if (v.empty()) continue;
      if (!rec.name.empty()) rec.name += ' ';
      rec.name += v;
    }
  }
  if (type.name == "SalesRep") rec.name = rec.Field("Initial");  // a rep is known by initials
  bool named = type.has_field("Name") || type.name == "SalesRep";
  if (named && rec.name.empty())
    return MakeStatus(kCannotSave,
                      {type.name, "", "The name of the list element cannot be blank."});
  if (type.name == "Account") {
    Status rule = CheckAccount(rec, parent ? &*parent : nullptr, nullptr, false);
    if (!rule.ok()) return rule;
  }
  if (IsItemList(type)) {
    Status rule = CheckItem(rec, nullptr, [this](std::string_view id) { return LoadById(id); });
    if (!rule.ok()) return rule;
  }
  InsertNew(rec);  // assigns the ListID first, so unnamed lists get a unique key
  if (parent) {
    rec.parent_id = parent->list_id;
    rec.sublevel = parent->sublevel + 1;
    rec.full_name = parent->full_name + ":" + rec.name;
  } else {
    rec.full_name = named ? rec.name : rec.list_id;
  }
  if (named && NameTaken(type, rec.full_name, "")) return MakeStatus(kNameInUse, {rec.full_name});
  Store(rec, true);
  status = PostOpening(rec, add);
  if (!status.ok()) return status;
  out = *LoadById(rec.list_id);
  return status;
}

// ListIDs as QuickBooks makes them, "80000001-1234567890": a hex counter, then the creation time.
// The counter lives in memory during a document, so bulk inserts do not rewrite it each time.
std::string ListStore::NextListId(const SimulatorTime& now) {
  if (next_list_seq_ == 0) next_list_seq_ = company_.ListIdCounter();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%llX-%lld", static_cast<unsigned long long>(next_list_seq_++),
                static_cast<long long>(now.unix_seconds));
  counter_changed_ = true;
  return buf;
}

void ListStore::Flush() {
  if (counter_changed_) company_.StoreListIdCounter(next_list_seq_);
  counter_changed_ = false;
}

void ListStore::InsertPrepared(ListRecord& rec) {
  InsertNew(rec);
  Store(rec, true);
}

void ListStore::InsertNew(ListRecord& rec) {
  SimulatorTime now = Now();
  rec.list_id = NextListId(now);
  rec.time_created = FormatDateTime(now);
  rec.time_modified = rec.time_created;
  rec.modified_utc = now.unix_seconds;
  rec.edit_sequence = CompanyDb::NextEditSequence("", now);
  if (rec.full_name.empty()) rec.full_name = rec.name.empty() ? rec.list_id : rec.name;
}

void ListStore::Store(const ListRecord& rec, bool insert) {
  company_.facts().Clear();
  auto& st = company_.db().Prepare(
      insert ? "INSERT INTO list_records(list_id,list_type,name_space,name,full_name,parent_id,"
               "sublevel,is_active,time_created,time_modified,modified_utc,edit_sequence,"
               "account_type,body) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?15,?16)"
             : "UPDATE list_records SET list_type=?2,name_space=?3,name=?4,full_name=?5,"
               "parent_id=?6,sublevel=?7,is_active=?8,time_created=?9,time_modified=?10,"
               "modified_utc=?11,edit_sequence=?12,account_type=?15,body=?16 WHERE list_id=?1");
  st.Bind(1, rec.list_id).Bind(2, rec.type->name).Bind(3, rec.type->name_space).Bind(4, rec.name);
  st.Bind(5, rec.full_name);
  if (rec.parent_id.empty())
    st.BindNull(6);
  else
    st.Bind(6, rec.parent_id);
  st.Bind(7, rec.sublevel).Bind(8, int64_t{rec.active ? 1 : 0}).Bind(9, rec.time_created);
  st.Bind(10, rec.time_modified).Bind(11, rec.modified_utc).Bind(12, rec.edit_sequence);
  if (rec.account_type.empty())
    st.BindNull(15);
  else
    st.Bind(15, rec.account_type);
  st.Bind(16, EncodeFields(rec.fields));
  st.Run();
}

Status ListStore::Modify(const ListType& type, pugi::xml_node mod, ListRecord& out) {
  std::string id = ChildText(mod, "ListID");
  std::string edit_sequence = ChildText(mod, "EditSequence");
  if (id.empty() || id.find('-') == std::string::npos)
    return MakeStatus(kInvalidId, {id, "list id"});
  auto found = LoadById(id);
  if (!found || found->type != &type) return MakeStatus(kObjectNotFound, {id});
  if (edit_sequence != found->edit_sequence) return MakeStatus(kEditSequenceStale, {edit_sequence});
  ListRecord rec = *found;
  std::optional<ListRecord> parent;
  if (!rec.parent_id.empty()) parent = LoadById(rec.parent_id);
  bool parent_given = false;
  Status status = ApplyFields(type, mod, true, rec, parent, parent_given);
  if (!status.ok()) return status;
  if (type.name == "Employee" && !mod.child("Name"))
    if (mod.child("FirstName") || mod.child("MiddleName") || mod.child("LastName")) {
      rec.name.clear();
      for (auto part : {"FirstName", "MiddleName", "LastName"}) {
        auto v = rec.Field(part);
        if (v.empty()) continue;
        if (!rec.name.empty()) rec.name += ' ';
        rec.name += v;
      }
    }
  if (type.name == "SalesRep") rec.name = rec.Field("Initial");
  bool named = type.has_field("Name") || type.name == "SalesRep";
  if (named && rec.name.empty())
    return MakeStatus(kCannotModify, {type.name, found->full_name,
                                      "The name of the list element cannot be blank."});
  if (parent) {
    // A record cannot move below itself or one of its own sub-records.
    if (parent->list_id == rec.list_id || parent->full_name.rfind(found->full_name + ":", 0) == 0)
      return MakeStatus(kCannotModify,
                        {type.name, found->full_name, "A list element cannot be its own parent."});
    rec.parent_id = parent->list_id;
    rec.sublevel = parent->sublevel + 1;
    rec.full_name = parent->full_name + ":" + rec.name;
  } else {
    rec.parent_id.clear();
    rec.sublevel = 0;
    rec.full_name = named ? rec.name : rec.list_id;
  }
  if (named && NameTaken(type, rec.full_name, rec.list_id))
    return MakeStatus(kNameInUse, {rec.full_name});
  if (type.name == "Account") {
    auto& subaccounts =
        company_.db().Prepare("SELECT 1 FROM list_records WHERE parent_id=? LIMIT 1");
    bool has_subaccounts = subaccounts.Bind(1, rec.list_id).Step();
    Status rule = CheckAccount(rec, parent ? &*parent : nullptr, &*found, has_subaccounts);
    if (!rule.ok()) return rule;
  }
  if (IsItemList(type)) {
    Status rule = CheckItem(rec, &*found, [this](std::string_view id) { return LoadById(id); });
    if (!rule.ok()) return rule;
  }
  SimulatorTime now = Now();
  rec.time_modified = FormatDateTime(now);
  rec.modified_utc = now.unix_seconds;
  rec.edit_sequence = CompanyDb::NextEditSequence(found->edit_sequence, now);
  Store(rec, false);
  if (rec.full_name != found->full_name || rec.sublevel != found->sublevel) {
    // Sub-records follow a renamed or moved parent: their full names and levels change with it.
    company_.db()
        .Prepare(
            "UPDATE list_records SET full_name=?1 || substr(full_name, ?2), "
            "sublevel=sublevel+?3 WHERE name_space=?4 AND list_type=?5 AND "
            "substr(full_name,1,?6)=?7 COLLATE NOCASE")
        .Bind(1, rec.full_name)
        .Bind(2, static_cast<int64_t>(found->full_name.size() + 1))
        .Bind(3, rec.sublevel - found->sublevel)
        .Bind(4, type.name_space)
        .Bind(5, type.name)
        .Bind(6, static_cast<int64_t>(found->full_name.size() + 1))
        .Bind(7, found->full_name + ":")
        .Run();
    company_.facts().Clear();
  }
  if (rec.parent_id != found->parent_id)
    ledger_.Reparent(rec.list_id, found->parent_id, rec.parent_id);
  out = *LoadById(rec.list_id);
  return status;
}

Status ListStore::Delete(const ListType& type, std::string_view list_id, DeletedRecord& out) {
  std::string id(Trim(list_id));
  if (id.empty() || id.find('-') == std::string::npos)
    return MakeStatus(kInvalidId, {id, "list id"});
  auto found = LoadById(id);
  if (!found || found->type != &type) return MakeStatus(kObjectNotFound, {id});
  if (type.name == "Account") {
    Status rule = CheckAccountDelete(*found);
    if (!rule.ok()) return rule;
  }
  auto& children = company_.db().Prepare("SELECT 1 FROM list_records WHERE parent_id=? LIMIT 1");
  if (children.Bind(1, id).Step())
    return MakeStatus(kCannotModify, {type.name, found->full_name,
                                      "This list element has sub-elements and cannot be deleted."});
  if (InUse(id))
    return MakeStatus(kCannotModify, {type.name, found->full_name,
                                      "This list element is in use and cannot be deleted."});
  SimulatorTime now = Now();
  out = {std::string(type.name), found->list_id, found->full_name, FormatDateTime(now)};
  company_.db()
      .Prepare(
          "INSERT INTO deleted_lists(list_type,list_id,full_name,time_created,time_modified,"
          "time_deleted,deleted_utc) VALUES(?,?,?,?,?,?,?)")
      .Bind(1, out.list_type)
      .Bind(2, out.list_id)
      .Bind(3, out.full_name)
      .Bind(4, found->time_created)
      .Bind(5, found->time_modified)
      .Bind(6, out.time_deleted)
      .Bind(7, now.unix_seconds)
      .Run();
  company_.db().Prepare("DELETE FROM data_ext_values WHERE object_id=?").Bind(1, id).Run();
  ledger_.Unpost(id);  // its opening balance goes with it
  company_.db().Prepare("DELETE FROM list_records WHERE list_id=?").Bind(1, id).Run();
  company_.facts().Clear();
  return Status{};
}

std::optional<ListRecord> ListStore::ReadRow(Statement& st) {
  ListRecord r;
  r.row = st.Int(0);
  r.list_id = st.Text(1);
  r.type = FindListType(st.Text(2));
  if (!r.type) return std::nullopt;
  r.name = st.Text(3);
  r.full_name = st.Text(4);
  r.parent_id = st.Text(5);
  r.sublevel = st.Int(6);
  r.active = st.Int(7) != 0;
  r.time_created = st.Text(8);
  r.time_modified = st.Text(9);
  r.modified_utc = st.Int(10);
  r.edit_sequence = st.Text(11);
  r.ledger = {st.Int(12), st.Int(13), st.Int(14)};
  r.account_type = st.Text(15);
  if (!DecodeFields(st.Text(16), r.fields)) throw SqliteError("damaged record " + r.list_id);
  return r;
}

std::optional<ListRecord> ListStore::LoadByRow(int64_t row) {
  static const std::string sql = kSelect + " WHERE r.id=?";
  auto& st = company_.db().Prepare(sql);
  st.Bind(1, row);
  if (!st.Step()) return std::nullopt;
  return ReadRow(st);
}

std::optional<ListRecord> ListStore::LoadById(std::string_view list_id) {
  static const std::string sql = kSelect + " WHERE r.list_id=?";
  auto& st = company_.db().Prepare(sql);
  st.Bind(1, list_id);
  if (!st.Step()) return std::nullopt;
  return ReadRow(st);
}

std::optional<ListRecord> ListStore::LoadByFullName(const ListType& type,
                                                    std::string_view full_name) {
  static const std::string sql = kSelect + " WHERE r.list_type=? AND r.full_name=? COLLATE NOCASE";
  auto& st = company_.db().Prepare(sql);
  st.Bind(1, type.name).Bind(2, full_name);
  if (!st.Step()) return std::nullopt;
  return ReadRow(st);
}

std::vector<int64_t> ListStore::Select(const ListFilter& f) {
  std::string sql = "SELECT id FROM list_records WHERE list_type IN (";
  for (size_t i = 0; i < f.types.size(); ++i) sql += i ? ",?" : "?";
  sql += ")";
  if (f.active == ListFilter::Active::kActiveOnly) sql += " AND is_active=1";
  if (f.active == ListFilter::Active::kInactiveOnly) sql += " AND is_active=0";
  if (f.from_modified) sql += " AND modified_utc>=?";
  if (f.to_modified) sql += " AND modified_utc<=?";
  if (!f.name_like.empty()) sql += " AND full_name LIKE ? ESCAPE '\\'";
  if (f.name_from) sql += " AND full_name>=? COLLATE NOCASE";
  if (f.name_to) sql += " AND full_name<=? COLLATE NOCASE";
  // The balance a customer or vendor shows (a vendor's is what the company owes: credits).
  if (!f.balance_operator.empty())
    sql +=
        " AND coalesce((SELECT t.total FROM ledger_totals t WHERE "
        "t.list_id=list_records.list_id),0)*(CASE list_type WHEN 'Vendor' THEN -1 ELSE 1 END)" +
        f.balance_operator + "?";
  if (!f.account_types.empty()) {
    sql += " AND account_type IN (";
    for (size_t i = 0; i < f.account_types.size(); ++i) sql += i ? ",?" : "?";
    sql += ")";
  }
  sql += " ORDER BY full_name COLLATE NOCASE, id";
  auto& st = company_.db().Prepare(sql);
  int n = 1;
  for (auto t : f.types) st.Bind(n++, t);
  if (f.from_modified) st.Bind(n++, *f.from_modified);
  if (f.to_modified) st.Bind(n++, *f.to_modified);
  if (!f.name_like.empty()) st.Bind(n++, f.name_like);
  if (f.name_from) st.Bind(n++, *f.name_from);
  if (f.name_to) st.Bind(n++, *f.name_to);
  if (!f.balance_operator.empty()) st.Bind(n++, f.balance_cents);
  for (const auto& a : f.account_types) st.Bind(n++, a);
  std::vector<int64_t> rows;
  while (st.Step()) rows.push_back(st.Int(0));
  return rows;
}

void ListStore::WriteRet(std::string& out, const ListRecord& rec, const RetOptions& options) {
  XmlWriter w(out);
  const ListType& type = *rec.type;
  w.Open(type.ret);
  size_t next = 0;  // position in rec.fields, which is ordered by shape index
  for (size_t i = 0; i < type.shape.size(); ++i) {
    const qbxml::Element& field = type.shape[i];
    bool wanted = options.include.empty() || options.include.count(std::string(field.name));
    std::string_view name = field.name;
    if (IsComputed(name)) {
      if (!wanted) continue;
      if (name == "ListID")
        w.Element(name, rec.list_id);
      else if (name == "TimeCreated")
        w.Element(name, rec.time_created);
      else if (name == "TimeModified")
        w.Element(name, rec.time_modified);
      else if (name == "EditSequence")
        w.Element(name, rec.edit_sequence);
      else if (name == "Name" && !rec.name.empty())
        w.Element(name, rec.name);
      else if (name == "FullName")
        w.Element(name, rec.full_name);
      else if (name == "IsActive")
        w.Element(name, rec.active ? "true" : "false");
      else if (name == "ParentRef" && !rec.parent_id.empty())
        WriteRef(out, name, rec.parent_id);
      else if (name == "Sublevel")
        w.Element(name, std::to_string(rec.sublevel));
      else if (name == "Balance" || name == "TotalBalance" || name == "QuantityOnHand" ||
               name == "AverageCost" || name == "QuantityOnOrder" || name == "QuantityOnSalesOrder")
        WriteLedgerField(out, rec, name);
      else if (name == "DataExtRet")
        WriteDataExtensions(company_, out, rec.list_id, options.owner_ids);
      continue;
    }
    if (field.type == ValueType::kAggregate && name.size() > 12 &&
        name.substr(name.size() - 12) == "AddressBlock") {
      std::string_view address = rec.Field(name.substr(0, name.size() - 5));
      if (wanted) WriteAddressBlock(out, name, address);
      continue;
    }
    while (next < rec.fields.size() && rec.fields[next].first < i) ++next;
    for (; next < rec.fields.size() && rec.fields[next].first == i; ++next)
      if (wanted) WriteStoredField(out, field, rec.fields[next].second, refs_);
  }
  w.Close(type.ret);
}

// Balances as QuickBooks shows them: an account's in its natural sign (credits for liabilities,
// equity and income), a customer's what it owes, a vendor's what the company owes it.
void ListStore::WriteLedgerField(std::string& out, const ListRecord& rec, std::string_view name) {
  XmlWriter w(out);
  if (name == "QuantityOnHand") {
    w.Element(name, FormatQuantity(rec.ledger.quantity));
    return;
  }
  if (name == "QuantityOnOrder" || name == "QuantityOnSalesOrder") {
    // What open purchase (sales) orders still have to receive (ship) of the item.
    std::string_view orders = name == "QuantityOnOrder" ? "PurchaseOrder" : "SalesOrder";
    if (!order_tables_) order_tables_ = TxnLinkTablesExist(company_);
    TxnLinkIndex index(company_, order_tables_);
    w.Element(name, FormatQuantity(index.Outstanding(rec.list_id, orders)));
    return;
  }
  if (name == "AverageCost") {
    // Nothing on hand: the purchase cost stands for the average, as on a new item.
    std::string cost = FormatAverageCost(rec.ledger.balance, rec.ledger.quantity);
    if (cost.empty()) cost = rec.Field("PurchaseCost");
    if (!cost.empty()) w.Element(name, cost);
    return;
  }
  int64_t value = name == "Balance" ? rec.ledger.balance : rec.ledger.total;
  bool credits = rec.type->name == "Vendor" ||
                 (rec.type->name == "Account" && Ledger::CreditNormal(rec.account_type));
  w.Element(name, FormatCents(credits ? -value : value));
}

// In use: named by a posting other than of its own opening balance, by another list record, or by
// a transaction. A reference is stored as "ListID<US>FullName", or inside an aggregate as a ListID
// element.
bool ListStore::InUse(std::string_view list_id) {
  int64_t own = 0;
  for (const Posting& p : ledger_.PostingsOf(list_id))
    own += p.account_id == list_id || p.entity_id == list_id || p.item_id == list_id;
  if (ledger_.Of(list_id).postings > own) return true;
  std::string id(list_id);
  auto& lists = company_.db().Prepare(
      "SELECT 1 FROM list_records WHERE list_id<>?1 AND (instr(body, ?2)>0 OR instr(body, ?3)>0) "
      "LIMIT 1");
  if (lists.Bind(1, id).Bind(2, id + kRefSeparator).Bind(3, "<ListID>" + id + "</ListID>").Step())
    return true;
  auto& txns = company_.db().Prepare(
      "SELECT 1 FROM txn_records WHERE instr(body, ?1)>0 OR instr(lines, ?1)>0 OR "
      "instr(body, ?2)>0 OR instr(lines, ?2)>0 LIMIT 1");
  return txns.Bind(1, id + kRefSeparator).Bind(2, "<ListID>" + id + "</ListID>").Step();
}

namespace {

struct SpecialAccountKind {
  std::string_view special, name, type;
};

// The accounts QuickBooks makes itself when a transaction first needs them.
constexpr SpecialAccountKind kSpecialAccounts[] = {
    {"AccountsReceivable", "Accounts Receivable", "AccountsReceivable"},
    {"AccountsPayable", "Accounts Payable", "AccountsPayable"},
    {"OpeningBalanceEquity", "Opening Balance Equity", "Equity"},
    {"SalesTaxPayable", "Sales Tax Payable", "OtherCurrentLiability"},
    {"UndepositedFunds", "Undeposited Funds", "OtherCurrentAsset"},
    {"CostOfGoodsSold", "Cost of Goods Sold", "CostOfGoodsSold"},
    {"InventoryAssets", "Inventory Asset", "OtherCurrentAsset"},
};

}  // namespace

std::string ListStore::SpecialAccount(std::string_view special) {
  struct SpecialAccounts : std::unordered_map<std::string, std::string> {};
  auto& special_accounts = company_.facts().Get<SpecialAccounts>();
  auto cached = special_accounts.find(std::string(special));
  if (cached != special_accounts.end()) return cached->second;
  const SpecialAccountKind* kind = nullptr;
  for (const auto& k : kSpecialAccounts)
    if (k.special == special) kind = &k;
  if (!kind) throw std::logic_error("no special account " + std::string(special));
  // Found once, then remembered in the file: special accounts are neither deleted nor unmarked.
  const std::string key = "special." + std::string(special);
  auto& known = company_.db().Prepare(
      "SELECT l.list_id FROM settings s JOIN list_records l ON l.list_id=s.value WHERE s.key=?");
  known.Bind(1, key);
  if (known.Step()) {
    std::string id(known.Text(0));
    known.Reset();
    special_accounts.emplace(std::string(special), id);
    return id;
  }
  known.Reset();
  const ListType& account = *FindListType("Account");
  const auto special_index = static_cast<uint16_t>(account.field_index("SpecialAccountType"));
  std::string found;
  auto& st = company_.db().Prepare(
      "SELECT list_id,name,body FROM list_records WHERE list_type='Account' AND account_type=? "
      "ORDER BY id");
  st.Bind(1, kind->type);
  FieldList fields;
  while (st.Step()) {
    if (!DecodeFields(st.Text(2), fields)) continue;
    if (FieldAt(fields, special_index) == special) {
      found = st.Text(0);
      break;
    }
    if (found.empty() && st.Text(1) == kind->name) found = st.Text(0);
  }
  st.Reset();
  if (found.empty()) {
    ListRecord r;
    r.type = &account;
    r.name = r.full_name = kind->name;
    if (NameTaken(account, r.full_name, "")) r.name = r.full_name = std::string(kind->name) + " 2";
    r.account_type = kind->type;
    r.SetField(static_cast<uint16_t>(account.field_index("AccountType")), std::string(kind->type));
    r.SetField(static_cast<uint16_t>(account.field_index("SpecialAccountType")),
               std::string(special));
    InsertPrepared(r);
    found = r.list_id;
  }
  company_.SetSetting(key, found);
  // Making the account emptied the session's facts.
  company_.facts().Get<SpecialAccounts>().emplace(std::string(special), found);
  return found;
}

Status ListStore::PostOpening(const ListRecord& rec, pugi::xml_node add) {
  std::string_view kind = rec.type->name;
  std::vector<Posting> postings;
  if (kind == "Account" || kind == "Customer" || kind == "Vendor") {
    auto cents = ParseCents(add.child_value("OpenBalance"));
    if (!cents || *cents == 0) return {};
    if (kind == "Account") {
      if (rec.account_type == "NonPosting" ||
          rec.Field("SpecialAccountType") == "OpeningBalanceEquity")
        return {};
      int64_t debit = Ledger::CreditNormal(rec.account_type) ? -*cents : *cents;
      postings.push_back(Posting::To(rec.list_id, debit));
      postings.push_back(Posting::To(SpecialAccount("OpeningBalanceEquity"), -debit));
    } else {
      // A customer owes its opening balance (A/R); the company owes a vendor its (A/P). The
      // opening balance is open like a transaction of its own, named by the record's ListID.
      bool customer = kind == "Customer";
      int64_t debit = customer ? *cents : -*cents;
      std::string open = SpecialAccount(customer ? "AccountsReceivable" : "AccountsPayable");
      postings.push_back(Posting::To(open, debit).Against(rec.list_id).Opens(rec.list_id));
      postings.push_back(Posting::To(SpecialAccount("OpeningBalanceEquity"), -debit));
    }
  } else if (rec.type->has_field("QuantityOnHand") && rec.type->has_field("AssetAccountRef")) {
    // Opening stock, as QuickBooks books it: an inventory adjustment worth its total value (the
    // quantity at the purchase cost when no value is given) against Opening Balance Equity.
    auto quantity = ParseQuantity(add.child_value("QuantityOnHand"));
    if (!quantity || *quantity == 0) return {};
    std::optional<int64_t> value;
    if (add.child("TotalValue")) {
      value = ParseCents(add.child_value("TotalValue"));
      if (!value)
        return MakeStatus(kConversionError,
                          {"amount", add.child_value("TotalValue"), "TotalValue"});
    } else {
      value =
          Amount(*quantity, rec.Field("PurchaseCost").empty() ? "0" : rec.Field("PurchaseCost"));
    }
    std::string asset(RefId(rec.Field("AssetAccountRef")));
    if (asset.empty()) asset = SpecialAccount("InventoryAssets");
    postings.push_back(Posting::To(asset, *value).Stock(rec.list_id, *quantity));
    postings.push_back(Posting::To(SpecialAccount("OpeningBalanceEquity"), -*value));
  }
  if (!postings.empty()) ledger_.Post(rec.list_id, postings);
  return {};
}

}  // namespace brennock::simulator
