// The simulated QuickBooks: answering a query for one customer by ListID, answering the full
// customer query of a 100 000-customer company, creating that company file, and adding 10 000
// five-line invoices beside adding 10 000 customers (the invoice's postings are its extra cost);
// payments beside the invoices they pay, and the list of undeposited funds; 10 000 five-line
// bills, and 10 000 bills each paid by check.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "simulator/company_file.h"
#include "simulator/simulator_processor.h"

namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("brennock_bench_" + std::to_string(::getpid()) + "_" + name + ".qbw"))
      .string();
}

std::string Envelope(const std::string& body) {
  return "<?xml version=\"1.0\" ?><?qbxml version=\"16.0\"?><QBXML><QBXMLMsgsRq "
         "onError=\"stopOnError\">" +
         body + "</QBXMLMsgsRq></QBXML>";
}

void CreateCompany(const std::string& path, int customers) {
  std::filesystem::remove(path);
  brennock::simulator::CompanyFileOptions options;
  brennock::simulator::SampleBusiness sample;
  sample.customers = customers;
  options.sample = sample;
  brennock::simulator::CreateCompanyFile(path, options);
}

void BM_CreateCompanyFile100k(benchmark::State& state) {
  std::string path = TempPath("create");
  for (auto _ : state) CreateCompany(path, 100000);
  std::filesystem::remove(path);
  std::filesystem::remove(path + "-wal");
  std::filesystem::remove(path + "-shm");
}
BENCHMARK(BM_CreateCompanyFile100k)->Unit(benchmark::kMillisecond)->Iterations(1);

struct Session {
  std::shared_ptr<brennock::RequestProcessor> processor;
  std::string ticket;
  explicit Session(const std::string& path) {
    processor = brennock::simulator::CreateSimulatorProcessor();
    processor->OpenConnection("", "bench");
    ticket = processor->BeginSession(path, brennock::qbOpenModeDontCare);
  }
};

void BM_QueryCustomerByListId(benchmark::State& state) {
  std::string path = TempPath("single");
  CreateCompany(path, 1000);
  Session s(path);
  std::string first = s.processor->ProcessRequest(
      s.ticket, Envelope("<CustomerQueryRq><MaxReturned>1</MaxReturned></CustomerQueryRq>"));
  auto start = first.find("<ListID>") + 8;
  std::string id = first.substr(start, first.find('<', start) - start);
  std::string request =
      Envelope("<CustomerQueryRq requestID=\"1\"><ListID>" + id + "</ListID></CustomerQueryRq>");
  for (auto _ : state) benchmark::DoNotOptimize(s.processor->ProcessRequest(s.ticket, request));
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryCustomerByListId);

