// Prints the classes of a QuickBooks company file, one full name a line.
#include <brennock/brennock.h>

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: list_classes COMPANY_FILE\n";
    return 64;
  }
  try {
    auto connection = std::make_shared<brennock::QBConnection>();
    connection->Connect("", "Class lister", brennock::qbOpenModeDontCare, argv[1]);
    auto classes = std::make_shared<brennock::Classes>();
    classes->GetAll();
    for (const auto& record : *classes) std::cout << record->FullName() << "\n";
    connection->CloseConnection();
  } catch (const brennock::AutomationError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return 0;
}
