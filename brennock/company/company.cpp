#include "brennock/company/company.h"

#include "brennock/company/data_extension.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/preferences.h"
#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/errors/automation_error.h"
#include "brennock/errors/collected_errors.h"
#include "brennock/lists/address.h"
#include "brennock/lists/class.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer_message.h"
#include "brennock/lists/customer_type.h"
#include "brennock/lists/job_type.h"
#include "brennock/lists/list_registry.h"
#include "brennock/lists/payment_method.h"
#include "brennock/lists/payroll_item_non_wage.h"
#include "brennock/lists/payroll_item_wage.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/sales_tax_code.h"
#include "brennock/lists/ship_method.h"
#include "brennock/lists/tax_code.h"
#include "brennock/lists/to_do.h"
#include "brennock/lists/vendor_type.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/master_list.h"
#include "brennock/model/qc_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

using namespace ModConvertDtypes;
namespace {

// The month number of a FirstMonth... element: the Code of the months-table entry with that tag.
int16_t MonthCode(const XmlNode& element) {
  int32_t position = EnumTextToCode(element.text(), qoeMonth);
  return ThreadEnumerations()->Item(qoeMonth)->Item(position)->Code();
}

// The node at the first child of the document element, three levels down: the first return
// aggregate of the first response. Nothing when the response is shorter.
XmlNode FirstReturn(const XmlDocument& response) {
  XmlNode node = response.documentElement();
  for (int step = 0; step < 3 && node; ++step) node = node.childNodes().item(0);
  return node;
}

}  // namespace

Company::Company()
    : address_(std::make_shared<brennock::Address>()),
      addressForCustomers_(std::make_shared<brennock::Address>()),
      legalAddress_(std::make_shared<brennock::Address>()),
      preferences_(std::make_shared<brennock::Preferences>()),
      companyApplicationFields_(std::make_shared<DataExtensions>()),
      customFields_(std::make_shared<DataExtensionDefinitions>()),
      applicationFields_(std::make_shared<DataExtensionDefinitions>()),
      lists_(std::make_shared<brennock::Lists>()) {
  // Registration order is the order clients see when they walk Lists.
  for (const ListRecordKind& kind : ListRegistry()) {
    std::shared_ptr<ListCollectionCore> collection;
    if (kind.newCollection != nullptr) {
      collection = kind.newCollection();
      collection->SetMaster(kind.Has(kMaster));
      if (!kind.listsKey.empty()) lists_->AddObject(collection, std::string(kind.listsKey));
    }
    collections_.push_back(std::move(collection));
  }
  companyApplicationFields_->SetOwnerType(qoObjectTypeCompany);
  customFields_->SetMaster(true);
  customFields_->SetOwnerId("0");
  applicationFields_->SetMaster(true);
  companyApplicationFields_->SetOwnerId(Session().dataExtOwnerID);
}

Company::~Company() = default;

std::shared_ptr<ListCollectionCore> Company::Collection(qoEnumListObjectType objectType) const {
  std::span<const ListRecordKind> registry = ListRegistry();
  for (size_t i = 0; i < registry.size(); ++i) {
    if (registry[i].objectType == objectType) return collections_[i];
  }
  return nullptr;
}

// Each typed accessor: the registered collection of its record class's list.
#define BRENNOCK_COMPANY_COLLECTION(Name)                      \
  std::shared_ptr<brennock::Name> Company::Name() const {      \
    return std::static_pointer_cast<brennock::Name>(           \
        Collection(brennock::Name::record_type::kObjectType)); \
  }
