#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/enums/txn_enums.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/values/date.h"

namespace brennock {

class Lists;
class CollectionCore;
class ListCollectionCore;
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
class Customers;
class Vendors;
class OtherNames;
class Employees;
class Entities;
class Accounts;
class Terms;
class Items;
class Templates;
class Address;
class Preferences;
class DataExtensions;
class DataExtensionDefinitions;
class XmlNode;
class xmlBldr;
template <class Owner>
class BindingTable;

// The root of the object model for one session: the company information of the open file, its
// preferences, and one master collection per list, each registered in Lists under its list's key.
// Records reach it through the thread's session state (Session().company), never through the
// connection. Collections of record families the library does not have yet (transactions) are
// absent from it and from Lists.
class Company {
 public:
  Company();
  ~Company();
  Company(const Company&) = delete;
  Company& operator=(const Company&) = delete;

  qoEnumListObjectType ObjectType() const noexcept { return qoObjectTypeCompany; }

  // Company information, as last read from QuickBooks.
  const std::string& Name() const noexcept { return name_; }
  const std::string& LegalName() const noexcept { return legalName_; }
  // The three addresses live as long as the company and are refilled in place.
  std::shared_ptr<brennock::Address> Address() const { return address_; }
  std::shared_ptr<brennock::Address> AddressForCustomers() const { return addressForCustomers_; }
  std::shared_ptr<brennock::Address> LegalAddress() const { return legalAddress_; }
  const std::string& Phone() const noexcept { return phone_; }
  const std::string& Fax() const noexcept { return fax_; }
  const std::string& Email() const noexcept { return email_; }
  const std::string& EmailForCustomers() const noexcept { return emailForCustomers_; }
  const std::string& WebSite() const noexcept { return webSite_; }
  // Month numbers "1" to "12"; "0" until read (or when QuickBooks left them out).
  std::string FirstMonthFiscalYear() const { return std::to_string(firstMonthFiscalYear_); }
  std::string FirstMonthIncomeTaxYear() const { return std::to_string(firstMonthIncomeTaxYear_); }
  const std::string& CompanyType() const noexcept { return companyType_; }
  const std::string& EIN() const noexcept { return ein_; }
  // The TaxForm tag as QuickBooks sent it ("Form1120", ...).
  const std::string& qbEnumTaxForm() const noexcept { return taxForm_; }
  bool IsSampleCompany() const noexcept { return isSampleCompany_; }

  std::shared_ptr<brennock::Preferences> Preferences() const { return preferences_; }
  qcErrors& Errors() noexcept { return errors_; }

  // Full name of the first account of that type (Accounts::GetByAccountType on a collection of
  // its own), cached once found; each read asks QuickBooks again while none has been found.
  const std::string& DefaultARAccount();
  const std::string& DefaultAPAccount();
  const std::string& DefaultBankAccount();

  // Reads the company information again. A QuickBooks error raises its number and message with
  // source "Company:Refresh" and keeps the previous values.
  void Refresh();
  // Validates every collection in Lists; each one that fails adds error 1011 keyed by its list
  // type's key to Errors. Never raises for invalid lists.
  bool ValidateAll();
  // Marks a transaction (or one of its lines, when TxnLineId is not empty) cleared, not cleared or
  // pending. Returns the builder's error number.
  int32_t SetClearedStatus(qbClearedStatusType ClearedStatus, const std::string& TxnId,
                           const std::string& TxnLineId = {});
  // Ask QuickBooks on every read.
  Date LastCondenseTime();
  Date LastRestoreTime();
  // Writes the company as a vendor query response into the caller's builder, without sending.
  int32_t XMLVendorQueryRs(xmlBldr& cxmlbldr, int16_t iRequestId);

  // The QuickBooks custom-field definitions (owner "0"), read on first use.
  std::shared_ptr<DataExtensionDefinitions> CustomFields();
  // The registered application's field definitions, read on first use once an owner ID is
  // registered; empty (and read again later) while none is.
  std::shared_ptr<DataExtensionDefinitions> ApplicationFields();
  // The company's own application-field values (owner type qoObjectTypeCompany).
  std::shared_ptr<DataExtensions> CompanyApplicationFields() const {
    return companyApplicationFields_;
  }
  // Commits CompanyApplicationFields; returns its error count.
  int32_t SaveApplicationFields();
  // Saves the application fields and returns 0.
  int32_t Commit();

