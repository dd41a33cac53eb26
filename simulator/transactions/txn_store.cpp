#include "simulator/transactions/txn_store.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "simulator/ledger/stock_figures.h"
#include "simulator/lists/field_values.h"
#include "simulator/records/aggregates.h"
#include "simulator/records/data_ext_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

using qbxml::ValueType;

constexpr const char* kColumns =
    "SELECT id,txn_id,txn_type,txn_number,txn_date,ref_number,entity_id,account_id,currency_id,"
    "time_created,time_modified,modified_utc,edit_sequence,voided,body,lines FROM txn_records";

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string ChildText(pugi::xml_node node, const char* name) {
  return std::string(Trim(node.child(name).text().get()));
}

// The Ret line element a request line aggregate fills ("InvoiceLineAdd" -> "InvoiceLineRet"),
// or -1.
int LineElementFor(const TxnKind& kind, std::string_view request_name, std::string_view form) {
  if (!EndsWith(request_name, form)) return -1;
  std::string ret(request_name.substr(0, request_name.size() - form.size()));
  ret += "Ret";
  int index = kind.field_index(ret);
  return index >= 0 && kind.is_line(kind.shape[index]) ? index : -1;
}

// The Ret line element of a request line: the rule above; a journal entry's lines keep their Ret
// names in an Add, and its JournalLineMod is a debit or a credit line by its JournalLineType
// (-2 when it names none: a stored line keeps its side). -1 for anything that is no line.
int RequestLineElement(const TxnKind& kind, pugi::xml_node line, bool modify) {
  std::string_view name = line.name();
  int element = LineElementFor(kind, name, modify ? "Mod" : "Add");
  if (element >= 0) return element;
  if (!modify) {
    int index = kind.field_index(name);
    return index >= 0 && kind.is_line(kind.shape[index]) ? index : -1;
  }
  if (name != "JournalLineMod") return -1;
  std::string side = ChildText(line, "JournalLineType");
  if (side.empty()) return -2;
  int index = kind.field_index("Journal" + side + "Line");
  return index >= 0 && kind.is_line(kind.shape[index]) ? index : -1;
}

// Line elements that are alternatives of one choice (a line or a group line) make one list of
// lines, named by its first element; a kind may have several (expense lines and item lines).
size_t LineFamily(const TxnKind& kind, size_t element) {
  auto alternative = [&](size_t i) {
    return kind.is_line(kind.shape[i]) && (kind.shape[i].flags & qbxml::kInChoice);
  };
  while (element > 0 && alternative(element) && alternative(element - 1)) --element;
  return element;
}

// The same below a group line ("InvoiceLineMod" inside "InvoiceLineGroupMod").
int MemberElementFor(const qbxml::Aggregate& group, std::string_view request_name) {
  for (std::string_view form : {"Add", "Mod"}) {
    if (!EndsWith(request_name, form)) continue;
    std::string ret(request_name.substr(0, request_name.size() - form.size()));
    ret += "Ret";
    int index = LineIndex(group, ret);
    if (index >= 0 && group.elements[index].type == ValueType::kAggregate) return index;
  }
  return -1;
}

// A stored value from a request element of a plain, reference or aggregate field.
std::optional<std::string> RequestValue(const qbxml::Element& field, pugi::xml_node child,
                                        std::string_view current, bool modify,
                                        std::string_view owner, References& refs, Status& status) {
  std::string value;
  if (field.type == ValueType::kRef) {
    auto ref = refs.Resolve(child, owner, status);
    if (!ref) return std::nullopt;
    return ref;
  }
  if (field.type == ValueType::kAggregate) {
    bool ok = modify && !(field.flags & qbxml::kRepeats)
                  ? MergeAggregate(std::string(current), child, *qbxml::Nested(field), owner, refs,
                                   value, status)
                  : RenderAggregate(child, *qbxml::Nested(field), owner, refs, value, status);
    if (!ok) return std::nullopt;
    return value;
  }
  return NormalizeField(field, child.text().get(), status);
}

