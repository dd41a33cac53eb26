#include "brennock/company/company.h"

#include "brennock/company/data_extension_definitions.h"
#include "brennock/company/preferences.h"
#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/transaction_defaults.h"
#include "brennock/internal/registry/record_registry.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/items/items.h"
#include "brennock/lists/account.h"
#include "brennock/lists/address.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer.h"
#include "brennock/lists/employee.h"
#include "brennock/lists/entities.h"
#include "brennock/lists/hierarchical_lists.h"
#include "brennock/lists/named_lists.h"
#include "brennock/lists/other_name.h"
#include "brennock/lists/payroll_items.h"
#include "brennock/lists/price_level.h"
#include "brennock/lists/sales_rep.h"
#include "brennock/lists/tax_codes.h"
#include "brennock/lists/template.h"
#include "brennock/lists/terms.h"
#include "brennock/lists/to_do.h"
#include "brennock/lists/vendor.h"
#include "brennock/model/data_extension.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/qc_list.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/transactions/assembly_build.h"
#include "brennock/transactions/bill.h"
#include "brennock/transactions/bill_payment.h"
#include "brennock/transactions/card_txn.h"
#include "brennock/transactions/check.h"
#include "brennock/transactions/credit_memo.h"
#include "brennock/transactions/deposit.h"
#include "brennock/transactions/estimate.h"
#include "brennock/transactions/inventory_adjustment.h"
#include "brennock/transactions/invoice.h"
#include "brennock/transactions/journal_entry.h"
#include "brennock/transactions/purchase_order.h"
#include "brennock/transactions/receive_payment.h"
#include "brennock/transactions/sales_order.h"
#include "brennock/transactions/sales_receipt.h"
#include "brennock/transactions/sales_tax_payment_check.h"
#include "brennock/transactions/statement_charge.h"
#include "brennock/transactions/time_tracking.h"
#include "brennock/transactions/undeposited_fund.h"
#include "brennock/transactions/vendor_credit.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

