// Copies query responses into database tables: one row per record in the table named for its
// kind, child aggregates into detail tables, custom fields into CustomField columns, and a
// history row per table so that later runs can bring the tables up to date.
#include "brennock/database/database_export.h"

#include <filesystem>
#include <iostream>
#include <unordered_map>
#include <vector>

#include "brennock/company/brennock_globals.h"
#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/database/sql_connection.h"
#include "brennock/enums/database_enums.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/database/export_rules.h"
#include "brennock/internal/database/sql_text.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/session/log_file.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr std::string_view kNoConnectionString =
    "Not a valid connection.If you are trying to populate SQL Server database, then please set "
    "the \r\nADOConnection property of the Connection object to your SQL database connection and "
    "then try again.";
// The transaction kinds among the deleted-record queries' types.
constexpr std::string_view kTxnKinds[] = {
    "billpaymentcheck", "billpaymentcreditcard", "bill",         "charge",        "check",
    "creditcardcharge", "creditcardcredit",      "creditmemo",   "deposit",       "estimate",
    "invoice",          "inventoryadjustment",   "journalentry", "purchaseorder", "receivepayment",
    "salesreceipt",     "timetracking",          "vendorcredit"};

bool IsTxnTable(std::string_view table) {
  for (std::string_view kind : kTxnKinds)
    if (kind == table) return true;
  return false;
}

// "yyyy-mm-dd hh:mm:ss" of a date-time.
std::string TimestampText(Date value) {
  Date::Fields f = value.Split();
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                f.hour, f.minute, f.second);
  return buffer;
}

// Reads "yyyy-mm-dd hh:mm:ss" (or with 'T', or a date alone); the zero date when unreadable.
Date ParseTimestamp(std::string_view text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  std::string copy(text);
  int n = std::sscanf(copy.c_str(), "%d-%d-%d%*c%d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (n < 3 || !Date::IsValidDate(y, mo, d)) return Date();
  if (n < 6 || !Date::IsValidTime(h, mi, s)) h = mi = s = 0;
  return Date::FromDateTime(y, mo, d, h, mi, s);
}

// Looks names up without making a string of them.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const noexcept {
    return std::hash<std::string_view>()(name);
  }
};

// A table of the database as the export found it.
struct Table {
  std::string name;  // lower case
  std::string quoted;
  std::vector<SqlColumn> columns;
  // Lower-case column name to position.
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> byName;
  // The row being written.
  std::vector<std::string> values;
  std::vector<uint8_t> set;
  std::string mask;
  // Inserts by the set of columns written, so defaults of unwritten columns still apply.
  std::unordered_map<std::string, std::unique_ptr<SqlStatement>> inserts;
  // The last insert used: records of a kind mostly write the same columns.
  std::string lastMask;
  SqlStatement* lastInsert = nullptr;
  std::unique_ptr<SqlStatement> deleteByIdKey;
  int idKey = -1;
  int groupIdKey = -1;

  int Find(std::string_view lowerName) const {
    auto it = byName.find(lowerName);
    return it == byName.end() ? -1 : it->second;
  }
  void ClearRow() { std::fill(set.begin(), set.end(), 0); }
};

class ExportRun {
 public:
  ExportRun(SqlConnection& db, const ExportRequest& request)
      : db_(db), request_(request), session_(Session()) {
    dialect_ = ChooseDialect(db_);
    keepExact_ = session_.dbKeepExactText;
    table_ = LowerAscii(request.table);
    if (!IsPlainIdentifier(table_))
      RaiseGeneral(request.table, "The table name may hold only letters, digits and '_'");
  }