void ZeroAmounts(FieldList& fields, std::span<const qbxml::Element> shape) {
  for (auto& [index, value] : fields)
    if (index < shape.size() && shape[index].type == ValueType::kAmount) value = "0.00";
}

void ZeroLineAmounts(const TxnKind& kind, std::vector<TxnLine>& lines) {
  for (auto& line : lines) {
    const qbxml::Aggregate& shape = line.Shape(kind);
    ZeroAmounts(line.fields, shape.elements);
    for (auto& m : line.members)
      ZeroAmounts(m.fields, shape.elements[m.element].type == ValueType::kAggregate
                                ? qbxml::Nested(shape.elements[m.element])->elements
                                : shape.elements);
  }
}

void CollectLineIds(const std::vector<TxnLine>& lines, std::vector<std::string>& ids) {
  for (const auto& l : lines) {
    ids.push_back(l.line_id);
    CollectLineIds(l.members, ids);
  }
}

}  // namespace

void TxnStore::ReadCounters(const TxnKind& kind) {
  if (counters_read_) return;
  counters_read_ = true;
  ref_key_ = "last_ref." + std::string(kind.stem);
  counters_ = TxnCounters::Read(company(), ref_key_);
}

void TxnStore::StoreCounters() {
  if (!counters_read_) return;
  counters_.Store(company(), ref_key_);
}

std::string TxnStore::NextId() {
  if (now_.unix_seconds == 0) now_ = Now();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%llX-%lld", static_cast<unsigned long long>(counters_.next_seq++),
                static_cast<long long>(now_.unix_seconds));
  return buf;
}

std::string TxnStore::NextRefNumber() { return std::to_string(++counters_.last_ref); }

int64_t TxnStore::OpenBalance(const std::string& txn_id) {
  if (open_.first != txn_id) open_ = {txn_id, ledger().OpenBalance(txn_id)};
  return open_.second;
}

Status TxnStore::ApplyHeader(const TxnKind& kind, pugi::xml_node source, bool modify,
                             TxnRecord& txn) {
  Status status;
  const qbxml::Aggregate* request = modify ? kind.mod : kind.add;
  std::vector<uint16_t> replaced;
  for (auto child : source.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view name = child.name();
    if (name == "TxnID" || name == "EditSequence") continue;
    if (!request || !qbxml::FindElement(*request, name)) continue;
    int index = kind.field_index(name);
    if (index < 0 || kind.is_line(kind.shape[index])) continue;  // lines come after the header
    const qbxml::Element& field = kind.shape[index];
    auto u = static_cast<uint16_t>(index);
    bool repeats = field.flags & qbxml::kRepeats;
    if (modify && repeats && std::find(replaced.begin(), replaced.end(), u) == replaced.end()) {
      ClearFieldAt(txn.fields, u);
      replaced.push_back(u);
    }
    auto value =
        RequestValue(field, child, FieldAt(txn.fields, u), modify, kind.stem, refs(), status);
    if (!value) return status;
    if (modify && !repeats && value->empty())
      ClearFieldAt(txn.fields, u);  // an empty element clears the field
    else if (repeats)
      AddFieldAt(txn.fields, u, std::move(*value));
    else
      SetFieldAt(txn.fields, u, std::move(*value));
  }
  return status;
}

