// Loading a large customer query response and walking every record's fields, through the
// positional document view and through pugixml directly.

#include "brennock/xml/xml_document.h"

#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <string>

namespace {

constexpr int kCustomers = 10000;

const std::string& CustomerQueryResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<CustomerQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kCustomers; ++i) {
      const std::string n = std::to_string(i);
      xml += "<CustomerRet>\n<ListID>8000" + n + "-1646382185</ListID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<Name>Customer " + n + "</Name>\n";
      xml += "<FullName>Customer " + n + "</FullName>\n<IsActive>true</IsActive>\n";
      xml += "<Sublevel>0</Sublevel>\n<CompanyName>Caf&#233; " + n + " &amp; Sons</CompanyName>\n";
      xml += "<BillAddress>\n<Addr1>" + n + " Sampson Way</Addr1>\n<City>Middlefield</City>\n";
      xml += "<State>CA</State>\n<PostalCode>94471</PostalCode>\n</BillAddress>\n";
      xml += "<Phone>650-555-1212</Phone>\n<Email>c" + n + "@example.com</Email>\n";
      xml += "<Balance>1250.00</Balance>\n<TotalBalance>1250.00</TotalBalance>\n";
      xml += "<JobStatus>None</JobStatus>\n</CustomerRet>\n";
    }
    xml += "</CustomerQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

// The walk every collection does: records by position, fields by position and base name.
size_t WalkPositionally(const brennock::XmlDocument& document) {
  size_t seen = 0;
  brennock::XmlNode response =
      document.childNodes().item(1).childNodes().item(0).childNodes().item(0);
  brennock::XmlNodeList records = response.childNodes();
  for (int32_t i = 0; i < records.length(); ++i) {
    brennock::XmlNode record = records.item(i);
    for (int32_t j = 0; j < record.childNodes().length(); ++j) {
      brennock::XmlNode field = record.childNodes().item(j);
      seen += field.baseName().size() + field.text().size();
    }
  }
  return seen;
}

void BM_DocumentLoad(benchmark::State& state) {
  const std::string& text = CustomerQueryResponse();
  for (auto _ : state) {
    brennock::XmlDocument document;
    benchmark::DoNotOptimize(document.loadXML(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DocumentLoad)->Unit(benchmark::kMillisecond);

void BM_DocumentLoadAndWalk(benchmark::State& state) {
  const std::string& text = CustomerQueryResponse();
  for (auto _ : state) {
    brennock::XmlDocument document;
    document.loadXML(text);
    benchmark::DoNotOptimize(WalkPositionally(document));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DocumentLoadAndWalk)->Unit(benchmark::kMillisecond);

void BM_DocumentStatusFromMarkup(benchmark::State& state) {
  // How a commit reads each response's status: the element's markup split at quotes.
  brennock::XmlDocument document;
  document.loadXML(CustomerQueryResponse());
  brennock::XmlNode record =
      document.documentElement().childNodes().item(0).childNodes().item(0).childNodes().item(0);
  for (auto _ : state) benchmark::DoNotOptimize(record.xml());
}
BENCHMARK(BM_DocumentStatusFromMarkup);

void BM_PugixmlLoadAndWalk(benchmark::State& state) {
  const std::string& text = CustomerQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    document.load_buffer(text.data(), text.size());
    size_t seen = 0;
    for (pugi::xml_node record :
         document.child("QBXML").child("QBXMLMsgsRs").child("CustomerQueryRs").children()) {
      for (pugi::xml_node field : record.children()) {
        seen += std::char_traits<char>::length(field.name()) +
                std::char_traits<char>::length(field.child_value());
      }
    }
    benchmark::DoNotOptimize(seen);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlLoadAndWalk)->Unit(benchmark::kMillisecond);

}  // namespace
