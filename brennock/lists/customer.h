#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/internal/model/balance_filtered_collection.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/internal/xml/deferred_element.h"
#include "brennock/lists/address.h"
#include "brennock/lists/credit_card.h"
#include "brennock/values/currency.h"

namespace brennock {

// A customer, or a job of a customer when it has a parent. Unlike the simple lists it is modified
// in QuickBooks: a saved customer whose fields changed is sent as a CustomerModRq carrying only
// those fields. References to other lists are held and set by full name.
class Customer final : public ListRecordCore, public DataExtensionCarrier<Customer> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeCustomer;
  Customer() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  // The customer's jobs.
  std::shared_ptr<qcListObjectRefs> Jobs() { return Children(); }

  const std::string& CompanyName() const noexcept { return companyName_; }
  const std::string& Salutation() const noexcept {
    return rare_ ? rare_->salutation : detail::EmptyText();
  }
  const std::string& FirstName() const noexcept { return firstName_; }
  const std::string& MiddleName() const noexcept {
    return rare_ ? rare_->middleName : detail::EmptyText();
  }
  const std::string& LastName() const noexcept { return lastName_; }
  const std::string& Suffix() const noexcept { return rare_ ? rare_->suffix : detail::EmptyText(); }
  const std::string& PrintAs() const noexcept {
    return rare_ ? rare_->printAs : detail::EmptyText();
  }
  const std::string& Phone() const noexcept { return phone_; }
  const std::string& Mobile() const noexcept { return rare_ ? rare_->mobile : detail::EmptyText(); }
  const std::string& Pager() const noexcept { return rare_ ? rare_->pager : detail::EmptyText(); }
  const std::string& AltPhone() const noexcept {
    return rare_ ? rare_->altPhone : detail::EmptyText();
  }
  const std::string& Fax() const noexcept { return rare_ ? rare_->fax : detail::EmptyText(); }
  const std::string& Email() const noexcept { return email_; }
  const std::string& Contact() const noexcept { return contact_; }
  const std::string& AltContact() const noexcept {
    return rare_ ? rare_->altContact : detail::EmptyText();
  }
  const std::string& ResaleNumber() const noexcept {
    return rare_ ? rare_->resaleNumber : detail::EmptyText();
  }
  const std::string& AccountNumber() const noexcept {
    return rare_ ? rare_->accountNumber : detail::EmptyText();
  }
  const std::string& JobDescription() const noexcept {
    return rare_ ? rare_->jobDesc : detail::EmptyText();
  }
  const std::string& Notes() const noexcept { return rare_ ? rare_->notes : detail::EmptyText(); }
  std::string CustomerType() const { return customerType_.FullName(); }
  std::string Terms() const { return terms_.FullName(); }
  std::string SalesRep() const { return salesRep_.FullName(); }
  std::string SalesTaxCode() const { return salesTaxCode_.FullName(); }
  std::string SalesTaxItem() const { return salesTaxItem_.FullName(); }
  std::string PaymentMethod() const { return paymentMethod_.FullName(); }
  std::string JobType() const { return jobType_.FullName(); }
  std::string PriceLevel() const { return priceLevel_.FullName(); }
  std::string CDNTaxCode() const { return cdnTaxCode_.FullName(); }
  std::string CurrencyType() const { return currency_.FullName(); }
  Currency Balance() const noexcept { return balance_; }
  Currency TotalBalance() const noexcept { return totalBalance_; }
  Currency OpeningBalance() const noexcept { return openingBalance_; }
  Date OpeningBalanceDate() const noexcept { return openingBalanceDate_; }
  bool CreditLimitEnabled() const noexcept { return creditLimitEnabled_; }
  Currency CreditLimit() const noexcept { return creditLimit_; }
  Date JobStartDate() const noexcept { return jobStartDate_; }
  Date JobProjectedEndDate() const noexcept { return jobProjectedEndDate_; }
  Date JobEndDate() const noexcept { return jobEndDate_; }
  qbEnumJobStatus JobStatus() const noexcept { return jobStatus_; }
  bool IsStatementWithParent() const noexcept { return isStatementWithParent_; }
  // Code of the DeliveryMethod table (1 print, 2 fax, 3 email; 0 none).
  int16_t DeliveryMethod() const noexcept { return deliveryMethod_; }
  bool IsUsingCustomerTaxCode() const noexcept { return isUsingCustomerTaxCode_; }
  // The addresses and card live as long as the customer and are refilled in place.
  std::shared_ptr<Address> BillTo();
  std::shared_ptr<Address> ShipTo();
  std::shared_ptr<brennock::CreditCard> CreditCard();
  // The addresses as QuickBooks prints them (up to five lines), as last read; never sent.
  std::shared_ptr<Address> BillAddressBlock();
  std::shared_ptr<Address> ShipAddressBlock();