Status TxnStore::ApplyLine(const TxnKind& kind, const qbxml::Aggregate& shape,
                           pugi::xml_node source, TxnLine& line, LineInput& input) {
  Status status;
  const qbxml::Aggregate* request = qbxml::FindAggregate(source.name());
  for (auto child : source.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view name = child.name();
    if (name == "TxnLineID" || !request || !qbxml::FindElement(*request, name)) continue;
    int member = MemberElementFor(shape, name);
    if (member >= 0) {
      // A member line of a group named in a group's Mod: changed where it stands.
      std::string id = ChildText(child, "TxnLineID");
      for (size_t m = 0; m < line.members.size(); ++m) {
        if (line.members[m].line_id != id) continue;
        LineInput& in = input.members.size() > m ? input.members[m] : input.members.emplace_back();
        in.new_line = false;
        Status s =
            ApplyLine(kind, *qbxml::Nested(shape.elements[member]), child, line.members[m], in);
        if (!s.ok()) return s;
      }
      continue;
    }
    int index = LineIndex(shape, name);
    if (index < 0) continue;  // what QuickBooks takes but does not answer with
    const qbxml::Element& field = shape.elements[index];
    auto u = static_cast<uint16_t>(index);
    if (name == "Amount") input.amount_given = true;
    if (name == "Quantity" || name == "Rate" || name == "RatePercent" || name == "ItemRef" ||
        name == "ItemGroupRef" || name == "PriceLevelRef")
      input.pricing_changed = true;
    // Rate and RatePercent are alternatives: naming one drops the other.
    if (name == "Rate") ClearLineField(line, shape, "RatePercent");
    if (name == "RatePercent") ClearLineField(line, shape, "Rate");
    auto value = RequestValue(field, child, FieldAt(line.fields, u), !input.new_line, kind.stem,
                              refs(), status);
    if (!value) return status;
    if (!input.new_line && value->empty())
      ClearFieldAt(line.fields, u);
    else
      SetFieldAt(line.fields, u, std::move(*value));
  }
  if (LineIndex(shape, "ItemGroupRef") >= 0) input.expand = input.new_line || input.pricing_changed;
  return status;
}

Status TxnStore::ApplyLines(const TxnKind& kind, pugi::xml_node source, bool modify, TxnRecord& txn,
                            std::vector<LineInput>& inputs) {
  std::vector<TxnLine> lines;
  std::vector<size_t> replaced;  // the lists of lines the request names or clears
  auto replace = [&](size_t family) {
    if (std::find(replaced.begin(), replaced.end(), family) == replaced.end())
      replaced.push_back(family);
  };
  for (auto child : source.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view name = child.name();
    if (modify && name.starts_with("Clear") && name.ends_with("Lines")) {
      // ClearExpenseLines, ClearItemLines: the Mod empties that list.
      int cleared = kind.field_index(std::string(name.substr(5, name.size() - 6)) + "Ret");
      if (cleared >= 0 && NormalizeValue(ValueType::kBool, child.text().get()) == "true")
        replace(LineFamily(kind, static_cast<size_t>(cleared)));
      continue;
    }
    int element = RequestLineElement(kind, child, modify);
    if (element == -1) continue;
    TxnLine line;
    LineInput input;
    std::string id = modify ? ChildText(child, "TxnLineID") : std::string();
    if (modify && id != "-1") {
      const bool any_side = name == "JournalLineMod";
      auto old = std::find_if(txn.lines.begin(), txn.lines.end(), [&](const TxnLine& l) {
        return l.line_id == id && (any_side || l.element == element);
      });
      if (old == txn.lines.end()) return MakeStatus(kObjectNotFound, {id});
      line = *old;
      input.new_line = false;
      input.members.resize(line.members.size(), LineInput::Kept());
    } else if (element < 0) {
      return MakeStatus(kTxnCannotModify,
                        {kind.stem, "A new journal line needs its JournalLineType."});
    }
    if (element >= 0) line.element = static_cast<uint16_t>(element);
    input.source = child;
    const qbxml::Aggregate& shape = *qbxml::Nested(kind.shape[line.element]);
    Status status = ApplyLine(kind, shape, child, line, input);
    if (!status.ok()) return status;
    replace(LineFamily(kind, line.element));
    lines.push_back(std::move(line));
    inputs.push_back(std::move(input));
  }
  if (modify) {
    // Lists of lines the request neither names nor clears stay as they were; in a list it names,
    // the lines it leaves out are deleted.
    std::vector<TxnLine> kept;
    std::vector<LineInput> kept_inputs;
    for (const auto& line : txn.lines) {
      if (std::find(replaced.begin(), replaced.end(), LineFamily(kind, line.element)) !=
          replaced.end())
        continue;
      kept.push_back(line);
      LineInput input = LineInput::Kept();
      input.members.resize(line.members.size(), LineInput::Kept());
      kept_inputs.push_back(std::move(input));
    }
    lines.insert(lines.begin(), std::make_move_iterator(kept.begin()),
                 std::make_move_iterator(kept.end()));
    inputs.insert(inputs.begin(), std::make_move_iterator(kept_inputs.begin()),
                  std::make_move_iterator(kept_inputs.end()));
  }
  txn.lines = std::move(lines);
  return {};
}