using namespace ModConvertDtypes;
namespace {

// The node at the first child of the document element, three levels down: the first return
// aggregate of the first response. Nothing when the response is shorter.
XmlNode FirstReturn(const XmlDocument& response) {
  XmlNode node = response.documentElement();
  for (int step = 0; step < 3 && node; ++step) node = node.childNodes().item(0);
  return node;
}

// What new transactions take from the session company's preferences.
TransactionDefaults SessionTransactionDefaults() {
  TransactionDefaults defaults;
  const std::shared_ptr<Company>& company = Session().company;
  if (!company) return defaults;
  const std::shared_ptr<Preferences> preferences = company->Preferences();
  if (!preferences) return defaults;
  defaults.taxableSalesTaxCode = preferences->DefaultTaxableSalesTaxCode();
  defaults.fob = preferences->DefaultFOB();
  defaults.itemSalesTax = preferences->DefaultItemSalesTax();
  defaults.shipMethod = preferences->DefaultShipMethod();
  defaults.markedToBePrinted = preferences->IsMarkedToBePrinted();
  return defaults;
}

// Linked with every program that makes a company, so registered whenever a session can have one.
int32_t WriteSessionCompanyRecord(xmlBldr& builder, int16_t requestId) {
  const std::shared_ptr<Company>& company = Session().company;
  return company ? company->XMLVendorQueryRs(builder, requestId) : -1;
}

const bool kDefaultsRegistered = [] {
  SetTransactionDefaultsSource(&SessionTransactionDefaults);
  SetCompanyRecordWriter(&WriteSessionCompanyRecord);
  return true;
}();

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
  for (const RecordKind& kind : RecordRegistry()) {
    std::shared_ptr<CollectionCore> collection;
    if (kind.newCollection != nullptr) {
      collection = kind.newCollection();
      collection->SetMaster(kind.Has(kMaster));
      if (!kind.listsKey.empty() && !kind.transaction()) {
        lists_->AddObject(std::static_pointer_cast<ListCollectionCore>(collection),
                          std::string(kind.listsKey));
      }
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

std::shared_ptr<CollectionCore> Company::Collection(qoEnumListObjectType objectType) const {
  std::span<const RecordKind> registry = RecordRegistry();
  for (size_t i = 0; i < registry.size(); ++i) {
    if (registry[i].objectType == objectType) return collections_[i];
  }
  return nullptr;
}

std::shared_ptr<ListCollectionCore> Company::ListCollection(qoEnumListObjectType objectType) const {
  const RecordKind* kind = FindRecordKindByObject(objectType);
  if (kind == nullptr || kind->transaction()) return nullptr;
  return std::static_pointer_cast<ListCollectionCore>(Collection(objectType));
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
BRENNOCK_COMPANY_COLLECTION(Customers)
BRENNOCK_COMPANY_COLLECTION(Vendors)
BRENNOCK_COMPANY_COLLECTION(OtherNames)
BRENNOCK_COMPANY_COLLECTION(Employees)
BRENNOCK_COMPANY_COLLECTION(Accounts)
BRENNOCK_COMPANY_COLLECTION(Templates)
BRENNOCK_COMPANY_COLLECTION(Invoices)
BRENNOCK_COMPANY_COLLECTION(SalesReceipts)
BRENNOCK_COMPANY_COLLECTION(CreditMemos)
BRENNOCK_COMPANY_COLLECTION(Estimates)
BRENNOCK_COMPANY_COLLECTION(SalesOrders)
BRENNOCK_COMPANY_COLLECTION(StatementCharges)
BRENNOCK_COMPANY_COLLECTION(ReceivePayments)
BRENNOCK_COMPANY_COLLECTION(Deposits)
BRENNOCK_COMPANY_COLLECTION(BillPayments)
BRENNOCK_COMPANY_COLLECTION(JournalEntries)
BRENNOCK_COMPANY_COLLECTION(UndepositedFunds)
BRENNOCK_COMPANY_COLLECTION(SalesTaxPaymentChecks)
BRENNOCK_COMPANY_COLLECTION(TimeTrackings)
BRENNOCK_COMPANY_COLLECTION(InventoryAdjustments)
BRENNOCK_COMPANY_COLLECTION(AssemblyBuilds)
BRENNOCK_COMPANY_COLLECTION(Bills)
BRENNOCK_COMPANY_COLLECTION(Checks)
BRENNOCK_COMPANY_COLLECTION(VendorCredits)
BRENNOCK_COMPANY_COLLECTION(ItemReceipts)
BRENNOCK_COMPANY_COLLECTION(PurchaseOrders)
BRENNOCK_COMPANY_COLLECTION(CreditCardCharges)
BRENNOCK_COMPANY_COLLECTION(CreditCardCredits)
#undef BRENNOCK_COMPANY_COLLECTION

std::shared_ptr<brennock::Entities> Company::Entities() const {
  return std::static_pointer_cast<brennock::Entities>(Collection(qoObjectTypeEntity));
}

// Both kinds of terms share one collection, the Terms row's.
std::shared_ptr<brennock::Terms> Company::Terms() const {
  return std::static_pointer_cast<brennock::Terms>(Collection(qoObjectTypeTerms));
}

// Every kind of item shares one collection, the Item row's.
std::shared_ptr<brennock::Items> Company::Items() const {
  return std::static_pointer_cast<brennock::Items>(Collection(qoObjectTypeItem));
}

xmlBldr& Company::Builder() {
  if (!builder_) builder_ = std::make_unique<xmlBldr>();
  return *builder_;
}

// The company has no custom fields of its own; of its DataExtRet only application values are
// kept.
const BindingTable<Company>& Company::Bindings() {
  using T = codecs::Text;
  using Place = codecs::Shared<codecs::Aggregate>;
  using Month = codecs::EnumTag<qoeMonth>;
  BRENNOCK_BINDINGS(
      Company,
      std::array{
          Bind<&Company::isSampleCompany_, codecs::Bool, Company>("IsSampleCompany", kInRet),
          Bind<&Company::name_, T, Company>("CompanyName", kInRet),
          Bind<&Company::legalName_, T, Company>("LegalCompanyName", kInRet),
          Bind<&Company::address_, Place, Company>("Address", kInRet),
          Bind<&Company::legalAddress_, Place, Company>("LegalAddress", kInRet),
          Bind<&Company::addressForCustomers_, Place, Company>("CompanyAddressForCustomer", kInRet),
          Bind<&Company::phone_, T, Company>("Phone", kInRet),
          Bind<&Company::fax_, T, Company>("Fax", kInRet),
          Bind<&Company::email_, T, Company>("Email", kInRet),
          Bind<&Company::emailForCustomers_, T, Company>("CompanyEmailForCustomer", kInRet),
          Bind<&Company::webSite_, T, Company>("CompanyWebSite", kInRet),
          Bind<&Company::firstMonthFiscalYear_, Month, Company>("FirstMonthFiscalYear", kInRet),
          Bind<&Company::firstMonthIncomeTaxYear_, Month, Company>("FirstMonthIncomeTaxYear",
                                                                   kInRet),
          Bind<&Company::companyType_, T, Company>("CompanyType", kInRet),
          Bind<&Company::ein_, T, Company>("EIN", kInRet),
          Bind<&Company::taxForm_, T, Company>("TaxForm", kInRet),
          Binding<Company>{"DataExtRet", kInRet, [](Company& company, const FieldElement& x) {
                             DataExtensions* values = company.companyApplicationFields_.get();
                             ReadDataExtRet(x, [values](const std::string& ownerID) {
                               return ownerID == kCustomFieldOwnerID ? nullptr : values;
                             });
                           }}});
}

// A client's vendor query is answered with the company: its name twice, the address it gives
// customers, phone, fax and e-mail, each written even when empty.
const BindingTable<Company>& Company::VendorRetBindings() {
  using T = codecs::Text;
  BRENNOCK_BINDINGS(
      Company,
      std::array{Bind<&Company::name_, T, Company>("Name", kInRet),
                 Bind<&Company::name_, T, Company>("CompanyName", kInRet),
                 Bind<&Company::addressForCustomers_, codecs::Shared<codecs::Aggregate>, Company>(
                     "VendorAddress", kInRet),
                 Bind<&Company::phone_, T, Company>("Phone", kInRet),
                 Bind<&Company::fax_, T, Company>("Fax", kInRet),
                 Bind<&Company::email_, T, Company>("Email", kInRet)});
}

void Company::FromDom(const XmlNode& companyRet) {
  ReadFields<Company>(*this, companyRet, Bindings().Readers());
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

const std::string& Company::DefaultAccount(std::string& cache, qbEnumAccountType accountType) {
  if (!cache.empty()) return cache;
  brennock::Accounts accounts;
  // None of that type (or no answer) leaves the cache empty: the next read asks again.
  if (accounts.GetByAccountType(accountType) > 0) cache = accounts.Item(1)->FullName();
  return cache;
}

const std::string& Company::DefaultARAccount() {
  return DefaultAccount(defaultARAccount_, qbAccountsReceivable);
}
const std::string& Company::DefaultAPAccount() {
  return DefaultAccount(defaultAPAccount_, qbAccountsPayable);
}
const std::string& Company::DefaultBankAccount() {
  return DefaultAccount(defaultBankAccount_, qbBank);
}

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
  VendorRetBindings().Write(*this, cxmlbldr, BodyForm::kRet);
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

}  // namespace brennock