  ExportOutcome Run(const XmlNode& response) {
    ExportOutcome outcome;
    outcome.opened = true;
    Table* main = Probe(table_, true);
    int32_t mode = session_.databaseMode;
    bool updatePath = mode == qoDBUpdate || mode == qoDBReSynch;
    if (updatePath && !db_.QueryText("SELECT 1 FROM " + main->quoted + Limit1())) {
      // An empty table has nothing to bring up to date.
      session_.databaseMode = qoDBOverwrite;
      mode = qoDBOverwrite;
      updatePath = false;
    }
    // The tables are probed before the transaction: a missing table is no failure of the export,
    // and some databases give up a transaction at its first failing statement (the PostgreSQL
    // driver takes back only the failed statement).
    Probe("history", false);
    DetailTables();
    bool inTransaction = false;
    if (session_.dbUseTxns) {
      inTransaction = db_.Begin();
      if (!inTransaction) session_.dbUseTxns = false;
    }
    try {
      std::optional<std::string> lastExport;
      if (updatePath) lastExport = LastExport();
      if (!updatePath && mode != qoDBappend) {
        EmptyTables(*main);
        // Keys are never reused: no detail row can wait for a record of an emptied table.
        emptied_ = true;
      }
      keyColumn_ = main->Find("listid") >= 0 ? "ListID" : "TxnID";
      if (table_ == LowerAscii(kItemsTable)) itemType_ = main->Find(LowerAscii(kItemTypeColumn));
      if (updatePath && main->Find(LowerAscii(keyColumn_)) >= 0)
        deleteRecord_ =
            db_.Prepare("DELETE FROM " + main->quoted + " WHERE " +
                        QuoteIdentifier(dialect_, ColumnName(*main, keyColumn_)) + " = ?");
      int32_t total = request_.totalRecords;
      std::vector<XmlNode> records;
      for (XmlNode child : response.childNodes())
        if (child.nodeType() == NODE_ELEMENT) records.push_back(child);
      if (total <= 0) total = static_cast<int32_t>(records.size());
      ElementTree tree;
      std::shared_ptr<QBConnection> events = GlobalQBConnection();
      for (const XmlNode& record : records) {
        tree.Assign(record);
        WriteRecord(*main, tree.Root());
        ++outcome.written;
        if (events->RaiseRecordProcessed2(request_.firstRecord + outcome.written, total)) {
          outcome.cancelled = true;
          break;
        }
      }
      if (updatePath) RemoveDeleted(lastExport);
      if (mode != qoDBReSynch) UpdateHistory();
      if (inTransaction) db_.Commit();
    } catch (const SqlError& error) {
      if (inTransaction) db_.Rollback();
      Fail(error.what());
    } catch (...) {
      if (inTransaction) db_.Rollback();
      throw;
    }
    if (session_.dbLogDetail && session_.dbLog)
      session_.dbLog->LogEntry(
          0, "Exported " + std::to_string(outcome.written) + " records to " + table_);
    return outcome;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) {
    if (session_.dbLog) session_.dbLog->LogEntry(ErrorNumber(errGeneral), message);
    RaiseGeneral(request_.table, message);
  }

  std::string Limit1() const {
    return dialect_ == SqlDialect::kStandard || dialect_ == SqlDialect::kLimit ? " LIMIT 1" : "";
  }

  // The table's columns from a one-row probe; null for a missing detail table.
  Table* Probe(const std::string& name, bool required) {
    auto found = tables_.find(name);
    if (found != tables_.end()) return found->second.get();
    std::unique_ptr<Table> table;
    try {
      std::vector<SqlColumn> columns = db_.Describe(ProbeQuery(dialect_, name));
      table = std::make_unique<Table>();
      table->name = name;
      table->quoted = QuoteIdentifier(dialect_, name);
      table->columns = std::move(columns);
      for (size_t i = 0; i < table->columns.size(); ++i)
        table->byName.emplace(LowerAscii(table->columns[i].name), static_cast<int>(i));
      table->values.resize(table->columns.size());
      table->set.resize(table->columns.size());
      table->idKey = table->Find("idkey");
      table->groupIdKey = table->Find("groupidkey");
    } catch (const SqlError& error) {
      if (required) Fail(error.what());
    }
    Table* raw = table.get();
    tables_.emplace(name, std::move(table));
    return raw;
  }

  // The column's name as the database spells it.
  static std::string ColumnName(const Table& table, std::string_view name) {
    int at = table.Find(LowerAscii(name));
    return at < 0 ? std::string(name) : table.columns[static_cast<size_t>(at)].name;
  }