BRENNOCK_COMPANY_COLLECTION(Classes)
BRENNOCK_COMPANY_COLLECTION(CustomerTypes)
BRENNOCK_COMPANY_COLLECTION(JobTypes)
BRENNOCK_COMPANY_COLLECTION(VendorTypes)
BRENNOCK_COMPANY_COLLECTION(ShipMethods)
BRENNOCK_COMPANY_COLLECTION(PaymentMethods)
BRENNOCK_COMPANY_COLLECTION(CustomerMessages)
BRENNOCK_COMPANY_COLLECTION(SalesTaxCodes)
BRENNOCK_COMPANY_COLLECTION(TaxCodes)
BRENNOCK_COMPANY_COLLECTION(SalesReps)
BRENNOCK_COMPANY_COLLECTION(ToDoList)
BRENNOCK_COMPANY_COLLECTION(PayrollItemWages)
BRENNOCK_COMPANY_COLLECTION(PayrollItemNonWages)
BRENNOCK_COMPANY_COLLECTION(PriceLevels)
BRENNOCK_COMPANY_COLLECTION(CurrencyTypes)
#undef BRENNOCK_COMPANY_COLLECTION

xmlBldr& Company::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

void Company::FromDom(const XmlNode& companyRet) {
  for (const XmlNode& child : companyRet.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    std::string name = child.baseName();
    if (name == "CompanyName") {
      name_ = child.text();
    } else if (name == "LegalCompanyName") {
      legalName_ = child.text();
    } else if (name == "Address") {
      address_->FromDom(child);
    } else if (name == "CompanyAddressForCustomer") {
      addressForCustomers_->FromDom(child);
    } else if (name == "LegalAddress") {
      legalAddress_->FromDom(child);
    } else if (name == "Phone") {
      phone_ = child.text();
    } else if (name == "Fax") {
      fax_ = child.text();
    } else if (name == "Email") {
      email_ = child.text();
    } else if (name == "CompanyEmailForCustomer") {
      emailForCustomers_ = child.text();
    } else if (name == "CompanyWebSite") {
      webSite_ = child.text();
    } else if (name == "FirstMonthFiscalYear") {
      firstMonthFiscalYear_ = MonthCode(child);
    } else if (name == "FirstMonthIncomeTaxYear") {
      firstMonthIncomeTaxYear_ = MonthCode(child);
    } else if (name == "CompanyType") {
      companyType_ = child.text();
    } else if (name == "EIN") {
      ein_ = child.text();
    } else if (name == "TaxForm") {
      taxForm_ = child.text();
    } else if (name == "IsSampleCompany") {
      isSampleCompany_ = TextToBool(child.text());
    } else if (name == "DataExtRet") {
      // The company has no custom fields of its own; only application values are kept.
      ReadDataExtRet(child, nullptr, companyApplicationFields_.get());
    }
  }
}

