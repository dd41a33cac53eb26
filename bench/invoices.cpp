// Loading a 100 000-invoice query response (five item lines each, addresses, references, totals,
// a linked payment under every third invoice) into an Invoices collection, against parsing the
// same text with pugixml alone, in one run.

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "bench/kept_heap.h"
#include "bench/scan_only.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/transactions/invoice.h"

namespace {

constexpr int kInvoices = 100000;
constexpr int kLinesPerInvoice = 5;

std::string Ref(const char* element, const std::string& id, const std::string& name) {
  return std::string("<") + element + "><ListID>" + id + "</ListID><FullName>" + name +
         "</FullName></" + element + ">\n";
}

std::string Address(const char* element, const std::string& n) {
  return std::string("<") + element + "><Addr1>" + n + " Harbour Road</Addr1><City>Bayshore" +
         "</City><State>CA</State><PostalCode>94" + n.substr(0, 3) + "</PostalCode></" + element +
         ">\n";
}

std::string Line(const std::string& n, int line) {
  const std::string l = std::to_string(line);
  return "<InvoiceLineRet>\n<TxnLineID>" + n + "-" + l + "-1646382185</TxnLineID>\n" +
         Ref("ItemRef", "8000000" + l + "-1646382185", "Consulting:Level " + l) +
         "<Desc>Hours of " + "work, week " + l + "</Desc>\n<Quantity>" + l +
         "</Quantity>\n<Rate>95.00</Rate>\n" + "<Amount>" + std::to_string(95 * line) +
         ".00</Amount>\n" + Ref("SalesTaxCodeRef", "80000003-1", "Non") + "</InvoiceLineRet>\n";
}

const std::string& InvoiceQueryResponse() {
  static const std::string text = [] {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<InvoiceQueryRs requestID=\"1\" "
        "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
    for (int i = 0; i < kInvoices; ++i) {
      const std::string n = std::to_string(10000 + i);
      xml += "<InvoiceRet>\n<TxnID>" + n + "-1646382185</TxnID>\n";
      xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
      xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
      xml += "<EditSequence>1646382259</EditSequence>\n<TxnNumber>" + n + "</TxnNumber>\n";
      xml += Ref("CustomerRef", "8000" + n + "-1646382185", "Customer " + n);
      xml += Ref("ARAccountRef", "80000020-1", "Accounts Receivable");
      xml += Ref("TemplateRef", "80000030-1", "Intuit Service Invoice");
      xml += "<TxnDate>2022-03-04</TxnDate>\n<RefNumber>" + n + "</RefNumber>\n";
      xml += Address("BillAddress", n) + Address("ShipAddress", n);
      xml += "<IsPending>false</IsPending>\n<IsFinanceCharge>false</IsFinanceCharge>\n";
      xml += "<PONumber>PO-" + n + "</PONumber>\n" + Ref("TermsRef", "80000002-1", "Net 30");
      xml += "<DueDate>2022-04-03</DueDate>\n<ShipDate>2022-03-04</ShipDate>\n";
      xml += "<Subtotal>1425.00</Subtotal>\n" + Ref("ItemSalesTaxRef", "80000040-1", "CA Tax");
      xml += "<SalesTaxPercentage>0.00</SalesTaxPercentage>\n<SalesTaxTotal>0.00</SalesTaxTotal>\n";
      xml += "<AppliedAmount>0.00</AppliedAmount>\n<BalanceRemaining>1425.00</BalanceRemaining>\n";
      xml += "<Memo>Invoice " + n + " for March</Memo>\n<IsPaid>false</IsPaid>\n";
      xml += Ref("CustomerSalesTaxCodeRef", "80000003-1", "Tax");
      xml += "<IsToBePrinted>true</IsToBePrinted>\n<IsToBeEmailed>false</IsToBeEmailed>\n";
      if (i % 3 == 0) {
        xml += "<LinkedTxn><TxnID>9" + n + "-1646382185</TxnID><TxnType>ReceivePayment</TxnType>" +
               "<TxnDate>2022-03-20</TxnDate><RefNumber>P" + n + "</RefNumber><LinkType>AMTTYPE" +
               "</LinkType><Amount>-100.00</Amount></LinkedTxn>\n";
      }
      for (int line = 1; line <= kLinesPerInvoice; ++line) xml += Line(n, line);
      xml += "</InvoiceRet>\n";
    }
    xml += "</InvoiceQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    return xml;
  }();
  return text;
}

void BM_InvoicesPugixmlParseOnly(benchmark::State& state) {
  const std::string& text = InvoiceQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_InvoicesPugixmlParseOnly)->Unit(benchmark::kMillisecond);

void BM_InvoicesGetAll(benchmark::State& state) {
  const std::string& text = InvoiceQueryResponse();
  auto processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().processor = processor;
  brennock::Session().ticket = "T";
  auto invoices = std::make_shared<brennock::Invoices>();
  for (auto _ : state) {
    processor->PrepareAnswer(state);
    if (invoices->GetAll() != kInvoices) state.SkipWithError("not every invoice was loaded");
  }
  invoices->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_InvoicesGetAll)->Unit(benchmark::kMillisecond);

void BM_InvoicesScanOnly(benchmark::State& state) {
  brennock::bench::ScanOnly(state, InvoiceQueryResponse());
}
BENCHMARK(BM_InvoicesScanOnly)->Unit(benchmark::kMillisecond);

}  // namespace
