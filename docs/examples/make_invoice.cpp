// Invoices a customer for three hours of consulting and ten widgets, less the loyalty discount,
// and prints the totals the library kept while the invoice was made, then QuickBooks' own balance
// (which carries the sales tax).
#include <brennock/brennock.h>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_invoice COMPANY_FILE CUSTOMER\n";
    return 64;
  }
  try {
    auto connection = std::make_shared<brennock::QBConnection>();
    connection->Connect("", "Invoice maker", brennock::qbOpenModeDontCare, argv[1]);
    auto invoices = connection->Company()->Invoices();
    auto invoice = invoices->Add(argv[2]);
    auto lines = invoice->ItemLines();
    lines->Add("Consulting", 3);  // the item's rate and tax code come with it
    lines->Add("Widget", 10);
    lines->Add("Subtotal");          // the sum of the lines above
    lines->Add("Loyalty Discount");  // 10 % off that sum, taxed as the customer is
    namespace text = brennock::ModConvertDtypes;
    std::cout << "subtotal " << text::AmountToText(invoice->Subtotal()) << ", sales tax "
              << text::AmountToText(invoice->SalesTaxTotal()) << "\n";
    if (invoices->Commit() != 1) return 1;  // the number of requests sent
    std::cout << "invoice " << invoice->RefNumber() << " owes "
              << text::AmountToText(invoice->BalanceRemaining()) << "\n";
    connection->CloseConnection();
  } catch (const brennock::AutomationError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return 0;
}
