#pragma once

#include <cstdint>
#include <string>

namespace brennock {

class xmlBldr;

// The company preferences a new transaction takes its defaults from. The company layer, above
// the transactions, registers where they come from when a program starts; without a company (or
// before it registered) every default is empty.
struct TransactionDefaults {
  std::string taxableSalesTaxCode;  // DefaultTaxableSalesTaxCode
  std::string fob;                  // DefaultFOB
  std::string itemSalesTax;         // DefaultItemSalesTax
  std::string shipMethod;           // DefaultShipMethod
  bool markedToBePrinted = false;   // IsMarkedToBePrinted
};

using TransactionDefaultsSource = TransactionDefaults (*)();
void SetTransactionDefaultsSource(TransactionDefaultsSource source) noexcept;
// The defaults of this thread's session's company.
TransactionDefaults CurrentTransactionDefaults();

// Writes the session company's record in vendor form as request requestId of a response document
// (a transaction saved to a file carries it); returns the builder's status, or -1 without a
// company.
// While one lives on a thread, the records constructed there are read from a response, which
// gives every value they hold: a transaction then takes no defaults (an invoice QuickBooks sent
// without a ship date has none, not today's).
class RecordsFromResponse {
 public:
  RecordsFromResponse() noexcept;
  ~RecordsFromResponse();
  RecordsFromResponse(const RecordsFromResponse&) = delete;
  RecordsFromResponse& operator=(const RecordsFromResponse&) = delete;
  static bool Active() noexcept;

 private:
  bool outer_;
};

using CompanyRecordWriter = int32_t (*)(xmlBldr& builder, int16_t requestId);
void SetCompanyRecordWriter(CompanyRecordWriter writer) noexcept;
int32_t WriteCompanyVendorRecord(xmlBldr& builder, int16_t requestId);

}  // namespace brennock
