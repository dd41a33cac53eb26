// Loading a query answer of 100 000 customer payments, each applied to three invoices, into a
// ReceivePayments collection (send, read every ReceivePaymentRet and its AppliedToTxnRet entries
// through their binding rows, keys), against parsing the same text with pugixml alone.

#include <benchmark/benchmark.h>

#include <memory>
#include <pugixml.hpp>
#include <string>

#include "bench/canned_processor.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/transactions/receive_payment.h"

namespace {

constexpr int kPayments = 100000;

std::string BuildPaymentQueryResponse() {
  std::string xml =
      "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<ReceivePaymentQueryRs requestID=\"1\" "
      "statusCode=\"0\" statusSeverity=\"Info\" statusMessage=\"Status OK\">\n";
  xml.reserve(size_t{kPayments} * 1700);
  for (int i = 0; i < kPayments; ++i) {
    const std::string n = std::to_string(i);
    xml += "<ReceivePaymentRet>\n<TxnID>" + n + "-1646382185</TxnID>\n";
    xml += "<TimeCreated>2022-03-04T00:24:19-08:00</TimeCreated>\n";
    xml += "<TimeModified>2022-03-04T00:24:19-08:00</TimeModified>\n";
    xml += "<EditSequence>1646382259</EditSequence>\n<TxnNumber>" + n + "</TxnNumber>\n";
    xml += "<CustomerRef>\n<ListID>80000" + std::to_string(i % 500) +
           "-1646382185</ListID>\n<FullName>Customer " + std::to_string(i % 500) +
           "</FullName>\n</CustomerRef>\n";
    xml +=
        "<ARAccountRef>\n<ListID>80000010-1646382185</ListID>\n<FullName>Accounts "
        "Receivable</FullName>\n</ARAccountRef>\n";
    xml += "<TxnDate>2022-03-04</TxnDate>\n<RefNumber>" + n + "</RefNumber>\n";
    xml += "<TotalAmount>1250.00</TotalAmount>\n";
    xml +=
        "<PaymentMethodRef>\n<ListID>80000002-1646382185</ListID>\n<FullName>Check"
        "</FullName>\n</PaymentMethodRef>\n<Memo>Thank you</Memo>\n";
    xml +=
        "<DepositToAccountRef>\n<ListID>80000005-1646382185</ListID>\n<FullName>Undeposited "
        "Funds</FullName>\n</DepositToAccountRef>\n";
    xml += "<UnusedPayment>0.00</UnusedPayment>\n<UnusedCredits>0.00</UnusedCredits>\n";
    for (int a = 0; a < 3; ++a) {
      const std::string id = std::to_string(i * 3 + a);
      xml += "<AppliedToTxnRet>\n<TxnID>" + id +
             "-1646382190</TxnID>\n<TxnType>Invoice"
             "</TxnType>\n<TxnDate>2022-02-01</TxnDate>\n<RefNumber>INV-" +
             id +
             "</RefNumber>\n<BalanceRemaining>0.00</BalanceRemaining>\n<Amount>-416.67</Amount>\n"
             "<DiscountAmount>0.00</DiscountAmount>\n</AppliedToTxnRet>\n";
    }
    xml += "</ReceivePaymentRet>\n";
  }
  xml += "</ReceivePaymentQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
  return xml;
}

const std::string& PaymentQueryResponse() {
  static const std::string text = BuildPaymentQueryResponse();
  return text;
}

void BM_PugixmlParseOnly(benchmark::State& state) {
  const std::string& text = PaymentQueryResponse();
  for (auto _ : state) {
    pugi::xml_document document;
    benchmark::DoNotOptimize(document.load_buffer(text.data(), text.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlParseOnly)->Unit(benchmark::kMillisecond);

void BM_ReceivePaymentsGetAll(benchmark::State& state) {
  const std::string& text = PaymentQueryResponse();
  brennock::Session().processor = std::make_shared<brennock::bench::CannedProcessor>(text);
  brennock::Session().ticket = "T";
  auto payments = std::make_shared<brennock::ReceivePayments>();
  for (auto _ : state) {
    if (payments->GetAll() != kPayments) state.SkipWithError("not every payment was loaded");
  }
  if (payments->Item(kPayments)->AppliedToTxns()->Count() != 3)
    state.SkipWithError("the applied transactions were not loaded");
  payments->Clear();
  brennock::Session() = brennock::SessionState{};
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReceivePaymentsGetAll)->Unit(benchmark::kMillisecond);

}  // namespace