void TxnStore::AssignLineIds(std::vector<TxnLine>& lines) {
  for (auto& line : lines) {
    if (line.line_id.empty() || line.line_id == "-1") line.line_id = NextId();
    AssignLineIds(line.members);
  }
}

void TxnStore::FillColumns(TxnRecord& txn) {
  txn.txn_date = txn.Field("TxnDate");
  txn.ref_number = txn.Field("RefNumber");
  txn.entity_id.clear();
  for (auto name : {"CustomerRef", "VendorRef", "PayeeEntityRef", "EntityRef"})
    if (auto v = txn.Field(name); !v.empty()) {
      txn.entity_id = RefId(v);
      break;
    }
  txn.account_id.clear();
  for (auto name :
       {"ARAccountRef", "APAccountRef", "AccountRef", "BankAccountRef", "DepositToAccountRef"})
    if (auto v = txn.Field(name); !v.empty()) {
      txn.account_id = RefId(v);
      break;
    }
  txn.currency_id = RefId(txn.Field("CurrencyRef"));
}

Status TxnStore::Add(const TxnKind& kind, const TxnRule& rule, pugi::xml_node add, TxnRecord& out) {
  now_ = Now();
  request_ = add;
  ReadCounters(kind);
  TxnRecord txn;
  txn.kind = &kind;
  Status status = ApplyHeader(kind, add, false, txn);
  if (!status.ok()) return status;
  std::vector<LineInput> inputs;
  status = ApplyLines(kind, add, false, txn, inputs);
  if (!status.ok()) return status;
  status = rule.Complete(*this, txn, inputs);
  if (!status.ok()) return status;
  txn.txn_id = NextId();
  AssignLineIds(txn.lines);
  txn.txn_number = counters_.next_number++;
  txn.time_created = txn.time_modified = FormatDateTime(now_);
  txn.modified_utc = now_.unix_seconds;
  txn.edit_sequence = CompanyDb::NextEditSequence("", now_);
  FillColumns(txn);
  Store(txn, true);
  txn.row = sqlite3_last_insert_rowid(company().db().Handle());
  StoreCounters();
  ledger().Post(txn.txn_id, rule.Postings(*this, txn));
  links_.Saved(txn);
  out = std::move(txn);
  return status;
}

Status TxnStore::Modify(const TxnKind& kind, const TxnRule& rule, pugi::xml_node mod,
                        TxnRecord& out) {
  now_ = Now();
  request_ = mod;
  std::string id = ChildText(mod, "TxnID");
  std::string edit_sequence = ChildText(mod, "EditSequence");
  if (id.empty() || id.find('-') == std::string::npos)
    return MakeStatus(kInvalidId, {id, "txn id"});
  auto found = LoadById(id);
  if (!found || found->kind != &kind) return MakeStatus(kObjectNotFound, {id});
  if (edit_sequence != found->edit_sequence) return MakeStatus(kEditSequenceStale, {edit_sequence});
  ReadCounters(kind);
  TxnRecord txn = *found;
  Status status = ApplyHeader(kind, mod, true, txn);
  if (!status.ok()) return status;
  std::vector<LineInput> inputs;
  status = ApplyLines(kind, mod, true, txn, inputs);
  if (!status.ok()) return status;
  status = rule.Complete(*this, txn, inputs);
  if (!status.ok()) return status;
  AssignLineIds(txn.lines);
  FillColumns(txn);
  if (EncodeFields(txn.fields) == EncodeFields(found->fields) &&
      EncodeLines(txn.lines) == EncodeLines(found->lines)) {
    out = std::move(*found);  // nothing changed: QuickBooks saves nothing and answers the record
    return status;
  }
  txn.time_modified = FormatDateTime(now_);
  txn.modified_utc = now_.unix_seconds;
  txn.edit_sequence = CompanyDb::NextEditSequence(found->edit_sequence, now_);
  ledger().Unpost(txn.txn_id);
  Store(txn, false);
  StoreCounters();
  if (!txn.voided) ledger().Post(txn.txn_id, rule.Postings(*this, txn));
  links_.Saved(txn);
  out = std::move(txn);
  return status;
}

