#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/session/qb_connection.h"
#include "brennock/session/session_enums.h"
#include "brennock/values/date.h"
#include "brennock/values/variant.h"

namespace brennock {

class Bills;
class Checks;
class CreditCardCharges;
class CreditCardCredits;
class ItemReceipts;
class PurchaseOrders;
class VendorCredits;
class Invoices;
class SalesReceipts;
class CreditMemos;
class Estimates;
class SalesOrders;
class StatementCharges;
class ReceivePayments;
class Deposits;
class BillPayments;
class JournalEntries;
class UndepositedFunds;
class SalesTaxPaymentChecks;
class TimeTrackings;
class InventoryAdjustments;
class AssemblyBuilds;

class Company;
class TaxCodes;
class SalesTaxCodes;
class PaymentMethods;
class Classes;
class CustomerTypes;
class SalesReps;
class Customers;
class CustomerMessages;
class ToDoList;
class ShipMethods;
class JobTypes;
class VendorTypes;
class PayrollItemWages;
class PayrollItemNonWages;
class PriceLevels;
class Vendors;
class OtherNames;
class Employees;
class Entities;
class Accounts;
class Terms;
class Items;
class Templates;

// This thread's global connection: created on first use and kept until the thread ends. The
// database export raises its progress events on it.
std::shared_ptr<QBConnection> GlobalQBConnection();

// The application-wide entry object. It has no state of its own: every instance works on this
// thread's session, global connection and enumeration registry, so clients may create one
// wherever they need it.
class BrennockGlobals {
 public:
  // Description of the entry with that code in the table; empty when there is no such table or
  // entry.
  std::string EStr(int32_t Code, qoEnumerationType Enumeration) const;
  // Code of the entry whose key is Description (blanks and letter case ignored); 0 when none.
  int32_t eVal(const std::string& Description, qoEnumerationType Enumeration) const;
  // XMLTag of the entry with that code; empty when not found.
  std::string EXMLStr(int32_t Code, qoEnumerationType Enumeration) const;
  // The date that stands for "no date".
  Date qbNullDate() const { return brennock::qbNullDate; }
  std::shared_ptr<Enumerations> QBEnumerations() const;
  std::shared_ptr<brennock::QBConnection> QBConnection() const;
  // Connect on the global connection.
  int32_t QBConnect(const std::string& AppID, const std::string& AppName,
                    qbEnumFileOpenMode ConnectionType, const std::string& QBWFilePath = {});
  // The global connection's subscription collections (no session needed).
  std::shared_ptr<brennock::UIExtensionSubscriptions> UIExtensionSubscriptions() const;
  std::shared_ptr<brennock::UISubscriptions> UISubscriptions() const;
  // The session's company and its collections; each first checks that a company session is open
  // (vbObjectError + 1000 otherwise). Null when the company query of the session failed.
  std::shared_ptr<brennock::Company> Company() const;
  std::shared_ptr<brennock::SalesTaxCodes> SalesTaxCodes() const;
  std::shared_ptr<brennock::PaymentMethods> PaymentMethods() const;
  std::shared_ptr<brennock::Classes> Classes() const;
  std::shared_ptr<brennock::CustomerTypes> CustomerTypes() const;
  std::shared_ptr<brennock::SalesReps> SalesReps() const;
  std::shared_ptr<brennock::Customers> Customers() const;
  std::shared_ptr<brennock::CustomerMessages> CustomerMessages() const;
  std::shared_ptr<brennock::ToDoList> ToDoList() const;
  std::shared_ptr<brennock::ShipMethods> ShipMethods() const;
  std::shared_ptr<brennock::JobTypes> JobTypes() const;
  std::shared_ptr<brennock::VendorTypes> VendorTypes() const;
  std::shared_ptr<brennock::PayrollItemWages> PayrollItemWages() const;
  std::shared_ptr<brennock::PayrollItemNonWages> PayrollItemNonWages() const;
  std::shared_ptr<brennock::PriceLevels> PriceLevels() const;
  std::shared_ptr<brennock::Vendors> Vendors() const;
  std::shared_ptr<brennock::OtherNames> OtherNames() const;
  std::shared_ptr<brennock::Employees> Employees() const;
  std::shared_ptr<brennock::Entities> Entities() const;
  std::shared_ptr<brennock::Accounts> Accounts() const;
  std::shared_ptr<brennock::Terms> Terms() const;
  std::shared_ptr<brennock::Items> Items() const;
  std::shared_ptr<brennock::Templates> Templates() const;
  std::shared_ptr<brennock::Invoices> Invoices() const;
  std::shared_ptr<brennock::SalesReceipts> SalesReceipts() const;
  std::shared_ptr<brennock::CreditMemos> CreditMemos() const;
  std::shared_ptr<brennock::Estimates> Estimates() const;
  std::shared_ptr<brennock::SalesOrders> SalesOrders() const;
  std::shared_ptr<brennock::StatementCharges> StatementCharges() const;
  std::shared_ptr<brennock::ReceivePayments> ReceivePayments() const;
  std::shared_ptr<brennock::Deposits> Deposits() const;
  std::shared_ptr<brennock::BillPayments> BillPayments() const;
  std::shared_ptr<brennock::JournalEntries> JournalEntries() const;
  std::shared_ptr<brennock::UndepositedFunds> UndepositedFunds() const;
  std::shared_ptr<brennock::SalesTaxPaymentChecks> SalesTaxPaymentChecks() const;
  std::shared_ptr<brennock::TimeTrackings> TimeTrackings() const;
  std::shared_ptr<brennock::InventoryAdjustments> InventoryAdjustments() const;
  std::shared_ptr<brennock::AssemblyBuilds> AssemblyBuilds() const;
  std::shared_ptr<brennock::Bills> Bills() const;
  std::shared_ptr<brennock::Checks> Checks() const;
  std::shared_ptr<brennock::VendorCredits> VendorCredits() const;
  std::shared_ptr<brennock::ItemReceipts> ItemReceipts() const;
  std::shared_ptr<brennock::PurchaseOrders> PurchaseOrders() const;
  std::shared_ptr<brennock::CreditCardCharges> CreditCardCharges() const;
  std::shared_ptr<brennock::CreditCardCredits> CreditCardCredits() const;
  // Also only for non-US editions (vbObjectError + 1032 on a US session).
  std::shared_ptr<brennock::TaxCodes> TaxCodes() const;
  // The folder shared by all users' application data, as a string; Empty when there is none.
  Variant GetDataPath() const;
};

}  // namespace brennock
