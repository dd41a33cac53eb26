#include "simulator/lists/list_store.h"

#include <algorithm>
#include <cstdio>

#include "brennock/util/text.h"
#include "simulator/clock.h"
#include "simulator/lists/account_rules.h"
#include "simulator/lists/field_values.h"
#include "simulator/lists/item_rules.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

using qbxml::ValueType;

constexpr const char* kColumns =
    "id,list_id,list_type,name,full_name,parent_id,sublevel,is_active,time_created,"
    "time_modified,modified_utc,edit_sequence,balance,total_balance,account_type,body";

// Elements of a Ret aggregate that the store computes itself rather than keeping as fields.
bool IsComputed(std::string_view name) {
  return name == "ListID" || name == "TimeCreated" || name == "TimeModified" ||
         name == "EditSequence" || name == "Name" || name == "FullName" || name == "IsActive" ||
         name == "ParentRef" || name == "Sublevel" || name == "Balance" || name == "TotalBalance" ||
         name == "DataExtRet";
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

// The address as QuickBooks prints it: the street lines, then "City, State  PostalCode", then the
// country, at most five lines.
void WriteAddressBlock(std::string& out, std::string_view tag, std::string_view address) {
  std::string text = "<A>" + std::string(address) + "</A>";
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size())) return;
  pugi::xml_node a = doc.first_child();
  std::vector<std::string> lines;
  for (auto line : {"Addr1", "Addr2", "Addr3", "Addr4", "Addr5"})
    if (*a.child_value(line)) lines.emplace_back(a.child_value(line));
  std::string city = a.child_value("City");
  std::string state = a.child_value("State");
  std::string postal = a.child_value("PostalCode");
  std::string place = city;
  if (!state.empty()) place += (place.empty() ? "" : ", ") + state;
  if (!postal.empty()) place += (place.empty() ? "" : "  ") + postal;
  if (!place.empty()) lines.push_back(place);
  std::string country = a.child_value("Country");
  if (!country.empty() && country != "US" && country != "USA") lines.push_back(country);
  if (lines.empty()) return;
  XmlWriter w(out);
  w.Open(tag);
  for (size_t i = 0; i < lines.size() && i < 5; ++i)
    w.Element(std::string("Addr") + static_cast<char>('1' + i), lines[i]);
  w.Close(tag);
}

}  // namespace

std::optional<std::string> ListStore::ResolveRef(pugi::xml_node ref, const ListType* parent_list,
                                                 const ListType& owner, Status& status) {
  std::string id = ChildText(ref, "ListID");
  std::string full_name = ChildText(ref, "FullName");
  std::string_view ref_name = ref.name();
  std::vector<const ListType*> targets;
  if (parent_list) {
    targets.push_back(parent_list);
  } else {
    auto t = ReferenceTargets(ref_name);
    targets.assign(t.begin(), t.end());
  }
  if (targets.empty()) return id + kRefSeparator + full_name;  // a list the simulator lacks
  auto matches = [&](const ListRecord& r) {
    return std::find(targets.begin(), targets.end(), r.type) != targets.end();
  };
  std::optional<ListRecord> found;
  if (!id.empty()) {
    found = LoadById(id);
  } else if (!full_name.empty()) {
    auto& st = company_.db().Prepare("SELECT " + std::string(kColumns) +
                                     " FROM list_records WHERE name_space=? AND full_name=? "
                                     "COLLATE NOCASE");
    st.Bind(1, targets.front()->name_space).Bind(2, full_name);
    if (st.Step()) found = ReadRow(st);
  }
  if (!found || !matches(*found)) {
    std::string kind(parent_list ? parent_list->name : ReferenceKindName(ref_name));
    status = MakeStatus(kInvalidReference, {kind, id.empty() ? full_name : id, owner.name});
    return std::nullopt;
  }
  full_names_[found->list_id] = found->full_name;
  return found->list_id + kRefSeparator + found->full_name;
}