Status TxnStore::Void(const TxnKind& kind, std::string_view txn_id, TxnRecord& out) {
  now_ = Now();
  std::string id(Trim(txn_id));
  if (id.empty() || id.find('-') == std::string::npos)
    return MakeStatus(kInvalidId, {id, "txn id"});
  auto found = LoadById(id);
  if (!found || found->kind != &kind) return MakeStatus(kObjectNotFound, {id});
  TxnRecord txn = std::move(*found);
  if (const TxnRule* rule = FindTxnRule(kind.stem); rule && !txn.voided) {
    Status refused = rule->CheckRemove(*this, txn, true);
    if (!refused.ok()) return refused;
  }
  if (!txn.voided) {
    // A void takes back what the transaction posted; what others applied to it would dangle.
    if (std::string why = links_.Dependents(txn); !why.empty())
      return MakeStatus(kTxnCannotVoid, {kind.stem, why});
    ZeroAmounts(txn.fields, kind.shape);
    ZeroLineAmounts(kind, txn.lines);
    if (kind.field_index("Memo") >= 0) {
      std::string memo(txn.Field("Memo"));
      txn.SetField("Memo", memo.empty() ? "VOID:" : "VOID: " + memo);
    }
    txn.voided = true;
    txn.time_modified = FormatDateTime(now_);
    txn.modified_utc = now_.unix_seconds;
    txn.edit_sequence = CompanyDb::NextEditSequence(txn.edit_sequence, now_);
    ledger().Unpost(txn.txn_id);
    Store(txn, false);
    links_.Saved(txn);
  }
  out = std::move(txn);
  return {};
}

Status TxnStore::Delete(const TxnKind& kind, std::string_view txn_id, DeletedTxn& out) {
  now_ = Now();
  std::string id(Trim(txn_id));
  if (id.empty() || id.find('-') == std::string::npos)
    return MakeStatus(kInvalidId, {id, "txn id"});
  auto found = LoadById(id);
  if (!found || found->kind != &kind) return MakeStatus(kObjectNotFound, {id});
  if (const TxnRule* rule = FindTxnRule(kind.stem)) {
    Status refused = rule->CheckRemove(*this, *found, false);
    if (!refused.ok()) return refused;
  }
  if (std::string why = links_.Dependents(*found); !why.empty())
    return MakeStatus(kTxnCannotDelete, {kind.stem, why});
  ledger().Unpost(id);
  links_.Deleted(*found);
  std::vector<std::string> ids{id};
  CollectLineIds(found->lines, ids);
  auto& values = company().db().Prepare("DELETE FROM data_ext_values WHERE object_id=?");
  for (const auto& object : ids) {
    values.Reset();
    values.Bind(1, object).Run();
  }
  out = {std::string(kind.stem), id, found->ref_number, FormatDateTime(now_)};
  company()
      .db()
      .Prepare(
          "INSERT INTO deleted_txns(txn_type,txn_id,ref_number,time_created,time_deleted,"
          "deleted_utc) VALUES(?,?,?,?,?,?)")
      .Bind(1, out.txn_type)
      .Bind(2, out.txn_id)
      .Bind(3, out.ref_number)
      .Bind(4, found->time_created)
      .Bind(5, out.time_deleted)
      .Bind(6, now_.unix_seconds)
      .Run();
  company().db().Prepare("DELETE FROM txn_records WHERE txn_id=?").Bind(1, id).Run();
  return {};
}

