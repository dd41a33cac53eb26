// The connection's way into the company module: it builds the session's Company from the opening
// company query and fills its preferences.
#include "brennock/session/company_loader.h"

#include "brennock/company/company.h"
#include "brennock/company/preferences.h"

namespace brennock {
namespace {

class CompanyModuleLoader final : public CompanyLoader {
 public:
  std::shared_ptr<Company> CreateCompany(const XmlNode& companyRet) override {
    auto company = std::make_shared<Company>();
    company->FromDom(companyRet);
    return company;
  }
  void LoadPreferences(Company& company, const XmlNode& preferencesRet) override {
    company.Preferences()->FromDom(preferencesRet);
  }
};


}  // namespace

CompanyLoader* SessionCompanyLoader() {
  static CompanyModuleLoader loader;
  return &loader;
}

}  // namespace brennock