bool ListStore::RenderAggregate(pugi::xml_node node, const qbxml::Aggregate& shape,
                                const ListType& owner, std::string& out, Status& status) {
  XmlWriter w(out);
  for (const auto& field : shape.elements) {
    for (auto child : node.children()) {
      std::string_view name = child.name();
      if (child.type() != pugi::node_element) continue;
      if (name != field.name && !(name.size() == field.name.size() + 3 &&
                                  name.substr(0, field.name.size()) == field.name &&
                                  name.substr(field.name.size()) == "Mod"))
        continue;
      if (field.type == ValueType::kRef) {
        if (ChildText(child, "ListID").empty() && ChildText(child, "FullName").empty())
          continue;  // an emptied reference: none
        auto value = ResolveRef(child, nullptr, owner, status);
        if (!value) return false;
        WriteRef(out, field.name, *value);
      } else if (field.type == ValueType::kAggregate) {
        w.Open(field.name);
        if (!RenderAggregate(child, *qbxml::Nested(field), owner, out, status)) return false;
        w.Close(field.name);
      } else {
        auto value = NormalizeValue(field.type, child.text().get());
        if (!value) {
          status =
              MakeStatus(kConversionError, {KindWord(field.type), child.text().get(), field.name});
          return false;
        }
        if (field.maxLength && Utf8Length(*value) > field.maxLength) {
          status = MakeStatus(kStringTooLong, {*value, field.name});
          return false;
        }
        if (value->empty()) continue;  // an emptied line: QuickBooks keeps none
        w.Element(field.name, *value);
      }
    }
  }
  return true;
}

bool ListStore::MergeAggregate(const std::string& current, pugi::xml_node changes,
                               const qbxml::Aggregate& shape, const ListType& owner,
                               std::string& out, Status& status) {
  std::string text = "<M>" + current + "</M>";
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size()))
    return RenderAggregate(changes, shape, owner, out, status);
  pugi::xml_node merged = doc.first_child();
  for (auto child : changes.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string name = child.name();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "Mod") == 0)
      name.resize(name.size() - 3);
    while (auto old = merged.child(name.c_str())) merged.remove_child(old);
    merged.append_copy(child).set_name(name.c_str());
  }
  return RenderAggregate(merged, shape, owner, out, status);
}

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
      auto value = ResolveRef(child, &type, type, status);
      if (!value) return status;
      parent = LoadById(value->substr(0, value->find(kRefSeparator)));
      continue;
    }
    if (raw == "OpenBalance") {
      auto cents = ParseCents(child.text().get());
      if (!cents)
        return MakeStatus(kConversionError, {"amount", child.text().get(), "OpenBalance"});
      rec.balance = *cents;
      rec.total_balance = *cents;
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
      auto ref = ResolveRef(child, nullptr, type, status);
      if (!ref) return status;
      value = std::move(*ref);
    } else if (field.type == ValueType::kAggregate && modify && !Repeats(field)) {
      // A modify changes only the parts of an aggregate it names; the rest stays.
      std::string current(rec.Field(name));
      if (!MergeAggregate(current, child, *qbxml::Nested(field), type, value, status))
        return status;
    } else if (field.type == ValueType::kAggregate) {
      if (!RenderAggregate(child, *qbxml::Nested(field), type, value, status)) return status;
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
    SetOpeningStock(rec, add);
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
  if (!rec.parent_id.empty() && rec.total_balance != 0)
    AdjustAncestorTotals(rec.parent_id, rec.total_balance);
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
  auto& st = company_.db().Prepare(
      insert ? "INSERT INTO list_records(list_id,list_type,name_space,name,full_name,parent_id,"
               "sublevel,is_active,time_created,time_modified,modified_utc,edit_sequence,balance,"
               "total_balance,account_type,body) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,"
               "?14,?15,?16)"
             : "UPDATE list_records SET list_type=?2,name_space=?3,name=?4,full_name=?5,"
               "parent_id=?6,sublevel=?7,is_active=?8,time_created=?9,time_modified=?10,"
               "modified_utc=?11,edit_sequence=?12,balance=?13,total_balance=?14,"
               "account_type=?15,body=?16 WHERE list_id=?1");
  st.Bind(1, rec.list_id).Bind(2, rec.type->name).Bind(3, rec.type->name_space).Bind(4, rec.name);
  st.Bind(5, rec.full_name);
  if (rec.parent_id.empty())
    st.BindNull(6);
  else
    st.Bind(6, rec.parent_id);
  st.Bind(7, rec.sublevel).Bind(8, int64_t{rec.active ? 1 : 0}).Bind(9, rec.time_created);
  st.Bind(10, rec.time_modified).Bind(11, rec.modified_utc).Bind(12, rec.edit_sequence);
  st.Bind(13, rec.balance).Bind(14, rec.total_balance);
  if (rec.account_type.empty())
    st.BindNull(15);
  else
    st.Bind(15, rec.account_type);
  st.Bind(16, EncodeFields(rec.fields));
  st.Run();
}

