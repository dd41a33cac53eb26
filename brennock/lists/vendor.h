#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/internal/lists/entity_record.h"
#include "brennock/internal/model/balance_filtered_collection.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/persistent_record.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

// Someone the company buys from. A saved vendor is changed with VendorModRq; its open bills and
// credits are read on request (GetBillsAndCredits).
class Vendor final : public EntityRecordCore, public DataExtensionCarrier<Vendor> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeVendor;
  Vendor() : EntityRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& CompanyName() const noexcept { return companyName_; }
  const std::string& Fax() const noexcept { return fax_; }
  const std::string& Contact() const noexcept { return contact_; }
  const std::string& AltContact() const noexcept { return altContact_; }
  const std::string& NameOnCheck() const noexcept { return nameOnCheck_; }
  const std::string& Notes() const noexcept { return notes_; }
  const std::string& AppendNotes() const noexcept { return appendNotes_; }
  std::string VendorType() const { return vendorType_.FullName(); }
  std::string Terms() const { return terms_.FullName(); }
  Currency CreditLimit() const noexcept { return creditLimit_; }
  const std::string& TaxId() const noexcept { return taxId_; }
  bool EligibleFor1099() const noexcept { return eligibleFor1099_; }
  Currency Balance() const noexcept { return balance_; }
  Currency OpeningBalance() const noexcept { return openBalance_; }
  Date OpeningBalanceDate() const noexcept { return openBalanceDate_; }
  // Read from responses only.
  const std::string& Suffix() const noexcept { return suffix_; }
  const std::string& Mobile() const noexcept { return mobile_; }
  const std::string& Pager() const noexcept { return pager_; }

  void SetCompanyName(const std::string& value) { Change(companyName_, value, "CompanyName"); }
  void SetFax(const std::string& value) { Change(fax_, value, "Fax"); }
  void SetContact(const std::string& value) { Change(contact_, value, "Contact"); }
  void SetAltContact(const std::string& value) { Change(altContact_, value, "AltContact"); }
  void SetNameOnCheck(const std::string& value) { Change(nameOnCheck_, value, "NameOnCheck"); }
  void SetNotes(const std::string& value) { Change(notes_, value, "Notes"); }
  // Written after Notes in the modify request.
  void SetAppendNotes(const std::string& value) { Change(appendNotes_, value, "Notes"); }
  void SetVendorType(const std::string& value);
  void SetTerms(const std::string& value);
  void SetCreditLimit(Currency value) { Change(creditLimit_, value, "CreditLimit"); }
  void SetTaxId(const std::string& value) { Change(taxId_, value, "VendorTaxIdent"); }
  void SetEligibleFor1099(bool value) {
    Change(eligibleFor1099_, value, "IsVendorEligibleFor1099");
  }
  void SetBalance(Currency value) { Assign(balance_, value, false); }
  void SetOpeningBalance(Currency value) { Assign(openBalance_, value, false); }
  void SetOpeningBalanceDate(Date value) { Assign(openBalanceDate_, value, false); }

  // Every writable field of another vendor, through the setters.
  void Copy(const Vendor& From);
  // A new vendor made by Copy from this one.
  std::shared_ptr<Vendor> Clone() const;

  // Asks QuickBooks for the vendor's open bills and credits (BillToPayQueryRq, by the vendor's
  // full name and, when given, the A/P account) and fills OpenBills and OpenCredits afresh.
  // Returns QuickBooks's status code.
  int32_t GetBillsAndCredits(const std::string& APAccount = {});
  // Before GetBillsAndCredits both raise 1708 (source "Brennock").
  std::shared_ptr<txnLinkedTransactions> OpenBills() const;
  std::shared_ptr<txnLinkedTransactions> OpenCredits() const;
  bool HaveOpenBillsAndCredits() const noexcept { return openBills_ != nullptr; }
  // The BillPayment GetBillsAndCredits prepared: to this vendor, from the A/P account asked for,
  // for the client to apply to OpenBills; null before GetBillsAndCredits. AddPaymentForPosting
  // files it in the company's BillPayments, whose Commit sends it. (Templates, so this layer need
  // not know the bill payment class: they resolve where brennock/transactions/bill_payment.h is
  // included, as brennock/brennock.h does.)
  template <class Self = Vendor>
  auto Payment() const {
    return PreparedBillPayment(static_cast<const Self&>(*this));
  }
  template <class Self = Vendor>
  void AddPaymentForPosting() const {
    PostPreparedBillPayment(static_cast<const Self&>(*this));
  }

  // Library-internal: where the prepared payment is kept, and the A/P account it pays from.
  std::shared_ptr<PersistentRecord>& PreparedPaymentSlot() const noexcept { return payment_; }
  const std::string& PaymentAPAccount() const noexcept { return paymentAPAccount_; }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;

 private:
  static void WriteNotes(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static void Write1099(const qcBase& record, RequestWriter& builder, std::string_view element,
                        uint16_t flags, BodyForm form);
  static void WriteCreditLimit(const qcBase& record, RequestWriter& builder,
                               std::string_view element, uint16_t flags, BodyForm form);
  static void WriteOpenBalance(const qcBase& record, RequestWriter& builder,
                               std::string_view element, uint16_t flags, BodyForm form);

  std::string companyName_, fax_, contact_, altContact_, nameOnCheck_, notes_, appendNotes_;
  std::string taxId_, suffix_, mobile_, pager_;
  qcListObjectRef vendorType_{qoListVendorTypes, {}};
  qcListObjectRef terms_{qoListTerms, {}};
  Currency creditLimit_, balance_, openBalance_;
  Date openBalanceDate_;
  bool eligibleFor1099_ = false;
  std::shared_ptr<txnLinkedTransactions> openBills_, openCredits_;
  std::string paymentAPAccount_;
  mutable std::shared_ptr<PersistentRecord> payment_;
};

class Vendors final : public BalanceFilteredCollection<Vendor> {
 public:
  Vendors() : BalanceFilteredCollection<Vendor>(true) {}
  // Master collection only (else 1021).
  std::shared_ptr<Vendor> Add(const std::string& Name = {}, bool IsActive = true);
};

}  // namespace brennock