  // The detail tables of the target's record kind, from its shape in the catalogue.
  void CollectDetailTables(const qbxml::Aggregate& aggregate, int depth,
                           std::vector<std::string>& out) {
    if (depth > 6) return;
    for (const qbxml::Element& e : aggregate.elements) {
      if (e.type != qbxml::ValueType::kAggregate && e.type != qbxml::ValueType::kRef) continue;
      std::string detail = DetailTableFor(e.name, table_);
      if (!detail.empty() && std::find(out.begin(), out.end(), detail) == out.end())
        out.push_back(detail);
      if (const qbxml::Aggregate* nested = qbxml::Nested(e))
        CollectDetailTables(*nested, depth + 1, out);
    }
  }

  std::vector<Table*> DetailTables() {
    if (!detailsKnown_) {
      detailsKnown_ = true;
      std::vector<std::string> names;
      for (const qbxml::Aggregate* shape : RecordShapesOf(table_))
        CollectDetailTables(*shape, 0, names);
      for (const std::string& name : names)
        if (Table* t = Probe(name, false); t && t->idKey >= 0) details_.push_back(t);
    }
    return details_;
  }

  void EmptyTables(Table& main) {
    std::string key = main.Find("listid") >= 0 ? "ListID" : main.Find("txnid") >= 0 ? "TxnID" : "";
    for (Table* detail : DetailTables()) {
      std::string sql = "DELETE FROM " + detail->quoted;
      if (!key.empty()) {
        sql += " WHERE " + QuoteIdentifier(dialect_, detail->columns[detail->idKey].name) +
               " IN (SELECT " + QuoteIdentifier(dialect_, ColumnName(main, key)) + " FROM " +
               main.quoted + ")";
      }
      db_.Execute(sql);
    }
    db_.Execute("DELETE FROM " + main.quoted);
  }

  void DeleteDetailRows(std::string_view key) {
    for (Table* detail : DetailTables()) {
      if (!detail->deleteByIdKey)
        detail->deleteByIdKey =
            db_.Prepare("DELETE FROM " + detail->quoted + " WHERE " +
                        QuoteIdentifier(dialect_, detail->columns[detail->idKey].name) + " = ?");
      detail->deleteByIdKey->Bind(0, key, SqlColumnKind::kText);
      detail->deleteByIdKey->Execute();
    }
  }

  void WriteRecord(Table& main, FieldElement record) {
    std::string scratch;
    recordKey_.clear();
    for (FieldElement child : record.Children()) {
      std::string_view name = child.baseName();
      if (name == "ListID" || name == "TxnID") {
        recordKey_.assign(child.TextView(scratch));
        break;
      }
    }
    if (!recordKey_.empty()) {
      if (deleteRecord_) {
        deleteRecord_->Bind(0, std::string_view(recordKey_), SqlColumnKind::kText);
        deleteRecord_->Execute();
      }
      if (!emptied_) DeleteDetailRows(recordKey_);
    }
    main.ClearRow();
    pendingDetails_.clear();
    // Among all items a row says which kind it is: ItemServiceRet gives "ItemService".
    if (itemType_ >= 0) {
      std::string_view kind = record.baseName();
      if (kind.ends_with("Ret")) kind.remove_suffix(3);
      SetRaw(main, itemType_, kind);
    }
    Fill(main, record, prefix_, false, 0);
    Insert(main);
    // Child aggregates go to their tables once the record's own row is written.
    std::vector<std::pair<FieldElement, std::string>> details;
    details.swap(pendingDetails_);
    for (auto& [element, tableName] : details) WriteDetail(element, tableName, {});
  }

  void WriteDetail(FieldElement element, const std::string& tableName, const std::string& group) {
    Table* table = Probe(tableName, false);
    if (!table) return;
    table->ClearRow();
    if (table->idKey >= 0) SetRaw(*table, table->idKey, recordKey_);
    if (table->groupIdKey >= 0 && !group.empty()) SetRaw(*table, table->groupIdKey, group);
    std::vector<std::pair<FieldElement, std::string>> outer;
    outer.swap(pendingDetails_);
    std::string prefix;
    Fill(*table, element, prefix, true, 0);
    Insert(*table);
    std::vector<std::pair<FieldElement, std::string>> nested;
    nested.swap(pendingDetails_);
    pendingDetails_.swap(outer);
    if (nested.empty()) return;
    std::string scratch, lineKey;
    for (FieldElement child : element.Children())
      if (child.baseName() == "TxnLineID") lineKey.assign(child.TextView(scratch));
    for (auto& [inner, innerTable] : nested) WriteDetail(inner, innerTable, lineKey);
  }

