// Writing and joining CustomerAdd-sized requests with the request builder, against appending the
// same text to one std::string (the fastest a writer without escaping could be).
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"

namespace {

constexpr int kRequests = 10000;

// The fields of a typical new customer, as its XMLInsert writes them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kFields = {{
    {"Name", "Abercrombie, Kristy"},
    {"IsActive", "1"},
    {"CompanyName", "Abercrombie Interiors"},
    {"Salutation", "Mrs."},
    {"FirstName", "Kristy"},
    {"LastName", "Abercrombie"},
    {"Addr1", "Kristy Abercrombie"},
    {"Addr2", "5647 Cypress Hill Rd"},
    {"City", "Bayshore"},
    {"State", "CA"},
    {"PostalCode", "94326"},
    {"Phone", "415-555-6579"},
    {"Fax", "415-555-6580"},
    {"Email", "kristy@samplename.com"},
    {"Contact", "Kristy Abercrombie"},
    {"AltContact", "Steve Abercrombie"},
    {"FullName", "Net 30"},
    {"OpenBalance", "1250.00"},
    {"OpenBalanceDate", "2024-01-31"},
    {"ResaleNumber", "RS-12345"},
    {"AccountNumber", "10-4471"},
    {"Notes", "Prefers delivery before noon; call ahead"},
}};

void WriteCustomerAdd(brennock::xmlBldr& b, int requestId) {
  b.OpenAggregate("CustomerAddRq", "requestID", std::to_string(requestId));
  b.OpenAggregateOnly("CustomerAdd");
  for (const auto& [tag, value] : kFields) b.CreateElement(tag, value);
  b.EndAggregate("CustomerAdd");
  b.EndAggregate("CustomerAddRq");
}

void AppendElement(std::string& text, std::string_view tag, std::string_view value) {
  text += '<';
  text += tag;
  text += '>';
  text += value;
  text += "</";
  text += tag;
  text += '>';
}

void AppendCustomerAdd(std::string& text, int requestId) {
  text += "<CustomerAddRq requestID = \"";
  text += std::to_string(requestId);
  text += "\"><CustomerAdd>";
  for (const auto& [tag, value] : kFields) AppendElement(text, tag, value);
  text += "</CustomerAdd></CustomerAddRq>";
}

void UseVersion() {
  brennock::Session().qbxmlVersion = "13.0";
  brennock::Session().qbxmlVersionNumber = brennock::Currency(13);
}

// 10 000 documents of one request each, every one joined.
void BM_BuilderDocuments(benchmark::State& state) {
  UseVersion();
  brennock::xmlBldr b;
  for (auto _ : state) {
    for (int i = 1; i <= kRequests; ++i) {
      b.NewClear();
      WriteCustomerAdd(b, 1);
      b.InsertRawXML("</QBXMLMsgsRq></QBXML>");
      std::string joined = b.GetXML();
      benchmark::DoNotOptimize(joined.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_BuilderDocuments)->Unit(benchmark::kMillisecond);

void BM_StringDocuments(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 1; i <= kRequests; ++i) {
      std::string text;
      text +=
          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC "
          "'-//INTUIT//DTD QBXML QBD 13.0//EN' ><QBXML><QBXMLMsgsRq onError = "
          "\"continueOnError\">";
      AppendCustomerAdd(text, 1);
      text += "</QBXMLMsgsRq></QBXML>";
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_StringDocuments)->Unit(benchmark::kMillisecond);

// One commit of 10 000 customers in a single document, joined once.
void BM_BuilderOneCommit(benchmark::State& state) {
  UseVersion();
  brennock::xmlBldr b;
  for (auto _ : state) {
    b.NewClear();
    for (int i = 1; i <= kRequests; ++i) WriteCustomerAdd(b, i);
    b.InsertRawXML("</QBXMLMsgsRq></QBXML>");
    std::string joined = b.GetXML();
    benchmark::DoNotOptimize(joined.data());
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_BuilderOneCommit)->Unit(benchmark::kMillisecond);

void BM_StringOneCommit(benchmark::State& state) {
  for (auto _ : state) {
    std::string text;
    text +=
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!DOCTYPE QBXML PUBLIC "
        "'-//INTUIT//DTD QBXML QBD 13.0//EN' ><QBXML><QBXMLMsgsRq onError = "
        "\"continueOnError\">";
    for (int i = 1; i <= kRequests; ++i) AppendCustomerAdd(text, i);
    text += "</QBXMLMsgsRq></QBXML>";
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations() * kRequests);
}
BENCHMARK(BM_StringOneCommit)->Unit(benchmark::kMillisecond);

}  // namespace