void BM_QueryAllCustomers100k(benchmark::State& state) {
  std::string path = TempPath("all");
  CreateCompany(path, 100000);
  Session s(path);
  std::string request = Envelope("<CustomerQueryRq requestID=\"1\"/>");
  size_t bytes = 0;
  for (auto _ : state) {
    std::string response = s.processor->ProcessRequest(s.ticket, request);
    bytes = response.size();
    benchmark::DoNotOptimize(response);
  }
  state.counters["response_MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryAllCustomers100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// One customer of a 100 000-customer company by full name, as a client's GetByFullName asks.
void BM_QueryCustomerByFullName100k(benchmark::State& state) {
  std::string path = TempPath("byname");
  CreateCompany(path, 100000);
  Session s(path);
  std::string middle = s.processor->ProcessRequest(
      s.ticket, Envelope("<CustomerQueryRq><MaxReturned>50000</MaxReturned></CustomerQueryRq>"));
  auto start = middle.find("<FullName>", middle.rfind("<CustomerRet>")) + 10;
  std::string name = middle.substr(start, middle.find('<', start) - start);
  std::string request = Envelope("<CustomerQueryRq requestID=\"1\"><FullName>" + name +
                                 "</FullName></CustomerQueryRq>");
  for (auto _ : state) {
    std::string response = s.processor->ProcessRequest(s.ticket, request);
    if (response.find("statusCode=\"0\"") == std::string::npos) state.SkipWithError("not found");
    benchmark::DoNotOptimize(response);
  }
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove(path);
}
BENCHMARK(BM_QueryCustomerByFullName100k);

// Adds 10 000 records, one request document each, as a client saving them one by one would.
template <typename Body>
void AddTenThousand(benchmark::State& state, const std::string& name, const std::string& setup,
                    Body body) {
  std::string path = TempPath(name);
  for (auto _ : state) {
    state.PauseTiming();
    CreateCompany(path, 20);
    Session s(path);
    if (!setup.empty()) s.processor->ProcessRequest(s.ticket, Envelope(setup));
    state.ResumeTiming();
    for (int i = 0; i < 10000; ++i) {
      std::string response = s.processor->ProcessRequest(s.ticket, Envelope(body(i)));
      if (response.find("statusCode=\"0\"") == std::string::npos) {
        state.SkipWithError(response.c_str());
        break;
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 10000);
  std::filesystem::remove(path);
}

void BM_AddCustomers10k(benchmark::State& state) {
  AddTenThousand(state, "customers", "", [](int i) {
    return "<CustomerAddRq><CustomerAdd><Name>Bench Customer " + std::to_string(i) +
           "</Name><BillAddress><Addr1>1 Main St</Addr1><City>Cork</City></BillAddress>"
           "</CustomerAdd></CustomerAddRq>";
  });
}
BENCHMARK(BM_AddCustomers10k)->Unit(benchmark::kMillisecond)->Iterations(1);

// Labour, two parts from stock, a non-stock part and a percentage discount: postings to five
// accounts besides receivables, tax and cost of goods sold.
void BM_AddInvoices10k(benchmark::State& state) {
  auto line = [](const char* item, const char* quantity) {
    return std::string("<InvoiceLineAdd><ItemRef><FullName>") + item + "</FullName></ItemRef>" +
           (*quantity ? std::string("<Quantity>") + quantity + "</Quantity>" : std::string()) +
           "</InvoiceLineAdd>";
  };
  const std::string lines = line("Consulting", "2") + line("Widget", "1") + line("Bracket", "3") +
                            line("Hardware", "5") + line("Loyalty Discount", "");
  std::string customers;
  for (int i = 0; i < 7; ++i)
    customers += "<CustomerAddRq><CustomerAdd><Name>Bench " + std::to_string(i) +
                 "</Name><SalesTaxCodeRef><FullName>Tax</FullName></SalesTaxCodeRef>"
                 "<ItemSalesTaxRef><FullName>State Tax</FullName></ItemSalesTaxRef>"
                 "</CustomerAdd></CustomerAddRq>";
  AddTenThousand(state, "invoices", customers, [&](int i) {
    return "<InvoiceAddRq><InvoiceAdd><CustomerRef><FullName>Bench " + std::to_string(i % 7) +
           "</FullName></CustomerRef><TxnDate>2024-03-05</TxnDate>" + lines +
           "</InvoiceAdd></InvoiceAddRq>";
  });
}
BENCHMARK(BM_AddInvoices10k)->Unit(benchmark::kMillisecond)->Iterations(1);

// 10 000 invoices of one line, each followed in its document by the customer's payment for it,
// applied as QuickBooks applies it (IsAutoApply: the open invoice of the payment's amount) or by
// name: the payment's cost beside BM_AddOneLineInvoices10k. Seven customers, so each payment
// looks over more and more of its customer's invoices.
std::string SevenCustomers() {
  std::string customers;
  for (int i = 0; i < 7; ++i)
    customers += "<CustomerAddRq><CustomerAdd><Name>Bench " + std::to_string(i) +
                 "</Name></CustomerAdd></CustomerAddRq>";
  return customers;
}

std::string OneLineInvoice(int i) {
  return "<InvoiceAddRq><InvoiceAdd><CustomerRef><FullName>Bench " + std::to_string(i % 7) +
         "</FullName></CustomerRef><TxnDate>2024-03-05</TxnDate><InvoiceLineAdd><ItemRef>"
         "<FullName>Consulting</FullName></ItemRef></InvoiceLineAdd></InvoiceAdd></InvoiceAddRq>";
}

void BM_AddOneLineInvoices10k(benchmark::State& state) {
  AddTenThousand(state, "oneline", SevenCustomers(), OneLineInvoice);
}
BENCHMARK(BM_AddOneLineInvoices10k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AddInvoicesAndAutoAppliedPayments10k(benchmark::State& state) {
  AddTenThousand(state, "payments", SevenCustomers(), [](int i) {
    return OneLineInvoice(i) + "<ReceivePaymentAddRq><ReceivePaymentAdd><CustomerRef><FullName>" +
           "Bench " + std::to_string(i % 7) +
           "</FullName></CustomerRef><TxnDate>2024-03-06</TxnDate><TotalAmount>95.00"
           "</TotalAmount><IsAutoApply>true</IsAutoApply></ReceivePaymentAdd>"
           "</ReceivePaymentAddRq>";
  });
}
BENCHMARK(BM_AddInvoicesAndAutoAppliedPayments10k)->Unit(benchmark::kMillisecond)->Iterations(1);

// What waits in Undeposited Funds after 10 000 cash sales, listed for a deposit.
void BM_ReceivePaymentToDepositQuery10k(benchmark::State& state) {
  std::string path = TempPath("undeposited");
  CreateCompany(path, 20);
  Session s(path);
  std::string sales;
  for (int i = 0; i < 10000; ++i)
    sales +=
        "<SalesReceiptAddRq><SalesReceiptAdd><SalesReceiptLineAdd><ItemRef><FullName>"
        "Hardware</FullName></ItemRef><Quantity>2</Quantity></SalesReceiptLineAdd>"
        "</SalesReceiptAdd></SalesReceiptAddRq>";
  s.processor->ProcessRequest(s.ticket, Envelope(sales));
  std::string request = Envelope("<ReceivePaymentToDepositQueryRq requestID=\"1\"/>");
  for (auto _ : state) benchmark::DoNotOptimize(s.processor->ProcessRequest(s.ticket, request));
  state.SetItemsProcessed(state.iterations() * 10000);
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReceivePaymentToDepositQuery10k)->Unit(benchmark::kMillisecond);
// The buying side's counterpart: two parts into stock, a non-stock part, a service and an expense
// line, owed to the vendor.
const std::string kBillLines =
    "<ExpenseLineAdd><AccountRef><FullName>Rent</FullName></AccountRef><Amount>100.00</Amount>"
    "</ExpenseLineAdd>" +
    [] {
      std::string out;
      for (const char* item : {"Widget", "Bracket", "Hardware", "Repairs"})
        out += std::string("<ItemLineAdd><ItemRef><FullName>") + item +
               "</FullName></ItemRef><Quantity>3</Quantity></ItemLineAdd>";
      return out;
    }();
const std::string kBenchVendor =
    "<VendorAddRq><VendorAdd><Name>Bench Supply</Name></VendorAdd></VendorAddRq>";

void BM_AddBills10k(benchmark::State& state) {
  AddTenThousand(state, "bills", kBenchVendor, [](int) {
    return "<BillAddRq><BillAdd><VendorRef><FullName>Bench Supply</FullName></VendorRef>"
           "<TxnDate>2024-03-05</TxnDate>" +
           kBillLines + "</BillAdd></BillAddRq>";
  });
}
BENCHMARK(BM_AddBills10k)->Unit(benchmark::kMillisecond)->Iterations(1);

// A bill and its payment by check in one document, 10 000 times: the payment checks and moves
// what the bill has open.
void BM_AddBillsAndPayThem10k(benchmark::State& state) {
  std::string path = TempPath("billpayments");
  for (auto _ : state) {
    state.PauseTiming();
    CreateCompany(path, 20);
    Session s(path);
    s.processor->ProcessRequest(s.ticket, Envelope(kBenchVendor));
    state.ResumeTiming();
    for (int i = 0; i < 10000; ++i) {
      std::string bill = s.processor->ProcessRequest(
          s.ticket, Envelope("<BillAddRq><BillAdd><VendorRef><FullName>Bench Supply</FullName>"
                             "</VendorRef>" +
                             kBillLines + "</BillAdd></BillAddRq>"));
      auto start = bill.find("<TxnID>") + 7;
      std::string id = bill.substr(start, bill.find('<', start) - start);
      std::string paid = s.processor->ProcessRequest(
          s.ticket,
          Envelope("<BillPaymentCheckAddRq><BillPaymentCheckAdd><PayeeEntityRef><FullName>Bench "
                   "Supply</FullName></PayeeEntityRef><BankAccountRef><FullName>Checking"
                   "</FullName></BankAccountRef><IsToBePrinted>true</IsToBePrinted>"
                   "<AppliedToTxnAdd><TxnID>" +
                   id +
                   "</TxnID><PaymentAmount>10.00</PaymentAmount></AppliedToTxnAdd>"
                   "</BillPaymentCheckAdd></BillPaymentCheckAddRq>"));
      if (paid.find("statusCode=\"0\"") == std::string::npos) {
        state.SkipWithError(paid.c_str());
        break;
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 10000);
  std::filesystem::remove(path);
}
BENCHMARK(BM_AddBillsAndPayThem10k)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
