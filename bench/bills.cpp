// Loading a 100 000-bill query response, five item lines each (with links to the receipts they
// took over on every other bill), into a Bills collection, against parsing the same text with
// pugixml alone, in one run.

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "bench/scan_only.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/transactions/bill.h"

namespace {

constexpr int kBills = 100000;

std::string Ref(const char* element, const char* id, const std::string& name) {
  return std::string("<") + element + "><ListID>" + id + "</ListID><FullName>" + name +
         "</FullName></" + element + ">\n";
}

const std::string& BillQueryResponse() {
  static const std::string text = [] {
    static constexpr const char* kItems[] = {"Widget", "Bracket", "Hinge", "Gadget", "Hardware"};
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<BillQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kBills; ++i) {
      const std::string n = std::to_string(10000 + i);
      xml += "<BillRet>\n<TxnID>" + n + "-1646382185</TxnID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<TxnNumber>" + n + "</TxnNumber>\n";
      xml += Ref("VendorRef", "80000013-1", "Acme Supply");
      xml += Ref("APAccountRef", "8000000C-1", "Accounts Payable");
      xml += "<TxnDate>2022-03-04</TxnDate>\n<DueDate>2022-04-03</DueDate>\n";
      xml += "<AmountDue>135.00</AmountDue>\n<RefNumber>B-" + n + "</RefNumber>\n";
      xml += Ref("TermsRef", "80000001-1", "Net 30");
      xml += "<Memo>Stock for order " + n + "</Memo>\n<IsPaid>false</IsPaid>\n";
      if (i % 2 == 0)
        xml += "<LinkedTxn>\n<TxnID>" + n +
               "-1646382100</TxnID>\n<TxnType>ItemReceipt</TxnType>\n<TxnDate>2022-03-01"
               "</TxnDate>\n<LinkType>AMTTYPE</LinkType>\n<Amount>135.00</Amount>\n"
               "</LinkedTxn>\n";
      xml += "<OpenAmount>135.00</OpenAmount>\n";
      for (int k = 0; k < 5; ++k) {
        xml += "<ItemLineRet>\n<TxnLineID>" + n + "-" + std::to_string(k) + "</TxnLineID>\n";
        xml += Ref("ItemRef", "80000020-1", kItems[k]);
        xml += std::string("<Desc>Bought ") + kItems[k] + "</Desc>\n<Quantity>3</Quantity>\n";
        xml += "<Cost>9.00</Cost>\n<Amount>27.00</Amount>\n</ItemLineRet>\n";
      }
      xml += "</BillRet>\n";
    }
    xml += "</BillQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

void BM_BillsPugixmlParseOnly(benchmark::State& state) {
  const std::string& text = BillQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_BillsPugixmlParseOnly)->Unit(benchmark::kMillisecond);

void BM_BillsGetAll(benchmark::State& state) {
  const std::string& text = BillQueryResponse();
  auto processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().processor = processor;
  brennock::Session().ticket = "T";
  auto bills = std::make_shared<brennock::Bills>();
  for (auto _ : state) {
    processor->PrepareAnswer(state);
    if (bills->GetAll() != kBills) state.SkipWithError("not every bill was loaded");
  }
  bills->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_BillsGetAll)->Unit(benchmark::kMillisecond);

void BM_BillsScanOnly(benchmark::State& state) {
  brennock::bench::ScanOnly(state, BillQueryResponse());
}
BENCHMARK(BM_BillsScanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
