// The database export and the field readers on 100 000 customers, in one run:
// - exporting a loaded query response into a SQLite customer table, against inserting the same
//   values with one plain prepared statement in one transaction (the floor any export pays);
// - ListEntries reading three fields straight from a response's text (the full records, and the
//   three-element answer QuickBooks gives its request), against Customers.GetAll building records
//   from the full response.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "brennock/company/field_readers.h"
#include "brennock/database/database_export.h"
#include "brennock/database/sql_connection.h"
#include "brennock/internal/database/schema.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/customer.h"
#include "brennock/xml/xml_document.h"

namespace {

constexpr int kCustomers = 100000;

std::string Address(const char* element, const std::string& n) {
  return std::string("<") + element + "><Addr1>" + n +
         " Harbour Road</Addr1><City>Bayshore</City>" + "<State>CA</State><PostalCode>94" +
         n.substr(0, 3) + "</PostalCode></" + element + ">\n";
}

const std::string& CustomerQueryResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<CustomerQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kCustomers; ++i) {
      const std::string n = std::to_string(10000 + i);
      const std::string name = "Customer " + n;
      xml += "<CustomerRet>\n<ListID>8000" + n + "-1646382185</ListID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<Name>" + name + "</Name>\n";
      xml +=
          "<FullName>" + name + "</FullName>\n<IsActive>true</IsActive>\n<Sublevel>0</Sublevel>\n";
      xml += "<CompanyName>" + name + " Ltd</CompanyName>\n<FirstName>Ada</FirstName>\n";
      xml += "<LastName>Byron</LastName>\n" + Address("BillAddress", n);
      xml +=
          "<Phone>415-555-" + n.substr(1) + "</Phone>\n<Email>ada" + n + "@example.com</Email>\n";
      xml +=
          "<CustomerTypeRef><ListID>80000001-1</ListID><FullName>Residential</FullName>"
          "</CustomerTypeRef>\n<TermsRef><ListID>80000002-1</ListID><FullName>Net 30"
          "</FullName></TermsRef>\n";
      xml += "<Balance>1250.00</Balance>\n<TotalBalance>1250.00</TotalBalance>\n";
      xml += "</CustomerRet>\n";
    }
    xml += "</CustomerQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

std::string DatabasePath() {
  return (std::filesystem::temp_directory_path() /
          ("brennock_bench_export_" + std::to_string(::getpid()) + ".sqlite"))
      .string();
}

// A new database file with the customer tables.
std::shared_ptr<brennock::SqlConnection> FreshDatabase(const std::string& path) {
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-journal");
  auto db = brennock::OpenSqliteDatabase(path);
  std::vector<std::string> kinds = {"Customer"};
  brennock::CreateExportSchema(*db, kinds);
  return db;
}