  // Setters of a saved customer make it Dirty and its next save a Mod of the changed fields. The
  // add-only ones (Suffix, Mobile, Pager, the opening balance, IsStatementWithParent,
  // DeliveryMethod) raise 1002 on a saved customer. SalesTaxCode and SalesTaxItem raise 1032
  // outside the US edition, CDNTaxCode and IsUsingCustomerTaxCode in it.
  void SetName(const std::string& value) override { Change(name_, value, "Name"); }
  void SetIsActive(bool value) { Change(isActive_, value, "IsActive"); }
  void SetCompanyName(const std::string& value) { Change(companyName_, value, "CompanyName"); }
  void SetSalutation(const std::string& value) {
    Change(MutableRare().salutation, value, "Salutation");
  }
  void SetFirstName(const std::string& value) { Change(firstName_, value, "FirstName"); }
  void SetMiddleName(const std::string& value) {
    Change(MutableRare().middleName, value, "MiddleName");
  }
  void SetLastName(const std::string& value) { Change(lastName_, value, "LastName"); }
  void SetSuffix(const std::string& value) { Assign(MutableRare().suffix, value, true); }
  void SetPhone(const std::string& value) { Change(phone_, value, "Phone"); }
  void SetMobile(const std::string& value) { Assign(MutableRare().mobile, value, true); }
  void SetPager(const std::string& value) { Assign(MutableRare().pager, value, true); }
  void SetAltPhone(const std::string& value) { Change(MutableRare().altPhone, value, "AltPhone"); }
  void SetFax(const std::string& value) { Change(MutableRare().fax, value, "Fax"); }
  void SetEmail(const std::string& value) { Change(email_, value, "Email"); }
  void SetContact(const std::string& value) { Change(contact_, value, "Contact"); }
  void SetAltContact(const std::string& value) {
    Change(MutableRare().altContact, value, "AltContact");
  }
  void SetResaleNumber(const std::string& value) {
    Change(MutableRare().resaleNumber, value, "ResaleNumber");
  }
  void SetAccountNumber(const std::string& value) {
    Change(MutableRare().accountNumber, value, "AccountNumber");
  }
  void SetJobDescription(const std::string& value) {
    Change(MutableRare().jobDesc, value, "JobDesc");
  }
  void SetNotes(const std::string& value) { Change(MutableRare().notes, value, "Notes"); }
  void SetCustomerType(const std::string& value) {
    ChangeRef(customerType_, value, "CustomerTypeRef");
  }
  void SetTerms(const std::string& value) { ChangeRef(terms_, value, "TermsRef"); }
  void SetSalesRep(const std::string& value) { ChangeRef(salesRep_, value, "SalesRepRef"); }
  void SetSalesTaxCode(const std::string& value);
  void SetSalesTaxItem(const std::string& value);
  void SetPaymentMethod(const std::string& value) {
    ChangeRef(paymentMethod_, value, "PreferredPaymentMethodRef");
  }
  void SetJobType(const std::string& value) { ChangeRef(jobType_, value, "JobTypeRef"); }
  void SetPriceLevel(const std::string& value) { ChangeRef(priceLevel_, value, "PriceLevelRef"); }
  void SetCDNTaxCode(const std::string& value);
  void SetOpeningBalance(Currency value) { Assign(openingBalance_, value, true); }
  void SetOpeningBalanceDate(Date value) { Assign(openingBalanceDate_, value, true); }
  void SetCreditLimitEnabled(bool value) { Change(creditLimitEnabled_, value, "CreditLimit"); }
  // Also enables the credit limit.
  void SetCreditLimit(Currency value);
  void SetJobStartDate(Date value) { Change(jobStartDate_, value, "JobStartDate"); }
  void SetJobProjectedEndDate(Date value) {
    Change(jobProjectedEndDate_, value, "JobProjectedEndDate");
  }
  void SetJobEndDate(Date value) { Change(jobEndDate_, value, "JobEndDate"); }
  void SetJobStatus(qbEnumJobStatus value) { Change(jobStatus_, value, "JobStatus"); }
  void SetIsStatementWithParent(bool value) { Assign(isStatementWithParent_, value, true); }
  void SetDeliveryMethod(int16_t value) { Assign(deliveryMethod_, value, true); }
  void SetIsUsingCustomerTaxCode(bool value);