void ListStore::AdjustAncestorTotals(std::string_view parent_id, int64_t delta) {
  std::string id(parent_id);
  for (int guard = 0; !id.empty() && guard < 100; ++guard) {
    auto& st = company_.db().Prepare(
        "UPDATE list_records SET total_balance=total_balance+? WHERE list_id=? "
        "RETURNING parent_id");
    st.Bind(1, delta).Bind(2, id);
    id = st.Step() ? std::string(st.Text(0)) : std::string();
    st.Run();
  }
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
    full_names_.clear();
  }
  if (rec.parent_id != found->parent_id && rec.total_balance != 0) {
    AdjustAncestorTotals(found->parent_id, -rec.total_balance);
    AdjustAncestorTotals(rec.parent_id, rec.total_balance);
  }
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
  auto& used = company_.db().Prepare(
      "SELECT 1 FROM list_records WHERE list_id<>?1 AND (instr(body, ?2)>0 OR instr(body, ?3)>0) "
      "LIMIT 1");
  // A reference is stored as "ListID<US>FullName", or inside an aggregate as a ListID element.
  if (used.Bind(1, id).Bind(2, id + kRefSeparator).Bind(3, "<ListID>" + id + "</ListID>").Step())
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
  company_.db().Prepare("DELETE FROM list_records WHERE list_id=?").Bind(1, id).Run();
  if (!found->parent_id.empty() && found->total_balance != 0)
    AdjustAncestorTotals(found->parent_id, -found->total_balance);
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
  r.balance = st.Int(12);
  r.total_balance = st.Int(13);
  r.account_type = st.Text(14);
  if (!DecodeFields(st.Text(15), r.fields)) throw SqliteError("damaged record " + r.list_id);
  return r;
}

std::optional<ListRecord> ListStore::LoadByRow(int64_t row) {
  auto& st =
      company_.db().Prepare("SELECT " + std::string(kColumns) + " FROM list_records WHERE id=?");
  st.Bind(1, row);
  if (!st.Step()) return std::nullopt;
  return ReadRow(st);
}

std::optional<ListRecord> ListStore::LoadById(std::string_view list_id) {
  auto& st = company_.db().Prepare("SELECT " + std::string(kColumns) +
                                   " FROM list_records WHERE list_id=?");
  st.Bind(1, list_id);
  if (!st.Step()) return std::nullopt;
  return ReadRow(st);
}

