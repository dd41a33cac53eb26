// Loading a 100 000-customer query response (addresses, references, a credit limit, custom fields,
// a job under every fifth customer) into a Customers collection, against parsing the same text
// with pugixml alone, in one run.

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "bench/scan_only.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/customer.h"

namespace {

constexpr int kCustomers = 100000;

std::string Address(const char* element, const std::string& n) {
  return std::string("<") + element + "><Addr1>" + n + " Harbour Road</Addr1><Addr2>Suite " +
         n.substr(0, 2) + "</Addr2><City>Bayshore</City><State>CA</State><PostalCode>94" +
         n.substr(0, 3) + "</PostalCode><Country>US</Country></" + element + ">\n";
}

const std::string& CustomerQueryResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<CustomerQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kCustomers; ++i) {
      const std::string n = std::to_string(10000 + i);
      // Every fifth record is a job of the customer before it.
      bool job = i % 5 == 4;
      const std::string parent = "Customer " + std::to_string(10000 + i - 1);
      const std::string name = job ? "Job " + n : "Customer " + n;
      xml += "<CustomerRet>\n<ListID>8000" + n + "-1646382185</ListID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<Name>" + name + "</Name>\n";
      xml += "<FullName>" + (job ? parent + ":" : "") + name + "</FullName>\n";
      xml += "<IsActive>true</IsActive>\n";
      if (job) xml += "<ParentRef><FullName>" + parent + "</FullName></ParentRef>\n";
      xml += std::string("<Sublevel>") + (job ? "1" : "0") + "</Sublevel>\n";
      xml += "<CompanyName>" + name +
             " Ltd</CompanyName>\n<FirstName>Ada</FirstName>\n"
             "<LastName>Byron</LastName>\n";
      xml += Address("BillAddress", n) + Address("ShipAddress", n);
      xml +=
          "<Phone>415-555-" + n.substr(1) + "</Phone>\n<Email>ada" + n + "@example.com</Email>\n";
      xml +=
          "<CustomerTypeRef><ListID>80000001-1</ListID><FullName>Residential</FullName>"
          "</CustomerTypeRef>\n<TermsRef><ListID>80000002-1</ListID><FullName>Net 30"
          "</FullName></TermsRef>\n";
      xml += "<Balance>1250.00</Balance>\n<TotalBalance>1250.00</TotalBalance>\n";
      xml +=
          "<SalesTaxCodeRef><ListID>80000003-1</ListID><FullName>Tax</FullName>"
          "</SalesTaxCodeRef>\n<CreditLimit>5000.00</CreditLimit>\n";
      xml +=
          "<DataExtRet><OwnerID>0</OwnerID><DataExtName>Region</DataExtName><DataExtType>"
          "STR255TYPE</DataExtType><DataExtValue>West</DataExtValue></DataExtRet>\n";
      xml += "</CustomerRet>\n";
    }
    xml += "</CustomerQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

void BM_CustomersPugixmlParseOnly(benchmark::State& state) {
  const std::string& text = CustomerQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CustomersPugixmlParseOnly)->Unit(benchmark::kMillisecond);

void BM_CustomersGetAll(benchmark::State& state) {
  const std::string& text = CustomerQueryResponse();
  auto processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().processor = processor;
  brennock::Session().ticket = "T";
  auto customers = std::make_shared<brennock::Customers>();
  for (auto _ : state) {
    processor->PrepareAnswer(state);
    if (customers->GetAll() != kCustomers) state.SkipWithError("not every customer was loaded");
  }
  customers->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CustomersGetAll)->Unit(benchmark::kMillisecond);

void BM_CustomersScanOnly(benchmark::State& state) {
  brennock::bench::ScanOnly(state, CustomerQueryResponse());
}
BENCHMARK(BM_CustomersScanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