void TxnStore::Store(const TxnRecord& txn, bool insert) {
  auto& st = company().db().Prepare(
      insert ? "INSERT INTO txn_records(txn_id,txn_type,txn_number,txn_date,ref_number,entity_id,"
               "account_id,currency_id,time_created,time_modified,modified_utc,edit_sequence,"
               "voided,body,lines) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)"
             : "UPDATE txn_records SET txn_type=?2,txn_number=?3,txn_date=?4,ref_number=?5,"
               "entity_id=?6,account_id=?7,currency_id=?8,time_created=?9,time_modified=?10,"
               "modified_utc=?11,edit_sequence=?12,voided=?13,body=?14,lines=?15 WHERE txn_id=?1");
  st.Bind(1, txn.txn_id).Bind(2, txn.kind->stem).Bind(3, txn.txn_number).Bind(4, txn.txn_date);
  st.Bind(5, txn.ref_number).Bind(6, txn.entity_id).Bind(7, txn.account_id);
  st.Bind(8, txn.currency_id).Bind(9, txn.time_created).Bind(10, txn.time_modified);
  st.Bind(11, txn.modified_utc).Bind(12, txn.edit_sequence).Bind(13, int64_t{txn.voided});
  st.Bind(14, EncodeFields(txn.fields)).Bind(15, EncodeLines(txn.lines));
  st.Run();
}

std::optional<TxnRecord> TxnStore::ReadRow(Statement& st) {
  TxnRecord t;
  t.row = st.Int(0);
  t.txn_id = st.Text(1);
  t.kind = FindTxnKind(st.Text(2));
  if (!t.kind) return std::nullopt;
  t.txn_number = st.Int(3);
  t.txn_date = st.Text(4);
  t.ref_number = st.Text(5);
  t.entity_id = st.Text(6);
  t.account_id = st.Text(7);
  t.currency_id = st.Text(8);
  t.time_created = st.Text(9);
  t.time_modified = st.Text(10);
  t.modified_utc = st.Int(11);
  t.edit_sequence = st.Text(12);
  t.voided = st.Int(13) != 0;
  if (!DecodeFields(st.Text(14), t.fields) || !DecodeLines(st.Text(15), t.lines))
    throw SqliteError("damaged transaction " + t.txn_id);
  return t;
}

std::optional<TxnRecord> TxnStore::LoadById(std::string_view txn_id) {
  auto& st = company().db().Prepare(std::string(kColumns) + " WHERE txn_id=?");
  st.Bind(1, txn_id);
  if (!st.Step()) return std::nullopt;
  auto t = ReadRow(st);
  st.Reset();
  return t;
}

std::optional<TxnRecord> TxnStore::LoadByRow(int64_t row) {
  auto& st = company().db().Prepare(std::string(kColumns) + " WHERE id=?");
  st.Bind(1, row);
  if (!st.Step()) return std::nullopt;
  auto t = ReadRow(st);
  st.Reset();
  return t;
}