  void SetRaw(Table& table, int column, std::string_view value) {
    table.values[static_cast<size_t>(column)].assign(value);
    table.set[static_cast<size_t>(column)] = 1;
  }

  static bool HasChildElements(FieldElement element) {
    FieldElement::Range children = element.Children();
    return !(children.begin() == children.end());
  }

  // Writes element's children into the row; prefix names the aggregates around them.
  void Fill(Table& table, FieldElement element, std::string& prefix, bool detail, int depth) {
    std::string scratch;
    for (FieldElement child : element.Children()) {
      std::string_view name = child.baseName();
      if (name == "DataExtRet") {
        if (!detail) CustomField(table, child);
        continue;
      }
      if (HasChildElements(child)) {
        std::string detailTable = DetailTableFor(name, table_);
        if (!detailTable.empty()) {
          pendingDetails_.emplace_back(child, std::move(detailTable));
          continue;
        }
        if (depth > 8) continue;
        size_t mark = prefix.size();
        prefix += name;
        prefix += '_';
        Fill(table, child, prefix, detail, depth + 1);
        prefix.resize(mark);
        continue;
      }
      if (!IsPlainIdentifier(name)) continue;
      lowerName_.clear();
      for (char c : prefix) lowerName_ += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
      if (name == "Desc" && dialect_ != SqlDialect::kTop) {
        lowerName_ += "description";
      } else {
        for (char c : name) lowerName_ += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
      }
      int at = table.Find(lowerName_);
      if (at < 0) continue;
      SetValue(table, at, name, child.TextView(scratch), detail);
    }
  }

  void SetValue(Table& table, int at, std::string_view element, std::string_view text,
                bool detail) {
    const SqlColumn& column = table.columns[static_cast<size_t>(at)];
    std::string& value = table.values[static_cast<size_t>(at)];
    table.set[static_cast<size_t>(at)] = 1;
    if (IsDateElement(element)) {
      value = ExportDate(text);
      if (value.empty()) table.set[static_cast<size_t>(at)] = 2;  // NULL
      return;
    }
    value.assign(text);
    if (column.kind == SqlColumnKind::kBool || column.kind == SqlColumnKind::kInteger) {
      if (text == "true") value = "1";
      if (text == "false") value = "0";
      return;
    }
    if (keepExact_) return;
    CutForColumn(value, column, detail);
    CleanExportText(value);
  }

  // A public custom field into its CustomField column.
  void CustomField(Table& table, FieldElement dataExt) {
    std::string scratch, owner, name, value;
    for (FieldElement child : dataExt.Children()) {
      std::string_view n = child.baseName();
      if (n == "OwnerID") owner.assign(child.TextView(scratch));
      if (n == "DataExtName") name.assign(child.TextView(scratch));
      if (n == "DataExtValue") value.assign(child.TextView(scratch));
    }
    if (owner != "0" || session_.qbxmlVersionNumber < Currency::FromDouble(2.0)) return;
    int number = CustomFieldNumber(name);
    if (number <= 0) return;
    int at = table.Find("customfield" + std::to_string(number));
    if (at < 0) return;
    std::string_view element = "DataExtValue";
    SetValue(table, at, element, value, false);
  }