  // Takes every field a client can set from another customer (not its identity, parent or
  // balances); the addresses and card are copied too.
  void Copy(const Customer& from);
  // A new customer made by Copy from this one.
  std::shared_ptr<Customer> Clone() const;

  static const RecordBindings& Bindings();

 protected:
  // The length rules, the parent, then the two addresses (their errors copied with the field
  // "Bill To ..." or "Ship To ...").
  void CheckRules(qcErrors& errors) override;
  // The addresses and card are refilled from the answer: what it leaves out is empty.
  void BeforeRead() override;

 private:
  static void ReadAddress(qcBase& record, const FieldElement& element);
  static void WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static void ReadAddressBlock(qcBase& record, const FieldElement& element);
  static void WriteAddressBlock(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t flags, BodyForm form);
  struct AddressBlocks {
    Address bill, ship;
  };
  AddressBlocks& Blocks();
  // The address of that side with what was read for it: an address read from a response waits
  // as its element until it is first asked for (most customers of a large load never are).
  const std::shared_ptr<Address>& ReadAddressOf(bool bill) const;

  // The texts most customers leave empty, in one block made when one is first read or set: a
  // customer without any is 13 strings (416 bytes) smaller to make, read and free.
  struct Rare {
    std::string salutation, middleName, suffix, printAs, mobile, pager, altPhone, fax, altContact;
    std::string resaleNumber, accountNumber, jobDesc, notes;
  };
  Rare& MutableRare();

  std::string companyName_, firstName_, lastName_, phone_, email_, contact_;
  std::unique_ptr<Rare> rare_;
  qcListObjectRef customerType_{qoListCustomerTypes, {}};
  qcListObjectRef terms_{qoListTerms, {}};
  qcListObjectRef salesRep_{qoListSalesReps, {}};
  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  qcListObjectRef salesTaxItem_{qoListItems, {}};
  qcListObjectRef paymentMethod_{qoListPaymentMethods, {}};
  qcListObjectRef jobType_{qoListJobTypes, {}};
  qcListObjectRef priceLevel_{static_cast<qoEnumListType>(0), {}};
  qcListObjectRef cdnTaxCode_{qoListTaxCodes, {}};
  qcListObjectRef currency_{qoListCurrencies, {}};
  // Created when first asked for, or made from the kept element: most customers of a large list
  // have no ship-to or card, and few have their addresses looked at.
  mutable std::shared_ptr<Address> billTo_, shipTo_;
  mutable DeferredElement keptBillTo_, keptShipTo_;
  std::shared_ptr<brennock::CreditCard> creditCard_;
  std::shared_ptr<AddressBlocks> addressBlocks_;  // created when read or asked for
  Currency balance_, totalBalance_, openingBalance_, creditLimit_;
  Date openingBalanceDate_, jobStartDate_, jobProjectedEndDate_, jobEndDate_;
  qbEnumJobStatus jobStatus_ = qbJobStatusNone;
  int16_t deliveryMethod_ = 0;
  bool creditLimitEnabled_ = false;
  bool isStatementWithParent_ = false;
  bool isUsingCustomerTaxCode_ = false;
};

class Customers final : public BalanceFilteredCollection<Customer> {
 public:
  Customers() : BalanceFilteredCollection(true) {}
  // The names of the custom fields assigned to customers.
  std::vector<std::string> CustomFieldNames() const {
    return CustomFieldNamesOf(Customer::kObjectType);
  }
  // Master collection only (else 1021). A parent makes the new customer a job of it.
  std::shared_ptr<Customer> Add(const std::string& Name = {}, bool IsActive = true,
                                const std::string& ParentFullName = {}) {
    return AddMember(Name, IsActive, ParentFullName);
  }
};

}  // namespace brennock