void BM_ExportCustomersToSqlite(benchmark::State& state) {
  brennock::XmlDocument document;
  document.loadXML(CustomerQueryResponse());
  brennock::XmlNode response = brennock::FirstResponseElement(document);
  std::string path = DatabasePath();
  brennock::ExportRequest request;
  request.databasePath = path;
  request.table = "Customer";
  for (auto _ : state) {
    state.PauseTiming();
    auto db = FreshDatabase(path);
    state.ResumeTiming();
    if (brennock::ExportResponseElement(response, request, *db).written != kCustomers)
      state.SkipWithError("not every customer was written");
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_ExportCustomersToSqlite)->Unit(benchmark::kMillisecond);

void BM_PlainInsertsOfTheSameValues(benchmark::State& state) {
  // The values the export wrote, read back, then inserted by one prepared statement.
  std::string path = DatabasePath();
  std::vector<std::string> columns;
  std::vector<std::vector<std::optional<std::string>>> rows;
  {
    brennock::XmlDocument document;
    document.loadXML(CustomerQueryResponse());
    brennock::ExportRequest request;
    request.databasePath = path;
    request.table = "Customer";
    auto db = FreshDatabase(path);
    brennock::ExportResponseElement(brennock::FirstResponseElement(document), request, *db);
    auto all = db->Prepare("SELECT * FROM customer");
    all->Execute();
    while (all->Fetch()) {
      std::vector<std::optional<std::string>> row;
      for (int i = 0; i < all->ColumnCount(); ++i) row.push_back(all->Text(i));
      rows.push_back(std::move(row));
    }
    for (const brennock::SqlColumn& c : db->Describe("SELECT * FROM customer LIMIT 0,1"))
      columns.push_back(c.name);
  }
  std::string sql = "INSERT INTO customer (";
  std::string marks;
  for (const std::string& c : columns) {
    sql += (marks.empty() ? "`" : ",`") + c + "`";
    marks += marks.empty() ? "?" : ",?";
  }
  sql += ") VALUES (" + marks + ")";
  for (auto _ : state) {
    state.PauseTiming();
    auto db = FreshDatabase(path);
    state.ResumeTiming();
    db->Begin();
    auto insert = db->Prepare(sql);
    for (const auto& row : rows) {
      for (size_t i = 0; i < row.size(); ++i)
        insert->Bind(static_cast<int>(i),
                     row[i] ? std::optional<std::string_view>(*row[i]) : std::nullopt,
                     brennock::SqlColumnKind::kText);
      insert->Execute();
    }
    db->Commit();
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_PlainInsertsOfTheSameValues)->Unit(benchmark::kMillisecond);

// What QuickBooks answers ListEntries' request: the records with the three elements it asked for.
const std::string& ThreeFieldResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<CustomerQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kCustomers; ++i) {
      const std::string n = std::to_string(10000 + i);
      xml += "<CustomerRet>\n<FullName>Customer " + n + "</FullName>\n<Phone>415-555-" +
             n.substr(1) + "</Phone>\n<Balance>1250.00</Balance>\n</CustomerRet>\n";
    }
    xml += "</CustomerQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

void UseCannedSession(const std::string& response = CustomerQueryResponse()) {
  brennock::Session().processor = std::make_shared<brennock::bench::CannedProcessor>(response);
  brennock::Session().ticket = "T";
  brennock::Session().qbxmlVersion = "16.0";
  brennock::Session().qbxmlVersionNumber = brennock::Currency(16);
}

void BM_ListEntriesThreeFields(benchmark::State& state) {
  UseCannedSession();
  brennock::ListEntries entries;
  entries.SetListType(brennock::qoListCustomers);
  entries.SetFields(
      {brennock::qoFldFullName, brennock::qoFldCustPhone, brennock::qoFldCustBalance});
  for (auto _ : state) {
    if (entries.GetByActiveStatus(brennock::qbStatusAny) != kCustomers)
      state.SkipWithError("not every customer was read");
  }
  brennock::Session() = brennock::SessionState{};
  state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_ListEntriesThreeFields)->Unit(benchmark::kMillisecond);

// The same reader on the answer its own request gets: QuickBooks sends the three elements only.
void BM_ListEntriesThreeFieldsOwnAnswer(benchmark::State& state) {
  UseCannedSession(ThreeFieldResponse());
  brennock::ListEntries entries;
  entries.SetListType(brennock::qoListCustomers);
  entries.SetFields(
      {brennock::qoFldFullName, brennock::qoFldCustPhone, brennock::qoFldCustBalance});
  for (auto _ : state) {
    if (entries.GetByActiveStatus(brennock::qbStatusAny) != kCustomers)
      state.SkipWithError("not every customer was read");
  }
  brennock::Session() = brennock::SessionState{};
  state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_ListEntriesThreeFieldsOwnAnswer)->Unit(benchmark::kMillisecond);

void BM_CustomersGetAllSameResponse(benchmark::State& state) {
  UseCannedSession();
  auto customers = std::make_shared<brennock::Customers>();
  for (auto _ : state) {
    if (customers->GetAll() != kCustomers) state.SkipWithError("not every customer was loaded");
  }
  customers->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_CustomersGetAllSameResponse)->Unit(benchmark::kMillisecond);

}  // namespace
