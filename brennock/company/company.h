#pragma once

#include <memory>

#include "brennock/model/object_enums.h"

namespace brennock {

class Lists;
class qcList;
class Classes;
class CustomerTypes;
class JobTypes;
class VendorTypes;
class ShipMethods;
class PaymentMethods;
class CustomerMessages;
class SalesTaxCodes;
class TaxCodes;
class SalesReps;
class ToDoList;
class PayrollItemWages;
class PayrollItemNonWages;
class PriceLevels;
class CurrencyTypes;

// The root of the object model for one session: one master collection per list, each registered
// in Lists under its list's key. Records reach it through the thread's session state
// (Session().company), never through the connection.
class Company {
 public:
  Company();
  ~Company();
  Company(const Company&) = delete;
  Company& operator=(const Company&) = delete;

  qoEnumListObjectType ObjectType() const noexcept { return qoObjectTypeCompany; }
  // The master collections by list key ("Class", "SalesTaxCode", ...).
  std::shared_ptr<brennock::Lists> Lists() const { return lists_; }

  std::shared_ptr<brennock::Classes> Classes() const { return classes_; }
  std::shared_ptr<brennock::CustomerTypes> CustomerTypes() const { return customerTypes_; }
  std::shared_ptr<brennock::JobTypes> JobTypes() const { return jobTypes_; }
  std::shared_ptr<brennock::VendorTypes> VendorTypes() const { return vendorTypes_; }
  std::shared_ptr<brennock::ShipMethods> ShipMethods() const { return shipMethods_; }
  std::shared_ptr<brennock::PaymentMethods> PaymentMethods() const { return paymentMethods_; }
  std::shared_ptr<brennock::CustomerMessages> CustomerMessages() const { return customerMessages_; }
  std::shared_ptr<brennock::SalesTaxCodes> SalesTaxCodes() const { return salesTaxCodes_; }
  // Created with the company but not a master collection (QuickBooks keeps the list itself).
  std::shared_ptr<brennock::TaxCodes> TaxCodes() const { return taxCodes_; }
  std::shared_ptr<brennock::SalesReps> SalesReps() const { return salesReps_; }
  std::shared_ptr<brennock::ToDoList> ToDoList() const { return toDoList_; }
  std::shared_ptr<brennock::PayrollItemWages> PayrollItemWages() const { return payrollItemWages_; }
  // Created on first read, not a master collection.
  std::shared_ptr<brennock::PayrollItemNonWages> PayrollItemNonWages();
  // Created with the company but not a master collection.
  std::shared_ptr<brennock::PriceLevels> PriceLevels() const { return priceLevels_; }
  std::shared_ptr<brennock::CurrencyTypes> CurrencyTypes() const { return currencyTypes_; }

 private:
  std::shared_ptr<brennock::Lists> lists_;
  std::shared_ptr<brennock::Classes> classes_;
  std::shared_ptr<brennock::CustomerTypes> customerTypes_;
  std::shared_ptr<brennock::JobTypes> jobTypes_;
  std::shared_ptr<brennock::VendorTypes> vendorTypes_;
  std::shared_ptr<brennock::ShipMethods> shipMethods_;
  std::shared_ptr<brennock::PaymentMethods> paymentMethods_;
  std::shared_ptr<brennock::CustomerMessages> customerMessages_;
  std::shared_ptr<brennock::SalesTaxCodes> salesTaxCodes_;
  std::shared_ptr<brennock::TaxCodes> taxCodes_;
  std::shared_ptr<brennock::SalesReps> salesReps_;
  std::shared_ptr<brennock::ToDoList> toDoList_;
  std::shared_ptr<brennock::PayrollItemWages> payrollItemWages_;
  std::shared_ptr<brennock::PayrollItemNonWages> payrollItemNonWages_;
  std::shared_ptr<brennock::PriceLevels> priceLevels_;
  std::shared_ptr<brennock::CurrencyTypes> currencyTypes_;
};

// The master collection of a list in the company of this thread's session (through its Lists
// registry); null when no company is open or the list has no registered collection.
std::shared_ptr<qcList> MasterList(qoEnumListType list);

}  // namespace brennock