void Company::Refresh() {
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregateOnly("CompanyQueryRq");
  const std::string& ownerID = Session().dataExtOwnerID;
  if (!ownerID.empty()) builder.CreateElement("OwnerID", ownerID);
  builder.EndAggregate("CompanyQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  if (builder.ErrNumber() != 0)
    throw AutomationError(builder.ErrNumber(), "Company:Refresh", builder.ErrMsg());
  if (XmlNode companyRet = FirstReturn(*response)) FromDom(companyRet);
}

const std::string& Company::DefaultAccount(std::string& cache, int16_t accountType) {
  if (!cache.empty()) return cache;
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregateOnly("AccountQueryRq");
  builder.CreateElement("AccountType", EnumCodeToXmlText(qoeAccountType, accountType));
  builder.EndAggregate("AccountQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  if (builder.ErrNumber() != 0) return cache;  // none of that type (or no answer): ask again later
  if (XmlNode accountRet = FirstReturn(*response)) {
    for (const XmlNode& child : accountRet.childNodes()) {
      if (child.baseName() == "FullName") {
        cache = child.text();
        break;
      }
    }
  }
  return cache;
}

const std::string& Company::DefaultARAccount() { return DefaultAccount(defaultARAccount_, 2); }
const std::string& Company::DefaultAPAccount() { return DefaultAccount(defaultAPAccount_, 1); }
const std::string& Company::DefaultBankAccount() { return DefaultAccount(defaultBankAccount_, 3); }

bool Company::ValidateAll() {
  errors_.Clear();
  bool valid = true;
  const std::shared_ptr<QCEnum> listTypes = ThreadEnumerations()->Item(qoeListType);
  for (const std::shared_ptr<qcList>& list : *lists_) {
    if (list->Validate()) continue;
    valid = false;
    const qcEnumValue* entry = listTypes->FindByCode(static_cast<int16_t>(list->ListType()));
    AddTableError(errors_, errValidateFailed, entry ? entry->CollectionKey() : std::string());
  }
  return valid;
}

int32_t Company::SetClearedStatus(qbClearedStatusType ClearedStatus, const std::string& TxnId,
                                  const std::string& TxnLineId) {
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("ClearedStatusModRq", "requestID", "1");
  builder.OpenAggregateOnly("ClearedStatusMod");
  builder.CreateElement("TxnID", TxnId);
  if (!TxnLineId.empty()) builder.CreateElement("TxnLineID", TxnLineId);
  builder.CreateElement("ClearedStatus",
                        EnumCodeToXmlText(qoeClearedStatus, static_cast<int16_t>(ClearedStatus)));
  builder.EndAggregate("ClearedStatusMod");
  builder.EndAggregate("ClearedStatusModRq");
  builder.NewSendRequest();
  return builder.ErrNumber();
}

Date Company::ActivityTime(int32_t childIndex) {
  errors_.Clear();
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregateOnly("CompanyActivityQueryRq");
  builder.EndAggregate("CompanyActivityQueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  XmlNode activityRet = FirstReturn(*response);
  XmlNode time = activityRet ? activityRet.childNodes().item(childIndex) : XmlNode();
  if (!time) {
    // An error answer (or a company never condensed nor restored) has no such child.
    throw AutomationError(
        ErrorNumber(errGeneral), "Company",
        builder.ErrNumber() != 0 ? builder.ErrMsg() : "QuickBooks returned no company activity.");
  }
  return TextToDate(time.text());
}

Date Company::LastCondenseTime() { return ActivityTime(1); }
Date Company::LastRestoreTime() { return ActivityTime(0); }

int32_t Company::XMLVendorQueryRs(xmlBldr& cxmlbldr, int16_t iRequestId) {
  cxmlbldr.OpenAggregate("VendorQueryRs", "requestID", std::to_string(iRequestId));
  cxmlbldr.OpenAggregateOnly("VendorRet");
  cxmlbldr.CreateElement("Name", name_);
  cxmlbldr.CreateElement("CompanyName", name_);
  cxmlbldr.OpenAggregateOnly("VendorAddress");
  addressForCustomers_->WriteElements(cxmlbldr);
  cxmlbldr.EndAggregate("VendorAddress");
  cxmlbldr.CreateElement("Phone", phone_);
  cxmlbldr.CreateElement("Fax", fax_);
  cxmlbldr.CreateElement("Email", email_);
  cxmlbldr.EndAggregate("VendorRet");
  cxmlbldr.EndAggregate("VendorQueryRs");
  return 0;
}

std::shared_ptr<DataExtensionDefinitions> Company::CustomFields() {
  if (!customFieldsLoaded_) {
    customFieldsLoaded_ = true;
    customFields_->GetByOwner("0");
  }
  return customFields_;
}

std::shared_ptr<DataExtensionDefinitions> Company::ApplicationFields() {
  const std::string& ownerID = Session().dataExtOwnerID;
  if (!applicationFieldsLoaded_ && !ownerID.empty()) {
    applicationFieldsLoaded_ = true;
    applicationFields_->SetOwnerId(ownerID);
    applicationFields_->GetByOwner(ownerID);
    // Queries now ask for the application's extensions of the types it defined them for.
    Session().applicationFieldDefinitions = applicationFields_;
  }
  return applicationFields_;
}

int32_t Company::SaveApplicationFields() {
  return companyApplicationFields_->Commit(std::string(), "Company");
}

int32_t Company::Commit() {
  SaveApplicationFields();
  return 0;
}

std::shared_ptr<qcList> MasterList(qoEnumListType list) {
  const std::shared_ptr<Company>& company = Session().company;
  if (!company) return nullptr;
  std::string key;
  try {
    key = ListTypeKey(list);
    return company->Lists()->Item(key);
  } catch (const AutomationError&) {
    return nullptr;  // a list without a registered collection (or no such list)
  }
}

}  // namespace brennock