std::vector<int64_t> TxnStore::Select(const TxnFilter& f) {
  std::string sql = "SELECT id FROM txn_records WHERE txn_type=?";
  auto in = [&sql](std::string_view column, size_t n, std::string_view collate = {}) {
    sql.append(" AND ").append(column).append(collate).append(" IN (");
    for (size_t i = 0; i < n; ++i) sql += i ? ",?" : "?";
    sql += ")";
  };
  if (!f.txn_ids.empty()) in("txn_id", f.txn_ids.size());
  if (!f.ref_numbers.empty()) in("ref_number", f.ref_numbers.size(), " COLLATE NOCASE");
  if (!f.ref_numbers_exact.empty()) in("ref_number", f.ref_numbers_exact.size());
  if (f.from_modified) sql += " AND modified_utc>=?";
  if (f.to_modified) sql += " AND modified_utc<=?";
  if (f.from_date) sql += " AND txn_date>=?";
  if (f.to_date) sql += " AND txn_date<=?";
  if (!f.entity_ids.empty()) in("entity_id", f.entity_ids.size());
  if (!f.account_ids.empty()) {
    // The header's account, or any account the transaction posts to.
    std::string list;
    for (size_t i = 0; i < f.account_ids.size(); ++i) list += i ? ",?" : "?";
    sql += " AND (account_id IN (" + list +
           ") OR EXISTS(SELECT 1 FROM postings p WHERE p.source_id=txn_records.txn_id AND "
           "p.account_id IN (" +
           list + ")))";
  }
  if (!f.item_ids.empty()) {
    // Items are stored as references, "ListID<US>FullName", in the header or the lines.
    sql += " AND (";
    for (size_t i = 0; i < f.item_ids.size(); ++i)
      sql += i ? " OR instr(body,?)>0 OR instr(lines,?)>0" : "instr(body,?)>0 OR instr(lines,?)>0";
    sql += ")";
  }
  if (!f.ref_like.empty()) sql += " AND ref_number LIKE ? ESCAPE '\\'";
  if (f.ref_from) sql += " AND ref_number>=? COLLATE NOCASE";
  if (f.ref_to) sql += " AND ref_number<=? COLLATE NOCASE";
  if (!f.currency_ids.empty()) in("currency_id", f.currency_ids.size());
  for (size_t i = 0; i < f.named_ids.size(); ++i)
    sql +=
        i ? " OR instr(body,?)>0 OR instr(lines,?)>0" : " AND (instr(body,?)>0 OR instr(lines,?)>0";
  if (!f.named_ids.empty()) sql += ")";
  if (f.paid != TxnFilter::Paid::kAll)
    sql += std::string(
               " AND coalesce((SELECT sum(p.amount) FROM postings p WHERE "
               "p.open_id=txn_records.txn_id),0)") +
           (f.paid == TxnFilter::Paid::kPaidOnly ? "=0" : "<>0");
  sql += " ORDER BY txn_date, id";
  auto& st = company().db().Prepare(sql);
  int n = 1;
  st.Bind(n++, f.kind->stem);
  for (const auto& v : f.txn_ids) st.Bind(n++, v);
  for (const auto& v : f.ref_numbers) st.Bind(n++, v);
  for (const auto& v : f.ref_numbers_exact) st.Bind(n++, v);
  if (f.from_modified) st.Bind(n++, *f.from_modified);
  if (f.to_modified) st.Bind(n++, *f.to_modified);
  if (f.from_date) st.Bind(n++, *f.from_date);
  if (f.to_date) st.Bind(n++, *f.to_date);
  for (const auto& v : f.entity_ids) st.Bind(n++, v);
  for (int twice = 0; twice < 2 && !f.account_ids.empty(); ++twice)
    for (const auto& v : f.account_ids) st.Bind(n++, v);
  for (const auto& v : f.item_ids) {
    std::string stored = v + kRefSeparator;
    st.Bind(n++, stored);
    st.Bind(n++, stored);
  }
  if (!f.ref_like.empty()) st.Bind(n++, f.ref_like);
  if (f.ref_from) st.Bind(n++, *f.ref_from);
  if (f.ref_to) st.Bind(n++, *f.ref_to);
  for (const auto& v : f.currency_ids) st.Bind(n++, v);
  for (const auto& v : f.named_ids) {
    // A reference is stored as its ListID and a separator, in the header or in a line.
    std::string ref = v + kRefSeparator;
    st.Bind(n++, ref);
    st.Bind(n++, ref);
  }
  std::vector<int64_t> rows;
  while (st.Step()) rows.push_back(st.Int(0));
  if (f.pending) {
    std::erase_if(rows, [&](int64_t row) {
      auto txn = LoadByRow(row);
      return !txn || (txn->Field("IsPending") == "true") != *f.pending;
    });
  }
  return rows;
}