  // Library-internal: fills the company information from a CompanyRet element.
  void FromDom(const XmlNode& companyRet);
  // The master collections by list key ("Class", "SalesTaxCode", ...).
  std::shared_ptr<brennock::Lists> Lists() const { return lists_; }

  // The collection of every list the library has a class for, made from the list registry: the
  // master collections (the ones that add, delete and commit) and, not master, TaxCodes,
  // PriceLevels and PayrollItemNonWages, whose lists QuickBooks keeps itself.
  std::shared_ptr<brennock::Classes> Classes() const;
  std::shared_ptr<brennock::CustomerTypes> CustomerTypes() const;
  std::shared_ptr<brennock::JobTypes> JobTypes() const;
  std::shared_ptr<brennock::VendorTypes> VendorTypes() const;
  std::shared_ptr<brennock::ShipMethods> ShipMethods() const;
  std::shared_ptr<brennock::PaymentMethods> PaymentMethods() const;
  std::shared_ptr<brennock::CustomerMessages> CustomerMessages() const;
  std::shared_ptr<brennock::SalesTaxCodes> SalesTaxCodes() const;
  std::shared_ptr<brennock::TaxCodes> TaxCodes() const;
  std::shared_ptr<brennock::SalesReps> SalesReps() const;
  std::shared_ptr<brennock::ToDoList> ToDoList() const;
  std::shared_ptr<brennock::PayrollItemWages> PayrollItemWages() const;
  std::shared_ptr<brennock::PayrollItemNonWages> PayrollItemNonWages() const;
  std::shared_ptr<brennock::PriceLevels> PriceLevels() const;
  std::shared_ptr<brennock::CurrencyTypes> CurrencyTypes() const;
  std::shared_ptr<brennock::Customers> Customers() const;
  std::shared_ptr<brennock::Vendors> Vendors() const;
  std::shared_ptr<brennock::OtherNames> OtherNames() const;
  std::shared_ptr<brennock::Employees> Employees() const;
  std::shared_ptr<brennock::Entities> Entities() const;
  std::shared_ptr<brennock::Accounts> Accounts() const;
  std::shared_ptr<brennock::Terms> Terms() const;
  // Every kind of item.
  std::shared_ptr<brennock::Items> Items() const;
  // The form templates: read and deleted, never added or changed.
  std::shared_ptr<brennock::Templates> Templates() const;
  // Transactions.
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
  // The collection of a registered list; null when the library has no class for it.
  std::shared_ptr<CollectionCore> Collection(qoEnumListObjectType objectType) const;
  // The master collection of a list kind; null for a transaction kind or none.
  std::shared_ptr<ListCollectionCore> ListCollection(qoEnumListObjectType objectType) const;

  // The CompanyRet children the company reads, and the VendorRet it writes itself as.
  static const BindingTable<Company>& Bindings();
  static const BindingTable<Company>& VendorRetBindings();

 private:
  xmlBldr& Builder();
  const std::string& DefaultAccount(std::string& cache, qbEnumAccountType accountType);
  Date ActivityTime(int32_t childIndex);

  std::string name_, legalName_, phone_, fax_, email_, emailForCustomers_, webSite_;
  std::string companyType_, ein_, taxForm_;
  int16_t firstMonthFiscalYear_ = 0;
  int16_t firstMonthIncomeTaxYear_ = 0;
  bool isSampleCompany_ = false;
  std::string defaultARAccount_, defaultAPAccount_, defaultBankAccount_;
  std::shared_ptr<brennock::Address> address_;
  std::shared_ptr<brennock::Address> addressForCustomers_;
  std::shared_ptr<brennock::Address> legalAddress_;
  std::shared_ptr<brennock::Preferences> preferences_;
  std::shared_ptr<DataExtensions> companyApplicationFields_;
  std::shared_ptr<DataExtensionDefinitions> customFields_;
  std::shared_ptr<DataExtensionDefinitions> applicationFields_;
  bool customFieldsLoaded_ = false;
  bool applicationFieldsLoaded_ = false;
  qcErrors errors_;
  std::unique_ptr<xmlBldr> builder_;  // created on first use

  std::shared_ptr<brennock::Lists> lists_;
  // One per row of the list registry (null where the library has no class), in its order.
  std::vector<std::shared_ptr<CollectionCore>> collections_;
};

}  // namespace brennock
