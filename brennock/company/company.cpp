#include "brennock/company/company.h"

#include "brennock/lists/class.h"
#include "brennock/lists/currency_type.h"
#include "brennock/lists/customer_message.h"
#include "brennock/lists/customer_type.h"
#include "brennock/lists/job_type.h"
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
#include "brennock/model/automation_error.h"
#include "brennock/model/lists_registry.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/session_state.h"

namespace brennock {
namespace {

template <class Collection>
std::shared_ptr<Collection> MakeMaster() {
  auto collection = std::make_shared<Collection>();
  collection->SetMaster(true);
  return collection;
}

}  // namespace

Company::Company()
    : lists_(std::make_shared<brennock::Lists>()),
      classes_(MakeMaster<brennock::Classes>()),
      customerTypes_(MakeMaster<brennock::CustomerTypes>()),
      jobTypes_(MakeMaster<brennock::JobTypes>()),
      vendorTypes_(MakeMaster<brennock::VendorTypes>()),
      shipMethods_(MakeMaster<brennock::ShipMethods>()),
      paymentMethods_(MakeMaster<brennock::PaymentMethods>()),
      customerMessages_(MakeMaster<brennock::CustomerMessages>()),
      salesTaxCodes_(MakeMaster<brennock::SalesTaxCodes>()),
      taxCodes_(std::make_shared<brennock::TaxCodes>()),
      salesReps_(MakeMaster<brennock::SalesReps>()),
      toDoList_(MakeMaster<brennock::ToDoList>()),
      payrollItemWages_(MakeMaster<brennock::PayrollItemWages>()),
      priceLevels_(std::make_shared<brennock::PriceLevels>()),
      currencyTypes_(MakeMaster<brennock::CurrencyTypes>()) {
  // Registration order is the order clients see when they walk Lists.
  lists_->AddObject(salesTaxCodes_, "SalesTaxCode");
  lists_->AddObject(salesReps_, "SalesRep");
  lists_->AddObject(customerMessages_, "CustomerMessage");
  lists_->AddObject(toDoList_, "ToDo");
  lists_->AddObject(classes_, "Class");
  lists_->AddObject(paymentMethods_, "PaymentMethod");
  lists_->AddObject(customerTypes_, "CustomerType");
  lists_->AddObject(jobTypes_, "JobType");
  lists_->AddObject(vendorTypes_, "VendorType");
  lists_->AddObject(shipMethods_, "ShipMethod");
  lists_->AddObject(payrollItemWages_, "PayrollItemWage");
  lists_->AddObject(taxCodes_, "TaxCodes");
  lists_->AddObject(priceLevels_, "PriceLevels");
}

Company::~Company() = default;

std::shared_ptr<brennock::PayrollItemNonWages> Company::PayrollItemNonWages() {
  if (!payrollItemNonWages_)
    payrollItemNonWages_ = std::make_shared<brennock::PayrollItemNonWages>();
  return payrollItemNonWages_;
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