void TxnStore::WriteLine(std::string& out, const TxnRecord& txn, const TxnLine& line,
                         const qbxml::Aggregate& shape, const RetOptions& options) {
  XmlWriter w(out);
  const TxnRule* rule = FindTxnRule(txn.kind->stem);
  w.Open(shape.name);
  size_t next = 0;
  for (size_t i = 0; i < shape.elements.size(); ++i) {
    const qbxml::Element& field = shape.elements[i];
    if (field.name == "TxnLineID") {
      w.Element(field.name, line.line_id);
      continue;
    }
    if (field.name == "DataExtRet") {
      WriteDataExtensions(company(), out, line.line_id, options.owner_ids);
      continue;
    }
    if (field.type == ValueType::kAggregate && EndsWith(field.name, "LineRet")) {
      for (const auto& m : line.members)
        if (m.element == i) WriteLine(out, txn, m, *qbxml::Nested(field), options);
      continue;
    }
    if (rule && rule->WriteLineFromLedger(*this, txn, line, shape, field.name, out)) continue;
    while (next < line.fields.size() && line.fields[next].first < i) ++next;
    for (; next < line.fields.size() && line.fields[next].first == i; ++next)
      WriteStoredField(out, field, line.fields[next].second, refs());
  }
  w.Close(shape.name);
}

void TxnStore::WriteRet(std::string& out, const TxnRecord& txn, const RetOptions& options) {
  struct Restore {
    const RetOptions*& at;
    const RetOptions* was;
    ~Restore() { at = was; }
  } restore{writing_, std::exchange(writing_, &options)};
  XmlWriter w(out);
  const TxnKind& kind = *txn.kind;
  const TxnRule* rule = FindTxnRule(kind.stem);
  w.Open(kind.ret);
  size_t next = 0;
  int lines_written_to = -1;  // the last line element a run of alternatives covered
  for (size_t i = 0; i < kind.shape.size(); ++i) {
    const qbxml::Element& field = kind.shape[i];
    std::string_view name = field.name;
    bool wanted = options.include.empty() || options.include.count(std::string(name));
    if (name == "TxnID") {
      if (wanted) w.Element(name, txn.txn_id);
    } else if (name == "TimeCreated") {
      if (wanted) w.Element(name, txn.time_created);
    } else if (name == "TimeModified") {
      if (wanted) w.Element(name, txn.time_modified);
    } else if (name == "EditSequence") {
      if (wanted) w.Element(name, txn.edit_sequence);
    } else if (name == "TxnNumber") {
      if (wanted) w.Element(name, std::to_string(txn.txn_number));
    } else if (name == "DataExtRet") {
      if (wanted) WriteDataExtensions(company(), out, txn.txn_id, options.owner_ids);
    } else if (name == "LinkedTxn") {
      // A kind whose rule answers its links itself (the buying side), else the common answer.
      if (wanted && !(rule && rule->WriteFromLedger(*this, txn, name, out)) && options.linked_txns)
        links_.WriteLinkedTxns(out, txn);
    } else if (kind.is_line(field)) {
      if (static_cast<int>(i) <= lines_written_to) continue;
      // Alternatives of one choice (a line or a group line) come in the order entered.
      size_t last = i;
      if (field.flags & qbxml::kInChoice)
        while (last + 1 < kind.shape.size() && kind.is_line(kind.shape[last + 1]) &&
               (kind.shape[last + 1].flags & qbxml::kInChoice))
          ++last;
      lines_written_to = static_cast<int>(last);
      bool named = options.include.empty();
      for (size_t k = i; k <= last; ++k)
        named |= options.include.count(std::string(kind.shape[k].name)) > 0;
      if (!options.line_items || !named) continue;
      for (const auto& line : txn.lines)
        if (line.element >= i && line.element <= last)
          WriteLine(out, txn, line, line.Shape(kind), options);
    } else if (field.type == ValueType::kAggregate && EndsWith(name, "AddressBlock")) {
      if (wanted) WriteAddressBlock(out, name, txn.Field(name.substr(0, name.size() - 5)));
    } else if (wanted && rule && rule->WriteFromLedger(*this, txn, name, out)) {
    } else {
      while (next < txn.fields.size() && txn.fields[next].first < i) ++next;
      for (; next < txn.fields.size() && txn.fields[next].first == i; ++next)
        if (wanted) WriteStoredField(out, field, txn.fields[next].second, refs());
    }
  }
  w.Close(kind.ret);
}

}  // namespace brennock::simulator