  // The CustomField column's number of a custom field of the target table's owner kind.
  int CustomFieldNumber(const std::string& name) {
    if (!ownerKnown_) {
      ownerKnown_ = true;
      std::string upper = table_;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper == "CUSTOMER" || upper == "INVOICE" || upper == "ESTIMATES" ||
          upper == "SALESORDER" || upper == "SALESRECEIPT" || upper == "CREDITMEMO") {
        owner_ = qoObjectTypeCustomer;
      } else if (upper == "VENDOR" || upper == "PURCHASEORDER") {
        owner_ = qoObjectTypeVendor;
      } else if (upper == "EMPLOYEE") {
        owner_ = qoObjectTypeEmployee;
      } else if (upper == "ITEMS") {
        owner_ = qoObjectTypeItem;
        itemSide_ = true;
      }
      if (owner_ != 0) customNames_ = CustomFieldNamesOf(owner_);
    }
    if (owner_ == 0) return 0;
    if (itemSide_) {
      if (name == "Other1") return 6;
      if (name == "Other2") return 7;
    } else {
      if (name == "Other" || name == "Other1") return 8;
      if (name == "Other2") return 9;
    }
    for (size_t i = 0; i < customNames_.size(); ++i)
      if (customNames_[i] == name) return static_cast<int>(i) + 1;
    return 0;
  }

  void Insert(Table& table) {
    table.mask.assign(table.set.size(), '0');
    int count = 0;
    for (size_t i = 0; i < table.set.size(); ++i) {
      if (table.set[i]) {
        table.mask[i] = '1';
        ++count;
      }
    }
    if (count == 0) return;
    SqlStatement* insert = table.lastInsert;
    if (!insert || table.mask != table.lastMask) {
      insert = PrepareInsert(table);
      table.lastMask = table.mask;
      table.lastInsert = insert;
    }
    int parameter = 0;
    for (size_t i = 0; i < table.set.size(); ++i) {
      if (!table.set[i]) continue;
      if (table.set[i] == 2) {
        insert->Bind(parameter++, std::nullopt, table.columns[i].kind);
      } else {
        insert->Bind(parameter++, std::string_view(table.values[i]), table.columns[i].kind);
      }
    }
    insert->Execute();
  }

  // The insert of the columns table.mask marks, prepared once.
  SqlStatement* PrepareInsert(Table& table) {
    std::unique_ptr<SqlStatement>& statement = table.inserts[table.mask];
    if (!statement) {
      std::string sql = "INSERT INTO " + table.quoted + " (";
      std::string marks;
      for (size_t i = 0; i < table.set.size(); ++i) {
        if (!table.set[i]) continue;
        if (!marks.empty()) {
          sql += ',';
          marks += ',';
        }
        sql += QuoteIdentifier(dialect_, table.columns[i].name);
        marks += '?';
      }
      sql += ") VALUES (" + marks + ")";
      statement = db_.Prepare(sql);
    }
    return statement.get();
  }

  std::optional<std::string> LastExport() {
    Table* history = Probe("history", false);
    if (!history) return std::nullopt;
    return db_.QueryText(
        "SELECT " + QuoteIdentifier(dialect_, ColumnName(*history, "ModifiedDate")) + " FROM " +
            history->quoted + " WHERE " +
            QuoteIdentifier(dialect_, ColumnName(*history, "TableName")) + " = ? AND " +
            QuoteIdentifier(dialect_, ColumnName(*history, "QBWFile")) + " = ?",
        {table_, session_.companyPath});
  }

  void UpdateHistory() {
    Table* history = Probe("history", false);
    if (!history) return;
    std::string tableName = QuoteIdentifier(dialect_, ColumnName(*history, "TableName"));
    std::string modified = QuoteIdentifier(dialect_, ColumnName(*history, "ModifiedDate"));
    std::string file = QuoteIdentifier(dialect_, ColumnName(*history, "QBWFile"));
    std::string now = TimestampText(Date::Now());
    std::unique_ptr<SqlStatement> find =
        db_.Prepare("SELECT COUNT(*) FROM " + history->quoted + " WHERE " + tableName +
                    " = ? AND " + file + " = ?");
    find->Bind(0, std::string_view(table_), SqlColumnKind::kText);
    find->Bind(1, std::string_view(session_.companyPath), SqlColumnKind::kText);
    find->Execute();
    bool present = find->Fetch() && find->Text(0).value_or("0") != "0";
    std::unique_ptr<SqlStatement> write =
        present ? db_.Prepare("UPDATE " + history->quoted + " SET " + modified + " = ? WHERE " +
                              tableName + " = ? AND " + file + " = ?")
                : db_.Prepare("INSERT INTO " + history->quoted + " (" + modified + "," + tableName +
                              "," + file + ") VALUES (?,?,?)");
    write->Bind(0, std::string_view(now), SqlColumnKind::kTimestamp);
    write->Bind(1, std::string_view(table_), SqlColumnKind::kText);
    write->Bind(2, std::string_view(session_.companyPath), SqlColumnKind::kText);
    write->Execute();
  }

  // Records QuickBooks deleted since 30 minutes before the last export leave the table. A
  // refused query fails the export: the table would keep records QuickBooks no longer has.
  void RemoveDeleted(const std::optional<std::string>& lastExport) {
    if (table_ == "template" || !lastExport || !deleteRecord_) return;
    if (session_.qbxmlVersionNumber <= Currency::FromDouble(2.0)) return;
    Date since = ParseTimestamp(*lastExport);
    if (since.Value() == 0) return;
    since = Date(since.Value() - 30.0 / (24 * 60));
    bool txn = IsTxnTable(table_);
    std::vector<std::string_view> delTypes;
    if (txn) {
      delTypes.push_back(request_.table);
    } else {
      delTypes = ListDelTypesOf(table_);
    }
    if (delTypes.empty()) return;
    std::string_view request = txn ? "TxnDeletedQueryRq" : "ListDeletedQueryRq";
    xmlBldr builder;
    builder.NewClear();
    builder.OpenAggregateOnly(request);
    for (std::string_view type : delTypes)
      builder.CreateElement(txn ? "TxnDelType" : "ListDelType", type);
    builder.OpenAggregateOnly("DeletedDateRangeFilter");
    builder.CreateElement("FromDeletedDate", TimestampText(since).replace(10, 1, "T"));
    builder.EndAggregate("DeletedDateRangeFilter");
    builder.EndAggregate(request);
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    if (builder.ErrNumber() != 0)
      RaiseError(errQuickBooksRefused, "Brennock: " + request_.table, builder.ErrMsg());
    std::string_view idName = txn ? "TxnID" : "ListID";
    for (XmlNode deleted : FirstResponseElement(*response).childNodes()) {
      if (deleted.nodeType() != NODE_ELEMENT) continue;
      for (XmlNode field : deleted.childNodes()) {
        if (field.baseName() != idName) continue;
        std::string id = field.text();
        deleteRecord_->Bind(0, std::string_view(id), SqlColumnKind::kText);
        deleteRecord_->Execute();
        DeleteDetailRows(id);
      }
    }
  }

  SqlConnection& db_;
  const ExportRequest& request_;
  SessionState& session_;
  SqlDialect dialect_;
  bool keepExact_;
  std::string table_;
  std::unordered_map<std::string, std::unique_ptr<Table>> tables_;
  bool detailsKnown_ = false;
  bool emptied_ = false;
  std::vector<Table*> details_;
  std::string keyColumn_;
  std::unique_ptr<SqlStatement> deleteRecord_;
  std::string recordKey_;
  std::string prefix_;
  std::string lowerName_;
  std::vector<std::pair<FieldElement, std::string>> pendingDetails_;
  bool ownerKnown_ = false;
  bool itemSide_ = false;
  qoEnumListObjectType owner_ = static_cast<qoEnumListObjectType>(0);
  std::vector<std::string> customNames_;
  int itemType_ = -1;  // the ItemType column of the items table
};

}  // namespace

