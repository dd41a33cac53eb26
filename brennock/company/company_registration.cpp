// What the company layer provides to the layers below it, registered when the program starts:
// the connection's company loader, the master list collections that list references resolve
// through, and the data-extension definitions that records' values are checked against.
#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/preferences.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/model/data_ext_definition_lookup.h"
#include "brennock/internal/model/master_collection.h"
#include "brennock/internal/model/master_list.h"
#include "brennock/internal/session/company_loader.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/qc_list_object_ref.h"

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

std::shared_ptr<qcList> SessionMasterList(qoEnumListType list) {
  const std::shared_ptr<Company>& company = Session().company;
  if (!company) return nullptr;
  try {
    return company->Lists()->Item(ListTypeKey(list));
  } catch (const AutomationError&) {
    return nullptr;  // a list without a registered collection (or no such list)
  }
}

std::shared_ptr<CollectionCore> SessionMasterCollection(qoEnumListObjectType objectType) {
  const std::shared_ptr<Company>& company = Session().company;
  return company ? company->Collection(objectType) : nullptr;
}

class CompanyDefinitions final : public DataExtDefinitionLookup {
 public:
  // Reading the definitions may raise (QuickBooks is asked on first use); the caller sees it.
  std::optional<DataExtDefinitionFacts> Find(bool custom, const std::string& name,
                                             qoEnumListObjectType ownerType) const override {
    const std::shared_ptr<Company>& company = Session().company;
    if (!company) return std::nullopt;
    std::shared_ptr<DataExtensionDefinition> definition =
        custom ? company->CustomFields()->Find(name) : company->ApplicationFields()->Find(name);
    if (!definition) return std::nullopt;
    return DataExtDefinitionFacts{definition->DataType(), definition->IsAssignedTo(ownerType),
                                  definition->IsAssignedTo(qoObjectTypeItem)};
  }

  std::vector<std::string> CustomFieldNames(qoEnumListObjectType ownerType) const override {
    std::vector<std::string> names;
    const std::shared_ptr<Company>& company = Session().company;
    if (!company) return names;
    try {
      for (const auto& definition : *company->CustomFields())
        if (definition->IsAssignedTo(ownerType)) names.push_back(definition->Name());
    } catch (const AutomationError&) {  // no definitions to be had
    }
    return names;
  }
};

bool Register() {
  static CompanyModuleLoader loader;
  static const CompanyDefinitions definitions;
  RegisterCompanyLoader(&loader);
  RegisterMasterListLookup(&SessionMasterList);
  RegisterMasterCollectionLookup(&SessionMasterCollection);
  RegisterDataExtDefinitionLookup(&definitions);
  return true;
}

}  // namespace
}  // namespace brennock

// Named as undefined by the library's link interface, so a static link keeps this file.
extern const bool brennock_company_registered;
const bool brennock_company_registered = brennock::Register();
