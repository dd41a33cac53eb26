#pragma once

#include <memory>

namespace brennock {

class Company;
class XmlNode;

// How a connection hands the answers of the company and preferences queries to the company code.
// The company module registers the one loader when the program starts; the connection calls it
// while opening a session and keeps the result as the session's company.
class CompanyLoader {
 public:
  virtual ~CompanyLoader() = default;

  // A new company filled from the CompanyRet element of a successful company query. Returning
  // null leaves the session without a company.
  virtual std::shared_ptr<Company> CreateCompany(const XmlNode& companyRet) = 0;
  // Fills the company's preferences from the PreferencesRet element of a successful preferences
  // query (sent only to sessions above qbXML 1.0).
  virtual void LoadPreferences(Company& company, const XmlNode& preferencesRet) = 0;
};

// The loader the company module registered; null while none is, and then a session simply has no
// company. Registration is meant for start-up, before any thread connects.
void RegisterCompanyLoader(CompanyLoader* loader) noexcept;
CompanyLoader* RegisteredCompanyLoader() noexcept;

}  // namespace brennock
