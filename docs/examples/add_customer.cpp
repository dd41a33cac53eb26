// Adds a customer with a job to a QuickBooks company file and prints when an invoice of 31 January
// 2024 would be due under the customer's terms.
#include <brennock/brennock.h>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: add_customer COMPANY_FILE NAME\n";
    return 64;
  }
  try {
    auto connection = std::make_shared<brennock::QBConnection>();
    connection->Connect("", "Customer adder", brennock::qbOpenModeDontCare, argv[1]);
    auto customers = connection->Company()->Customers();
    auto customer = customers->Add(argv[2]);
    customer->SetPhone("021 555 0100");
    customer->BillTo()->SetLine1("1 Quay Street");
    customer->BillTo()->SetCity("Cork");
    customer->SetTerms("Net 30");
    customers->Add("Roof Repair", true, argv[2]);  // a job of the new customer
    if (customers->Commit() != 0) {
      for (const auto& record : *customers) {
        for (const auto& error : *record->Errors()) std::cerr << error->Description() << "\n";
      }
      return 1;
    }
    auto terms = connection->Company()->Terms();
    terms->GetAll();  // both kinds of terms, each as its own class
    std::shared_ptr<brennock::qcTerm> net30 = terms->CastObject(terms->Item("Net 30"));
    brennock::Date due = net30->CalculateDueDate(brennock::Date::FromDate(2024, 1, 31));
    std::cout << customer->FullName() << " pays an invoice of 2024-01-31 by "
              << brennock::ModConvertDtypes::DateToText(due) << "\n";
    connection->CloseConnection();
  } catch (const brennock::AutomationError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return 0;
}