XmlNode FirstResponseElement(const XmlDocument& document) {
  return document.documentElement().childNodes().item(0).childNodes().item(0);
}

ExportOutcome ExportResponseElement(const XmlNode& response, const ExportRequest& request,
                                    SqlConnection& db) {
  ExportRun run(db, request);
  return run.Run(response);
}

ExportOutcome ExportResponseElement(const XmlNode& response, const ExportRequest& request) {
  SessionState& session = Session();
  std::shared_ptr<SqlConnection> db;
  if (request.databasePath == "ADOCON") {
    db = session.adoConnection;
    if (!db) {
      if (session.adoConnStr.empty()) {
        std::cerr << kNoConnectionString << '\n';
        return {};
      }
      try {
        db = OpenOdbcDatabase(session.adoConnStr);
      } catch (const SqlError&) {
        RaiseLibraryError(errQuickBooksRefused, std::string(kMsgDatabaseConnection));
      }
    }
  } else {
    std::error_code ignored;
    try {
      if (!std::filesystem::is_regular_file(request.databasePath, ignored))
        throw SqlError("missing");
      db = OpenSqliteDatabase(request.databasePath);
    } catch (const SqlError&) {
      RaiseError(errValidateFailed, request.table, std::string(kMsgDatabaseFileMissing));
    }
  }
  return ExportResponseElement(response, request, *db);
}

}  // namespace brennock