std::optional<ListRecord> ListStore::LoadByFullName(const ListType& type,
                                                    std::string_view full_name) {
  auto& st = company_.db().Prepare("SELECT " + std::string(kColumns) +
                                   " FROM list_records WHERE list_type=? AND full_name=? "
                                   "COLLATE NOCASE");
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
  if (!f.balance_operator.empty()) sql += " AND total_balance" + f.balance_operator + "?";
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

std::string ListStore::CurrentFullName(std::string_view list_id, std::string_view fallback) {
  if (list_id.empty()) return std::string(fallback);
  auto it = full_names_.find(std::string(list_id));
  if (it != full_names_.end()) return it->second;
  auto& st = company_.db().Prepare("SELECT full_name FROM list_records WHERE list_id=?");
  st.Bind(1, list_id);
  std::string name = st.Step() ? std::string(st.Text(0)) : std::string(fallback);
  full_names_.emplace(std::string(list_id), name);
  return name;
}

void ListStore::WriteRef(std::string& out, std::string_view tag, std::string_view stored) {
  auto sep = stored.find(kRefSeparator);
  std::string_view id = stored.substr(0, sep);
  std::string_view fallback =
      sep == std::string_view::npos ? std::string_view() : stored.substr(sep + 1);
  XmlWriter w(out);
  w.Open(tag);
  if (!id.empty()) w.Element("ListID", id);
  std::string name = CurrentFullName(id, fallback);
  if (!name.empty()) w.Element("FullName", name);
  w.Close(tag);
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
      else if (name == "Balance")
        w.Element(name, FormatCents(rec.balance));
      else if (name == "TotalBalance")
        w.Element(name, FormatCents(rec.total_balance));
      else if (name == "DataExtRet" && !options.owner_ids.empty()) {
        for (const auto& owner : options.owner_ids) {
          auto& st = company_.db().Prepare(
              "SELECT v.name, d.data_type, v.value FROM data_ext_values v JOIN data_ext_defs d "
              "ON d.owner_id=v.owner_id AND d.name=v.name WHERE v.object_id=? AND v.owner_id=? "
              "ORDER BY d.ext_id");
          st.Bind(1, rec.list_id).Bind(2, owner);
          while (st.Step()) {
            w.Open("DataExtRet");
            w.Element("OwnerID", owner);  // "0" for the user's own custom fields
            w.Element("DataExtName", st.Text(0));
            w.Element("DataExtType", st.Text(1));
            w.Element("DataExtValue", st.Text(2));
            w.Close("DataExtRet");
          }
        }
      }
      continue;
    }
    if (field.type == ValueType::kAggregate && name.size() > 12 &&
        name.substr(name.size() - 12) == "AddressBlock") {
      std::string_view address = rec.Field(name.substr(0, name.size() - 5));
      if (wanted && !address.empty()) WriteAddressBlock(out, name, address);
      continue;
    }
    while (next < rec.fields.size() && rec.fields[next].first < i) ++next;
    for (; next < rec.fields.size() && rec.fields[next].first == i; ++next) {
      if (!wanted) continue;
      const std::string& value = rec.fields[next].second;
      if (field.type == ValueType::kRef) {
        WriteRef(out, name, value);
      } else if (field.type == ValueType::kAggregate) {
        w.Open(name);
        AppendWithCurrentNames(out, value);
        w.Close(name);
      } else {
        w.Element(name, value);
      }
    }
  }
  w.Close(type.ret);
}

void ListStore::AppendWithCurrentNames(std::string& out, std::string_view text) {
  static constexpr std::string_view kIdOpen = "<ListID>", kIdClose = "</ListID>",
                                    kNameOpen = "<FullName>", kNameClose = "</FullName>";
  size_t copied = 0;
  for (size_t at = text.find(kIdOpen); at != std::string_view::npos; at = text.find(kIdOpen, at)) {
    size_t id_start = at + kIdOpen.size();
    size_t id_end = text.find(kIdClose, id_start);
    if (id_end == std::string_view::npos) break;
    size_t name_at = id_end + kIdClose.size();
    while (name_at < text.size() && (text[name_at] == '\n' || text[name_at] == ' ')) ++name_at;
    at = name_at;
    // Only a reference has its FullName right after its ListID (contacts have times there).
    if (text.compare(name_at, kNameOpen.size(), kNameOpen) != 0) continue;
    size_t name_end = text.find(kNameClose, name_at);
    if (name_end == std::string_view::npos) break;
    std::string current = CurrentFullName(text.substr(id_start, id_end - id_start), {});
    if (current.empty()) continue;  // the record is gone: the stored name stays
    out.append(text.substr(copied, name_at - copied));
    XmlWriter(out).Element("FullName", current);
    copied = name_end + kNameClose.size();
    at = copied;
  }
  out.append(text.substr(copied));
}

}  // namespace brennock::simulator
