// Keeps the time of an application's last export in a field of its own on the company: defines the
// field the first time, prints the previous stamp and saves the new one.
#include <brennock/brennock.h>

#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: export_stamp COMPANY_FILE STAMP\n";
    return 64;
  }
  try {
    auto connection = std::make_shared<brennock::QBConnection>();
    // The application's own fields are kept under its GUID.
    connection->RegisterDataExtensionsGUID("{7C1A4E52-3B1D-4F6A-9E0B-2D54A1C0E9F3}");
    connection->Connect("", "Export stamp", brennock::qbOpenModeDontCare, argv[1]);
    std::shared_ptr<brennock::Company> company = connection->Company();

    auto definitions = company->ApplicationFields();
    if (!definitions->ItemExists("LastExport")) {
      definitions->Add("LastExport")->AssignedTos()->Add(brennock::qoObjectTypeCompany);
      definitions->Commit();
    }
    auto stamp = company->CompanyApplicationFields()->Item(std::string("LastExport"));
    std::cout << "previous export: " << stamp->Value().ToString() << "\n";
    stamp->SetValue(brennock::Variant(argv[2]));
    company->SaveApplicationFields();
    connection->CloseConnection();
  } catch (const brennock::AutomationError& error) {
    std::cerr << error.what() << "\n";
    return 2;
  }
  return 0;
}
